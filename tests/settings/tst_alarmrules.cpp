// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm level rules, the threshold ordering and the °F storage, without widgets.
#include "config/alarmrules.h"
#include "config/configechocheck.h"

#include <QtTest>
#include <cstring>

namespace
{

using Open = AlarmRules::OpenStates;

// Rows written as "th3 th2 ..." switched on; every other row off.
Open states(const QString &on)
{
    Open open{};
    for (const QString &key : on.split(' ', Qt::SkipEmptyParts)) {
        for (int row = 0; row < AlarmRowCount; ++row) {
            if (key == QLatin1String(AlarmRules::key(row)))
                open[size_t(row)] = true;
        }
    }
    return open;
}

QString keys(const Open &open)
{
    QStringList on;
    for (int row = 0; row < AlarmRowCount; ++row) {
        if (open[size_t(row)])
            on.append(QLatin1String(AlarmRules::key(row)));
    }
    return on.join(' ');
}

void setAlarm(OneConfigCmdStruct &config, int row, bool open, int value)
{
    AlarmRules::alert(config, row).isOpen = open;
    AlarmRules::alert(config, row).alertValue = value;
}

} // namespace

class TestAlarmRules : public QObject
{
    Q_OBJECT
private slots:
    void levelRules_data();
    void levelRules();
    void temperatureOrdering_data();
    void temperatureOrdering();
    void humidityOrdering();
    void fahrenheitStorage_data();
    void fahrenheitStorage();
    void echoCheckNamesTheFirstDifference_data();
    void echoCheckNamesTheFirstDifference();
};

void TestAlarmRules::levelRules_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("after");
    QTest::newRow("th3 on pulls levels 1 and 2")
        << "" << int(Th3Row) << true << "th3 th2 th1 tl1 tl2";
    QTest::newRow("tl3 on with the rest on")
        << "th2 th1 tl1 tl2" << int(Tl3Row) << true << "th2 th1 tl1 tl2 tl3";
    QTest::newRow("th3 off alone")
        << "th3 th2 th1 tl1 tl2 tl3" << int(Th3Row) << false << "th2 th1 tl1 tl2 tl3";
    QTest::newRow("tl2 on pulls level 1") << "hh" << int(Tl2Row) << true << "th1 tl1 tl2 hh";
    QTest::newRow("th2 off drops level 3")
        << "th3 th2 th1 tl1 tl2 tl3" << int(Th2Row) << false << "th1 tl1 tl2";
    QTest::newRow("th1 on alone") << "" << int(Th1Row) << true << "th1";
    QTest::newRow("tl1 off drops levels 2 and 3")
        << "th3 th2 th1 tl1 tl2 hl" << int(Tl1Row) << false << "th1 hl";
    QTest::newRow("humidity is independent") << "th1" << int(HhRow) << true << "th1 hh";
    QTest::newRow("humidity off") << "hh hl" << int(HlRow) << false << "hh";
}

void TestAlarmRules::levelRules()
{
    QFETCH(QString, before);
    QFETCH(int, row);
    QFETCH(bool, checked);
    QFETCH(QString, after);
    QCOMPARE(keys(AlarmRules::afterClick(states(before), row, checked)), after);
}

void TestAlarmRules::temperatureOrdering_data()
{
    QTest::addColumn<QString>("on");
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("entered");
    QTest::addColumn<double>("kept");
    // Stored: th3 40, th2 30, th1 20, tl1 0, tl2 -10, tl3 -20 (°C).
    QTest::newRow("th3 under th2") << "th2" << int(Th3Row) << 25.0 << 30.0;
    QTest::newRow("th3 bound holds while th2 is off") << "" << int(Th3Row) << 25.0 << 30.0;
    QTest::newRow("th2 over th3") << "th3" << int(Th2Row) << 45.0 << 40.0;
    QTest::newRow("th2 with th3 off") << "" << int(Th2Row) << 45.0 << 45.0;
    QTest::newRow("th2 down to th1") << "" << int(Th2Row) << 10.0 << 20.0;
    QTest::newRow("th1 over th2") << "th2" << int(Th1Row) << 35.0 << 30.0;
    QTest::newRow("th1 under tl1") << "tl1" << int(Th1Row) << -5.0 << 0.0;
    QTest::newRow("th1 free") << "" << int(Th1Row) << -5.0 << -5.0;
    QTest::newRow("tl1 over th1") << "th1" << int(Tl1Row) << 25.0 << 20.0;
    QTest::newRow("tl2 under tl3") << "tl3" << int(Tl2Row) << -30.0 << -20.0;
    QTest::newRow("tl3 over tl2") << "tl2" << int(Tl3Row) << 5.0 << -10.0;
    QTest::newRow("within bounds") << "th2 tl1" << int(Th1Row) << 12.5 << 12.5;
}

void TestAlarmRules::temperatureOrdering()
{
    QFETCH(QString, on);
    QFETCH(int, row);
    QFETCH(double, entered);
    QFETCH(double, kept);
    OneConfigCmdStruct config{};
    const Open open = states(on);
    const int values[] = {4000, 3000, 2000, 0, -1000, -2000};
    for (int r = Th3Row; r <= Tl3Row; ++r)
        setAlarm(config, r, open[size_t(r)], values[r]);
    QCOMPARE(AlarmRules::boundedTemperature(config, row, entered), kept);
}

void TestAlarmRules::humidityOrdering()
{
    OneConfigCmdStruct config{};
    setAlarm(config, HhRow, true, 800);
    setAlarm(config, HlRow, true, 300);
    QCOMPARE(AlarmRules::boundedHumidity(config, HhRow, 20.0), 30.0);
    QCOMPARE(AlarmRules::boundedHumidity(config, HlRow, 90.0), 80.0);
    config.hl.isOpen = false;
    QCOMPARE(AlarmRules::boundedHumidity(config, HhRow, 20.0), 20.0);
}

void TestAlarmRules::fahrenheitStorage_data()
{
    QTest::addColumn<double>("shown");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("stored");
    QTest::newRow("77.0 F") << 77.0 << 1 << 2500;
    QTest::newRow("-40.0 F") << -40.0 << 1 << -4000;
    QTest::newRow("185.0 F") << 185.0 << 1 << 8500;
    QTest::newRow("32.0 F") << 32.0 << 1 << 0;
    QTest::newRow("77.1 F") << 77.1 << 1 << 2506;
    QTest::newRow("25.3 C") << 25.3 << 0 << 2530;
    QTest::newRow("36.6 C, no binary form") << 36.6 << 0 << 3660;
    QTest::newRow("-12.7 C") << -12.7 << 0 << -1270;
}

void TestAlarmRules::fahrenheitStorage()
{
    QFETCH(double, shown);
    QFETCH(int, unit);
    QFETCH(int, stored);
    QCOMPARE(AlarmRules::hundredths(AlarmRules::celsiusOf(shown, unit)), stored);
}

void TestAlarmRules::echoCheckNamesTheFirstDifference_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("equal") << ""
                           << "";
    QTest::newRow("name") << "devName"
                          << "check devName err abc abd";
    QTest::newRow("id before unit") << "devId+tempUnit"
                                    << "check devId err 7 8";
    QTest::newRow("interval") << "recordInterval"
                              << "check recordInterval err 2 3";
    QTest::newRow("start time") << "perSetStartTime"
                                << "check perSetStartTime err";
    QTest::newRow("th1 before hl") << "th1+hl"
                                   << "check th1 err";
    QTest::newRow("hl delay") << "hl"
                              << "check hl err";
    QTest::newRow("clock is not compared") << "devDateTime"
                                           << "";
    QTest::newRow("sensor is not compared") << "sensorType"
                                            << "";
}

void TestAlarmRules::echoCheckNamesTheFirstDifference()
{
    QFETCH(QString, field);
    QFETCH(QString, message);
    OneConfigCmdStruct sent{};
    std::strcpy(sent.devName, "abc");
    sent.devId = 7;
    sent.recordInterval = 2;
    OneConfigCmdStruct echo = sent;
    // Bytes after the name's NUL do not count.
    echo.devName[10] = 'x';
    const QStringList fields = field.split('+', Qt::SkipEmptyParts);
    for (const QString &f : fields) {
        if (f == "devName")
            echo.devName[2] = 'd';
        else if (f == "devId")
            echo.devId = 8;
        else if (f == "tempUnit")
            echo.tempUnit = 1;
        else if (f == "recordInterval")
            echo.recordInterval = 3;
        else if (f == "perSetStartTime")
            echo.perSetStartTime[5] = 1;
        else if (f == "th1")
            echo.th1.isAccumulate = true;
        else if (f == "hl")
            echo.hl.delayTime = 12;
        else if (f == "devDateTime")
            echo.devDateTime[0] = 30;
        else if (f == "sensorType")
            echo.sensorType = 2;
    }
    QCOMPARE(ConfigEchoCheck::firstDifference(sent, echo), message);
}

QTEST_MAIN(TestAlarmRules)
#include "tst_alarmrules.moc"
