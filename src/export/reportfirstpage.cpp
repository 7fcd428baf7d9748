// SPDX-License-Identifier: GPL-3.0-or-later
// The report's first page without its chart: device, configuration, temperature and alarm sections.
#include "export/reportfirstpage.h"

#include "core/lgxdevtype.h"
#include "core/units.h"
#include "core/utils.h"
#include "export/recordingverdict.h"
#include "export/reportpainter.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingsummary.h"

#include <QLineF>
#include <QPainter>
#include <QVector>

using namespace recordingsummary;

namespace
{

bool isHumidity(AlarmKind kind)
{
    return kind == AlarmKind::HighHumidity || kind == AlarmKind::LowHumidity;
}

} // namespace

ReportFirstPage::ReportFirstPage(const ReportPainter &painter, const LoadedRecording &recording)
    : rp(painter), data(recording), info(recording.recording)
{
}

void ReportFirstPage::draw(const QDateTime &createdAt) const
{
    drawHeader();
    drawConfiguration();
    drawTemperatureInfo();
    drawAlarmTable();
    drawBadge();
    drawFooter(createdAt);
}

QString ReportFirstPage::thresholdText(AlarmKind kind, int alertValue, int tempUnit)
{
    const bool high = kind == AlarmKind::HighTemperature || kind == AlarmKind::HighHumidity;
    const QString sign = high ? QStringLiteral("≥") : QStringLiteral("≤");
    if (isHumidity(kind))
        return sign + QLatin1Char(' ') + QString::number(alertValue / 10.0, 'g', -1) +
               QStringLiteral("%RH");
    const double celsius = alertValue / 100.0;
    const QString value = temperatureText(celsius, tempUnit);
    return fromCelsius(celsius, tempUnit) > 0 ? sign + QLatin1Char(' ') + value : sign + value;
}

bool ReportFirstPage::anyAlarmRaised(const ReadDevInfoJson &info)
{
    for (const AlarmRowLayout &row : alarmRowLayouts(info.isContainHum)) {
        const AlertDataJson &alert = alarmOf(info, row);
        if (alert.isOpen && alert.isAlertFlag)
            return true;
    }
    return false;
}

void ReportFirstPage::drawHeader() const
{
    using RP = ReportPainter;
    const int r = rp.right();
    rp.text(RP::Title, RP::box(34, 21, r, 40), RP::alignC, tr("温度湿度记录报告"));
    rp.text(RP::Section, RP::box(36, 43, rp.sectionRight(), 58), RP::alignL, tr("记录仪信息"));
    rp.line(34, 63, rp.ruleEnd(), 63);

    const QString colon = QStringLiteral(":");
    rp.label(RP::box(36, 65, 117, 78), tr("设备名称"));
    rp.label(RP::box(118, 65, 121, 78), colon);
    rp.label(RP::box(134, 65, 287, 78), info.devName);
    rp.label(RP::box(288, 65, 344, 78), tr("S/N 序列号"));
    rp.label(RP::box(345, 65, 348, 78), colon);
    rp.label(RP::box(361, 65, 478, 78), info.sn);
    rp.label(RP::box(479, 65, 498, 78), QStringLiteral("ID"));
    rp.label(RP::box(499, 65, 502, 78), colon);
    rp.label(RP::box(515, 65, r, 78), info.id);
    rp.label(RP::box(36, 81, 117, 94), tr("文件备注"));
    rp.label(RP::box(118, 81, 121, 94), colon);
    const QRect noteBox = rp.english() ? RP::box(134, 80, r, 93) : RP::box(134, 81, r, 96);
    rp.text(RP::Note, noteBox, RP::alignLC, info.note);

    rp.text(RP::Section, RP::box(36, 99, rp.sectionRight(), 114), RP::alignL, tr("配置信息"));
    rp.line(34, 119, rp.ruleEnd(), 119);
    rp.text(RP::Section, RP::box(36, 172, rp.sectionRight(), 187), RP::alignL, tr("温度信息"));
    rp.line(34, 192, rp.ruleEnd(), 192);
    rp.text(RP::Section, RP::box(36, 261, rp.sectionRight(), 276), RP::alignL,
            tr("报警设置及结果"));
    rp.line(34, 281, rp.ruleEnd(), 281);
}

void ReportFirstPage::leftTriple(int y1, const QString &name, const QString &value) const
{
    rp.label(ReportPainter::box(36, y1, 117, y1 + 13), name);
    rp.label(ReportPainter::box(118, y1, 121, y1 + 13), QStringLiteral(":"));
    rp.label(ReportPainter::box(134, y1, 287, y1 + 13), value);
}

void ReportFirstPage::rightTriple(int y1, const QString &name, const QString &value) const
{
    rp.label(ReportPainter::box(288, y1, 369, y1 + 13), name);
    rp.label(ReportPainter::box(370, y1, 373, y1 + 13), QStringLiteral(":"));
    rp.label(ReportPainter::box(386, y1, 566, y1 + 13), value);
}

QString ReportFirstPage::startModeText(int startOperation)
{
    switch (startOperation) {
    case 1:
        return tr("软件");
    case 2:
        return tr("预约");
    default:
        return tr("按键");
    }
}

QString ReportFirstPage::stopModeText(int stopOperation)
{
    switch (stopOperation) {
    case 1:
        return tr("按键");
    case 2:
        return tr("满记录");
    case 3:
        return tr("记录中");
    case 4:
        return tr("软件");
    case 5:
        return tr("低电");
    default:
        return tr("无");
    }
}

void ReportFirstPage::drawConfiguration() const
{
    leftTriple(122, tr("开启模式"), startModeText(info.startOperation));
    rightTriple(122, tr("配置时间"), timeText(info.configTime));
    leftTriple(138, tr("停止模式"), stopModeText(info.stopOperation));
    rightTriple(138, tr("记录间隔"), durationText(qint64(info.recordInterval) * intervalUnitSecs));
    leftTriple(154, tr("开启延迟"), QStringLiteral("%1 min").arg(info.startDelay));
    rightTriple(154, tr("记录模式"), info.recordMode == 1 ? tr("循环记录") : tr("记录满停止"));
}

QString ReportFirstPage::startStopText(const QDateTime &time, int temperature) const
{
    if (info.devType != HX10D && !isTemperatureMissing(temperature))
        return QStringLiteral("%1  (%2)")
            .arg(timeText(time), temperatureText(temperature / 100.0, info.tempUnit));
    return timeText(time);
}

QString ReportFirstPage::statisticText(int temperature, int humidity, bool isMinimum) const
{
    // The report writes the minimum's missing pair with two spaces, the others with one.
    return recordingsummary::statisticText(temperature, humidity, info.isContainHum, info.tempUnit,
                                           isMinimum ? QStringLiteral("---  ---")
                                                     : QStringLiteral("--- ---"));
}

void ReportFirstPage::drawTemperatureInfo() const
{
    const QString count =
        RecordingVerdict::sampleCountText(data.samples.size(), info.overWirteRecordNum);
    leftTriple(195, tr("开启时间"), startStopText(info.startRecordTime, info.startTemp));
    rightTriple(195, tr("最大值"), statisticText(info.maxTemp, info.maxHumidity, false));
    leftTriple(211, tr("停止时间"), startStopText(info.stopRecordTime, info.stopTemp));
    rightTriple(211, tr("最小值"), statisticText(info.minTemp, info.minHumidity, true));
    leftTriple(227, tr("记录时长"), durationText(info.totalDuration));
    rightTriple(227, tr("平均值"), statisticText(info.avgTemp, info.avgHumidity, false));
    leftTriple(243, tr("记录条数"), count);
    // Beside the count, in red, for a file with fewer samples than its header promises.
    const QString incomplete = RecordingVerdict::incompleteText(data);
    if (!incomplete.isEmpty()) {
        QPainter &p = rp.painter();
        p.save();
        p.setPen(QColor(200, 0, 0));
        rp.text(ReportPainter::Label, ReportPainter::box(288, 243, 566, 256),
                ReportPainter::alignLC, incomplete);
        p.restore();
    }
}

void ReportFirstPage::drawAlarmTable() const
{
    using RP = ReportPainter;
    const auto font = RP::Label;
    rp.text(font, RP::box(36, 284, 65, 297), RP::alignL, QString());
    rp.text(font, RP::box(66, 284, 158, 297), RP::alignC, tr("报警阈值"));
    rp.text(font, RP::box(159, 284, 232, 297), RP::alignC, tr("报警类型"));
    rp.text(font, RP::box(233, 284, 306, 297), RP::alignC, tr("报警延迟"));
    rp.text(font, RP::box(307, 284, 399, 297), RP::alignC, tr("报警时长"));
    rp.text(font, RP::box(400, 284, 473, 297), RP::alignC, tr("报警次数"));
    rp.text(font, RP::box(474, 284, 547, 297), RP::alignC, tr("报警状态"));

    const QString closed = QStringLiteral("--");
    int y1 = 300;
    for (const AlarmRowLayout &row : alarmRowLayouts(info.isContainHum)) {
        const AlertDataJson &alert = alarmOf(info, row);
        const int y2 = y1 + 13;
        rp.text(font, RP::box(36, y1, 65, y2), RP::alignL, row.label);
        if (alert.isOpen) {
            rp.text(font, RP::box(94, y1, 186, y2), RP::alignL,
                    thresholdText(row.kind, alert.alertValue, info.tempUnit));
            rp.text(font, RP::box(159, y1, 232, y2), RP::alignC,
                    alert.isAccumulate ? tr("累计") : tr("单一"));
            rp.text(font, RP::box(233, y1, 306, y2), RP::alignC,
                    durationText(qint64(alert.delayTime) * intervalUnitSecs));
            rp.text(font, RP::box(307, y1, 399, y2), RP::alignC,
                    durationText(alert.alertDuration * intervalUnitSecs * info.recordInterval));
            rp.text(font, RP::box(400, y1, 473, y2), RP::alignC, QString::number(alert.alertNum));
            rp.text(font, RP::box(474, y1, 547, y2), RP::alignC,
                    alert.isAlertFlag ? tr("报警") : tr("正常"));
        } else {
            if (isHumidity(row.kind))
                rp.text(font, RP::box(94, y1, 186, y2), RP::alignL, closed);
            else
                rp.text(font, RP::box(66, y1, 158, y2), RP::alignC, closed);
            for (const QRect &cell :
                 {RP::box(159, y1, 232, y2), RP::box(233, y1, 306, y2), RP::box(307, y1, 399, y2),
                  RP::box(400, y1, 473, y2), RP::box(474, y1, 547, y2)})
                rp.text(font, cell, RP::alignC, closed);
        }
        y1 += 16;
    }
}

void ReportFirstPage::drawBadge() const
{
    QPainter &p = rp.painter();
    p.drawRect(ReportPainter::box(517, 22, 552, 57));
    p.save();
    QPen pen = p.pen();
    pen.setWidth(2);
    // A cross whenever the logger raised an alarm or the samples leave the
    // evaluated range: a tick beside "out of limits" would tell the reader the opposite.
    if (anyAlarmRaised(info) || RecordingVerdict::isOutOfLimits(RecordingAnalysis::of(data))) {
        pen.setColor(Qt::red);
        p.setPen(pen);
        p.drawLine(QLineF(528, 33, 542, 47));
        p.drawLine(QLineF(542, 33, 528, 47));
    } else {
        pen.setColor(Qt::green);
        p.setPen(pen);
        p.drawLine(QLineF(528, 41, 535, 47));
        p.drawLine(QLineF(535, 47, 545, 34));
    }
    p.restore();
}

void ReportFirstPage::drawFooter(const QDateTime &createdAt) const
{
    rp.text(ReportPainter::Label, ReportPainter::box(44, 794, 293, 813), ReportPainter::alignLC,
            QStringLiteral("%1 : %2").arg(tr("报表创建时间"), timeText(createdAt)));
    // The creation time is the computer's; every time of the recording is the logger's.
    rp.text(ReportPainter::Label, ReportPainter::box(294, 794, rp.right(), 813),
            ReportPainter::alignRC,
            QStringLiteral("%1 : %2").arg(tr("时区"), RecordingVerdict::timeZoneText()));
}
