// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the working alarm limits of a recording and of sample classification.
#include "recording/alarmlimits.h"
#include "recording/limitline.h"
#include "recording/readdevinfojson.h"

#include <QtTest>

namespace
{

void open(AlertDataJson &alert, int value)
{
    alert.isOpen = true;
    alert.alertValue = value;
}

// th3 30.00 °C, tl1 5.00 °C, hh 80.0 %RH and hl 20.0 %RH open; the others
// closed with values that would fire if they were used.
ReadDevInfoJson someOpen()
{
    ReadDevInfoJson info;
    open(info.th3, 3000);
    open(info.tl1, 500);
    open(info.hh, 800);
    open(info.hl, 200);
    info.th1.alertValue = 0;
    info.th2.alertValue = -500;
    info.tl2.alertValue = 9000;
    info.tl3.alertValue = 9000;
    return info;
}

} // namespace

class TestAlarmLimits : public QObject
{
    Q_OBJECT

private slots:
    void limitsFromRecording();
    void classify_data();
    void classify();
    void eachQuantityOnItsOwn_data();
    void eachQuantityOnItsOwn();
    void limitLinesOfARecording();
};

void TestAlarmLimits::limitsFromRecording()
{
    const AlarmLimits closed = AlarmLimits::fromRecording(ReadDevInfoJson());
    QCOMPARE(closed.th1, 86.0f);
    QCOMPARE(closed.th2, 86.0f);
    QCOMPARE(closed.th3, 86.0f);
    QCOMPARE(closed.tl1, -41.0f);
    QCOMPARE(closed.tl2, -41.0f);
    QCOMPARE(closed.tl3, -41.0f);
    QCOMPARE(closed.hh, 101.0f);
    QCOMPARE(closed.hl, -0.1f);

    ReadDevInfoJson info;
    open(info.th1, 2555);
    open(info.tl2, -1234);
    open(info.hh, 855);
    open(info.hl, -7);
    const AlarmLimits limits = AlarmLimits::fromRecording(info);
    QCOMPARE(limits.th1, 25.55f);
    QCOMPARE(limits.th2, 86.0f);
    QCOMPARE(limits.tl2, -12.34f);
    QCOMPARE(limits.tl1, -41.0f);
    QCOMPARE(limits.hh, 85.5f);
    QCOMPARE(limits.hl, -0.7f);
}

void TestAlarmLimits::classify_data()
{
    QTest::addColumn<float>("temperature");
    QTest::addColumn<float>("humidity");
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("state");

    QTest::newRow("inside") << 20.0f << 50.0f << true << 0;
    QTest::newRow("at the high limit") << 30.0f << 50.0f << true << 2;
    QTest::newRow("just below the high limit") << 29.99f << 50.0f << true << 0;
    QTest::newRow("at the low limit") << 5.0f << 50.0f << true << 1;
    QTest::newRow("just above the low limit") << 5.01f << 50.0f << true << 0;
    QTest::newRow("humidity at hh") << 20.0f << 80.0f << true << 2;
    QTest::newRow("humidity at hl") << 20.0f << 20.0f << true << 1;
    QTest::newRow("humidity ignored without sensor") << 20.0f << 95.0f << false << 0;
    QTest::newRow("temperature before humidity") << 31.0f << 10.0f << true << 2;
    QTest::newRow("no temperature") << -1000.0f << 50.0f << true << 1;
    QTest::newRow("no humidity") << 20.0f << -10.0f << true << 1;
    QTest::newRow("no humidity without sensor") << 20.0f << -10.0f << false << 0;
}

void TestAlarmLimits::classify()
{
    QFETCH(float, temperature);
    QFETCH(float, humidity);
    QFETCH(bool, withHumidity);
    QFETCH(int, state);
    const AlarmLimits limits = AlarmLimits::fromRecording(someOpen());
    QCOMPARE(limits.classify(temperature, humidity, withHumidity), state);
}

void TestAlarmLimits::eachQuantityOnItsOwn_data()
{
    QTest::addColumn<float>("temperature");
    QTest::addColumn<float>("humidity");
    QTest::addColumn<int>("temperatureState");
    QTest::addColumn<int>("humidityState");

    QTest::newRow("inside") << 20.0f << 50.0f << 0 << 0;
    QTest::newRow("hot, humidity inside") << 30.0f << 50.0f << 2 << 0;
    QTest::newRow("humid, temperature inside") << 20.0f << 80.0f << 0 << 2;
    QTest::newRow("cold and dry") << 5.0f << 20.0f << 1 << 1;
    QTest::newRow("no temperature, humidity inside") << -1000.0f << 50.0f << 0 << 0;
    QTest::newRow("no temperature, humid") << -1000.0f << 85.0f << 0 << 2;
    QTest::newRow("no humidity, hot") << 31.0f << -10.0f << 2 << 0;
}

void TestAlarmLimits::eachQuantityOnItsOwn()
{
    QFETCH(float, temperature);
    QFETCH(float, humidity);
    QFETCH(int, temperatureState);
    QFETCH(int, humidityState);
    const AlarmLimits limits = AlarmLimits::fromRecording(someOpen());
    QCOMPARE(limits.temperatureState(temperature), temperatureState);
    QCOMPARE(limits.humidityState(humidity), humidityState);
}

// Level 1 (stored under th3 and tl3) and the humidity limits, where they are on.
void TestAlarmLimits::limitLinesOfARecording()
{
    ReadDevInfoJson info = someOpen();
    info.isContainHum = true;
    open(info.tl3, -250);
    QVector<LimitLine> lines = LimitLine::ofRecording(info);
    QStringList labels;
    for (const LimitLine &line : lines)
        labels << line.label(0);
    QCOMPARE(labels, (QStringList{"TH1 30.0℃", "TL1 -2.5℃", "HH 80.0%RH", "HL 20.0%RH"}));
    QVERIFY(lines.at(0).high && !lines.at(0).humidity);
    QVERIFY(!lines.at(3).high && lines.at(3).humidity);
    QCOMPARE(lines.at(0).label(1), QStringLiteral("TH1 86.0°F"));
    QCOMPARE(lines.at(2).shownValue(1), 80.0);

    // Without humidity, and with TH1 off, only TL1 is left.
    info.isContainHum = false;
    info.th3.isOpen = false;
    lines = LimitLine::ofRecording(info);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).name, QStringLiteral("TL1"));
    // Two recordings with the same TL1 draw it once, another value beside it.
    ReadDevInfoJson other = info;
    other.tl3.alertValue = -500;
    QCOMPARE(LimitLine::distinct({lines, lines, LimitLine::ofRecording(other)}).size(), 2);
}

QTEST_GUILESS_MAIN(TestAlarmLimits)
#include "tst_alarmlimits.moc"
