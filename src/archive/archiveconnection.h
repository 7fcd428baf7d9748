// SPDX-License-Identifier: GPL-3.0-or-later
// What an open archive connection is besides its tables: how a team
// connection is secured, passwords typed for this run, and SQLite's lower().
#pragma once

#include "archive/archivelocation.h"

#include <QMetaType>
#include <QSqlDatabase>
#include <QString>

struct ArchiveSecurity {
    // Whether the connection is a team archive's at all.
    bool team = false;
    bool encrypted = false;
    // "TLSv1.3" and the like.
    QString protocol;
    // The server certificate's subject, when encrypted.
    QString certificate;
    // Whether libpq checked that certificate against a CA (sslmode verify-ca
    // or verify-full) and, with verify-full, the host name too.
    bool caChecked = false;
    bool hostChecked = false;
    // The CA file it was checked against ("" for libpq's default ~/.postgresql/root.crt).
    QString caFile;
};
Q_DECLARE_METATYPE(ArchiveSecurity)

struct sqlite3;

namespace archiveconnection
{
// Points the PostgreSQL connection `db` at `location`: host, port, database,
// user, the password given or typed for it, and every other libpq parameter.
void configure(QSqlDatabase &db, const ArchiveLocation &location);
// The security of the open connection `db`; `team` false for SQLite.
ArchiveSecurity securityOf(const QSqlDatabase &db);
// Makes SQL's LOWER() on the open SQLite connection lower-case every letter as
// Qt does (SQLite's own knows only A–Z), so that searches ignore case as on
// PostgreSQL. False when the driver's handle is not SQLite's.
bool lendLowerCase(const QSqlDatabase &db);
// The SQLite connection under the open `db`, or null when it is not SQLite's:
// for reading a million rows without a QVariant per value.
sqlite3 *sqliteHandle(const QSqlDatabase &db);
// A password typed for `location` in this run, kept in memory only.
void rememberPassword(const ArchiveLocation &location, const QString &password);
QString rememberedPassword(const ArchiveLocation &location);
// Whether a failed connection's `reason` is the server asking for a password.
bool wantsPassword(const QString &reason);
} // namespace archiveconnection
