// SPDX-License-Identifier: GPL-3.0-or-later
// The audit trail kept in the archive: appending entries, listing and verifying them.
#include "archive/archive.h"

#include "archive/archiveconnection.h"
#include "archive/archiveschema.h"
#include "core/osaccount.h"

#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <openssl/sha.h>
#include <sqlite3.h>

namespace
{
// Tries of an append that lost its seq to another writer.
constexpr int appendAttempts = 20;
// The advisory lock that serialises appends on a team archive.
const QLatin1String appendLock("SELECT pg_advisory_xact_lock(4850)");

const QLatin1String columns("seq, time, user_name, computer, kind, sha256, serial, details,"
                            " reason, prev, hash");

// A null text binds as NULL, an empty one as "" (both engines, both Qt versions).
QVariant nullable(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

QString nullableText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

// The hashed fields of a row of `columns`, `bytes(i)` giving column i's text.
template <typename Bytes> AuditEntryText rowOf(qint64 seq, const Bytes &bytes)
{
    AuditEntryText entry;
    entry.seq = seq;
    entry.time = bytes(1);
    entry.user = bytes(2);
    entry.computer = bytes(3);
    entry.kind = bytes(4);
    entry.sha256 = bytes(5);
    entry.serial = bytes(6);
    entry.details = bytes(7);
    entry.reason = bytes(8);
    entry.prev = bytes(9);
    return entry;
}

// Steps through `select` on SQLite's own connection, each value's bytes
// handed over without a copy; false with `error` when it cannot be read, or
// without when `visit` stopped.
bool readSqliteRows(sqlite3 *connection, const QString &select,
                    const std::function<bool(const AuditEntryText &, const QByteArray &)> &visit,
                    QString *error)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(connection, select.toUtf8().constData(), -1, &statement, nullptr) !=
        SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(connection));
        return false;
    }
    const auto bytes = [statement](int column) {
        if (sqlite3_column_type(statement, column) == SQLITE_NULL)
            return QByteArray();
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return size > 0 ? QByteArray::fromRawData(text, size) : QByteArray("");
    };
    int step = SQLITE_ROW;
    bool going = true;
    while (going && (step = sqlite3_step(statement)) == SQLITE_ROW) {
        going = visit(rowOf(sqlite3_column_int64(statement, 0), bytes), bytes(10));
    }
    const bool read = !going || step == SQLITE_DONE;
    if (!read)
        *error = QString::fromUtf8(sqlite3_errmsg(connection));
    sqlite3_finalize(statement);
    return read && going;
}

// Whether the SHA-256 of `canonical` is `hexHash`: OpenSSL's, several times
// faster than Qt's on a trail of a million entries.
bool matchesHash(const QByteArray &canonical, const QByteArray &hexHash)
{
    static const char hex[] = "0123456789abcdef";
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char *>(canonical.constData()), size_t(canonical.size()),
           digest);
    if (hexHash.size() != 2 * SHA256_DIGEST_LENGTH)
        return false;
    for (int i = 0; i < SHA256_DIGEST_LENGTH; ++i) {
        if (hexHash.at(2 * i) != hex[digest[i] >> 4] ||
            hexHash.at(2 * i + 1) != hex[digest[i] & 0xf])
            return false;
    }
    return true;
}

bool retryableAppend(const QSqlError &error)
{
    // A unique key taken by another writer, a serialization failure or a deadlock.
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("23505") || code == QLatin1String("40001") ||
           code == QLatin1String("40P01") || code == QLatin1String("5") ||
           code == QLatin1String("1555") || code == QLatin1String("19");
}

AuditEntry entryOf(const QSqlQuery &q, QByteArray *detailsText)
{
    AuditEntry entry;
    entry.seq = q.value(0).toLongLong();
    entry.time = q.value(1).toString();
    entry.user = q.value(2).toString();
    entry.computer = q.value(3).toString();
    entry.kind = q.value(4).toString();
    entry.sha256 = nullableText(q.value(5));
    entry.serial = nullableText(q.value(6));
    *detailsText = q.value(7).toString().toUtf8();
    entry.reason = nullableText(q.value(8));
    entry.prev = q.value(9).toString();
    entry.hash = q.value(10).toString();
    return entry;
}
} // namespace

QString Archive::auditUser()
{
    if (!auditName.isEmpty())
        return auditName;
    if (!where.isTeamArchive()) {
        auditName = osAccountName();
        return auditName;
    }
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    if (q.exec(QStringLiteral("SELECT session_user")) && q.next())
        auditName = q.value(0).toString();
    else
        fail(q.lastError().text());
    return auditName;
}

bool Archive::appendAudit(AuditEntry &entry)
{
    const QString problem = audit::detailsProblem(entry.details);
    if (!problem.isEmpty())
        return fail(QStringLiteral("an audit entry's details hold no fractions: %1").arg(problem));
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.isOpen())
        return fail(QStringLiteral("the archive is not open"));
    entry.user = auditUser();
    if (entry.user.isEmpty())
        return false;
    entry.computer = computer;
    const QByteArray details = audit::canonicalJson(entry.details);
    const bool postgres = where.isTeamArchive();
    for (int attempt = 0; attempt < appendAttempts; ++attempt) {
        QString why;
        if (!archiveschema::beginWrite(db, &why))
            return fail(why);
        QSqlQuery q(db);
        bool ok = !postgres || q.exec(appendLock);
        ok = ok &&
             q.exec(QStringLiteral("SELECT seq, hash FROM audit_trail ORDER BY seq DESC LIMIT 1"));
        if (ok) {
            const bool any = q.next();
            entry.seq = any ? q.value(0).toLongLong() + 1 : 1;
            entry.prev = any ? q.value(1).toString() : audit::firstPrev();
            entry.hash = audit::hashOf(audit::canonicalEntry(entry, details));
            q.prepare(QStringLiteral("INSERT INTO audit_trail (%1)"
                                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                          .arg(columns));
            for (const QVariant &value :
                 {QVariant(entry.seq), QVariant(entry.time), QVariant(entry.user),
                  QVariant(entry.computer), QVariant(entry.kind), nullable(entry.sha256),
                  nullable(entry.serial), QVariant(QString::fromUtf8(details)),
                  nullable(entry.reason), QVariant(entry.prev), QVariant(entry.hash)})
                q.addBindValue(value);
            ok = q.exec();
        }
        if (ok && db.commit())
            return true;
        const QSqlError failure = q.lastError().isValid() ? q.lastError() : db.lastError();
        db.rollback();
        if (!retryableAppend(failure))
            return fail(failure.text().trimmed());
    }
    return fail(QStringLiteral("another writer kept the audit trail busy"));
}

QVector<AuditEntry> Archive::auditEntries(const AuditFilter &filter)
{
    QStringList conditions;
    QVariantList values;
    const auto require = [&](const QString &condition, const QVariantList &bound) {
        conditions << condition;
        values << bound;
    };
    if (!filter.sha256.isEmpty())
        require(QStringLiteral("sha256 = ?"), {filter.sha256.toLower()});
    if (!filter.serial.isEmpty())
        require(QStringLiteral("serial = ?"), {filter.serial});
    if (!filter.user.isEmpty()) {
        // The login name matches "login (Full Name)" too.
        const QString prefix = filter.user + QStringLiteral(" (");
        require(QStringLiteral("(user_name = ? OR substr(user_name, 1, ?) = ?)"),
                {filter.user, prefix.size(), prefix});
    }
    if (!filter.kind.isEmpty())
        require(QStringLiteral("kind = ?"), {filter.kind});
    if (filter.from.isValid())
        require(QStringLiteral("time >= ?"), {audit::timeText(filter.from)});
    if (filter.to.isValid())
        require(QStringLiteral("time < ?"), {audit::timeText(filter.to)});
    QString sql = QStringLiteral("SELECT %1 FROM audit_trail").arg(columns);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QLatin1String(filter.limit > 0 ? " ORDER BY seq DESC LIMIT ?" : " ORDER BY seq");
    if (filter.limit > 0)
        values << filter.limit;
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    QVector<AuditEntry> entries;
    if (!q.exec()) {
        fail(q.lastError().text());
        return entries;
    }
    while (q.next()) {
        QByteArray details;
        AuditEntry entry = entryOf(q, &details);
        entry.details = QJsonDocument::fromJson(details).object();
        entries.append(entry);
    }
    if (filter.limit > 0)
        std::reverse(entries.begin(), entries.end());
    return entries;
}

bool Archive::auditHead(AuditHead *head)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    if (!q.exec(QStringLiteral("SELECT seq, hash FROM audit_trail ORDER BY seq DESC LIMIT 1")))
        return fail(q.lastError().text());
    const bool any = q.next();
    head->seq = any ? q.value(0).toLongLong() : 0;
    head->hash = any ? q.value(1).toString() : audit::firstPrev();
    return true;
}

QString Archive::auditHash(qint64 seq)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral("SELECT hash FROM audit_trail WHERE seq = ?"));
    q.addBindValue(seq);
    if (!q.exec()) {
        fail(q.lastError().text());
        return QString();
    }
    return q.next() ? q.value(0).toString() : QString();
}

AuditVerdict Archive::verifyAudit(const QVector<AuditHead> &pinned)
{
    AuditVerdict verdict;
    const auto broken = [&verdict](qint64 seq, const QString &problem) {
        verdict.whole = false;
        verdict.badSeq = seq;
        verdict.problem = problem;
        return false;
    };
    // The pins by seq, checked as the scan passes them.
    QVector<AuditHead> pins = pinned;
    std::sort(pins.begin(), pins.end(),
              [](const AuditHead &a, const AuditHead &b) { return a.seq < b.seq; });
    int nextPin = 0;
    while (nextPin < pins.size() && pins.at(nextPin).seq <= 0)
        ++nextPin;
    qint64 expected = 1;
    QByteArray prevHash = audit::firstPrev().toLatin1();
    QByteArray canonical;
    const auto check = [&](const AuditEntryText &entry, const QByteArray &hash) {
        if (entry.seq != expected) {
            if (expected == 1)
                return broken(1, QStringLiteral("the trail begins at entry %1: entries 1 to %2 "
                                                "are missing")
                                     .arg(entry.seq)
                                     .arg(entry.seq - 1));
            return broken(expected, QStringLiteral("entry %1 is missing (the trail goes from "
                                                   "entry %2 to entry %3)")
                                        .arg(expected)
                                        .arg(expected - 1)
                                        .arg(entry.seq));
        }
        canonical.resize(0);
        audit::appendCanonicalEntry(canonical, entry);
        if (!matchesHash(canonical, hash))
            return broken(entry.seq, QStringLiteral("entry %1 does not match its hash: it was "
                                                    "changed after it was written")
                                         .arg(entry.seq));
        if (entry.prev != prevHash)
            return broken(entry.seq,
                          entry.seq == 1
                              ? QStringLiteral("entry 1 does not begin a trail: it links to "
                                               "an earlier entry, so the trail was cut")
                              : QStringLiteral("entry %1 does not follow entry %2: an entry "
                                               "was inserted, removed or moved before it")
                                    .arg(entry.seq)
                                    .arg(entry.seq - 1));
        for (; nextPin < pins.size() && pins.at(nextPin).seq == entry.seq; ++nextPin) {
            if (hash != pins.at(nextPin).hash.toLatin1())
                return broken(entry.seq, QStringLiteral("entry %1 is not the entry seen before "
                                                        "(hash %2): the trail was rewritten or "
                                                        "cut and restarted")
                                             .arg(entry.seq)
                                             .arg(pins.at(nextPin).hash));
        }
        // A copy: the bytes of a row read from SQLite last only until the next row.
        prevHash = QByteArray(hash.constData(), hash.size());
        ++expected;
        return true;
    };
    QString readError;
    if (!readAuditRows(check, &readError)) {
        if (!readError.isEmpty()) {
            verdict.readable = verdict.whole = false;
            verdict.problem = readError;
            fail(readError);
        }
        return verdict;
    }
    verdict.entries = verdict.lastSeq = expected - 1;
    verdict.lastHash = QString::fromLatin1(prevHash);
    if (nextPin < pins.size())
        broken(pins.at(nextPin).seq,
               QStringLiteral("entry %1, seen before with hash %2, is gone: the trail "
                              "ends at entry %3, so it was cut and restarted or shortened")
                   .arg(pins.at(nextPin).seq)
                   .arg(pins.at(nextPin).hash)
                   .arg(verdict.lastSeq));
    return verdict;
}

bool Archive::readAuditRows(
    const std::function<bool(const AuditEntryText &, const QByteArray &)> &visit, QString *error)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    const QString select = QStringLiteral("SELECT %1 FROM audit_trail ORDER BY seq").arg(columns);
    if (sqlite3 *connection = archiveconnection::sqliteHandle(db))
        return readSqliteRows(connection, select, visit, error);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(select)) {
        *error = q.lastError().text().trimmed();
        return false;
    }
    const auto bytes = [&q](int column) {
        const QVariant value = q.value(column);
        if (value.isNull())
            return QByteArray();
        const QByteArray text = value.toString().toUtf8();
        return text.isEmpty() ? QByteArray("") : text;
    };
    while (q.next()) {
        if (!visit(rowOf(q.value(0).toLongLong(), bytes), bytes(10)))
            return false;
    }
    if (q.lastError().isValid()) {
        *error = q.lastError().text().trimmed();
        return false;
    }
    return true;
}
