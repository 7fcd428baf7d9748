// SPDX-License-Identifier: GPL-3.0-or-later
// One data page of the report: up to 576 samples in six columns with the page's statistics.
#include "export/reportdatapage.h"

#include "core/units.h"
#include "core/utils.h"
#include "export/glyphtextbatch.h"
#include "export/pagestatistics.h"
#include "export/reportpainter.h"
#include "export/wallclocktext.h"

#include <QDateTime>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr int gridTop = 116;
constexpr int headerBottom = 126;
constexpr int gridBottom = 800;
constexpr int firstLineY = 127;
constexpr int lineHeight = 7;

QString pageTimeText(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs, Qt::UTC)
        .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

} // namespace

ReportDataPage::ReportDataPage(const ReportPainter &painter, const LoadedRecording &recording)
    : rp(painter), data(recording), withHumidity(recording.recording.isContainHum),
      columnWidth(painter.contentWidth() / 6), left(34 + painter.contentWidth() % 6 / 2)
{
}

void ReportDataPage::draw(int page) const
{
    const int first = samplesPerPage * (page - 1);
    const int end = std::min(samplesPerPage * page, int(data.samples.size()));
    QPainter &p = rp.painter();
    p.setPen(Qt::black);
    rp.text(ReportPainter::Section, ReportPainter::box(34, 90, rp.right(), 105),
            ReportPainter::alignC, tr("温度记录数据"));
    drawGrid();
    drawSamples(first, end);
    p.setPen(Qt::black);
    drawStatistics(first, end);
}

void ReportDataPage::drawGrid() const
{
    using RP = ReportPainter;
    const int gridRight = left + 6 * columnWidth;
    rp.line(left, gridTop, gridRight, gridTop);
    const auto font = RP::Table;
    for (int c = 0; c <= 6; ++c)
        rp.line(left + columnWidth * c, gridTop, left + columnWidth * c, gridBottom);
    const QString unit = data.recording.tempUnit != 0 ? QStringLiteral("℉") : QStringLiteral("℃");
    for (int c = 0; c < 6; ++c) {
        const int x0 = left + columnWidth * c;
        rp.text(font, RP::box(x0, 116, x0 + 26, 125), RP::alignC, QStringLiteral("Y/M/D"));
        rp.text(font, RP::box(x0 + 28, 116, x0 + 51, 125), RP::alignC, QStringLiteral("Time"));
        rp.text(font, RP::box(x0 + 52, 116, x0 + 69, 125), RP::alignC, unit);
        if (withHumidity)
            rp.text(font, RP::box(x0 + 70, 116, x0 + 85, 125), RP::alignC, QStringLiteral("%RH"));
    }
    rp.line(left, headerBottom, gridRight, headerBottom);
    rp.line(left, gridBottom, gridRight, gridBottom);
}

void ReportDataPage::drawSamples(int first, int end) const
{
    using RP = ReportPainter;
    const QString missing = QStringLiteral("---");
    const int unit = data.recording.tempUnit;
    const QColor black(Qt::black);
    const QColor blue(Qt::blue);
    const QColor red(Qt::red);
    GlyphTextBatch batch(rp.painter(), rp.font(RP::Table));
    for (int i = first; i < end; ++i) {
        const SamplePoint &s = data.samples[i];
        const int j = i - first;
        const int x0 = left + columnWidth * (j / linesPerColumn);
        const int y = firstLineY + lineHeight * (j % linesPerColumn);
        const bool noTemperature = s.temperature == noSampleTemperature;
        const bool noHumidity = s.humidity == noSampleHumidity;
        // Rows with a missing value stay black whatever their alarm state.
        const bool incomplete = noTemperature || (withHumidity && noHumidity);
        const QColor &color = incomplete          ? black
                              : s.alarmState == 1 ? blue
                              : s.alarmState == 2 ? red
                                                  : black;
        batch.add(RP::box(x0, y, x0 + 25, y + 6), RP::alignC, wallclocktext::shortDate(s.time),
                  color);
        batch.add(RP::box(x0 + 27, y, x0 + 50, y + 6), RP::alignC, wallclocktext::time(s.time),
                  color);
        batch.add(RP::box(x0 + 52, y, x0 + 69, y + 6), RP::alignC,
                  noTemperature ? missing
                                : QString::number(fromCelsius(s.temperature, unit), 'f', 1),
                  color);
        if (withHumidity)
            batch.add(RP::box(x0 + 70, y, x0 + 87, y + 6), RP::alignC,
                      noHumidity ? missing : QString::number(s.humidity, 'f', 1), color);
    }
    batch.flush();
}

void ReportDataPage::drawStatistics(int first, int end) const
{
    using RP = ReportPainter;
    const SamplePoint *samples = data.samples.constData();
    const PageStatistics s =
        PageStatistics::of(samples + first, samples + end, data.limits, withHumidity);
    const int unit = data.recording.tempUnit;
    const QString missing = QStringLiteral("---");

    auto temperature = [&](float value, bool unset) {
        return unset ? missing : temperatureText(value, unit);
    };
    auto humidity = [&](float value, bool unset) {
        return unset ? missing : QString::number(value, 'f', 1) + QStringLiteral("%RH");
    };
    const QString minTemperature =
        temperature(s.minTemperature, s.minTemperature == PageStatistics::noMinimum);
    const QString maxTemperature =
        temperature(s.maxTemperature, s.maxTemperature == PageStatistics::noTemperatureMaximum);
    QString minimum = minTemperature;
    QString maximum = maxTemperature;
    if (withHumidity) {
        minimum = QStringLiteral("%1  %2").arg(
            minTemperature, humidity(s.minHumidity, s.minHumidity == PageStatistics::noMinimum));
        maximum = QStringLiteral("%1  %2").arg(
            maxTemperature,
            humidity(s.maxHumidity, s.maxHumidity == PageStatistics::noHumidityMaximum));
    }

    const auto font = RP::Label;
    const QString colon = QStringLiteral(":");
    auto leftRow = [&](int y1, const QString &name, const QString &value) {
        rp.text(font, RP::box(40, y1, 109, y1 + 13), RP::alignL, name);
        rp.text(font, RP::box(110, y1, 113, y1 + 13), RP::alignL, colon);
        rp.text(font, RP::box(114, y1, 323, y1 + 13), RP::alignL, value);
    };
    auto rightRow = [&](int x1, int y1, const QString &name, const QString &value) {
        rp.text(font, RP::box(x1, y1, 488, y1 + 13), RP::alignRR, name);
        rp.text(font, RP::box(489, y1, 492, y1 + 13), RP::alignL, colon);
        rp.text(font, RP::box(493, y1, 592, y1 + 13), RP::alignL, value);
    };
    const QString countsFormat = QStringLiteral("%1_%2_%3");
    leftRow(26, tr("此页最小"), minimum);
    rightRow(304, 26, tr("此页超高温阈值个数"),
             countsFormat.arg(s.th1Count).arg(s.th2Count).arg(s.th3Count));
    leftRow(41, tr("此页最大"), maximum);
    rightRow(304, 41, tr("此页超低温阈值个数"),
             countsFormat.arg(s.tl1Count).arg(s.tl2Count).arg(s.tl3Count));
    leftRow(56, tr("此页开始时间"), pageTimeText(data.samples[first].time));
    leftRow(71, tr("此页结束时间"), pageTimeText(data.samples[end - 1].time));
    if (withHumidity) {
        rightRow(324, 56, tr("此页超高湿阈值个数"), QString::number(s.hhCount));
        rightRow(324, 71, tr("此页超低湿阈值个数"), QString::number(s.hlCount));
    }
}
