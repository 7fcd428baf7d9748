// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line commands in-process: misbehaving loggers, echo verification and configuration
// files.
#include "cli/clicommands.h"
#include "cli/cliexit.h"
#include "config/configjson.h"
#include "core/settinginfo.h"
#include "device/configframe.h"
#include "device/protocol.h"
#include "loggersim.h"
#include "recording/recordingreader.h"
#include "testsupport.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QtTest>
#include <cstring>
#include <memory>

class TstCliSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void loggerFaults_data();
    void loggerFaults();
    void downloadWithoutRecordingsFolder();
    void configSetPrintsTheEcho();
    void downloadBySerialAmongThree();
    void applyTakesOnlyPresentKeys();
    void applyRefusesBadValues_data();
    void applyRefusesBadValues();
    void applyTakesTheFormsLimits();
    void configJsonRoundTrips();
    void applyCutsTheNameBetweenCharacters();
    void configSetGuards_data();
    void configSetGuards();

private:
    std::unique_ptr<QTemporaryDir> home;
};

void TstCliSession::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    initSettings(this);
    // No test here waits on the one-second clock itself.
    loggersim::setReadWaitLimit(200);
}

void TstCliSession::init()
{
    loggersim::configure(QStringLiteral("HX20D:sn=H2SES00001:samples=600:interval=1"));
}

void TstCliSession::loggerFaults_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("refuseOpen");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("silent logger, info")
        << "info" << true << false << int(ExitTimeout) << "did not answer the initial read";
    QTest::newRow("silent logger, download")
        << "download" << true << false << int(ExitTimeout) << "did not answer the initial read";
    QTest::newRow("open refused, start")
        << "start" << false << true << int(ExitOpenFailed) << "the logger HX20D at port";
    QTest::newRow("open refused, config get")
        << "config get" << false << true << int(ExitOpenFailed) << "could not be opened";
}

void TstCliSession::loggerFaults()
{
    QFETCH(QString, command);
    QFETCH(bool, silent);
    QFETCH(bool, refuseOpen);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    loggersim::Faults faults;
    faults.silent = silent;
    faults.refuseOpen = refuseOpen;
    loggersim::setFaults(loggersim::loggerIds().first(), faults);

    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code =
        CliCommands(&out, &err).run(QStringList{QStringLiteral("hygra-cli")} + command.split(' '));
    QCOMPARE(code, exitCode);
    QVERIFY2(QString::fromUtf8(err.data()).contains(message), err.data().constData());
    QVERIFY(out.data().isEmpty());
}

void TstCliSession::downloadWithoutRecordingsFolder()
{
    // A file where the folder belongs: the new recording cannot be created there.
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile blocker(blocked);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = CliCommands(&out, &err).run(
        {QStringLiteral("hygra-cli"), QStringLiteral("download"), QStringLiteral("--dir"), blocked});
    QCOMPARE(code, int(ExitCannotWrite));
    QVERIFY2(err.data().contains("the recording file could not be created in"), err.data());
    QVERIFY(out.data().isEmpty());
}

void TstCliSession::configSetPrintsTheEcho()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("changes.json")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"devId": 9, "note": "ok"})");
    file.close();
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = CliCommands(&out, &err).run({QStringLiteral("hygra-cli"),
                                                  QStringLiteral("config"), QStringLiteral("set"),
                                                  file.fileName(), QStringLiteral("--erase")});
    QCOMPARE(code, int(ExitOk));
    const QJsonObject echo = QJsonDocument::fromJson(out.data()).object();
    QCOMPARE(echo.value("devId").toInt(), 9);
    QCOMPARE(echo.value("note").toString(), QStringLiteral("ok"));
    QCOMPARE(int(loggersim::config(loggersim::loggerIds().first()).devId), 9);
}

void TstCliSession::downloadBySerialAmongThree()
{
    loggersim::configure(QStringLiteral("HX20D:sn=S1:samples=100,HX20D:sn=S2:samples=200,"
                                        "HX10D:sn=S3:samples=300"));
    QTemporaryDir dir;
    for (const auto &wanted : {std::make_pair("S2", 200), std::make_pair("S3", 300)}) {
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int code = CliCommands(&out, &err).run(
            {QStringLiteral("hygra-cli"), QStringLiteral("download"), QStringLiteral("--serial"),
             QString::fromLatin1(wanted.first), QStringLiteral("--dir"), dir.path()});
        QCOMPARE(code, int(ExitOk));
        const QString path = QString::fromUtf8(out.data()).trimmed();
        // Straight into the folder asked for: nothing is moved there afterwards.
        QCOMPARE(QFileInfo(path).path(), dir.path());
        const LoadedRecording recording = RecordingReader::read(path);
        QCOMPARE(recording.recording.sn, QString::fromLatin1(wanted.first));
        QCOMPARE(int(recording.samples.size()), wanted.second);
    }
    QVERIFY(QDir(dataDir()).entryList({QStringLiteral("*.data")}).isEmpty());
    QBuffer err;
    err.open(QIODevice::WriteOnly);
    QCOMPARE(CliCommands(nullptr, &err).run({QStringLiteral("hygra-cli"), QStringLiteral("info"),
                                              QStringLiteral("--serial"), QStringLiteral("S9")}),
             int(ExitNoLogger));
    QVERIFY2(err.data().contains("no attached logger has the serial number S9"), err.data());
}

void TstCliSession::applyTakesOnlyPresentKeys()
{
    OneConfigCmdStruct config{};
    config.devId = 5;
    config.recordInterval = 12;
    config.th1 = {true, 3000, false, 2};
    QString note = QStringLiteral("old");
    QString error;
    const QJsonObject changes =
        QJsonDocument::fromJson(R"({"recordInterval": 60, "th1": {"alertValue": -250},
                                    "isOpenPdf": true, "perSetStartTime": "2026-05-04T03:02:01"})")
            .object();
    QVERIFY(ConfigJson::apply(changes, &config, &note, &error));
    QCOMPARE(int(config.devId), 5);
    QCOMPARE(int(config.recordInterval), 60);
    QCOMPARE(config.th1.alertValue, -250);
    QCOMPARE(config.th1.isOpen, true);
    QCOMPARE(int(config.th1.delayTime), 2);
    QCOMPARE(config.isOpenPdf, true);
    const uint8_t start[6] = {26, 5, 4, 3, 2, 1};
    QVERIFY(std::equal(start, start + 6, config.perSetStartTime));
    QCOMPARE(note, QStringLiteral("old"));
}

void TstCliSession::applyRefusesBadValues_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::newRow("number as text") << QByteArray(R"({"devId": "7"})") << "devId: expected";
    QTest::newRow("fraction") << QByteArray(R"({"recordInterval": 1.5})") << "recordInterval:";
    QTest::newRow("negative") << QByteArray(R"({"startDelayTime": -1})") << "startDelayTime:";
    QTest::newRow("past the field")
        << QByteArray(R"({"screenDisplayTime": 65536})") << "screenDisplayTime:";
    QTest::newRow("unit past 1") << QByteArray(R"({"tempUnit": 2})") << "tempUnit:";
    QTest::newRow("flag as number") << QByteArray(R"({"isOpenLed": 1})") << "isOpenLed:";
    QTest::newRow("bad date") << QByteArray(R"({"devDateTime": "yesterday"})") << "devDateTime:";
    QTest::newRow("date before 2000")
        << QByteArray(R"({"perSetStartTime": "1999-12-31T23:00:00"})") << "perSetStartTime:";
    QTest::newRow("alarm not an object")
        << QByteArray(R"({"hh": 800})") << "hh: expected an object";
    QTest::newRow("alarm delay too long")
        << QByteArray(R"({"tl1": {"delayTime": 70000}})") << "tl1.delayTime:";
    QTest::newRow("alarm switch as text")
        << QByteArray(R"({"th3": {"isOpen": "yes"}})") << "th3.isOpen:";
    // 21 bytes: a three-byte character pushes the name past the record's 20.
    QTest::newRow("name too long")
        << QByteArray(R"({"devName": "abcdefghijklmnopqr温"})") << "devName:";
    QTest::newRow("note too long")
        << QByteArray(R"({"note": ")") + QByteArray(53, 'n') +
               QByteArray("温温温温温温温温温温温温温温温温温温温温温温温温温温") +
               QByteArray(R"("})")
        << "note:";
    QTest::newRow("note outside GBK") << QByteArray(R"({"note": "x😀"})") << "note:";
    // What the wire field could carry but the settings form never writes.
    QTest::newRow("temperature threshold past the wire's 16 bits")
        << QByteArray(R"({"th1": {"alertValue": 1000000000}})")
        << "th1.alertValue: expected a whole number from -4000 to 8500";
    QTest::newRow("temperature threshold above 85 °C")
        << QByteArray(R"({"th3": {"alertValue": 8501}})")
        << "th3.alertValue: expected a whole number from -4000 to 8500";
    QTest::newRow("temperature threshold below -40 °C")
        << QByteArray(R"({"tl2": {"alertValue": -4001}})") << "tl2.alertValue: expected";
    QTest::newRow("humidity threshold above 100 %RH")
        << QByteArray(R"({"hh": {"alertValue": 1001}})")
        << "hh.alertValue: expected a whole number from 0 to 1000";
    QTest::newRow("humidity threshold below 0")
        << QByteArray(R"({"hl": {"alertValue": -1}})") << "hl.alertValue: expected";
    QTest::newRow("alarm delay past 24 h")
        << QByteArray(R"({"th2": {"delayTime": 17281}})")
        << "th2.delayTime: expected a whole number from 0 to 17280";
    QTest::newRow("interval under 10 s")
        << QByteArray(R"({"recordInterval": 1})")
        << "recordInterval: expected a whole number from 2 to 17280";
    QTest::newRow("start delay past 4 h")
        << QByteArray(R"({"startDelayTime": 241})")
        << "startDelayTime: expected a whole number from 0 to 240";
    QTest::newRow("screen off after 5 s")
        << QByteArray(R"({"screenDisplayTime": 5})")
        << "screenDisplayTime: expected 0 or a whole number from 10 to 300";
    QTest::newRow("unknown start mode")
        << QByteArray(R"({"startMode": 3})") << "startMode: expected a whole number from 0 to 2";
    QTest::newRow("unknown sensor")
        << QByteArray(R"({"sensorType": 3})") << "sensorType: expected a whole number from 0 to 2";
}

void TstCliSession::applyTakesTheFormsLimits()
{
    OneConfigCmdStruct config{};
    QString note;
    QString error;
    const QJsonObject changes =
        QJsonDocument::fromJson(R"({"th3": {"alertValue": 8500}, "tl3": {"alertValue": -4000},
                                    "hh": {"alertValue": 1000}, "hl": {"alertValue": 0},
                                    "tl1": {"delayTime": 17280}, "recordInterval": 17280,
                                    "startDelayTime": 240, "screenDisplayTime": 300,
                                    "startMode": 2, "sensorType": 2})")
            .object();
    QVERIFY2(ConfigJson::apply(changes, &config, &note, &error), qPrintable(error));
    QCOMPARE(config.th3.alertValue, 8500);
    QCOMPARE(config.tl3.alertValue, -4000);
    QCOMPARE(config.hh.alertValue, 1000);
    QCOMPARE(int(config.tl1.delayTime), 17280);
    QCOMPARE(int(config.recordInterval), 17280);
    QCOMPARE(int(config.startDelayTime), 240);
    QCOMPARE(int(config.screenDisplayTime), 300);
    QVERIFY(ConfigJson::apply(QJsonObject{{"screenDisplayTime", 0}}, &config, &note, &error));
    QCOMPARE(int(config.screenDisplayTime), 0);
    // What the logger holds already is written back as it is, as the form does.
    config.th1.alertValue = 9000;
    config.startDelayTime = 255;
    QVERIFY2(ConfigJson::apply(ConfigJson::toJson(config, note), &config, &note, &error),
             qPrintable(error));
    QCOMPARE(config.th1.alertValue, 9000);
    QCOMPARE(int(config.startDelayTime), 255);
}

void TstCliSession::applyRefusesBadValues()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QJsonDocument document = QJsonDocument::fromJson(json);
    QVERIFY(document.isObject());
    OneConfigCmdStruct config{};
    config.devId = 3;
    QString note = QStringLiteral("kept");
    // A valid key beside the bad one must not be taken either.
    QJsonObject changes = document.object();
    changes.insert(QStringLiteral("recordMode"), 1);
    QString error;
    QVERIFY(!ConfigJson::apply(changes, &config, &note, &error));
    QVERIFY2(error.startsWith(message), qPrintable(error));
    QCOMPARE(int(config.devId), 3);
    QCOMPARE(config.recordMode, 0);
    QCOMPARE(note, QStringLiteral("kept"));
}

void TstCliSession::configJsonRoundTrips()
{
    OneConfigCmdStruct config{};
    std::memcpy(config.devName, "冷库 7", sizeof "冷库 7");
    config.devId = 100;
    config.tempUnit = 1;
    config.startDelayTime = 240;
    config.recordInterval = 720;
    config.hl = {true, 150, true, 6};
    config.isDateTimeFlowSys = true;
    const uint8_t date[6] = {26, 12, 31, 23, 59, 58};
    std::memcpy(config.devDateTime, date, 6);
    const QJsonObject json = ConfigJson::toJson(config, QStringLiteral("注释"));
    QCOMPARE(json.value("devDateTime").toString(), QStringLiteral("2026-12-31T23:59:58"));
    // An unset start time reads back as zeros.
    QCOMPARE(json.value("perSetStartTime").toString(), QString());

    // The logger's own name, which no new name may be, is written back as it is.
    OneConfigCmdStruct back{};
    std::memcpy(back.devName, "冷库 7", sizeof "冷库 7");
    back.perSetStartTime[0] = 1;
    QString note;
    QString error;
    QVERIFY2(ConfigJson::apply(json, &back, &note, &error), qPrintable(error));
    QCOMPARE(note, QStringLiteral("注释"));
    QCOMPARE(QByteArray(back.devName), QByteArray("冷库 7"));
    QCOMPARE(back.hl.isOpen, true);
    QCOMPARE(back.hl.alertValue, 150);
    QCOMPARE(back.hl.isAccumulate, true);
    QCOMPARE(int(back.hl.delayTime), 6);
    QVERIFY(std::equal(date, date + 6, back.devDateTime));
    QCOMPARE(int(back.perSetStartTime[0]), 0);
    QCOMPARE(int(back.devId), 100);
    QCOMPARE(int(back.startDelayTime), 240);
    QCOMPARE(int(back.recordInterval), 720);
    QCOMPARE(back.tempUnit, 1);
    QCOMPARE(back.isDateTimeFlowSys, true);
}

// A name the logger holds with a character cut off at its end (as another
// program may leave it) is stored again cut between characters.
void TstCliSession::applyCutsTheNameBetweenCharacters()
{
    OneConfigCmdStruct config{};
    const QByteArray held = QByteArray("温度记录仪温度").left(20);
    std::memcpy(config.devName, held.constData(), size_t(held.size()));
    QString note;
    QString error;
    const QJsonObject json = ConfigJson::toJson(config, note);
    QVERIFY2(ConfigJson::apply(json, &config, &note, &error), qPrintable(error));
    QCOMPARE(QByteArray(config.devName), QByteArray("温度记录仪温"));
}

void TstCliSession::configSetGuards_data()
{
    QTest::addColumn<QString>("logger");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("erase");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString held = QStringLiteral("HX20D:samples=600");
    const QString empty = QStringLiteral("HX20D:samples=0");
    const QByteArray id = R"({"devId": 7})";
    QTest::newRow("records, no --erase")
        << held << id << false << int(ExitWouldErase) << "holds 600 records";
    // Overwritten samples are lost already: the memory's count is what a write erases.
    QTest::newRow("records past the memory, no --erase")
        << "HX20D:samples=70000:interval=1" << id << false << int(ExitWouldErase)
        << "holds 64512 records";
    QTest::newRow("records, --erase") << held << id << true << int(ExitOk) << "";
    QTest::newRow("no records") << empty << id << false << int(ExitOk) << "";
    QTest::newRow("name of 20 allowed characters")
        << empty << QByteArray(R"({"devName": "Cold_room_3_ABCDEFGH"})") << false << int(ExitOk)
        << "";
    // The logger's own name is written back as it is, as the form does.
    QTest::newRow("the logger's own name")
        << empty << QByteArray(R"({"devName": "HX20D Logger"})") << false << int(ExitOk) << "";
    const QString nameRule = QStringLiteral("devName: expected 1 to 20 letters");
    QTest::newRow("name with spaces") << empty << QByteArray(R"({"devName": "Cold room 3"})")
                                      << false << int(ExitBadConfigFile) << nameRule;
    QTest::newRow("name of 21 characters")
        << empty << QByteArray(R"({"devName": "Cold_room_3_ABCDEFGHI"})") << false
        << int(ExitBadConfigFile) << nameRule;
    QTest::newRow("empty name") << empty << QByteArray(R"({"devName": ""})") << false
                                << int(ExitBadConfigFile) << nameRule;
    QTest::newRow("identifier 101") << empty << QByteArray(R"({"devId": 101})") << false
                                    << int(ExitBadConfigFile) << "devId: expected";
    // Refused before anything is written: the records the write would erase stay.
    QTest::newRow("threshold the logger cannot hold, --erase")
        << held << QByteArray(R"({"th1": {"alertValue": 1000000000}})") << true
        << int(ExitBadConfigFile) << "th1.alertValue: expected a whole number from -4000 to 8500";
    QTest::newRow("humidity threshold past 100 %RH, --erase")
        << held << QByteArray(R"({"hh": {"alertValue": 2000}})") << true << int(ExitBadConfigFile)
        << "hh.alertValue: expected a whole number from 0 to 1000";
}

void TstCliSession::configSetGuards()
{
    QFETCH(QString, logger);
    QFETCH(QByteArray, json);
    QFETCH(bool, erase);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    loggersim::configure(logger);
    const int id = loggersim::loggerIds().first();
    const qint64 recorded = loggersim::recordNum(id);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("change.json")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();

    QStringList arguments{"hygra-cli", "config", "set", file.fileName()};
    if (erase)
        arguments << QStringLiteral("--erase");
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QCOMPARE(CliCommands(&out, &err).run(arguments), exitCode);
    const QString errText = QString::fromUtf8(err.data());
    QVERIFY2(errText.contains(message), qPrintable(errText));

    bool wrote = false;
    for (const QByteArray &transfer : loggersim::writtenTransfers(id))
        wrote |= transfer.size() > FrameLayout::subCodeOffset &&
                 (uchar(transfer.at(FrameLayout::codeOffset)) == CmdCode::Config ||
                  uchar(transfer.at(FrameLayout::codeOffset)) == CmdCode::Note) &&
                 transfer.at(FrameLayout::subCodeOffset) != 0;
    QCOMPARE(wrote, exitCode == ExitOk);
    QCOMPARE(loggersim::recordNum(id), exitCode == ExitOk ? 0 : recorded);
    if (exitCode == ExitWouldErase)
        QVERIFY(errText.contains(QStringLiteral("--erase")));
}

QTEST_GUILESS_MAIN(TstCliSession)
#include "tst_clisession.moc"
