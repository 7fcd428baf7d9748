// SPDX-License-Identifier: GPL-3.0-or-later
// Tick steps, sub-ticks, tick placement and labels of the chart's date-time ticker.
#include "views/cpaxistickerdatetime.h"

#include <QtTest>

using Strategy = CPAxisTickerDateTime::DateStrategy;
Q_DECLARE_METATYPE(CPAxisTickerDateTime::DateStrategy)

class TestAxisTicker : public QObject
{
    Q_OBJECT
private slots:
    void tickStep_data();
    void tickStep();
    void subTicks_data();
    void subTicks();
    void labelsFollowTheTimeMapping();
    void uniformDayInMonthStaysInsideShortMonths();
    void uniformTimeInDayKeepsTheOriginTime();
};

void TestAxisTicker::tickStep_data()
{
    QTest::addColumn<double>("rangeSize");
    QTest::addColumn<double>("step");
    QTest::addColumn<Strategy>("strategy");
    // The default tick count is 5, so the wanted step is about a fifth of the range.
    QTest::newRow("sub-key range: readable mantissa")
        << 2.0 << 0.5 << CPAxisTickerDateTime::NoDateStrategy;
    QTest::newRow("just under one key") << 4.95 << 1.0 << CPAxisTickerDateTime::NoDateStrategy;
    QTest::newRow("1000 samples pick 150")
        << 1001.0 << 150.0 << CPAxisTickerDateTime::NoDateStrategy;
    QTest::newRow("closest, not next larger")
        << 15000.0 << 3600.0 << CPAxisTickerDateTime::NoDateStrategy;
    QTest::newRow("64000 samples") << 64001.0 << 10800.0 << CPAxisTickerDateTime::NoDateStrategy;
    QTest::newRow("one day steps keep the time of day")
        << 500000.0 << 86400.0 << CPAxisTickerDateTime::UniformTimeInDay;
    QTest::newRow("just below a day")
        << 5.0 * 43200 << 43200.0 << CPAxisTickerDateTime::NoDateStrategy;
    QTest::newRow("week") << 5.0 * 604800 << 604800.0 << CPAxisTickerDateTime::UniformTimeInDay;
    QTest::newRow("month steps keep the day")
        << 15e6 << 2629800.0 << CPAxisTickerDateTime::UniformDayInMonth;
    QTest::newRow("years: mantissa times a year")
        << 5 * 2.4 * 31557600 << 2.5 * 31557600 << CPAxisTickerDateTime::UniformDayInMonth;
}

void TestAxisTicker::tickStep()
{
    QFETCH(double, rangeSize);
    QFETCH(double, step);
    QFETCH(Strategy, strategy);
    Strategy got = CPAxisTickerDateTime::UniformDayInMonth;
    QCOMPARE(CPAxisTickerDateTime::tickStepFor(rangeSize, 5, &got), step);
    QCOMPARE(got, strategy);
}

void TestAxisTicker::subTicks_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("count");
    QTest::newRow("5 min") << 300.0 << 4;
    QTest::newRow("5 days") << 432000.0 << 4;
    QTest::newRow("10 min") << 600.0 << 1;
    QTest::newRow("2 months") << 5259600.0 << 1;
    QTest::newRow("15 min") << 900.0 << 2;
    QTest::newRow("quarter") << 7889400.0 << 2;
    QTest::newRow("hour") << 3600.0 << 3;
    QTest::newRow("day") << 86400.0 << 3;
    QTest::newRow("year") << 31557600.0 << 3;
    QTest::newRow("week") << 604800.0 << 6;
    QTest::newRow("half year") << 15778800.0 << 5;
    QTest::newRow("rounded to the key") << 3600.4 << 3;
    QTest::newRow("other steps use the default") << 150.0 << -1;
    QTest::newRow("fractions use the default") << 0.5 << -1;
}

void TestAxisTicker::subTicks()
{
    QFETCH(double, step);
    QFETCH(int, count);
    QCOMPARE(CPAxisTickerDateTime::dateSubTickCount(step).value_or(-1), count);
}

void TestAxisTicker::labelsFollowTheTimeMapping()
{
    CPAxisTickerDateTime ticker;
    ticker.setTimeZone(QTimeZone::utc());
    // Key 1 is the first sample at 08:00:00, one sample per minute.
    const qint64 origin = QDateTime(QDate(2024, 3, 1), QTime(7, 59), Qt::UTC).toMSecsSinceEpoch();
    ticker.setTimeMapping(60, origin);
    QCOMPARE(ticker.keyToDateTime(1), QDateTime(QDate(2024, 3, 1), QTime(8, 0), Qt::UTC));
    QCOMPARE(ticker.dateTimeToKey(QDateTime(QDate(2024, 3, 2), QTime(7, 59), Qt::UTC)), 1440.0);

    QVector<double> ticks;
    QVector<double> subTicks;
    QVector<QString> labels;
    ticker.generate(QCPRange(0, 1001), QLocale::c(), QLatin1Char('g'), 6, ticks, &subTicks,
                    &labels);
    QVERIFY(ticks.contains(150));
    QCOMPARE(labels.at(ticks.indexOf(150)), QStringLiteral("10:29:00\n2024/03/01"));
    QCOMPARE(ticks.at(1) - ticks.at(0), 150.0);
}

void TestAxisTicker::uniformDayInMonthStaysInsideShortMonths()
{
    CPAxisTickerDateTime ticker;
    ticker.setTimeZone(QTimeZone::utc());
    // Key 0 falls on the 31st; steps of 2629800 keys × 5 s land near the
    // start of months, which the ticker pulls back to the month's last day.
    const QDateTime origin(QDate(2024, 1, 31), QTime(6, 0), Qt::UTC);
    ticker.setTimeMapping(5, origin.toMSecsSinceEpoch());
    QVector<double> ticks;
    ticker.generate(QCPRange(0, 15e6), QLocale::c(), QLatin1Char('g'), 6, ticks, nullptr, nullptr);
    QCOMPARE(ticker.dateStrategy(), CPAxisTickerDateTime::UniformDayInMonth);
    QVERIFY(ticks.size() >= 4);
    for (double tick : ticks) {
        const QDateTime dateTime = ticker.keyToDateTime(tick);
        QVERIFY2(dateTime.isValid(), qPrintable(QString::number(tick)));
        QCOMPARE(dateTime.time(), QTime(6, 0));
        QCOMPARE(dateTime.date().day(), qMin(31, dateTime.date().daysInMonth()));
    }
}

void TestAxisTicker::uniformTimeInDayKeepsTheOriginTime()
{
    CPAxisTickerDateTime ticker;
    ticker.setTimeZone(QTimeZone::utc());
    const QDateTime origin(QDate(2024, 5, 10), QTime(13, 45, 30), Qt::UTC);
    ticker.setTimeMapping(5, origin.toMSecsSinceEpoch());
    QVector<double> ticks;
    ticker.generate(QCPRange(0, 500000), QLocale::c(), QLatin1Char('g'), 6, ticks, nullptr,
                    nullptr);
    QCOMPARE(ticker.dateStrategy(), CPAxisTickerDateTime::UniformTimeInDay);
    QVERIFY(!ticks.isEmpty());
    for (double tick : ticks)
        QCOMPARE(ticker.keyToDateTime(tick).time(), QTime(13, 45, 30));
}

QTEST_APPLESS_MAIN(TestAxisTicker)
#include "tst_axisticker.moc"
