// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation on the report's first page: mean kinetic temperature, range and excursions.
#include "export/reportevaluation.h"

#include "core/utils.h"
#include "export/recordingverdict.h"
#include "export/reportpainter.h"
#include "export/wallclocktext.h"

#include <QPainter>

namespace
{

// The band between the chart frame's top and the first temperature label,
// 43 points lower, between the axis titles at the sides.
constexpr int firstRowBelowFrame = 3;
constexpr int rowPitch = 13;
constexpr int leftX = 120;
constexpr int leftValueRight = 290;
constexpr int rightX = 294;
constexpr int rightValueRight = 518;

// The verdict stands in the first section's title band, up to the badge.
const QRect verdictBox = ReportPainter::box(120, 43, 510, 58);
const QColor outOfLimitsColor(200, 0, 0);
const QColor withinLimitsColor(0, 128, 0);

} // namespace

ReportEvaluation::ReportEvaluation(const ReportPainter &painter, const LoadedRecording &recording,
                                   int frameTop)
    : rp(painter), data(recording), analysis(RecordingAnalysis::of(recording)), frameTop(frameTop)
{
}

QString ReportEvaluation::rangeText(const TemperatureRange &range, int tempUnit)
{
    auto bound = [tempUnit](const std::optional<double> &limit) {
        return limit ? temperatureText(*limit, tempUnit) : tr("无");
    };
    return QStringLiteral("%1 … %2").arg(bound(range.low), bound(range.high));
}

void ReportEvaluation::pair(int x, int nameWidth, int valueRight, int y1, const QString &name,
                            const QString &value) const
{
    using RP = ReportPainter;
    const int y2 = y1 + 12;
    rp.label(RP::box(x, y1, x + nameWidth - 1, y2), name);
    rp.label(RP::box(x + nameWidth, y1, x + nameWidth + 3, y2), QStringLiteral(":"));
    rp.label(RP::box(x + nameWidth + 8, y1, valueRight, y2), value);
}

void ReportEvaluation::draw() const
{
    rp.painter().setPen(Qt::black);
    const int unit = data.recording.tempUnit;
    const QString none = QStringLiteral("---");
    const Excursion *longest = analysis.longestExcursion();
    const QString mkt = analysis.mktCelsius ? temperatureText(*analysis.mktCelsius, unit) : none;
    const QString excursions = longest ? tr("%1 (最长 %2)")
                                             .arg(analysis.excursions.size())
                                             .arg(durationText(longest->durationSeconds))
                                       : QString::number(analysis.excursions.size());
    const QString longestStart = longest ? wallclocktext::date(longest->start) + QLatin1Char(' ') +
                                               wallclocktext::time(longest->start)
                                         : none;

    // English names are longer but drawn in a smaller font.
    const int leftName = rp.english() ? 80 : 78;
    const int rightName = rp.english() ? 72 : 66;
    int y = frameTop + firstRowBelowFrame;
    pair(leftX, leftName, leftValueRight, y, tr("平均动力学温度"), mkt);
    pair(rightX, rightName, rightValueRight, y, tr("判定范围"), rangeText(analysis.range, unit));
    y += rowPitch;
    pair(leftX, leftName, leftValueRight, y, tr("高于范围时长"),
         durationText(analysis.timeAboveSeconds));
    pair(rightX, rightName, rightValueRight, y, tr("超限次数"), excursions);
    y += rowPitch;
    pair(leftX, leftName, leftValueRight, y, tr("低于范围时长"),
         durationText(analysis.timeBelowSeconds));
    pair(rightX, rightName, rightValueRight, y, tr("最长超限开始"), longestStart);
    drawVerdict();
}

void ReportEvaluation::drawVerdict() const
{
    QPainter &p = rp.painter();
    p.save();
    const bool judged = analysis.validSamples > 0 && (analysis.range.low || analysis.range.high);
    if (RecordingVerdict::isOutOfLimits(analysis))
        p.setPen(outOfLimitsColor);
    else if (judged)
        p.setPen(withinLimitsColor);
    rp.text(ReportPainter::Label, verdictBox, ReportPainter::alignRC,
            RecordingVerdict::verdictText(analysis));
    p.restore();
}
