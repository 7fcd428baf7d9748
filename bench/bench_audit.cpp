// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the audit trail on SQLite: one action's append as the program makes it (waiting
// entries, the append, the pin of the newest entry), and verifying a trail of a million entries.
#include "archive/archive.h"
#include "archive/auditlog.h"
#include "benchregistry.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

namespace
{
constexpr int appends = 1000;
constexpr int verifiedEntries = 1000000;

AuditEntry downloadLike(int n)
{
    AuditEntry entry =
        audit::event(QStringLiteral("download"),
                     {{QStringLiteral("model"), QStringLiteral("HX20D")},
                      {QStringLiteral("serial"), QStringLiteral("H2B0012345")},
                      {QStringLiteral("file"),
                       QStringLiteral("HX20D_20261210_%1.data").arg(n, 6, 10, QLatin1Char('0'))},
                      {QStringLiteral("samples"), 64512},
                      {QStringLiteral("firstSample"), QStringLiteral("2026-11-01T08:00:00")},
                      {QStringLiteral("lastSample"), QStringLiteral("2026-12-10T08:00:00")}});
    entry.serial = QStringLiteral("H2B0012345");
    entry.sha256 = QString(64, QLatin1Char('a'));
    return entry;
}

void append(const FigurePrinter &print)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    const ArchiveLocation where = ArchiveLocation::local(dir.path());
    Archive archive;
    if (!archive.open(where))
        return;
    AuditLog log(where);
    QVector<double> times;
    QString error;
    QElapsedTimer timer;
    for (int n = 0; n < appends; ++n) {
        timer.start();
        if (!log.record(&archive, downloadLike(n), &error))
            return;
        times << timer.nsecsElapsed() / 1e6;
    }
    print(QStringLiteral("audit_append_ms"), median(times), QStringLiteral("ms"));
}

// Writes the chain straight into the table in one transaction, as a long
// history would have appended it entry by entry.
bool fillTrail(const QString &file)
{
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(file);
        if (db.open() && db.transaction()) {
            QSqlQuery q(db);
            q.prepare(
                QStringLiteral("INSERT INTO audit_trail (seq, time, user_name, computer, kind,"
                               " sha256, serial, details, reason, prev, hash)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            QString prev = audit::firstPrev();
            ok = true;
            for (int n = 1; ok && n <= verifiedEntries; ++n) {
                AuditEntry entry = downloadLike(n);
                entry.seq = n;
                entry.user = QStringLiteral("alice (Alice Meier)");
                entry.computer = QStringLiteral("ward3-pc");
                entry.prev = prev;
                const QByteArray details = audit::canonicalJson(entry.details);
                entry.hash = audit::hashOf(audit::canonicalEntry(entry, details));
                prev = entry.hash;
                for (const QVariant &value :
                     {QVariant(entry.seq), QVariant(entry.time), QVariant(entry.user),
                      QVariant(entry.computer), QVariant(entry.kind), QVariant(entry.sha256),
                      QVariant(entry.serial), QVariant(QString::fromUtf8(details)), QVariant(),
                      QVariant(entry.prev), QVariant(entry.hash)})
                    q.addBindValue(value);
                ok = q.exec();
            }
            ok = ok && db.commit();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

void verify(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const ArchiveLocation where = ArchiveLocation::local(dir.path());
    {
        Archive schema;
        if (!schema.open(where))
            return;
    }
    if (!fillTrail(where.filePath))
        return;
    Archive archive;
    if (!archive.open(where))
        return;
    QElapsedTimer timer;
    timer.start();
    const AuditVerdict verdict = archive.verifyAudit();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (verdict.whole && verdict.entries == verifiedEntries)
        print(QStringLiteral("audit_verify_1000000_ms"), ms, QStringLiteral("ms"));
}

void auditFigures(const FigurePrinter &print)
{
    append(print);
    verify(print);
}

const bool registered = registerFigureGroup("audit", &auditFigures);
} // namespace
