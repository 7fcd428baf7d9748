// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewSigner: an electronic signature of a recording, after asking the signer's password again.
#pragma once

#include "recording/recordingreview.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

class Archive;

// The signer is who acts through the archive: the operating-system account on
// a local archive, whose password PAM checks (service "hygra"); the login role
// on a team archive, whose password opens a fresh connection to the server.
// Every failed attempt is a `signature-failed` entry of the trail; three wrong
// passwords in a row lock signing for that login for five minutes.
class ReviewSigner
{
public:
    struct Outcome {
        enum Kind {
            Signed,
            WrongPassword,
            // Signing is locked for the login until `lockedUntil`.
            Locked,
            // The meaning may not be signed now (unknown, not allowed to the
            // role, or overruling a standing approval or rejection); `text` says why.
            Refused,
            // The password could not be checked or the entry not appended.
            Failed,
        };
        Kind kind = Failed;
        QString text;
        QDateTime lockedUntil;
        // After a wrong password: how many more lock signing.
        int triesLeft = 0;
        // The signature appended, with its seq and hash.
        ReviewSignature signature;
    };

    explicit ReviewSigner(Archive &archive);
    // The clock that locks and unlocks signing; the system's by default.
    void setClock(const std::function<QDateTime()> &now) { clock = now; }

    // Who would sign: the login name, and the printed full name (the
    // account's full name, or a team role's comment; the login without one).
    QString login();
    QString printedName();

    // Signs the recording `sha256` (of the logger `serial`) with `meaning` and
    // an optional comment (a revoke's reason, which it needs), once
    // `password` is the signer's; `reason` goes into the entries as a
    // command's --reason does.
    Outcome sign(const QString &sha256, const QString &serial, const QString &meaning,
                 const QString &comment, const QByteArray &password, const QString &reason = {});

private:
    // Appends the `signature-failed` entry of an attempt.
    void recordFailure(const QString &sha256, const QString &serial, const QString &meaning,
                       const QString &error, const QString &reason);
    // The meaning's refusal, or an empty text.
    QString refusal(const QString &sha256, const QString &meaning, const QString &comment);
    // Until when the login may not sign; invalid when it may, or with `failed`
    // set when the trail cannot be read. `wrongInARow` as review::lockedUntil's.
    QDateTime lockedUntil(bool *failed, int *wrongInARow = nullptr);

    Archive &archive;
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTimeUtc(); };
};
