// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-drawn chart of the report's first page: frame, scales, curves, zone bars and legends.
#include "export/reportchart.h"

#include "core/units.h"
#include "core/utils.h"
#include "export/reportpainter.h"
#include "recording/recordingsummary.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QVector>
#include <cmath>

namespace
{

// Plot area: left edge and bottom grid line.
constexpr int plotLeft = 77;
constexpr int plotBottom = ChartPlacement::plotBottom;

const QColor gridColor(120, 120, 120);
const QColor temperatureColor(255, 128, 0);
const QColor humidityColor(0, 0, 255);
const QColor dryColor(255, 255, 0);
const QColor fitColor(0, 255, 0);
const QColor wetColor(0, 204, 255);
const QColor temperatureLimitColor(200, 0, 0);
const QColor humidityLimitColor(120, 0, 160);

// NaN-safe: a degenerate scale (top equal to bottom) yields NaN or infinity,
// which must still land on the plot's edge.
double clampY(double y, int plotTop)
{
    if (!(y >= plotTop))
        return plotTop;
    return y > plotBottom ? plotBottom : y;
}

// One series of a run: its segments, or the single point when the run has one.
void drawSeries(QPainter &p, const QVector<QPointF> &points, const QColor &color)
{
    if (points.isEmpty())
        return;
    p.setPen(color);
    if (points.size() == 1) {
        const int x = int(std::floor(points[0].x() - 1));
        const int y = int(std::floor(points[0].y() - 1));
        p.setBrush(color);
        p.drawEllipse(QRect(QPoint(x, y), QPoint(x + 1, y + 1)));
        p.setBrush(Qt::NoBrush);
        return;
    }
    QVector<QLineF> lines;
    lines.reserve(points.size() - 1);
    for (int i = 1; i < points.size(); ++i)
        lines.append(QLineF(points[i - 1], points[i]));
    p.drawLines(lines);
}

} // namespace

ReportChart::TimeScale ReportChart::timeScale(qint64 shownDuration, qint64 firstTime)
{
    TimeScale scale;
    scale.step = shownDuration / 7;
    scale.start = firstTime;
    if (shownDuration % 7 != 0) {
        scale.step += 1;
        scale.start -= 1;
    }
    return scale;
}

ReportChart::TemperatureScale ReportChart::temperatureScale(int maxTemp, int minTemp, int tempUnit)
{
    const float top = float(fromCelsius(maxTemp / 100.0 + 10, tempUnit));
    TemperatureScale scale;
    scale.bottom = float(fromCelsius(minTemp / 100.0 - 10, tempUnit));
    scale.step = std::floor(top - scale.bottom) / 10;
    scale.top = scale.bottom + 10 * scale.step;
    return scale;
}

ReportChart::ReportChart(const ReportPainter &painter, const LoadedRecording &recording,
                         const ChartPlacement &placement)
    : rp(painter), data(recording), withHumidity(recording.recording.isContainHum),
      frameTop(placement.frameTop), plotTop(placement.gridTop()), pitch(placement.gridPitch()),
      plotHeight(plotBottom - plotTop)
{
}

void ReportChart::draw() const
{
    drawFrame();
    if (data.samples.isEmpty())
        return;
    const ReadDevInfoJson &info = data.recording;
    const TimeScale time = timeScale(info.shownDuration, data.samples.first().time);
    const TemperatureScale temperature =
        temperatureScale(info.maxTemp, info.minTemp, info.tempUnit);
    drawScales(time, temperature);
    drawCurves(time, temperature);
    drawLimits(temperature);
    drawZoneBars();
    drawLegend();
}

void ReportChart::drawFrame() const
{
    using RP = ReportPainter;
    const int r = rp.right();
    const int t = frameTop;
    rp.painter().drawRect(RP::box(34, t, r, 793));
    const auto font = RP::Label;
    rp.text(font, RP::box(40, t + 3, 113, t + 16), RP::alignL, tr("温度"));
    if (withHumidity)
        rp.text(font, RP::box(500, t + 3, 555, t + 16), RP::alignRR, tr("湿度"));
    rp.text(font, RP::box(40, t + 20, 113, t + 33), RP::alignL,
            data.recording.tempUnit != 0 ? QStringLiteral("℉") : QStringLiteral("℃"));
    if (withHumidity)
        rp.text(font, RP::box(500, t + 20, 555, t + 33), RP::alignRR, QStringLiteral("%RH"));
}

void ReportChart::drawScales(const TimeScale &time, const TemperatureScale &temperature) const
{
    using RP = ReportPainter;
    QPainter &p = rp.painter();
    const int pw = rp.plotWidth();
    const int cc = rp.chartColumn();
    const int r = rp.right();
    const auto font = RP::Label;

    p.setPen(gridColor);
    for (int k = 0; k <= 10; ++k)
        rp.line(plotLeft, plotTop + pitch * k, plotLeft + pw, plotTop + pitch * k);
    p.setPen(Qt::black);
    for (int k = 0; k <= 10; ++k) {
        const int y = plotTop + pitch * k;
        rp.text(font, RP::box(34, y - 13, 76, y), RP::alignC,
                QString::number(temperature.top - k * temperature.step, 'f', 1));
        if (withHumidity)
            rp.text(font, RP::box(rp.width() - 77, y - 13, r, y), RP::alignC,
                    QString::number(100.0 - 10 * k, 'f', 1));
    }

    p.setPen(gridColor);
    for (int k = 0; k <= 7; ++k)
        rp.line(plotLeft + cc * k, plotTop, plotLeft + cc * k, plotBottom);
    p.setPen(Qt::black);
    // Centres each label of a column's width on its grid line.
    const int labelShift = (rp.width() - 154) / -14;
    for (int k = 0; k <= 7; ++k) {
        const int x = plotLeft + labelShift + cc * k;
        const QDateTime at = QDateTime::fromSecsSinceEpoch(time.start + k * time.step, Qt::UTC);
        rp.text(font, RP::box(x, 734, x + cc - 1, 765), RP::alignC,
                at.toString(QStringLiteral("hh:mm:ss\nyyyy/MM/dd")));
    }
}

void ReportChart::drawCurves(const TimeScale &time, const TemperatureScale &temperature) const
{
    QPainter &p = rp.painter();
    const int pw = rp.plotWidth();
    const int unit = data.recording.tempUnit;
    const QVector<SamplePoint> &samples = data.samples;
    const int n = samples.size();
    const int q = n > pw ? n / pw : 1;
    const qint64 span = time.span();
    const double range = temperature.top - temperature.bottom;

    QVector<QPointF> temperaturePoints;
    QVector<QPointF> humidityPoints;
    // Draws the run [first, end) decimated to every q-th sample.
    auto drawRun = [&](int first, int end) {
        temperaturePoints.clear();
        humidityPoints.clear();
        for (int i = first; i < end; i += q) {
            const SamplePoint &s = samples[i];
            const double x =
                span == 0 ? plotLeft + pw / 2 : plotLeft + double(s.time - time.start) / span * pw;
            const double ty =
                plotTop - (fromCelsius(s.temperature, unit) - temperature.top) / range * plotHeight;
            temperaturePoints.append(QPointF(x, clampY(ty, plotTop)));
            if (withHumidity)
                humidityPoints.append(QPointF(
                    x, clampY(plotTop - (s.humidity - 100.0) / 100 * plotHeight, plotTop)));
        }
        drawSeries(p, temperaturePoints, temperatureColor);
        drawSeries(p, humidityPoints, humidityColor);
    };

    // A missing value breaks the curve. A recording without humidity has no
    // humidity to miss, so only its temperature decides.
    int runStart = -1;
    for (int i = 0; i < n; ++i) {
        const SamplePoint &s = samples[i];
        const bool drawn = s.temperature != noSampleTemperature &&
                           (!withHumidity || s.humidity != noSampleHumidity);
        if (drawn && runStart < 0)
            runStart = i;
        if (!drawn && runStart >= 0) {
            drawRun(runStart, i);
            runStart = -1;
        }
    }
    if (runStart >= 0)
        drawRun(runStart, n);
    p.setPen(Qt::black);
}

QVector<ReportChart::LimitLine> ReportChart::limitLines(const ReadDevInfoJson &info,
                                                        const TemperatureScale &temperature,
                                                        const ChartPlacement &placement)
{
    using recordingsummary::AlarmKind;
    const int plotTop = placement.gridTop();
    const int plotHeight = plotBottom - plotTop;
    QVector<LimitLine> lines;
    const double range = temperature.top - temperature.bottom;
    for (const recordingsummary::AlarmRowLayout &row :
         recordingsummary::alarmRowLayouts(info.isContainHum)) {
        const AlertDataJson &alarm = recordingsummary::alarmOf(info, row);
        const bool humidity =
            row.kind == AlarmKind::HighHumidity || row.kind == AlarmKind::LowHumidity;
        if (!alarm.isOpen ||
            !(humidity || row.label == QLatin1String("TH1") || row.label == QLatin1String("TL1")))
            continue;
        LimitLine line;
        line.humidity = humidity;
        double y;
        if (humidity) {
            const double value = alarm.alertValue / 10.0;
            line.label = row.label + QLatin1Char(' ') + QString::number(value, 'g', -1) +
                         QStringLiteral("%RH");
            y = plotTop - (value - 100.0) / 100 * plotHeight;
        } else {
            const double celsius = alarm.alertValue / 100.0;
            line.label = row.label + QLatin1Char(' ') + temperatureText(celsius, info.tempUnit);
            y = plotTop -
                (fromCelsius(celsius, info.tempUnit) - temperature.top) / range * plotHeight;
        }
        // A limit beyond the scale has no place on the plot.
        if (!(y >= plotTop && y <= plotBottom))
            continue;
        line.y = y;
        lines.append(line);
    }
    return lines;
}

void ReportChart::drawLimits(const TemperatureScale &temperature) const
{
    QPainter &p = rp.painter();
    const int pw = rp.plotWidth();
    p.save();
    for (const LimitLine &line : limitLines(data.recording, temperature, {frameTop, plotTop})) {
        const QColor color = line.humidity ? humidityLimitColor : temperatureLimitColor;
        QPen pen(color);
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawLine(QLineF(plotLeft, line.y, plotLeft + pw, line.y));
        // Temperature limits are named at the right end, humidity ones at the
        // left, so two limits close together keep their labels apart; a white
        // ground keeps a label legible over the curves.
        const int y = int(line.y);
        const int width =
            QFontMetrics(rp.font(ReportPainter::Label)).horizontalAdvance(line.label) + 4;
        const int left = line.humidity ? plotLeft + 2 : plotLeft + pw - 2 - width;
        const QRect box = ReportPainter::box(left, y - 12, left + width, y - 1);
        p.fillRect(box, Qt::white);
        p.setPen(color);
        rp.text(ReportPainter::Label, box, ReportPainter::alignC, line.label);
    }
    p.restore();
}

void ReportChart::drawZoneBars() const
{
    QPainter &p = rp.painter();
    const int pw = rp.plotWidth();
    p.save();
    p.setPen(Qt::NoPen);
    // Humidity above 70 %RH is wet, below 30 %RH dry: three, four and three grid rows.
    const int wetEnd = plotTop + 3 * pitch;
    const int fitEnd = plotTop + 7 * pitch;
    for (const int x : {70, pw + 78}) {
        p.setBrush(wetColor);
        p.drawRect(ReportPainter::box(x, plotTop, x + 5, wetEnd - 1));
        p.setBrush(fitColor);
        p.drawRect(ReportPainter::box(x, wetEnd, x + 5, fitEnd - 1));
        p.setBrush(dryColor);
        p.drawRect(ReportPainter::box(x, fitEnd, x + 5, plotBottom - 1));
    }
    p.restore();
}

void ReportChart::drawLegend() const
{
    using RP = ReportPainter;
    QPainter &p = rp.painter();
    const auto font = RP::Label;
    p.setPen(Qt::black);
    rp.text(font, RP::box(53, 764, 114, 791), RP::alignRC, tr("温度:"));
    p.setPen(temperatureColor);
    rp.line(123, 779, 143, 779);
    if (withHumidity) {
        p.setPen(Qt::black);
        rp.text(font, RP::box(159, 764, 220, 791), RP::alignRC, tr("湿度:"));
        p.setPen(humidityColor);
        rp.line(229, 779, 249, 779);
    }

    p.setPen(Qt::black);
    const QString colon = QStringLiteral(":");
    struct Zone {
        int x;
        QString upper;
        QString lower;
        QColor color;
    };
    const Zone zones[] = {{301, tr("干燥"), tr("低温"), dryColor},
                          {381, tr("适宜"), tr("适宜"), fitColor},
                          {461, tr("潮湿"), tr("高温"), wetColor}};
    for (const Zone &zone : zones) {
        rp.text(font, RP::box(zone.x, 764, zone.x + 31, 777), RP::alignLC, zone.upper);
        rp.text(font, RP::box(zone.x, 778, zone.x + 31, 791), RP::alignLC, zone.lower);
        rp.text(font, RP::box(zone.x + 32, 764, zone.x + 35, 791), RP::alignLC, colon);
    }
    p.save();
    p.setPen(Qt::NoPen);
    for (const Zone &zone : zones) {
        p.setBrush(zone.color);
        p.drawRect(RP::box(zone.x + 42, 777, zone.x + 61, 782));
    }
    p.restore();
}
