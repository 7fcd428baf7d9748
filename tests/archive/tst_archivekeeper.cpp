// SPDX-License-Identifier: GPL-3.0-or-later
// The window's archive: the recordings folder at start-up, every new download, and an archive
// that cannot be reached.
#include "app/archivekeeper.h"
#include "app/settingmenu.h"
#include "archive/archive.h"
#include "core/settinginfo.h"
#include "pgcluster.h"
#include "recording/recordinganalysis.h"
#include "recordingbytes.h"
#include "testsupport.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

class TstArchiveKeeper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void folderAndNewFilesReachTheArchive();
    void oneConnectionServesEveryTask();
    void aDownloadIsAddedFromItsBytes_data();
    void aDownloadIsAddedFromItsBytes();
    void unreachableArchiveIsReportedOnce();
    void skippedFilesAreReported();
    void aServerAskingForAPasswordIsAskedOnce();
    void theMenuSaysHowTheArchiveIsSecured_data();
    void theMenuSaysHowTheArchiveIsSecured();

private:
    QString write(const QString &name, const SmallRecording &recording);
    int archived();

    std::unique_ptr<QTemporaryDir> home;
};

void TstArchiveKeeper::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    initSettings(this);
}

void TstArchiveKeeper::init()
{
    QDir(dataDir()).removeRecursively();
    QDir().mkpath(dataDir());
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"), QString());
}

QString TstArchiveKeeper::write(const QString &name, const SmallRecording &recording)
{
    const QString path = QDir(dataDir()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(recordingBytes(recording)) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

int TstArchiveKeeper::archived()
{
    Archive archive;
    return archive.open(ArchiveLocation::local(dataDir())) ? archive.find({}).size() : -1;
}

void TstArchiveKeeper::folderAndNewFilesReachTheArchive()
{
    const QDateTime start(QDate(2026, 3, 1), QTime(8, 0));
    write(QStringLiteral("a.data"), {"A", "One", "", start});
    write(QStringLiteral("b.data"), {"B", "Two", "", start});
    ArchiveKeeper keeper(dataDir());
    QSignalSpy failures(&keeper, &ArchiveKeeper::unavailable);
    keeper.syncFolder();
    QTRY_COMPARE(archived(), 2);
    keeper.addFile(write(QStringLiteral("c.data"), {"C", "Three", "", start}));
    keeper.addFile(QString());
    QTRY_COMPARE(archived(), 3);
    QCOMPARE(failures.size(), 0);
}

// The archive connections open in this process besides those open before.
QStringList connectionsSince(const QStringList &before)
{
    QStringList added = QSqlDatabase::connectionNames();
    for (const QString &name : before)
        added.removeAll(name);
    return added;
}

void TstArchiveKeeper::oneConnectionServesEveryTask()
{
    const QDateTime start(QDate(2026, 3, 1), QTime(8, 0));
    write(QStringLiteral("a.data"), {"A", "One", "", start});
    const QStringList before = QSqlDatabase::connectionNames();
    {
        ArchiveKeeper keeper(dataDir());
        QSignalSpy connected(&keeper, &ArchiveKeeper::connected);
        keeper.syncFolder();
        QTRY_COMPARE(archived(), 1);
        const QStringList first = connectionsSince(before);
        QCOMPARE(first.size(), 1);
        keeper.addFile(write(QStringLiteral("b.data"), {"B", "Two", "", start}));
        keeper.syncFolder();
        QTRY_COMPARE(archived(), 2);
        QCOMPARE(connectionsSince(before), first);
        // Reported from the keeper's thread through the event loop.
        QTRY_COMPARE(connected.size(), 1);
    }
    // The keeper closed it on its way out.
    QCOMPARE(connectionsSince(before), QStringList());
}

void TstArchiveKeeper::aDownloadIsAddedFromItsBytes_data()
{
    QTest::addColumn<bool>("recording");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("skipped");
    QTest::newRow("a recording") << true << 1 << 0;
    QTest::newRow("bytes of no recording") << false << 0 << 1;
}

// The entry is made from the bytes handed over, not from the file, which
// here holds something else by then.
void TstArchiveKeeper::aDownloadIsAddedFromItsBytes()
{
    QFETCH(bool, recording);
    QFETCH(int, entries);
    QFETCH(int, skipped);
    const QByteArray downloaded =
        recording ? recordingBytes({"D", "Fresh", "", QDateTime(QDate(2026, 3, 2), QTime(9, 0))})
                  : QByteArray(100, 'x');
    const QString path = write(QStringLiteral("HX20D_20260302_090000.data"),
                               {"E", "Other", "", QDateTime(QDate(2026, 3, 3), QTime(9, 0))});
    ArchiveKeeper keeper(dataDir());
    QSignalSpy skips(&keeper, &ArchiveKeeper::skipped);
    QSignalSpy failures(&keeper, &ArchiveKeeper::unavailable);
    keeper.addDownloaded(QString(), downloaded);
    keeper.addDownloaded(path, downloaded);
    QTRY_COMPARE(skips.size() + archived(), 1);
    QTest::qWait(100);
    QCOMPARE(archived(), entries);
    QCOMPARE(skips.size(), skipped);
    QCOMPARE(failures.size(), 0);
    if (recording) {
        Archive archive;
        QVERIFY(archive.open(ArchiveLocation::local(dataDir())));
        const ArchiveEntry entry = archive.find({}).value(0);
        QCOMPARE(entry.sha256, RecordingAnalysis::fingerprint(downloaded));
        QCOMPARE(entry.serial, QStringLiteral("D"));
        QCOMPARE(QFileInfo(entry.path).fileName(), QFileInfo(path).fileName());
    }
}

void TstArchiveKeeper::unreachableArchiveIsReportedOnce()
{
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"),
                             QStringLiteral("postgresql://nobody@/none?host=/nonexistent"));
    ArchiveKeeper keeper(dataDir());
    QCOMPARE(keeper.location().engine, ArchiveLocation::PostgreSQL);
    QSignalSpy failures(&keeper, &ArchiveKeeper::unavailable);
    keeper.syncFolder();
    keeper.addFile(write(QStringLiteral("a.data"), {"A", "One", "", QDateTime::currentDateTime()}));
    QTRY_COMPARE(failures.size(), 1);
    QVERIFY(failures.at(0).at(0).toString().contains(QStringLiteral("cannot open the archive")));
    QTest::qWait(200);
    QCOMPARE(failures.size(), 1);

    // A malformed address is reported the same way, without a connection.
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"),
                             QStringLiteral("mysql://host/db"));
    ArchiveKeeper malformed(dataDir());
    QSignalSpy malformedFailures(&malformed, &ArchiveKeeper::unavailable);
    malformed.syncFolder();
    QCOMPARE(malformedFailures.size(), 1);
}

// The start-up import and a new file name what they leave out and why, in
// the window's language.
void TstArchiveKeeper::skippedFilesAreReported()
{
    write(QStringLiteral("a.data"), {"A", "One", "", QDateTime::currentDateTime()});
    QFile shortFile(QDir(dataDir()).filePath(QStringLiteral("short.data")));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(100, 'x'));
    shortFile.close();
    const QString pipe = QDir(dataDir()).filePath(QStringLiteral("pipe.data"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    ArchiveKeeper keeper(dataDir());
    QSignalSpy skipped(&keeper, &ArchiveKeeper::skipped);
    keeper.syncFolder();
    QTRY_COMPARE(skipped.size(), 1);
    const QString notice = skipped.at(0).at(0).toString();
    QVERIFY2(notice.startsWith(QStringLiteral("2 个文件未存入记录档案库：")), qPrintable(notice));
    QVERIFY2(notice.contains(QStringLiteral("pipe.data（不是普通文件）")), qPrintable(notice));
    QVERIFY2(notice.contains(QStringLiteral("short.data（文件过短，不是记录文件）")),
             qPrintable(notice));
    QCOMPARE(archived(), 1);

    keeper.addFile(pipe);
    QTRY_COMPARE(skipped.size(), 2);
    QVERIFY2(skipped.at(1).at(0).toString().contains(QStringLiteral("pipe.data（不是普通文件）")),
             qPrintable(skipped.at(1).at(0).toString()));
}

// A server that wants a password none of libpq's places gave is asked once,
// however many tasks wait; the answer is used for this run, and a refusal
// leaves the window on its folder.
void TstArchiveKeeper::aServerAskingForAPasswordIsAskedOnce()
{
    PgCluster server;
    QString error;
    QVERIFY2(server.start(&error, PgCluster::Loopback), qPrintable(error));
    QVERIFY2(server.exec(QStringLiteral("CREATE ROLE team LOGIN PASSWORD 'Pw-4711'"), &error) &&
                 server.exec(QStringLiteral("CREATE DATABASE team OWNER team"), &error),
             qPrintable(error));
    settingInfo()->writeInfo(
        QStringLiteral("archive"), QStringLiteral("url"),
        QStringLiteral("postgresql://team@localhost:%1/team").arg(server.tcpPort()));
    write(QStringLiteral("a.data"), {"A", "One", "", QDateTime::currentDateTime()});
    qputenv("PGPASSFILE", "/nonexistent");
    ArchiveKeeper keeper(dataDir());
    QSignalSpy asked(&keeper, &ArchiveKeeper::passwordWanted);
    QSignalSpy connected(&keeper, &ArchiveKeeper::connected);
    QSignalSpy failures(&keeper, &ArchiveKeeper::unavailable);
    keeper.syncFolder();
    keeper.syncFolder();
    QTRY_COMPARE(asked.size(), 1);
    QTest::qWait(200);
    QCOMPARE(asked.size(), 1);
    keeper.usePassword(QStringLiteral("Pw-4711"));
    QTRY_COMPARE(connected.size(), 1);
    const auto security = connected.at(0).at(0).value<ArchiveSecurity>();
    QVERIFY(security.team && !security.encrypted);
    Archive archive;
    QVERIFY2(archive.open(keeper.location()), qPrintable(archive.errorText()));
    QCOMPARE(archive.find({}).size(), 1);
    QCOMPARE(failures.size(), 0);

    // Another address: the password typed for the first is not used.
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"),
                             QStringLiteral("postgresql://team@127.0.0.1:%1/team")
                                 .arg(server.tcpPort()));
    ArchiveKeeper refused(dataDir());
    QSignalSpy refusedFailures(&refused, &ArchiveKeeper::unavailable);
    QSignalSpy askedAgain(&refused, &ArchiveKeeper::passwordWanted);
    refused.syncFolder();
    QTRY_COMPARE(askedAgain.size(), 1);
    refused.usePassword(QString());
    QCOMPARE(refusedFailures.size(), 1);
    QVERIFY(refusedFailures.at(0).at(0).toString().contains("no password supplied"));
    refused.syncFolder();
    QTest::qWait(200);
    QCOMPARE(askedAgain.size(), 1);
    qunsetenv("PGPASSFILE");
}

void TstArchiveKeeper::theMenuSaysHowTheArchiveIsSecured_data()
{
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<bool>("hostChecked");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tip");
    QTest::newRow("plain") << false << false << "团队档案库（未加密）" << "连接未加密";
    QTest::newRow("verify-full") << true << true << "团队档案库（已加密）"
                                 << "已核对服务器证书 CN=db.lab 及其主机名，CA 文件：/etc/ca.pem";
    QTest::newRow("require") << true << false << "团队档案库（已加密）"
                             << "未核对服务器证书 CN=db.lab";
}

// The settings menu's archive line says whether the connection is encrypted;
// its tooltip whose certificate was checked, and recommends verify-full.
void TstArchiveKeeper::theMenuSaysHowTheArchiveIsSecured()
{
    QFETCH(bool, encrypted);
    QFETCH(bool, hostChecked);
    QFETCH(QString, line);
    QFETCH(QString, tip);
    ArchiveLocation location;
    QString error;
    QVERIFY(ArchiveLocation::parse(QStringLiteral("postgresql://u@db.lab/archive"), &location,
                                   &error));
    SettingMenu menu;
    menu.setArchiveLocation(location);
    ArchiveSecurity security;
    security.team = true;
    security.encrypted = encrypted;
    security.protocol = QStringLiteral("TLSv1.3");
    security.certificate = QStringLiteral("CN=db.lab");
    security.caChecked = security.hostChecked = hostChecked;
    security.caFile = QStringLiteral("/etc/ca.pem");
    menu.setArchiveSecurity(security);
    const auto *info = menu.findChild<QLabel *>(QStringLiteral("archiveInfo"));
    QVERIFY(info->text().startsWith(line));
    QVERIFY2(info->toolTip().contains(tip), qPrintable(info->toolTip()));
    QCOMPARE(info->toolTip().contains("sslmode=verify-full"), !hostChecked);
}

QTEST_MAIN(TstArchiveKeeper)
#include "tst_archivekeeper.moc"
