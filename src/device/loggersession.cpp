// SPDX-License-Identifier: GPL-3.0-or-later
// LoggerSession: requests queued to the controller, its answers turned into typed results.
#include "device/loggersession.h"

#include "device/devicetext.h"
#include "device/simplesendcmdunion.h"
#include "recording/recordingreader.h"

namespace
{
// Longer than the controller's own command timeout, so that normally reports first.
constexpr int guardMs = 8000;

template <class T> void deliver(QObject *context, const std::function<void(const T &)> &f, T value)
{
    if (f)
        QMetaObject::invokeMethod(
            context, [f, value] { f(value); }, Qt::QueuedConnection);
}
} // namespace

LoggerSession::LoggerSession(QObject *parent) : QObject(parent), control(QString())
{
    guard.setSingleShot(true);
    guard.setInterval(guardMs);
    connect(&guard, &QTimer::timeout, this, [this] {
        if (pending == Kind::Download)
            control.cancelDownload();
        fail(LoggerError::NoAnswer);
    });
    connectController();
}

LoggerSession::~LoggerSession()
{
    control.disconnectDevice();
}

template <class T>
bool LoggerSession::begin(Kind kind, Callback<T> &slot, const Callback<T> &done, bool needsOpen)
{
    LoggerError refused = LoggerError::None;
    if (pending != Kind::None)
        refused = LoggerError::Busy;
    else if (needsOpen && !opened)
        refused = LoggerError::NotOpen;
    if (refused != LoggerError::None) {
        LoggerResult<T> result;
        result.error = refused;
        deliver(this, done, result);
        return false;
    }
    pending = kind;
    slot = done;
    failPending = [this, &slot](LoggerError error) {
        LoggerResult<T> result;
        result.error = error;
        deliver(this, slot, result);
        slot = nullptr;
    };
    guard.start();
    return true;
}

template <class T> void LoggerSession::succeed(Callback<T> &slot, const T &value)
{
    pending = Kind::None;
    guard.stop();
    failPending = nullptr;
    LoggerResult<T> result;
    result.value = value;
    deliver(this, slot, result);
    slot = nullptr;
}

void LoggerSession::fail(LoggerError error)
{
    if (pending == Kind::None)
        return;
    pending = Kind::None;
    guard.stop();
    const auto report = std::move(failPending);
    failPending = nullptr;
    report(error);
}

void LoggerSession::touched()
{
    if (pending != Kind::None)
        guard.start();
}

void LoggerSession::send(const SimpleSendCmdUnion &cmd)
{
    control.addSendSimpleCmd(cmd);
}

void LoggerSession::open(const AttachedLogger &logger, Callback<LoggerIdentity> done)
{
    if (opened && pending == Kind::None)
        close();
    if (!begin(Kind::Open, identityDone, done, false))
        return;
    known = LoggerIdentity();
    known.logger = logger;
    if (!control.connectDevice(logger)) {
        control.disconnectDevice();
        fail(LoggerError::OpenFailed);
        return;
    }
    send(makeSimpleCmd(InitialReadCmd));
}

void LoggerSession::close()
{
    fail(LoggerError::Cancelled);
    control.disconnectDevice();
    opened = false;
}

void LoggerSession::readSettings(Callback<LoggerSettings> done)
{
    if (!begin(Kind::Read, settingsDone, done))
        return;
    send(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    send(makeSimpleCmd(NoteCmd, 0, ReadOpt));
}

void LoggerSession::writeSettings(const OneConfigCmdStruct &config, const QString &note,
                                  Callback<LoggerSettings> done)
{
    if (!begin(Kind::Write, settingsDone, done))
        return;
    send(makeConfigWriteCmd(config));
    send(makeNoteWriteCmd(encodeNote(note)));
}

void LoggerSession::startStop(bool start, Callback<Done> done)
{
    if (begin(Kind::StartStop, doneDone, done))
        send(makeSimpleCmd(StartStopCmd, start ? 1 : 0, WriteOpt));
}

void LoggerSession::factoryReset(Callback<Done> done)
{
    if (begin(Kind::Reset, doneDone, done))
        send(makeSimpleCmd(ResetCmd));
}

void LoggerSession::setLanguage(bool english, Callback<Done> done)
{
    if (begin(Kind::Language, doneDone, done))
        send(makeSimpleCmd(LanguageCmd, english ? 1 : 0, WriteOpt));
}

void LoggerSession::readRecordCount(Callback<RecordCounts> done)
{
    if (begin(Kind::Count, countDone, done))
        send(makeSimpleCmd(RecordCountCmd));
}

void LoggerSession::download(const QString &folder, std::function<void(int, int)> progress,
                             Callback<DownloadedRecording> done)
{
    if (!begin(Kind::Download, downloadDone, done))
        return;
    downloadProgress = std::move(progress);
    control.setRecordingsFolder(folder);
    send(makeSimpleCmd(RecordInfoCmd));
}

void LoggerSession::cancel(LoggerError why)
{
    if (pending == Kind::Download)
        control.cancelDownload();
    fail(why);
}

void LoggerSession::finishDownload()
{
    DownloadedRecording result;
    result.path = control.savedFilePath();
    result.bytes = control.savedBytes();
    result.recording = RecordingReader::readBytes(result.bytes);
    result.recording.sha256 = control.savedFingerprint();
    downloadProgress = nullptr;
    succeed(downloadDone, result);
}

void LoggerSession::failDownload(int errType)
{
    if (pending != Kind::Download)
        return;
    downloadProgress = nullptr;
    switch (errType) {
    case DownloadNoRecords:
        fail(LoggerError::NoRecords);
        return;
    case DownloadFileError:
        fail(LoggerError::CannotCreateFile);
        return;
    case DownloadNotSaved:
        fail(LoggerError::CannotStore);
        return;
    default:
        fail(LoggerError::NoAnswer);
        return;
    }
}

void LoggerSession::connectController()
{
    connect(&control, &UsbControl::initReadConfigState, this,
            [this](bool flag, int startMode, bool restart) {
                if (pending != Kind::Open)
                    return;
                if (!flag) {
                    control.disconnectDevice();
                    fail(LoggerError::NoAnswer);
                    return;
                }
                known.startMode = startMode;
                known.restartAllowed = restart;
                pending = Kind::Identify;
                touched();
                // Behind what the other listeners of the read queue in answer to it
                // (the window sets the logger's language first).
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (pending == Kind::Identify)
                            send(makeSimpleCmd(CheckCmd));
                    },
                    Qt::QueuedConnection);
            });
    connect(&control, &UsbControl::devStateSignal, this,
            [this](const QString &sn, bool isRecord, bool isAlert, int) {
                known.sn = sn;
                known.isRecord = isRecord;
                known.isAlert = isAlert;
                if (pending != Kind::Identify)
                    return;
                known.name = deviceName(control.lastReadConfig());
                opened = true;
                succeed(identityDone, known);
            });
    connect(&control, &UsbControl::devConfigSignal, this, [this](OneConfigCmdStruct config, int) {
        lastSettings.config = config;
        touched();
    });
    connect(&control, &UsbControl::devReadNoteSignal, this, [this](const QString &note) {
        lastSettings.note = note;
        if (pending == Kind::Read)
            succeed(settingsDone, lastSettings);
    });
    connect(&control, &UsbControl::devWriteReturnConfig, this,
            [this](OneConfigCmdStruct config, const QString &note) {
                lastSettings = {config, note};
                if (pending == Kind::Write)
                    succeed(settingsDone, lastSettings);
            });
    connect(&control, &UsbControl::otherCmdErrTip, this, [this] {
        if (pending == Kind::Read || pending == Kind::Write)
            fail(LoggerError::NoAnswer);
    });
    const auto finished = [this](Kind kind, bool isSuccess) {
        if (pending != kind)
            return;
        if (isSuccess)
            succeed(doneDone, Done());
        else
            fail(LoggerError::NoAnswer);
    };
    connect(&control, &UsbControl::stopStartRecordResult, this,
            [finished](bool isSuccess) { finished(Kind::StartStop, isSuccess); });
    connect(&control, &UsbControl::resetCmdResult, this,
            [finished](bool isSuccess) { finished(Kind::Reset, isSuccess); });
    connect(&control, &UsbControl::setLangueResult, this,
            [finished](bool isSuccess) { finished(Kind::Language, isSuccess); });
    connect(&control, &UsbControl::recordCountResult, this,
            [this](bool isSuccess, qint64 recorded, int held) {
                if (pending != Kind::Count)
                    return;
                if (isSuccess)
                    succeed(countDone, RecordCounts{recorded, held});
                else
                    fail(LoggerError::NoAnswer);
            });
    connect(&control, &UsbControl::startDataDownload, this, [this] { touched(); });
    connect(&control, &UsbControl::dataDownloadProgress, this, [this](int cur, int total) {
        if (pending != Kind::Download)
            return;
        touched();
        // From the event loop, like every result: the callback may cancel.
        if (downloadProgress) {
            const auto progress = downloadProgress;
            QMetaObject::invokeMethod(
                this, [progress, cur, total] { progress(cur, total); }, Qt::QueuedConnection);
        }
        if (cur >= total)
            finishDownload();
    });
    connect(&control, &UsbControl::dataDownloadErr, this, &LoggerSession::failDownload);
    connect(&control, &UsbControl::stopDataDownload, this, &LoggerSession::failDownload);
    connect(&control, &UsbControl::closeDevSignal, this, [this] {
        opened = false;
        if (pending != Kind::None)
            fail(LoggerError::ConnectionLost);
        else
            emit lost();
    });
}

QString loggerErrorText(LoggerError error, const QString &request)
{
    switch (error) {
    case LoggerError::None:
        return QString();
    case LoggerError::OpenFailed:
        return QStringLiteral("the logger could not be opened");
    case LoggerError::NoAnswer:
        return QStringLiteral("the logger did not answer %1").arg(request);
    case LoggerError::ConnectionLost:
        return QStringLiteral("the connection to the logger was lost");
    case LoggerError::NoRecords:
        return QStringLiteral("the logger holds no records");
    case LoggerError::CannotCreateFile:
        return QStringLiteral("the recording file could not be created");
    case LoggerError::CannotStore:
        return QStringLiteral("the recording could not be stored (a full disk?); "
                              "the partial file was removed");
    case LoggerError::Cancelled:
        return QStringLiteral("%1 was cancelled").arg(request);
    case LoggerError::Busy:
        return QStringLiteral("the logger is busy with another request");
    case LoggerError::NotOpen:
        return QStringLiteral("no logger is open");
    }
    return QString();
}
