// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet file: header variants, sample lines, encoding and line ends.
#include "export/spreadsheetwriter.h"
#include "export/wallclocktext.h"
#include "exportsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

class TestSpreadsheetWriter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void header_data();
    void header();
    void sampleLine_data();
    void sampleLine();
    void wallClockTextsMatchQDateTime_data();
    void wallClockTextsMatchQDateTime();
    void noSamplesWritesHeaderOnly();
    void fileHoldsOneLinePerSampleWithLineFeeds();
    void textIsWrittenInTheLocalEncoding();
    void replacesEarlierContent();
    void unwritablePathWritesNothing();

private:
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

void TestSpreadsheetWriter::init()
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
}

void TestSpreadsheetWriter::header_data()
{
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("humidity, °C") << true << 0 << "YYYY/MM/DD,Time,AT(°C),RH%\n";
    QTest::newRow("humidity, °F") << true << 1 << "YYYY/MM/DD,Time,AT(℉),RH%\n";
    QTest::newRow("temperature only, °C") << false << 0 << "YYYY/MM/DD,Time,AT(°C)\n";
    QTest::newRow("temperature only, °F") << false << 1 << "YYYY/MM/DD,Time,AT(℉)\n";
}

void TestSpreadsheetWriter::header()
{
    QFETCH(bool, withHumidity);
    QFETCH(int, unit);
    QFETCH(QString, expected);
    QCOMPARE(spreadsheetHeader(withHumidity, unit), expected);
}

void TestSpreadsheetWriter::sampleLine_data()
{
    QTest::addColumn<qint64>("time");
    QTest::addColumn<float>("temperature");
    QTest::addColumn<float>("humidity");
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("expected");
    const qint64 t = exporttest::firstSampleTime();
    QTest::newRow("°C with humidity")
        << t << 23.5f << 45.0f << true << 0 << "2023/11/30,16:49:00,23.5,45.0\n";
    QTest::newRow("°F with humidity")
        << t << 23.5f << 45.0f << true << 1 << "2023/11/30,16:49:00,74.3,45.0\n";
    QTest::newRow("temperature only")
        << t << 23.5f << 45.0f << false << 1 << "2023/11/30,16:49:00,74.3\n";
    QTest::newRow("missing temperature")
        << t << -1000.0f << 45.0f << true << 0 << "2023/11/30,16:49:00,---,45.0\n";
    QTest::newRow("missing humidity")
        << t << 23.5f << -10.0f << true << 0 << "2023/11/30,16:49:00,23.5,---\n";
    QTest::newRow("both missing") << t << -1000.0f << -10.0f << true << 1
                                  << "2023/11/30,16:49:00,---,---\n";
    QTest::newRow("below zero") << t << -12.34f << 5.06f << true << 0
                                << "2023/11/30,16:49:00,-12.3,5.1\n";
    QTest::newRow("last second of a leap day")
        << wallClockSecs(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59))) << 0.0f << 100.0f << true
        << 0 << "2024/02/29,23:59:59,0.0,100.0\n";
}

void TestSpreadsheetWriter::sampleLine()
{
    QFETCH(qint64, time);
    QFETCH(float, temperature);
    QFETCH(float, humidity);
    QFETCH(bool, withHumidity);
    QFETCH(int, unit);
    QFETCH(QString, expected);
    SamplePoint sample;
    sample.time = time;
    sample.temperature = temperature;
    sample.humidity = humidity;
    QCOMPARE(spreadsheetLine(sample, withHumidity, unit), expected);
}

void TestSpreadsheetWriter::wallClockTextsMatchQDateTime_data()
{
    QTest::addColumn<qint64>("secs");
    QTest::newRow("epoch") << qint64(0);
    QTest::newRow("one second before the epoch") << qint64(-1);
    QTest::newRow("a day before the epoch") << qint64(-86400);
    QTest::newRow("1969-07-20 20:17:40") << qint64(-14182940);
    QTest::newRow("2000-01-01 00:00:00") << qint64(946684800);
    QTest::newRow("2023-11-30 16:49:00") << exporttest::firstSampleTime();
    QTest::newRow("2099-12-31 23:59:59") << qint64(4102444799);
    QTest::newRow("year 10000") << qint64(253402300800);
}

void TestSpreadsheetWriter::wallClockTextsMatchQDateTime()
{
    QFETCH(qint64, secs);
    const QDateTime at = QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
    QCOMPARE(wallclocktext::date(secs), at.toString("yyyy/MM/dd"));
    QCOMPARE(wallclocktext::shortDate(secs), at.toString("yy/MM/dd"));
    QCOMPARE(wallclocktext::time(secs), at.toString("hh:mm:ss"));
}

void TestSpreadsheetWriter::noSamplesWritesHeaderOnly()
{
    const QString path = dir.filePath("empty.csv");
    QVERIFY(writeSpreadsheet(path, exporttest::recording(0, false, 1)));
    QCOMPARE(readAll(path), QByteArray("YYYY/MM/DD,Time,AT(\xE2\x84\x89)\n"));
}

void TestSpreadsheetWriter::fileHoldsOneLinePerSampleWithLineFeeds()
{
    LoadedRecording r = exporttest::recording(3);
    r.samples[1].temperature = -1000;
    r.samples[2].humidity = -10;
    const QString path = dir.filePath("three.csv");
    QVERIFY(writeSpreadsheet(path, r));
    QCOMPARE(readAll(path), QByteArray("YYYY/MM/DD,Time,AT(\xC2\xB0"
                                       "C),RH%\n"
                                       "2023/11/30,16:49:00,20.0,50.0\n"
                                       "2023/11/30,16:49:05,---,50.0\n"
                                       "2023/11/30,16:49:10,20.0,---\n"));
}

void TestSpreadsheetWriter::textIsWrittenInTheLocalEncoding()
{
    // A Chinese Windows code page: "°" and "℉" have two-byte forms there.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("GBK"));
    const QString celsius = dir.filePath("gbk-c.csv");
    const QString fahrenheit = dir.filePath("gbk-f.csv");
    QVERIFY(writeSpreadsheet(celsius, exporttest::recording(0, false, 0)));
    QVERIFY(writeSpreadsheet(fahrenheit, exporttest::recording(0, false, 1)));
    QCOMPARE(readAll(celsius), QByteArray("YYYY/MM/DD,Time,AT(\xA1\xE3"
                                          "C)\n"));
    QCOMPARE(readAll(fahrenheit), QByteArray("YYYY/MM/DD,Time,AT(\xA8H)\n"));
}

void TestSpreadsheetWriter::replacesEarlierContent()
{
    const QString path = dir.filePath("again.csv");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(500, 'x'));
    }
    QVERIFY(writeSpreadsheet(path, exporttest::recording(1, false, 0)));
    QCOMPARE(readAll(path), QByteArray("YYYY/MM/DD,Time,AT(\xC2\xB0"
                                       "C)\n2023/11/30,16:49:00,20.0\n"));
}

void TestSpreadsheetWriter::unwritablePathWritesNothing()
{
    const QString path = dir.filePath("no-such-folder/out.csv");
    QVERIFY(!writeSpreadsheet(path, exporttest::recording(5)));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestSpreadsheetWriter)
#include "tst_spreadsheetwriter.moc"
