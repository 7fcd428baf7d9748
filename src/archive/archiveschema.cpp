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
// The steps from version i to i + 1; "%BLOB%" is the engine's type for bytes,
// "%LOGIN%" the column of the login role that wrote a row, "%SEQ%" the
// type of a 64-bit key (on SQLite the row id itself).
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
    case 3:
        // Whose row a place is, so that each login may change only its own.
        return {QStringLiteral("ALTER TABLE locations ADD COLUMN login %LOGIN%")};
    case 4:
        // The range and activation energy a user chose for a logger's evaluations.
        return {QStringLiteral("CREATE TABLE evaluation_settings ("
                               " serial TEXT PRIMARY KEY,"
                               " range_low DOUBLE PRECISION NOT NULL,"
                               " range_high DOUBLE PRECISION NOT NULL,"
                               " activation_energy DOUBLE PRECISION NOT NULL,"
                               " changed_at BIGINT NOT NULL)")};
    case 5:
        // Who did what and when, each entry chained to the one before by its hash.
        // Append-only: the engine refuses to change or remove an entry ("%GUARD%").
        return {QStringLiteral("CREATE TABLE audit_trail ("
                               " seq %SEQ% PRIMARY KEY,"
                               " time TEXT NOT NULL,"
                               " user_name TEXT NOT NULL,"
                               " computer TEXT NOT NULL,"
                               " kind TEXT NOT NULL,"
                               " sha256 VARCHAR(64),"
                               " serial TEXT,"
                               " details TEXT NOT NULL,"
                               " reason TEXT,"
                               " prev VARCHAR(64) NOT NULL,"
                               " hash VARCHAR(64) NOT NULL)"),
                QStringLiteral("CREATE INDEX audit_trail_sha256 ON audit_trail (sha256)"),
                QStringLiteral("%GUARD%")};
    case 6:
        // What a review chooses from: the texts of a comment's reason and
        // corrective action, and what a signature can mean. The owner keeps them.
        return {QStringLiteral("CREATE TABLE review_choices ("
                               " list TEXT NOT NULL,"
                               " position INTEGER NOT NULL,"
                               " text TEXT NOT NULL,"
                               " text_zh TEXT NOT NULL,"
                               " PRIMARY KEY (list, position))"),
                QStringLiteral(
                    "INSERT INTO review_choices (list, position, text, text_zh) VALUES"
                    " ('reason', 1, 'door left open', '门未关好'),"
                    " ('reason', 2, 'defrost cycle', '除霜周期'),"
                    " ('reason', 3, 'transport delay', '运输延误'),"
                    " ('reason', 4, 'power failure', '停电'),"
                    " ('reason', 5, 'loading or unloading', '装卸货物'),"
                    " ('reason', 6, 'sensor fault', '传感器故障'),"
                    " ('action', 1, 'product quarantined', '产品已隔离'),"
                    " ('action', 2, 'product released after stability assessment',"
                    " '经稳定性评估后放行产品'),"
                    " ('action', 3, 'product discarded', '产品已销毁'),"
                    " ('action', 4, 'logger replaced', '已更换记录仪'),"
                    " ('action', 5, 'no action needed', '无需处理')"),
                QStringLiteral("CREATE TABLE signature_meanings ("
                               " meaning TEXT PRIMARY KEY,"
                               " position INTEGER NOT NULL,"
                               " title TEXT NOT NULL,"
                               " title_zh TEXT NOT NULL,"
                               " reader_may_sign INTEGER NOT NULL,"
                               " is_final INTEGER NOT NULL)"),
                QStringLiteral("INSERT INTO signature_meanings"
                               " (meaning, position, title, title_zh, reader_may_sign, is_final)"
                               " VALUES ('reviewed', 1, 'Reviewed', '审核', 1, 0),"
                               " ('approved', 2, 'Approved', '批准', 0, 1),"
                               " ('rejected', 3, 'Rejected', '拒绝', 0, 1)"),
                // The list finds the signed recordings among all entries.
                QStringLiteral("CREATE INDEX audit_trail_kind ON audit_trail (kind)"),
                QStringLiteral("%GUARD%")};
    default:
        return {};
    }
}

// SQLite: no connection may change or remove an entry; whoever holds the file
// can drop the triggers, which `audit verify` then finds out by the hashes.
const QStringList sqliteGuard{
    QStringLiteral("CREATE TRIGGER audit_trail_no_update BEFORE UPDATE ON audit_trail"
                   " BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END"),
    QStringLiteral("CREATE TRIGGER audit_trail_no_delete BEFORE DELETE ON audit_trail"
                   " BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END"),
};

// PostgreSQL: only the table's owner may change, remove or truncate entries,
// and everyone else appends entries in the name of the role they logged in with.
const QStringList postgresGuard{
    QStringLiteral(
        "CREATE OR REPLACE FUNCTION hygra_audit_guard() RETURNS trigger LANGUAGE plpgsql AS $$\n"
        "BEGIN\n"
        "    IF pg_has_role(current_user,"
        " (SELECT relowner FROM pg_catalog.pg_class WHERE oid = TG_RELID), 'MEMBER') THEN\n"
        "        RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;\n"
        "    END IF;\n"
        "    IF TG_OP = 'INSERT' THEN\n"
        "        IF NEW.user_name <> session_user THEN\n"
        "            RAISE EXCEPTION 'an audit entry must name the role that logged in (%)',"
        " session_user USING ERRCODE = '42501';\n"
        "        END IF;\n"
        "        RETURN NEW;\n"
        "    END IF;\n"
        "    RAISE EXCEPTION 'the audit trail is append-only' USING ERRCODE = '42501';\n"
        "END\n"
        "$$"),
    QStringLiteral("CREATE TRIGGER audit_trail_guard BEFORE INSERT OR UPDATE OR DELETE"
                   " ON audit_trail FOR EACH ROW EXECUTE FUNCTION hygra_audit_guard()"),
    QStringLiteral("CREATE TRIGGER audit_trail_no_truncate BEFORE TRUNCATE"
                   " ON audit_trail FOR EACH STATEMENT EXECUTE FUNCTION hygra_audit_guard()"),
};

// PostgreSQL, from version 6 on: the guard also holds a reader role to the
// meanings the owner allowed readers to sign, whoever writes the entry.
const QString readerSignatureCheck = QStringLiteral(
    "        IF NEW.kind = 'signature'"
    " AND EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'hygra_reader')"
    " AND EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'hygra_operator') THEN\n"
    "            IF pg_has_role(session_user, 'hygra_reader', 'MEMBER')"
    " AND NOT pg_has_role(session_user, 'hygra_operator', 'MEMBER')"
    " AND NOT EXISTS (SELECT FROM signature_meanings WHERE reader_may_sign = 1"
    " AND meaning = NEW.details::json ->> 'meaning') THEN\n"
    "                RAISE EXCEPTION 'a reader may not sign as %',"
    " NEW.details::json ->> 'meaning' USING ERRCODE = '42501';\n"
    "            END IF;\n"
    "        END IF;\n");

// The statements of "%GUARD%" in the step to `version`.
QStringList guardOf(int version, bool postgres)
{
    if (version == 5)
        return postgres ? postgresGuard : sqliteGuard;
    if (!postgres)
        return {};
    QString function = postgresGuard.first();
    function.insert(function.indexOf(QLatin1String("        RETURN NEW;")), readerSignatureCheck);
    return {function};
}

// The engine's code of a failure for lack of rights.
const QLatin1String insufficientPrivilege("42501");

// `code` gets the engine's code of a failure.
bool run(QSqlDatabase &db, const QString &statement, QString *error, QString *code = nullptr)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    *error = query.lastError().text();
    if (code)
        *code = query.lastError().nativeErrorCode();
    return false;
}

// -1 when the table is missing, -2 with `error` when it cannot be read.
int storedVersion(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    // Asked of the engine, not of the driver's table list, so that a damaged
    // file reports why instead of reading as empty; a plain query of the
    // catalogue sees a table another program has just committed.
    const QString exists = QLatin1String(db.driverName() == QLatin1String("QPSQL")
                                             ? "SELECT COUNT(*) FROM pg_catalog.pg_tables"
                                               " WHERE schemaname = current_schema()"
                                               " AND tablename = 'schema_version'"
                                             : "SELECT COUNT(*) FROM sqlite_master"
                                               " WHERE type = 'table' AND name = 'schema_version'");
    if (!query.exec(exists) || !query.next()) {
        *error = query.lastError().text();
        return -2;
    }
    if (!query.value(0).toBool())
        return -1;
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version"))) {
        *error = query.lastError().text();
        return -2;
    }
    return query.next() ? query.value(0).toInt() : 0;
}

QString newerText(int version)
{
    return QStringLiteral("the archive was written by a newer program (schema version %1)")
        .arg(version);
}

// Why a role of fewer rights than the owner cannot bring `version` up to date.
QString ownerNeededText(int version, const QString &reason)
{
    const QString state =
        version < 0 ? QStringLiteral("the archive has no tables yet")
                    : QStringLiteral("the archive is at schema version %1").arg(version);
    return QStringLiteral("%1 and this program needs version %2, which only the database's "
                          "owner can make: ask the owner to run 'hygra-cli archive setup "
                          "--admin-url postgresql://OWNER@HOST/DATABASE' (%3)")
        .arg(state)
        .arg(currentVersion)
        .arg(reason.trimmed());
}
} // namespace

bool beginWrite(QSqlDatabase &db, QString *error)
{
    // Both engines begin by a statement of their own: the driver's transaction()
    // keeps the engine's reason from lastError() on PostgreSQL too.
    const bool sqlite = db.driverName() == QLatin1String("QSQLITE");
    QSqlQuery begin(db);
    if (begin.exec(QLatin1String(sqlite ? "BEGIN IMMEDIATE" : "BEGIN")))
        return true;
    *error = begin.lastError().text().trimmed();
    if (error->isEmpty())
        *error = db.lastError().text().trimmed();
    return false;
}

bool prepare(QSqlDatabase &db, QString *error)
{
    const int version = storedVersion(db, error);
    if (version == -2)
        return false;
    if (version > currentVersion) {
        *error = newerText(version);
        return false;
    }
    if (version == currentVersion)
        return true;
    QString code;
    if (migrate(db, error, &code))
        return true;
    if (code == insufficientPrivilege)
        *error = ownerNeededText(version, *error);
    return false;
}

bool migrate(QSqlDatabase &db, QString *error, QString *code)
{
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    if (!beginWrite(db, error))
        return false;
    // Serialises two programs creating the same team archive at once.
    if (postgres && !run(db, QStringLiteral("SELECT pg_advisory_xact_lock(4849)"), error)) {
        db.rollback();
        return false;
    }
    int version = storedVersion(db, error);
    if (version == -2 || version > currentVersion) {
        db.rollback();
        if (version > currentVersion)
            *error = newerText(version);
        return false;
    }
    bool ok = true;
    if (version < 0) {
        ok = run(db, QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
                 error, code) &&
             run(db, QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"), error,
                 code);
        version = 0;
    }
    const QString blob = QLatin1String(postgres ? "BYTEA" : "BLOB");
    // PostgreSQL fills in the connecting role itself; rows already there get the migrating owner.
    const QString login = QLatin1String(postgres ? "NAME NOT NULL DEFAULT current_user"
                                                 : "TEXT NOT NULL DEFAULT ''");
    for (int next = version + 1; ok && next <= currentVersion; ++next) {
        for (QString statement : stepTo(next)) {
            if (statement == QLatin1String("%GUARD%")) {
                for (const QString &guard : guardOf(next, postgres))
                    ok = ok && run(db, guard, error, code);
                continue;
            }
            statement.replace(QLatin1String("%BLOB%"), blob)
                .replace(QLatin1String("%LOGIN%"), login)
                .replace(QLatin1String("%SEQ%"), QLatin1String(postgres ? "BIGINT" : "INTEGER"));
            ok = ok && run(db, statement, error, code);
        }
        ok = ok && run(db, QStringLiteral("UPDATE schema_version SET version = %1").arg(next),
                       error, code);
    }
    if (ok && db.commit())
        return true;
    if (ok)
        *error = db.lastError().text();
    db.rollback();
    return false;
}
} // namespace archiveschema
