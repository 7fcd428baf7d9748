// SPDX-License-Identifier: GPL-3.0-or-later
// The audit trail on both engines: canonical form, tampering found by the check, rights of the
// team archive's roles, concurrent writers, and entries that wait for an unreachable archive.
#include "archive/archive.h"
#include "archive/archiveroles.h"
#include "archive/auditlog.h"
#include "pgcluster.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace
{
AuditEntry numbered(int n)
{
    AuditEntry entry = audit::event(
        QStringLiteral("export"),
        {{QStringLiteral("file"), QStringLiteral("r%1.pdf").arg(n)}, {QStringLiteral("n"), n}});
    entry.serial = QStringLiteral("H2B%1").arg(n);
    return entry;
}

// Runs `sql` as the owner would with the engine's own tool or connection.
QString tamper(const ArchiveLocation &where, PgCluster &postgres, const QString &sql)
{
    if (where.isTeamArchive()) {
        QString error;
        return postgres.exec(sql, &error, where.database) ? QString() : error;
    }
    QProcess sqlite;
    // Whoever holds the file can drop the triggers that keep the program from rewriting it.
    sqlite.start(QStringLiteral("sqlite3"),
                 {where.filePath, QStringLiteral("DROP TRIGGER IF EXISTS audit_trail_no_update;"
                                                 "DROP TRIGGER IF EXISTS audit_trail_no_delete;") +
                                      sql});
    if (!sqlite.waitForFinished(30000) || sqlite.exitCode() != 0)
        return QString::fromUtf8(sqlite.readAllStandardError()) + sqlite.errorString();
    return QString();
}

QString sqlError(const ArchiveLocation &where, const QString &role, const QString &sql)
{
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "raw");
        db.setHostName(where.host);
        db.setPort(where.port);
        db.setDatabaseName(where.database);
        db.setUserName(role);
        QSqlQuery query(db);
        if (!db.open())
            error = db.lastError().text();
        else if (!query.exec(sql))
            error = query.lastError().text();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return error;
}
} // namespace

class TstAuditTrail : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void canonicalJsonAsPythonWritesIt_data();
    void canonicalJsonAsPythonWritesIt();
    void tamperingIsNamed_data();
    void tamperingIsNamed();
    void rolesCannotRewriteTheTrail();
    void concurrentWritersKeepOneChain_data();
    void concurrentWritersKeepOneChain();
    void unreachableArchiveQueuesWithOriginalTime();
    void filtersSelectEntries();

private:
    ArchiveLocation freshArchive(bool team);

    PgCluster postgres;
    QTemporaryDir folder;
    int archives = 0;
};

void TstAuditTrail::initTestCase()
{
    // The queue and pin files of this run, apart from the user's.
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    QString error;
    QVERIFY2(postgres.start(&error), qPrintable(error));
}

ArchiveLocation TstAuditTrail::freshArchive(bool team)
{
    const QString name = QStringLiteral("trail%1").arg(++archives);
    ArchiveLocation where;
    if (!team)
        return ArchiveLocation::local(folder.filePath(name));
    QString error;
    if (!postgres.createDatabase(name, &where, &error))
        qWarning("%s", qPrintable(error));
    return where;
}

void TstAuditTrail::canonicalJsonAsPythonWritesIt_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QByteArray>("canonical");
    // The expected texts are what Python's json.dumps(value, sort_keys=True,
    // separators=(",", ":"), ensure_ascii=False) writes.
    QTest::newRow("nested and sorted")
        << R"({"b":1,"a":[true,null,-5,{"z":"x","y":{}}]})"
        << QByteArray(R"({"a":[true,null,-5,{"y":{},"z":"x"}],"b":1})");
    QTest::newRow("non-ASCII as itself") << QString::fromUtf8(R"({"é":"ü","e":"中文","été":1})")
                                         << QByteArray(R"({"e":"中文","é":"ü","été":1})");
    QTest::newRow("escapes") << R"({"q":"say \"hi\"\\\n\r\t\b\f\u0001\u001f\u007f/"})"
                             << QByteArray("{\"q\":\"say \\\"hi\\\"\\\\\\n\\r\\t\\b\\f\\u0001"
                                           "\\u001f\x7f/\"}");
    QTest::newRow("keys by code point")
        << R"({"Z":0,"a":0,"_":0,"AA":0})" << QByteArray(R"({"AA":0,"Z":0,"_":0,"a":0})");
    QTest::newRow("beyond the basic plane")
        << QString::fromUtf8(R"({"emoji":"😀","😀":1,"\uffff":2})")
        << QByteArray("{\"emoji\":\"😀\",\"\xef\xbf\xbf\":2,\"😀\":1}");
    QTest::newRow("large integers") << R"({"n":9007199254740991,"m":-123456789012})"
                                    << QByteArray(R"({"m":-123456789012,"n":9007199254740991})");
}

void TstAuditTrail::canonicalJsonAsPythonWritesIt()
{
    QFETCH(QString, json);
    QFETCH(QByteArray, canonical);
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    QVERIFY(!object.isEmpty());
    QCOMPARE(audit::canonicalJson(object), canonical);
    // The entry's own fast form agrees with the general one.
    AuditEntry entry = numbered(1);
    entry.details = object;
    entry.reason = QString::fromUtf8("Grüße \"\n");
    entry.prev = audit::firstPrev();
    QJsonObject whole = audit::toJson(entry);
    whole.remove(QStringLiteral("hash"));
    QCOMPARE(audit::canonicalEntry(entry), audit::canonicalJson(whole));
}

void TstAuditTrail::tamperingIsNamed_data()
{
    QTest::addColumn<bool>("team");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("restartWith");
    QTest::addColumn<qint64>("badSeq");
    QTest::addColumn<QString>("problem");
    struct Case {
        const char *name;
        const char *sql;
        int restartWith;
        qint64 badSeq;
        const char *problem;
    };
    const Case cases[] = {
        {"one column edited",
         "UPDATE audit_trail SET details = '{\"file\":\"x.pdf\",\"n\":3}'"
         " WHERE seq = 3;",
         0, 3, "does not match its hash"},
        {"an entry deleted", "DELETE FROM audit_trail WHERE seq = 3;", 0, 3, "is missing"},
        {"the first entries deleted", "DELETE FROM audit_trail WHERE seq <= 2;", 0, 1,
         "begins at entry 3"},
        // Made room for by renumbering, the forged entry itself links correctly.
        {"an entry inserted",
         "UPDATE audit_trail SET seq = seq + 1000 WHERE seq >= 4;"
         "UPDATE audit_trail SET seq = seq - 999 WHERE seq >= 1000;"
         "INSERT INTO audit_trail SELECT 4, time, user_name, computer, kind, sha256, serial,"
         " details, reason, hash, '%FORGED%' FROM audit_trail WHERE seq = 3;",
         0, 5, "does not match its hash"},
        {"two entries swapped",
         "UPDATE audit_trail SET seq = -3 WHERE seq = 3;"
         "UPDATE audit_trail SET seq = 3 WHERE seq = 4;"
         "UPDATE audit_trail SET seq = 4 WHERE seq = -3;",
         0, 3, "does not match its hash"},
        {"truncated and restarted", "DELETE FROM audit_trail;", 2, 6, "cut and restarted"},
        {"truncated and restarted past the pin", "DELETE FROM audit_trail;", 8, 6,
         "cut and restarted"},
    };
    for (const bool team : {false, true}) {
        for (const Case &c : cases)
            QTest::addRow("%s %s", team ? "postgres" : "sqlite", c.name)
                << team << QString::fromLatin1(c.sql) << c.restartWith << c.badSeq
                << QString::fromLatin1(c.problem);
    }
}

void TstAuditTrail::tamperingIsNamed()
{
    QFETCH(bool, team);
    QFETCH(QString, sql);
    QFETCH(int, restartWith);
    QFETCH(qint64, badSeq);
    QFETCH(QString, problem);
    const ArchiveLocation where = freshArchive(team);
    AuditLog log(where);
    QString hashOfForged;
    {
        Archive archive;
        QVERIFY2(archive.open(where), qPrintable(archive.errorText()));
        QString error;
        for (int n = 1; n <= 6; ++n)
            QVERIFY2(log.record(&archive, numbered(n), &error), qPrintable(error));
        const AuditVerdict whole = log.verify(archive);
        QVERIFY2(whole.whole, qPrintable(whole.problem));
        QCOMPARE(whole.entries, 6);
        // The forger computes a correct hash for what they insert after entry 3.
        AuditEntry forged = archive.auditEntries({}).at(2);
        forged.seq = 4;
        forged.prev = forged.hash;
        hashOfForged = audit::hashOf(audit::canonicalEntry(forged));
    }
    if (team && sql.startsWith(QLatin1String("DELETE FROM audit_trail;")))
        sql = QStringLiteral("TRUNCATE audit_trail;");
    sql.replace(QLatin1String("%FORGED%"), hashOfForged);
    QCOMPARE(tamper(where, postgres, sql), QString());
    Archive archive;
    QVERIFY2(archive.open(where), qPrintable(archive.errorText()));
    QString error;
    for (int n = 1; n <= restartWith; ++n)
        QVERIFY2(log.record(&archive, numbered(100 + n), &error), qPrintable(error));
    const AuditVerdict verdict = log.verify(archive);
    QVERIFY(verdict.readable);
    QVERIFY(!verdict.whole);
    QCOMPARE(verdict.badSeq, badSeq);
    QVERIFY2(verdict.problem.contains(problem), qPrintable(verdict.problem));
    // Nor does a later check from here forget it.
    QVERIFY(!log.verify(archive).whole);
}

void TstAuditTrail::rolesCannotRewriteTheTrail()
{
    const ArchiveLocation owner = freshArchive(true);
    {
        Archive archive;
        QVERIFY2(archive.open(owner), qPrintable(archive.errorText()));
        AuditEntry first = numbered(1);
        QVERIFY(archive.appendAudit(first));
        ArchiveRoles roles;
        QVERIFY2(roles.open(owner), qPrintable(roles.errorText()));
        ArchiveRoles::Setup done;
        QVERIFY2(roles.setUp(&done), qPrintable(roles.errorText()));
        for (const char *person : {"olga", "rita"})
            QCOMPARE(sqlError(owner, "hygra", QStringLiteral("CREATE ROLE %1 LOGIN").arg(person)),
                     QString());
        QVERIFY2(roles.grant("olga", ArchiveRoles::Operator), qPrintable(roles.errorText()));
        QVERIFY2(roles.grant("rita", ArchiveRoles::Reader), qPrintable(roles.errorText()));
    }
    for (const char *role : {"olga", "rita"}) {
        // Both append in their own name.
        ArchiveLocation as = owner;
        as.user = QLatin1String(role);
        Archive archive;
        QVERIFY2(archive.open(as), qPrintable(archive.errorText()));
        AuditEntry entry = numbered(2);
        QVERIFY2(archive.appendAudit(entry), qPrintable(archive.errorText()));
        QCOMPARE(entry.user, QLatin1String(role));
        // The server refuses to change, remove or forge an entry.
        for (const char *sql : {"UPDATE audit_trail SET kind = 'x' WHERE seq = 1",
                                "DELETE FROM audit_trail WHERE seq = 1", "TRUNCATE audit_trail",
                                "INSERT INTO audit_trail SELECT seq + 100, time, 'hygra', computer,"
                                " kind, sha256, serial, details, reason, prev, hash"
                                " FROM audit_trail WHERE seq = 1"}) {
            const QString error = sqlError(as, role, QLatin1String(sql));
            QVERIFY2(error.contains(QLatin1String("permission denied")) ||
                         error.contains(QLatin1String("append-only")) ||
                         error.contains(QLatin1String("must name the role")),
                     qPrintable(QStringLiteral("%1: %2: %3").arg(role, sql, error)));
        }
    }
    Archive archive;
    QVERIFY(archive.open(owner));
    const AuditVerdict verdict = archive.verifyAudit();
    QVERIFY2(verdict.whole, qPrintable(verdict.problem));
    QCOMPARE(verdict.entries, 3);
}

void TstAuditTrail::concurrentWritersKeepOneChain_data()
{
    QTest::addColumn<bool>("team");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgres") << true;
}

void TstAuditTrail::concurrentWritersKeepOneChain()
{
    QFETCH(bool, team);
    const ArchiveLocation where = freshArchive(team);
    {
        Archive schema;
        QVERIFY2(schema.open(where), qPrintable(schema.errorText()));
    }
    constexpr int writers = 8;
    constexpr int appends = 200;
    QVector<QString> failures(writers);
    QVector<QThread *> threads;
    for (int w = 0; w < writers; ++w) {
        threads << QThread::create([&where, &failures, w] {
            Archive archive;
            archive.setComputerName(QStringLiteral("pc%1").arg(w));
            if (!archive.open(where)) {
                failures[w] = archive.errorText();
                return;
            }
            for (int n = 0; n < appends && failures[w].isEmpty(); ++n) {
                AuditEntry entry = numbered(n);
                if (!archive.appendAudit(entry))
                    failures[w] = archive.errorText();
            }
        });
        threads.last()->start();
    }
    for (QThread *thread : qAsConst(threads)) {
        QVERIFY(thread->wait(120000));
        delete thread;
    }
    for (const QString &failure : qAsConst(failures))
        QCOMPARE(failure, QString());
    Archive archive;
    QVERIFY(archive.open(where));
    const AuditVerdict verdict = archive.verifyAudit();
    QVERIFY2(verdict.whole, qPrintable(verdict.problem));
    QCOMPARE(verdict.entries, writers * appends);
    AuditFilter fromOne;
    fromOne.kind = QStringLiteral("export");
    QCOMPARE(archive.auditEntries(fromOne).size(), writers * appends);
}

void TstAuditTrail::unreachableArchiveQueuesWithOriginalTime()
{
    // A file where the archive's folder should be: the archive cannot be created.
    const QString blocker = folder.filePath("blocked");
    QFile block(blocker);
    QVERIFY(block.open(QIODevice::WriteOnly));
    block.close();
    const ArchiveLocation where = ArchiveLocation::local(blocker);
    AuditLog log(where);
    Archive archive;
    QVERIFY(!archive.open(where));
    AuditEntry early = numbered(1);
    early.time = QStringLiteral("2026-12-01T08:00:00.000Z");
    QString error;
    bool queued = false;
    QVERIFY(!log.record(&archive, early, &error, &queued));
    QVERIFY(queued);
    QVERIFY(!error.isEmpty());
    QVERIFY(!log.record(nullptr, numbered(2), &error, &queued));
    QCOMPARE(log.waiting(), 2);

    QVERIFY(QFile::remove(blocker));
    QVERIFY2(archive.open(where), qPrintable(archive.errorText()));
    QVERIFY2(log.record(&archive, numbered(3), &error), qPrintable(error));
    QCOMPARE(log.waiting(), 0);
    const QVector<AuditEntry> entries = archive.auditEntries({});
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0).time, early.time);
    QCOMPARE(entries.at(0).details.value("n").toInt(), 1);
    QCOMPARE(entries.at(1).details.value("n").toInt(), 2);
    QCOMPARE(entries.at(2).details.value("n").toInt(), 3);
    QVERIFY(archive.verifyAudit().whole);
}

void TstAuditTrail::filtersSelectEntries()
{
    const ArchiveLocation where = freshArchive(false);
    Archive archive;
    QVERIFY(archive.open(where));
    for (int n = 1; n <= 4; ++n) {
        AuditEntry entry = numbered(n);
        entry.time = QStringLiteral("2026-12-0%1T12:00:00.000Z").arg(n);
        entry.sha256 = n % 2 ? QStringLiteral("aa") : QString();
        QVERIFY(archive.appendAudit(entry));
    }
    const auto seqs = [&archive](const AuditFilter &filter) {
        QList<qint64> result;
        for (const AuditEntry &entry : archive.auditEntries(filter))
            result << entry.seq;
        return result;
    };
    AuditFilter filter;
    filter.sha256 = QStringLiteral("AA");
    QCOMPARE(seqs(filter), (QList<qint64>{1, 3}));
    filter = {};
    filter.serial = QStringLiteral("H2B2");
    QCOMPARE(seqs(filter), (QList<qint64>{2}));
    filter = {};
    filter.from = QDateTime(QDate(2026, 12, 2), QTime(0, 0), Qt::UTC);
    filter.to = QDateTime(QDate(2026, 12, 4), QTime(0, 0), Qt::UTC);
    QCOMPARE(seqs(filter), (QList<qint64>{2, 3}));
    filter = {};
    filter.user = archive.auditUser().section(QLatin1Char(' '), 0, 0);
    filter.limit = 2;
    QCOMPARE(seqs(filter), (QList<qint64>{3, 4}));
    filter.user = QStringLiteral("nobody");
    QCOMPARE(seqs(filter), QList<qint64>());
}

QTEST_GUILESS_MAIN(TstAuditTrail)
#include "tst_audittrail.moc"
