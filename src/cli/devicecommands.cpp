// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of hygra-cli that talk to a logger: list, info, download, config, start, stop.
#include "cli/archivecommands.h"
#include "cli/auditrecorder.h"
#include "cli/clicommands.h"
#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "config/configjson.h"
#include "cli/loggerrun.h"
#include "cli/signalbridge.h"
#include "config/configaudit.h"
#include "config/configechocheck.h"
#include "config/persettingjson.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "platform/loggerenumeration.h"
#include "recording/recordingaudit.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
// Why the logger's echo of a write is not what was written; empty when it is.
QString echoDifference(const LoggerSettings &written, const LoggerSettings &echo)
{
    const QString difference = ConfigEchoCheck::firstDifference(written.config, echo.config);
    if (!difference.isEmpty())
        return QStringLiteral("the logger's echo differs from what was written (%1)")
            .arg(difference);
    if (echo.note != written.note)
        return QStringLiteral("the logger's echo of the note differs from what was written");
    return QString();
}

// The refusal of a configuration write while the logger holds records; empty when it holds none.
QString wouldEraseText(const RecordCounts &counts)
{
    if (counts.recordNum <= 0)
        return QString();
    // The memory's count is what a download would save; a logger that reports a
    // recording but an empty memory still has one to lose.
    const qint64 lost = counts.numofReport > 0 ? counts.numofReport : counts.recordNum;
    return QStringLiteral("the logger holds %1 %2, which writing a configuration "
                          "erases; nothing was written. Download them first, or give "
                          "--erase to write anyway")
        .arg(lost)
        .arg(lost == 1 ? QStringLiteral("record") : QStringLiteral("records"));
}
// `entry` about the logger of `session`, once it is open.
AuditEntry ofLogger(AuditEntry entry, LoggerSession &session)
{
    if (!session.identity().sn.isEmpty())
        entry.serial = session.identity().sn;
    return entry;
}

// Records the run's failure as a `kind`-failed entry.
void recordFailures(LoggerRun &run, AuditRecorder &audit, const QString &kind)
{
    run.onFailure([&run, &audit, kind](const QString &message) {
        audit.record(ofLogger(audit::failed(kind, message), run.session()));
    });
}
} // namespace

int CliCommands::chooseLogger(QCommandLineParser &parser, LoggerChoice *choice)
{
    const QString invalid = LoggerChoice::fromParser(parser, choice);
    return invalid.isEmpty() ? ExitOk : fail(ExitUsage, invalid);
}

int CliCommands::list(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the attached loggers, one per line: model, index among the loggers of that "
        "model, bus, port path and, with --serial, the serial number each one reports "
        "(each logger is opened for it)."));
    const QCommandLineOption serialOption(QStringLiteral("serial"),
                                          QStringLiteral("Open each logger to ask its serial "
                                                         "number."));
    parser.addOption(serialOption);
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    const QVector<AttachedLogger> attached = listAttachedLoggerDevices();
    if (attached.isEmpty())
        return fail(ExitNoLogger, QStringLiteral("no logger is attached"));
    QHash<int, int> countOfModel;
    QStringList lines;
    for (const AttachedLogger &logger : attached)
        lines << QStringLiteral("%1 %2 bus %3 port %4")
                     .arg(modelName(logger.model))
                     .arg(countOfModel[logger.model]++)
                     .arg(logger.bus)
                     .arg(logger.portPath);
    if (parser.isSet(serialOption)) {
        LoggerSession session;
        std::function<void(int)> ask;
        runEventLoop([&](const std::function<void(int)> &finish) {
            ask = [&](int i) {
                if (i >= attached.size()) {
                    finish(ExitOk);
                    return;
                }
                session.open(attached.at(i), [&, i](const LoggerResult<LoggerIdentity> &r) {
                    lines[i] += QStringLiteral(" serial ") +
                                (r.ok() ? r.value.sn : QStringLiteral("unknown"));
                    session.close();
                    ask(i + 1);
                });
            };
            ask(0);
        });
    }
    for (const QString &line : qAsConst(lines))
        out << line << '\n';
    return ExitOk;
}

int CliCommands::info(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Connects to a logger and prints its state, serial number, "
                       "configuration and note as JSON."));
    LoggerChoice::addOptions(parser);
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    LoggerChoice choice;
    if (const int invalid = chooseLogger(parser, &choice))
        return invalid;
    LoggerRun run(err);
    LoggerSession &session = run.session();
    return run.exec(choice, [&] {
        session.readSettings([&](const LoggerResult<LoggerSettings> &read) {
            if (!read.ok()) {
                run.failed(read.error, QStringLiteral("the configuration"));
                return;
            }
            const LoggerIdentity &id = session.identity();
            QJsonObject o;
            o.insert(QStringLiteral("model"), modelName(id.logger.model));
            o.insert(QStringLiteral("sn"), id.sn);
            o.insert(QStringLiteral("port"), id.logger.portPath);
            o.insert(QStringLiteral("isRecord"), id.isRecord);
            o.insert(QStringLiteral("isAlert"), id.isAlert);
            o.insert(QStringLiteral("config"),
                     ConfigJson::toJson(read.value.config, read.value.note));
            out << jsonText(o);
            run.finish(ExitOk);
        });
    });
}

int CliCommands::download(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Connects, reads the configuration and note, downloads the logger's "
                       "recording into a new recording file, adds it to the archive and "
                       "prints its path last."));
    LoggerChoice::addOptions(parser);
    const QCommandLineOption dirOption(
        QStringLiteral("dir"),
        QStringLiteral("Folder for the new file (default: the recordings folder)."),
        QStringLiteral("D"));
    parser.addOption(dirOption);
    const QCommandLineOption archiveOption = ArchiveCommands::archiveOption();
    parser.addOptions({archiveOption, AuditRecorder::reasonOption()});
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    LoggerChoice choice;
    if (const int invalid = chooseLogger(parser, &choice))
        return invalid;
    AuditRecorder audit(err);
    audit.configure(parser);
    const QString folder = parser.isSet(dirOption) ? parser.value(dirOption) : dataDir();
    // Interrupted, the download ends as failed and its partial file is removed.
    // The bridge outlives the run, whose end waits for the transport.
    SignalBridge bridge;
    LoggerRun run(err);
    LoggerSession &session = run.session();
    recordFailures(run, audit, QStringLiteral("download"));
    bool interrupted = false;
    QObject::connect(&bridge, &SignalBridge::received, &run, [&] {
        interrupted = true;
        run.fail(ExitInterrupted,
                 QStringLiteral("the download was interrupted; the partial file was removed"));
        session.cancel();
    });
    removeLeftovers(parser.value(dirOption));
    return run.exec(choice, [&] {
        const auto progress = [this](int cur, int total) {
            err << "block " << cur << '/' << total << '\n';
            err.flush();
        };
        session.download(folder, progress, [&](const LoggerResult<DownloadedRecording> &got) {
            if (interrupted)
                return;
            const QString where = QDir::toNativeSeparators(folder);
            switch (got.error) {
            case LoggerError::None:
                break;
            case LoggerError::CannotCreateFile:
                run.fail(ExitCannotWrite,
                         QStringLiteral("the recording file could not be created in %1").arg(where));
                return;
            case LoggerError::CannotStore:
                run.fail(ExitCannotWrite,
                         QStringLiteral("the recording could not be stored in %1 (a full disk?); "
                                        "the partial file was removed")
                             .arg(where));
                return;
            case LoggerError::NoAnswer:
                run.fail(ExitTimeout, QStringLiteral("a download step got no answer"));
                return;
            default:
                run.failed(got.error, QStringLiteral("a download step"));
                return;
            }
            // The recording is complete: from here on a signal stops nothing.
            bridge.keepIgnoring();
            // The file is the record; an archive that cannot take it can be rebuilt later.
            const QString unarchived =
                ArchiveCommands::addDownloaded(got.value.path, parser.value(archiveOption));
            if (!unarchived.isEmpty())
                err << "hygra-cli: the recording was not added to the archive: " << unarchived
                    << '\n';
            audit.record(recordingaudit::download(got.value.path, got.value.recording));
            out << QDir::toNativeSeparators(got.value.path) << '\n';
            out.flush();
            run.finish(ExitOk);
        });
    });
}

int CliCommands::config(const QStringList &arguments)
{
    const QString action = arguments.value(1);
    const bool isSet = action == QLatin1String("set");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        isSet ? QStringLiteral("Reads the configuration and note, changes the fields FILE.json "
                               "names (keys as 'config get' prints them), writes both and checks "
                               "the logger's echo. Writing a configuration erases the logger's "
                               "records: while it holds any, nothing is written unless --erase "
                               "is given.")
              : QStringLiteral("Prints the logger's configuration and note as JSON."));
    LoggerChoice::addOptions(parser);
    const QCommandLineOption eraseOption(
        QStringLiteral("erase"),
        QStringLiteral("Write even though the logger holds records, which the write erases."));
    parser.addPositionalArgument(QStringLiteral("get|set"), QStringLiteral("What to do."));
    if (isSet) {
        parser.addOptions({eraseOption, ArchiveCommands::archiveOption(),
                           AuditRecorder::reasonOption()});
        parser.addPositionalArgument(QStringLiteral("FILE.json"),
                                     QStringLiteral("The fields to write."));
    }
    const int parsed = parse(parser, arguments, isSet ? 2 : 1);
    if (parsed >= 0)
        return parsed;
    if (!isSet && action != QLatin1String("get"))
        return fail(ExitUsage, QStringLiteral("config expects 'get' or 'set FILE.json'"));
    LoggerChoice choice;
    if (const int invalid = chooseLogger(parser, &choice))
        return invalid;
    AuditRecorder audit(err);
    if (isSet) {
        audit.configure(parser);
        const QString missing = audit.missingReason(QStringLiteral("a configuration write"));
        if (!missing.isEmpty())
            return fail(ExitUsage, missing);
    }

    QJsonObject changes;
    if (isSet) {
        const QString path = parser.positionalArguments().at(1);
        QFile file(path);
        if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
            return fail(ExitFileNotReadable, QStringLiteral("cannot read %1").arg(path));
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        if (!document.isObject())
            return fail(
                ExitBadConfigFile,
                QStringLiteral("%1 holds no JSON object: %2").arg(path, error.errorString()));
        changes = document.object();
    }

    LoggerRun run(err);
    LoggerSession &session = run.session();
    if (isSet)
        recordFailures(run, audit, QStringLiteral("config-write"));
    const bool erase = parser.isSet(eraseOption);
    LoggerSettings held;
    LoggerSettings wanted;
    const auto print = [&](const LoggerSettings &settings) {
        out << jsonText(ConfigJson::toJson(settings.config, settings.note));
        run.finish(ExitOk);
    };
    const auto write = [&](bool erasesRecords) {
        session.writeSettings(
            wanted.config, wanted.note, [&, erasesRecords](const LoggerResult<LoggerSettings> &echo) {
                if (!echo.ok()) {
                    run.failed(echo.error, QStringLiteral("the configuration"));
                    return;
                }
                const QString difference = echoDifference(wanted, echo.value);
                if (!difference.isEmpty()) {
                    run.fail(ExitNotVerified, difference);
                    return;
                }
                audit.record(ofLogger(
                    audit::event(QStringLiteral("config-write"),
                                 configaudit::writeDetails(held.config, echo.value.config,
                                                           erasesRecords)),
                    session));
                if (echo.value.note != held.note)
                    audit.record(ofLogger(audit::event(QStringLiteral("note-write"),
                                                       configaudit::noteDetails(held.note,
                                                                                echo.value.note)),
                                          session));
                print(echo.value);
            });
    };
    return run.exec(choice, [&] {
        session.readSettings([&](const LoggerResult<LoggerSettings> &read) {
            if (!read.ok()) {
                run.failed(read.error, QStringLiteral("the configuration"));
                return;
            }
            if (!isSet) {
                print(read.value);
                return;
            }
            held = read.value;
            wanted = read.value;
            QString error;
            if (!ConfigJson::apply(changes, &wanted.config, &wanted.note, &error)) {
                run.fail(ExitBadConfigFile, error);
                return;
            }
            // Like the settings form: a clock that follows the computer gets its time now.
            if (wanted.config.isDateTimeFlowSys)
                PersettingJson::toDateBytes(QDateTime::currentDateTime(),
                                            wanted.config.devDateTime);
            // Asked with --erase too, so that the trail says whether records were erased.
            session.readRecordCount([&](const LoggerResult<RecordCounts> &counts) {
                if (!counts.ok()) {
                    run.failed(counts.error, QStringLiteral("the record information"));
                    return;
                }
                const QString refusal = wouldEraseText(counts.value);
                if (refusal.isEmpty() || erase)
                    write(!refusal.isEmpty());
                else
                    run.fail(ExitWouldErase, refusal);
            });
        });
    });
}

int CliCommands::startStop(const QStringList &arguments, bool start)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(start ? QStringLiteral("Starts the logger's recording.")
                                           : QStringLiteral("Stops the logger's recording."));
    LoggerChoice::addOptions(parser);
    parser.addOptions({ArchiveCommands::archiveOption(), AuditRecorder::reasonOption()});
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    LoggerChoice choice;
    if (const int invalid = chooseLogger(parser, &choice))
        return invalid;
    AuditRecorder audit(err);
    audit.configure(parser);
    const QString kind = QLatin1String(start ? "start-recording" : "stop-recording");
    LoggerRun run(err);
    recordFailures(run, audit, kind);
    return run.exec(choice, [&] {
        run.session().startStop(start, [&](const LoggerResult<Done> &result) {
            if (!result.ok()) {
                run.failed(result.error, QStringLiteral("start/stop"));
                return;
            }
            audit.record(ofLogger(audit::event(kind), run.session()));
            out << (start ? "recording started\n" : "recording stopped\n");
            run.finish(ExitOk);
        });
    });
}
