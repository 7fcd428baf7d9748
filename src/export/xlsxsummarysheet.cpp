// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook's summary sheet: the report's first page and the evaluation as rows.
#include "export/xlsxsummarysheet.h"

#include "core/lgxdevtype.h"
#include "core/units.h"
#include "core/utils.h"
#include "export/audittrailexport.h"
#include "export/recordingverdict.h"
#include "export/reportevaluation.h"
#include "export/reportfirstpage.h"
#include "export/reviewtexts.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxcells.h"
#include "recording/recordingsummary.h"

using namespace recordingsummary;

namespace
{

const QString noValue = QStringLiteral("---");
const QString closedCell = QStringLiteral("--");

} // namespace

XlsxSummarySheet::XlsxSummarySheet(lxw_worksheet *sheet, const Formats &formats,
                                   const LoadedRecording &recording, const AuditHead &head)
    : sheet(sheet), formats(formats), data(recording), info(recording.recording), auditHead(head)
{
}

void XlsxSummarySheet::write(bool english)
{
    worksheet_set_column(sheet, 0, 0, english ? 26 : 16, nullptr);
    // Date-times stand in the second and third columns.
    worksheet_set_column(sheet, 1, 2, 20, nullptr);
    worksheet_set_column(sheet, 3, 6, 14, nullptr);
    // Printed, the alarm table keeps its seven columns on the page's width.
    worksheet_fit_to_pages(sheet, 1, 0);
    xlsxcells::text(sheet, row++, 0, tr("温度湿度记录报告"), formats.heading);
    // Right under the title, where a reader looks first.
    const QString incomplete = RecordingVerdict::incompleteText(data);
    if (!incomplete.isEmpty())
        xlsxcells::text(sheet, row++, 0, incomplete, formats.heading);
    const QString head = AuditTrailTexts::headText(auditHead);
    if (!head.isEmpty())
        xlsxcells::text(sheet, row++, 0, head);
    skipRow();
    if (ReviewTexts::shows(data)) {
        signatures(english);
        comments();
    }
    device();
    configuration();
    temperatures();
    alarms();
    evaluation();
}

void XlsxSummarySheet::heading(const QString &title)
{
    xlsxcells::text(sheet, row++, 0, title, formats.heading);
}

void XlsxSummarySheet::pair(const QString &name, const QString &value)
{
    xlsxcells::text(sheet, row, 0, name);
    xlsxcells::text(sheet, row, 1, value);
    ++row;
}

void XlsxSummarySheet::timePair(const QString &name, const QDateTime &time, const QString &extra)
{
    xlsxcells::text(sheet, row, 0, name);
    if (time.date().isValid())
        worksheet_write_number(sheet, row, 1, xlsxcells::dateTime(wallClockSecs(time)),
                               formats.dateTime);
    xlsxcells::text(sheet, row, 2, extra);
    ++row;
}

void XlsxSummarySheet::number(const QString &name, double value)
{
    xlsxcells::text(sheet, row, 0, name);
    worksheet_write_number(sheet, row, 1, value, formats.number);
    ++row;
}

void XlsxSummarySheet::titles(const QStringList &names)
{
    lxw_col_t col = 0;
    for (const QString &name : names)
        xlsxcells::text(sheet, row, col++, name, formats.heading);
    ++row;
}

void XlsxSummarySheet::signatures(bool english)
{
    const QVector<ReviewSignature> &list = data.review.signatures;
    if (list.isEmpty())
        return;
    heading(tr("签名"));
    titles({tr("姓名"), tr("登录名"), tr("时间"), tr("含义"), tr("说明")});
    for (const ReviewSignature &s : list) {
        xlsxcells::text(sheet, row, 0, s.printedName);
        xlsxcells::text(sheet, row, 1, s.login);
        xlsxcells::text(sheet, row, 2, ReviewTexts::timeText(s.time));
        xlsxcells::text(sheet, row, 3, ReviewTexts::meaningText(s, english));
        xlsxcells::text(sheet, row, 4, s.comment);
        ++row;
    }
    skipRow();
}

void XlsxSummarySheet::comments()
{
    const QVector<ReviewComment> &list = data.review.comments;
    if (list.isEmpty())
        return;
    heading(tr("评论"));
    titles({tr("作者"), tr("时间"), tr("针对"), tr("原因或备注"), tr("纠正措施")});
    for (const ReviewComment &c : list) {
        xlsxcells::text(sheet, row, 0, c.user);
        xlsxcells::text(sheet, row, 1, ReviewTexts::timeText(c.time));
        // An excursion's start is a date-time like the excursions' own below.
        const std::optional<qint64> start =
            ReviewTexts::isNote(c) ? std::nullopt : ReviewTexts::excursionSecs(c.excursion);
        if (start)
            worksheet_write_number(sheet, row, 2, xlsxcells::dateTime(*start), formats.dateTime);
        else
            xlsxcells::text(sheet, row, 2, ReviewTexts::subjectText(c));
        xlsxcells::text(sheet, row, 3, ReviewTexts::isNote(c) ? c.note : c.reason);
        xlsxcells::text(sheet, row, 4, c.action);
        ++row;
    }
    skipRow();
}

void XlsxSummarySheet::device()
{
    heading(tr("记录仪信息"));
    pair(tr("设备名称"), info.devName);
    pair(tr("S/N 序列号"), info.sn);
    pair(QStringLiteral("ID"), info.id);
    pair(tr("文件备注"), info.note);
    skipRow();
}

void XlsxSummarySheet::configuration()
{
    heading(tr("配置信息"));
    pair(tr("开启模式"), ReportFirstPage::startModeText(info.startOperation));
    pair(tr("停止模式"), ReportFirstPage::stopModeText(info.stopOperation));
    pair(tr("开启延迟"), QStringLiteral("%1 min").arg(info.startDelay));
    timePair(tr("配置时间"), info.configTime);
    pair(tr("记录间隔"), durationText(qint64(info.recordInterval) * intervalUnitSecs));
    pair(tr("记录模式"), info.recordMode == 1 ? tr("循环记录") : tr("记录满停止"));
    skipRow();
}

void XlsxSummarySheet::temperatures()
{
    // A logger with a display also records the temperature at start and stop.
    auto atTime = [this](int temperature) {
        return info.devType != HX10D && !isTemperatureMissing(temperature)
                   ? temperatureText(temperature / 100.0, info.tempUnit)
                   : QString();
    };
    const bool hum = info.isContainHum;
    heading(tr("温度信息"));
    timePair(tr("开启时间"), info.startRecordTime, atTime(info.startTemp));
    timePair(tr("停止时间"), info.stopRecordTime, atTime(info.stopTemp));
    pair(tr("记录时长"), durationText(info.totalDuration));
    number(tr("记录条数"), data.samples.size());
    if (info.overWirteRecordNum > 0)
        number(tr("已覆盖记录条数"), double(info.overWirteRecordNum));
    pair(tr("最大值"), statisticText(info.maxTemp, info.maxHumidity, hum, info.tempUnit,
                                     QStringLiteral("--- ---")));
    pair(tr("最小值"), statisticText(info.minTemp, info.minHumidity, hum, info.tempUnit));
    pair(tr("平均值"), statisticText(info.avgTemp, info.avgHumidity, hum, info.tempUnit,
                                     QStringLiteral("--- ---")));
    pair(tr("时区"), RecordingVerdict::timeZoneText());
    skipRow();
}

void XlsxSummarySheet::alarms()
{
    heading(tr("报警设置及结果"));
    const QString titles[] = {tr("报警阈值"), tr("报警类型"), tr("报警延迟"),
                              tr("报警时长"), tr("报警次数"), tr("报警状态")};
    lxw_col_t col = 1;
    for (const QString &title : titles)
        xlsxcells::text(sheet, row, col++, title, formats.heading);
    ++row;
    for (const AlarmRowLayout &layout : alarmRowLayouts(info.isContainHum)) {
        const AlertDataJson &alert = alarmOf(info, layout);
        xlsxcells::text(sheet, row, 0, layout.label);
        if (alert.isOpen) {
            xlsxcells::text(
                sheet, row, 1,
                ReportFirstPage::thresholdText(layout.kind, alert.alertValue, info.tempUnit));
            xlsxcells::text(sheet, row, 2, alert.isAccumulate ? tr("累计") : tr("单一"));
            xlsxcells::text(sheet, row, 3,
                            durationText(qint64(alert.delayTime) * intervalUnitSecs));
            xlsxcells::text(
                sheet, row, 4,
                durationText(alert.alertDuration * intervalUnitSecs * info.recordInterval));
            worksheet_write_number(sheet, row, 5, alert.alertNum, formats.number);
            xlsxcells::text(sheet, row, 6, alert.isAlertFlag ? tr("报警") : tr("正常"));
        } else {
            for (lxw_col_t c = 1; c <= 6; ++c)
                xlsxcells::text(sheet, row, c, closedCell);
        }
        ++row;
    }
    skipRow();
}

void XlsxSummarySheet::evaluation()
{
    const RecordingAnalysis analysis = RecordingAnalysis::of(data);
    const int unit = info.tempUnit;
    heading(tr("评估"));
    pair(tr("判定"), RecordingVerdict::verdictText(analysis));
    pair(tr("判定范围"), ReportEvaluation::rangeText(analysis.range, unit));
    pair(tr("平均动力学温度"),
         analysis.mktCelsius ? temperatureText(*analysis.mktCelsius, unit) : noValue);
    pair(tr("活化能"),
         QString::number(analysis.activationEnergyKJ, 'g', QLocale::FloatingPointShortest) +
             QStringLiteral(" kJ/mol"));
    pair(tr("高于范围时长"), durationText(analysis.timeAboveSeconds));
    pair(tr("低于范围时长"), durationText(analysis.timeBelowSeconds));
    number(tr("超限次数"), analysis.excursions.size());
    pair(tr("文件指纹"), data.sha256.isEmpty() ? noValue : data.sha256);
    if (!analysis.excursions.isEmpty()) {
        skipRow();
        excursions(analysis.excursions);
    }
}

void XlsxSummarySheet::excursions(const QVector<Excursion> &list)
{
    heading(tr("超限记录"));
    const QString titles[] = {tr("方向"), tr("开始时间"), tr("时长"),
                              tr("峰值") + QLatin1Char(' ') +
                                  temperatureColumnTitle(info.tempUnit)};
    lxw_col_t col = 1;
    for (const QString &title : titles)
        xlsxcells::text(sheet, row, col++, title, formats.heading);
    ++row;
    int index = 1;
    for (const Excursion &excursion : list) {
        worksheet_write_number(sheet, row, 0, index++, formats.number);
        xlsxcells::text(sheet, row, 1,
                        excursion.side == Excursion::Above ? tr("高于范围") : tr("低于范围"));
        worksheet_write_number(sheet, row, 2, xlsxcells::dateTime(excursion.start),
                               formats.dateTime);
        xlsxcells::text(sheet, row, 3, durationText(excursion.durationSeconds));
        worksheet_write_number(sheet, row, 4, fromCelsius(excursion.peakCelsius, info.tempUnit),
                               formats.oneDecimal);
        ++row;
    }
}
