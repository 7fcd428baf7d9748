// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveschema.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace archiveschema
{
namespace
{
// The steps from version i to i + 1; "%BLOB%" is the engine's type for bytes.
QStringList stepTo(int version)
{
    switch (version) {
    case 1:
        return {
            QStringLiteral("CREATE TABLE recordings ("
                           " sha256 VARCHAR(64) PRIMARY KEY,"
                           " model INTEGER NOT NULL,"
                           " serial TEXT NOT NULL,"
                           " name TEXT NOT NULL,"
                           " note TEXT NOT NULL,"
                           " start_time BIGINT NOT NULL,"
                           " stop_time BIGINT NOT NULL,"
                           " interval_s BIGINT NOT NULL,"
                           " samples INTEGER NOT NULL,"
                           " temp_unit INTEGER NOT NULL,"
                           " has_humidity INTEGER NOT NULL,"
                           " alarm INTEGER NOT NULL,"
                           " out_of_range INTEGER NOT NULL,"
                           " mkt DOUBLE PRECISION,"
                           " time_above BIGINT NOT NULL,"
                           " time_below BIGINT NOT NULL,"
                           " temp_min DOUBLE PRECISION,"
                           " temp_max DOUBLE PRECISION,"
                           " temp_mean DOUBLE PRECISION,"
                           " hum_min DOUBLE PRECISION,"
                           " hum_max DOUBLE PRECISION,"
                           " hum_mean DOUBLE PRECISION,"
                           " added_at BIGINT NOT NULL,"
                           " added_by TEXT NOT NULL,"
                           " content %BLOB%)"),
            QStringLiteral("CREATE INDEX recordings_serial ON recordings (serial, start_time)"),
            QStringLiteral("CREATE INDEX recordings_start ON recordings (start_time)"),
            // Where a file lies, per computer: one content may lie in several places.
            QStringLiteral("CREATE TABLE locations ("
                           " host TEXT NOT NULL,"
                           " path TEXT NOT NULL,"
                           " sha256 VARCHAR(64) NOT NULL REFERENCES recordings (sha256),"
                           " size BIGINT NOT NULL,"
                           " mtime BIGINT NOT NULL,"
                           " PRIMARY KEY (host, path))"),
            QStringLiteral("CREATE INDEX locations_sha256 ON locations (sha256)"),
        };
    case 2:
        // The samples each file's header promises; entries of older programs read as complete.
        return {QStringLiteral("ALTER TABLE recordings"
                               " ADD COLUMN expected_samples INTEGER NOT NULL DEFAULT 0")};
    default:
        return {};
    }
}

bool run(QSqlDatabase &db, const QString &statement, QString *error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    *error = query.lastError().text();
    return false;
}

// -1 when the table is missing.
int storedVersion(QSqlDatabase &db)
{
    if (!db.tables().contains(QStringLiteral("schema_version")))
        return -1;
    QSqlQuery query(QStringLiteral("SELECT MAX(version) FROM schema_version"), db);
    return query.next() ? query.value(0).toInt() : 0;
}
} // namespace

bool beginWrite(QSqlDatabase &db)
{
    if (db.driverName() != QLatin1String("QSQLITE"))
        return db.transaction();
    QSqlQuery begin(db);
    return begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

bool migrate(QSqlDatabase &db, QString *error)
{
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    if (!beginWrite(db)) {
        *error = db.lastError().text();
        return false;
    }
    // Serialises two programs creating the same team archive at once.
    if (postgres && !run(db, QStringLiteral("SELECT pg_advisory_xact_lock(4849)"), error)) {
        db.rollback();
        return false;
    }
    int version = storedVersion(db);
    if (version > currentVersion) {
        db.rollback();
        *error = QStringLiteral("the archive was written by a newer program (schema version %1)")
                     .arg(version);
        return false;
    }
    bool ok = true;
    if (version < 0) {
        ok = run(db, QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
                 error) &&
             run(db, QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"), error);
        version = 0;
    }
    const QString blob = QLatin1String(postgres ? "BYTEA" : "BLOB");
    for (int next = version + 1; ok && next <= currentVersion; ++next) {
        for (QString statement : stepTo(next)) {
            ok = ok && run(db, statement.replace(QLatin1String("%BLOB%"), blob), error);
        }
        ok = ok && run(db, QStringLiteral("UPDATE schema_version SET version = %1").arg(next),
                       error);
    }
    if (ok && db.commit())
        return true;
    if (ok)
        *error = db.lastError().text();
    db.rollback();
    return false;
}
} // namespace archiveschema
