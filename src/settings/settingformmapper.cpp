// SPDX-License-Identifier: GPL-3.0-or-later
// SettingFormMapper: shows a configuration record in the settings controls and takes their edits
// back.
#include "settings/settingformmapper.h"

#include "config/persettingjson.h"
#include "core/lgxdevtype.h"
#include "core/units.h"
#include "device/devicetext.h"
#include "settings/alarmsection.h"
#include "settings/datetimelineedit.h"
#include "settings/delaysetwidgetfrom10.h"
#include "settings/delaysimplesetwidget.h"
#include "settings/devsettingui.h"
#include "widgets/combobox.h"
#include "widgets/toggle.h"

#include <QButtonGroup>
#include <QDebug>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cstring>

SettingFormMapper::SettingFormMapper(DevSettingUi &form, AlarmSection *alarmSection,
                                     OneConfigCmdStruct *record, QObject *parent)
    : QObject(parent), ui(form), alarms(alarmSection), working(record)
{
    connectControls();
}

void SettingFormMapper::connectControls()
{
    connect(ui.devNameLE, &QLineEdit::textChanged, this, [this](const QString &text) {
        storeName(text);
        emit edited();
    });
    connect(ui.devIdLE, &QLineEdit::textChanged, this, [this](const QString &text) {
        working->devId = uint8_t(qBound(0, text.toInt(), 100));
        emit edited();
    });
    connect(ui.unitGroup, &QButtonGroup::idClicked, this, [this](int id) {
        working->tempUnit = id;
        alarms->applyUnit(id);
        emit edited();
    });
    connect(ui.screenGroup, &QButtonGroup::idClicked, this, [this](int id) {
        ui.autoLightCB->setVisible(id == 1);
        working->screenDisplayTime = uint16_t(id == 1 ? ui.autoLightCB->currentData().toInt() : 0);
        emit edited();
    });
    connect(ui.autoLightCB, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) {
                if (index < 0)
                    return;
                working->screenDisplayTime = uint16_t(ui.autoLightCB->itemData(index).toInt());
                emit edited();
            });
    connect(ui.recordModeGroup, &QButtonGroup::idClicked, this, [this](int id) {
        working->recordMode = id;
        emit edited();
    });
    connect(ui.startModeGroup, &QButtonGroup::idClicked, this, [this](int id) {
        working->startMode = id;
        ui.startTimeLE->setVisible(id == 2);
        ui.keyRestartW->setEnabled(id == 0);
        emit edited();
    });
    connect(ui.keyStopGroup, &QButtonGroup::idClicked, this, [this](int id) {
        working->isKeyStopRecord = id == 1;
        emit edited();
    });
    connect(ui.keyRestartGroup, &QButtonGroup::idClicked, this, [this](int id) {
        working->isKeyRetart = id == 1;
        emit edited();
    });
    connect(ui.sensorGroup, &QButtonGroup::idClicked, this, [this](int id) {
        working->sensorType = uint8_t(id);
        alarms->setHumidityRowsVisible(id == 2);
        emit edited();
    });
    const struct {
        Toggle *toggle;
        bool OneConfigCmdStruct::*field;
    } toggles[] = {{ui.backlightToggle, &OneConfigCmdStruct::isOpenBacklight},
                   {ui.buzzerToggle, &OneConfigCmdStruct::isOpenBuzzer},
                   {ui.ledToggle, &OneConfigCmdStruct::isOpenLed},
                   {ui.tempPdfToggle, &OneConfigCmdStruct::isOpenPdf}};
    for (const auto &t : toggles) {
        connect(t.toggle, &Toggle::clicked, this, [this, field = t.field](bool checked) {
            working->*field = checked;
            emit edited();
        });
    }
    connect(ui.startDelayWidget, &DelaySimpleSetWidget::updateDelayTime, this, [this](int n) {
        working->startDelayTime = uint8_t(n);
        qDebug() << "start delay" << n;
        emit edited();
    });
}

void SettingFormMapper::storeName(const QString &text)
{
    setDeviceName(*working, text);
}

void SettingFormMapper::fill(const OneConfigCmdStruct &source, int model)
{
    const QString name = deviceName(source);
    ui.devNameLE->setText(name);
    storeName(name);
    ui.devIdLE->setText(QString::number(source.devId));
    working->devId = source.devId;
    fillScreen(source);

    ui.backlightToggle->setChecked(source.isOpenBacklight);
    ui.buzzerToggle->setChecked(source.isOpenBuzzer);
    ui.ledToggle->setChecked(source.isOpenLed);
    ui.tempPdfToggle->setChecked(source.isOpenPdf);
    working->isOpenBacklight = source.isOpenBacklight;
    working->isOpenBuzzer = source.isOpenBuzzer;
    working->isOpenLed = source.isOpenLed;
    working->isOpenPdf = source.isOpenPdf;

    (source.recordMode == 1 ? ui.loopRecordRB : ui.fullRecordRB)->setChecked(true);
    working->recordMode = source.recordMode;
    fillStart(source);

    alarms->load(source);
    (source.tempUnit == Fahrenheit ? ui.fdegreeRB : ui.centigradeRB)->setChecked(true);
    working->tempUnit = source.tempUnit;
    alarms->applyUnit(source.tempUnit == Fahrenheit ? Fahrenheit : Celsius);
    fillSensor(source, model);
}

void SettingFormMapper::fillScreen(const OneConfigCmdStruct &source)
{
    const int seconds = source.screenDisplayTime;
    const bool autoOff = seconds >= 10 && seconds <= 300;
    if (autoOff) {
        const QSignalBlocker blocker(ui.autoLightCB);
        ui.autoLightCB->setCurrentIndex(seconds - 10);
    }
    (autoOff ? ui.autoLightRB : ui.allLightRB)->setChecked(true);
    ui.autoLightCB->setVisible(autoOff);
    working->screenDisplayTime = source.screenDisplayTime;
}

void SettingFormMapper::fillStart(const OneConfigCmdStruct &source)
{
    std::memcpy(working->perSetStartTime, source.perSetStartTime, sizeof source.perSetStartTime);
    ui.startTimeLE->setDateTime(PersettingJson::fromDateBytes(source.perSetStartTime));
    QRadioButton *mode = source.startMode == 1   ? ui.softStartRB
                         : source.startMode == 0 ? ui.keyStartRB
                                                 : ui.subStartRB;
    mode->setChecked(true);
    ui.startTimeLE->setVisible(mode == ui.subStartRB);
    working->startMode = source.startMode;
    ui.keyRestartW->setEnabled(source.startMode == 0);

    (source.isKeyStopRecord ? ui.allowKeyRB : ui.disableKeyRB)->setChecked(true);
    (source.isKeyRetart ? ui.allowRestartRB : ui.disabelReStartRB)->setChecked(true);
    working->isKeyStopRecord = source.isKeyStopRecord;
    working->isKeyRetart = source.isKeyRetart;

    ui.startDelayWidget->setDelayTime(source.startDelayTime);
    ui.recordInterval->setDelayTime(source.recordInterval * intervalUnitSecs);
}

void SettingFormMapper::fillSensor(const OneConfigCmdStruct &source, int model)
{
    working->sensorType = source.sensorType;
    if (model != HX20D) {
        ui.sensorWidget->hide();
        alarms->setHumidityRowsVisible(true);
        return;
    }
    ui.sensorWidget->show();
    QRadioButton *sensor = source.sensorType == 1   ? ui.exterTempSensorRB
                           : source.sensorType == 2 ? ui.exterHumSensorRB
                                                    : ui.innerTempSensorRB;
    sensor->setChecked(true);
    alarms->setHumidityRowsVisible(source.sensorType == 2);
}
