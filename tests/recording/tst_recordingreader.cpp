// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of reading recording files: header checks, layout, sample decoding and damaged input.
#include "recordingfiles.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

using namespace recordingfiles;
using testsupport::hex;

class TestRecordingReader : public QObject
{
    Q_OBJECT

private slots:
    void checksInOrder_data();
    void checksInOrder();
    void smallestFileOpens();
    void samplesStartAfterTheJson();
    void sampleDecoding_data();
    void sampleDecoding();
    void samplesAcrossChunkBorders();
    void olderFilesGetPresets();
    void hugeJsonLengthAllocatesNothing();
    void hostileNumbersDoNotCrash_data();
    void hostileNumbersDoNotCrash();
    void damagedFilesNeverCrash();
    void readsFromPath();
    void sampleCountIsBounded();
    void expectedSamples_data();
    void expectedSamples();
};

void TestRecordingReader::checksInOrder_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<RecordingStatus>("status");

    const QByteArray json = compactJson(QJsonObject{{"devType", 1}});
    const QByteArray pad(1100, '\0');
    const auto file = [&](const QByteArray &name, qint32 length, const QByteArray &text) {
        return rawHeader(name, length, text) + pad;
    };
    const QByteArray valid = smallHeader("HX20D", json, 1024);

    QTest::newRow("1024 bytes") << valid << RecordingStatus::Loaded;
    QTest::newRow("1023 bytes") << valid.left(1023) << RecordingStatus::TooShort;
    QTest::newRow("short beats a bad name") << QByteArray(1023, 'x') << RecordingStatus::TooShort;
    QTest::newRow("HX10D") << file("HX10D", json.size(), json) << RecordingStatus::Loaded;
    QTest::newRow("junk after the NUL")
        << file(QByteArray("HX20D\0abcd", 10), json.size(), json) << RecordingStatus::Loaded;
    QTest::newRow("unknown model")
        << file("HX30D", json.size(), json) << RecordingStatus::UnknownModel;
    QTest::newRow("lower case") << file("hx20d", json.size(), json)
                                << RecordingStatus::UnknownModel;
    QTest::newRow("name without NUL")
        << file("HX20DHX20D", json.size(), json) << RecordingStatus::UnknownModel;
    QTest::newRow("empty name") << file("", json.size(), json) << RecordingStatus::UnknownModel;
    QTest::newRow("bad name beats bad length")
        << file("HX30D", 0, json) << RecordingStatus::UnknownModel;
    QTest::newRow("length 0") << file("HX20D", 0, json) << RecordingStatus::BadJsonLength;
    QTest::newRow("length -1") << file("HX20D", -1, json) << RecordingStatus::BadJsonLength;
    QTest::newRow("length past the end") << rawHeader("HX20D", 1100, json).leftJustified(1100, ' ')
                                         << RecordingStatus::BadJsonLength;
    QTest::newRow("bad length beats bad JSON")
        << file("HX20D", -5, "{oops") << RecordingStatus::BadJsonLength;
    QTest::newRow("broken JSON") << file("HX20D", 5, "{oops") << RecordingStatus::BadJson;
    QTest::newRow("JSON cut short")
        << file("HX20D", json.size() - 1, json) << RecordingStatus::BadJson;
}

void TestRecordingReader::checksInOrder()
{
    QFETCH(QByteArray, bytes);
    QFETCH(RecordingStatus, status);
    const LoadedRecording result = readBytes(bytes);
    QCOMPARE(result.status, status);
    QCOMPARE(result.ok(), status == RecordingStatus::Loaded);
}

void TestRecordingReader::smallestFileOpens()
{
    // A 1020-byte header and one sample: exactly the minimum size.
    const QByteArray bytes =
        smallHeader("HX10D", R"({"recordInterval":1})", 1020) + hex("34 08 58 02");
    QCOMPARE(bytes.size(), 1024);
    const LoadedRecording result = readBytes(bytes);
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), 1);
    QCOMPARE(result.samples.at(0).temperature, 21.0f);
    QCOMPARE(result.interval, 5);
}

void TestRecordingReader::samplesStartAfterTheJson()
{
    const QByteArray head = header(withHeaderSize(basicRecord(), 1514));
    QCOMPARE(qFromLittleEndian<quint32>(head.constData() + 10), 1500u);
    // Two samples and three stray bytes that make no sample.
    const LoadedRecording result = readBytes(head + hex("34 08 58 02 FC EF 20 03 01 02 03"));
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), 2);
    QCOMPARE(result.samples.at(0).temperature, 21.0f);
    QCOMPARE(result.samples.at(0).humidity, 60.0f);
    QCOMPARE(result.samples.at(1).temperature, -41.0f);
    QCOMPARE(result.samples.at(1).humidity, 80.0f);
    QCOMPARE(result.interval, 60);
}

void TestRecordingReader::sampleDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<float>("temperature");
    QTest::addColumn<float>("humidity");
    QTest::addColumn<int>("state");

    // All alarms closed: only the out-of-range defaults apply.
    QTest::newRow("21 °C 60 %") << hex("34 08 58 02") << true << 21.0f << 60.0f << 0;
    QTest::newRow("no values") << hex("E0 E0 E0 E0") << true << -1000.0f << -10.0f << 1;
    QTest::newRow("no values, no humidity")
        << hex("E0 E0 E0 E0") << false << -1000.0f << -10.0f << 1;
    QTest::newRow("one E0 byte is a value") << hex("E0 01 01 E0") << true << 4.8f << -819.1f << 1;
    QTest::newRow("85.9 °C") << hex("8E 21 58 02") << true << 85.9f << 60.0f << 0;
    QTest::newRow("86.0 °C") << hex("98 21 58 02") << true << 86.0f << 60.0f << 2;
    QTest::newRow("-40.9 °C") << hex("06 F0 58 02") << true << -40.9f << 60.0f << 0;
    QTest::newRow("-41.0 °C") << hex("FC EF 58 02") << true << -41.0f << 60.0f << 1;
    QTest::newRow("100.9 %") << hex("34 08 F1 03") << true << 21.0f << 100.9f << 0;
    QTest::newRow("101.0 %") << hex("34 08 F2 03") << true << 21.0f << 101.0f << 2;
    QTest::newRow("101.0 % without humidity")
        << hex("34 08 F2 03") << false << 21.0f << 101.0f << 0;
    QTest::newRow("0.0 %") << hex("34 08 00 00") << true << 21.0f << 0.0f << 0;
    QTest::newRow("humidity missing") << hex("34 08 E0 E0") << true << 21.0f << -10.0f << 1;
    QTest::newRow("humidity missing, no humidity")
        << hex("34 08 E0 E0") << false << 21.0f << -10.0f << 0;
    QTest::newRow("16-bit extremes") << hex("FF 7F 00 80") << true << 327.67f << -3276.8f << 2;
}

void TestRecordingReader::sampleDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, withHumidity);
    QFETCH(float, temperature);
    QFETCH(float, humidity);
    QFETCH(int, state);

    ReadDevInfoJson info = basicRecord();
    info.isContainHum = withHumidity;
    const LoadedRecording result = readBytes(header(info) + bytes);
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), 1);
    const SamplePoint &point = result.samples.at(0);
    QCOMPARE(point.temperature, temperature);
    QCOMPARE(point.humidity, humidity);
    QCOMPARE(point.alarmState, state);
    QCOMPARE(point.isAlarm, state != 0);
}

void TestRecordingReader::samplesAcrossChunkBorders()
{
    // An odd header length puts many samples across the 4096-byte chunks.
    const QByteArray head = header(withHeaderSize(basicRecord(), 1501));
    QByteArray bytes = head;
    const int count = 3001;
    for (int i = 0; i < count; ++i)
        bytes += sample(qint16(i), qint16(-i));
    qint64 largestRead = 0;
    const LoadedRecording result = readBytes(bytes + "xy", &largestRead);
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), count);
    const qint64 base = result.samples.at(0).time;
    for (int i = 0; i < count; ++i) {
        const SamplePoint &point = result.samples.at(i);
        QCOMPARE(point.temperature, float(i) / 100.0f);
        QCOMPARE(point.humidity, float(-i) / 10.0f);
        QCOMPARE(point.time, base + i * 60);
    }
    QVERIFY(largestRead <= bytes.size());
}

void TestRecordingReader::olderFilesGetPresets()
{
    QJsonObject object;
    basicRecord().toJson(object);
    for (const char *key : {"devType", "isContainHum", "startTemp", "stopTemp", "sensorType",
                            "recordNum", "numofReport"})
        object.remove(QLatin1String(key));
    const QByteArray json = compactJson(object);
    const QByteArray bytes =
        rawHeader("HX20D", json.size(), json) + QByteArray(1024, '\0') + hex("34 08 F2 03");

    const LoadedRecording result = readBytes(bytes);
    QVERIFY(result.ok());
    QCOMPARE(result.recording.devType, 0);
    QVERIFY(result.recording.isContainHum);
    QCOMPARE(result.recording.startTemp, -7968);
    QCOMPARE(result.recording.stopTemp, -7968);
    QCOMPARE(result.recording.sensorType, 0);
    // Without counts nothing is promised, so the file reads as complete.
    QCOMPARE(result.expectedSamples, 0);
    QVERIFY(result.complete());
    // Humidity is classified: 101 % is above the closed high limit.
    QCOMPARE(result.samples.last().alarmState, 2);
}

void TestRecordingReader::hugeJsonLengthAllocatesNothing()
{
    for (qint32 length : {qint32(0x7FFFFFFF), qint32(2000000000), qint32(1011)}) {
        const QByteArray bytes = rawHeader("HX10D", length, "{}").leftJustified(1024, ' ');
        qint64 largestRead = 0;
        const LoadedRecording result = readBytes(bytes, &largestRead);
        QCOMPARE(result.status, RecordingStatus::BadJsonLength);
        QVERIFY(largestRead <= 10);
    }
    // The largest length that fits is accepted.
    QVERIFY(readBytes(smallHeader("HX10D", "{}", 1024)).ok());
}

void TestRecordingReader::hostileNumbersDoNotCrash_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("interval 0") << QByteArray(R"({"recordInterval":0})");
    QTest::newRow("negative interval") << QByteArray(R"({"recordInterval":-2147483648})");
    QTest::newRow("huge interval") << QByteArray(R"({"recordInterval":2147483647,
        "overWirteRecordNum":9e18,"startDelay":2147483647})");
    QTest::newRow("huge negative") << QByteArray(R"({"recordInterval":2147483647,
        "overWirteRecordNum":-9e18,"startDelay":-2147483648})");
    QTest::newRow("no start time") << QByteArray(R"({"startRecordTime":null})");
    QTest::newRow("invalid start time") << QByteArray(R"({"startRecordTime":{"month":0}})");
    QTest::newRow("not an object") << QByteArray(R"([1,2,3])");
    QTest::newRow("nested junk") << QByteArray(R"({"th1":[{"isOpen":true}],"hh":"x"})");
}

void TestRecordingReader::hostileNumbersDoNotCrash()
{
    QFETCH(QByteArray, json);
    QByteArray bytes = smallHeader("HX20D", json, 1024);
    for (int i = 0; i < 50; ++i)
        bytes += sample(qint16(i * 10), 500);
    const LoadedRecording result = readBytes(bytes);
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), 50);
    // Times never wrap around: they move in the direction of the interval.
    for (int i = 1; i < result.samples.size(); ++i) {
        const qint64 step = result.samples.at(i).time - result.samples.at(i - 1).time;
        QVERIFY(result.interval >= 0 ? step >= 0 : step <= 0);
    }
}

void TestRecordingReader::damagedFilesNeverCrash()
{
    ReadDevInfoJson info = basicRecord();
    info.th1.isOpen = true;
    info.th1.alertValue = 3000;
    QByteArray good = header(withHeaderSize(info, 1600));
    for (int i = 0; i < 300; ++i)
        good += sample(qint16(i * 17), qint16(i));

    QRandomGenerator random(20240131);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = good;
        const int flips = 1 + int(random.bounded(8));
        for (int f = 0; f < flips; ++f)
            bytes[int(random.bounded(1600))] = char(random.bounded(256));
        bytes.truncate(int(random.bounded(1000, bytes.size() + 1)));
        const LoadedRecording result = readBytes(bytes);
        if (result.ok()) {
            ++loaded;
            QVERIFY(result.samples.size() <= (bytes.size() - 14) / 4);
        }
    }
    QVERIFY(loaded > 0);
}

void TestRecordingReader::readsFromPath()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("HX20D_20240115_100000.data");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(header(basicRecord()) + hex("34 08 58 02 E0 E0 E0 E0"));
    file.close();

    // As the view container runs it: on a pool thread, the result handed over whole.
    const LoadedRecording result = QtConcurrent::run(&RecordingReader::read, path).result();
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), 2);
    QCOMPARE(result.samples.at(1).alarmState, 1);

    QCOMPARE(RecordingReader::read(dir.filePath("missing.data")).status,
             RecordingStatus::CannotOpen);
    QCOMPARE(RecordingReader::read(dir.path()).status, RecordingStatus::CannotOpen);
}

void TestRecordingReader::sampleCountIsBounded()
{
    QByteArray bytes = smallHeader("HX20D", "{}", 1024);
    bytes.append(QByteArray((RecordingReader::maximumSamples + 5) * 4, '\x01'));
    const LoadedRecording result = readBytes(bytes);
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), RecordingReader::maximumSamples);
    QCOMPARE(result.samples.capacity(), RecordingReader::maximumSamples);
}

void TestRecordingReader::expectedSamples_data()
{
    QTest::addColumn<qint64>("recordNum");
    QTest::addColumn<int>("numofReport");
    QTest::addColumn<int>("present");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("complete");

    QTest::newRow("full memory") << qint64(64512) << 64512 << 64512 << 64512 << true;
    QTest::newRow("full memory cut after 5 blocks")
        << qint64(64512) << 64512 << 5120 << 64512 << false;
    QTest::newRow("loop recording: overwritten samples are not expected")
        << qint64(100000) << 64512 << 64512 << 64512 << true;
    QTest::newRow("last block partly filled") << qint64(2000) << 2000 << 2000 << 2000 << true;
    QTest::newRow("one sample short") << qint64(2000) << 2000 << 1999 << 2000 << false;
    QTest::newRow("more than the header says") << qint64(10) << 10 << 12 << 10 << true;
    QTest::newRow("empty memory") << qint64(500) << 0 << 0 << 0 << true;
    // A download fetches at most 63 blocks of 1,024 samples, and only the
    // blocks the recorded count names.
    QTest::newRow("held count beyond 63 blocks")
        << qint64(70000) << 65535 << 64512 << 64512 << true;
    QTest::newRow("held count above the recorded one")
        << qint64(1000) << 3000 << 1024 << 1024 << true;
}

void TestRecordingReader::expectedSamples()
{
    QFETCH(qint64, recordNum);
    QFETCH(int, numofReport);
    QFETCH(int, present);
    QFETCH(int, expected);
    QFETCH(bool, complete);
    ReadDevInfoJson info = basicRecord();
    info.recordNum = recordNum;
    info.numofReport = numofReport;
    QByteArray bytes = header(info);
    for (int i = 0; i < present; ++i)
        bytes.append(sample(2100, 600));
    const LoadedRecording result = readBytes(bytes);
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), present);
    QCOMPARE(result.expectedSamples, expected);
    QCOMPARE(result.complete(), complete);
}

QTEST_GUILESS_MAIN(TestRecordingReader)
#include "tst_recordingreader.moc"
