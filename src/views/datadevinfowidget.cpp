// SPDX-License-Identifier: GPL-3.0-or-later
// The summary page: device, configuration, statistics, evaluation and alarm results of a
// recording.
#include "views/datadevinfowidget.h"

#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "core/units.h"
#include "core/utils.h"
#include "export/recordingverdict.h"
#include "recording/loadedrecording.h"
#include "recording/readdevinfojson.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingsummary.h"
#include "views/reviewpanel.h"
#include "widgets/checkbutton.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace recordingsummary;

namespace
{

QString timeWithTemperature(const QDateTime &time, int temperature, int tempUnit)
{
    QString text = timeText(time);
    if (!isTemperatureMissing(temperature))
        text += QStringLiteral(" (") + temperatureText(temperature / 100.0, tempUnit) +
                QStringLiteral(")");
    return text;
}

const QString noValue = QStringLiteral("---");

// The level-1 limits the samples were judged against, with their labels, so
// that a side without a limit reads as such rather than as a value; a range
// chosen for the logger says so instead.
QString rangeText(const TemperatureRange &range, int tempUnit, bool chosen)
{
    if (chosen)
        return DataDevInfoWidget::tr("已选定 %1 … %2")
            .arg(temperatureText(range.low.value_or(0), tempUnit),
                 temperatureText(range.high.value_or(0), tempUnit));
    if (!range.low && !range.high)
        return DataDevInfoWidget::tr("无 (TL1、TH1 均关闭)");
    const QString low = range.low ? QStringLiteral("TL1 ") + temperatureText(*range.low, tempUnit)
                                  : DataDevInfoWidget::tr("无下限");
    const QString high = range.high
                             ? QStringLiteral("TH1 ") + temperatureText(*range.high, tempUnit)
                             : DataDevInfoWidget::tr("无上限");
    return low + QStringLiteral(" … ") + high;
}

} // namespace

DataDevInfoWidget::DataDevInfoWidget(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    QMetaObject::connectSlotsByName(this);
    for (const DataDevInfoAlarmRow &row : qAsConst(ui.alarmRows))
        row.checkBtn->setEnabled(false);
    clearInfo();
}

QString DataDevInfoWidget::statisticText(int temperature, int humidity, bool withHumidity,
                                         int tempUnit)
{
    return recordingsummary::statisticText(temperature, humidity, withHumidity, tempUnit);
}

void DataDevInfoWidget::fillFromRecording(const ReadDevInfoJson &recording)
{
    const int unit = recording.tempUnit;
    ui.devNameLabel->setText(recording.devName);
    ui.snLabel->setText(recording.sn);
    ui.idLabel->setText(recording.id);

    if (recording.devType == HX10D) {
        ui.startTimeLabel->setText(timeText(recording.startRecordTime));
        ui.endTimeLabel->setText(timeText(recording.stopRecordTime));
    } else if (recording.devType == HX20D) {
        ui.startTimeLabel->setText(
            timeWithTemperature(recording.startRecordTime, recording.startTemp, unit));
        ui.endTimeLabel->setText(
            timeWithTemperature(recording.stopRecordTime, recording.stopTemp, unit));
    }
    ui.recordDuration->setText(durationText(recording.totalDuration));
    ui.recordNum->setText(
        RecordingVerdict::sampleCountText(recording.numofReport, recording.overWirteRecordNum));
    ui.timeZoneLabel->setText(RecordingVerdict::timeZoneText());
    ui.configTimeLabel->setText(timeText(recording.configTime));

    const bool hum = recording.isContainHum;
    ui.maxValueLabel->setText(statisticText(recording.maxTemp, recording.maxHumidity, hum, unit));
    ui.minValueLabel->setText(statisticText(recording.minTemp, recording.minHumidity, hum, unit));
    ui.avgValueLabel->setText(statisticText(recording.avgTemp, recording.avgHumidity, hum, unit));

    switch (recording.startOperation) {
    case 1:
        ui.startModelLabel->setText(tr("软件"));
        break;
    case 2:
        ui.startModelLabel->setText(tr("预约"));
        break;
    default:
        ui.startModelLabel->setText(tr("按键"));
    }
    switch (recording.stopOperation) {
    case 1:
        ui.stopModelLabel->setText(tr("按键"));
        break;
    case 2:
        ui.stopModelLabel->setText(tr("满记录"));
        break;
    case 3:
        ui.stopModelLabel->setText(tr("记录中"));
        break;
    case 4:
        ui.stopModelLabel->setText(tr("软件"));
        break;
    case 5:
        ui.stopModelLabel->setText(tr("低电"));
        break;
    default:
        ui.stopModelLabel->setText(tr("无"));
    }

    ui.startDelayLabel->setText(QStringLiteral("%1 min").arg(recording.startDelay));
    ui.recordModeLabel->setText(recording.recordMode == 1 ? tr("循环记录") : tr("记录满停止"));
    ui.recordIntervalLabel->setText(
        durationText(qint64(recording.recordInterval) * intervalUnitSecs));
    ui.deviceNoteLabel->setText(recording.note);

    ui.hhWidget->setVisible(hum);
    ui.hlWidget->setVisible(hum);
    for (const DataDevInfoAlarmRow &row : qAsConst(ui.alarmRows))
        fillAlarmRow(row, alarmOf(recording, row.layout), recording.recordInterval, unit);
}

void DataDevInfoWidget::fillFromRecording(const LoadedRecording &recording)
{
    fillFromRecording(recording.recording);
    ui.recordNum->setText(RecordingVerdict::sampleCountText(
        recording.samples.size(), recording.recording.overWirteRecordNum));
}

void DataDevInfoWidget::fillEvaluation(const RecordingAnalysis &analysis,
                                       const QString &fingerprint, int tempUnit, bool chosen)
{
    const TemperatureRange &range = analysis.range;
    // Without a valid sample nothing was judged, so no time counts as in range.
    const bool judged = analysis.validSamples > 0;
    ui.rangeLabel->setText(rangeText(range, tempUnit, chosen));
    ui.timeAboveLabel->setText(judged && range.high ? durationText(analysis.timeAboveSeconds)
                                                    : noValue);
    ui.timeBelowLabel->setText(judged && range.low ? durationText(analysis.timeBelowSeconds)
                                                   : noValue);
    ui.excursionNum->setText(judged && (range.low || range.high)
                                 ? QString::number(analysis.excursions.size())
                                 : noValue);
    const Excursion *longest = analysis.longestExcursion();
    ui.longestExcursionLabel->setText(longest ? durationText(longest->durationSeconds) : noValue);
    ui.longestStartLabel->setText(longest ? QDateTime::fromSecsSinceEpoch(longest->start, Qt::UTC)
                                                .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
                                          : noValue);
    ui.mktLabel->setText(analysis.mktCelsius ? temperatureText(*analysis.mktCelsius, tempUnit)
                                             : noValue);
    ui.activationEnergyLabel->setText(
        QString::number(analysis.activationEnergyKJ, 'g', QLocale::FloatingPointShortest) +
        QStringLiteral(" kJ/mol"));
    // Red out of limits, green within; plain when nothing could be judged.
    ui.verdictLabel->setText(RecordingVerdict::verdictText(analysis));
    QString verdictStyle;
    if (RecordingVerdict::isOutOfLimits(analysis))
        verdictStyle = QStringLiteral("color: rgb(198, 40, 40); font-weight: 500;");
    else if (judged && (range.low || range.high))
        verdictStyle = QStringLiteral("color: rgb(46, 125, 50); font-weight: 500;");
    ui.verdictLabel->setStyleSheet(verdictStyle);
    ui.fingerprintEdit->setText(fingerprint.isEmpty() ? noValue : fingerprint);
    ui.fingerprintEdit->setCursorPosition(0);
}

void DataDevInfoWidget::fillAlarmRow(const DataDevInfoAlarmRow &row, const AlertDataJson &alarm,
                                     int recordInterval, int tempUnit)
{
    row.checkBtn->setChecked(alarm.isOpen);
    const QString humidity =
        QString::number(alarm.alertValue / 10.0, 'g', QLocale::FloatingPointShortest);
    const QString temperature = temperatureText(alarm.alertValue / 100.0, tempUnit);
    switch (row.layout.kind) {
    case AlarmKind::HighHumidity:
        row.value->setText(QStringLiteral("≥%1%RH").arg(humidity));
        break;
    case AlarmKind::LowHumidity:
        row.value->setText(QStringLiteral("≤%1%RH").arg(humidity));
        break;
    case AlarmKind::HighTemperature:
        row.value->setText(QStringLiteral("≥%1").arg(temperature));
        break;
    case AlarmKind::LowTemperature:
        row.value->setText(QStringLiteral("≤%1").arg(temperature));
        break;
    }
    row.type->setText(alarm.isAccumulate ? tr("累计") : tr("单一"));
    row.delay->setText(durationText(qint64(alarm.delayTime) * intervalUnitSecs));
    row.duration->setText(durationText(alarm.alertDuration * intervalUnitSecs * recordInterval));
    row.state->setText(alarm.isAlertFlag ? tr("报警") : tr("正常"));
    row.times->setText(QString::number(alarm.alertNum));
}

void DataDevInfoWidget::clearInfo()
{
    for (QLabel *label :
         {ui.devNameLabel, ui.snLabel, ui.idLabel, ui.startTimeLabel, ui.endTimeLabel,
          ui.recordDuration, ui.recordNum, ui.maxValueLabel, ui.minValueLabel, ui.avgValueLabel,
          ui.startModelLabel, ui.stopModelLabel, ui.startDelayLabel, ui.recordModeLabel,
          ui.recordIntervalLabel, ui.configTimeLabel, ui.timeZoneLabel, ui.deviceNoteLabel})
        label->clear();
    ui.lineEdit->clear();
    ui.reviewPanel->clear();
    for (QLabel *label : {ui.rangeLabel, ui.timeAboveLabel, ui.timeBelowLabel, ui.mktLabel,
                          ui.excursionNum, ui.longestExcursionLabel, ui.longestStartLabel,
                          ui.activationEnergyLabel, ui.verdictLabel})
        label->clear();
    ui.verdictLabel->setStyleSheet(QString());
    ui.fingerprintEdit->clear();
    for (const DataDevInfoAlarmRow &row : qAsConst(ui.alarmRows)) {
        row.checkBtn->setChecked(false);
        if (row.key == QLatin1String("hh"))
            row.value->setText(QStringLiteral("≥100%"));
        else if (row.key == QLatin1String("hl"))
            row.value->setText(QStringLiteral("≤0%"));
        else if (row.key.startsWith(QLatin1String("th")))
            row.value->setText(QStringLiteral("≥85.0℃"));
        else
            row.value->setText(QStringLiteral("≤-40.0℃"));
        row.type->setText(tr("单一"));
        row.delay->setText(QStringLiteral("0s"));
        row.duration->setText(QStringLiteral("0s"));
        row.state->setText(tr("正常"));
        row.times->setText(QStringLiteral("0"));
    }
}

void DataDevInfoWidget::on_lineEdit_returnPressed()
{
    const QString note = ui.lineEdit->text().trimmed();
    if (note.isEmpty())
        return;
    // Kept in the line when it cannot become a comment, so nothing typed is lost.
    const bool kept = ui.reviewPanel->commentButton()->isEnabled();
    emit updateNotes(note);
    if (kept)
        ui.lineEdit->clear();
}

void DataDevInfoWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int width = isEnglish() ? 144 : 100;
        for (QLabel *label : qAsConst(ui.nameLabels))
            label->setFixedWidth(width);
        ui.retranslateUi(this);
    }
    QWidget::changeEvent(event);
}
