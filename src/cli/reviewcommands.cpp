// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewCommands: `hygra-cli comment`, `review` and `signatures`, a recording's review.
#include "cli/reviewcommands.h"

#include "archive/archive.h"
#include "archive/reviewsigner.h"
#include "cli/archivecommands.h"
#include "cli/auditrecorder.h"
#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "cli/passwordinput.h"
#include "cli/reviewlists.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingaudit.h"
#include "recording/recordingreader.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

namespace
{
QJsonValue nullable(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonObject signatureJson(const ReviewSignature &s)
{
    return {{QStringLiteral("seq"), s.seq},
            {QStringLiteral("hash"), s.hash},
            {QStringLiteral("time"), s.time},
            {QStringLiteral("login"), s.login},
            {QStringLiteral("name"), s.printedName},
            {QStringLiteral("meaning"), s.meaning},
            {QStringLiteral("title"), nullable(s.title)},
            {QStringLiteral("title_zh"), nullable(s.titleZh)},
            {QStringLiteral("comment"), nullable(s.comment)}};
}

QJsonObject commentJson(const ReviewComment &c)
{
    return {{QStringLiteral("seq"), c.seq},
            {QStringLiteral("time"), c.time},
            {QStringLiteral("user"), c.user},
            {QStringLiteral("excursion"), nullable(c.excursion)},
            {QStringLiteral("reason"), nullable(c.reason)},
            {QStringLiteral("action"), nullable(c.action)},
            {QStringLiteral("note"), nullable(c.note)}};
}

const QCommandLineOption reasonTextOption(QStringLiteral("reason"),
                                          QStringLiteral("Why it happened (the comment's reason)."),
                                          QStringLiteral("TEXT"));
} // namespace

ReviewCommands::ReviewCommands(QTextStream &out, QTextStream &err) : out(out), err(err) {}

int ReviewCommands::parse(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.addPositionalArgument(
        QStringLiteral("FILE|SHA256"),
        QStringLiteral("The recording file (added to the archive when it is not there) or the "
                       "fingerprint of an archived recording."));
    parser.addOption(ArchiveCommands::archiveOption());
    return parseCommand(parser, arguments, 1, out, err);
}

int ReviewCommands::fail(int code, const QString &message)
{
    return printFailure(err, code, message);
}

int ReviewCommands::openRecording(const QCommandLineParser &parser, Archive &archive,
                                  LoadedRecording *recording)
{
    ArchiveLocation location;
    QString why;
    if (!ArchiveCommands::locate(parser.value(QStringLiteral("archive")), &location, &why))
        return fail(ExitUsage, why);
    if (!archive.open(location))
        return fail(ExitArchiveUnavailable, archive.errorText());
    const QString named = parser.positionalArguments().constFirst();
    static const QRegularExpression fingerprint(QStringLiteral("^[0-9a-fA-F]{64}$"));
    if (QFileInfo(named).isFile() || !fingerprint.match(named).hasMatch()) {
        *recording = RecordingReader::read(named);
        if (!recording->ok() || recording->sha256.isEmpty())
            return fail(ExitNotRecording,
                        QStringLiteral("%1 is not a recording file that can be read").arg(named));
        const Archive::Outcome added = archive.addFile(named);
        if (added.kind != Archive::Outcome::Added && added.kind != Archive::Outcome::Known)
            return fail(ExitArchiveUnavailable,
                        QStringLiteral("cannot add %1 to the archive: %2").arg(named, added.reason));
    } else {
        *recording = archive.load(named.toLower());
        if (!recording->ok())
            return fail(ExitNotArchived, archive.errorText());
    }
    if (!recording->evaluation) {
        const EvaluationSettings chosen = archive.evaluationSettings(recording->recording.sn);
        if (chosen.isSet())
            recording->evaluation = ChosenEvaluation{chosen.low, chosen.high,
                                                     chosen.activationEnergyKJ};
    }
    if (!archive.review(recording->sha256, &recording->review))
        return fail(ExitArchiveUnavailable, archive.errorText());
    return -1;
}

int ReviewCommands::comment(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Adds a comment to a recording's review in the archive's audit trail: why it\n"
        "happened and what was done, for the whole recording or, with --excursion, for the\n"
        "excursion that starts at START (as 'show' prints it, e.g. 2026-12-09T08:00:00).\n"
        "A comment is never changed; a later one follows it. Prints the entry as JSON."));
    const QCommandLineOption excursionOption(
        QStringLiteral("excursion"), QStringLiteral("The start of the excursion it explains."),
        QStringLiteral("START"));
    const QCommandLineOption actionOption(QStringLiteral("action"),
                                          QStringLiteral("The corrective action taken."),
                                          QStringLiteral("TEXT"));
    parser.addOptions({excursionOption, reasonTextOption, actionOption});
    const int parsed = parse(parser, arguments);
    if (parsed >= 0)
        return parsed;
    const QString reason = parser.value(reasonTextOption).trimmed();
    if (reason.isEmpty())
        return fail(ExitUsage, QStringLiteral("give --reason TEXT"));
    Archive archive;
    LoadedRecording recording;
    const int opened = openRecording(parser, archive, &recording);
    if (opened >= 0)
        return opened;
    const QString excursion = parser.value(excursionOption).trimmed();
    if (!excursion.isEmpty()) {
        QStringList starts;
        for (const Excursion &e : RecordingAnalysis::of(recording).excursions)
            starts << recordingaudit::sampleTimeText(e.start);
        if (!starts.contains(excursion))
            return fail(ExitUsage,
                        starts.isEmpty()
                            ? QStringLiteral("the recording has no excursion")
                            : QStringLiteral("no excursion starts at %1; they start at %2")
                                  .arg(excursion, starts.join(QLatin1String(", "))));
    }
    AuditEntry entry = recordingaudit::comment(recording, excursion, reason,
                                               parser.value(actionOption).trimmed());
    if (!archive.appendAudit(entry))
        return fail(ExitArchiveUnavailable, archive.errorText());
    out << QJsonDocument(audit::toJson(entry)).toJson(QJsonDocument::Compact) << '\n';
    return ExitOk;
}

int ReviewCommands::review(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Signs a recording electronically: the signature names the signer's login and\n"
        "full name, the time and the meaning, and goes into the archive's audit trail.\n"
        "The password is asked every time: the operating-system account's on a local\n"
        "archive, the database login's on a team archive. Three wrong passwords in a row\n"
        "lock signing for five minutes. Once a recording is approved or rejected, another\n"
        "meaning needs --meaning revoke with a --comment giving the reason first.\n"
        "Exit code 21: the signature was refused (wrong password, locked, or a meaning\n"
        "not allowed now)."));
    const QCommandLineOption meaningOption(
        QStringLiteral("meaning"),
        QStringLiteral("reviewed, approved, rejected, another meaning the archive's owner "
                       "set up, or revoke."),
        QStringLiteral("MEANING"));
    const QCommandLineOption commentOption(
        QStringLiteral("comment"), QStringLiteral("A comment; a revoke's reason."),
        QStringLiteral("TEXT"));
    parser.addOptions({meaningOption, commentOption, passwordinput::fdOption(),
                       AuditRecorder::reasonOption()});
    const int parsed = parse(parser, arguments);
    if (parsed >= 0)
        return parsed;
    const QString meaning = parser.value(meaningOption).trimmed().toLower();
    if (meaning.isEmpty())
        return fail(ExitUsage, QStringLiteral("give --meaning MEANING"));
    Archive archive;
    LoadedRecording recording;
    const int opened = openRecording(parser, archive, &recording);
    if (opened >= 0)
        return opened;
    ReviewSigner signer(archive);
    QByteArray password;
    QString why;
    if (!passwordinput::read(parser,
                             QStringLiteral("Password of %1 to sign as %2: ")
                                 .arg(signer.login(), meaning),
                             &password, &why))
        return fail(ExitUsage, why);
    const ReviewSigner::Outcome outcome =
        signer.sign(recording.sha256, recording.recording.sn, meaning,
                    parser.value(commentOption), password,
                    parser.value(AuditRecorder::reasonOption().names().constFirst()));
    password.fill('\0');
    switch (outcome.kind) {
    case ReviewSigner::Outcome::Signed:
        out << QJsonDocument(signatureJson(outcome.signature)).toJson(QJsonDocument::Compact)
            << '\n';
        return ExitOk;
    case ReviewSigner::Outcome::WrongPassword:
        return fail(ExitNotSigned, QStringLiteral("%1 (%2 more before signing locks)")
                                       .arg(outcome.text)
                                       .arg(outcome.triesLeft));
    case ReviewSigner::Outcome::Locked:
    case ReviewSigner::Outcome::Refused:
        return fail(ExitNotSigned, outcome.text);
    case ReviewSigner::Outcome::Failed:
        break;
    }
    return fail(ExitArchiveUnavailable, outcome.text);
}

int ReviewCommands::signatures(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints a recording's review as JSON: its signatures (seq, hash, time in UTC,\n"
        "login, name, meaning, title, comment) in order, the meaning that stands\n"
        "(null when none), and its comments."));
    const int parsed = parse(parser, arguments);
    if (parsed >= 0)
        return parsed;
    Archive archive;
    LoadedRecording recording;
    const int opened = openRecording(parser, archive, &recording);
    if (opened >= 0)
        return opened;
    QJsonArray signatures;
    for (const ReviewSignature &s : recording.review.signatures)
        signatures.append(signatureJson(s));
    QJsonArray comments;
    for (const ReviewComment &c : recording.review.comments)
        comments.append(commentJson(c));
    out << jsonText({{QStringLiteral("sha256"), recording.sha256},
                     {QStringLiteral("serial"), recording.recording.sn},
                     {QStringLiteral("standing"), nullable(recording.review.standingMeaning())},
                     {QStringLiteral("signatures"), signatures},
                     {QStringLiteral("comments"), comments}});
    return ExitOk;
}

int ReviewCommands::lists(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the archive's review lists as JSON: the reasons and corrective actions a\n"
        "comment is chosen from, and the meanings a signature can have (which are final,\n"
        "which readers may sign). With --set FILE.json, replaces the lists the file names\n"
        "(\"reasons\", \"actions\", \"meanings\", in the printed form); only the archive's\n"
        "owner may. Each change is a settings-change entry of the audit trail."));
    const QCommandLineOption setOption(QStringLiteral("set"),
                                       QStringLiteral("The lists to keep from now on."),
                                       QStringLiteral("FILE.json"));
    parser.addOptions({ArchiveCommands::archiveOption(), setOption, AuditRecorder::reasonOption()});
    const int parsed = parseCommand(parser, arguments, 0, out, err);
    if (parsed >= 0)
        return parsed;
    ArchiveLocation location;
    QString why;
    Archive archive;
    if (!ArchiveCommands::locate(parser.value(QStringLiteral("archive")), &location, &why))
        return fail(ExitUsage, why);
    if (!archive.open(location))
        return fail(ExitArchiveUnavailable, archive.errorText());
    const auto read = [&archive](ReviewLists *lists) {
        lists->reasons = archive.reviewChoices(ReviewChoice::Reason);
        lists->actions = archive.reviewChoices(ReviewChoice::Action);
        lists->meanings = archive.signatureMeanings();
        return archive.errorText().isEmpty();
    };
    ReviewLists before;
    if (!read(&before))
        return fail(ExitArchiveUnavailable, archive.errorText());
    if (parser.isSet(setOption)) {
        QFile file(parser.value(setOption));
        if (!file.open(QIODevice::ReadOnly))
            return fail(ExitFileNotReadable, QStringLiteral("cannot read %1: %2")
                                                 .arg(file.fileName(), file.errorString()));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        ReviewLists after = before;
        if (!document.isObject())
            return fail(ExitUsage, QStringLiteral("%1 is no JSON object: %2")
                                       .arg(file.fileName(), error.errorString()));
        if (!reviewlists::fromJson(document.object(), &after, &why))
            return fail(ExitUsage, QStringLiteral("%1: %2").arg(file.fileName(), why));
        AuditRecorder audit(err);
        audit.configure(parser);
        const QString missing = audit.missingReason(QStringLiteral("review-lists --set"));
        if (!missing.isEmpty())
            return fail(ExitUsage, missing);
        const QJsonObject old = reviewlists::toJson(before);
        const QJsonObject changed = reviewlists::toJson(after);
        QJsonObject details;
        for (const QString &key : changed.keys()) {
            if (old.value(key) != changed.value(key))
                details.insert(QStringLiteral("review.") + key,
                               QJsonObject{{QStringLiteral("old"), old.value(key)},
                                           {QStringLiteral("new"), changed.value(key)}});
        }
        const bool ok =
            (after.reasons == before.reasons ||
             archive.setReviewChoices(ReviewChoice::Reason, after.reasons)) &&
            (after.actions == before.actions ||
             archive.setReviewChoices(ReviewChoice::Action, after.actions)) &&
            (after.meanings == before.meanings || archive.setSignatureMeanings(after.meanings));
        if (!details.isEmpty() || !ok)
            audit.record(ok ? audit::event(QStringLiteral("settings-change"), details)
                            : audit::failed(QStringLiteral("settings-change"), archive.errorText(),
                                            details),
                         &archive);
        if (!ok)
            return fail(ExitArchiveUnavailable, archive.errorText());
        if (!read(&before))
            return fail(ExitArchiveUnavailable, archive.errorText());
    }
    out << jsonText(reviewlists::toJson(before));
    return ExitOk;
}

void ReviewCommands::attachReview(const QString &url, LoadedRecording *recording, QTextStream &err)
{
    ArchiveLocation location;
    QString why;
    Archive archive;
    if (!ArchiveCommands::locate(url, &location, &why) || !archive.open(location) ||
        !archive.review(recording->sha256, &recording->review)) {
        err << "hygra-cli: warning: the archive's review of the recording cannot be read, so "
               "the report shows no comments or signatures: "
            << (why.isEmpty() ? archive.errorText() : why) << '\n';
        recording->review = {};
    }
}

int ReviewCommands::checkReportSignatures(const QString &url, const QString &sha256,
                                          const ReportMetadata &report, QString *problem)
{
    ArchiveLocation location;
    Archive archive;
    if (!ArchiveCommands::locate(url, &location, problem))
        return ExitUsage;
    RecordingReview review;
    if (!archive.open(location) || !archive.review(sha256, &review)) {
        *problem = QStringLiteral("the report names signatures, and the archive that holds them "
                                  "cannot be read: %1")
                       .arg(archive.errorText());
        return ExitArchiveUnavailable;
    }
    const qint64 head = report.auditEntry.toLongLong();
    QVector<ReportMetadata::Signature> expected;
    for (const ReviewSignature &s : review.signatures) {
        if (head <= 0 || s.seq <= head)
            expected.append({s.seq, s.hash, s.login, s.printedName, s.time, s.meaning});
    }
    if (expected == report.signatures)
        return ExitOk;
    for (const ReportMetadata::Signature &s : report.signatures) {
        const bool known = std::any_of(expected.cbegin(), expected.cend(), [&](const auto &e) {
            return e == s;
        });
        if (!known) {
            *problem = QStringLiteral("the report names a signature (entry %1, %2 as %3) that "
                                      "the archive's trail does not hold for this recording")
                           .arg(s.seq)
                           .arg(s.name, s.meaning);
            return ExitReportAltered;
        }
    }
    *problem = QStringLiteral("the report leaves out signatures of this recording that the "
                              "archive's trail held when it was written");
    return ExitReportAltered;
}
