// SPDX-License-Identifier: GPL-3.0-or-later
// hygra-cli-demo's recording files when runs are killed, stopped, run at once or move to a full
// disk.
#include "cli/cliexit.h"
#include "recording/recordingreader.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{
// 63 blocks at 40 ms an answer: about three seconds of download.
const QString slowLogger = QStringLiteral("HX20D:sn=H2SLOW:samples=64512:latency=40");

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString lastLine() const { return QString::fromLocal8Bit(out.trimmed().split('\n').last()); }
};
} // namespace

class TstCliFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void killedDownloadsLeaveNoIncompleteRecording();
    void importDuringADownloadArchivesNoPartialFile();
    void concurrentDownloadsKeepTheirOwnRecordings();
    void moveOntoAFullFileSystemLeavesNothing_data();
    void moveOntoAFullFileSystemLeavesNothing();
    void sigtermAroundTheEndOfADownload();
    void faultKnobsReachTheProgram_data();
    void faultKnobsReachTheProgram();

private:
    void prepare(QProcess &process, const QString &loggers) const;
    Run run(const QStringList &arguments, const QString &loggers);
    // Starts `arguments` and returns once its progress reached "block N/63".
    bool startAndWaitForBlock(QProcess &process, const QStringList &arguments, int block);
    QString recordings() const
    {
        return home->path() + QStringLiteral("/Documents/HYGRA/UserData");
    }
    // The recording files of `folder` whose samples fall short of their header's count.
    static QStringList incompleteRecordings(const QString &folder);
    QStringList temporaryFiles() const
    {
        return QDir(recordings())
            .entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
    }

    std::unique_ptr<QTemporaryDir> home;
};

void TstCliFiles::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    QVERIFY(QFile::exists(QStringLiteral(HYGRA_CLI_DEMO)));
}

void TstCliFiles::init()
{
    QDir(recordings()).removeRecursively();
}

void TstCliFiles::prepare(QProcess &process, const QString &loggers) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), loggers);
    environment.insert(QStringLiteral("HOME"), home->path());
    process.setProcessEnvironment(environment);
    process.setReadChannel(QProcess::StandardError);
}

Run TstCliFiles::run(const QStringList &arguments, const QString &loggers)
{
    QProcess process;
    prepare(process, loggers);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool TstCliFiles::startAndWaitForBlock(QProcess &process, const QStringList &arguments, int block)
{
    prepare(process, slowLogger);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    const QByteArray wanted = QByteArray("block ") + QByteArray::number(block) + "/63";
    QByteArray progress;
    while (!progress.contains(wanted) && process.waitForReadyRead(10000))
        progress += process.readAllStandardError();
    return progress.contains(wanted);
}

QStringList TstCliFiles::incompleteRecordings(const QString &folder)
{
    QStringList incomplete;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.data")}, QDir::Files)) {
        const LoadedRecording file = RecordingReader::read(dir.filePath(name));
        if (!file.ok() || file.samples.size() != file.recording.numofReport)
            incomplete << QStringLiteral("%1 (%2 of %3 samples)")
                              .arg(name)
                              .arg(file.samples.size())
                              .arg(file.recording.numofReport);
    }
    return incomplete;
}

// Killed outright at any moment, a download leaves either no recording or a
// complete one; what it was writing is cleared by the next run.
void TstCliFiles::killedDownloadsLeaveNoIncompleteRecording()
{
    QRandomGenerator random(QRandomGenerator::global()->generate());
    for (int round = 0; round < 10; ++round) {
        // Two kills around the last block, the others anywhere in the download.
        const int block = round < 2 ? 62 + round : random.bounded(1, 63);
        QProcess process;
        QVERIFY(startAndWaitForBlock(process, {QStringLiteral("download")}, block));
        QTest::qWait(random.bounded(40));
        process.kill();
        QVERIFY(process.waitForFinished(5000));
        const QStringList incomplete = incompleteRecordings(recordings());
        QVERIFY2(
            incomplete.isEmpty(),
            qPrintable(
                QStringLiteral("killed after block %1: %2").arg(block).arg(incomplete.join(", "))));
    }
    const Run next = run({QStringLiteral("download")}, QStringLiteral("HX10D:samples=100"));
    QCOMPARE(next.exitCode, 0);
    QVERIFY2(temporaryFiles().isEmpty(), qPrintable(temporaryFiles().join(' ')));
    QVERIFY(incompleteRecordings(recordings()).isEmpty());
}

void TstCliFiles::importDuringADownloadArchivesNoPartialFile()
{
    QProcess download;
    QVERIFY(startAndWaitForBlock(download, {QStringLiteral("download")}, 5));
    const Run import = run({QStringLiteral("archive"), QStringLiteral("import"), recordings()},
                           QStringLiteral("none"));
    QCOMPARE(import.exitCode, 0);
    const QJsonObject counts = QJsonDocument::fromJson(import.out).object();
    QCOMPARE(counts.value("added").toInt(), 0);
    QCOMPARE(counts.value("skipped").toInt(), 0);
    QVERIFY(download.waitForFinished(20000));
    QCOMPARE(download.exitCode(), 0);

    const Run list =
        run({QStringLiteral("archive"), QStringLiteral("list")}, QStringLiteral("none"));
    QCOMPARE(list.exitCode, 0);
    const QList<QByteArray> entries = list.out.trimmed().split('\n');
    QCOMPARE(entries.size(), 1);
    QCOMPARE(QJsonDocument::fromJson(entries.first()).object().value("samples").toInt(), 64512);
    QCOMPARE(
        run({QStringLiteral("archive"), QStringLiteral("check")}, QStringLiteral("none")).exitCode,
        0);
}

// Twelve downloads started at once in one home, round after round: each
// recording lands in a file of its own, with its own logger's samples.
void TstCliFiles::concurrentDownloadsKeepTheirOwnRecordings()
{
    constexpr int rounds = 10;
    constexpr int loggers = 12;
    QSet<QString> printed;
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int k = 1; k <= loggers; ++k) {
            processes.push_back(std::make_unique<QProcess>());
            prepare(*processes.back(),
                    QStringLiteral("HX20D:sn=R%1K%2:samples=%3").arg(round).arg(k).arg(200 + k));
            processes.back()->start(QStringLiteral(HYGRA_CLI_DEMO), {QStringLiteral("download")});
        }
        for (auto &process : processes) {
            QVERIFY(process->waitForFinished(30000));
            QCOMPARE(process->exitCode(), 0);
            printed.insert(QString::fromLocal8Bit(process->readAllStandardOutput().trimmed()));
        }
    }
    QCOMPARE(printed.size(), rounds * loggers);
    const QDir dir(recordings());
    const QStringList files = dir.entryList({QStringLiteral("*.data")}, QDir::Files);
    QCOMPARE(files.size(), rounds * loggers);
    QSet<QString> serials;
    for (const QString &name : files) {
        QVERIFY(printed.contains(dir.filePath(name)));
        const LoadedRecording file = RecordingReader::read(dir.filePath(name));
        QVERIFY2(file.ok(), qPrintable(name));
        const int k = file.recording.sn.mid(file.recording.sn.indexOf('K') + 1).toInt();
        QCOMPARE(file.samples.size(), 200 + k);
        QCOMPARE(file.recording.numofReport, 200 + k);
        serials.insert(file.recording.sn);
    }
    QCOMPARE(serials.size(), rounds * loggers);
}

void TstCliFiles::moveOntoAFullFileSystemLeavesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("download") << QStringLiteral("download");
    QTest::newRow("watch") << QStringLiteral("watch");
}

// A recording of 258 kB does not fit on a 64 KiB file system: the download goes
// straight into that folder and fails there, leaving not even a truncated copy
// (the logger still holds the recording).
void TstCliFiles::moveOntoAFullFileSystemLeavesNothing()
{
    QFETCH(QString, command);
#ifdef Q_OS_UNIX
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs takes root; run the suite as root to test a full disk");
#endif
    QTemporaryDir mountPoint;
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mountPoint.path()});
    if (!mount.waitForFinished(10000) || mount.exitCode() != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here: %1")
                             .arg(QString::fromLocal8Bit(mount.readAllStandardError()))));
    const auto unmount = qScopeGuard(
        [&mountPoint] { QProcess::execute(QStringLiteral("umount"), {mountPoint.path()}); });
    QStringList arguments{command, QStringLiteral("--dir"), mountPoint.path()};
    if (command == QLatin1String("watch"))
        arguments << QStringLiteral("--once");
    const Run r = run(arguments, QStringLiteral("HX20D:sn=H2FULL:samples=64512"));
    if (command == QLatin1String("watch")) {
        QCOMPARE(r.exitCode, 0);
        const QJsonObject line = QJsonDocument::fromJson(r.out).object();
        QVERIFY2(line.value("error").toString().startsWith("the recording could not be stored"),
                 r.out.constData());
        QVERIFY(line.value("file").isNull());
    } else {
        QCOMPARE(r.exitCode, int(ExitCannotWrite));
        QVERIFY2(r.err.contains("could not be stored in"), r.err.constData());
        QVERIFY(r.out.isEmpty());
    }
    const QStringList left =
        QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
    QVERIFY(QDir(recordings()).entryList({QStringLiteral("*.data")}, QDir::Files).isEmpty());
    QVERIFY(incompleteRecordings(recordings()).isEmpty());
}

// SIGTERM over and over from the last blocks on: a download the signal cut
// short leaves nothing (a later signal may end it while it winds down), one
// that completed finishes as a success with its path.
void TstCliFiles::sigtermAroundTheEndOfADownload()
{
    for (int round = 0; round < 6; ++round) {
        const QStringList before = QDir(recordings()).entryList({"*.data"}, QDir::Files);
        QProcess process;
        const int block = 61 + round % 3;
        QVERIFY(startAndWaitForBlock(process, {QStringLiteral("download")}, block));
        while (!process.waitForFinished(5))
            process.terminate();
        const QStringList after = QDir(recordings()).entryList({"*.data"}, QDir::Files);
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        const bool cutShort =
            process.exitStatus() != QProcess::NormalExit || process.exitCode() == ExitInterrupted;
        // Signalled only after the last block was in: nothing may cut it short.
        if (block == 63)
            QVERIFY(!cutShort);
        if (cutShort) {
            QCOMPARE(after, before);
            QVERIFY(out.isEmpty());
        } else {
            QCOMPARE(process.exitCode(), 0);
            QCOMPARE(after.size(), before.size() + 1);
            QVERIFY2(QFile::exists(out), qPrintable(out));
        }
        QVERIFY(incompleteRecordings(recordings()).isEmpty());
    }
}

void TstCliFiles::faultKnobsReachTheProgram_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("loggers");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("kernel driver bound") << "info"
                                         << "HX10D:kerneldriver=1" << 0 << QString();
    QTest::newRow("open refused") << "info"
                                  << "HX10D:refuseopen=1" << int(ExitOpenFailed)
                                  << "could not be opened";
    QTest::newRow("silent") << "info"
                            << "HX10D:silent=1" << int(ExitTimeout)
                            << "did not answer the initial read";
    QTest::newRow("answer dropped")
        << "info"
        << "HX10D:drop=1" << int(ExitTimeout) << "did not answer the initial read";
    QTest::newRow("wrong block") << "download"
                                 << "HX10D:samples=3000:wrongblock=2" << int(ExitTimeout)
                                 << "a download step got no answer";
    QTest::newRow("unplugged mid-download") << "download"
                                            << "HX10D:samples=5000:unplugafter=8"
                                            << int(ExitTimeout) << "a download step got no answer";
    // Bytes before a frame are skipped; before a data block they would shift it.
    QTest::newRow("garbage and split answers") << "info"
                                               << "HX20D:garbage=00ff5a:chunks=4" << 0 << QString();
    QTest::newRow("split data blocks") << "download"
                                       << "HX20D:samples=2100:chunks=4" << 0 << QString();
}

// A fault given in LOGGERSIM reaches the emulated logger of a program run from a shell.
void TstCliFiles::faultKnobsReachTheProgram()
{
    QFETCH(QString, command);
    QFETCH(QString, loggers);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run r = run({command}, loggers);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QVERIFY(incompleteRecordings(recordings()).isEmpty());
    QVERIFY(temporaryFiles().isEmpty());
    if (command == QLatin1String("download") && exitCode == 0)
        QVERIFY2(QFile::exists(r.lastLine()), r.out.constData());
}

QTEST_GUILESS_MAIN(TstCliFiles)
#include "tst_clifiles.moc"
