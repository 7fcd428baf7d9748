// SPDX-License-Identifier: GPL-3.0-or-later
// DownloadWatch: `hygra-cli watch`, downloading every logger that is plugged in, one after another.
#include "cli/downloadwatch.h"

#include "cli/archivecommands.h"
#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "cli/devicesession.h"
#include "core/lgxdevtype.h"
#include "core/newfile.h"
#include "core/settinginfo.h"
#include "export/pdfreport.h"
#include "export/reportfirstpage.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "recording/recordingreader.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTimer>

namespace
{
const QString unpluggedText = QStringLiteral("the logger was unplugged");
const QString stoppedText = QStringLiteral("the watch was stopped");

// The position of `logger` among the attached loggers of its model, as
// UsbControl::connectDevice counts them; -1 when it is not attached.
int indexAmongModel(const QVector<AttachedLogger> &list, const AttachedLogger &logger)
{
    int index = 0;
    for (const AttachedLogger &a : list) {
        if (a == logger)
            return index;
        if (a.model == logger.model)
            ++index;
    }
    return -1;
}

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
    : QObject(parent), options(options), out(out), err(err)
{
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

void DownloadWatch::exec()
{
    QEventLoop loop;
    connect(this, &DownloadWatch::finished, &loop, &QEventLoop::quit);
    start();
    if (!done)
        loop.exec();
}

void DownloadWatch::stop()
{
    if (done)
        return;
    stopping = true;
    if (session)
        session->abort(stoppedText);
    if (!serving)
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
        if (session && current == gone)
            session->abort(unpluggedText);
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
    QTimer::singleShot(0, this, &DownloadWatch::serveQueue);
}

void DownloadWatch::serveQueue()
{
    servingScheduled = false;
    if (serving || done)
        return;
    serving = true;
    // The queue grows while a logger is served: a later arrival waits its turn.
    while (!queue.isEmpty() && !stopping) {
        const AttachedLogger logger = queue.takeFirst();
        current = logger;
        const std::optional<WatchOutcome> outcome = serve(logger);
        current.reset();
        if (outcome) {
            out << outcome->jsonLine();
            out.flush();
        }
    }
    serving = false;
    if (stopping || options.once)
        finish();
}

std::optional<WatchOutcome> DownloadWatch::serve(const AttachedLogger &logger)
{
    const int index = indexAmongModel(listAttachedLoggerDevices(), logger);
    if (index < 0)
        return std::nullopt;
    WatchOutcome outcome;
    outcome.model = logger.model;
    DeviceSession device;
    const QScopedValueRollback<DeviceSession *> active(session, &device);
    progress(nameOf(logger) + QStringLiteral(": connecting"));
    if (device.open(modelName(logger.model), index) != ExitOk) {
        outcome.error = failure(device, QString());
        return outcome;
    }
    outcome.serial = device.sn();
    if (!outcome.serial.isEmpty() && served.contains(outcome.serial)) {
        progress(outcome.serial + QStringLiteral(": served already since it was plugged in; "
                                                 "unplug it and plug it in to download it again"));
        return std::nullopt;
    }
    if (!outcome.serial.isEmpty())
        served.insert(outcome.serial, logger);
    // A stop between two steps reaches no step: each one checks it first.
    if (stopping) {
        outcome.error = stoppedText;
        return outcome;
    }
    if (device.isRecord() && !options.stopRecording) {
        outcome.skipped = QStringLiteral("recording");
        return outcome;
    }
    if (device.isRecord()) {
        progress(outcome.serial + QStringLiteral(": stopping the recording"));
        if (device.startStop(false) != ExitOk || stopping) {
            outcome.error = failure(device, QStringLiteral("while its recording was stopped"));
            return outcome;
        }
    }
    download(device, outcome);
    return outcome;
}

void DownloadWatch::download(DeviceSession &device, WatchOutcome &outcome)
{
    const int result = device.download([this, &outcome](int cur, int total) {
        progress(QStringLiteral("%1: block %2/%3").arg(outcome.serial).arg(cur).arg(total));
    });
    if (result == ExitNoRecords) {
        outcome.skipped = QStringLiteral("no records");
        return;
    }
    if (result != ExitOk) {
        outcome.error = failure(device, QStringLiteral("during the download"));
        return;
    }
    outcome.file = device.downloadedFile();
    if (!options.dir.isEmpty()) {
        QString why;
        const QString moved = moveInto(outcome.file, options.dir, &why);
        if (moved.isEmpty()) {
            outcome.error =
                QStringLiteral("could not move the recording into %1 (%2); it stays in %3")
                    .arg(QDir::toNativeSeparators(options.dir), why,
                         QDir::toNativeSeparators(QFileInfo(outcome.file).path()));
            return;
        }
        outcome.file = moved;
    }
    const QString unarchived = ArchiveCommands::addDownloaded(outcome.file, options.archiveUrl);
    if (!unarchived.isEmpty())
        progress(QStringLiteral("%1: the recording was not added to the archive: %2")
                     .arg(outcome.serial, unarchived));
    writeReports(outcome);
}

void DownloadWatch::writeReports(WatchOutcome &outcome)
{
    const LoadedRecording recording = RecordingReader::read(outcome.file);
    if (!recording.ok()) {
        outcome.error = QStringLiteral("the downloaded recording could not be read back");
        return;
    }
    outcome.samples = recording.samples.size();
    outcome.alarm = ReportFirstPage::anyAlarmRaised(recording.recording);
    const QFileInfo file(outcome.file);
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
         [&recording, &reason](const QString &path) {
             return writePdfReport(path, recording, dataPageCount(recording.samples.size()),
                                   isEnglish(), &reason);
         }},
        {options.csv, ".csv", &outcome.csv, "spreadsheet",
         [&recording, &reason](const QString &path) {
             return writeSpreadsheet(path, recording, &reason);
         }},
        {options.xlsx, ".xlsx", &outcome.xlsx, "workbook",
         [&recording, &reason](const QString &path) {
             return writeXlsxWorkbook(path, recording, isEnglish(), &reason);
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
        if (report.path->isEmpty()) {
            outcome.error =
                cannotWriteText(QStringLiteral("the %1 %2")
                                    .arg(QLatin1String(report.what),
                                         QDir::toNativeSeparators(file.dir().filePath(name))),
                                reason);
            writeFailed = true;
            return;
        }
        progress(QStringLiteral("%1: wrote %2")
                     .arg(outcome.serial, QDir::toNativeSeparators(*report.path)));
    }
}

QString DownloadWatch::failure(const DeviceSession &device, const QString &whileDoing) const
{
    if (stopping)
        return stoppedText;
    if (current && !isAttached(*current))
        return whileDoing.isEmpty() ? unpluggedText : unpluggedText + QLatin1Char(' ') + whileDoing;
    return device.errorText();
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
