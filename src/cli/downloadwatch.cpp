// SPDX-License-Identifier: GPL-3.0-or-later
// DownloadWatch: `hygra-cli watch`, downloading every logger that is plugged in, one after another.
#include "cli/downloadwatch.h"

#include "cli/archivecommands.h"
#include "cli/clioutput.h"
#include "cli/loggerrun.h"
#include "core/lgxdevtype.h"
#include "core/newfile.h"
#include "core/settinginfo.h"
#include "export/pdfreport.h"
#include "export/reportfirstpage.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "recording/recordingaudit.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace
{
const QString unpluggedText = QStringLiteral("the logger was unplugged");
const QString stoppedText = QStringLiteral("the watch was stopped");

QString nameOf(const AttachedLogger &logger)
{
    return QStringLiteral("%1 at bus %2 address %3")
        .arg(modelName(logger.model))
        .arg(logger.bus)
        .arg(logger.address);
}
} // namespace

DownloadWatch::DownloadWatch(const Options &options, QTextStream &out, QTextStream &err,
                             QObject *parent)
    : QObject(parent), options(options), out(out), err(err), audit(err)
{
    audit.setArchiveUrl(options.archiveUrl);
    // The watcher's notices only say that something changed; the device list
    // tells which logger, which an index taken at the notice may no longer do
    // by the time the logger's turn comes.
    connect(&watcher, &LoggerWatcher::loggerArrived, this, &DownloadWatch::rescan);
    connect(&watcher, &LoggerWatcher::loggerRemoved, this, &DownloadWatch::rescan);
}

void DownloadWatch::start()
{
    attached = listAttachedLoggerDevices();
    queue = attached;
    if (options.once && queue.isEmpty())
        progress(QStringLiteral("no logger is attached"));
    else if (!options.once)
        progress(QStringLiteral("waiting for loggers; Ctrl+C ends the watch"));
    scheduleServing();
}

void DownloadWatch::run()
{
    runEventLoop([this](const std::function<void(int)> &end) {
        connect(this, &DownloadWatch::finished, this, [end] { end(0); });
        start();
        if (done)
            end(0);
    });
}

void DownloadWatch::stop()
{
    if (done)
        return;
    stopping = true;
    if (serving)
        session.cancel();
    else
        finish();
}

void DownloadWatch::finish()
{
    if (done)
        return;
    done = true;
    emit finished();
}

void DownloadWatch::rescan()
{
    const QVector<AttachedLogger> now = listAttachedLoggerDevices();
    for (const AttachedLogger &logger : now) {
        if (!attached.contains(logger) && !options.once)
            queue.append(logger);
    }
    for (const AttachedLogger &gone : qAsConst(attached)) {
        if (now.contains(gone))
            continue;
        queue.removeAll(gone);
        for (auto it = served.begin(); it != served.end();)
            it = it.value() == gone ? served.erase(it) : std::next(it);
        if (serving && current == gone)
            session.cancel(LoggerError::ConnectionLost);
    }
    attached = now;
    scheduleServing();
}

void DownloadWatch::scheduleServing()
{
    if (serving || servingScheduled || done)
        return;
    servingScheduled = true;
    // From the event loop, so that a notice never runs a whole download inside
    // the slot that received it.
    QTimer::singleShot(0, this, &DownloadWatch::serveNext);
}

void DownloadWatch::serveNext()
{
    servingScheduled = false;
    if (serving || done)
        return;
    // The queue grows while a logger is served: a later arrival waits its turn.
    while (!queue.isEmpty() && !isAttached(queue.first()))
        queue.removeFirst();
    if (queue.isEmpty() || stopping) {
        if (stopping || options.once)
            finish();
        return;
    }
    serving = true;
    current = queue.takeFirst();
    outcome = WatchOutcome();
    outcome.model = current->model;
    progress(nameOf(*current) + QStringLiteral(": connecting"));
    session.open(*current, [this](const LoggerResult<LoggerIdentity> &r) { opened(r); });
}

void DownloadWatch::opened(const LoggerResult<LoggerIdentity> &result)
{
    if (!result.ok()) {
        outcome.error = failure(result.error, QStringLiteral("the initial read"));
        endServing();
        return;
    }
    outcome.serial = result.value.sn;
    if (!outcome.serial.isEmpty() && served.contains(outcome.serial)) {
        progress(outcome.serial + QStringLiteral(": served already since it was plugged in; "
                                                 "unplug it and plug it in to download it again"));
        endServing(false);
        return;
    }
    if (!outcome.serial.isEmpty())
        served.insert(outcome.serial, *current);
    if (stopping) {
        outcome.error = stoppedText;
        endServing();
        return;
    }
    if (!result.value.isRecord) {
        download();
        return;
    }
    if (!options.stopRecording) {
        outcome.skipped = QStringLiteral("recording");
        endServing();
        return;
    }
    progress(outcome.serial + QStringLiteral(": stopping the recording"));
    session.startStop(false, [this](const LoggerResult<Done> &stopped) {
        if (!stopped.ok() || stopping) {
            outcome.error = failure(stopped.error, QStringLiteral("start/stop"),
                                    QStringLiteral("while its recording was stopped"));
            audit.record(serialEntry(audit::failed(QStringLiteral("stop-recording"), outcome.error)));
            endServing();
            return;
        }
        audit.record(serialEntry(audit::event(QStringLiteral("stop-recording"))));
        download();
    });
}

void DownloadWatch::download()
{
    // The caller places the file: straight into --dir when given.
    const QString folder = options.dir.isEmpty() ? dataDir() : options.dir;
    const auto blocks = [this](int cur, int total) {
        progress(QStringLiteral("%1: block %2/%3").arg(outcome.serial).arg(cur).arg(total));
    };
    session.download(folder, blocks, [this](const LoggerResult<DownloadedRecording> &r) {
        downloaded(r);
    });
}

void DownloadWatch::downloaded(const LoggerResult<DownloadedRecording> &result)
{
    if (result.error == LoggerError::NoRecords) {
        outcome.skipped = QStringLiteral("no records");
        endServing();
        return;
    }
    if (!result.ok()) {
        outcome.error = failure(result.error, QStringLiteral("a download step"),
                                QStringLiteral("during the download"));
        endServing();
        return;
    }
    outcome.file = result.value.path;
    const QString unarchived = ArchiveCommands::addDownloaded(outcome.file, options.archiveUrl);
    if (!unarchived.isEmpty())
        progress(QStringLiteral("%1: the recording was not added to the archive: %2")
                     .arg(outcome.serial, unarchived));
    audit.record(recordingaudit::download(outcome.file, result.value.recording,
                                          QStringLiteral("auto-download")));
    writeReports(result.value.recording);
    endServing();
}

AuditEntry DownloadWatch::serialEntry(AuditEntry entry) const
{
    if (!outcome.serial.isEmpty())
        entry.serial = outcome.serial;
    return entry;
}

void DownloadWatch::endServing(bool print)
{
    // A turn that downloaded nothing leaves why in the trail.
    if (!outcome.error.isEmpty() && outcome.file.isEmpty())
        audit.record(serialEntry(audit::failed(QStringLiteral("auto-download"), outcome.error)));
    session.close();
    current.reset();
    serving = false;
    if (print) {
        out << outcome.jsonLine();
        out.flush();
    }
    scheduleServing();
}

void DownloadWatch::writeReports(const LoadedRecording &recording)
{
    if (!recording.ok()) {
        outcome.error = QStringLiteral("the downloaded recording could not be read back");
        return;
    }
    outcome.samples = recording.samples.size();
    outcome.alarm = ReportFirstPage::anyAlarmRaised(recording.recording);
    const QFileInfo file(outcome.file);
    const AuditHead head = options.pdf || options.xlsx ? audit.head() : AuditHead();
    QString reason;
    struct Report {
        bool asked;
        const char *suffix;
        QString *path;
        const char *what;
        std::function<bool(const QString &)> write;
    };
    const Report reports[] = {
        {options.pdf, ".pdf", &outcome.pdf, "PDF report",
         [&recording, &reason, &head](const QString &path) {
             return writePdfReport(path, recording, dataPageCount(recording.samples.size()),
                                   isEnglish(), &reason, head);
         }},
        {options.csv, ".csv", &outcome.csv, "spreadsheet",
         [&recording, &reason](const QString &path) {
             return writeSpreadsheet(path, recording, &reason);
         }},
        {options.xlsx, ".xlsx", &outcome.xlsx, "workbook",
         [&recording, &reason, &head](const QString &path) {
             return writeXlsxWorkbook(path, recording, isEnglish(), &reason, head);
         }},
    };
    for (const Report &report : reports) {
        if (!report.asked)
            continue;
        // A stop that arrived while the report before was written starts nothing new.
        if (stopping) {
            outcome.error =
                stoppedText +
                QStringLiteral(" before the %1 was written").arg(QLatin1String(report.what));
            return;
        }
        const QString name = file.completeBaseName() + report.suffix;
        reason.clear();
        *report.path = writeNewFile(file.path(), name, report.write);
        const QString format = QString::fromLatin1(report.suffix + 1);
        if (report.path->isEmpty()) {
            outcome.error =
                cannotWriteText(QStringLiteral("the %1 %2")
                                    .arg(QLatin1String(report.what),
                                         QDir::toNativeSeparators(file.dir().filePath(name))),
                                reason);
            writeFailed = true;
            audit.record(recordingaudit::about(QStringLiteral("export-failed"), recording,
                                               {{QStringLiteral("format"), format},
                                                {QStringLiteral("file"), name},
                                                {QStringLiteral("error"), outcome.error}}));
            return;
        }
        audit.record(recordingaudit::exported(format, *report.path,
                                              recordingaudit::fileSha256(*report.path),
                                              recording));
        progress(QStringLiteral("%1: wrote %2")
                     .arg(outcome.serial, QDir::toNativeSeparators(*report.path)));
    }
}

QString DownloadWatch::failure(LoggerError error, const QString &request,
                               const QString &whileDoing) const
{
    if (stopping)
        return stoppedText;
    if (error == LoggerError::ConnectionLost || (current && !isAttached(*current)))
        return whileDoing.isEmpty() ? unpluggedText : unpluggedText + QLatin1Char(' ') + whileDoing;
    return loggerErrorText(error, request);
}

bool DownloadWatch::isAttached(const AttachedLogger &logger) const
{
    return listAttachedLoggerDevices().contains(logger);
}

void DownloadWatch::progress(const QString &text)
{
    err << text << '\n';
    err.flush();
}
