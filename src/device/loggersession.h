// SPDX-License-Identifier: GPL-3.0-or-later
// LoggerSession: the logger API every client uses, asynchronous requests with typed results.
#pragma once

#include "core/attachedlogger.h"
#include "device/oneconfigcmdstruct.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "recording/loadedrecording.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Why a request gave no result.
enum class LoggerError {
    None,
    // The logger could not be opened (gone, or the system refuses access).
    OpenFailed,
    // The logger stopped answering, or never answered this request.
    NoAnswer,
    // The connection was lost (unplugged, or heartbeats failed and it could not be reopened).
    ConnectionLost,
    NoRecords,
    // The recording file could not be created in the folder the caller chose.
    CannotCreateFile,
    // A block could not be stored in the recording file (a full disk); the file was removed.
    CannotStore,
    // The caller ended the request (cancel()); a download's file was removed.
    Cancelled,
    // Another request of this session is still waiting for its result.
    Busy,
    // No logger is open.
    NotOpen,
};

// "the logger did not answer the note", … for a failed `request`, in English
// (the command line's words, and the audit trail's whatever the window's language).
QString loggerErrorText(LoggerError error, const QString &request);

template <class T> struct LoggerResult {
    LoggerError error = LoggerError::None;
    T value{};
    bool ok() const { return error == LoggerError::None; }
};

// What a logger says about itself once it is open.
struct LoggerIdentity {
    AttachedLogger logger;
    QString sn;
    // The name the logger holds in its configuration.
    QString name;
    bool isRecord = false;
    bool isAlert = false;
    // From the initial read: how the recording starts and whether a key restarts it.
    int startMode = 0;
    bool restartAllowed = false;
};

struct LoggerSettings {
    OneConfigCmdStruct config{};
    QString note;
};

// A download that completed: the file under its final name, its bytes (the
// SHA-256 was taken while they were written) and the recording read from them.
struct DownloadedRecording {
    QString path;
    QByteArray bytes;
    LoadedRecording recording;
};

struct Done {
};

// One open logger, driven through the device controller it owns. Every
// request reports exactly once through its callback, always from the event
// loop (never from inside the call that made it), so a callback may make the
// next request. One request at a time: a second one while another waits gets
// Busy. The controller's own two-second timeouts end a request; a guard ends
// one whose logger goes silent altogether.
class LoggerSession : public QObject
{
    Q_OBJECT
public:
    template <class T> using Callback = std::function<void(const LoggerResult<T> &)>;

    explicit LoggerSession(QObject *parent = nullptr);
    ~LoggerSession() override;

    // The controller under the session, whose signals the window's pages listen to.
    UsbControl *controller() { return &control; }
    bool isOpen() const { return opened; }
    // Valid after open() succeeded.
    const LoggerIdentity &identity() const { return known; }
    // Whether a request waits for its result.
    bool isBusy() const { return pending != Kind::None; }

    // Opens exactly `logger`, runs the initial read of configuration and note
    // and asks for the identification (serial number, recording and alarm state).
    void open(const AttachedLogger &logger, Callback<LoggerIdentity> done);
    // Closes the logger; a request waiting ends as Cancelled.
    void close();

    void readSettings(Callback<LoggerSettings> done);
    // Writes the configuration and the note; the result is the logger's echo of both.
    void writeSettings(const OneConfigCmdStruct &config, const QString &note,
                       Callback<LoggerSettings> done);
    void startStop(bool start, Callback<Done> done);
    void factoryReset(Callback<Done> done);
    void setLanguage(bool english, Callback<Done> done);
    void readRecordCount(Callback<RecordCounts> done);
    // Downloads the recording into a new file in `folder`, the caller's choice;
    // `progress` hears of every block written, from the event loop, before the result.
    void download(const QString &folder, std::function<void(int cur, int total)> progress,
                  Callback<DownloadedRecording> done);
    // Ends the request waiting with `why` (Cancelled or ConnectionLost); a
    // download's file, partial or complete, is deleted.
    void cancel(LoggerError why = LoggerError::Cancelled);

signals:
    // The connection was lost outside any request (unplugged between two, or
    // heartbeats failed and the logger could not be reopened).
    void lost();

private:
    enum class Kind { None, Open, Identify, Read, Write, StartStop, Reset, Language, Count, Download };

    // Starts a request: false (Busy or NotOpen reported through `done`) when it cannot.
    template <class T>
    bool begin(Kind kind, Callback<T> &slot, const Callback<T> &done, bool needsOpen = true);
    // Ends the waiting request with `error`, through the event loop.
    void fail(LoggerError error);
    // Ends the waiting request, whose callback is `slot`, with `value`.
    template <class T> void succeed(Callback<T> &slot, const T &value);
    void send(const SimpleSendCmdUnion &cmd);
    void touched();
    void connectController();
    void finishDownload();
    void failDownload(int errType);

    UsbControl control;
    Kind pending = Kind::None;
    // Reports a failure to the waiting request's typed callback, one of those below.
    std::function<void(LoggerError)> failPending;
    Callback<LoggerIdentity> identityDone;
    Callback<LoggerSettings> settingsDone;
    Callback<Done> doneDone;
    Callback<RecordCounts> countDone;
    Callback<DownloadedRecording> downloadDone;
    std::function<void(int, int)> downloadProgress;
    QTimer guard;
    bool opened = false;
    LoggerIdentity known;
    LoggerSettings lastSettings;
};
