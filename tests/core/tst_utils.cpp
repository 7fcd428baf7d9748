// SPDX-License-Identifier: GPL-3.0-or-later
// Shared utilities: texts, conversions, wall-clock time, bytes, file names.
#include "core/lgxdevtype.h"
#include "core/shippedfiles.h"
#include "core/units.h"
#include "core/utils.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>

class TestUtils : public QObject
{
    Q_OBJECT
private slots:
    void durations_data();
    void durations();
    void temperatures_data();
    void temperatures();
    void unitConversion();
    void bytes();
    void bits();
    void wallClockAcrossDaylightSaving_data();
    void wallClockAcrossDaylightSaving();
    void fileNames();
    void freeFileNameNeverReusesAName();
    void ensureFolderCreatesParents();
    void shippedFilesBesideTheProgramThenUnderShare();
};

void TestUtils::durations_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "0s";
    QTest::newRow("59") << qint64(59) << "59s";
    QTest::newRow("60") << qint64(60) << "1m 0s";
    QTest::newRow("3600") << qint64(3600) << "1h 0m 0s";
    QTest::newRow("90061") << qint64(90061) << "1d 1h 1m 1s";
    QTest::newRow("86400") << qint64(86400) << "1d 0h 0m 0s";
    QTest::newRow("long") << qint64(64512) * 43200 << "32256d 0h 0m 0s";
}

void TestUtils::durations()
{
    QFETCH(qint64, seconds);
    QTEST(durationText(seconds), "text");
}

void TestUtils::temperatures_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("fahrenheit") << 25.0 << 1 << QStringLiteral("77.0°F");
    QTest::newRow("negative celsius") << -12.34 << 0 << QStringLiteral("-12.3℃");
    QTest::newRow("other unit is celsius") << 21.0 << 7 << QStringLiteral("21.0℃");
    QTest::newRow("minus forty") << -40.0 << 1 << QStringLiteral("-40.0°F");
}

void TestUtils::temperatures()
{
    QFETCH(double, celsius);
    QFETCH(int, unit);
    QTEST(temperatureText(celsius, unit), "text");
}

void TestUtils::unitConversion()
{
    QCOMPARE(fromCelsius(100, 1), 212.0);
    QCOMPARE(fromCelsius(100, 0), 100.0);
    QCOMPARE(toCelsius(212, 1), 100.0);
    QCOMPARE(toCelsius(-40, 1), -40.0);
    QCOMPARE(toCelsius(23.5, 2), 23.5);
}

void TestUtils::bytes()
{
    QCOMPARE(readInt16LE("\xE0\xE0"), -7968);
    QCOMPARE(readInt16LE("\xFF\x7F"), 32767);
    QCOMPARE(readInt16LE("\x00\x80"), -32768);
    QCOMPARE(readInt16LE("\x34\x08"), 2100);
    QCOMPARE(readInt16LE("\xE0\xE0") & 0xFFFF, 57568);
    QCOMPARE(readInt32LE("\x00\x5E\xD0\xB2"), int(0xB2D05E00));
    QCOMPARE(readInt32LE("\x10\x27\x00\x00"), 10000);
}

void TestUtils::bits()
{
    uint8_t b = 0;
    setBitOf(b, 0, true);
    setBitOf(b, 7, true);
    QCOMPARE(b, uint8_t(0x81));
    QCOMPARE(bitOf(b, 7), 1);
    QCOMPARE(bitOf(b, 6), 0);
    setBitOf(b, 7, false);
    QCOMPARE(b, uint8_t(0x01));
}

void TestUtils::wallClockAcrossDaylightSaving_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::newRow("winter") << QDate(2024, 1, 15) << QTime(12, 0);
    QTest::newRow("before spring change") << QDate(2024, 3, 31) << QTime(1, 59, 59);
    QTest::newRow("after spring change") << QDate(2024, 3, 31) << QTime(3, 0);
    QTest::newRow("summer") << QDate(2024, 7, 1) << QTime(23, 30, 15);
    QTest::newRow("after autumn change") << QDate(2024, 10, 27) << QTime(3, 0);
    QTest::newRow("new year") << QDate(2023, 12, 31) << QTime(23, 59, 59);
}

// In a zone with daylight saving the local reading, taken as UTC, must be the
// same date and time, so sample spacing stays uniform across a change.
void TestUtils::wallClockAcrossDaylightSaving()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    const QDateTime local(date, time, Qt::LocalTime);
    QVERIFY(local.isValid());
    QCOMPARE(QDateTime(QDate(2024, 7, 1), QTime(12, 0)).offsetFromUtc(),
             7200); // the zone is in effect
    const QDateTime asUtc(date, time, Qt::UTC);
    QCOMPARE(wallClockMs(local), asUtc.toMSecsSinceEpoch());
    QCOMPARE(wallClockSecs(local), asUtc.toSecsSinceEpoch());
}

void TestUtils::fileNames()
{
    const QRegularExpression pattern("^HX20D_\\d{8}_\\d{6}\\.data$");
    QVERIFY(pattern.match(recordingFileName(HX20D, ".data")).hasMatch());
    QVERIFY(
        QRegularExpression("^\\d{8}_\\d{6}\\.conf$").match(timeStampedName(".conf")).hasMatch());
    QVERIFY(recordingFileName(7, ".data").startsWith('_'));
}

void TestUtils::freeFileNameNeverReusesAName()
{
    QTemporaryDir dir;
    const QString name = "HX10D_20240131_142501.data";
    QCOMPARE(freeFileName(dir.path(), name), name);
    QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    QCOMPARE(freeFileName(dir.path(), name), QStringLiteral("HX10D_20240131_142501_2.data"));
    QFile(dir.filePath("HX10D_20240131_142501_2.data")).open(QIODevice::WriteOnly);
    QCOMPARE(freeFileName(dir.path(), name), QStringLiteral("HX10D_20240131_142501_3.data"));
}

void TestUtils::ensureFolderCreatesParents()
{
    QTemporaryDir dir;
    const QString target = dir.path() + "/a/b/c";
    ensureFolder(target);
    QVERIFY(QDir(dir.path() + "/a/b").exists());
    QVERIFY(!QDir(target).exists());
}

// A build tree keeps them beside the program; /usr/bin/hygra finds /usr/share/hygra.
void TestUtils::shippedFilesBesideTheProgramThenUnderShare()
{
    QTemporaryDir prefix;
    const QString bin = prefix.path() + "/bin";
    const QString share = prefix.path() + "/share/hygra";
    QVERIFY(QDir().mkpath(bin + "/lgxtranslation") && QDir().mkpath(share + "/lgxtranslation"));
    for (const QString &file :
         {share + "/help.pdf", bin + "/help_zh.pdf", share + "/help_zh.pdf"}) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(shippedFilePath(bin, "lgxtranslation"), bin + "/lgxtranslation");
    QCOMPARE(shippedFilePath(bin, "help_zh.pdf"), bin + "/help_zh.pdf");
    QCOMPARE(shippedFilePath(bin, "help.pdf"), share + "/help.pdf");
    QCOMPARE(shippedFilePath(bin, "fonts"), bin + "/fonts");
}

int main(int argc, char *argv[])
{
    // A zone with daylight saving, so wall-clock conversion is tested across changes.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCoreApplication app(argc, argv);
    TestUtils test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_utils.moc"
