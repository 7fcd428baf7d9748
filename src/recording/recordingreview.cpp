// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingReview: the comments and electronic signatures of one recording, read from its trail.
#include "recording/recordingreview.h"

#include "recording/recordingaudit.h"

#include <QJsonValue>

namespace
{
const QString commentKind = QStringLiteral("comment");
const QString signatureKind = QStringLiteral("signature");
const QString failedKind = QStringLiteral("signature-failed");

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

RecordingReview RecordingReview::fromTrail(const QVector<AuditEntry> &entries)
{
    RecordingReview review;
    for (const AuditEntry &entry : entries) {
        const QJsonObject &d = entry.details;
        if (entry.kind == commentKind) {
            review.comments.append({entry.seq, entry.time, loginOf(entry.user),
                                    text(d, "excursion"), text(d, "reason"), text(d, "action"),
                                    text(d, "note")});
        } else if (entry.kind == signatureKind) {
            review.signatures.append({entry.seq, entry.hash, entry.time, text(d, "login"),
                                      text(d, "name"), text(d, "meaning"), text(d, "comment")});
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

AuditEntry commentEntry(const LoadedRecording &recording, const QString &excursion,
                        const QString &reason, const QString &action)
{
    return recordingaudit::about(commentKind, recording,
                                 {{QStringLiteral("excursion"), nullable(excursion)},
                                  {QStringLiteral("reason"), reason},
                                  {QStringLiteral("action"), nullable(action)}});
}

AuditEntry noteEntry(const LoadedRecording &recording, const QString &note)
{
    return recordingaudit::about(commentKind, recording, {{QStringLiteral("note"), note}});
}

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
                      const QDateTime &now)
{
    int wrongInARow = 0;
    QDateTime until;
    for (const AuditEntry &entry : entries) {
        if (text(entry.details, "login") != login)
            continue;
        const QDateTime at = QDateTime::fromString(entry.time, Qt::ISODateWithMs);
        if (entry.kind == signatureKind) {
            wrongInARow = 0;
        } else if (entry.kind == failedKind && text(entry.details, "error") == wrongPassword &&
                   !(until.isValid() && at < until)) {
            if (++wrongInARow == attemptsBeforeLock) {
                until = at.addSecs(lockSeconds);
                wrongInARow = 0;
            }
        }
    }
    return until.isValid() && now < until ? until : QDateTime();
}

} // namespace review
