// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/archivecommands.h"

#include "archive/archive.h"
#include "archive/archiveroles.h"
#include "cli/auditrecorder.h"
#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "cli/recordingjson.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "export/pdfreport.h"
#include "export/spreadsheetwriter.h"
#include "recording/recordinganalysis.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace
{
// Names on standard error a password written in the address of `location`.
void warnOfPassword(const ArchiveLocation &location)
{
    const QString warning = location.passwordWarning();
    if (!warning.isEmpty())
        QTextStream(stderr) << "hygra-cli: warning: " << warning << '\n';
}

// The archive named by `url`, else the settings file's.
bool chooseLocation(const QString &url, ArchiveLocation *location, QString *why)
{
    if (!ArchiveLocation::choose(url, dataDir(), location, why))
        return false;
    warnOfPassword(*location);
    return true;
}

// "2026-03-01" (the whole day) or "2026-03-01T08:30[:00]", as wall-clock seconds.
std::optional<qint64> parseDay(const QString &text, bool endOfDay)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid()) {
        const QDateTime start(date, QTime(0, 0), Qt::UTC);
        return endOfDay ? start.addDays(1).toSecsSinceEpoch() - 1 : start.toSecsSinceEpoch();
    }
    QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid())
        return std::nullopt;
    return QDateTime(time.date(), time.time(), Qt::UTC).toSecsSinceEpoch();
}

QJsonValue optionalJson(const std::optional<double> &value, int decimals)
{
    return value ? QJsonValue(QString::number(*value, 'f', decimals).toDouble()) : QJsonValue();
}

QByteArray entryLine(const ArchiveEntry &e)
{
    QJsonObject o;
    o.insert(QStringLiteral("sha256"), e.sha256);
    o.insert(QStringLiteral("serial"), e.serial);
    o.insert(QStringLiteral("model"), modelName(e.model));
    o.insert(QStringLiteral("name"), e.name);
    o.insert(QStringLiteral("note"), e.note);
    o.insert(QStringLiteral("start"), RecordingJson::timeText(e.start));
    o.insert(QStringLiteral("stop"), RecordingJson::timeText(e.stop));
    o.insert(QStringLiteral("intervalSeconds"), e.intervalSeconds);
    o.insert(QStringLiteral("samples"), e.samples);
    o.insert(QStringLiteral("expectedSamples"), e.expectedSamples);
    o.insert(QStringLiteral("complete"), e.complete());
    o.insert(QStringLiteral("alarm"), e.alarm);
    o.insert(QStringLiteral("outOfRange"), e.outOfRange);
    o.insert(QStringLiteral("mktCelsius"), optionalJson(e.mktCelsius, 2));
    o.insert(QStringLiteral("timeAboveSeconds"), e.timeAboveSeconds);
    o.insert(QStringLiteral("timeBelowSeconds"), e.timeBelowSeconds);
    o.insert(QStringLiteral("minCelsius"), optionalJson(e.temperatureMin, 2));
    o.insert(QStringLiteral("maxCelsius"), optionalJson(e.temperatureMax, 2));
    o.insert(QStringLiteral("meanCelsius"), optionalJson(e.temperatureMean, 2));
    o.insert(QStringLiteral("addedAt"), e.addedAt.toString(Qt::ISODate));
    o.insert(QStringLiteral("addedBy"), e.addedBy);
    o.insert(QStringLiteral("path"), e.path.isEmpty() ? QJsonValue()
                                                      : QJsonValue(QDir::toNativeSeparators(e.path)));
    o.insert(QStringLiteral("fileGone"), e.fileGone);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}
} // namespace

ArchiveCommands::ArchiveCommands(QTextStream &out, QTextStream &err) : out(out), err(err) {}

QCommandLineOption ArchiveCommands::archiveOption()
{
    return QCommandLineOption(
        QStringLiteral("archive"),
        QStringLiteral("The archive: postgresql://user@host:port/database or a SQLite file "
                       "(default: the settings file's [archive] url, else archive.sqlite in "
                       "the recordings folder)."),
        QStringLiteral("URL"));
}

bool ArchiveCommands::locate(const QString &url, ArchiveLocation *location, QString *why)
{
    return chooseLocation(url, location, why);
}

bool ArchiveCommands::needsGui(const QStringList &arguments)
{
    return arguments.value(2) == QLatin1String("history") &&
           arguments.contains(QLatin1String("--pdf"));
}

QString ArchiveCommands::addDownloaded(const QString &path, const QString &url)
{
    ArchiveLocation location;
    QString why;
    if (!chooseLocation(url, &location, &why))
        return why;
    Archive archive;
    if (!archive.open(location))
        return archive.errorText();
    const Archive::Outcome outcome = archive.addFile(path);
    return outcome.kind == Archive::Outcome::Added || outcome.kind == Archive::Outcome::Known
               ? QString()
               : outcome.reason;
}

int ArchiveCommands::run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.value(0) + QLatin1Char(' ') + command);
    if (command == QLatin1String("import"))
        return importFolder(rest);
    if (command == QLatin1String("list"))
        return list(rest);
    if (command == QLatin1String("get"))
        return get(rest);
    if (command == QLatin1String("history"))
        return history(rest);
    if (command == QLatin1String("check"))
        return check(rest);
    if (command == QLatin1String("setup"))
        return setup(rest);
    if (command == QLatin1String("grant"))
        return grant(rest);
    const bool help = command == QLatin1String("--help") || command == QLatin1String("-h");
    QTextStream &stream = help ? out : err;
    if (!help)
        stream << "hygra-cli: unknown archive command '" << command << "'\n";
    stream << "Usage: hygra-cli archive COMMAND [--archive URL] [options]\n\n"
              "  import DIR                            add the recording files of DIR\n"
              "  list [--serial S] [--from DATE] [--to DATE] [--out-of-range] [--text T]\n"
              "                                        matching recordings, one JSON line each\n"
              "  get SHA256 --out FILE                 write a recording's file\n"
              "  history SERIAL (--csv OUT | --pdf OUT)\n"
              "                                        a logger's recordings merged into one\n"
              "  check                                 every file present and unchanged\n"
              "  setup --admin-url URL                 the team archive's tables, roles and rights\n"
              "  grant LOGIN_ROLE --as operator|reader --admin-url URL\n"
              "                                        a person's login role joins one group\n";
    return help ? ExitOk : ExitUsage;
}

int ArchiveCommands::fail(int code, const QString &message)
{
    return printFailure(err, code, message);
}

int ArchiveCommands::parse(QCommandLineParser &parser, const QStringList &arguments,
                           int positionals)
{
    parser.addOptions({archiveOption(), AuditRecorder::reasonOption()});
    return parseCommand(parser, arguments, positionals, out, err);
}

int ArchiveCommands::open(QCommandLineParser &parser, Archive &archive)
{
    ArchiveLocation location;
    QString why;
    if (!chooseLocation(parser.value(QStringLiteral("archive")), &location, &why))
        return fail(ExitUsage, why);
    if (!archive.open(location))
        return fail(ExitArchiveUnavailable, archive.errorText());
    return ExitOk;
}

int ArchiveCommands::importFolder(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Adds every recording file (*.data) of DIR that the archive does not know, and prints\n"
        "the counts as JSON: added, known (already archived) and skipped (not a readable\n"
        "recording; each is named on standard error with the reason). A file imported twice\n"
        "is one entry. A recording with fewer samples than its header says is archived\n"
        "marked incomplete, named on standard error, and reported by 'archive check'."));
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The folder."));
    const int parsed = parse(parser, arguments, 1);
    if (parsed >= 0)
        return parsed;
    const QString folder = parser.positionalArguments().constFirst();
    if (!QFileInfo(folder).isDir())
        return fail(ExitFileNotReadable, QStringLiteral("%1 is not a folder").arg(folder));
    Archive archive;
    const int opened = open(parser, archive);
    if (opened != ExitOk)
        return opened;
    const Archive::ImportSummary summary = archive.importFolder(
        folder, [this](const QString &path, const Archive::Outcome &outcome) {
            if (outcome.kind == Archive::Outcome::Skipped)
                err << "hygra-cli: skipped " << QDir::toNativeSeparators(path) << ": "
                    << outcome.reason << '\n';
            else if (outcome.kind != Archive::Outcome::Failed &&
                     outcome.samples < outcome.expectedSamples)
                err << "hygra-cli: archived " << QDir::toNativeSeparators(path)
                    << " as an incomplete recording: " << outcome.samples << " of "
                    << outcome.expectedSamples << " samples\n";
        });
    QJsonObject counts;
    counts.insert(QStringLiteral("added"), summary.added);
    counts.insert(QStringLiteral("known"), summary.known);
    counts.insert(QStringLiteral("skipped"), summary.skipped);
    out << QJsonDocument(counts).toJson(QJsonDocument::Compact) << '\n';
    QJsonObject details = counts;
    details.insert(QStringLiteral("failed"), summary.failed);
    details.insert(QStringLiteral("folder"), QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()));
    const QString failure = archive.errorText();
    AuditRecorder audit(err);
    audit.configure(parser);
    audit.record(summary.failed > 0
                     ? audit::failed(QStringLiteral("import"), failure, details)
                     : audit::event(QStringLiteral("import"), details),
                 &archive);
    if (summary.failed > 0)
        return fail(ExitArchiveUnavailable, failure);
    return ExitOk;
}

int ArchiveCommands::list(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the archived recordings that match every filter given, newest first, one JSON\n"
        "line each. Times are the samples' wall-clock times; \"outOfRange\" tells whether a\n"
        "temperature left the recording's alarm range (TL1 to TH1); \"path\" is null when\n"
        "the file is not on this computer, and \"fileGone\" is true when no computer's copy\n"
        "can be reached."));
    const QCommandLineOption serial(QStringLiteral("serial"),
                                    QStringLiteral("The logger's serial number."),
                                    QStringLiteral("S"));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("Recordings with a sample on or after DATE "
                                                 "(YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)."),
                                  QStringLiteral("DATE"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("Recordings with a sample on or before DATE."),
                                QStringLiteral("DATE"));
    const QCommandLineOption outOfRange(QStringLiteral("out-of-range"),
                                        QStringLiteral("Only recordings that left their range."));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("Text in the name, note or serial number."),
                                  QStringLiteral("T"));
    parser.addOptions({serial, from, to, outOfRange, text});
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    ArchiveFilter filter;
    filter.serial = parser.value(serial);
    filter.text = parser.value(text);
    filter.outOfRangeOnly = parser.isSet(outOfRange);
    if (parser.isSet(from) && !(filter.from = parseDay(parser.value(from), false)))
        return fail(ExitUsage, QStringLiteral("--from expects YYYY-MM-DD[THH:MM:SS]"));
    if (parser.isSet(to) && !(filter.to = parseDay(parser.value(to), true)))
        return fail(ExitUsage, QStringLiteral("--to expects YYYY-MM-DD[THH:MM:SS]"));
    Archive archive;
    const int opened = open(parser, archive);
    if (opened != ExitOk)
        return opened;
    const QVector<ArchiveEntry> entries = archive.find(filter);
    if (!archive.errorText().isEmpty())
        return fail(ExitArchiveUnavailable, archive.errorText());
    for (const ArchiveEntry &entry : entries)
        out << entryLine(entry) << '\n';
    return ExitOk;
}

int ArchiveCommands::get(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the file of the archived recording SHA256 to FILE: from its place on this\n"
        "computer, or from the team archive. The bytes are checked against the fingerprint."));
    parser.addPositionalArgument(QStringLiteral("SHA256"), QStringLiteral("The fingerprint."));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The file to write."),
                                       QStringLiteral("FILE"));
    parser.addOption(outOption);
    const int parsed = parse(parser, arguments, 1);
    if (parsed >= 0)
        return parsed;
    if (!parser.isSet(outOption))
        return fail(ExitUsage, QStringLiteral("give --out FILE"));
    Archive archive;
    const int opened = open(parser, archive);
    if (opened != ExitOk)
        return opened;
    const QString sha256 = parser.positionalArguments().constFirst().toLower();
    const QByteArray bytes = archive.fileBytes(sha256);
    if (bytes.isEmpty())
        return fail(archive.bytesMismatched() ? ExitArchiveProblems : ExitNotArchived,
                    archive.errorText());
    QSaveFile file(parser.value(outOption));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(ExitCannotWrite, QStringLiteral("cannot write %1").arg(file.fileName()));
    out << QDir::toNativeSeparators(file.fileName()) << '\n';
    return ExitOk;
}

int ArchiveCommands::history(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Merges every archived recording of the logger SERIAL in time order (a sample that\n"
        "several downloads hold is taken once, gaps stay gaps) and writes it as a spreadsheet\n"
        "file or a PDF report."));
    parser.addPositionalArgument(QStringLiteral("SERIAL"), QStringLiteral("The serial number."));
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       QStringLiteral("Write the spreadsheet file OUT."),
                                       QStringLiteral("OUT"));
    const QCommandLineOption pdfOption(
        QStringLiteral("pdf"), QStringLiteral("Write the PDF report OUT."), QStringLiteral("OUT"));
    parser.addOptions({csvOption, pdfOption});
    const int parsed = parse(parser, arguments, 1);
    if (parsed >= 0)
        return parsed;
    if (parser.isSet(csvOption) == parser.isSet(pdfOption))
        return fail(ExitUsage, QStringLiteral("give exactly one of --csv OUT and --pdf OUT"));
    Archive archive;
    const int opened = open(parser, archive);
    if (opened != ExitOk)
        return opened;
    const LoadedRecording merged = archive.history(parser.positionalArguments().constFirst());
    if (!merged.ok())
        return fail(archive.bytesMismatched() ? ExitArchiveProblems : ExitNotArchived,
                    archive.errorText());
    const bool isPdf = parser.isSet(pdfOption);
    const QString target = parser.value(isPdf ? pdfOption : csvOption);
    QString error;
    const bool written = isPdf
                             ? writePdfReport(target, merged, dataPageCount(merged.samples.size()),
                                              isEnglish(), &error)
                             : writeSpreadsheet(target, merged, &error);
    if (!written)
        return fail(ExitCannotWrite, cannotWriteText(target, error));
    out << QDir::toNativeSeparators(target) << '\n';
    return ExitOk;
}

int ArchiveCommands::check(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads every archived recording's file on this computer and its stored content in a\n"
        "team archive, compares the bytes with the fingerprint and the entry's figures with\n"
        "those computed from the bytes, and looks in this computer's archived folders for\n"
        "recordings without an entry; a recording with fewer samples than its header says\n"
        "is a problem too.\n"
        "Prints one JSON line per problem (sha256, path, problem) and ends with exit code 18\n"
        "when there is one."));
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    Archive archive;
    const int opened = open(parser, archive);
    if (opened != ExitOk)
        return opened;
    const QVector<Archive::Problem> problems = archive.check();
    QJsonArray found;
    for (const Archive::Problem &problem : problems) {
        QJsonObject o;
        o.insert(QStringLiteral("sha256"), problem.sha256);
        o.insert(QStringLiteral("path"), problem.path.isEmpty()
                                             ? QJsonValue()
                                             : QJsonValue(QDir::toNativeSeparators(problem.path)));
        o.insert(QStringLiteral("problem"), problem.reason);
        out << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
        found.append(o);
    }
    AuditRecorder audit(err);
    audit.configure(parser);
    audit.record(audit::event(QStringLiteral("check"), {{QStringLiteral("problems"), found}}),
                 &archive);
    return problems.isEmpty() ? ExitOk : ExitArchiveProblems;
}

QCommandLineOption ArchiveCommands::adminUrlOption()
{
    return QCommandLineOption(
        QStringLiteral("admin-url"),
        QStringLiteral("The team archive as its owner or a superuser: "
                       "postgresql://owner@host:port/database."),
        QStringLiteral("URL"));
}

int ArchiveCommands::openAdmin(QCommandLineParser &parser, ArchiveRoles &roles)
{
    if (!parser.isSet(QStringLiteral("admin-url")))
        return fail(ExitUsage, QStringLiteral("give --admin-url URL, the owner's address of the "
                                              "team archive"));
    ArchiveLocation location;
    QString why;
    if (!ArchiveLocation::parse(parser.value(QStringLiteral("admin-url")), &location, &why))
        return fail(ExitUsage, why);
    warnOfPassword(location);
    if (!roles.open(location))
        return fail(location.isTeamArchive() ? ExitArchiveUnavailable : ExitUsage,
                    roles.errorText());
    return ExitOk;
}

int ArchiveCommands::setup(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sets up a team archive on PostgreSQL, connected as the database's owner or a superuser:\n"
        "creates or upgrades its tables, the group roles hygra_operator (downloads and imports;\n"
        "adds entries, never changes them, keeps its own places only) and hygra_reader (reads\n"
        "only), their rights and the row-level security of the places. Running it again\n"
        "changes nothing. Prints what the archive holds afterwards as JSON."));
    parser.addOption(adminUrlOption());
    const int parsed = parseCommand(parser, arguments, 0, out, err);
    if (parsed >= 0)
        return parsed;
    ArchiveRoles roles;
    const int opened = openAdmin(parser, roles);
    if (opened != ExitOk)
        return opened;
    ArchiveRoles::Setup done;
    if (!roles.setUp(&done))
        return fail(ExitArchiveUnavailable, roles.errorText());
    QJsonObject rights;
    for (auto role = done.rights.constBegin(); role != done.rights.constEnd(); ++role) {
        QJsonObject tables;
        for (auto table = role->constBegin(); table != role->constEnd(); ++table)
            tables.insert(table.key(), QJsonArray::fromStringList(table.value()));
        rights.insert(role.key(), tables);
    }
    QJsonObject o;
    o.insert(QStringLiteral("schemaVersionBefore"),
             done.versionBefore < 0 ? QJsonValue() : QJsonValue(done.versionBefore));
    o.insert(QStringLiteral("schemaVersion"), done.version);
    o.insert(QStringLiteral("rolesCreated"), QJsonArray::fromStringList(done.createdRoles));
    o.insert(QStringLiteral("rights"), rights);
    o.insert(QStringLiteral("rowLevelSecurity"), done.rowLevelSecurity);
    o.insert(QStringLiteral("policies"), QJsonArray::fromStringList(done.policies));
    out << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
    return ExitOk;
}

int ArchiveCommands::grant(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Makes the existing login role LOGIN_ROLE a member of hygra_operator (--as operator) or\n"
        "hygra_reader (--as reader), and no longer of the other one. Connects as the team\n"
        "archive's owner or a superuser; 'archive setup' creates the two groups."));
    parser.addPositionalArgument(QStringLiteral("LOGIN_ROLE"),
                                 QStringLiteral("The person's PostgreSQL login role."));
    const QCommandLineOption as(QStringLiteral("as"), QStringLiteral("operator or reader."),
                                QStringLiteral("GROUP"));
    parser.addOptions({as, adminUrlOption()});
    const int parsed = parseCommand(parser, arguments, 1, out, err);
    if (parsed >= 0)
        return parsed;
    const QString group = parser.value(as);
    if (group != QLatin1String("operator") && group != QLatin1String("reader"))
        return fail(ExitUsage, QStringLiteral("--as expects operator or reader"));
    const ArchiveRoles::Role role =
        group == QLatin1String("operator") ? ArchiveRoles::Operator : ArchiveRoles::Reader;
    const QString login = parser.positionalArguments().constFirst();
    ArchiveRoles roles;
    const int opened = openAdmin(parser, roles);
    if (opened != ExitOk)
        return opened;
    if (!roles.grant(login, role))
        return fail(ExitArchiveUnavailable, roles.errorText());
    QJsonObject o;
    o.insert(QStringLiteral("login"), login);
    o.insert(QStringLiteral("memberOf"), ArchiveRoles::roleName(role));
    o.insert(QStringLiteral("notMemberOf"),
             ArchiveRoles::roleName(role == ArchiveRoles::Operator ? ArchiveRoles::Reader
                                                                   : ArchiveRoles::Operator));
    out << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
    return ExitOk;
}
