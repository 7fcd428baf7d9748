// SPDX-License-Identifier: GPL-3.0-or-later
// DeviceSession: one connection to a logger, driven step by step through the device controller.
#include "cli/devicesession.h"

#include "cli/cliexit.h"
#include "cli/configjson.h"
#include "config/configechocheck.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "device/protocol.h"
#include "device/simplesendcmdunion.h"
#include "platform/loggerenumeration.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace
{
// Longer than the controller's own command timeout, so that normally reports first.
constexpr int guardMs = 8000;
} // namespace

DeviceSession::DeviceSession(QObject *parent) : QObject(parent), control(dataDir())
{
    connect(this, &DeviceSession::sendSimpleCmdSignal, &control, &UsbControl::addSendSimpleCmd);
    connect(&control, &UsbControl::initReadConfigState, this, [this](bool flag, int, bool) {
        touched();
        if (flag)
            finish(Step::Done);
        else
            finish(Step::TimedOut, QStringLiteral("the logger did not answer the initial read"));
    });
    connect(&control, &UsbControl::devStateSignal, this,
            [this](QString sn, bool isRecord, bool isAlert, int) {
                touched();
                snText = sn;
                recording = isRecord;
                alert = isAlert;
                finish(Step::Done);
            });
    connect(&control, &UsbControl::devConfigSignal, this, [this](OneConfigCmdStruct config, int) {
        touched();
        lastConfig = config;
    });
    connect(&control, &UsbControl::devReadNoteSignal, this, [this](QString note) {
        touched();
        noteText = note;
        finish(Step::Done);
    });
    connect(&control, &UsbControl::devWriteReturnConfig, this,
            [this](OneConfigCmdStruct config, QString note) {
                touched();
                lastConfig = config;
                noteText = note;
                finish(Step::Done);
            });
    connect(&control, &UsbControl::otherCmdErrTip, this, [this](int type, int) {
        finish(Step::TimedOut, type == NoteCmd
                                   ? QStringLiteral("the logger did not answer the note")
                                   : QStringLiteral("the logger did not answer the "
                                                    "configuration"));
    });
    connect(&control, &UsbControl::stopStartRecordResult, this, [this](bool isSuccess, bool) {
        touched();
        if (isSuccess)
            finish(Step::Done);
        else
            finish(Step::TimedOut, QStringLiteral("the logger did not answer start/stop"));
    });
    connect(&control, &UsbControl::startDataDownload, this, [this] { touched(); });
    connect(&control, &UsbControl::dataDownloadErr, this, [this](int errType) {
        errorCode = errType;
        finish(Step::Failed);
    });
    connect(&control, &UsbControl::stopDataDownload, this, [this](int errType) {
        errorCode = errType;
        finish(Step::Failed);
    });
    connect(&control, &UsbControl::recordCountResult, this,
            [this](bool isSuccess, qint64 recorded, int held) {
                touched();
                recordNum = recorded;
                numofReport = held;
                if (isSuccess)
                    finish(Step::Done);
                else
                    finish(Step::TimedOut,
                           QStringLiteral("the logger did not answer the record information"));
            });
    connect(&control, &UsbControl::closeDevSignal, this, [this] {
        finish(Step::TimedOut, QStringLiteral("the connection to the logger was lost"));
    });
}

DeviceSession::~DeviceSession()
{
    control.disconnectDevice();
}

void DeviceSession::touched()
{
    ++answers;
}

void DeviceSession::finish(Step result, const QString &text)
{
    if (step != Step::Running)
        return;
    step = result;
    error = text;
}

void DeviceSession::waitForStep(int guard)
{
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer quiet;
    int seen = answers;
    quiet.start();
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (answers != seen) {
            seen = answers;
            quiet.restart();
        }
        if (step != Step::Running)
            loop.quit();
        else if (quiet.elapsed() > guard)
            finish(Step::TimedOut, QStringLiteral("the logger stopped answering"));
    });
    poll.start(10);
    if (step == Step::Running)
        loop.exec();
}

int DeviceSession::stepResult(int failedCode)
{
    switch (step) {
    case Step::Done:
        return ExitOk;
    case Step::TimedOut:
        return ExitTimeout;
    case Step::Aborted:
        return ExitNoLogger;
    default:
        return failedCode;
    }
}

int DeviceSession::open(const QString &modelText, int index)
{
    const QStringList attached = listAttachedLoggers();
    if (attached.isEmpty()) {
        error = QStringLiteral("no logger is attached");
        return ExitNoLogger;
    }
    const QString name = modelText.isEmpty() ? attached.first() : modelText;
    const int model = modelFromName(name);
    if (model < 0 || index < 0 || index >= attached.count(name)) {
        error = QStringLiteral("no attached logger %1 with index %2").arg(name).arg(index);
        return ExitNoLogger;
    }
    if (!control.connectDevice(model, index)) {
        error = QStringLiteral("the logger %1 %2 could not be opened").arg(name).arg(index);
        return ExitOpenFailed;
    }
    connectedModel = model;
    step = Step::Running;
    emit sendSimpleCmdSignal(makeSimpleCmd(InitialReadCmd));
    waitForStep(guardMs);
    if (step != Step::Done)
        return stepResult(ExitTimeout);
    step = Step::Running;
    emit sendSimpleCmdSignal(makeSimpleCmd(CheckCmd));
    waitForStep(guardMs);
    return stepResult(ExitTimeout);
}

int DeviceSession::readConfigAndNote()
{
    step = Step::Running;
    emit sendSimpleCmdSignal(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    emit sendSimpleCmdSignal(makeSimpleCmd(NoteCmd, 0, ReadOpt));
    waitForStep(guardMs);
    return stepResult(ExitTimeout);
}

int DeviceSession::readRecordCount()
{
    step = Step::Running;
    emit sendSimpleCmdSignal(makeSimpleCmd(RecordInfoCmd, recordCountQuery));
    waitForStep(guardMs);
    return stepResult(ExitTimeout);
}

int DeviceSession::writeConfigAndNote(const OneConfigCmdStruct &config, const QString &note)
{
    step = Step::Running;
    emit sendSimpleCmdSignal(makeConfigWriteCmd(config));
    emit sendSimpleCmdSignal(makeNoteWriteCmd(encodeNote(note)));
    waitForStep(guardMs);
    if (step != Step::Done)
        return stepResult(ExitTimeout);
    const QString difference = ConfigEchoCheck::firstDifference(config, lastConfig);
    if (!difference.isEmpty()) {
        error =
            QStringLiteral("the logger's echo differs from what was written (%1)").arg(difference);
        return ExitNotVerified;
    }
    if (noteText != note) {
        error = QStringLiteral("the logger's echo of the note differs from what was written");
        return ExitNotVerified;
    }
    return ExitOk;
}

int DeviceSession::startStop(bool start)
{
    step = Step::Running;
    emit sendSimpleCmdSignal(makeSimpleCmd(StartStopCmd, start ? 1 : 0, WriteOpt));
    waitForStep(guardMs);
    return stepResult(ExitTimeout);
}

int DeviceSession::download(const std::function<void(int, int)> &progress)
{
    const auto connection = connect(&control, &UsbControl::dataDownloadProgress, this,
                                    [this, &progress](int cur, int total) {
                                        touched();
                                        progress(cur, total);
                                        if (cur >= total)
                                            finish(Step::Done);
                                    });
    step = Step::Running;
    errorCode = 0;
    filePath.clear();
    downloading = true;
    emit sendSimpleCmdSignal(makeSimpleCmd(RecordInfoCmd));
    waitForStep(guardMs);
    downloading = false;
    disconnect(connection);
    if (step == Step::Done)
        filePath = control.savedFilePath();
    if (step == Step::Failed) {
        switch (errorCode) {
        case DownloadNoRecords:
            error = QStringLiteral("the logger holds no records");
            return ExitNoRecords;
        case DownloadFileError:
            error = QStringLiteral("the recording file could not be created in %1")
                        .arg(control.recordingsFolder());
            return ExitCannotWrite;
        case DownloadNotSaved:
            error = QStringLiteral("the recording could not be stored in %1 (a full disk?); "
                                   "the partial file was removed")
                        .arg(control.recordingsFolder());
            return ExitCannotWrite;
        default:
            error = QStringLiteral("a download step got no answer");
            return ExitTimeout;
        }
    }
    return stepResult(ExitTimeout);
}

void DeviceSession::abort(const QString &reason)
{
    if (step != Step::Running)
        return;
    // A download's cancel deletes its file; the other steps have none. A finished
    // download is no longer Running, so its complete file is never cancelled.
    if (downloading)
        control.cancelDownload();
    finish(Step::Aborted, reason);
}
