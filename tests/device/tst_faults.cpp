// SPDX-License-Identifier: GPL-3.0-or-later
// Faults a user can run into: unplugged and misbehaving loggers, unusable folders, corrupt files.
// A few of these wait on the controller's real one-second clock.
#include "config/persettingjson.h"
#include "controllog.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "platform/loggerwatcher.h"
#include "settings/presetwidget.h"
#include "testsupport.h"

#include <QApplication>
#include <QtTest>
#include <memory>

using testsupport::hex;

namespace
{
const QByteArray blockRequestCode = hex("E2");
const QString existingRecording = QStringLiteral("HX20D_20240101_080000.data");
const QString existingPreset = QStringLiteral("20240101_080000.conf");

// Every file of a folder with its content, by name.
QMap<QString, QByteArray> filesOf(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}

QString settingsPath()
{
    return appFolder() + QStringLiteral("/Setting/setting.ini");
}

// The block requests among the transfers made to a logger.
int blockRequests(int logger)
{
    int count = 0;
    for (const QByteArray &transfer : loggersim::writtenTransfers(logger))
        count += transfer.size() > 3 && transfer.mid(3, 1) == blockRequestCode;
    return count;
}

// Bytes with no frame head in them, as a noisy line might deliver.
QByteArray noise(int size)
{
    QByteArray bytes(size, '\0');
    quint32 state = 12345;
    for (char &c : bytes) {
        state = state * 1103515245u + 12345u;
        c = char((state >> 16) & 0xFF);
        if (uchar(c) == 0x5A)
            c = 0x5B;
    }
    return bytes;
}
} // namespace

class TstFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void unplugMidOperation_data();
    void unplugMidOperation();
    void noiseBeforeAnswers();
    void floodOfUnknownFrames();
    void answersWithOtherCodesDoNotCompleteTheRequest_data();
    void answersWithOtherCodesDoNotCompleteTheRequest();
    void lengthBeyondWhatArrivesTimesOut_data();
    void lengthBeyondWhatArrivesTimesOut();
    void loggerSlowerThanTheTimeouts();
    void recordingsFolderThatCannotBeCreated();
    void deletedRecordingsFolderIsCreatedAgain();
    void corruptPresetFilesAreLeftAlone();
    void corruptSettingsFile_data();
    void corruptSettingsFile();

private:
    void useSettingsFile(const QByteArray &content);
    void setFaults(const loggersim::Faults &faults) { loggersim::setFaults(logger, faults); }
    bool connectLogger() { return control->connectDevice(testsupport::attachedLogger(HX20D, 0)); }
    void send(const SimpleSendCmdUnion &cmd) { control->addSendSimpleCmd(cmd); }
    // The logger answers a heartbeat: the user can carry on with this connection.
    void verifyHeartbeatAnswered();
    void verifyInitialReadSucceeds();
    // A whole download into a new file that the reader would accept.
    void verifyCompleteDownload();
    // No file the user had was changed, and nothing was left behind.
    void verifyUserFilesUnchanged();

    QObject owner;
    UsbControl *control = nullptr;
    ControlLog *log = nullptr;
    int logger = 0;
    QMap<QString, QByteArray> recordingsBefore;
    QMap<QString, QByteArray> presetsBefore;
};

void TstFaults::initTestCase()
{
    loggersim::setReadWaitLimit(250);
    initSettings(&owner);
}

void TstFaults::init()
{
    loggersim::configure("HX20D:sn=F20:samples=1500");
    logger = loggersim::loggerIds().first();
    QVERIFY(QDir().mkpath(dataDir()));
    QVERIFY(QDir().mkpath(configDir()));
    writeFile(QDir(dataDir()).filePath(existingRecording), QByteArray("HX20D") + noise(2000));
    PersettingJson preset;
    preset.configName = QStringLiteral("Cold room");
    writeFile(QDir(configDir()).filePath(existingPreset),
              QJsonDocument(preset.toJson()).toJson(QJsonDocument::Compact));
    recordingsBefore = filesOf(dataDir());
    presetsBefore = filesOf(configDir());
    control = new UsbControl(dataDir());
    log = new ControlLog(control);
}

void TstFaults::cleanup()
{
    delete control;
    delete log;
    QDir(appFolder()).removeRecursively();
    initSettings(&owner);
}

void TstFaults::useSettingsFile(const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).path()));
    writeFile(settingsPath(), content);
    initSettings(&owner);
    // The controller is given its recordings folder when it is made.
    delete control;
    delete log;
    control = new UsbControl(dataDir());
    log = new ControlLog(control);
}

void TstFaults::verifyHeartbeatAnswered()
{
    log->lines.clear();
    send(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 1);
    QVERIFY2(log->lines.first().startsWith("devStateSignal(F20,"), qPrintable(log->lines.first()));
}

void TstFaults::verifyInitialReadSucceeds()
{
    log->lines.clear();
    send(makeSimpleCmd(InitialReadCmd));
    QTRY_COMPARE(log->lines.size(), 1);
    QVERIFY2(log->lines.first().startsWith("initReadConfigState(true,"),
             qPrintable(log->lines.first()));
}

void TstFaults::verifyCompleteDownload()
{
    log->lines.clear();
    send(makeSimpleCmd(RecordInfoCmd));
    QTRY_VERIFY(log->lines.contains("dataDownloadProgress(2,2)"));
    QCOMPARE(log->lines.first(), "startDataDownload(2)");
    QFile file(log->filePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 1500 * 4);
}

void TstFaults::verifyUserFilesUnchanged()
{
    QCOMPARE(filesOf(dataDir()), recordingsBefore);
    QCOMPARE(filesOf(configDir()), presetsBefore);
}

void TstFaults::unplugMidOperation_data()
{
    QTest::addColumn<QList<int>>("commands");
    // OUT transfers, the lone head bytes included, after which the logger is gone.
    QTest::addColumn<int>("transfers");
    // How the controller ends what was under way; empty: it needs no word.
    QTest::addColumn<QString>("ending");

    QTest::newRow("initial read") << QList<int>{InitialReadCmd} << 2 << QString();
    QTest::newRow("configuration write") << QList<int>{ConfigCmd, NoteCmd} << 2 << QString();
    QTest::newRow("record information") << QList<int>{RecordInfoCmd} << 2 << QString();
    QTest::newRow("alarm statistics") << QList<int>{RecordInfoCmd} << 3 << QString();
    QTest::newRow("first data block")
        << QList<int>{RecordInfoCmd} << 4 << QStringLiteral("stopDataDownload(-5)");
    QTest::newRow("last data block")
        << QList<int>{RecordInfoCmd} << 5 << QStringLiteral("stopDataDownload(-5)");
}

void TstFaults::unplugMidOperation()
{
    QFETCH(QList<int>, commands);
    QFETCH(int, transfers);
    QFETCH(QString, ending);
    LoggerWatcher watcher;
    QSignalSpy removed(&watcher, &LoggerWatcher::loggerRemoved);
    loggersim::Faults faults;
    faults.unplugAfterTransfers = transfers;
    setFaults(faults);
    QVERIFY(connectLogger());
    for (int type : commands) {
        if (type == ConfigCmd)
            send(makeConfigWriteCmd(loggersim::config(logger)));
        else if (type == NoteCmd)
            send(makeNoteWriteCmd("note"));
        else
            send(makeSimpleCmd(type));
    }
    QTRY_COMPARE(removed.count(), 1);
    QCOMPARE(removed.first().first().value<AttachedLogger>().model, int(HX20D));

    // The window drops the connection when any logger goes away.
    control->disconnectDevice();
    QTRY_COMPARE(loggersim::openHandleCount(), 0);
    const QStringList endings =
        log->lines.filter(QRegularExpression("^(stop|devWrite|initReadConfigState\\(true)"));
    QCOMPARE(endings, ending.isEmpty() ? QStringList() : QStringList{ending});
    verifyUserFilesUnchanged();

    // Plugged in again, the logger works as before. A configuration that
    // reached it has erased its recording, so it records afresh.
    loggersim::plug(logger);
    setFaults(loggersim::Faults());
    loggersim::setRecordNum(logger, 1500);
    QVERIFY(connectLogger());
    verifyInitialReadSucceeds();
    verifyHeartbeatAnswered();
    verifyCompleteDownload();
}

void TstFaults::noiseBeforeAnswers()
{
    loggersim::Faults faults;
    faults.garbage = noise(3000);
    faults.chunks = 7;
    setFaults(faults);
    QVERIFY(connectLogger());
    verifyInitialReadSucceeds();
    verifyHeartbeatAnswered();

    // Data blocks carry no frame: noise in front of one spoils it, and the
    // download fails instead of storing shifted samples.
    log->lines.clear();
    send(makeSimpleCmd(RecordInfoCmd));
    QTRY_VERIFY_WITH_TIMEOUT(log->lines.contains("dataDownloadErr(-5)"), 5000);
    QVERIFY(!log->lines.contains("dataDownloadProgress(1,2)"));
    verifyUserFilesUnchanged();

    setFaults(loggersim::Faults());
    verifyHeartbeatAnswered();
}

void TstFaults::floodOfUnknownFrames()
{
    QVERIFY(connectLogger());
    QByteArray flood;
    for (int i = 0; i < 200; ++i)
        flood += buildFrame(0x77, 0x00, QByteArray(i % 9, char(i)));
    loggersim::queueRawAnswer(logger, flood);
    send(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    QTRY_VERIFY(log->lines.contains("devConfigSignal(HX20D Logger,1)"));
    // Each unknown frame makes the controller ask again, and the logger answers
    // every request; once the extra answers have drained, the line is quiet.
    QTest::qWait(500);
    const int answers = log->lines.size();
    QTest::qWait(500);
    QCOMPARE(log->lines.size(), answers);
    verifyHeartbeatAnswered();
}

void TstFaults::answersWithOtherCodesDoNotCompleteTheRequest_data()
{
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("unknown code") << buildFrame(0x55, 0x00, QByteArray(20, '\x13'));
    QTest::newRow("block request code") << buildFrame(0xE2, 0x00, hex("01"));
    QTest::newRow("identification with sub-code 1") << buildFrame(0xEF, 0x01, QByteArray(16, 'x'));
}

void TstFaults::answersWithOtherCodesDoNotCompleteTheRequest()
{
    QFETCH(QByteArray, answer);
    QVERIFY(connectLogger());
    loggersim::queueRawAnswer(logger, answer);
    send(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    QTRY_COMPARE(log->lines, QStringList{"devConfigSignal(HX20D Logger,1)"});
    // The configuration read went out twice: the odd answer left it pending.
    const QByteArray configRead = hex("5A A5 02 13 00 14 01");
    QCOMPARE(loggersim::writtenTransfers(logger).count(configRead), 2);
    verifyHeartbeatAnswered();
}

void TstFaults::lengthBeyondWhatArrivesTimesOut_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("failure");

    QTest::newRow("configuration")
        << int(ConfigCmd) << hex("5A A5 FF 13 00 01 02 03 04 05") << "otherCmdErrTip(1,0)";
    QTest::newRow("record information")
        << int(RecordInfoCmd) << hex("5A A5 F0 E0 00 10 00 00 00 10 00") << "dataDownloadErr(-5)";
}

void TstFaults::lengthBeyondWhatArrivesTimesOut()
{
    QFETCH(int, command);
    QFETCH(QByteArray, answer);
    QFETCH(QString, failure);
    QVERIFY(connectLogger());
    loggersim::queueRawAnswer(logger, answer);
    send(makeSimpleCmd(command));
    QTRY_VERIFY_WITH_TIMEOUT(log->lines.contains(failure), 4000);
    verifyUserFilesUnchanged();
    // The timeout threw the stuck bytes away with the request.
    verifyHeartbeatAnswered();
}

void TstFaults::loggerSlowerThanTheTimeouts()
{
    loggersim::Faults faults;
    faults.latencyMs = 2600;
    setFaults(faults);
    QVERIFY(connectLogger());
    send(makeSimpleCmd(RecordInfoCmd));
    QTRY_VERIFY_WITH_TIMEOUT(log->lines.contains("dataDownloadErr(-5)"), 4000);
    // Late answers may still arrive; whatever they start ends the same way,
    // with no file left behind.
    QTest::qWait(6000);
    verifyUserFilesUnchanged();

    setFaults(loggersim::Faults());
    verifyHeartbeatAnswered();
}

void TstFaults::recordingsFolderThatCannotBeCreated()
{
    const QString blocker = appFolder() + QStringLiteral("/blocker");
    writeFile(blocker, "a regular file");
    useSettingsFile("[setting]\ndatadir=" + blocker.toUtf8() + "/UserData\n");
    QVERIFY(connectLogger());
    send(makeSimpleCmd(RecordInfoCmd));
    QTRY_VERIFY(log->lines.contains("dataDownloadErr(-7)"));
    QVERIFY(!log->lines.contains("startDataDownload(2)"));
    QCOMPARE(blockRequests(logger), 0);
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("a regular file"));
    verifyHeartbeatAnswered();
}

void TstFaults::deletedRecordingsFolderIsCreatedAgain()
{
    QVERIFY(QDir(dataDir()).removeRecursively());
    QVERIFY(connectLogger());
    verifyCompleteDownload();
    QCOMPARE(QFileInfo(log->filePath).absolutePath(), QDir(dataDir()).absolutePath());
}

void TstFaults::corruptPresetFilesAreLeftAlone()
{
    const QDir folder(configDir());
    const QByteArray valid = presetsBefore.value(existingPreset);
    writeFile(folder.filePath("a_not_json.conf"), "configName=broken");
    writeFile(folder.filePath("b_empty.conf"), QByteArray());
    writeFile(folder.filePath("c_array.conf"), "[1,2,3]");
    writeFile(folder.filePath("d_empty_object.conf"), "{}");
    writeFile(folder.filePath("e_truncated.conf"), valid.left(valid.size() / 2));
    writeFile(folder.filePath("f_binary.conf"), noise(5000));
    writeFile(folder.filePath("g_wrong_types.conf"),
              R"({"configName":7,"devName":["x"],"devId":"99999","th1":"hot","devDateTime":3,)"
              R"("screenCloseTime":"120","lgxDevType":"HX20D"})");
    QVERIFY(folder.mkdir("h_folder.conf"));
    presetsBefore = filesOf(configDir());

    PresetWidget panel;
    QCOMPARE(panel.presets().size(), 2);
    QCOMPARE(panel.presets().at(0).configName, QStringLiteral("Cold room"));
    // A member of the wrong type reads as empty, zero or false.
    const PersettingJson &odd = panel.presets().at(1);
    QCOMPARE(odd.configName, QString());
    QCOMPARE(odd.screenCloseTime, 0);
    QCOMPARE(odd.lgxDevType, 0);
    QCOMPARE(odd.toConfig(nullptr).devId, uint8_t(0));

    // Renaming a file that is no preset leaves it as it was.
    for (const char *name : {"a_not_json.conf", "b_empty.conf", "c_array.conf",
                             "d_empty_object.conf", "e_truncated.conf", "f_binary.conf"})
        QVERIFY2(!PersettingJson::renameFile(folder.filePath(name), "new name"), qPrintable(name));
    verifyUserFilesUnchanged();
}

void TstFaults::corruptSettingsFile_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("empty folders") << QByteArray("[setting]\ndatadir=\nconfigdir=\n");
    QTest::newRow("blank folders") << QByteArray("[setting]\ndatadir=\"  \"\nconfigdir=\" \"\n");
    QTest::newRow("binary") << noise(4000);
    QTest::newRow("group without keys") << QByteArray("[setting]\n[other]\ndatadir=/tmp\n");
}

void TstFaults::corruptSettingsFile()
{
    QFETCH(QByteArray, content);
    useSettingsFile(content);
    // Files never land in the current or the root folder.
    QCOMPARE(dataDir(), appFolder() + QStringLiteral("/UserData"));
    QCOMPARE(configDir(), appFolder() + QStringLiteral("/Config"));
    QCOMPARE(currentLanguage(), QStringLiteral("中文简体"));
    QVERIFY(connectLogger());
    verifyCompleteDownload();
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TstFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
