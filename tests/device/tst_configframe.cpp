// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration record on the wire, both directions, both models.
#include "core/lgxdevtype.h"
#include "device/configframe.h"
#include "device/protocol.h"
#include "testsupport.h"

#include <QtTest>
#include <cstring>


namespace {
OneConfigCmdStruct sampleConfig(const char *name)
{
    OneConfigCmdStruct c{};
    c.cmdType = ConfigCmd;
    c.cmdOptType = WriteOpt;
    c.devId = 42;
    c.tempUnit = 1;
    c.isOpenBacklight = true;
    c.isOpenLed = true;
    c.isOpenPdf = true;
    c.recordMode = 1;
    c.startMode = 2;
    c.isKeyRetart = true;
    c.isKeyStopRecord = false;
    c.startDelayTime = 240;
    c.screenDisplayTime = 300;
    c.recordInterval = 720;
    const uint8_t start[6] = {24, 1, 31, 14, 25, 1};
    const uint8_t now[6] = {26, 12, 9, 6, 0, 59};
    std::memcpy(c.perSetStartTime, start, 6);
    std::memcpy(c.devDateTime, now, 6);
    c.isDateTimeFlowSys = true;
    c.th1 = {true, -4000, false, 3};
    c.th2 = {false, 8500, true, 12};
    c.th3 = {true, 2550, true, 0};
    c.tl1 = {true, -100, false, 65535};
    c.tl2 = {false, 0, false, 1};
    c.tl3 = {true, -3999, true, 2};
    c.hh = {true, 950, false, 5};
    c.hl = {false, 100, true, 6};
    std::strncpy(c.devName, name, 20);
    c.sensorType = 2;
    return c;
}

// Every field a user can set, compared one by one so a failure names the field.
void compareUserFields(const OneConfigCmdStruct &a, const OneConfigCmdStruct &b)
{
    QCOMPARE(a.devId, b.devId);
    QCOMPARE(a.tempUnit, b.tempUnit);
    QCOMPARE(a.isOpenBacklight, b.isOpenBacklight);
    QCOMPARE(a.isOpenBuzzer, b.isOpenBuzzer);
    QCOMPARE(a.isOpenLed, b.isOpenLed);
    QCOMPARE(a.isOpenPdf, b.isOpenPdf);
    QCOMPARE(a.recordMode, b.recordMode);
    QCOMPARE(a.startMode, b.startMode);
    QCOMPARE(a.isKeyRetart, b.isKeyRetart);
    QCOMPARE(a.isKeyStopRecord, b.isKeyStopRecord);
    QCOMPARE(a.startDelayTime, b.startDelayTime);
    QCOMPARE(a.screenDisplayTime, b.screenDisplayTime);
    QCOMPARE(a.recordInterval, b.recordInterval);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(a.perSetStartTime), 6),
             QByteArray(reinterpret_cast<const char *>(b.perSetStartTime), 6));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(a.devDateTime), 6),
             QByteArray(reinterpret_cast<const char *>(b.devDateTime), 6));
    QCOMPARE(a.isDateTimeFlowSys, b.isDateTimeFlowSys);
    const AlertSetting OneConfigCmdStruct::*alarms[] = {
        &OneConfigCmdStruct::th1, &OneConfigCmdStruct::th2, &OneConfigCmdStruct::th3,
        &OneConfigCmdStruct::tl1, &OneConfigCmdStruct::tl2, &OneConfigCmdStruct::tl3,
        &OneConfigCmdStruct::hh,  &OneConfigCmdStruct::hl};
    for (auto member : alarms) {
        QCOMPARE((a.*member).isOpen, (b.*member).isOpen);
        QCOMPARE((a.*member).alertValue, (b.*member).alertValue);
        QCOMPARE((a.*member).isAccumulate, (b.*member).isAccumulate);
        QCOMPARE((a.*member).delayTime, (b.*member).delayTime);
    }
    QCOMPARE(QByteArray(a.devName), QByteArray(b.devName));
}
} // namespace

class TestConfigFrame : public QObject
{
    Q_OBJECT
private slots:
    void frameLength_data();
    void frameLength();
    void roundTrip_data();
    void roundTrip();
    void wireBytes();
    void readingLoggerValues();
    void sensorTypeOnlyForSecondModel();
    void nameLengthBeyondFrameGivesEmptyName();
    void nameIsCutTo20();
};

void TestConfigFrame::frameLength_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("length");
    QTest::newRow("HX10D A") << int(HX10D) << QByteArray("A") << 74;
    QTest::newRow("HX20D A") << int(HX20D) << QByteArray("A") << 75;
    QTest::newRow("HX10D empty") << int(HX10D) << QByteArray() << 73;
    QTest::newRow("HX20D 20 chars") << int(HX20D) << QByteArray(20, 'n') << 94;
}

void TestConfigFrame::frameLength()
{
    QFETCH(int, model);
    QFETCH(QByteArray, name);
    QFETCH(int, length);
    const QByteArray frame = encodeConfigFrame(sampleConfig(name.constData()), model);
    QCOMPARE(frame.size(), length);
    QCOMPARE(int(uint8_t(frame.at(2))), length - 5);
    QCOMPARE(frame.left(5), testsupport::hex("5A A5") + char(length - 5) + testsupport::hex("13 01"));
    QCOMPARE(frameChecksum(frame.left(length - 2)),
             uint16_t(uint8_t(frame.at(length - 2)) | uint8_t(frame.at(length - 1)) << 8));
}

void TestConfigFrame::roundTrip_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<OneConfigCmdStruct>("config");
    QTest::newRow("HX10D") << int(HX10D) << sampleConfig("Cold room 3");
    QTest::newRow("HX20D") << int(HX20D) << sampleConfig("Pharmacy fridge 12ab");
    OneConfigCmdStruct plain = sampleConfig("");
    plain.tempUnit = 0;
    plain.isKeyRetart = false;
    plain.isKeyStopRecord = true;
    plain.startMode = 0;
    QTest::newRow("HX20D empty name") << int(HX20D) << plain;
}

void TestConfigFrame::roundTrip()
{
    QFETCH(int, model);
    QFETCH(OneConfigCmdStruct, config);
    const OneConfigCmdStruct back = decodeConfigFrame(encodeConfigFrame(config, model), model);
    compareUserFields(back, config);
    QCOMPARE(back.cmdType, int(ConfigCmd));
    QCOMPARE(back.cmdOptType, 1);
    QCOMPARE(back.sensorType, uint8_t(model == HX20D ? config.sensorType : 0));
    QVERIFY(!back.initReadDone);
}

void TestConfigFrame::wireBytes()
{
    OneConfigCmdStruct c = sampleConfig("A");
    c.firmwareVersion[0] = 3;
    c.firmwareVersion[1] = 2;
    c.firmwareVersion[2] = 1;
    const QByteArray f = encodeConfigFrame(c, HX20D);
    QCOMPARE(uint8_t(f.at(12)), uint8_t(0)); // key restart allowed goes out as 0
    QCOMPARE(uint8_t(f.at(13)), uint8_t(1)); // key stop not allowed goes out as 1
    QCOMPARE(f.mid(21, 2), testsupport::hex("60 F0")); // th1 -4000
    QCOMPARE(f.mid(25, 2), testsupport::hex("B6 03")); // hh 950
    QCOMPARE(f.mid(53, 3), testsupport::hex("00 00 00")); // the firmware is never written
    // isOpen bits in wire order th1 tl1 hh hl th2 tl2 th3 tl3.
    QCOMPARE(uint8_t(f.at(15)), uint8_t(0b11000111));
    QCOMPARE(uint8_t(f.at(16)), uint8_t(0b11011000));
    QCOMPARE(f.mid(17, 4), testsupport::hex("2C 01 D0 02"));
    QCOMPARE(uint8_t(f.at(70)), uint8_t(1));
    QCOMPARE(f.at(71), 'A');
    QCOMPARE(uint8_t(f.at(72)), uint8_t(2)); // the sensor type follows the name
}

void TestConfigFrame::readingLoggerValues()
{
    QByteArray f = encodeConfigFrame(sampleConfig("A"), HX10D);
    f[4] = 0x00;
    f[6] = 2;  // only 1 means Fahrenheit
    f[10] = 3; // only 1 means loop recording
    f[11] = 7; // unknown start modes read as start by key
    f[12] = 2; // anything but 1 allows restart by key
    f[53] = 1;
    f[54] = 4;
    f[55] = 9;
    f[62] = char(0x80); // negative reads as false
    const OneConfigCmdStruct c = decodeConfigFrame(f, HX10D);
    QCOMPARE(c.cmdOptType, 0);
    QCOMPARE(c.tempUnit, 0);
    QCOMPARE(c.recordMode, 0);
    QCOMPARE(c.startMode, 0);
    QVERIFY(c.isKeyRetart);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(c.firmwareVersion), 3),
             testsupport::hex("01 04 09"));
    QVERIFY(!c.isDateTimeFlowSys);
    QCOMPARE(c.th1.alertValue, -4000);
    QCOMPARE(c.hh.alertValue, 950);

    // Humidity thresholds are unsigned on the wire, temperatures signed.
    f.replace(25, 2, testsupport::hex("E0 E0"));
    f.replace(21, 2, testsupport::hex("E0 E0"));
    const OneConfigCmdStruct missing = decodeConfigFrame(f, HX10D);
    QCOMPARE(missing.hh.alertValue, 57568);
    QCOMPARE(missing.th1.alertValue, -7968);
}

void TestConfigFrame::sensorTypeOnlyForSecondModel()
{
    OneConfigCmdStruct c = sampleConfig("");
    c.sensorType = 1;
    QCOMPARE(decodeConfigFrame(encodeConfigFrame(c, HX20D), HX20D).sensorType, uint8_t(1));
    QByteArray tenFrame = encodeConfigFrame(c, HX10D);
    QCOMPARE(decodeConfigFrame(tenFrame, HX10D).sensorType, uint8_t(0));
}

void TestConfigFrame::nameLengthBeyondFrameGivesEmptyName()
{
    QByteArray f = encodeConfigFrame(sampleConfig("ABC"), HX10D);
    f[70] = 40;
    QCOMPARE(QByteArray(decodeConfigFrame(f, HX10D).devName), QByteArray());
    f[70] = char(-3);
    QCOMPARE(QByteArray(decodeConfigFrame(f, HX10D).devName), QByteArray());
}

void TestConfigFrame::nameIsCutTo20()
{
    QByteArray payload = encodeConfigFrame(sampleConfig(""), HX10D).mid(5, 65);
    payload.append(char(30));
    payload.append(QByteArray(30, 'z'));
    const QByteArray f = buildFrame(CmdCode::Config, 0, payload);
    QCOMPARE(QByteArray(decodeConfigFrame(f, HX10D).devName), QByteArray(20, 'z'));
}

QTEST_GUILESS_MAIN(TestConfigFrame)
#include "tst_configframe.moc"
