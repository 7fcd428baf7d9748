// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a recording as an Excel workbook: typed sample rows, a summary and native charts.
#include "export/xlsxworkbookwriter.h"

#include "core/units.h"
#include "export/exportfile.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxcells.h"
#include "export/xlsxsummarysheet.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QVector>
#include <cmath>

namespace
{

// The report's curve colours.
constexpr lxw_color_t temperatureColour = 0xFF8000;
constexpr lxw_color_t humidityColour = 0x0000FF;

// The logger measures hundredths of °C and tenths of %RH; the samples hold
// them as floats, which would show as 20.0100002 in a formula bar.
double storedTemperature(float celsius)
{
    return std::round(double(celsius) * 100) / 100;
}

double storedHumidity(float humidity)
{
    return std::round(double(humidity) * 10) / 10;
}

class WorkbookBuilder
{
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    WorkbookBuilder(lxw_workbook *workbook, const LoadedRecording &recording,
                    const AuditHead &auditHead)
        : workbook(workbook), data(recording), auditHead(auditHead),
          withHumidity(recording.recording.isContainHum), unit(recording.recording.tempUnit)
    {
        heading = workbook_add_format(workbook);
        format_set_bold(heading);
        dateTime = workbook_add_format(workbook);
        format_set_num_format(dateTime, dateTimePattern);
        oneDecimal = workbook_add_format(workbook);
        format_set_num_format(oneDecimal, oneDecimalPattern);
        summaryFormats = {heading, leftAligned(nullptr), leftAligned(dateTimePattern),
                          leftAligned(oneDecimalPattern)};
    }

    void build(bool english)
    {
        samplesSheetName = keep(tr("数据"));
        lxw_worksheet *samples = workbook_add_worksheet(workbook, samplesSheetName);
        lxw_worksheet *summary = workbook_add_worksheet(workbook, keep(tr("摘要")));
        lxw_worksheet *charts = workbook_add_worksheet(workbook, keep(tr("图表")));
        writeSamples(samples);
        XlsxSummarySheet(summary, summaryFormats, data, auditHead).write(english);
        writeCharts(charts);
    }

private:
    static constexpr const char *dateTimePattern = "yyyy/mm/dd hh:mm:ss";
    static constexpr const char *oneDecimalPattern = "0.0";

    lxw_format *leftAligned(const char *pattern)
    {
        lxw_format *format = workbook_add_format(workbook);
        if (pattern)
            format_set_num_format(format, pattern);
        format_set_align(format, LXW_ALIGN_LEFT);
        return format;
    }

    // libxlsxwriter keeps some of the names it is given until the workbook is
    // closed; their UTF-8 bytes live as long as the builder.
    const char *keep(const QString &text)
    {
        names.append(text.toUtf8());
        return names.last().constData();
    }

    lxw_col_t alarmColumn() const { return withHumidity ? 4 : 3; }

    // The alarm column's text of a temperature state and a humidity state
    // (0 inside, 1 below, 2 above) at index temperature × 3 + humidity. The
    // temperature keeps the plain words the summary uses for its range.
    static QVector<QByteArray> alarmStateTexts()
    {
        const QString temperature[] = {QString(), tr("低于下限"), tr("高于上限")};
        const QString humidity[] = {QString(), tr("湿度低于下限"), tr("湿度高于上限")};
        QVector<QByteArray> texts;
        for (const QString &t : temperature)
            for (const QString &h : humidity)
                texts
                    << (t.isEmpty() || h.isEmpty() ? t + h : t + QStringLiteral("; ") + h).toUtf8();
        return texts;
    }

    void writeSamples(lxw_worksheet *sheet)
    {
        xlsxcells::text(sheet, 0, 0, tr("序号"), heading);
        xlsxcells::text(sheet, 0, 1, tr("时间"), heading);
        xlsxcells::text(sheet, 0, 2, temperatureColumnTitle(unit), heading);
        if (withHumidity)
            xlsxcells::text(sheet, 0, 3, humidityColumnTitle(), heading);
        xlsxcells::text(sheet, 0, alarmColumn(), tr("报警状态"), heading);

        const QVector<QByteArray> alarmTexts = alarmStateTexts();
        const AlarmLimits &limits = data.limits;
        lxw_row_t row = 1;
        for (const SamplePoint &sample : data.samples) {
            worksheet_write_number(sheet, row, 0, row, nullptr);
            worksheet_write_number(sheet, row, 1, xlsxcells::dateTime(sample.time), dateTime);
            const bool hasTemperature = sample.temperature != noSampleTemperature;
            const bool hasHumidity = sample.humidity != noSampleHumidity;
            if (hasTemperature)
                worksheet_write_number(sheet, row, 2,
                                       fromCelsius(storedTemperature(sample.temperature), unit),
                                       oneDecimal);
            if (withHumidity && hasHumidity)
                worksheet_write_number(sheet, row, 3, storedHumidity(sample.humidity), oneDecimal);
            // Each value against its own quantity's limits; a missing value is no alarm.
            const int temperatureState = limits.temperatureState(sample.temperature);
            const int humidityState = withHumidity ? limits.humidityState(sample.humidity) : 0;
            if (temperatureState != 0 || humidityState != 0)
                worksheet_write_string(sheet, row, alarmColumn(),
                                       alarmTexts.at(temperatureState * 3 + humidityState),
                                       nullptr);
            ++row;
        }
        worksheet_set_column(sheet, 0, 0, 8, nullptr);
        worksheet_set_column(sheet, 1, 1, 20, nullptr);
        worksheet_set_column(sheet, 2, alarmColumn() - 1, 10, nullptr);
        worksheet_set_column(sheet, alarmColumn(), alarmColumn(), 16, nullptr);
        worksheet_freeze_panes(sheet, 1, 0);
        worksheet_autofilter(sheet, 0, 0, data.samples.size(), alarmColumn());
    }

    // One chart of a sample column over the time column, as wide as a screen.
    void addChart(lxw_worksheet *sheet, lxw_row_t at, lxw_col_t column, const QString &name,
                  const QString &axisName, lxw_color_t colour, bool percent)
    {
        // A recording without samples still gets its (empty) chart.
        const lxw_row_t last = qMax(data.samples.size(), 1);
        lxw_chart *chart = workbook_add_chart(workbook, LXW_CHART_SCATTER_STRAIGHT);
        lxw_chart_series *series = chart_add_series(chart, nullptr, nullptr);
        chart_series_set_categories(series, samplesSheetName, 1, 1, last, 1);
        chart_series_set_values(series, samplesSheetName, 1, column, last, column);
        chart_series_set_name(series, keep(name));
        lxw_chart_line line = {};
        line.color = colour;
        line.width = 1;
        chart_series_set_line(series, &line);
        chart_title_set_name(chart, keep(name));
        chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
        chart_axis_set_name(chart->x_axis, keep(tr("时间")));
        chart_axis_set_num_format(chart->x_axis, "yyyy/mm/dd hh:mm");
        // Both charts span the same time, so their curves line up.
        if (!data.samples.isEmpty()) {
            chart_axis_set_min(chart->x_axis, xlsxcells::dateTime(data.samples.first().time));
            chart_axis_set_max(chart->x_axis, xlsxcells::dateTime(data.samples.last().time));
        }
        lxw_chart_font labels = {};
        labels.rotation = -30;
        chart_axis_set_num_font(chart->x_axis, &labels);
        chart_axis_set_name(chart->y_axis, keep(axisName));
        if (percent) {
            chart_axis_set_min(chart->y_axis, 0);
            chart_axis_set_max(chart->y_axis, 100);
        }
        lxw_chart_options size = {};
        size.x_scale = 2.4;
        size.y_scale = 1.5;
        worksheet_insert_chart_opt(sheet, at, 0, chart, &size);
    }

    // Temperature on top and humidity below it on the same time scale: the
    // chart library here cannot give a series a secondary axis.
    void writeCharts(lxw_worksheet *sheet)
    {
        addChart(sheet, 0, 2, tr("温度"), temperatureColumnTitle(unit), temperatureColour, false);
        if (withHumidity)
            addChart(sheet, 23, 3, tr("湿度"), humidityColumnTitle(), humidityColour, true);
        // Printed, both charts share one landscape page.
        worksheet_set_landscape(sheet);
        worksheet_fit_to_pages(sheet, 1, 1);
    }

    lxw_workbook *workbook;
    const LoadedRecording &data;
    const AuditHead auditHead;
    const bool withHumidity;
    const int unit;
    lxw_format *heading;
    lxw_format *dateTime;
    lxw_format *oneDecimal;
    XlsxSummarySheet::Formats summaryFormats;
    QList<QByteArray> names;
    const char *samplesSheetName = nullptr;
};

// Copies the finished workbook `from` to the export `to`.
bool copyInto(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    ExportFile target(to);
    if (!target.open())
        return target.fail(error);
    constexpr qint64 chunk = 1 << 16;
    while (!source.atEnd()) {
        const QByteArray bytes = source.read(chunk);
        if (bytes.isEmpty() && source.error() != QFileDevice::NoError) {
            target.cancel();
            if (error)
                *error = source.errorString();
            return false;
        }
        if (!target.write(bytes))
            break;
    }
    return target.commit() || target.fail(error);
}

} // namespace

bool writeXlsxWorkbook(const QString &path, const LoadedRecording &recording, bool english,
                       QString *error, const AuditHead &auditHead)
{
    const auto failure = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (recording.samples.size() >= LXW_ROW_MAX)
        return failure(QStringLiteral("the recording has more samples than a worksheet has rows"));
    // The library writes the workbook under a name of its own; it reaches the
    // target as any other export, whole or not at all.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return failure(scratch.errorString());
    const QString built = scratch.filePath(QStringLiteral("workbook.xlsx"));
    const QByteArray file = QFile::encodeName(built);
    lxw_workbook_options options = {};
    // Rows go to a temporary file as they are written instead of staying in memory.
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(file.constData(), &options);
    if (!workbook)
        return failure(QStringLiteral("the workbook could not be created"));
    WorkbookBuilder builder(workbook, recording, auditHead);
    builder.build(english);
    // Closing writes the file; it frees the workbook whatever the outcome.
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR)
        return failure(QString::fromUtf8(lxw_strerror(closed)));
    return copyInto(built, path, error);
}
