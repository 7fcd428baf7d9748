// SPDX-License-Identifier: GPL-3.0-or-later
// The archive's tables, created and migrated by the program, the same on SQLite and PostgreSQL.
#pragma once

#include <QString>

class QSqlDatabase;

namespace archiveschema
{
// The version this program writes; an archive of a newer version is not touched.
constexpr int currentVersion = 2;

// Begins a transaction that will write. SQLite takes the write lock at once
// (waiting out the busy timeout), since a transaction that read first cannot
// write after another connection committed.
bool beginWrite(QSqlDatabase &db);

// Brings the open database to `currentVersion` inside one transaction, so two
// computers that open a new team archive at once cannot half-create it.
// Returns false with a message in `error` when it cannot.
bool migrate(QSqlDatabase &db, QString *error);
} // namespace archiveschema
