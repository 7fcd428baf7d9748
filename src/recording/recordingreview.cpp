// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingReview: the comments and electronic signatures of one recording, read from its trail.
#include "recording/recordingreview.h"

#include <QJsonValue>

namespace
{
QString text(const QJsonObject &details, const char *key)
{
    return details.value(QLatin1String(key)).toString();
}

QJsonValue nullable(const QString &value)
{
    return value.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

// The login of an entry's user text "alice (Alice Meier)".
QString loginOf(const QString &user)
{
    const int open = user.indexOf(QLatin1String(" ("));
    return open < 0 ? user : user.left(open);
}
} // namespace

RecordingReview RecordingReview::fromTrail(const QString &sha256,
                                           const QVector<AuditEntry> &entries)
{
    using namespace review;
    RecordingReview review;
    review.sha256 = sha256;
    for (const AuditEntry &entry : entries) {
        const QJsonObject &d = entry.details;
        if (entry.sha256 != sha256)
            continue;
        if (entry.kind == commentKind) {
            review.comments.append({entry.seq, entry.time, loginOf(entry.user),
                                    text(d, "excursion"), text(d, "reason"), text(d, "action"),
                                    text(d, "note")});
        } else if (entry.kind == signatureKind) {
            ReviewSignature signature;
            signature.seq = entry.seq;
            signature.hash = entry.hash;
            signature.time = entry.time;
            signature.login = text(d, "login");
            signature.printedName = text(d, "name");
            signature.meaning = text(d, "meaning");
            signature.comment = text(d, "comment");
            review.signatures.append(signature);
        }
    }
    return review;
}

bool RecordingReview::isSigned() const
{
    for (const ReviewSignature &signature : signatures) {
        if (signature.meaning != review::revokeMeaning)
            return true;
    }
    return false;
}

QString RecordingReview::standingMeaning() const
{
    for (auto it = signatures.crbegin(); it != signatures.crend(); ++it) {
        if (it->meaning == review::revokeMeaning)
            return {};
        return it->meaning;
    }
    return {};
}

namespace review
{

AuditEntry signatureEntry(const QString &sha256, const QString &serial,
                          const ReviewSignature &signature)
{
    AuditEntry entry = audit::event(signatureKind,
                                    {{QStringLiteral("login"), signature.login},
                                     {QStringLiteral("name"), signature.printedName},
                                     {QStringLiteral("meaning"), signature.meaning},
                                     {QStringLiteral("comment"), nullable(signature.comment)}});
    entry.sha256 = sha256;
    entry.serial = serial;
    return entry;
}

QString refusal(const RecordingReview &current, const QString &meaning, const QStringList &finals)
{
    const QString standing = current.standingMeaning();
    const bool finalStands = finals.contains(standing);
    if (meaning == revokeMeaning) {
        return finalStands ? QString()
                           : QStringLiteral("there is no approval or rejection to revoke");
    }
    if (finalStands && meaning != standing) {
        return QStringLiteral("the recording is signed as %1: revoke that signature, with a "
                              "reason, before signing it as %2")
            .arg(standing, meaning);
    }
    return {};
}

QDateTime lockedUntil(const QVector<AuditEntry> &entries, const QString &login,
                      const QDateTime &now, int *wrongInARowOut)
{
    int wrongInARow = 0;
    QDateTime until;
    for (const AuditEntry &entry : entries) {
        if (text(entry.details, "login") != login)
            continue;
        const QDateTime at = QDateTime::fromString(entry.time, Qt::ISODateWithMs);
        if (entry.kind == signatureKind) {
            wrongInARow = 0;
        } else if (entry.kind == signatureFailedKind && text(entry.details, "error") == wrongPassword &&
                   !(until.isValid() && at < until)) {
            if (++wrongInARow == attemptsBeforeLock) {
                until = at.addSecs(lockSeconds);
                wrongInARow = 0;
            }
        }
    }
    if (wrongInARowOut)
        *wrongInARowOut = wrongInARow;
    return until.isValid() && now < until ? until : QDateTime();
}

} // namespace review
