// SPDX-License-Identifier: GPL-3.0-or-later
// Known answers: record information, alarm statistics and configuration frames written out byte
// by byte, against the program's decoders and encoder and against the emulated logger's answers.
//
// Every frame below is typed out field by field; its last two bytes are the checksum worked out
// by hand (the sum of all bytes before it, low byte first), never by the program.
#include "core/lgxdevtype.h"
#include "device/configframe.h"
#include "device/protocol.h"
#include "device/recorddownload.h"
#include "device/simplesendcmdunion.h"
#include "loggersim.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <cstring>
#include <libusb.h>

using testsupport::hex;

namespace
{

// The JSON value written as `text` (an object, an array or a number).
QJsonValue jsonValue(const QByteArray &text)
{
    return QJsonDocument::fromJson("[" + text + "]").array().at(0);
}

// The members of `expected` that `actual` lacks or holds with another value.
QString mismatches(const QJsonObject &actual, const QJsonObject &expected)
{
    QStringList wrong;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (actual.value(it.key()) != it.value()) {
            wrong.append(
                QStringLiteral("%1: %2, expected %3")
                    .arg(it.key(),
                         QJsonDocument(QJsonArray{actual.value(it.key())})
                             .toJson(QJsonDocument::Compact),
                         QJsonDocument(QJsonArray{it.value()}).toJson(QJsonDocument::Compact)));
        }
    }
    return wrong.join(QLatin1String("; "));
}

// Every field of a configuration record, for field-by-field comparison.
QJsonObject configJson(const OneConfigCmdStruct &c)
{
    auto bytes = [](const uint8_t *b, int n) {
        QJsonArray a;
        for (int i = 0; i < n; ++i)
            a.append(b[i]);
        return a;
    };
    auto alarm = [](const AlertSetting &a) {
        return QJsonArray{a.isOpen, a.alertValue, a.isAccumulate, a.delayTime};
    };
    return {{"cmdType", c.cmdType},
            {"cmdOptType", c.cmdOptType},
            {"devId", c.devId},
            {"tempUnit", c.tempUnit},
            {"isOpenBacklight", c.isOpenBacklight},
            {"isOpenBuzzer", c.isOpenBuzzer},
            {"isOpenLed", c.isOpenLed},
            {"isOpenPdf", c.isOpenPdf},
            {"recordMode", c.recordMode},
            {"startMode", c.startMode},
            {"isKeyRetart", c.isKeyRetart},
            {"isKeyStopRecord", c.isKeyStopRecord},
            {"startDelayTime", c.startDelayTime},
            {"screenDisplayTime", c.screenDisplayTime},
            {"recordInterval", c.recordInterval},
            {"perSetStartTime", bytes(c.perSetStartTime, 6)},
            {"devDateTime", bytes(c.devDateTime, 6)},
            {"isDateTimeFlowSys", c.isDateTimeFlowSys},
            {"firmwareVersion", bytes(c.firmwareVersion, 3)},
            {"th1", alarm(c.th1)},
            {"th2", alarm(c.th2)},
            {"th3", alarm(c.th3)},
            {"tl1", alarm(c.tl1)},
            {"tl2", alarm(c.tl2)},
            {"tl3", alarm(c.tl3)},
            {"hh", alarm(c.hh)},
            {"hl", alarm(c.hl)},
            {"devName", QString::fromLatin1(c.devName)},
            {"sensorType", c.sensorType},
            {"initReadDone", c.initReadDone}};
}

// The record the write frames below were typed from.
OneConfigCmdStruct writtenConfig(const char *name, uint8_t sensorType)
{
    OneConfigCmdStruct c{};
    c.devId = 100;
    c.tempUnit = 1;
    c.isOpenBacklight = true;
    c.isOpenLed = true;
    c.isOpenPdf = true;
    c.recordMode = 1;
    c.startMode = 2;
    c.isKeyRetart = true;
    c.startDelayTime = 240;
    c.screenDisplayTime = 300;
    c.recordInterval = 720;
    const uint8_t start[6] = {24, 3, 5, 14, 15, 30};
    const uint8_t clock[6] = {24, 3, 1, 12, 0, 0};
    std::memcpy(c.perSetStartTime, start, 6);
    std::memcpy(c.devDateTime, clock, 6);
    c.isDateTimeFlowSys = true;
    const uint8_t firmware[3] = {9, 9, 9}; // the logger's own: never sent
    std::memcpy(c.firmwareVersion, firmware, 3);
    c.th1 = {true, 3000, false, 2};
    c.th2 = {true, 3500, true, 12};
    c.th3 = {false, 4000, true, 720};
    c.tl1 = {true, -4000, false, 0};
    c.tl2 = {false, -500, false, 6};
    c.tl3 = {true, -1000, true, 65535};
    c.hh = {true, 950, false, 3};
    c.hl = {false, 200, true, 4};
    std::strncpy(c.devName, name, 20);
    c.sensorType = sensorType;
    return c;
}

// The configuration the alarm-statistics answer below is read with: the
// switches differ between the levels, so a switch taken from the wrong level
// shows.
OneConfigCmdStruct switchesConfig()
{
    OneConfigCmdStruct c{};
    c.th1.isOpen = true;
    c.th2.isOpen = true;
    c.tl3.isOpen = true;
    c.hh.isOpen = true;
    return c;
}

// Sends `request` to the first emulated logger through libusb and returns its answer.
QByteArray emulatorAnswer(const QByteArray &request)
{
    QByteArray answer;
    if (libusb_init(nullptr) != 0)
        return answer;
    libusb_device **list = nullptr;
    libusb_device_handle *handle = nullptr;
    if (libusb_get_device_list(nullptr, &list) > 0)
        libusb_open(list[0], &handle);
    libusb_free_device_list(list, 1);
    if (handle && libusb_claim_interface(handle, 0) == 0) {
        QByteArray out = request;
        int done = 0;
        unsigned char in[10240];
        if (libusb_bulk_transfer(handle, 0x04, reinterpret_cast<unsigned char *>(out.data()),
                                 out.size(), &done, 1000) == 0 &&
            libusb_bulk_transfer(handle, 0x84, in, sizeof in, &done, 1000) == 0)
            answer = QByteArray(reinterpret_cast<const char *>(in), done);
        libusb_release_interface(handle, 0);
    }
    if (handle)
        libusb_close(handle);
    libusb_exit(nullptr);
    return answer;
}

} // namespace

class TstKnownFrames : public QObject
{
    Q_OBJECT
private slots:
    void recordInformation_data();
    void recordInformation();
    void alarmStatistics_data();
    void alarmStatistics();
    void configWrite_data();
    void configWrite();
    void configAnswer_data();
    void configAnswer();
    void emulatorAnswers_data();
    void emulatorAnswers();
};

void TstKnownFrames::recordInformation_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("sensorType");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("HX10D") << int(HX10D) << 2
                           << hex("5A A5 28 E0 00"    // head, LEN 40, code, sub-code
                                  "70 11 01 00"       // recordNum 70000
                                  "00 FC"             // numofReport 64512
                                  "18 01 1F 0E 19 01" // start 2024-01-31 14:25:01
                                  "18 02 0F 08 00 3B" // stop 2024-02-15 08:00:59
                                  "17 0C 1F 17 3B 00" // configured 2023-12-31 23:59:00
                                  "DE 0D 2E FB E0 E0" // temperature max 3550, min -1234, avg none
                                  "BB 03 E0 E0 64 02" // humidity max 955, min none, avg 612
                                  "02 05"             // started 2, stopped 5
                                  "A4 0B")            // checksum 0x0BA4
                           << 63                      // 70000 / 1024 = 68, capped
                           << QByteArray(R"({"recordNum": 70000, "numofReport": 64512,
            "overWirteRecordNum": 5488,
            "startRecordTime": {"year": 2024, "month": 1, "day": 31, "hour": 14, "minute": 25, "second": 1},
            "stopRecordTime": {"year": 2024, "month": 2, "day": 15, "hour": 8, "minute": 0, "second": 59},
            "configTime": {"year": 2023, "month": 12, "day": 31, "hour": 23, "minute": 59, "second": 0},
            "maxTemp": 3550, "minTemp": -1234, "avgTemp": -7968,
            "maxHumidity": 955, "minHumidity": 57568, "avgHumidity": 612,
            "startOperation": 2, "stopOperation": 5, "devType": 0,
            "startTemp": -7968, "stopTemp": -7968, "sensorType": 0, "isContainHum": true})");

    QTest::newRow("HX20D with humidity")
        << int(HX20D) << 2
        << hex("5A A5 2C E0 00"    // head, LEN 44, code, sub-code
               "D0 07 00 00"       // recordNum 2000
               "D0 07"             // numofReport 2000
               "19 06 01 00 00 00" // start 2025-06-01 00:00:00
               "19 06 02 0C 1E 2D" // stop 2025-06-02 12:30:45
               "19 05 1F 12 00 00" // configured 2025-05-31 18:00:00
               "D0 09 C4 07 CA 08" // temperature max 2512, min 1988, avg 2250
               "8F 02 91 01 08 02" // humidity max 655, min 401, avg 520
               "01 FF"             // started 1, stopped -1 (a signed byte)
               "60 F0 E0 E0"       // start temperature -4000, stop temperature none
               "53 0C")            // checksum 0x0C53
        << 2 << QByteArray(R"({"recordNum": 2000, "numofReport": 2000, "overWirteRecordNum": 0,
            "startRecordTime": {"year": 2025, "month": 6, "day": 1, "hour": 0, "minute": 0, "second": 0},
            "stopRecordTime": {"year": 2025, "month": 6, "day": 2, "hour": 12, "minute": 30, "second": 45},
            "configTime": {"year": 2025, "month": 5, "day": 31, "hour": 18, "minute": 0, "second": 0},
            "maxTemp": 2512, "minTemp": 1988, "avgTemp": 2250,
            "maxHumidity": 655, "minHumidity": 401, "avgHumidity": 520,
            "startOperation": 1, "stopOperation": -1, "devType": 1,
            "startTemp": -4000, "stopTemp": -7968, "sensorType": 2, "isContainHum": true})");

    QTest::newRow("HX20D temperature probe")
        << int(HX20D) << 1
        << hex("5A A5 2C E0 00"    // head, LEN 44, code, sub-code
               "01 00 00 00"       // recordNum 1
               "01 00"             // numofReport 1
               "19 06 01 00 00 00" // start 2025-06-01 00:00:00
               "19 06 01 00 00 00" // stop, the same
               "19 05 1F 12 00 00" // configured 2025-05-31 18:00:00
               "34 08 34 08 34 08" // temperature max, min, avg 2100
               "E0 E0 E0 E0 E0 E0" // no humidity
               "01 04"             // started 1, stopped 4
               "34 08 34 08"       // start and stop temperature 2100
               "0D 09")            // checksum 0x090D
        << 1 << QByteArray(R"({"recordNum": 1, "numofReport": 1, "overWirteRecordNum": 0,
            "maxTemp": 2100, "minTemp": 2100, "avgTemp": 2100,
            "maxHumidity": 57568, "minHumidity": 57568, "avgHumidity": 57568,
            "startOperation": 1, "stopOperation": 4, "devType": 1,
            "startTemp": 2100, "stopTemp": 2100, "sensorType": 1, "isContainHum": false})");
}

void TstKnownFrames::recordInformation()
{
    QFETCH(int, model);
    QFETCH(int, sensorType);
    QFETCH(QByteArray, frame);
    QFETCH(int, blocks);
    QFETCH(QByteArray, expected);

    OneConfigCmdStruct config{};
    config.sensorType = uint8_t(sensorType);
    RecordDownload download;
    QVERIFY(download.takeRecordInfo(frame, model, config));
    QCOMPARE(download.recordInfo.blockCount, blocks);
    QJsonObject actual;
    download.recordInfo.toJson(actual);
    const QString wrong = mismatches(actual, jsonValue(expected).toObject());
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TstKnownFrames::alarmStatistics_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("expected");

    // The slots of th1 and tl1 carry level 3, those of th3 and tl3 level 1, so
    // each switch comes from the configuration setting of the same level.
    QTest::newRow("th1: first slot, switch of level 3 (th3)")
        << "th1" << QByteArray(R"({"isOpen": false, "alertValue": 4500, "isAccumulate": true,
            "delayTime": 1, "alertNum": 1, "alertDuration": 10, "isAlertFlag": false})");
    QTest::newRow("tl1: second slot, switch of tl3")
        << "tl1" << QByteArray(R"({"isOpen": true, "alertValue": -3000, "isAccumulate": false,
            "delayTime": 2, "alertNum": 2, "alertDuration": 20, "isAlertFlag": true})");
    QTest::newRow("hh: unsigned")
        << "hh" << QByteArray(R"({"isOpen": true, "alertValue": 950, "isAccumulate": true,
            "delayTime": 3, "alertNum": 3, "alertDuration": 30, "isAlertFlag": false})");
    QTest::newRow("hl: unsigned above 32767")
        << "hl" << QByteArray(R"({"isOpen": false, "alertValue": 40000, "isAccumulate": false,
            "delayTime": 4, "alertNum": 4, "alertDuration": 40, "isAlertFlag": true})");
    QTest::newRow("th2") << "th2"
                         << QByteArray(
                                R"({"isOpen": true, "alertValue": 3500, "isAccumulate": false,
            "delayTime": 720, "alertNum": 5, "alertDuration": 50, "isAlertFlag": true})");
    QTest::newRow("tl2") << "tl2"
                         << QByteArray(
                                R"({"isOpen": false, "alertValue": -500, "isAccumulate": true,
            "delayTime": 6, "alertNum": 6, "alertDuration": 60, "isAlertFlag": false})");
    QTest::newRow("th3: seventh slot, switch of th1")
        << "th3" << QByteArray(R"({"isOpen": true, "alertValue": 3000, "isAccumulate": false,
            "delayTime": 65535, "alertNum": 4660, "alertDuration": 305419896,
            "isAlertFlag": true})");
    QTest::newRow("tl3: last slot, switch of tl1, unsigned 32-bit duration")
        << "tl3" << QByteArray(R"({"isOpen": false, "alertValue": 500, "isAccumulate": true,
            "delayTime": 8, "alertNum": 65535, "alertDuration": 4294967295,
            "isAlertFlag": false})");
    QTest::newRow("recordInterval") << "recordInterval" << QByteArray("258");
}

void TstKnownFrames::alarmStatistics()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, expected);
    // Slots in wire order th1, tl1, hh, hl, th2, tl2, th3, tl3.
    const QByteArray frame = hex("5A A5 56 E1 00"                                  // LEN 86
                                 "A5"                                              // accumulate
                                 "01 00 02 00 03 00 04 00 D0 02 06 00 FF FF 08 00" // delays
                                 "94 11 48 F4 B6 03 40 9C AC 0D 0C FE B8 0B F4 01" // thresholds
                                 "01 00 02 00 03 00 04 00 05 00 06 00 34 12 FF FF" // counts
                                 "0A 00 00 00 14 00 00 00 1E 00 00 00 28 00 00 00" // durations
                                 "32 00 00 00 3C 00 00 00 78 56 34 12 FF FF FF FF"
                                 "5A"      // raised: tl1, hl, th2, th3 slots
                                 "02 01"   // record interval 258
                                 "4C 15"); // checksum 0x154C
    RecordDownload download;
    download.takeAlarmStatistics(frame, switchesConfig(), QString(), QString());
    QJsonObject actual;
    download.recordInfo.toJson(actual);
    const QJsonValue want = jsonValue(expected);
    const QString wrong = want.isObject()
                              ? mismatches(actual.value(key).toObject(), want.toObject())
                              : mismatches(actual, QJsonObject{{key, want}});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TstKnownFrames::configWrite_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("frame");

    // Shared by both models: offsets 5 to 69.
    const char *body = "64 01 01 00 01 01 02 00 01 F0" // id 100, °F, backlight, no buzzer, LED,
                                                       // loop, scheduled, key restart (0), no
                                                       // key stop (1), delay 240 min
                       "97 D8"                         // open th1 tl1 hh th2 tl3; accumulate
                                                       // hl th2 th3 tl3
                       "2C 01 D0 02"                   // display 300 s, interval 720
                       "B8 0B 60 F0 B6 03 C8 00 AC 0D 0C FE A0 0F 18 FC" // thresholds, wire order
                       "02 00 00 00 03 00 04 00 0C 00 06 00 D0 02 FF FF" // delays, wire order
                       "00 00 00"                                        // firmware: never sent
                       "18 03 05 0E 0F 1E" // scheduled start 2024-03-05 14:15:30
                       "01"                // clock follows the computer
                       "18 03 01 0C 00 00" // clock 2024-03-01 12:00:00
                       "01";               // logger PDF on
    QTest::newRow("HX10D") << int(HX10D) << QByteArray("A")
                           << hex("5A A5 45 13 01") + hex(body) +
                                  hex("01 41"   // name "A"
                                      "ED 0F"); // checksum 0x0FED
    QTest::newRow("HX20D") << int(HX20D) << QByteArray("ColdRoom_7")
                           << hex("5A A5 4F 13 01") + hex(body) +
                                  hex("0A 43 6F 6C 64 52 6F 6F 6D 5F 37" // name "ColdRoom_7"
                                      "01"                               // temperature probe
                                      "75 13");                          // checksum 0x1375
}

void TstKnownFrames::configWrite()
{
    QFETCH(int, model);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, frame);
    const SimpleSendCmdUnion cmd = makeConfigWriteCmd(writtenConfig(name.constData(), 1));
    QCOMPARE(encodeCommand(cmd, model).toHex(' '), frame.toHex(' '));
}

void TstKnownFrames::configAnswer_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("HX10D read")
        << int(HX10D)
        << hex("5A A5 4A 13 00"                // LEN 74, read
               "05 02 01 00 07 02 03 02 01 1E" // id 5, unit 2 (°C), backlight, no buzzer, LED 7,
                                               // mode 2 (stop when full), start 3 (key),
                                               // restart 2 (allowed), stop 1 (refused), 30 min
               "41 82"                         // open th1 th3; accumulate tl1 tl3
               "00 00 0C 00"                   // display always on, interval 12
               "60 F0 E0 E0 B6 03 40 9C FF 7F 00 80 10 27 9C FF" // thresholds, wire order
               "01 00 02 00 03 00 04 00 05 00 06 00 FF FF 00 01" // delays, wire order
               "01 02 03"                                        // firmware 1.2.3
               "18 03 05 0E 0F 1E"                               // scheduled start
               "80"                                              // clock flag -128: off
               "18 03 01 0C 00 00"                               // clock
               "01"                                              // logger PDF on
               "06 46 72 69 64 67 65"                            // name "Fridge"
               "4A 10")                                          // checksum 0x104A
        << QByteArray(R"({"cmdType": 1, "cmdOptType": 0, "devId": 5, "tempUnit": 0,
            "isOpenBacklight": true, "isOpenBuzzer": false, "isOpenLed": true, "isOpenPdf": true,
            "recordMode": 0, "startMode": 0, "isKeyRetart": true, "isKeyStopRecord": false,
            "startDelayTime": 30, "screenDisplayTime": 0, "recordInterval": 12,
            "perSetStartTime": [24, 3, 5, 14, 15, 30], "devDateTime": [24, 3, 1, 12, 0, 0],
            "isDateTimeFlowSys": false, "firmwareVersion": [1, 2, 3],
            "th1": [true, -4000, false, 1], "tl1": [false, -7968, true, 2],
            "hh": [false, 950, false, 3], "hl": [false, 40000, false, 4],
            "th2": [false, 32767, false, 5], "tl2": [false, -32768, false, 6],
            "th3": [true, 10000, false, 65535], "tl3": [false, -100, true, 256],
            "devName": "Fridge", "sensorType": 0, "initReadDone": false})");

    QTest::newRow("HX20D write echo, no name")
        << int(HX20D)
        << hex("5A A5 45 13 01"                                  // LEN 69, write echo
               "64 01 00 01 00 01 02 01 00 F0"                   // id 100, °F, buzzer only,
                                                                 // loop, scheduled, restart
                                                                 // 1 (refused), stop 0, 240 min
               "FF 00"                                           // all open, none accumulated
               "2C 01 D0 02"                                     // display 300 s, interval 720
               "B8 0B F4 01 20 03 C8 00 AC 0D 00 00 A0 0F 0C FE" // thresholds, wire order
               "00 00 00 00 00 00 00 00 0C 00 00 00 00 00 00 00" // delays, wire order
               "02 00 07"                                        // firmware 2.0.7
               "19 0C 1F 17 3B 3B"                               // scheduled start
               "01"                                              // clock follows the computer
               "19 01 01 00 00 00"                               // clock
               "00"                                              // logger PDF off
               "00"                                              // no name
               "02"                                              // temperature and humidity
               "C9 0A")                                          // checksum 0x0AC9
        << QByteArray(R"({"cmdType": 1, "cmdOptType": 1, "devId": 100, "tempUnit": 1,
            "isOpenBacklight": false, "isOpenBuzzer": true, "isOpenLed": false, "isOpenPdf": false,
            "recordMode": 1, "startMode": 2, "isKeyRetart": false, "isKeyStopRecord": true,
            "startDelayTime": 240, "screenDisplayTime": 300, "recordInterval": 720,
            "perSetStartTime": [25, 12, 31, 23, 59, 59], "devDateTime": [25, 1, 1, 0, 0, 0],
            "isDateTimeFlowSys": true, "firmwareVersion": [2, 0, 7],
            "th1": [true, 3000, false, 0], "tl1": [true, 500, false, 0],
            "hh": [true, 800, false, 0], "hl": [true, 200, false, 0],
            "th2": [true, 3500, false, 12], "tl2": [true, 0, false, 0],
            "th3": [true, 4000, false, 0], "tl3": [true, -500, false, 0],
            "devName": "", "sensorType": 2, "initReadDone": false})");
}

void TstKnownFrames::configAnswer()
{
    QFETCH(int, model);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    const QJsonObject want = jsonValue(expected).toObject();
    const QJsonObject actual = configJson(decodeConfigFrame(frame, model));
    QCOMPARE(actual.keys(), want.keys());
    const QString wrong = mismatches(actual, want);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TstKnownFrames::emulatorAnswers_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    // One HX20D with humidity, ten samples every minute from 2024-01-31 14:25:00.
    // Its first ten samples (seed 1) lie between 23.95 and 24.83 °C and 61.3
    // and 67.0 %RH, none missing and none in a warm, cold or humid spell.
    QTest::newRow("record information")
        << hex("5A A5 02 E0 00 E1 01")
        << hex("5A A5 2C E0 00"    // LEN 44
               "0A 00 00 00 0A 00" // 10 recorded, 10 held
               "18 01 1F 0E 19 00" // start 2024-01-31 14:25:00
               "18 01 1F 0E 22 00" // stop at the last sample, 14:34:00
               "18 01 1F 0E 0F 00" // configured ten minutes before the start
               "B3 09 5B 09 85 09" // temperature max 2483, min 2395, avg 2437
               "9E 02 65 02 84 02" // humidity max 670, min 613, avg 644
               "01 04"             // started by software, stopped by software
               "79 09 AC 09"       // first sample 2425, last 2476
               "B2 07");           // checksum 0x07B2
    // The emulator reports level 3 in the slots of th1 and tl1 and level 1 in
    // those of th3 and tl3, as the views expect of a logger.
    QTest::newRow("alarm statistics")
        << hex("5A A5 02 E1 00 E2 01")
        << hex("5A A5 56 E1 00"                                  // LEN 86
               "0B"                                              // accumulate: th3, tl3, hl
               "0C 00 18 00 02 00 04 00 00 00 00 00 02 00 06 00" // delays of th3 tl3 hh hl th2
                                                                 // tl2 th1 tl1
               "D0 07 F4 01 20 03 BC 02 AC 0D E8 03 B8 0B 28 0A" // thresholds, same order
               "01 00 00 00 00 00 01 00 00 00 00 00 00 00 01 00" // one event each: th3 (above
                                                                 // 20.0), hl (below 70.0),
                                                                 // tl1 (below 26.0)
               "0A 00 00 00 00 00 00 00 00 00 00 00 0A 00 00 00" // ten samples beyond each
               "00 00 00 00 00 00 00 00 00 00 00 00 0A 00 00 00"
               "89"      // raised: th3, hl, tl1 slots
               "0C 00"   // interval 12
               "6F 08"); // checksum 0x086F
}

void TstKnownFrames::emulatorAnswers()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);

    loggersim::configure(QStringLiteral("none"));
    loggersim::LoggerSetup logger;
    logger.model = HX20D;
    logger.sensorType = 2;
    logger.samples = 10;
    logger.interval = 12;
    logger.seed = 1;
    logger.start = QDateTime(QDate(2024, 1, 31), QTime(14, 25, 0));
    const int id = loggersim::addLogger(logger);
    OneConfigCmdStruct config = loggersim::config(id);
    config.th1 = {true, 3000, false, 2};
    config.th2 = {false, 3500, false, 0};
    config.th3 = {true, 2000, true, 12};
    config.tl1 = {true, 2600, false, 6};
    config.tl2 = {false, 1000, false, 0};
    config.tl3 = {false, 500, true, 24};
    config.hh = {true, 800, false, 2};
    config.hl = {true, 700, true, 4};
    loggersim::setConfig(id, config);

    QCOMPARE(emulatorAnswer(request).toHex(' '), answer.toHex(' '));
}

QTEST_GUILESS_MAIN(TstKnownFrames)
#include "tst_knownframes.moc"
