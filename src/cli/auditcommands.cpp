// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/auditcommands.h"

#include "archive/archive.h"
#include "archive/auditlog.h"
#include "cli/archivecommands.h"
#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "core/settinginfo.h"
#include "export/audittrailexport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

namespace
{
// "2026-03-01" (from the start of that day) or "2026-03-01T08:30[:00]", in local time.
QDateTime parseLocal(const QString &text, bool endOfDay)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid())
        return QDateTime(endOfDay ? date.addDays(1) : date, QTime(0, 0), Qt::LocalTime).toUTC();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid())
        return QDateTime();
    return QDateTime(time.date(), time.time(), Qt::LocalTime).toUTC();
}

// "S:HASH", an entry a report printed.
bool parsePin(const QString &text, AuditHead *pin)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+):([0-9a-fA-F]{64})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    pin->seq = match.captured(1).toLongLong();
    pin->hash = match.captured(2).toLower();
    return pin->seq > 0;
}
} // namespace

AuditCommands::AuditCommands(QTextStream &out, QTextStream &err) : out(out), err(err) {}

bool AuditCommands::needsGui(const QStringList &arguments)
{
    return arguments.value(2) == QLatin1String("export") &&
           arguments.contains(QLatin1String("--pdf"));
}

int AuditCommands::run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.value(0) + QLatin1Char(' ') + command);
    if (command == QLatin1String("list"))
        return list(rest);
    if (command == QLatin1String("verify"))
        return verify(rest);
    if (command == QLatin1String("export"))
        return exportTrail(rest);
    const bool help = command == QLatin1String("--help") || command == QLatin1String("-h");
    QTextStream &stream = help ? out : err;
    if (!help)
        stream << "hygra-cli: unknown audit command '" << command << "'\n";
    stream << "Usage: hygra-cli audit COMMAND [--archive URL] [options]\n\n"
              "  list [--sha256 H] [--serial S] [--user U] [--kind K] [--from DATE] [--to DATE]\n"
              "                                        matching entries, one JSON line each\n"
              "  verify [--pin SEQ:HASH]               every hash and link of the trail\n"
              "  export (--csv OUT | --pdf OUT) [filters of list]\n"
              "                                        a printable trail with its verification\n";
    return help ? ExitOk : ExitUsage;
}

int AuditCommands::fail(int code, const QString &message)
{
    return printFailure(err, code, message);
}

int AuditCommands::parse(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.addOption(ArchiveCommands::archiveOption());
    return parseCommand(parser, arguments, 0, out, err);
}

int AuditCommands::open(const QCommandLineParser &parser, Archive &archive)
{
    ArchiveLocation location;
    QString why;
    if (!ArchiveLocation::choose(parser.value(QStringLiteral("archive")), dataDir(), &location,
                                 &why))
        return fail(ExitUsage, why);
    if (!archive.open(location))
        return fail(ExitArchiveUnavailable, archive.errorText());
    // Entries that waited on this computer for the archive go in first, so
    // that what is listed or verified is the whole trail.
    if (!AuditLog(location).appendWaiting(archive, &why))
        err << "hygra-cli: warning: audit entries still wait on this computer: " << why << '\n';
    return ExitOk;
}

void AuditCommands::addFilterOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("sha256"),
         QStringLiteral("Entries about the recording with this fingerprint."), QStringLiteral("H")},
        {QStringLiteral("serial"),
         QStringLiteral("Entries about the logger with this serial number."), QStringLiteral("S")},
        {QStringLiteral("user"), QStringLiteral("Entries of this login name."),
         QStringLiteral("U")},
        {QStringLiteral("kind"), QStringLiteral("Entries of this kind (download, export, …)."),
         QStringLiteral("K")},
        {QStringLiteral("from"),
         QStringLiteral(
             "Entries at or after DATE (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, local time)."),
         QStringLiteral("DATE")},
        {QStringLiteral("to"),
         QStringLiteral("Entries before the end of DATE (a day) or before DATE (a time)."),
         QStringLiteral("DATE")},
    });
}

int AuditCommands::readFilter(const QCommandLineParser &parser, AuditFilter *filter)
{
    filter->sha256 = parser.value(QStringLiteral("sha256"));
    filter->serial = parser.value(QStringLiteral("serial"));
    filter->user = parser.value(QStringLiteral("user"));
    filter->kind = parser.value(QStringLiteral("kind"));
    for (const bool end : {false, true}) {
        const QString key = QLatin1String(end ? "to" : "from");
        if (!parser.isSet(key))
            continue;
        const QDateTime time = parseLocal(parser.value(key), end);
        if (!time.isValid())
            return fail(ExitUsage, QStringLiteral("--%1 expects YYYY-MM-DD[THH:MM:SS]").arg(key));
        (end ? filter->to : filter->from) = time;
    }
    return -1;
}

int AuditCommands::readEntries(const QCommandLineParser &parser, Archive &archive,
                               QVector<AuditEntry> *entries)
{
    AuditFilter filter;
    if (const int invalid = readFilter(parser, &filter); invalid >= 0)
        return invalid;
    if (const int opened = open(parser, archive))
        return opened;
    *entries = archive.auditEntries(filter);
    if (!archive.errorText().isEmpty())
        return fail(ExitArchiveUnavailable, archive.errorText());
    return -1;
}

int AuditCommands::list(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the audit trail's entries that match every filter given, in the trail's\n"
        "order, one JSON object per line with its \"hash\": the lower-case hex SHA-256 of the\n"
        "entry without \"hash\", serialised with sorted keys, no white space and non-ASCII\n"
        "characters as themselves. Each entry's \"prev\" is the hash of the entry before."));
    addFilterOptions(parser);
    const int parsed = parse(parser, arguments);
    if (parsed >= 0)
        return parsed;
    Archive archive;
    QVector<AuditEntry> entries;
    if (const int failed = readEntries(parser, archive, &entries); failed >= 0)
        return failed;
    for (const AuditEntry &entry : qAsConst(entries))
        out << QString::fromUtf8(audit::canonicalJson(audit::toJson(entry))) << '\n';
    return ExitOk;
}

int AuditCommands::verify(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Recomputes the hash of every entry of the audit trail and its link to the entry\n"
        "before, and checks that the newest entry this computer appended or verified, and\n"
        "each entry given with --pin (as a report prints it), is still there unchanged.\n"
        "Exits 0 only when the chain is whole; otherwise names the first entry that breaks it."));
    const QCommandLineOption pinOption(
        QStringLiteral("pin"),
        QStringLiteral("An entry that must be in the trail, as a report prints it (SEQ:HASH)."),
        QStringLiteral("SEQ:HASH"));
    parser.addOption(pinOption);
    const int parsed = parse(parser, arguments);
    if (parsed >= 0)
        return parsed;
    QVector<AuditHead> pins;
    for (const QString &text : parser.values(pinOption)) {
        AuditHead pin;
        if (!parsePin(text, &pin))
            return fail(ExitUsage, QStringLiteral("--pin expects SEQ:HASH (64 hex digits)"));
        pins.append(pin);
    }
    Archive archive;
    if (const int opened = open(parser, archive))
        return opened;
    const AuditVerdict verdict = AuditLog(archive.location()).verify(archive, pins);
    if (!verdict.readable)
        return fail(ExitArchiveUnavailable, verdict.problem);
    if (!verdict.whole)
        return fail(ExitAuditBroken,
                    QStringLiteral("the audit trail does not verify: %1").arg(verdict.problem));
    out << QStringLiteral("the audit trail verifies: %1 %2")
               .arg(verdict.entries)
               .arg(QLatin1String(verdict.entries == 1 ? "entry" : "entries"));
    if (verdict.lastSeq > 0)
        out << QStringLiteral(", the newest %1 with hash %2")
                   .arg(verdict.lastSeq)
                   .arg(verdict.lastHash);
    out << '\n';
    return ExitOk;
}

int AuditCommands::exportTrail(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the audit trail's entries that match every filter given as a CSV file or a\n"
        "printable PDF, with the verdict of checking the whole trail and the fingerprint of\n"
        "the export: the SHA-256 of the entries' lines as 'audit list' prints them."));
    const QCommandLineOption csvOption(
        QStringLiteral("csv"), QStringLiteral("Write the CSV file OUT."), QStringLiteral("OUT"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("Write the PDF OUT."),
                                       QStringLiteral("OUT"));
    parser.addOptions({csvOption, pdfOption});
    addFilterOptions(parser);
    const int parsed = parse(parser, arguments);
    if (parsed >= 0)
        return parsed;
    if (parser.isSet(csvOption) == parser.isSet(pdfOption))
        return fail(ExitUsage, QStringLiteral("give exactly one of --csv OUT and --pdf OUT"));
    Archive archive;
    AuditTrailExport trail;
    if (const int failed = readEntries(parser, archive, &trail.entries); failed >= 0)
        return failed;
    const AuditVerdict verdict = AuditLog(archive.location()).verify(archive);
    trail.verification = AuditTrailTexts::verdictText(verdict);
    trail.head = {verdict.lastSeq, verdict.lastHash};
    QStringList shown;
    for (const char *key : {"sha256", "serial", "user", "kind", "from", "to"}) {
        if (parser.isSet(QLatin1String(key)))
            shown << QStringLiteral("%1 %2").arg(QLatin1String(key),
                                                 parser.value(QLatin1String(key)));
    }
    trail.filter = shown.join(QStringLiteral(", "));
    const bool pdf = parser.isSet(pdfOption);
    const QString target = parser.value(pdf ? pdfOption : csvOption);
    QString error;
    const bool written = pdf ? audittrailexport::writePdf(target, trail, isEnglish(), &error)
                             : audittrailexport::writeCsv(target, trail, &error);
    if (!written)
        return fail(ExitCannotWrite, cannotWriteText(target, error));
    out << QDir::toNativeSeparators(target) << '\n';
    if (!verdict.whole)
        return fail(verdict.readable ? ExitAuditBroken : ExitArchiveUnavailable,
                    QStringLiteral("the audit trail does not verify: %1").arg(verdict.problem));
    return ExitOk;
}
