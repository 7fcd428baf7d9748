// SPDX-License-Identifier: GPL-3.0-or-later
// ArchiveRoles: the database owner's set-up of a team archive's group roles, their rights and
// row-level security.
#pragma once

#include "archive/archivelocation.h"

#include <QMap>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// The people of a team connect with their own login roles, each a member of
// hygra_operator (adds entries, keeps its own places) or hygra_reader (reads
// only). The statements live in one SQL file that also ships for psql.
class ArchiveRoles
{
public:
    enum Role { Operator, Reader };

    // What setUp() found and left.
    struct Setup {
        // The schema version before; -1 when the archive had no tables.
        int versionBefore = -1;
        int version = 0;
        QStringList createdRoles;
        // Group role -> table -> its privileges, as the server holds them afterwards.
        QMap<QString, QMap<QString, QStringList>> rights;
        bool rowLevelSecurity = false;
        QStringList policies;
    };

    ArchiveRoles();
    ~ArchiveRoles();
    ArchiveRoles(const ArchiveRoles &) = delete;
    ArchiveRoles &operator=(const ArchiveRoles &) = delete;

    // Connects to a team archive as its owner or a superuser; false with
    // errorText() for a SQLite file, an unreachable server or a role of fewer rights.
    bool open(const ArchiveLocation &location);
    QString errorText() const { return error; }

    // Creates or migrates the schema, then the roles, rights and policies,
    // idempotently, in one transaction.
    bool setUp(Setup *done);
    // Makes the existing login role `login` a member of `role`'s group and of
    // no other group of the archive.
    bool grant(const QString &login, Role role);

    static QString roleName(Role role);
    // The SQL file's text.
    static QString script();
    // The statements of a script: split at semicolons outside quotes,
    // dollar-quoted bodies and line comments, which are dropped.
    static QStringList statements(const QString &script);

private:
    QSqlDatabase database() const;
    bool fail(const QString &text);
    // Runs `sql`; false with the server's reason.
    bool exec(const QString &sql);
    bool readState(Setup *done);

    QString connectionName;
    ArchiveLocation where;
    QString error;
};
