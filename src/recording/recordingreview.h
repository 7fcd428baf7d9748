// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingReview: the comments and electronic signatures of one recording, read from its trail.
#pragma once

#include "core/auditentry.h"
#include <QStringList>

#include <QDateTime>
#include <QString>
#include <QVector>

// A reason and a corrective action for the whole recording or one of its
// excursions, or a note typed on the summary page. Never changed: a later
// comment follows an earlier one.
struct ReviewComment {
    qint64 seq = 0;
    // The entry's UTC time, "yyyy-MM-ddTHH:mm:ss.zzzZ".
    QString time;
    // The login name of who wrote it.
    QString user;
    // The wall-clock start of the excursion it explains ("2026-12-09T08:00:00"),
    // empty for the whole recording.
    QString excursion;
    QString reason;
    QString action;
    // A free note about the recording, apart from the logger's own note.
    QString note;
};

// One electronic signature: who signed, when, and what it means.
struct ReviewSignature {
    qint64 seq = 0;
    // The hash of its trail entry, which a report pins.
    QString hash;
    // The entry's UTC time, "yyyy-MM-ddTHH:mm:ss.zzzZ".
    QString time;
    QString login;
    QString printedName;
    // "reviewed", "approved", "rejected", an owner's own meaning, or "revoke".
    QString meaning;
    // How the meaning is printed, in English and in Chinese, as the archive's
    // owner named it; empty when the archive was not asked.
    QString title;
    QString titleZh;
    // The signer's optional comment; a revoke's reason.
    QString comment;
};

struct RecordingReview {
    // The fingerprint of the recording the entries name; a report prints a
    // review only beside the recording it belongs to.
    QString sha256;
    QVector<ReviewComment> comments;
    QVector<ReviewSignature> signatures;

    // The `comment` and `signature` entries among `entries` that name
    // `sha256`, in the trail's order.
    static RecordingReview fromTrail(const QString &sha256, const QVector<AuditEntry> &entries);
    bool isEmpty() const { return comments.isEmpty() && signatures.isEmpty(); }
    // Any signature other than a revoke.
    bool isSigned() const;
    // The meaning of the newest signature that is not a revoke and was not
    // revoked, or an empty text.
    QString standingMeaning() const;
};

namespace review
{
// The entries' kinds.
inline const QString commentKind = QStringLiteral("comment");
inline const QString signatureKind = QStringLiteral("signature");
inline const QString signatureFailedKind = QStringLiteral("signature-failed");
// The meaning of a signature that withdraws a final one.
inline const QString revokeMeaning = QStringLiteral("revoke");

// The `signature` entry of a recording (by its fingerprint and serial).
AuditEntry signatureEntry(const QString &sha256, const QString &serial,
                          const ReviewSignature &signature);

// Why a signature of `meaning` may not follow `current`, or an empty text:
// once a final meaning (one of `finals`) stands, another meaning needs a
// revoke first, and a revoke needs a final meaning standing.
QString refusal(const RecordingReview &current, const QString &meaning,
                const QStringList &finals);

// How many wrong passwords in a row lock signing, and for how long.
constexpr int attemptsBeforeLock = 3;
constexpr int lockSeconds = 5 * 60;
// The error of a `signature-failed` entry for a wrong password, and for an
// attempt refused because signing was locked.
inline const QString wrongPassword = QStringLiteral("wrong password");
inline const QString lockedError = QStringLiteral("locked");

// Until when signing is locked for `login`, from its `signature` and
// `signature-failed` entries in the trail's order: three wrong passwords in
// a row lock it for five minutes from the third; a signature ends a row.
// Invalid when it is not locked at `now`; `wrongInARow` tells how many
// wrong passwords since the last lock or signature.
QDateTime lockedUntil(const QVector<AuditEntry> &entries, const QString &login,
                      const QDateTime &now, int *wrongInARow = nullptr);
} // namespace review
