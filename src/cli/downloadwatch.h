// SPDX-License-Identifier: GPL-3.0-or-later
// DownloadWatch: `hygra-cli watch`, downloading every logger that is plugged in, one after another.
#pragma once

#include "cli/auditrecorder.h"
#include "cli/watchoutcome.h"
#include "device/loggersession.h"
#include "platform/loggerenumeration.h"
#include "platform/loggerwatcher.h"

#include <QHash>
#include <QObject>
#include <QTextStream>
#include <QVector>
#include <optional>

// Serves the loggers attached at start and every one plugged in later, one at a
// time in the order they appeared: connect, read configuration and note,
// download into a new file, write the asked-for report, spreadsheet and
// workbook beside it, print one WatchOutcome line. A logger is recognised by
// its place on the bus while it stays plugged in and by its serial number, so
// it is served once per plugging in whatever the outcome; pulled out, it drops
// out of the queue, or its download in progress is abandoned, and the next one
// is served.
class DownloadWatch : public QObject
{
    Q_OBJECT
public:
    struct Options {
        // Where the recordings go; empty: they stay in the recordings folder.
        QString dir;
        bool pdf = false;
        bool csv = false;
        bool xlsx = false;
        // Stop a recording logger and download it, instead of skipping it.
        bool stopRecording = false;
        // Serve the loggers attached at start only, then finish.
        bool once = false;
        // The archive every new file is added to; empty: the settings file's.
        QString archiveUrl;
    };

    // Outcome lines go to `out`, progress to `err`.
    DownloadWatch(const Options &options, QTextStream &out, QTextStream &err,
                  QObject *parent = nullptr);

    // Queues the loggers attached now and begins serving them from the event loop.
    void start();
    // start(), then runs the program's event loop until the watch finishes.
    void run();
    bool isFinished() const { return done; }
    // Whether a report, spreadsheet or workbook asked for could not be written.
    bool hadWriteFailure() const { return writeFailed; }

public slots:
    // Ends the watch: a download in progress is abandoned and its partial file
    // deleted, nothing more is written, and the watch finishes.
    void stop();

signals:
    void finished();

private:
    // Brings the queue up to date with the device list: loggers that appeared
    // join it, those that left are dropped and forgotten, the one being served
    // is abandoned when it left.
    void rescan();
    void scheduleServing();
    // Serves the next logger of the queue; each step goes on in the callback
    // of the request before it.
    void serveNext();
    void opened(const LoggerResult<LoggerIdentity> &result);
    void download();
    void downloaded(const LoggerResult<DownloadedRecording> &result);
    void writeReports(const LoadedRecording &recording);
    // `entry` about the logger being served.
    AuditEntry serialEntry(AuditEntry entry) const;
    // Ends serving the current logger; prints its outcome unless `print` is false.
    void endServing(bool print = true);
    // Why a request ended with `error`, in the watch's words when it was the
    // watch that ended it.
    QString failure(LoggerError error, const QString &request,
                    const QString &whileDoing = QString()) const;
    bool isAttached(const AttachedLogger &logger) const;
    void progress(const QString &text);
    void finish();

    const Options options;
    QTextStream &out;
    QTextStream &err;
    LoggerWatcher watcher;
    QVector<AttachedLogger> attached;
    QVector<AttachedLogger> queue;
    // Serial numbers of the loggers served since they were plugged in.
    QHash<QString, AttachedLogger> served;
    std::optional<AttachedLogger> current;
    WatchOutcome outcome;
    LoggerSession session;
    AuditRecorder audit;
    bool serving = false;
    bool servingScheduled = false;
    bool stopping = false;
    bool done = false;
    bool writeFailed = false;
};
