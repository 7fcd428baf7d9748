// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewSigner: an electronic signature of a recording, after asking the signer's password again.
#include "archive/reviewsigner.h"

#include "archive/archive.h"
#include "archive/signerpassword.h"

#include <algorithm>

ReviewSigner::ReviewSigner(Archive &archive) : archive(archive) {}

QString ReviewSigner::login()
{
    const QString user = archive.auditUser();
    const int open = user.indexOf(QLatin1String(" ("));
    return open < 0 ? user : user.left(open);
}

QString ReviewSigner::printedName()
{
    const QString name = archive.printedName();
    return name.isEmpty() ? login() : name;
}

void ReviewSigner::recordFailure(const QString &sha256, const QString &serial,
                                 const QString &meaning, const QString &error,
                                 const QString &reason)
{
    AuditEntry entry = audit::failed(
        QStringLiteral("signature"), error,
        {{QStringLiteral("login"), login()}, {QStringLiteral("meaning"), meaning}});
    entry.sha256 = sha256;
    entry.serial = serial;
    entry.reason = reason;
    archive.appendAudit(entry);
}

QDateTime ReviewSigner::lockedUntil(bool *failed, int *wrongInARow)
{
    AuditFilter filter;
    filter.user = login();
    const QVector<AuditEntry> entries = archive.auditEntries(filter);
    *failed = !archive.errorText().isEmpty();
    return review::lockedUntil(entries, login(), clock(), wrongInARow);
}

QString ReviewSigner::refusal(const QString &sha256, const QString &meaning,
                              const QString &comment)
{
    if (archive.entry(sha256).sha256.isEmpty())
        return archive.errorText().isEmpty()
                   ? QStringLiteral("the archive holds no recording %1: import it first").arg(sha256)
                   : archive.errorText();
    const QVector<SignatureMeaning> meanings = archive.signatureMeanings();
    if (!archive.errorText().isEmpty())
        return archive.errorText();
    const bool revoke = meaning == review::revokeMeaning;
    const auto known = std::find_if(meanings.cbegin(), meanings.cend(),
                                    [&](const SignatureMeaning &m) { return m.meaning == meaning; });
    if (!revoke && known == meanings.cend()) {
        QStringList names;
        for (const SignatureMeaning &m : meanings)
            names << m.meaning;
        names << review::revokeMeaning;
        return QStringLiteral("there is no meaning \"%1\" (the archive knows %2)")
            .arg(meaning, names.join(QLatin1String(", ")));
    }
    if (revoke && comment.trimmed().isEmpty())
        return QStringLiteral("a revoke needs a reason: give it as the comment");
    if (archive.actsAsReader() && (revoke || !known->readerMaySign))
        return QStringLiteral("%1 may only sign as readers may, and the archive's owner did not "
                              "allow readers to sign as %2")
            .arg(login(), meaning);
    RecordingReview current;
    if (!archive.review(sha256, &current))
        return archive.errorText();
    QStringList finals;
    for (const SignatureMeaning &m : meanings) {
        if (m.final)
            finals << m.meaning;
    }
    return review::refusal(current, meaning, finals);
}

ReviewSigner::Outcome ReviewSigner::sign(const QString &sha256, const QString &serial,
                                         const QString &meaning, const QString &comment,
                                         const QByteArray &password, const QString &reason)
{
    Outcome outcome;
    const QString who = login();
    if (who.isEmpty()) {
        outcome.text = archive.errorText();
        return outcome;
    }
    bool unreadable = false;
    outcome.lockedUntil = lockedUntil(&unreadable);
    if (unreadable) {
        outcome.text = archive.errorText();
        return outcome;
    }
    if (outcome.lockedUntil.isValid()) {
        recordFailure(sha256, serial, meaning, review::lockedError, reason);
        outcome.kind = Outcome::Locked;
        outcome.text = QStringLiteral("signing is locked for %1 after %2 wrong passwords, until %3")
                           .arg(who)
                           .arg(review::attemptsBeforeLock)
                           .arg(outcome.lockedUntil.toLocalTime().toString(Qt::ISODate));
        return outcome;
    }
    outcome.text = refusal(sha256, meaning, comment);
    if (!outcome.text.isEmpty()) {
        recordFailure(sha256, serial, meaning, outcome.text, reason);
        outcome.kind = Outcome::Refused;
        return outcome;
    }
    QString why;
    const signerpassword::Verdict verdict =
        archive.location().isTeamArchive()
            ? signerpassword::checkTeamRole(archive.location(), who, password, &why)
            : signerpassword::checkAccount(who, password, &why);
    if (verdict != signerpassword::Verdict::Correct) {
        const bool wrong = verdict == signerpassword::Verdict::Wrong;
        recordFailure(sha256, serial, meaning, wrong ? review::wrongPassword : why, reason);
        if (!wrong) {
            outcome.text = why;
            return outcome;
        }
        int wrongInARow = 0;
        outcome.lockedUntil = lockedUntil(&unreadable, &wrongInARow);
        outcome.kind = outcome.lockedUntil.isValid() ? Outcome::Locked : Outcome::WrongPassword;
        outcome.triesLeft = outcome.lockedUntil.isValid() ? 0
                                                          : review::attemptsBeforeLock - wrongInARow;
        outcome.text = outcome.lockedUntil.isValid()
                           ? QStringLiteral("wrong password; signing is now locked for %1 until %2")
                                 .arg(who, outcome.lockedUntil.toLocalTime().toString(Qt::ISODate))
                           : QStringLiteral("wrong password for %1").arg(who);
        return outcome;
    }
    ReviewSignature signature{0, {}, {}, who, printedName(), meaning, {}, {}, comment.trimmed()};
    AuditEntry entry = review::signatureEntry(sha256, serial, signature);
    entry.reason = reason;
    if (!archive.appendAudit(entry)) {
        outcome.text = archive.errorText();
        return outcome;
    }
    signature.seq = entry.seq;
    signature.hash = entry.hash;
    signature.time = entry.time;
    outcome.kind = Outcome::Signed;
    outcome.text.clear();
    outcome.signature = signature;
    return outcome;
}
