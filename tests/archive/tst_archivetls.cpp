// SPDX-License-Identifier: GPL-3.0-or-later
// The team archive over the network: TLS that can be required and checked,
// credentials from libpq's own places, and no password in any output.
#include "archive/archive.h"
#include "pgcluster.h"
#include "recordingbytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString password = QStringLiteral("Pw-secret-4711");

void writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions mode = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    if (mode)
        QVERIFY(file.setPermissions(mode));
}
} // namespace

class TstArchiveTls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void parametersReachTheConnection_data();
    void parametersReachTheConnection();
    void verifyFullConnectsAndSaysWhoseCertificate();
    void refusedConnectionsSayWhyWithoutThePassword_data();
    void refusedConnectionsSayWhyWithoutThePassword();
    void credentialsComeFromLibpqsOwnPlaces();
    void aPasswordInAnAddressIsWarnedAbout();

private:
    QString url(const PgCluster &cluster, const QString &credentials,
                const QString &query = QString()) const;
    QString runCli(const QStringList &arguments, int *exitCode,
                   const QProcessEnvironment &extra = {});

    QTemporaryDir home;
    PgCluster tls;
    PgCluster plain;
    QString strangerCa;
};

void TstArchiveTls::initTestCase()
{
    QVERIFY(home.isValid());
    QString error;
    QVERIFY2(tls.start(&error, PgCluster::LoopbackTls), qPrintable(error));
    QVERIFY2(plain.start(&error, PgCluster::Loopback), qPrintable(error));
    for (PgCluster *cluster : {&tls, &plain}) {
        QVERIFY2(cluster->exec(QStringLiteral("CREATE ROLE team LOGIN PASSWORD '%1'").arg(password),
                               &error),
                 qPrintable(error));
        QVERIFY2(cluster->exec(QStringLiteral("CREATE DATABASE team OWNER team"), &error),
                 qPrintable(error));
    }
    strangerCa = tls.path() + QStringLiteral("/stranger.crt");
    QVERIFY2(tls.makeStrangerCa(strangerCa, &error), qPrintable(error));
}

void TstArchiveTls::init()
{
    QDir(home.path()).removeRecursively();
    QDir().mkpath(home.path());
}

QString TstArchiveTls::url(const PgCluster &cluster, const QString &credentials,
                           const QString &query) const
{
    return QStringLiteral("postgresql://%1@localhost:%2/team%3")
        .arg(credentials)
        .arg(cluster.tcpPort())
        .arg(query.isEmpty() ? QString() : QLatin1Char('?') + query);
}

QString TstArchiveTls::runCli(const QStringList &arguments, int *exitCode,
                              const QProcessEnvironment &extra)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), QStringLiteral("none"));
    environment.insert(QStringLiteral("HOME"), home.path());
    // Nothing of the machine's own libpq set-up may help or hinder.
    for (const char *variable : {"PGPASSWORD", "PGSSLMODE", "PGSERVICE", "PGPASSFILE"})
        environment.remove(QLatin1String(variable));
    for (const QString &key : extra.keys())
        environment.insert(key, extra.value(key));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    process.waitForFinished(60000);
    *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

void TstArchiveTls::parametersReachTheConnection_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("shown");
    QTest::newRow("defaults") << "postgresql://u@db/archive"
                              << "connect_timeout=5"
                              << "u@db:5432/archive";
    QTest::newRow("tls and a quoted value")
        << "postgresql://u:secret@db:6000/archive?sslmode=verify-full&sslrootcert=/etc/ca%20it's.pem"
        << "connect_timeout=5;sslmode='verify-full';sslrootcert='/etc/ca it\\'s.pem'"
        << "u@db:6000/archive?sslmode=verify-full&sslrootcert=/etc/ca it's.pem";
    QTest::newRow("a service names host and database")
        << "postgresql:///?service=team&connect_timeout=2"
        << "connect_timeout='2';service='team'"
        << "/?connect_timeout=2&service=team";
    QTest::newRow("socket folder and secrets") << "postgresql://u@/archive?host=/run/pg&sslpassword=k"
                                               << "connect_timeout=5;sslpassword='k'"
                                               << "u@/run/pg:5432/archive";
}

// Every libpq parameter of the address reaches the driver, quoted; nothing
// secret is shown.
void TstArchiveTls::parametersReachTheConnection()
{
    QFETCH(QString, address);
    QFETCH(QString, options);
    QFETCH(QString, shown);
    ArchiveLocation location;
    QString error;
    QVERIFY2(ArchiveLocation::parse(address, &location, &error), qPrintable(error));
    QCOMPARE(location.connectOptions(), options);
    QCOMPARE(location.displayText(), shown);
}

void TstArchiveTls::verifyFullConnectsAndSaysWhoseCertificate()
{
    ArchiveLocation location;
    QString error;
    QVERIFY(ArchiveLocation::parse(
        url(tls, "team:" + password, "sslmode=verify-full&sslrootcert=" + tls.caFile()), &location,
        &error));
    Archive archive;
    QVERIFY2(archive.open(location), qPrintable(archive.errorText()));
    const ArchiveSecurity security = archive.security();
    QVERIFY(security.team && security.encrypted && security.caChecked && security.hostChecked);
    QVERIFY2(security.protocol.startsWith("TLS"), qPrintable(security.protocol));
    QCOMPARE(security.certificate, QStringLiteral("CN=localhost"));
    QCOMPARE(security.caFile, tls.caFile());

    // Without TLS asked for, the same program says so.
    ArchiveLocation open;
    QVERIFY(ArchiveLocation::parse(url(plain, "team:" + password), &open, &error));
    Archive unencrypted;
    QVERIFY2(unencrypted.open(open), qPrintable(unencrypted.errorText()));
    QVERIFY(unencrypted.security().team && !unencrypted.security().encrypted);
}

void TstArchiveTls::refusedConnectionsSayWhyWithoutThePassword_data()
{
    QTest::addColumn<bool>("onTls");
    QTest::addColumn<QString>("credentials");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("exitCode");
    const QString full = "sslmode=verify-full&sslrootcert=";
    QTest::newRow("another authority's certificate")
        << true << "team:" + password << full + "%1" << "certificate verify failed" << 16;
    QTest::newRow("no such CA file")
        << true << "team:" + password << full + "/nonexistent" << "/nonexistent" << 16;
    QTest::newRow("a server without TLS")
        << false << "team:" + password << QString("sslmode=require") << "does not support SSL"
        << 16;
    QTest::newRow("a wrong password") << true << "team:not-" + password << QString()
                                      << "password authentication failed" << 16;
    QTest::newRow("a misspelt parameter")
        << true << "team:" + password << QString("sslmod=require") << "no connection parameter"
        << 2;
    QTest::newRow("a bad port") << true << "team:" + password << QString("port=y")
                                << "the port 'y' is no number" << 2;
}

// Each refusal names its reason, and nothing the command prints holds the password.
void TstArchiveTls::refusedConnectionsSayWhyWithoutThePassword()
{
    QFETCH(bool, onTls);
    QFETCH(QString, credentials);
    QFETCH(QString, query);
    QFETCH(QString, reason);
    QFETCH(int, exitCode);
    const QString address =
        url(onTls ? tls : plain, credentials, QString(query).replace("%1", strangerCa));
    int code = 0;
    const QString output = runCli({"archive", "list", "--archive", address}, &code);
    QCOMPARE(code, exitCode);
    QVERIFY2(output.contains(reason), qPrintable(output));
    QVERIFY2(!output.contains(password), qPrintable(output));
}

// ~/.pgpass and a pg_service.conf entry give what the address leaves out.
void TstArchiveTls::credentialsComeFromLibpqsOwnPlaces()
{
    const QString folder = home.filePath("in");
    writeFile(folder + "/a.data", recordingBytes({"P1", "Pass", "", QDateTime::currentDateTimeUtc()}));
    writeFile(home.filePath(".pgpass"),
              QStringLiteral("localhost:%1:team:team:%2\n").arg(tls.tcpPort()).arg(password).toUtf8(),
              QFile::ReadOwner | QFile::WriteOwner);
    int code = -1;
    QString output = runCli({"archive", "import", folder, "--archive",
                             url(tls, "team", "sslmode=verify-full&sslrootcert=" + tls.caFile())},
                            &code);
    QVERIFY2(code == 0 && output.contains("\"added\":1"), qPrintable(output));

    writeFile(home.filePath("services.conf"),
              QStringLiteral("[team]\nhost=localhost\nport=%1\ndbname=team\nuser=team\n"
                             "sslmode=verify-full\nsslrootcert=%2\n")
                  .arg(tls.tcpPort())
                  .arg(tls.caFile())
                  .toUtf8());
    QProcessEnvironment services;
    services.insert("PGSERVICEFILE", home.filePath("services.conf"));
    output = runCli({"archive", "list", "--archive", "postgresql:///?service=team"}, &code, services);
    QVERIFY2(code == 0 && output.contains("\"serial\":\"P1\""), qPrintable(output));
}

// A password written in an address works but is named as readable by others,
// on the command line and in the settings file; the settings file is the owner's.
void TstArchiveTls::aPasswordInAnAddressIsWarnedAbout()
{
    const QString address = url(tls, "team:" + password);
    int code = -1;
    QString output = runCli({"archive", "list", "--archive", address}, &code);
    QVERIFY2(code == 0 && output.contains("~/.pgpass"), qPrintable(output));
    QVERIFY(!output.contains(password));

    const QString settings = home.filePath("Documents/HYGRA/Setting/setting.ini");
    writeFile(settings, QStringLiteral("[archive]\nurl=%1\n").arg(address).toUtf8());
    output = runCli({"archive", "list"}, &code);
    QVERIFY2(code == 0 && output.contains("setting.ini") && output.contains("~/.pgpass"),
             qPrintable(output));
    QVERIFY(!output.contains(password));
    QCOMPARE(QFile::permissions(settings) & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());
}

QTEST_GUILESS_MAIN(TstArchiveTls)
#include "tst_archivetls.moc"
