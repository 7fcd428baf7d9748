// SPDX-License-Identifier: GPL-3.0-or-later
// The window's archive: the recordings folder at start-up, every new download, and an archive
// that cannot be reached.
#include "app/archivekeeper.h"
#include "archive/archive.h"
#include "core/settinginfo.h"
#include "recordingbytes.h"
#include "testsupport.h"

#include <QDir>
#include <QSignalSpy>
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
    void unreachableArchiveIsReportedOnce();
    void skippedFilesAreReported();

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

QTEST_GUILESS_MAIN(TstArchiveKeeper)
#include "tst_archivekeeper.moc"
