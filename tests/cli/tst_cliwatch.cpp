// SPDX-License-Identifier: GPL-3.0-or-later
// The hands-free download in-process: loggers plugged in and pulled out while the watch runs.
#include "cli/clicommands.h"
#include "cli/cliexit.h"
#include "cli/downloadwatch.h"
#include "core/settinginfo.h"
#include "fullfolder.h"
#include "loggersim.h"
#include "testsupport.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <memory>

namespace
{
// A watch writing into buffers, with its outcome lines parsed.
struct WatchRun {
    explicit WatchRun(const DownloadWatch::Options &options)
        : out(&outBuffer), err(&errBuffer), watch(options, out, err)
    {
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
    }

    QList<QJsonObject> lines() const
    {
        QList<QJsonObject> objects;
        for (const QByteArray &line : outBuffer.data().split('\n')) {
            if (!line.isEmpty())
                objects << QJsonDocument::fromJson(line).object();
        }
        return objects;
    }
    QString progress() const { return QString::fromUtf8(errBuffer.data()); }

    QBuffer outBuffer;
    QBuffer errBuffer;
    QTextStream out;
    QTextStream err;
    DownloadWatch watch;
};

loggersim::LoggerSetup loggerOf(int model, const QString &sn, int samples)
{
    loggersim::LoggerSetup s;
    s.model = model;
    s.sn = sn;
    s.samples = samples;
    return s;
}
} // namespace

class TstCliWatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void servesArrivalsInTurn();
    void unpluggedLoggerLosesOnlyItsFile();
    void skipsOrStopsWithOnce_data();
    void skipsOrStopsWithOnce();
    void servesALoggerOncePerPlugging();
    void reportOnAFullDiskEndsWithCannotWrite();

private:
    QStringList recordingsLeft() const;

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> target;
    DownloadWatch::Options options;
};

void TstCliWatch::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    initSettings(this);
    loggersim::setReadWaitLimit(100);
}

void TstCliWatch::init()
{
    target = std::make_unique<QTemporaryDir>();
    options = DownloadWatch::Options();
    options.dir = target->path();
}

// Every file but the archive that lies beside the recordings.
QStringList TstCliWatch::recordingsLeft() const
{
    QStringList files;
    for (const QString &name : QDir(dataDir()).entryList(QDir::Files | QDir::Hidden)) {
        if (!name.startsWith(QLatin1String("archive.sqlite")))
            files << name;
    }
    return files;
}

void TstCliWatch::servesArrivalsInTurn()
{
    // The first logger is slow, so the other two are plugged in while it is served.
    loggersim::configure(QStringLiteral("HX20D:sn=A:samples=1500:latency=20"));
    options.csv = true;
    options.xlsx = true;
    WatchRun run(options);
    QTimer::singleShot(60, [] {
        loggersim::addLogger(loggerOf(0, QStringLiteral("B"), 800));
        loggersim::addLogger(loggerOf(1, QStringLiteral("C"), 300));
    });
    run.watch.start();
    QTRY_COMPARE_WITH_TIMEOUT(run.lines().size(), 3, 15000);
    QStringList serials;
    for (const QJsonObject &line : run.lines()) {
        serials << line.value("serial").toString();
        QVERIFY2(!line.contains("error") && !line.contains("skipped"), run.progress().toUtf8());
        const QString file = line.value("file").toString();
        QCOMPARE(QFileInfo(file).path(), target->path());
        QVERIFY(QFile::exists(file));
        QCOMPARE(line.value("csv").toString(), file.chopped(5) + ".csv");
        QCOMPARE(line.value("xlsx").toString(), file.chopped(5) + ".xlsx");
        QVERIFY(line.value("pdf").isNull());
        QVERIFY(line.value("alarm").isBool());
    }
    QCOMPARE(serials, QStringList({"A", "B", "C"}));
    // Plugged in within one moment, each was downloaded exactly once.
    QTest::qWait(1500);
    QCOMPARE(run.lines().size(), 3);
    QCOMPARE(run.lines().at(1).value("samples").toInt(), 800);
    QCOMPARE(run.lines().at(1).value("model").toString(), QStringLiteral("HX10D"));
    // Nine files and no temporary left beside them; nothing stays in the recordings folder.
    QCOMPARE(QDir(target->path()).entryList(QDir::Files | QDir::Hidden).size(), 9);
    QVERIFY(recordingsLeft().isEmpty());
    QVERIFY(!run.watch.isFinished());
    run.watch.stop();
    QVERIFY(run.watch.isFinished());
}

void TstCliWatch::unpluggedLoggerLosesOnlyItsFile()
{
    loggersim::configure(QStringLiteral("HX20D:sn=A:samples=5000,HX10D:sn=B:samples=800"));
    // The head bytes, six requests up to the first block's, then the second
    // block's request: the logger is gone with one block in its file.
    loggersim::Faults faults;
    faults.unplugAfterTransfers = 8;
    loggersim::setFaults(loggersim::loggerIds().first(), faults);
    options.once = true;
    WatchRun run(options);
    run.watch.run();
    const QList<QJsonObject> lines = run.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(run.progress().contains("A: block 1/5"), run.progress().toUtf8());
    QCOMPARE(lines.at(0).value("serial").toString(), QStringLiteral("A"));
    QCOMPARE(lines.at(0).value("error").toString(),
             QStringLiteral("the logger was unplugged during the download"));
    QVERIFY(lines.at(0).value("file").isNull());
    QCOMPARE(lines.at(1).value("serial").toString(), QStringLiteral("B"));
    QCOMPARE(QDir(target->path()).entryList(QDir::Files),
             QStringList(QFileInfo(lines.at(1).value("file").toString()).fileName()));
    QVERIFY(recordingsLeft().isEmpty());
}

void TstCliWatch::skipsOrStopsWithOnce_data()
{
    QTest::addColumn<QString>("logger");
    QTest::addColumn<bool>("stopRecording");
    QTest::addColumn<QString>("skipped");
    QTest::addColumn<bool>("stillRecording");
    QTest::newRow("no records") << "HX10D:sn=E:samples=0" << false << "no records" << false;
    QTest::newRow("recording") << "HX20D:sn=R:recording=1" << false << "recording" << true;
    QTest::newRow("recording, stopped") << "HX20D:sn=R:recording=1" << true << "" << false;
}

void TstCliWatch::skipsOrStopsWithOnce()
{
    QFETCH(QString, logger);
    QFETCH(bool, stopRecording);
    QFETCH(QString, skipped);
    QFETCH(bool, stillRecording);
    // A second logger behind it shows that a skipped one does not end the watch.
    loggersim::configure(logger + ",HX10D:sn=N:samples=100");
    options.stopRecording = stopRecording;
    options.once = true;
    WatchRun run(options);
    run.watch.run();
    const QList<QJsonObject> lines = run.lines();
    QCOMPARE(lines.size(), 2);
    const QJsonObject first = lines.at(0);
    QVERIFY2(!first.contains("error"), run.progress().toUtf8());
    QCOMPARE(first.value("skipped").toString(), skipped);
    QCOMPARE(first.value("file").isNull(), !skipped.isEmpty());
    QCOMPARE(first.value("samples").isNull(), !skipped.isEmpty());
    QCOMPARE(loggersim::isRecording(loggersim::loggerIds().first()), stillRecording);
    QCOMPARE(lines.at(1).value("samples").toInt(), 100);
}

void TstCliWatch::servesALoggerOncePerPlugging()
{
    loggersim::configure(QStringLiteral("HX20D:sn=A:samples=300"));
    const int original = loggersim::loggerIds().first();
    WatchRun run(options);
    run.watch.start();
    QTRY_COMPARE_WITH_TIMEOUT(run.lines().size(), 1, 10000);
    // The same logger seen again without having left (its serial number on
    // another device) is not downloaded again.
    loggersim::addLogger(loggerOf(1, QStringLiteral("A"), 300));
    QTRY_VERIFY_WITH_TIMEOUT(run.progress().contains("A: served already"), 10000);
    QCOMPARE(run.lines().size(), 1);
    // Unplugged and plugged in again, it is.
    loggersim::unplug(original);
    loggersim::plug(original);
    QTRY_COMPARE_WITH_TIMEOUT(run.lines().size(), 2, 10000);
    QCOMPARE(run.lines().at(1).value("serial").toString(), QStringLiteral("A"));
    QCOMPARE(QDir(target->path()).entryList(QDir::Files).size(), 2);
    run.watch.stop();
}

// The recording fits on the disk, its spreadsheet does not: the watch keeps
// the recording, names the file it could not write and why, and ends with the
// write-failure code.
void TstCliWatch::reportOnAFullDiskEndsWithCannotWrite()
{
    loggersim::configure(QStringLiteral("HX20D:sn=F:samples=300"));
    const testsupport::FullFolder full({}, 8192);
    if (!full.isReady())
        QSKIP(qPrintable(full.skipReason()));
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code =
        CliCommands(&out, &err)
            .run({QStringLiteral("hygra-cli"), QStringLiteral("watch"), QStringLiteral("--once"),
                  QStringLiteral("--dir"), full.path(), QStringLiteral("--csv")});
    QCOMPARE(code, int(ExitCannotWrite));
    const QJsonObject line = QJsonDocument::fromJson(out.data()).object();
    const QString file = line.value("file").toString();
    QVERIFY2(QFile::exists(file), out.data().constData());
    QVERIFY(line.value("csv").isNull());
    const QString csv = file.chopped(5) + ".csv";
    QVERIFY2(
        line.value("error").toString() ==
            QStringLiteral("cannot write the spreadsheet %1: No space left on device").arg(csv),
        qPrintable(line.value("error").toString()));
    QCOMPARE(full.leftovers(), QStringList(QFileInfo(file).fileName()));
}

QTEST_GUILESS_MAIN(TstCliWatch)
#include "tst_cliwatch.moc"
