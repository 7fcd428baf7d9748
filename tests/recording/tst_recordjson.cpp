// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the recording header records and their JSON conversion.
#include "recording/qdatetimeposfjson.h"
#include "recording/readdevinfojson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>
#include <limits>

namespace
{

QJsonObject parse(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

QJsonObject toObject(const ReadDevInfoJson &info)
{
    QJsonObject object;
    info.toJson(object);
    return object;
}

// A record with a distinct value in every stored member.
ReadDevInfoJson filledRecord()
{
    ReadDevInfoJson info;
    info.recordNum = 3000000000LL;
    info.numofReport = 64512;
    info.startRecordTime = QDateTime(QDate(2024, 1, 31), QTime(14, 25, 1));
    info.stopRecordTime = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59));
    info.configTime = QDateTime(QDate(2023, 12, 1), QTime(8, 0, 0));
    info.maxTemp = 2512;
    info.minTemp = -7968;
    info.avgTemp = -123;
    info.maxHumidity = 57568;
    info.minHumidity = 301;
    info.avgHumidity = 455;
    info.startOperation = 2;
    info.stopOperation = 3;
    AlertDataJson *alerts[] = {&info.th3, &info.th2, &info.th1, &info.tl3,
                               &info.tl2, &info.tl1, &info.hh,  &info.hl};
    for (int i = 0; i < 8; ++i) {
        AlertDataJson &a = *alerts[i];
        a.isOpen = i % 2 == 0;
        a.alertValue = -1000 + 100 * i;
        a.isAccumulate = i % 3 == 0;
        a.delayTime = i + 1;
        a.alertDuration = 5000000000LL + i;
        a.alertNum = 10 * i;
        a.isAlertFlag = i % 2 == 1;
    }
    info.recordInterval = 12;
    info.overWirteRecordNum = 2999935488LL;
    info.devName = QStringLiteral("Kühlraum 3");
    info.sn = QStringLiteral("A1B2C3D4");
    info.id = QStringLiteral("255");
    info.note = QStringLiteral("备注 \"quoted\"\n");
    info.isOpenBacklight = true;
    info.isOpenBuzzer = false;
    info.isOpenLed = true;
    info.isOpenPdf = true;
    info.recordMode = 1;
    info.startDelay = 30;
    info.tempUnit = 1;
    info.devType = 1;
    info.startTemp = 2100;
    info.stopTemp = -50;
    info.sensorType = 2;
    info.isContainHum = false;
    return info;
}

} // namespace

class TestRecordJson : public QObject
{
    Q_OBJECT

private slots:
    void freshRecordDefaults();
    void storedKeysAndTypes();
    void roundTripThroughCompactText();
    void missingKeysKeepValues();
    void backlightReadUnderItsOwnKey();
    void wrongTypesReadAsDefaults();
    void hugeCountsSaturate();
    void dateTimeFromJson_data();
    void dateTimeFromJson();
    void dateTimeToJson();
};

void TestRecordJson::freshRecordDefaults()
{
    const ReadDevInfoJson info;
    QCOMPARE(info.recordNum, 0);
    QCOMPARE(info.numofReport, 0);
    QVERIFY(!info.startRecordTime.isValid());
    QVERIFY(!info.stopRecordTime.isValid());
    QVERIFY(!info.configTime.isValid());
    QCOMPARE(info.overWirteRecordNum, 0);
    QVERIFY(info.devName.isEmpty() && info.sn.isEmpty() && info.id.isEmpty() &&
            info.note.isEmpty());
    QCOMPARE(info.tempUnit, 0);
    QCOMPARE(info.devType, 0);
    QCOMPARE(info.startTemp, -7968);
    QCOMPARE(info.stopTemp, -7968);
    QCOMPARE(info.sensorType, 0);
    QVERIFY(info.isContainHum);
    QCOMPARE(info.blockCount, 0);
    QCOMPARE(info.shownDuration, 0);
    QCOMPARE(info.totalDuration, 0);

    // Invalid date-times are written as empty objects.
    const QJsonObject object = toObject(info);
    QVERIFY(object.value("startRecordTime").isObject());
    QVERIFY(object.value("startRecordTime").toObject().isEmpty());
}

void TestRecordJson::storedKeysAndTypes()
{
    const QJsonObject object = toObject(filledRecord());
    const QStringList numbers = {
        "recordNum",      "numofReport",        "maxTemp",     "minTemp",        "avgTemp",
        "maxHumidity",    "minHumidity",        "avgHumidity", "startOperation", "stopOperation",
        "recordInterval", "overWirteRecordNum", "recordMode",  "startDelay",     "tempUnit",
        "devType",        "startTemp",          "stopTemp",    "sensorType"};
    const QStringList objects = {"startRecordTime",
                                 "stopRecordTime",
                                 "configTime",
                                 "th3",
                                 "th2",
                                 "th1",
                                 "tl3",
                                 "tl2",
                                 "tl1",
                                 "hh",
                                 "hl"};
    const QStringList strings = {"devName", "sn", "id", "note"};
    const QStringList flags = {"isOpenBacklight", "isOpenBuzzer", "isOpenLed", "isOpenPdf",
                               "isContainHum"};

    QStringList expected = numbers + objects + strings + flags;
    expected.sort();
    QCOMPARE(object.keys(), expected); // nothing more: blockCount and durations stay out
    for (const QString &key : numbers)
        QVERIFY2(object.value(key).isDouble(), qPrintable(key));
    for (const QString &key : objects)
        QVERIFY2(object.value(key).isObject(), qPrintable(key));
    for (const QString &key : strings)
        QVERIFY2(object.value(key).isString(), qPrintable(key));
    for (const QString &key : flags)
        QVERIFY2(object.value(key).isBool(), qPrintable(key));

    const QJsonObject alert = object.value("hl").toObject();
    QCOMPARE(alert.keys(), QStringList({"alertDuration", "alertNum", "alertValue", "delayTime",
                                        "isAccumulate", "isAlertFlag", "isOpen"}));
    const QJsonObject time = object.value("startRecordTime").toObject();
    QCOMPARE(time, parse(R"({"year":2024,"month":1,"day":31,"hour":14,"minute":25,"second":1})"));
}

void TestRecordJson::roundTripThroughCompactText()
{
    const ReadDevInfoJson original = filledRecord();
    const QByteArray text = QJsonDocument(toObject(original)).toJson(QJsonDocument::Compact);
    // 64-bit counts are written as plain integers, not rounded floating point.
    QVERIFY(text.contains("\"recordNum\":3000000000"));
    QVERIFY(text.contains("\"alertDuration\":5000000007"));

    ReadDevInfoJson read;
    read.fromJson(QJsonDocument::fromJson(text).object());
    QCOMPARE(read.recordNum, 3000000000LL);
    QCOMPARE(read.overWirteRecordNum, 2999935488LL);
    QCOMPARE(read.tl1.alertDuration, 5000000005LL);
    QCOMPARE(read.startRecordTime, original.startRecordTime);
    QCOMPARE(read.note, original.note);
    QCOMPARE(read.devName, original.devName);
    QCOMPARE(read.isContainHum, false);
    QCOMPARE(toObject(read), toObject(original));
}

void TestRecordJson::missingKeysKeepValues()
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.sensorType = 2;
    info.isContainHum = false;
    info.startTemp = 1234;
    info.th1.alertValue = 3000;
    info.th1.isOpen = true;
    info.startRecordTime = QDateTime(QDate(2021, 5, 6), QTime(7, 8, 9));
    info.fromJson(parse(R"({"maxTemp":2000,"th1":{"alertNum":4},"devName":"x"})"));

    QCOMPARE(info.maxTemp, 2000);
    QCOMPARE(info.devName, QStringLiteral("x"));
    QCOMPARE(info.th1.alertNum, 4);
    QCOMPARE(info.th1.alertValue, 3000);
    QVERIFY(info.th1.isOpen);
    QCOMPARE(info.devType, 1);
    QCOMPARE(info.sensorType, 2);
    QVERIFY(!info.isContainHum);
    QCOMPARE(info.startTemp, 1234);
    QCOMPARE(info.startRecordTime, QDateTime(QDate(2021, 5, 6), QTime(7, 8, 9)));
}

void TestRecordJson::backlightReadUnderItsOwnKey()
{
    ReadDevInfoJson info;
    info.fromJson(parse(R"({"isOpenBacklight":true})"));
    QVERIFY(info.isOpenBacklight);
    QVERIFY(!info.isOpenBuzzer && !info.isOpenLed && !info.isOpenPdf);

    ReadDevInfoJson other;
    other.fromJson(parse(R"({"isOpenBuzzer":true,"isOpenLed":true,"isOpenPdf":true})"));
    QVERIFY(!other.isOpenBacklight);
}

void TestRecordJson::wrongTypesReadAsDefaults()
{
    ReadDevInfoJson info = filledRecord();
    info.fromJson(parse(R"({"maxTemp":"12","numofReport":2.5,"recordNum":"7","devName":5,
        "isOpenLed":"true","isContainHum":1,"startRecordTime":5,"configTime":{"year":"x"},
        "hh":7,"hl":{"isOpen":"yes","alertValue":null,"alertDuration":[1]}})"));
    QCOMPARE(info.maxTemp, 0);
    QCOMPARE(info.numofReport, 0);
    QCOMPARE(info.recordNum, 0);
    QCOMPARE(info.devName, QString());
    QVERIFY(!info.isOpenLed);
    QVERIFY(!info.isContainHum);
    QCOMPARE(info.startRecordTime, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    QCOMPARE(info.configTime, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    // An alarm that is no object changes nothing; wrongly typed members read as defaults.
    QCOMPARE(toObject(info).value("hh"), toObject(filledRecord()).value("hh"));
    QVERIFY(!info.hl.isOpen);
    QCOMPARE(info.hl.alertValue, 0);
    QCOMPARE(info.hl.alertDuration, 0);
    QCOMPARE(info.hl.alertNum, filledRecord().hl.alertNum);
}

void TestRecordJson::hugeCountsSaturate()
{
    ReadDevInfoJson info;
    info.fromJson(parse(R"({"recordNum":1e300,"overWirteRecordNum":-1e300,
        "numofReport":3000000000,"th1":{"alertDuration":-12.9}})"));
    QCOMPARE(info.recordNum, std::numeric_limits<qint64>::max());
    QCOMPARE(info.overWirteRecordNum, std::numeric_limits<qint64>::min());
    QCOMPARE(info.numofReport, 0); // beyond 32 bits: the conversion's default
    QCOMPARE(info.th1.alertDuration, -12);
}

void TestRecordJson::dateTimeFromJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QDateTime>("expected");

    const auto at = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
    };
    QTest::newRow("complete")
        << QByteArray(R"({"year":2024,"month":7,"day":15,"hour":13,"minute":45,"second":30})")
        << at(2024, 7, 15, 13, 45, 30);
    QTest::newRow("year and month only")
        << QByteArray(R"({"year":2024,"month":2})") << at(2024, 2, 1, 0, 0, 0);
    QTest::newRow("year as text") << QByteArray(R"({"year":"2024"})") << at(2000, 1, 1, 0, 0, 0);
    QTest::newRow("empty") << QByteArray("{}") << at(2000, 1, 1, 0, 0, 0);
    QTest::newRow("seconds only") << QByteArray(R"({"second":59})") << at(2000, 1, 1, 0, 0, 59);
    QTest::newRow("day 30 of February")
        << QByteArray(R"({"year":2024,"month":2,"day":30})") << QDateTime();
    QTest::newRow("month 13") << QByteArray(R"({"month":13})") << QDateTime();
    QTest::newRow("hour 24") << QByteArray(R"({"hour":24})") << QDateTime();
    QTest::newRow("negative minute") << QByteArray(R"({"minute":-1})") << QDateTime();
}

void TestRecordJson::dateTimeFromJson()
{
    QFETCH(QByteArray, json);
    QFETCH(QDateTime, expected);
    const QDateTime result = QDateTimePosFJson::fromJson(QJsonDocument::fromJson(json).object());
    QCOMPARE(result.isValid(), expected.isValid());
    if (expected.isValid()) {
        QCOMPARE(result, expected);
        QCOMPARE(result.timeSpec(), Qt::LocalTime);
    }
}

void TestRecordJson::dateTimeToJson()
{
    QVERIFY(QDateTimePosFJson::toJson(QDateTime()).isEmpty());
    const QDateTime dt(QDate(1999, 12, 31), QTime(23, 59, 58));
    const QJsonObject object = QDateTimePosFJson::toJson(dt);
    QCOMPARE(object,
             parse(R"({"year":1999,"month":12,"day":31,"hour":23,"minute":59,"second":58})"));
    QCOMPARE(QDateTimePosFJson::fromJson(object), dt);
}

QTEST_GUILESS_MAIN(TestRecordJson)
#include "tst_recordjson.moc"
