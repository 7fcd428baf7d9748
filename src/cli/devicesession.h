// SPDX-License-Identifier: GPL-3.0-or-later
// DeviceSession: one connection to a logger, driven step by step through the device controller.
#pragma once

#include "device/oneconfigcmdstruct.h"
#include "device/usbcontrol.h"

#include <QObject>
#include <QString>
#include <functional>

// Each step queues the commands the application queues for the same purpose
// and waits in a local event loop until the controller reports a result; the
// controller's own two-second command timeouts end a step, with a guard for a
// logger that goes silent altogether. Steps return a CliExit code and leave
// the reason in errorText().
class DeviceSession : public QObject
{
    Q_OBJECT
public:
    explicit DeviceSession(QObject *parent = nullptr);
    ~DeviceSession() override;

    // Picks the index-th attached logger of `model` (any model when empty),
    // connects, runs the initial read of configuration and note and asks for
    // the identification (serial number, recording and alarm state).
    int open(const QString &model, int index);
    // Reads the configuration and the note as the settings page does.
    int readConfigAndNote();
    // Asks the logger for its record counts alone (no download): recordCount()
    // and heldCount() below.
    int readRecordCount();
    // Writes `config` and `note` and compares the echo with what was sent.
    int writeConfigAndNote(const OneConfigCmdStruct &config, const QString &note);
    int startStop(bool start);
    // Downloads the recording into a new file in the recordings folder;
    // `progress` is told about every block written.
    int download(const std::function<void(int cur, int total)> &progress);
    // Ends the step in progress at once, as when the logger is pulled out or the
    // program is told to stop: a download's partial file is deleted. The step
    // returns ExitNoLogger with `reason` as errorText(); between steps nothing happens.
    void abort(const QString &reason);

    QString errorText() const { return error; }
    int model() const { return connectedModel; }
    QString sn() const { return snText; }
    bool isRecord() const { return recording; }
    bool isAlert() const { return alert; }
    OneConfigCmdStruct config() const { return lastConfig; }
    QString note() const { return noteText; }
    QString downloadedFile() const { return filePath; }
    // Samples recorded since the recording started, overwritten ones included.
    qint64 recordCount() const { return recordNum; }
    // Samples the logger's memory holds.
    int heldCount() const { return numofReport; }

signals:
    void sendSimpleCmdSignal(SimpleSendCmdUnion cmd);

private:
    enum class Step { Idle, Running, Done, Failed, TimedOut, Aborted };

    // Runs the event loop until the step leaves Running, or `guardMs` pass
    // without any answer.
    void waitForStep(int guardMs);
    int stepResult(int failedCode);
    void finish(Step result, const QString &text = QString());
    void touched();

    UsbControl control;
    Step step = Step::Idle;
    int answers = 0;
    QString error;
    int connectedModel = -1;
    QString snText;
    bool recording = false;
    bool alert = false;
    OneConfigCmdStruct lastConfig{};
    QString noteText;
    QString filePath;
    qint64 recordNum = 0;
    int numofReport = 0;
    int errorCode = 0;
    bool downloading = false;
};
