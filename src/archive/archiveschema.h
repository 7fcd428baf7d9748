// SPDX-License-Identifier: GPL-3.0-or-later
// The archive's tables, created and migrated by the program, the same on SQLite and PostgreSQL.
#pragma once

#include <QString>

class QSqlDatabase;

namespace archiveschema
{
// The version this program writes; an archive of a newer version is not touched.
constexpr int currentVersion = 6;

// Begins a transaction that will write. SQLite takes the write lock at once
// (waiting out the busy timeout), since a transaction that read first cannot
// write after another connection committed. False with the engine's reason
// in `error`.
bool beginWrite(QSqlDatabase &db, QString *error);

// Reads the stored version without writing and migrates only an older (or
// empty) archive, so a current one opens with nothing but reads: read-only
// files and roles that may only read open too. False with the reason in `error`.
bool prepare(QSqlDatabase &db, QString *error);

// Brings the open database to `currentVersion` inside one transaction, so two
// computers that open a new team archive at once cannot half-create it.
// Returns false with a message in `error` when it cannot, and the engine's
// code of the failure in `code` when given.
bool migrate(QSqlDatabase &db, QString *error, QString *code = nullptr);
} // namespace archiveschema
