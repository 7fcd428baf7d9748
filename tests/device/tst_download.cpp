// SPDX-License-Identifier: GPL-3.0-or-later
// Downloading a recording from emulated loggers into a file, and reading that file back.
#include "controllog.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "device/protocol.h"
#include "device/recorddownload.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "recording/recordingreader.h"
#include "testsupport.h"

#include <QDir>
#include <QtTest>
#include <memory>

using testsupport::hex;

namespace
{
const QByteArray recordInfoRequest = hex("5A A5 02 E0 00 E1 01");
const QByteArray alarmInfoRequest = hex("5A A5 02 E1 00 E2 01");

QByteArray blockRequest(int n)
{
    return buildFrame(CmdCode::ReadBlock, 0, QByteArray(1, char(n)));
}

QStringList recordingFiles()
{
    return QDir(dataDir()).entryList({"*.data"}, QDir::Files, QDir::Name);
}
} // namespace

class TstDownload : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void blockCount_data();
    void blockCount();
    void downloadsAndReadsBack_data();
    void downloadsAndReadsBack();
    void shortRecordInfoWaitsForHX20D_data();
    void shortRecordInfoWaitsForHX20D();
    void noRecords();
    void fileCannotBeCreated();
    void fullDiskEndsTheDownload();
    void wrongBlockNumberEndsInTimeout();
    void cancelDeletesThePartialFile();
    void cancelAfterTheLastBlockDeletesTheFile();
    void removalEndsTheDownload();
    void twoDownloadsInOneSecondKeepBothFiles();

private:
    // Connects, reads configuration, note and serial number, then asks for the recording.
    void startDownload(int model);

    std::unique_ptr<QTemporaryDir> home;
    UsbControl *control = nullptr;
    ControlLog *log = nullptr;
    int logger = 0;
};

void TstDownload::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    initSettings(this);
    loggersim::setReadWaitLimit(250);
}

void TstDownload::init()
{
    control = new UsbControl(dataDir());
    log = new ControlLog(control);
}

void TstDownload::cleanup()
{
    delete control;
    delete log;
    QDir(dataDir()).removeRecursively();
}

void TstDownload::startDownload(int model)
{
    logger = loggersim::loggerIds().first();
    QVERIFY(control->connectDevice(testsupport::attachedLogger(model, 0)));
    control->addSendSimpleCmd(makeSimpleCmd(InitialReadCmd));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    log->lines.clear();
    loggersim::clearWrittenTransfers(logger);
    control->addSendSimpleCmd(makeSimpleCmd(RecordInfoCmd));
}

void TstDownload::blockCount_data()
{
    QTest::addColumn<qint64>("recordNum");
    QTest::addColumn<int>("numofReport");
    QTest::addColumn<int>("blocks");

    QTest::newRow("2000 of 2000") << qint64(2000) << 2000 << 2;
    QTest::newRow("1024 of 1024") << qint64(1024) << 1024 << 1;
    QTest::newRow("100000 of 64512") << qint64(100000) << 64512 << 63;
    QTest::newRow("500 of none") << qint64(500) << 0 << 0;
}

void TstDownload::blockCount()
{
    QFETCH(qint64, recordNum);
    QFETCH(int, numofReport);
    QFETCH(int, blocks);
    QCOMPARE(RecordDownload::blockCount(recordNum, numofReport), blocks);
}

void TstDownload::downloadsAndReadsBack_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<bool>("humidity");
    QTest::addColumn<QString>("sn");

    QTest::newRow("HX10D") << "HX10D:sn=T10:samples=2100:seed=4" << int(HX10D) << 3 << true
                           << "T10";
    QTest::newRow("HX20D with humidity")
        << "HX20D:sn=T20:sensor=2:samples=3000:delay=5" << int(HX20D) << 3 << true << "T20";
    QTest::newRow("HX20D temperature probe")
        << "HX20D:sn=T21:sensor=1:samples=1500:interval=1" << int(HX20D) << 2 << false << "T21";
    QTest::newRow("last block of 100 bytes")
        << "HX10D:samples=1049" << int(HX10D) << 2 << true << "H1SIM00001";
    QTest::newRow("loop-overwritten") << "HX20D:samples=70000:interval=1:start=2024-03-01T09:00:00"
                                      << int(HX20D) << 63 << true << "H2SIM00001";
    QTest::newRow("name beyond ASCII")
        << "HX20D:sn=T22:name=Kühlraum 冷库:samples=1500" << int(HX20D) << 2 << true << "T22";
}

void TstDownload::downloadsAndReadsBack()
{
    QFETCH(QString, description);
    QFETCH(int, model);
    QFETCH(int, blocks);
    QFETCH(bool, humidity);
    QFETCH(QString, sn);

    loggersim::configure(description);
    startDownload(model);
    const QString last = QString("dataDownloadProgress(%1,%1)").arg(blocks);
    QTRY_VERIFY_WITH_TIMEOUT(log->lines.contains(last), 10000);
    QTest::qWait(50);

    QStringList expectedLog{QString("startDataDownload(%1)").arg(blocks)};
    QList<QByteArray> expectedWrites{recordInfoRequest, alarmInfoRequest};
    for (int n = 1; n <= blocks; ++n) {
        expectedLog.append(QString("dataDownloadProgress(%1,%2)").arg(n).arg(blocks));
        expectedWrites.append(blockRequest(n));
    }
    QCOMPARE(log->lines, expectedLog);
    QCOMPARE(loggersim::writtenTransfers(logger), expectedWrites);

    const LoadedRecording file = RecordingReader::read(log->filePath);
    QVERIFY(file.ok());
    const ReadDevInfoJson &info = file.recording;
    const QVector<loggersim::Sample> held = loggersim::heldSamples(logger);
    const qint64 recordNum = loggersim::recordNum(logger);
    QCOMPARE(info.devType, model);
    QCOMPARE(info.recordNum, recordNum);
    QCOMPARE(info.numofReport, held.size());
    QCOMPARE(info.overWirteRecordNum, recordNum - held.size());
    QCOMPARE(info.isContainHum, humidity);
    QCOMPARE(info.sensorType, int(loggersim::config(logger).sensorType));
    QCOMPARE(info.sn, sn);
    // The name the logger holds, read as the settings page and the command line read it.
    QCOMPARE(info.devName, QString::fromUtf8(loggersim::config(logger).devName));
    QCOMPARE(info.startDelay, int(loggersim::config(logger).startDelayTime));
    // The logger's level-1 threshold th1 arrives under the recording key th3.
    QCOMPARE(info.th3.alertValue, loggersim::config(logger).th1.alertValue);
    QVERIFY(info.th3.isOpen);
    QVERIFY(info.th3.alertNum > 0);
    QCOMPARE(info.maxTemp > 3000, true);
    if (model == HX20D)
        QCOMPARE(info.startTemp != -7968 || held.isEmpty(), true);

    QCOMPARE(file.samples.size(), held.size());
    for (int i = 0; i < held.size(); ++i) {
        const SamplePoint &p = file.samples.at(i);
        const loggersim::Sample &s = held.at(i);
        QCOMPARE(p.time, s.time);
        QCOMPARE(p.temperature,
                 s.temperature == loggersim::noValue ? -1000.0f : float(s.temperature) / 100);
        QCOMPARE(p.humidity, s.humidity == loggersim::noValue ? -10.0f : float(s.humidity) / 10);
    }
}

void TstDownload::shortRecordInfoWaitsForHX20D_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("HX10D") << int(HX10D) << QStringList{"dataDownloadErr(-6)"};
    QTest::newRow("HX20D") << int(HX20D) << QStringList();
}

void TstDownload::shortRecordInfoWaitsForHX20D()
{
    QFETCH(int, model);
    QFETCH(QStringList, expected);
    loggersim::configure(model == HX10D ? "HX10D" : "HX20D");
    startDownload(model);
    // A 44-byte answer reporting no records.
    control->delRevDataSlot(buildFrame(CmdCode::RecordInfo, 0, QByteArray(37, '\0')));
    QTest::qWait(100);
    // The emulator's own answer follows; drop it from the comparison.
    QCOMPARE(log->lines.mid(0, expected.size()), expected);
    if (expected.isEmpty())
        QVERIFY(!log->lines.contains("dataDownloadErr(-6)"));
}

void TstDownload::noRecords()
{
    loggersim::configure("HX20D:samples=0");
    startDownload(HX20D);
    QTRY_COMPARE(log->lines, QStringList{"dataDownloadErr(-6)"});
    QTest::qWait(50);
    QCOMPARE(loggersim::writtenTransfers(logger), QList<QByteArray>{recordInfoRequest});
    QVERIFY(recordingFiles().isEmpty());
}

void TstDownload::fileCannotBeCreated()
{
    // The recordings folder's place is taken by a regular file.
    QDir(dataDir()).removeRecursively();
    QDir().mkpath(QFileInfo(dataDir()).path());
    QFile blocker(dataDir());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    loggersim::configure("HX10D:samples=500");
    startDownload(HX10D);
    QTRY_COMPARE(log->lines, QStringList{"dataDownloadErr(-7)"});
    QTest::qWait(50);
    QCOMPARE(loggersim::writtenTransfers(logger),
             QList<QByteArray>({recordInfoRequest, alarmInfoRequest}));
    QVERIFY(blocker.remove());
}

void TstDownload::fullDiskEndsTheDownload()
{
    loggersim::configure("HX20D:samples=5000");
    startDownload(HX20D);
    loggersim::Faults faults;
    faults.latencyMs = 300;
    loggersim::setFaults(logger, faults);
    QTRY_COMPARE(log->lines, QStringList{"startDataDownload(5)"});
    // Before block 1 arrives, the disk fills up: the file takes no more data.
    const QString path = log->writingPath;
    QVERIFY(QFile::exists(path));
    {
        const testsupport::FileSizeLimit full(QFileInfo(path).size() + 100);
        QTRY_COMPARE(log->lines.size(), 3);
    }
    QCOMPARE(log->lines,
             QStringList({"startDataDownload(5)", "dataDownloadErr(-8)", "stopDataDownload(-8)"}));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QDir(dataDir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QTest::qWait(400);
    QCOMPARE(log->lines.size(), 3);
    QVERIFY(!loggersim::writtenTransfers(logger).contains(blockRequest(2)));
}

void TstDownload::wrongBlockNumberEndsInTimeout()
{
    loggersim::configure("HX10D:samples=3000");
    loggersim::Faults faults;
    faults.wrongBlockNumber = 2;
    loggersim::setFaults(loggersim::loggerIds().first(), faults);
    startDownload(HX10D);
    QTRY_COMPARE(log->lines.size(), 2);
    // Written under a name no listing takes until it is complete.
    QVERIFY(recordingFiles().isEmpty());
    QVERIFY(QFile::exists(log->writingPath));
    // Block 2 comes back numbered 3: it is discarded, and the request times out.
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), 4, 4000);
    QCOMPARE(log->lines, QStringList({"startDataDownload(3)", "dataDownloadProgress(1,3)",
                                      "dataDownloadErr(-5)", "stopDataDownload(-5)"}));
    QVERIFY(recordingFiles().isEmpty());
    QVERIFY(!QFile::exists(log->writingPath));
}

void TstDownload::cancelDeletesThePartialFile()
{
    loggersim::configure("HX20D:samples=5000");
    startDownload(HX20D);
    loggersim::Faults faults;
    faults.latencyMs = 300;
    loggersim::setFaults(logger, faults);
    QTRY_COMPARE(log->lines.size(), 2);
    QVERIFY(QFile::exists(log->writingPath));
    control->cancelDownload();
    QVERIFY(!QFile::exists(log->writingPath));
    QVERIFY(QDir(dataDir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QTest::qWait(500);
    QCOMPARE(log->lines, QStringList({"startDataDownload(5)", "dataDownloadProgress(1,5)"}));
}

// The dialog may learn of the last block only after the user pressed Cancel:
// the cancelled download still leaves no file behind.
void TstDownload::cancelAfterTheLastBlockDeletesTheFile()
{
    loggersim::configure("HX10D:samples=800");
    startDownload(HX10D);
    QTRY_COMPARE(log->lines, QStringList({"startDataDownload(1)", "dataDownloadProgress(1,1)"}));
    QCOMPARE(recordingFiles().size(), 1);
    control->cancelDownload();
    QVERIFY(recordingFiles().isEmpty());
}

void TstDownload::removalEndsTheDownload()
{
    loggersim::configure("HX10D:samples=5000");
    startDownload(HX10D);
    loggersim::Faults faults;
    faults.unplugAfterTransfers = 3; // the alarm statistics and blocks 1 and 2
    loggersim::setFaults(logger, faults);
    QTRY_COMPARE(log->lines.size(), 3);
    QCOMPARE(log->lines, QStringList({"startDataDownload(5)", "dataDownloadProgress(1,5)",
                                      "stopDataDownload(-5)"}));
    QVERIFY(recordingFiles().isEmpty());
    control->disconnectDevice();
    QCOMPARE(log->lines.size(), 3);
}

void TstDownload::twoDownloadsInOneSecondKeepBothFiles()
{
    loggersim::configure("HX10D:samples=100");
    startDownload(HX10D);
    QTRY_COMPARE(log->lines.size(), 2);
    const QString first = log->filePath;
    control->addSendSimpleCmd(makeSimpleCmd(RecordInfoCmd));
    QTRY_COMPARE(log->lines.size(), 4);
    const QString second = log->filePath;
    QVERIFY(first != second);
    QCOMPARE(recordingFiles().size(), 2);
    QVERIFY(RecordingReader::read(first).ok());
    QVERIFY(RecordingReader::read(second).ok());
    const QString stem = QFileInfo(first).completeBaseName();
    if (QFileInfo(second).completeBaseName().startsWith(stem))
        QCOMPARE(QFileInfo(second).fileName(), stem + "_2.data");
}

QTEST_GUILESS_MAIN(TstDownload)
#include "tst_download.moc"
