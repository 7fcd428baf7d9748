// SPDX-License-Identifier: GPL-3.0-or-later
// The summary page: device, configuration, statistics and alarm results of a recording.
#include "views/datadevinfowidget.h"

#include "core/settinginfo.h"
#include "core/utils.h"
#include "recording/readdevinfojson.h"
#include "widgets/checkbutton.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace
{

constexpr int noTemperature = -7968;
// The logger's missing humidity, as the download stores it.
constexpr int noHumidity = 57568;

const char *const timeFormat = "yyyy/MM/dd hh:mm:ss";

bool isHumidityMissing(int humidity)
{
    return humidity == noTemperature || humidity == noHumidity;
}

QString timeWithTemperature(const QDateTime &time, int temperature, int tempUnit)
{
    QString text = time.toString(QLatin1String(timeFormat));
    if (temperature != noTemperature)
        text += QStringLiteral(" (") + temperatureText(temperature / 100.0, tempUnit) +
                QStringLiteral(")");
    return text;
}

// The alarm record each row shows: the recording keeps the temperature levels
// in the opposite order to the labels.
const AlertDataJson &alarmFor(const ReadDevInfoJson &recording, const QString &rowKey)
{
    if (rowKey == QLatin1String("th3"))
        return recording.th1;
    if (rowKey == QLatin1String("th2"))
        return recording.th2;
    if (rowKey == QLatin1String("th1"))
        return recording.th3;
    if (rowKey == QLatin1String("tl3"))
        return recording.tl1;
    if (rowKey == QLatin1String("tl2"))
        return recording.tl2;
    if (rowKey == QLatin1String("tl1"))
        return recording.tl3;
    if (rowKey == QLatin1String("hh"))
        return recording.hh;
    return recording.hl;
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
    if (!withHumidity)
        return temperature == noTemperature ? QStringLiteral("---")
                                            : temperatureText(temperature / 100.0, tempUnit);
    if (temperature == noTemperature || isHumidityMissing(humidity))
        return QStringLiteral("---  ---");
    return QStringLiteral("%1  %2%RH")
        .arg(temperatureText(temperature / 100.0, tempUnit),
             QString::number(humidity / 10.0, 'f', 1));
}

void DataDevInfoWidget::fillFromRecording(const ReadDevInfoJson &recording)
{
    const int unit = recording.tempUnit;
    ui.devNameLabel->setText(recording.devName);
    ui.snLabel->setText(recording.sn);
    ui.idLabel->setText(recording.id);

    if (recording.devType == 0) {
        ui.startTimeLabel->setText(recording.startRecordTime.toString(QLatin1String(timeFormat)));
        ui.endTimeLabel->setText(recording.stopRecordTime.toString(QLatin1String(timeFormat)));
    } else if (recording.devType == 1) {
        ui.startTimeLabel->setText(
            timeWithTemperature(recording.startRecordTime, recording.startTemp, unit));
        ui.endTimeLabel->setText(
            timeWithTemperature(recording.stopRecordTime, recording.stopTemp, unit));
    }
    ui.recordDuration->setText(durationText(recording.totalDuration));
    ui.recordNum->setText(recording.recordNum > 63999 ? QStringLiteral("64000")
                                                      : QString::number(recording.recordNum));
    ui.configTimeLabel->setText(recording.configTime.toString(QLatin1String(timeFormat)));

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
    ui.recordIntervalLabel->setText(durationText(qint64(recording.recordInterval) * 5));
    ui.lineEdit->setText(recording.note);

    ui.hhWidget->setVisible(hum);
    ui.hlWidget->setVisible(hum);
    for (const DataDevInfoAlarmRow &row : qAsConst(ui.alarmRows))
        fillAlarmRow(row, alarmFor(recording, row.key), recording.recordInterval, unit);
}

void DataDevInfoWidget::fillAlarmRow(const DataDevInfoAlarmRow &row, const AlertDataJson &alarm,
                                     int recordInterval, int tempUnit)
{
    row.checkBtn->setChecked(alarm.isOpen);
    const QString humidity =
        QString::number(alarm.alertValue / 10.0, 'g', QLocale::FloatingPointShortest);
    const QString temperature = temperatureText(alarm.alertValue / 100.0, tempUnit);
    if (row.key == QLatin1String("hh"))
        row.value->setText(QStringLiteral("≥%1%RH").arg(humidity));
    else if (row.key == QLatin1String("hl"))
        row.value->setText(QStringLiteral("≤%1%RH").arg(humidity));
    else if (row.key.startsWith(QLatin1String("th")))
        row.value->setText(QStringLiteral("≥%1").arg(temperature));
    else
        row.value->setText(QStringLiteral("≤%1").arg(temperature));
    row.type->setText(alarm.isAccumulate ? tr("累计") : tr("单一"));
    row.delay->setText(durationText(qint64(alarm.delayTime) * 5));
    row.duration->setText(durationText(alarm.alertDuration * 5 * recordInterval));
    row.state->setText(alarm.isAlertFlag ? tr("报警") : tr("正常"));
    row.times->setText(QString::number(alarm.alertNum));
}

void DataDevInfoWidget::clearInfo()
{
    for (QLabel *label :
         {ui.devNameLabel, ui.snLabel, ui.idLabel, ui.startTimeLabel, ui.endTimeLabel,
          ui.recordDuration, ui.recordNum, ui.maxValueLabel, ui.minValueLabel, ui.avgValueLabel,
          ui.startModelLabel, ui.stopModelLabel, ui.startDelayLabel, ui.recordModeLabel,
          ui.recordIntervalLabel, ui.configTimeLabel})
        label->clear();
    ui.lineEdit->clear();
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

void DataDevInfoWidget::on_lineEdit_textChanged()
{
    emit updateNotes(ui.lineEdit->text());
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
