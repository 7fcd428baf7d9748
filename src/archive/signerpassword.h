// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a password is the signer's own: the operating-system account's, or a team role's.
#pragma once

#include "archive/archivelocation.h"

#include <QByteArray>
#include <QString>

namespace signerpassword
{
enum class Verdict {
    Correct,
    Wrong,
    // Nothing could say: PAM or the server failed, or the server let the
    // login in without asking for its password. `error` says why.
    CannotCheck,
};

// The PAM service whose file (/etc/pam.d/hygra) the package installs; a
// system without it falls back to PAM's "other", which Debian points at common-auth.
inline const char *const pamService = "hygra";

// Asks PAM whether `password` is the password of the account `login`.
Verdict checkAccount(const QString &login, const QByteArray &password, QString *error);
// Opens a connection of its own to the team archive at `location` as
// `login` with `password`, and closes it again.
Verdict checkTeamRole(const ArchiveLocation &location, const QString &login,
                      const QByteArray &password, QString *error);
} // namespace signerpassword
