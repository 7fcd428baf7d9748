// SPDX-License-Identifier: GPL-3.0-or-later
// DevSettingInfo: the device settings page that edits, writes and verifies the logger's
// configuration.
#include "settings/devsettinginfo.h"

#include "config/configechocheck.h"
#include "config/persettingjson.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "core/units.h"
#include "core/utils.h"
#include "device/protocol.h"
#include "settings/alarmrowwidget.h"
#include "settings/alarmsection.h"
#include "settings/datetimedialog.h"
#include "settings/datetimelineedit.h"
#include "settings/delaysetwidget.h"
#include "settings/delaysetwidgetfrom10.h"
#include "settings/presetwidget.h"
#include "settings/settingformmapper.h"
#include "settings/settingquestions.h"
#include "widgets/combobox.h"
#include "widgets/wheelguard.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstring>

namespace
{

const char *const floatingStyle =
    "QPushButton{border:none;border-radius:4px;background-color:rgb(246, 247, "
    "252);}QPushButton:hover{border:1px solid rgb(32, 33, 36);}";
const char *const checkedStyle =
    "QPushButton:checked{color:white;background-color:rgb(51, 51, 51);}";

// The form keeps notes to this many GBK bytes, a little less than the record holds.
constexpr int formNoteBytes = 100;

} // namespace

DevSettingInfo::DevSettingInfo(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    // The strip that holds the page's buttons is part of the white page.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("DevSettingInfo{background-color:white;}"));
    for (int seconds = 10; seconds <= 300; ++seconds)
        ui.autoLightCB->addItem(QString(), seconds);
    showScreenTimes();
    ui.autoLightCB->hide();
    alarms = new AlarmSection(ui.alarmRows, &workingConfig, this);
    mapper = new SettingFormMapper(ui, alarms, &workingConfig, this);
    // Saving a changed setting erases the logger's recording: scrolling the
    // page must not change one.
    WheelGuard::install(this);

    ui.startTimeLE->hide();
    for (DateTimeLineEdit *edit : {ui.dateTimeLE, ui.startTimeLE}) {
        edit->setDateTime(QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch()));
        edit->setReadOnly(true);
    }

    deviceClockTimer = new QTimer(this);
    deviceClockTimer->setInterval(1000);
    systemClockTimer = new QTimer(this);
    systemClockTimer->setInterval(1000);
    connect(deviceClockTimer, &QTimer::timeout, this, &DevSettingInfo::tickDeviceClock);
    connect(systemClockTimer, &QTimer::timeout, this, &DevSettingInfo::tickSystemClock);

    dateTimeDlg = new DateTimeDialog(this);
    connect(dateTimeDlg, &DateTimeDialog::dateTimeChanged, this,
            &DevSettingInfo::delPickedDateTime);
    connect(dateTimeDlg, &DateTimeDialog::closed, this, &DevSettingInfo::pickerClosed);

    createFloatingButtons();
    presetWidget = new PresetWidget(this);
    presetWidget->hide();
    connect(presetWidget, &PresetWidget::createPersetConfig, this,
            &DevSettingInfo::delCreatePersetConfig);
    connect(presetWidget, &PresetWidget::usingSettings, this, &DevSettingInfo::delUsingSettings);
    connect(presetWidget, &PresetWidget::presetDeleted, this, &DevSettingInfo::presetDeleted);
    connect(this, &DevSettingInfo::toUpdatePersetting, presetWidget, &PresetWidget::loadConfigs);

    connectControls();
    QMetaObject::connectSlotsByName(this);
    ui.applyLanguageWidths(isEnglish());
    retranslate();
    placeFloatingWidgets();
}

void DevSettingInfo::createFloatingButtons()
{
    persetBtn = new QPushButton(this);
    persetBtn->setObjectName(QStringLiteral("persetBtn"));
    persetBtn->setCheckable(true);
    persetBtn->setStyleSheet(QLatin1String(floatingStyle) + QLatin1String(checkedStyle));
    persetBtn->installEventFilter(this);
    saveBtn = new QPushButton(this);
    saveBtn->setObjectName(QStringLiteral("saveBtn"));
    noSaveBtn = new QPushButton(this);
    noSaveBtn->setObjectName(QStringLiteral("noSaveBtn"));
    for (QPushButton *button : {saveBtn, noSaveBtn})
        button->setStyleSheet(QLatin1String(floatingStyle));
    for (QPushButton *button : {persetBtn, saveBtn, noSaveBtn}) {
        button->setFixedSize(112, 40);
        button->setCursor(Qt::PointingHandCursor);
        button->raise();
    }
    saveBtn->setEnabled(false);
    connect(persetBtn, &QPushButton::clicked, this, &DevSettingInfo::delPersetShow);
    connect(saveBtn, &QPushButton::clicked, this, &DevSettingInfo::delSave);
    connect(noSaveBtn, &QPushButton::clicked, this, &DevSettingInfo::delNoSave);
}

void DevSettingInfo::connectControls()
{
    connect(mapper, &SettingFormMapper::edited, this, &DevSettingInfo::markModified);
    connect(alarms, &AlarmSection::changed, this, &DevSettingInfo::markModified);
    connect(alarms, &AlarmSection::clamped, this, &DevSettingInfo::sendMessage);
    // The validator drops a refused character without a sound; the hint beside the field,
    // which says what a name takes, lights up for a while. A name loaded from the logger is
    // no keystroke, whatever it holds.
    auto *hintTimer = new QTimer(this);
    hintTimer->setSingleShot(true);
    hintTimer->setInterval(3000);
    connect(hintTimer, &QTimer::timeout, this, [this] { ui.markNameRefused(false); });
    connect(ui.devNameLE, &QLineEdit::inputRejected, this, [this, hintTimer] {
        if (filling)
            return;
        ui.markNameRefused(true);
        hintTimer->start();
    });
    connect(ui.clockGroup, &QButtonGroup::idClicked, this, [this](int id) {
        const bool manual = id == 1;
        ui.dateTimeLE->setEnabled(manual);
        workingConfig.isDateTimeFlowSys = !manual;
        // In manual mode the line edit follows the logger's own clock.
        if (manual && !deviceClockTimer->isActive())
            deviceClockTimer->start();
        markModified();
    });
    connect(ui.recordInterval, &DelaySetWidgetFrom10::updateDelayTime, this,
            &DevSettingInfo::delUpdateRecordInterval);
    void (DevSettingInfo::*const delaySlots[AlarmRowCount])(int) = {
        &DevSettingInfo::delUpdateTh3Delay, &DevSettingInfo::delUpdateTh2Delay,
        &DevSettingInfo::delUpdateTh1Delay, &DevSettingInfo::delUpdateTl1Delay,
        &DevSettingInfo::delUpdateTl2Delay, &DevSettingInfo::delUpdateTl3Delay,
        &DevSettingInfo::delUpdateHhDelay,  &DevSettingInfo::delUpdateHlDelay};
    for (int r = 0; r < AlarmRowCount; ++r)
        connect(alarms->row(r)->delayWidget(), &DelaySetWidget::updateDelayTime, this,
                delaySlots[r]);
    for (DateTimeLineEdit *edit : {ui.dateTimeLE, ui.startTimeLE})
        connect(edit, &DateTimeLineEdit::showDateTimeSet, this,
                &DevSettingInfo::delShowDateTimeSet);
}

QString DevSettingInfo::cutNote(const QString &text)
{
    if (encodeNote(text).size() <= formNoteBytes)
        return text;
    // Drop whole characters from the front: cutting the encoded bytes could
    // split a two-byte character and leave a broken one at the start.
    int start = 0;
    while (start < text.size() && encodeNote(text.mid(start)).size() > formNoteBytes)
        start += text.at(start).isHighSurrogate() ? 2 : 1;
    return text.mid(start);
}

void DevSettingInfo::markModified()
{
    if (filling || modified)
        return;
    saveBtn->setEnabled(true);
    modified = true;
}

void DevSettingInfo::markUnmodified()
{
    saveBtn->setEnabled(false);
    modified = false;
}

void DevSettingInfo::delDevConfigSignal(OneConfigCmdStruct config, int devType)
{
    if (devType == NoDevType)
        return;
    connectDevType = devType;
    deviceConfig = config;
    // Fields the page neither shows nor edits are written back as the logger sent them.
    workingConfig = config;
    filling = true;
    fill(config, devType, true);
    filling = false;
    // What the logger holds is no change, whatever the page showed before.
    markUnmodified();
    awaitingCount = false;
}

void DevSettingInfo::fill(const OneConfigCmdStruct &source, int model, bool fromDevice)
{
    mapper->fill(source, model);
    if (fromDevice)
        ui.devVersionLabel->setText(QStringLiteral("V %1.%2.%3")
                                        .arg(source.firmwareVersion[0])
                                        .arg(source.firmwareVersion[1])
                                        .arg(source.firmwareVersion[2]));
    std::memcpy(workingConfig.devDateTime, source.devDateTime, sizeof source.devDateTime);
    if (fromDevice) {
        sysClock = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
        devClock = PersettingJson::fromDateBytes(source.devDateTime);
    }
    workingConfig.isDateTimeFlowSys = source.isDateTimeFlowSys;
    (source.isDateTimeFlowSys ? ui.flowSysTimeRB : ui.manualTimeRB)->setChecked(true);
    ui.dateTimeLE->setEnabled(!source.isDateTimeFlowSys);
    if (!source.isDateTimeFlowSys && !deviceClockTimer->isActive())
        deviceClockTimer->start();
    if (!systemClockTimer->isActive())
        systemClockTimer->start();
}

void DevSettingInfo::delDevReadNoteSignal(QString note)
{
    deviceNote = note;
    filling = true;
    ui.lineEdit->setText(note);
    filling = false;
}

void DevSettingInfo::delDevStateSignal(QString sn, bool, bool)
{
    if (ui.devSNLabel->text() != sn)
        ui.devSNLabel->setText(sn);
}

void DevSettingInfo::on_lineEdit_textChanged(const QString &text)
{
    const QString kept = cutNote(text);
    noteText = kept;
    if (kept != text)
        ui.lineEdit->setText(kept);
    markModified();
}

void DevSettingInfo::delUpdateRecordInterval(int time)
{
    workingConfig.recordInterval = uint16_t(time / intervalUnitSecs);
    markModified();
}

void DevSettingInfo::delUpdateTh3Delay(int time)
{
    alarms->setDelay(Th3Row, time);
}

void DevSettingInfo::delUpdateTh2Delay(int time)
{
    alarms->setDelay(Th2Row, time);
}

void DevSettingInfo::delUpdateTh1Delay(int time)
{
    alarms->setDelay(Th1Row, time);
}

void DevSettingInfo::delUpdateTl1Delay(int time)
{
    alarms->setDelay(Tl1Row, time);
}

void DevSettingInfo::delUpdateTl2Delay(int time)
{
    alarms->setDelay(Tl2Row, time);
}

void DevSettingInfo::delUpdateTl3Delay(int time)
{
    alarms->setDelay(Tl3Row, time);
}

void DevSettingInfo::delUpdateHhDelay(int time)
{
    alarms->setDelay(HhRow, time);
}

void DevSettingInfo::delUpdateHlDelay(int time)
{
    alarms->setDelay(HlRow, time);
}

void DevSettingInfo::on_th3SpinBox_editingFinished()
{
    alarms->takeValue(Th3Row);
}

void DevSettingInfo::on_th2SpinBox_editingFinished()
{
    alarms->takeValue(Th2Row);
}

void DevSettingInfo::on_th1SpinBox_editingFinished()
{
    alarms->takeValue(Th1Row);
}

void DevSettingInfo::on_tl1SpinBox_editingFinished()
{
    alarms->takeValue(Tl1Row);
}

void DevSettingInfo::on_tl2SpinBox_editingFinished()
{
    alarms->takeValue(Tl2Row);
}

void DevSettingInfo::on_tl3SpinBox_editingFinished()
{
    alarms->takeValue(Tl3Row);
}

void DevSettingInfo::on_hhSpinBox_editingFinished()
{
    alarms->takeValue(HhRow);
}

void DevSettingInfo::on_hlSpinBox_editingFinished()
{
    alarms->takeValue(HlRow);
}

void DevSettingInfo::tickDeviceClock()
{
    devClock = devClock.addSecs(1);
    if (workingConfig.isDateTimeFlowSys)
        return;
    ui.dateTimeLE->setDateTime(devClock);
    PersettingJson::toDateBytes(devClock, workingConfig.devDateTime);
}

void DevSettingInfo::tickSystemClock()
{
    sysClock = sysClock.addSecs(1);
    if (!workingConfig.isDateTimeFlowSys)
        return;
    ui.dateTimeLE->setDateTime(sysClock);
    PersettingJson::toDateBytes(sysClock, workingConfig.devDateTime);
}

void DevSettingInfo::delShowDateTimeSet(QString objName, QDateTime dateTime)
{
    auto *edit = findChild<DateTimeLineEdit *>(objName);
    if (!edit)
        return;
    const bool deviceClockEdit = edit == ui.dateTimeLE;
    if (deviceClockEdit)
        deviceClockTimer->stop();
    dateTimeDlg->setTargetName(objName);
    dateTimeDlg->showPicker(QRect(edit->mapTo(this, QPoint(0, 0)), edit->size()), dateTime);
}

void DevSettingInfo::pickerClosed(const QString &objName)
{
    auto *edit = objName.isEmpty() ? nullptr : findChild<DateTimeLineEdit *>(objName);
    if (!edit)
        return;
    edit->clearFocus();
    // The device's clock stood still while its time was being picked.
    if (edit == ui.dateTimeLE && !deviceClockTimer->isActive())
        deviceClockTimer->start();
}

void DevSettingInfo::delPickedDateTime(const QString &objName, const QDateTime &dateTime)
{
    // After month navigation the picker may hold a day its month lacks.
    if (!dateTime.isValid())
        return;
    if (objName == ui.dateTimeLE->objectName()) {
        ui.dateTimeLE->setDateTime(dateTime);
        devClock = dateTime;
        if (!deviceClockTimer->isActive())
            deviceClockTimer->start();
        PersettingJson::toDateBytes(dateTime, workingConfig.devDateTime);
    } else if (objName == ui.startTimeLE->objectName()) {
        ui.startTimeLE->setDateTime(dateTime);
        PersettingJson::toDateBytes(dateTime, workingConfig.perSetStartTime);
    } else {
        return;
    }
    markModified();
}

void DevSettingInfo::delSave()
{
    requestWrite(false);
}

void DevSettingInfo::requestWrite(bool leaving)
{
    if (awaitingCount)
        return;
    awaitingCount = true;
    writeWhileLeaving = leaving;
    emit toReadRecordCount();
}

void DevSettingInfo::delRecordCountResult(bool isSuccess, qint64 recordNum, int numofReport)
{
    if (!awaitingCount)
        return;
    awaitingCount = false;
    switch (SettingQuestions::askErase(this, isSuccess, recordNum, numofReport)) {
    case SettingQuestions::Erase::Write: {
        QString reason;
        if (askReason && !askReason(tr("写入设备配置"), &reason))
            break;
        lastWrite = {deviceConfig, workingConfig, deviceNote, noteText, recordNum > 0, reason};
        emit toWriteConfigToDev(workingConfig, noteText);
        // Only a write that was really sent may close the page when its result comes.
        closeAfterWrite = writeWhileLeaving;
        break;
    }
    case SettingQuestions::Erase::DownloadFirst:
        emit toDownloadFirst();
        break;
    case SettingQuestions::Erase::Cancel:
        break;
    }
}

void DevSettingInfo::delDevWriteReturnConfig(OneConfigCmdStruct config, QString wNote)
{
    qDebug() << "delDevWriteReturnConfig" << (closeAfterWrite ? "true" : "false");
    const QString difference = ConfigEchoCheck::firstDifference(workingConfig, config);
    if (!difference.isEmpty())
        qDebug().noquote() << difference;
    emit configWriteEnded(lastWrite, difference.isEmpty(), wNote == noteText);
    // What the logger holds now is what the next write changes.
    deviceConfig = config;
    deviceNote = wNote;
    if (difference.isEmpty() && wNote == noteText) {
        emit sendMessage(tr("配置成功"));
        emit toNoticeTbWidgetOnlyStartMode(workingConfig.startMode);
    } else {
        emit sendMessage(tr("配置失败"));
    }
    // The echo is the last answer of the write: the page is done with the logger.
    if (closeAfterWrite) {
        closeAfterWrite = false;
        emit closeThis();
    } else {
        markUnmodified();
    }
}

void DevSettingInfo::delSendSaveConfigOptSignal()
{
    // The modified state, not the Save button: an open preset panel disables the button
    // while the edits are still there.
    if (!modified) {
        emit closeThis();
        return;
    }
    switch (SettingQuestions::askLeave(this)) {
    case SettingQuestions::Leave::Save:
        requestWrite(true);
        break;
    case SettingQuestions::Leave::Discard:
        delNoSave();
        emit closeThis();
        break;
    case SettingQuestions::Leave::Stay:
        break;
    }
}

void DevSettingInfo::delNoSave()
{
    filling = true;
    ui.lineEdit->setText(deviceNote);
    fill(deviceConfig, connectDevType, false);
    filling = false;
    markUnmodified();
}

void DevSettingInfo::delUsingSettings(OneConfigCmdStruct config, QString note, int devType)
{
    if (devType != connectDevType) {
        emit sendMessage(tr("请加载%1预设配置!").arg(modelName(connectDevType)));
        persetBtn->setChecked(false);
        noSaveBtn->setEnabled(true);
        saveBtn->setEnabled(modified);
        return;
    }
    // A preset holds no start delay and no record interval: the page keeps its own.
    config.startDelayTime = workingConfig.startDelayTime;
    config.recordInterval = workingConfig.recordInterval;
    filling = true;
    ui.lineEdit->setText(note);
    fill(config, connectDevType, false);
    filling = false;
    emit sendMessage(tr("加载预设成功!"));
    persetBtn->setChecked(false);
    modified = true;
    saveBtn->setEnabled(true);
    noSaveBtn->setEnabled(true);
}

void DevSettingInfo::delCreatePersetConfig(QString configName, QString configPath)
{
    const QString folder = configDir();
    ensureFolder(folder);
    QDir().mkpath(folder);
    if (configPath.isEmpty()) {
        const PersettingJson preset =
            PersettingJson::fromConfig(workingConfig, noteText, configName, connectDevType);
        if (preset.writeNewFile(folder).isEmpty())
            return;
        emit presetSaved(configName);
    } else {
        const QString path = QDir(folder).filePath(configPath);
        PersettingJson before;
        const QString oldName =
            PersettingJson::readFile(path, &before) ? before.configName : configPath;
        if (!PersettingJson::renameFile(path, configName))
            return;
        emit presetRenamed(oldName, configName);
    }
    emit toUpdatePersetting();
}

void DevSettingInfo::delPersetShow(bool isChecked)
{
    presetWidget->setVisible(isChecked);
    if (isChecked)
        presetWidget->raise();
}

bool DevSettingInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == persetBtn && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (persetBtn->isChecked()) {
            saveBtn->setEnabled(modified);
            noSaveBtn->setEnabled(true);
        } else {
            saveBtn->setEnabled(false);
            noSaveBtn->setEnabled(false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DevSettingInfo::placeFloatingWidgets()
{
    const int right = width() - 1;
    persetBtn->move(right - 407, 20);
    saveBtn->move(right - 283, 20);
    noSaveBtn->move(right - 159, 20);
    presetWidget->move(right - 296 - presetWidget->width() + 1, 62);
}

void DevSettingInfo::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeFloatingWidgets();
}

void DevSettingInfo::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    deviceClockTimer->stop();
    systemClockTimer->stop();
    // A count that arrives after the page was left asks nothing.
    awaitingCount = false;
}

void DevSettingInfo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi();
        ui.applyLanguageWidths(isEnglish());
        retranslate();
        showScreenTimes();
    }
    QWidget::changeEvent(event);
}

void DevSettingInfo::showScreenTimes()
{
    for (int i = 0; i < ui.autoLightCB->count(); ++i)
        ui.autoLightCB->setItemText(i, tr("%1 秒").arg(ui.autoLightCB->itemData(i).toInt()));
}

void DevSettingInfo::retranslate()
{
    persetBtn->setText(tr("预设"));
    saveBtn->setText(tr("保存"));
    noSaveBtn->setText(tr("不保存"));
}
