// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a comparison of recordings as a one-page A4 PDF: chart, legend and statistics.
#include "export/comparisonreport.h"

#include "core/units.h"
#include "core/utils.h"
#include "export/audittrailexport.h"
#include "export/exportfile.h"
#include "export/reportchart.h"
#include "export/reportpainter.h"
#include "export/reportreview.h"
#include "export/reviewtexts.h"

#include <QDateTime>
#include <QLineF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace
{

// Plot area inside the chart frame.
constexpr int plotLeft = 77;
constexpr int plotTop = 130;
constexpr int plotBottom = 410;
constexpr int plotHeight = plotBottom - plotTop;
constexpr int rowPitch = plotHeight / 10;
constexpr int legendTop = 478;
constexpr int tableTop = 560;
constexpr int tableRow = 18;

const QColor gridColor(120, 120, 120);

// "yyyy/MM/dd hh:mm" of a wall-clock time.
QString minuteText(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs, Qt::UTC)
        .toString(QStringLiteral("yyyy/MM/dd hh:mm"));
}

} // namespace

QColor ComparisonReport::colour(int index)
{
    // Eight hues apart enough to tell on screen and on paper, none of them the
    // red of the alarm marks.
    static const QColor palette[maxRecordings] = {
        QColor(55, 109, 247), QColor(232, 89, 12),  QColor(43, 138, 62), QColor(194, 37, 92),
        QColor(112, 72, 232), QColor(12, 133, 153), QColor(139, 90, 43), QColor(73, 80, 87)};
    return palette[((index % maxRecordings) + maxRecordings) % maxRecordings];
}

bool ComparisonReport::timeSpan(const QVector<ComparedRecording> &recordings, qint64 *first,
                                qint64 *last)
{
    bool any = false;
    for (const ComparedRecording &item : recordings) {
        const QVector<SamplePoint> &samples = item.loaded.samples;
        if (samples.isEmpty())
            continue;
        *first = any ? std::min(*first, samples.constFirst().time) : samples.constFirst().time;
        *last = any ? std::max(*last, samples.constLast().time) : samples.constLast().time;
        any = true;
    }
    return any;
}

bool ComparisonReport::temperatureExtent(const QVector<ComparedRecording> &recordings, double *low,
                                         double *high)
{
    bool any = false;
    for (const ComparedRecording &item : recordings) {
        const SeriesStatistics &t = item.analysis.temperature;
        if (t.count == 0)
            continue;
        *low = any ? std::min(*low, t.minimum) : t.minimum;
        *high = any ? std::max(*high, t.maximum) : t.maximum;
        any = true;
    }
    return any;
}

QString ComparisonReport::legendText(const ComparedRecording &recording)
{
    const QString serial = recording.loaded.recording.sn;
    return serial.isEmpty() ? recording.label : tr("%1（序列号 %2）").arg(recording.label, serial);
}

bool ComparisonReport::isHistory(const QVector<ComparedRecording> &recordings)
{
    return recordings.size() == 1 && recordings.constFirst().downloads > 0;
}

QString ComparisonReport::historyTitle(const ComparedRecording &history)
{
    const QString serial = history.loaded.recording.sn;
    return history.downloads == 1
               ? tr("记录仪 %1 的历史记录（1 次下载）").arg(serial)
               : tr("记录仪 %1 的历史记录（%2 次下载）").arg(serial).arg(history.downloads);
}

QString ComparisonReport::title(const QVector<ComparedRecording> &recordings)
{
    return isHistory(recordings) ? historyTitle(recordings.constFirst()) : tr("温度湿度记录对比");
}

QString ComparisonReport::suggestedBaseName(const QVector<ComparedRecording> &recordings,
                                            const QDate &today)
{
    const QString date = today.toString(QStringLiteral("_yyyyMMdd"));
    if (!isHistory(recordings))
        return tr("对比") + date;
    // A serial number is letters and digits; anything else would not do in a file name.
    QString serial = recordings.constFirst().loaded.recording.sn;
    serial.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return tr("历史记录") + QLatin1Char('_') + serial + date;
}

QVector<LimitLine> ComparisonReport::limitLines(const QVector<ComparedRecording> &recordings)
{
    QVector<QVector<LimitLine>> sets;
    for (const ComparedRecording &item : recordings)
        sets << LimitLine::ofRecording(item.loaded.recording);
    return LimitLine::distinct(sets);
}

ComparisonReport::ComparisonReport(const ReportPainter &painter,
                                   const QVector<ComparedRecording> &recordings)
    : rp(painter), items(recordings), unit(recordings.constFirst().loaded.recording.tempUnit)
{
    for (const ComparedRecording &item : recordings)
        withHumidity = withHumidity || item.loaded.recording.isContainHum;
}

bool ComparisonReport::write(const QString &path, const QVector<ComparedRecording> &recordings,
                             bool english, QString *error, const AuditHead &auditHead)
{
    if (recordings.isEmpty()) {
        if (error)
            *error = QStringLiteral("there is nothing to compare");
        return false;
    }
    ExportFile file(path);
    if (!file.open())
        return file.fail(error);
    bool drawn = false;
    {
        QPdfWriter writer(file.device());
        setUpReportPages(writer);
        writer.setTitle(title(recordings));
        writer.setCreator(QStringLiteral("hygra"));
        QPainter painter;
        if (painter.begin(&writer)) {
            const ReportPainter rp(painter, writer.width(), writer.height(), english);
            const ComparisonReport report(rp, recordings);
            report.draw();
            // Above the title, in the small type of the report's head line.
            rp.text(ReportPainter::Table, ReportPainter::box(34, 10, rp.right(), 18),
                    ReportPainter::alignC, AuditTrailTexts::headText(auditHead));
            report.drawSignatures([&writer] { writer.newPage(); });
            drawn = painter.end();
        }
    }
    if (!drawn) {
        file.cancel();
        if (error)
            *error = QStringLiteral("the PDF writer could not begin the document");
        return false;
    }
    return file.commit() || file.fail(error);
}

void ComparisonReport::draw() const
{
    using RP = ReportPainter;
    rp.painter().setPen(Qt::black);
    rp.text(RP::Title, RP::box(34, 34, rp.right(), 58), RP::alignC, title(items));
    qint64 first = 0;
    qint64 last = 0;
    const bool any = timeSpan(items, &first, &last);
    const QString span =
        any ? QStringLiteral("%1 – %2").arg(minuteText(first), minuteText(last)) : QString();
    // A history's title says what it holds; a comparison counts its recordings.
    rp.text(RP::Label, RP::box(34, 64, rp.right(), 78), RP::alignC,
            isHistory(items) ? span
                             : tr("%1 个记录").arg(items.size()) + QStringLiteral("    ") + span);
    drawChart();
    drawLegend();
    drawStatistics();
}

void ComparisonReport::drawChart() const
{
    using RP = ReportPainter;
    QPainter &p = rp.painter();
    const int pw = rp.plotWidth();
    const int r = rp.right();
    p.setPen(Qt::black);
    p.drawRect(RP::box(34, 92, r, 470));
    rp.text(RP::Label, RP::box(40, 98, 200, 111), RP::alignL,
            tr("温度") + QLatin1Char(' ') + temperatureUnitSymbol(unit));
    if (withHumidity)
        rp.text(RP::Label, RP::box(r - 200, 98, r - 6, 111), RP::alignRR, tr("湿度 %RH（虚线）"));

    qint64 first = 0;
    qint64 last = 0;
    if (!timeSpan(items, &first, &last))
        return;
    double low = 0;
    double high = 0;
    bool anyTemperature = temperatureExtent(items, &low, &high);
    // The scale holds the temperature limits, so their lines are on the chart.
    for (const LimitLine &limit : limitLines(items)) {
        if (limit.humidity)
            continue;
        low = anyTemperature ? std::min(low, limit.value) : limit.value;
        high = anyTemperature ? std::max(high, limit.value) : limit.value;
        anyTemperature = true;
    }
    const ReportChart::TemperatureScale scale = ReportChart::temperatureScale(
        int(std::lround(high * 100)), int(std::lround(low * 100)), unit);
    const ReportChart::TimeScale time = ReportChart::timeScale(last - first, first);

    p.setPen(gridColor);
    for (int k = 0; k <= 10; ++k)
        rp.line(plotLeft, plotTop + rowPitch * k, plotLeft + pw, plotTop + rowPitch * k);
    for (int k = 0; k <= 7; ++k)
        rp.line(plotLeft + rp.chartColumn() * k, plotTop, plotLeft + rp.chartColumn() * k,
                plotBottom);
    p.setPen(Qt::black);
    for (int k = 0; k <= 10; ++k) {
        const int y = plotTop + rowPitch * k;
        rp.text(RP::Label, RP::box(34, y - 7, 74, y + 6), RP::alignC,
                QString::number(scale.top - k * scale.step, 'f', 1));
        if (withHumidity)
            rp.text(RP::Label, RP::box(rp.width() - 74, y - 7, r, y + 6), RP::alignC,
                    QString::number(100 - 10 * k));
    }
    const int cc = rp.chartColumn();
    for (int k = 0; k <= 7; ++k) {
        const int x = plotLeft - cc / 2 + cc * k;
        const QDateTime at = QDateTime::fromSecsSinceEpoch(time.start + k * time.step, Qt::UTC);
        rp.text(RP::Label, RP::box(x, 414, x + cc - 1, 444), RP::alignC,
                at.toString(QStringLiteral("hh:mm:ss\nyyyy/MM/dd")));
    }

    const double span = std::max<qint64>(time.span(), 1);
    const double range = scale.top - scale.bottom;
    const auto xOf = [&](qint64 t) { return plotLeft + double(t - time.start) / span * pw; };
    const auto clampY = [](double y) {
        return std::isfinite(y) ? qBound(double(plotTop), y, double(plotBottom))
                                : double(plotBottom);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(RP::box(plotLeft, plotTop, plotLeft + pw, plotBottom));
    drawLimitLines(scale.top, range);
    for (int i = 0; i < items.size(); ++i) {
        const QVector<SamplePoint> &samples = items.at(i).loaded.samples;
        const bool humidity = items.at(i).loaded.recording.isContainHum;
        const qint64 interval = items.at(i).loaded.interval;
        // About two points per horizontal point of the plot are enough for a line.
        const int q = std::max(1, int(samples.size() / (2 * pw)));
        QVector<QLineF> temperatureLines;
        QVector<QLineF> humidityLines;
        QPointF lastT;
        QPointF lastH;
        bool haveT = false;
        bool haveH = false;
        for (int s = 0; s < samples.size(); s += q) {
            const SamplePoint &sample = samples.at(s);
            const double x = xOf(sample.time);
            // Time no recording covers (between two downloads) breaks both curves.
            if (s > 0 && !joins(samples.at(s - q).time, sample.time, q, interval)) {
                haveT = false;
                haveH = false;
            }
            // A missing value breaks the curve.
            if (sample.temperature != noSampleTemperature) {
                const QPointF pt(
                    x, clampY(plotTop - (fromCelsius(sample.temperature, unit) - scale.top) /
                                            range * plotHeight));
                if (haveT)
                    temperatureLines.append(QLineF(lastT, pt));
                lastT = pt;
                haveT = true;
            } else {
                haveT = false;
            }
            if (humidity && sample.humidity != noSampleHumidity) {
                const QPointF pt(x, clampY(plotTop - (sample.humidity - 100.0) / 100 * plotHeight));
                if (haveH)
                    humidityLines.append(QLineF(lastH, pt));
                lastH = pt;
                haveH = true;
            } else {
                haveH = false;
            }
        }
        p.setPen(QPen(colour(i), 1.0));
        p.drawLines(temperatureLines);
        p.setPen(QPen(colour(i), 0.8, Qt::DashLine));
        p.drawLines(humidityLines);
    }
    p.restore();
}

void ComparisonReport::drawLimitLines(double scaleTop, double scaleRange) const
{
    using RP = ReportPainter;
    QPainter &p = rp.painter();
    const int pw = rp.plotWidth();
    for (const LimitLine &limit : limitLines(items)) {
        if (limit.humidity && !withHumidity)
            continue;
        const double y = limit.humidity ? plotTop - (limit.value - 100.0) / 100 * plotHeight
                                        : plotTop - (limit.shownValue(unit) - scaleTop) /
                                                        scaleRange * plotHeight;
        if (!std::isfinite(y) || y < plotTop || y > plotBottom)
            continue;
        const QColor colour = limit.humidity ? QColor(30, 120, 90) : QColor(220, 30, 30);
        p.setPen(QPen(colour, 0.8, Qt::DashLine));
        p.drawLine(QLineF(plotLeft, y, plotLeft + pw, y));
        // The label sits above a high limit and below a low one; temperature limits are
        // named at the plot's right end and humidity ones at its left, so that a
        // temperature and a humidity limit at the same height keep their labels apart.
        const int top = limit.high ? int(y) - 12 : int(y) + 1;
        const QRect box = limit.humidity
                              ? RP::box(plotLeft + 3, top, plotLeft + 120, top + 11)
                              : RP::box(plotLeft + pw - 120, top, plotLeft + pw - 3, top + 11);
        p.setPen(colour);
        rp.text(RP::Label, box, limit.humidity ? RP::alignLC : RP::alignRC, limit.label(unit));
    }
}

void ComparisonReport::drawLegend() const
{
    using RP = ReportPainter;
    QPainter &p = rp.painter();
    const int column = rp.contentWidth() / 2;
    for (int i = 0; i < items.size(); ++i) {
        const int x = 40 + column * (i % 2);
        const int y = legendTop + 18 * (i / 2);
        p.save();
        p.setPen(QPen(colour(i), 3));
        rp.line(x, y + 7, x + 20, y + 7);
        p.restore();
        p.setPen(Qt::black);
        rp.text(RP::Label, RP::box(x + 26, y, x + column - 10, y + 13), RP::alignLC,
                legendText(items.at(i)));
    }
}

void ComparisonReport::drawStatistics() const
{
    using RP = ReportPainter;
    QPainter &p = rp.painter();
    const QString heads[] = {tr("记录"), tr("序列号"), tr("最低"),     tr("最高"),
                             tr("平均"), tr("MKT"),    tr("高于上限"), tr("低于下限")};
    // From the colour mark to the right edge of the page's text.
    const int widths[] = {128, 80, 46, 46, 46, 46, 60, 60};
    const int left = 34 + 14;
    const auto drawRow = [&](int y, const QString *cells) {
        int x = left;
        for (int c = 0; c < 8; ++c) {
            rp.text(RP::Label, RP::box(x, y, x + widths[c] - 3, y + tableRow - 2),
                    c == 0 ? RP::alignLC : RP::alignC, cells[c]);
            x += widths[c];
        }
    };
    p.setPen(Qt::black);
    rp.text(RP::Section, RP::box(34, tableTop - 24, rp.right(), tableTop - 6), RP::alignL,
            tr("统计"));
    drawRow(tableTop, heads);
    rp.line(34, tableTop + tableRow, rp.ruleEnd(), tableTop + tableRow);
    const auto temperature = [this](const SeriesStatistics &s, double v) {
        return s.count == 0 ? QStringLiteral("-") : temperatureText(v, unit);
    };
    for (int i = 0; i < items.size(); ++i) {
        const ComparedRecording &item = items.at(i);
        const RecordingAnalysis &a = item.analysis;
        const int y = tableTop + tableRow * (i + 1) + 2;
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(colour(i));
        p.drawRect(RP::box(36, y + 4, 43, y + 11));
        p.restore();
        const QString cells[] = {item.label,
                                 item.loaded.recording.sn,
                                 temperature(a.temperature, a.temperature.minimum),
                                 temperature(a.temperature, a.temperature.maximum),
                                 temperature(a.temperature, a.temperature.mean),
                                 a.mktCelsius ? temperatureText(*a.mktCelsius, unit)
                                              : QStringLiteral("-"),
                                 durationText(a.timeAboveSeconds),
                                 durationText(a.timeBelowSeconds)};
        drawRow(y, cells);
    }
    const int noteTop = tableTop + tableRow * (items.size() + 1) + 12;
    rp.text(RP::Label, RP::box(34, noteTop, rp.right(), noteTop + 13), RP::alignL,
            tr("MKT：平均动力学温度（ΔH = 83.144 kJ/mol）"));
    rp.text(RP::Label, RP::box(34, noteTop + 15, rp.right(), noteTop + 28), RP::alignL,
            tr("高于上限、低于下限：温度在记录的一级报警范围之外的时间"));
}

int ComparisonReport::statisticsBottom() const
{
    return tableTop + tableRow * (items.size() + 1) + 12 + 28 + 14;
}

void ComparisonReport::drawSignatures(const std::function<void()> &newPage) const
{
    using RP = ReportPainter;
    const int pitch = ReportReview::rowPitch;
    const int top = 40;
    const int bottom = rp.height() - 30;
    const QFont &font = rp.font(RP::Label);
    int y = statisticsBottom();
    bool titled = false;
    // Starts a new page when `height` more points do not fit on this one.
    const auto room = [&](int height) {
        if (y + height > bottom) {
            newPage();
            rp.painter().setPen(Qt::black);
            y = top;
        }
    };
    for (int i = 0; i < items.size(); ++i) {
        const LoadedRecording &loaded = items.at(i).loaded;
        if (!ReviewTexts::shows(loaded) || loaded.review.signatures.isEmpty())
            continue;
        // The block's title and a recording's label stay with its first signature.
        room((titled ? 0 : 24) + 2 * pitch);
        if (!titled) {
            rp.text(RP::Section, RP::box(34, y, rp.right(), y + 15), RP::alignL, tr("签名"));
            rp.line(34, y + 19, rp.ruleEnd(), y + 19);
            y += 24;
            titled = true;
        }
        QPainter &p = rp.painter();
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(colour(i));
        p.drawRect(RP::box(36, y + 3, 43, y + 10));
        p.restore();
        rp.text(RP::Label, RP::box(48, y, rp.right(), y + pitch - 1), RP::alignLC,
                legendText(items.at(i)));
        y += pitch;
        for (const ReviewSignature &s : loaded.review.signatures) {
            const QVector<ReportReview::Row> lines = ReportReview::wrapped(
                ReportReview::signatureRow(s, 48, rp.right(), rp.english()), font);
            room(pitch * int(lines.size()));
            for (const ReportReview::Row &line : lines) {
                room(pitch);
                ReportReview::drawRow(rp, y, line);
                y += pitch;
            }
        }
        y += 4;
    }
}
