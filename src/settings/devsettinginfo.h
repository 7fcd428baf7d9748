// SPDX-License-Identifier: GPL-3.0-or-later
// DevSettingInfo: the device settings page that edits, writes and verifies the logger's
// configuration.
#pragma once

#include "device/oneconfigcmdstruct.h"
#include "settings/devsettingui.h"

#include <QDateTime>
#include <QWidget>
#include <functional>

class AlarmSection;
class SettingFormMapper;
class DateTimeDialog;
class PresetWidget;
class QPushButton;
class QTimer;

// A configuration write the page sent: what the logger held when the page was
// filled, what was written, whether the logger held records it erased, and
// the user's reason (null when none was asked).
struct ConfigWrite {
    OneConfigCmdStruct before{};
    OneConfigCmdStruct after{};
    QString noteBefore;
    QString noteAfter;
    bool erasedRecording = false;
    QString reason;
};

class DevSettingInfo : public QWidget
{
    Q_OBJECT
public:
    explicit DevSettingInfo(QWidget *parent = nullptr);

    const DevSettingUi &form() const { return ui; }
    OneConfigCmdStruct workingRecord() const { return workingConfig; }
    QString workingNote() const { return noteText; }
    int connectedModel() const { return connectDevType; }
    bool isModified() const { return modified; }
    QDateTime deviceClock() const { return devClock; }
    QDateTime systemClock() const { return sysClock; }
    QPushButton *presetButton() const { return persetBtn; }
    QPushButton *saveButton() const { return saveBtn; }
    QPushButton *noSaveButton() const { return noSaveBtn; }
    PresetWidget *presetPanel() const { return presetWidget; }
    DateTimeDialog *dateTimeDialog() const { return dateTimeDlg; }
    AlarmSection *alarmSection() const { return alarms; }

    // The text a note edit keeps: `text` itself, or its end that fits in 100
    // GBK bytes, cut between characters.
    static QString cutNote(const QString &text);

    // Asked before a write is sent, with the text naming the action: false
    // cancels the write; the reason it gives goes with the write.
    using ReasonAsker = std::function<bool(const QString &action, QString *reason)>;
    void setReasonAsker(const ReasonAsker &asker) { askReason = asker; }
    // The last write sent.
    const ConfigWrite &sentWrite() const { return lastWrite; }

signals:
    void toUpdatePersetting();
    void toWriteConfigToDev(OneConfigCmdStruct config, QString note);
    void sendMessage(QString msg);
    void toNoticeTbWidgetOnlyStartMode(int startMode);
    void closeThis();
    // Before the erase warning: how many records does the logger hold? Answered with
    // delRecordCountResult.
    void toReadRecordCount();
    // The user chose to download the logger's recording before writing; the page stays
    // open with its edits.
    void toDownloadFirst();
    // The logger echoed the write: whether it holds the configuration and the note sent.
    void configWriteEnded(const ConfigWrite &write, bool configWritten, bool noteWritten);
    void presetSaved(const QString &name);
    void presetRenamed(const QString &oldName, const QString &newName);
    void presetDeleted(const QString &name);

public slots:
    void delDevConfigSignal(OneConfigCmdStruct config, int connectDevType);
    void delDevReadNoteSignal(QString note);
    void delDevStateSignal(QString sn, bool isRecord, bool isAlert);
    void delDevWriteReturnConfig(OneConfigCmdStruct config, QString wNote);
    void delShowDateTimeSet(QString objName, QDateTime dateTime);
    void delPersetShow(bool isChecked);
    void delUpdateRecordInterval(int time);
    void delUpdateTh3Delay(int time);
    void delUpdateTh2Delay(int time);
    void delUpdateTh1Delay(int time);
    void delUpdateTl1Delay(int time);
    void delUpdateTl2Delay(int time);
    void delUpdateTl3Delay(int time);
    void delUpdateHhDelay(int time);
    void delUpdateHlDelay(int time);
    void delCreatePersetConfig(QString configName, QString configPath);
    void delUsingSettings(OneConfigCmdStruct config, QString note, int devType);
    void delNoSave();
    void delSave();
    void delSendSaveConfigOptSignal();
    // The logger's answer to toReadRecordCount (false with zeros when it gave none): asks
    // the erase warning and writes, downloads first or does nothing, as the user answers.
    void delRecordCountResult(bool isSuccess, qint64 recordNum, int numofReport);

private slots:
    void on_th3SpinBox_editingFinished();
    void on_th2SpinBox_editingFinished();
    void on_th1SpinBox_editingFinished();
    void on_tl1SpinBox_editingFinished();
    void on_tl2SpinBox_editingFinished();
    void on_tl3SpinBox_editingFinished();
    void on_hhSpinBox_editingFinished();
    void on_hlSpinBox_editingFinished();
    void on_lineEdit_textChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void connectControls();
    void createFloatingButtons();
    // Shows `source` in the controls and takes it into the working record;
    // `fromDevice` also sets the version label and both clocks.
    void fill(const OneConfigCmdStruct &source, int model, bool fromDevice);
    void markModified();
    // Loaded, reverted or written: nothing left to save.
    void markUnmodified();
    // Asks the logger for its record count, which the erase warning names; `leaving`: the
    // page closes once the write's result is in.
    void requestWrite(bool leaving);
    void showScreenTimes();
    void delPickedDateTime(const QString &objName, const QDateTime &dateTime);
    // The picker for the line edit `objName` went: the edit gives up its focus.
    void pickerClosed(const QString &objName);
    void tickDeviceClock();
    void tickSystemClock();
    void placeFloatingWidgets();
    void retranslate();

    DevSettingUi ui;
    OneConfigCmdStruct deviceConfig{};
    OneConfigCmdStruct workingConfig{};
    QString deviceNote;
    QString noteText;
    int connectDevType = -1;
    QDateTime devClock;
    QDateTime sysClock;
    QTimer *deviceClockTimer = nullptr;
    QTimer *systemClockTimer = nullptr;
    bool filling = false;
    bool modified = false;
    bool closeAfterWrite = false;
    // A write waits for the record count; whether it was asked for while leaving.
    bool awaitingCount = false;
    bool writeWhileLeaving = false;
    ReasonAsker askReason;
    ConfigWrite lastWrite;
    AlarmSection *alarms = nullptr;
    SettingFormMapper *mapper = nullptr;
    DateTimeDialog *dateTimeDlg = nullptr;
    PresetWidget *presetWidget = nullptr;
    QPushButton *persetBtn = nullptr;
    QPushButton *saveBtn = nullptr;
    QPushButton *noSaveBtn = nullptr;
};
