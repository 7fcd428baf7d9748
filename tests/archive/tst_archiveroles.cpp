// SPDX-License-Identifier: GPL-3.0-or-later
// A team archive's roles on a real PostgreSQL server: set up and granted by the owner, each person
// connected under a login role of their own with no more rights than their group's.
#include "archive/archive.h"
#include "archive/archiveroles.h"
#include "archive/archiveschema.h"
#include "pgcluster.h"
#include "recordingbytes.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
struct SqlResult {
    QString error;
    int rows = -1;
    QVariant value;
};

// Runs `sql` under `role` on a connection of its own.
SqlResult sqlAs(const ArchiveLocation &where, const QString &role, const QString &sql)
{
    SqlResult result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "raw");
        db.setHostName(where.host);
        db.setPort(where.port);
        db.setDatabaseName(where.database);
        db.setUserName(role);
        QSqlQuery query(db);
        if (!db.open())
            result.error = db.lastError().text();
        else if (!query.exec(sql))
            result.error = query.lastError().text();
        else
            result.rows = query.numRowsAffected();
        if (result.error.isEmpty() && query.next())
            result.value = query.value(0);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return result;
}

QString urlAs(const ArchiveLocation &where, const QString &role)
{
    return QStringLiteral("postgresql://%1@:%2/%3?host=%4")
        .arg(role)
        .arg(where.port)
        .arg(where.database, where.host);
}
} // namespace

class TstArchiveRoles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void statementsSplitOutsideQuotes_data();
    void statementsSplitOutsideQuotes();
    void commandsOfEachRole_data();
    void commandsOfEachRole();
    void operatorCannotRewrite_data();
    void operatorCannotRewrite();
    void olderSchemaNamesTheOwner_data();
    void olderSchemaNamesTheOwner();

private:
    QString runCli(QStringList arguments, int *exitCode);

    PgCluster postgres;
    ArchiveLocation team;
    QTemporaryDir home;
    QString sha256;
};

void TstArchiveRoles::initTestCase()
{
    QString error;
    QVERIFY2(postgres.start(&error), qPrintable(error));
    QVERIFY2(postgres.createDatabase("team", &team, &error), qPrintable(error));
    const QDateTime may(QDate(2026, 5, 1), QTime(8, 0));
    const QByteArray more = recordingBytes({"R1", "More", "", may});
    sha256 = RecordingAnalysis::fingerprint(more);
    for (const auto &file :
         {qMakePair(QString("more/r1.data"), more),
          qMakePair(QString("bob/r2.data"), recordingBytes({"R2", "Bob", "", may}))}) {
        QVERIFY(QDir(home.path()).mkpath(QFileInfo(file.first).path()));
        QFile out(home.filePath(file.first));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.second) == file.second.size());
    }
    for (const char *person : {"alice", "bob", "carol"})
        QCOMPARE(sqlAs(team, "hygra", QStringLiteral("CREATE ROLE %1 LOGIN").arg(person)).error,
                 QString());
    int exitCode = -1;
    const QString done = runCli({"archive", "setup", "--admin-url", "%OWNER%"}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(done));
    const QJsonObject o = QJsonDocument::fromJson(done.toUtf8()).object();
    QVERIFY2(o.value("schemaVersionBefore").isNull() && o.value("rowLevelSecurity").toBool() &&
                 o.value("rolesCreated").toArray() ==
                     (QJsonArray{"hygra_operator", "hygra_reader"}),
             qPrintable(done));
    // Exactly these rights: none to change or remove an entry.
    const QByteArray rights =
        R"({"hygra_operator":{"audit_trail":["INSERT","SELECT"],)"
        R"("evaluation_settings":["DELETE","INSERT","SELECT"],)"
        R"("locations":["DELETE","INSERT","SELECT","UPDATE"],)"
        R"("recordings":["INSERT","SELECT"],"review_choices":["SELECT"],)"
        R"("schema_version":["SELECT"],"signature_meanings":["SELECT"]},)"
        R"("hygra_reader":{"audit_trail":["INSERT","SELECT"],)"
        R"("evaluation_settings":["SELECT"],"locations":["SELECT"],)"
        R"("recordings":["SELECT"],"review_choices":["SELECT"],)"
        R"("schema_version":["SELECT"],"signature_meanings":["SELECT"]}})";
    QCOMPARE(QJsonDocument(o.value("rights").toObject()).toJson(QJsonDocument::Compact), rights);
    for (const QStringList &grant : {QStringList{"alice", "operator"},
                                     {"carol", "reader"},
                                     {"carol", "operator"},
                                     {"bob", "reader"}}) {
        const QString out = runCli(
            {"archive", "grant", grant[0], "--as", grant[1], "--admin-url", "%OWNER%"}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(out));
    }
    // The second grant moved carol from one group to the other.
    QVERIFY(!sqlAs(team, "carol", "SELECT pg_has_role('hygra_reader', 'MEMBER')").value.toBool());
}

QString TstArchiveRoles::runCli(QStringList arguments, int *exitCode)
{
    const QMap<QString, QString> placeholders = {
        {"%OWNER%", urlAs(team, "hygra")},
        {"%ALICE%", urlAs(team, "alice")},
        {"%BOB%", urlAs(team, "bob")},
        {"%HOME%", home.path()},
        {"%SHA%", sha256},
    };
    for (QString &argument : arguments) {
        for (auto it = placeholders.constBegin(); it != placeholders.constEnd(); ++it)
            argument.replace(it.key(), it.value());
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LOGGERSIM", "HX20D:sn=H2ROLE0001:interval=60:samples=50");
    environment.insert("HOME", home.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    process.waitForFinished(60000);
    *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

void TstArchiveRoles::statementsSplitOutsideQuotes_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("comments") << "-- a; b\nSELECT 1; -- c;\nSELECT 2"
                              << QStringList{"SELECT 1", "SELECT 2"};
    QTest::newRow("quotes") << "SELECT 'a;''b'; SELECT \"x;y\";"
                            << QStringList{"SELECT 'a;''b'", "SELECT \"x;y\""};
    QTest::newRow("dollar bodies") << "DO $$ x; $$; DO $f$ a; $$ $f$; SELECT $1"
                                   << QStringList{"DO $$ x; $$", "DO $f$ a; $$ $f$", "SELECT $1"};
}

void TstArchiveRoles::statementsSplitOutsideQuotes()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(ArchiveRoles::statements(script), statements);
}

// In order: the owner's commands and their refusals, then an operator's and a reader's work.
void TstArchiveRoles::commandsOfEachRole_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    const QString grant = "archive grant %1 --admin-url %OWNER%";
    QTest::newRow("setup again") << "archive setup --admin-url %OWNER%" << 0
                                 << R"("rolesCreated":[])";
    QTest::newRow("setup as an operator")
        << "archive setup --admin-url %ALICE%" << 16
        << "the role alice is neither the owner of the database team";
    QTest::newRow("setup of a SQLite file")
        << "archive setup --admin-url %HOME%/a.sqlite" << 2 << "is a SQLite file";
    QTest::newRow("grant to no group") << grant.arg("bob --as admin") << 2 << "--as expects";
    QTest::newRow("grant to no role")
        << grant.arg("zed --as reader") << 16 << R"(role "zed" does not exist)";
    QTest::newRow("grant to SQL") << grant.arg("bob;DROP\tTABLE\trecordings;-- --as reader") << 16
                                  << R"(role "bob;DROP	TABLE	recordings;--" does not exist)";
    QTest::newRow("grant to a group")
        << grant.arg("hygra_reader --as operator") << 16 << "hygra_reader is not a login role";
    QTest::newRow("alice download") << "download --dir %HOME%/in --archive %ALICE%" << 0 << ".data";
    QTest::newRow("alice import") << "archive import %HOME%/more --archive %ALICE%" << 0
                                  << R"("added":1)";
    QTest::newRow("alice list") << "archive list --archive %ALICE%" << 0 << "%SHA%";
    QTest::newRow("alice get") << "archive get %SHA% --out %HOME%/a.data --archive %ALICE%" << 0
                               << "a.data";
    QTest::newRow("alice check") << "archive check --archive %ALICE%" << 0 << "";
    QTest::newRow("bob list") << "archive list --archive %BOB%" << 0 << "%SHA%";
    QTest::newRow("bob check") << "archive check --archive %BOB%" << 0 << "";
    QTest::newRow("bob import") << "archive import %HOME%/bob --archive %BOB%" << 16
                                << "permission denied for table recordings";
}

void TstArchiveRoles::commandsOfEachRole()
{
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    int exited = -1;
    const QString out = runCli(arguments.split(' '), &exited);
    QVERIFY2(exited == exitCode && out.contains(output.replace("%SHA%", sha256)) &&
                 !out.contains("not added") && !out.contains("aborted"),
             qPrintable(out));
    QVERIFY(!QFile::exists(home.filePath("a.sqlite")));
    QCOMPARE(sqlAs(team, "bob", "SELECT pg_has_role('hygra_reader', 'MEMBER')").value.toBool(),
             true);
    QCOMPARE(sqlAs(team, "bob", "SELECT COUNT(*) FROM recordings").error, QString());
}

void TstArchiveRoles::operatorCannotRewrite_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("error");
    const QString insert =
        "INSERT INTO locations (host, path, sha256, size, mtime%1) SELECT 'pc', '/f',"
        " sha256, 1, 1%2 FROM recordings LIMIT 1";
    const QString denied = "permission denied for table ";
    QTest::newRow("update an entry") << "alice"
                                     << "UPDATE recordings SET alarm = 0" << denied + "recordings";
    QTest::newRow("delete an entry") << "alice"
                                     << "DELETE FROM recordings" << denied + "recordings";
    // Alice's own places are hers to change: these two name carol's only.
    QTest::newRow("update another's place") << "alice"
                                            << "UPDATE locations SET path = 'x'"
                                            << "";
    QTest::newRow("delete another's place") << "alice"
                                            << "DELETE FROM locations"
                                            << "";
    QTest::newRow("give a place away") << "alice"
                                       << "UPDATE locations SET login = 'carol'"
                                       << "violates row-level security";
    QTest::newRow("insert as another")
        << "alice" << insert.arg(", login", ", 'carol'") << "violates row-level security";
    QTest::newRow("reader inserts") << "bob" << insert.arg("", "") << denied + "locations";
}

void TstArchiveRoles::operatorCannotRewrite()
{
    QFETCH(QString, role);
    QFETCH(QString, sql);
    QFETCH(QString, error);
    ArchiveLocation asCarol = team;
    asCarol.user = "carol";
    Archive carol;
    carol.setComputerName("pc-c");
    QVERIFY2(carol.open(asCarol), qPrintable(carol.errorText()));
    QCOMPARE(carol.addFile(home.filePath("more/r1.data")).kind, Archive::Outcome::Known);
    const QString carolsPlace =
        "SELECT COUNT(*) FROM locations WHERE login = 'carol' AND host = 'pc-c'"
        " AND path LIKE '%/more/r1.data'";
    const SqlResult result =
        sqlAs(team, role, sql + (error.isEmpty() ? " WHERE login = 'carol'" : ""));
    QVERIFY2(result.error.contains(error) && (!error.isEmpty() || result.rows == 0),
             qPrintable(result.error));
    QCOMPARE(sqlAs(team, "hygra", carolsPlace).value.toInt(), 1);
}

void TstArchiveRoles::olderSchemaNamesTheOwner_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("tables");
    QTest::addColumn<QString>("state");
    QTest::newRow("version 2") << "old" << true << "the archive is at schema version 2";
    QTest::newRow("no tables") << "empty" << false << "the archive has no tables yet";
}

// A role of fewer rights says what to ask the owner; the owner's set-up brings the archive up.
void TstArchiveRoles::olderSchemaNamesTheOwner()
{
    QFETCH(QString, database);
    QFETCH(bool, tables);
    QFETCH(QString, state);
    ArchiveLocation old;
    QString error;
    QVERIFY2(postgres.createDatabase(database, &old, &error), qPrintable(error));
    if (tables) {
        Archive owner;
        QVERIFY(owner.open(old));
        QCOMPARE(owner.importFolder(home.filePath("more")).added, 1);
        for (const char *sql :
             {"DROP TABLE evaluation_settings", "DROP TABLE audit_trail",
              "DROP TABLE review_choices", "DROP TABLE signature_meanings",
              "ALTER TABLE locations DROP COLUMN login",
              "UPDATE schema_version SET version = 2",
              "GRANT SELECT ON recordings, locations, schema_version TO hygra_operator"})
            QCOMPARE(sqlAs(old, "hygra", sql).error, QString());
    }
    ArchiveLocation asAlice = old;
    asAlice.user = "alice";
    Archive alice;
    QVERIFY(!alice.open(asAlice));
    for (const QString &part :
         {state, QString("needs version %1").arg(archiveschema::currentVersion),
          QString("ask the owner to run 'hygra-cli archive setup --admin-url"),
          QString(tables ? "must be owner of table" : "permission denied for schema")})
        QVERIFY2(alice.errorText().contains(part), qPrintable(alice.errorText()));

    ArchiveRoles roles;
    ArchiveRoles::Setup done;
    QVERIFY2(roles.open(old) && roles.setUp(&done), qPrintable(roles.errorText()));
    QCOMPARE(done.versionBefore, tables ? 2 : -1);
    QVERIFY2(alice.open(asAlice), qPrintable(alice.errorText()));
    // The places already there belong to the owner who migrated them.
    if (tables)
        QCOMPARE(sqlAs(old, "hygra", "SELECT login FROM locations").value.toString(),
                 QString("hygra"));
}

QTEST_GUILESS_MAIN(TstArchiveRoles)
#include "tst_archiveroles.moc"
