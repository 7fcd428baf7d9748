// SPDX-License-Identifier: GPL-3.0-or-later
// The report's arithmetic: page counts, chart scales, threshold texts and page statistics.
#include "export/pagestatistics.h"
#include "export/pdfreport.h"
#include "export/reportchart.h"
#include "export/reportfirstpage.h"
#include "exportsupport.h"

#include <QtTest>

class TestReportMath : public QObject
{
    Q_OBJECT
private slots:
    void dataPages_data();
    void dataPages();
    void timeScale_data();
    void timeScale();
    void temperatureScale_data();
    void temperatureScale();
    void thresholdText_data();
    void thresholdText();
    void badgeCountsOnlyDrawnOpenRaisedAlarms();
    void pageStatisticsCountAgainstOppositeKeys();
    void pageStatisticsSkipMissingValues();
    void pageStatisticsOfTemperatureOnlyIgnoreHumidity();
};

void TestReportMath::dataPages_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("pages");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("one full page") << 576 << 1;
    QTest::newRow("one more") << 577 << 2;
    QTest::newRow("logger memory") << 64512 << 112;
    QTest::newRow("logger memory and one") << 64513 << 113;
}

void TestReportMath::dataPages()
{
    QFETCH(int, samples);
    QFETCH(int, pages);
    QCOMPARE(dataPageCount(samples), pages);
}

void TestReportMath::timeScale_data()
{
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("step");
    const qint64 first = 1000000;
    QTest::addRow("700 s") << qint64(700) << first << qint64(100);
    QTest::addRow("701 s") << qint64(701) << first - 1 << qint64(101);
    QTest::addRow("one sample") << qint64(0) << first << qint64(0);
    QTest::addRow("6 s") << qint64(6) << first - 1 << qint64(1);
    QTest::addRow("7 s") << qint64(7) << first << qint64(1);
}

void TestReportMath::timeScale()
{
    QFETCH(qint64, duration);
    QFETCH(qint64, start);
    QFETCH(qint64, step);
    const ReportChart::TimeScale scale = ReportChart::timeScale(duration, 1000000);
    QCOMPARE(scale.start, start);
    QCOMPARE(scale.step, step);
    QVERIFY(scale.span() >= duration);
}

void TestReportMath::temperatureScale_data()
{
    QTest::addColumn<int>("maxTemp");
    QTest::addColumn<int>("minTemp");
    QTest::addColumn<int>("unit");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("step");
    QTest::addColumn<float>("bottom");
    QTest::newRow("15..30 °C") << 3000 << 1500 << 0 << 40.0f << 3.5f << 5.0f;
    QTest::newRow("uneven span rounds down") << 2555 << 1000 << 0 << 35.0f << 3.5f << 0.0f;
    // 0 °C ± 10 becomes 14..50 °F before the step is taken.
    QTest::newRow("°F") << 0 << 0 << 1 << 50.0f << 3.6f << 14.0f;
}

void TestReportMath::temperatureScale()
{
    QFETCH(int, maxTemp);
    QFETCH(int, minTemp);
    QFETCH(int, unit);
    QFETCH(float, top);
    QFETCH(float, step);
    QFETCH(float, bottom);
    const ReportChart::TemperatureScale scale =
        ReportChart::temperatureScale(maxTemp, minTemp, unit);
    QCOMPARE(scale.bottom, bottom);
    QCOMPARE(scale.step, step);
    QCOMPARE(scale.top, top);
}

void TestReportMath::thresholdText_data()
{
    using Kind = ReportFirstPage::AlarmKind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("high 20.0 °C") << int(Kind::HighTemperature) << 2000 << 0 << "≥ 20.0℃";
    QTest::newRow("high 0.0 °C") << int(Kind::HighTemperature) << 0 << 0 << "≥0.0℃";
    QTest::newRow("low -5.0 °C") << int(Kind::LowTemperature) << -500 << 0 << "≤-5.0℃";
    // The spacing follows the value in the shown unit: 0 °C is 32 °F.
    QTest::newRow("high 0.0 °C in °F") << int(Kind::HighTemperature) << 0 << 1 << "≥ 32.0°F";
    QTest::newRow("low -20.0 °C in °F") << int(Kind::LowTemperature) << -2000 << 1 << "≤-4.0°F";
    QTest::newRow("high humidity") << int(Kind::HighHumidity) << 800 << 0 << "≥ 80%RH";
    QTest::newRow("low humidity with decimal") << int(Kind::LowHumidity) << 255 << 1 << "≤ 25.5%RH";
}

void TestReportMath::thresholdText()
{
    QFETCH(int, kind);
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(QString, expected);
    QCOMPARE(ReportFirstPage::thresholdText(ReportFirstPage::AlarmKind(kind), value, unit),
             expected);
}

void TestReportMath::badgeCountsOnlyDrawnOpenRaisedAlarms()
{
    ReadDevInfoJson info = exporttest::recording(0).recording;
    QVERIFY(!ReportFirstPage::anyAlarmRaised(info));
    info.th2 = exporttest::alarm(false, 0, true);
    QVERIFY2(!ReportFirstPage::anyAlarmRaised(info), "a closed alarm never fails the report");
    info.hl = exporttest::alarm(true, 300, true);
    QVERIFY(ReportFirstPage::anyAlarmRaised(info));
    info.isContainHum = false;
    QVERIFY2(!ReportFirstPage::anyAlarmRaised(info), "humidity rows are not drawn");
    info.tl2 = exporttest::alarm(true, 0, true);
    QVERIFY(ReportFirstPage::anyAlarmRaised(info));
}

void TestReportMath::pageStatisticsCountAgainstOppositeKeys()
{
    AlarmLimits limits;
    limits.th1 = 30; // labelled TH3
    limits.th2 = 25;
    limits.th3 = 20;  // labelled TH1
    limits.tl1 = -10; // labelled TL3
    limits.tl2 = -5;
    limits.tl3 = 0; // labelled TL1
    limits.hh = 80;
    limits.hl = 20;
    const float temperatures[] = {-12, -5, 0, 10, 20, 25, 30};
    QVector<SamplePoint> samples;
    for (const float t : temperatures) {
        SamplePoint s;
        s.temperature = t;
        s.humidity = t + 60; // 48 .. 90
        samples.append(s);
    }
    const PageStatistics s =
        PageStatistics::of(samples.constData(), samples.constData() + samples.size(), limits, true);
    QCOMPARE(s.th1Count, 3); // ≥ 20
    QCOMPARE(s.th2Count, 2); // ≥ 25
    QCOMPARE(s.th3Count, 1); // ≥ 30
    QCOMPARE(s.tl1Count, 3); // ≤ 0
    QCOMPARE(s.tl2Count, 2); // ≤ -5
    QCOMPARE(s.tl3Count, 1); // ≤ -10
    QCOMPARE(s.hhCount, 3);  // 80, 85, 90
    QCOMPARE(s.hlCount, 0);
    QCOMPARE(s.minTemperature, -12.0f);
    QCOMPARE(s.maxTemperature, 30.0f);
    QCOMPARE(s.minHumidity, 48.0f);
    QCOMPARE(s.maxHumidity, 90.0f);
}

void TestReportMath::pageStatisticsSkipMissingValues()
{
    LoadedRecording r = exporttest::recording(3);
    r.samples[0].temperature = -1000;
    r.samples[1].humidity = -10;
    r.samples[2].temperature = 99;
    const PageStatistics one = PageStatistics::of(
        r.samples.constData(), r.samples.constData() + r.samples.size(), r.limits, true);
    QCOMPARE(one.minTemperature, 99.0f);
    QCOMPARE(one.maxTemperature, 99.0f);
    QCOMPARE(one.th3Count, 1);
    QCOMPARE(one.tl3Count, 0);

    const PageStatistics none =
        PageStatistics::of(r.samples.constData(), r.samples.constData() + 2, r.limits, true);
    QCOMPARE(none.minTemperature, PageStatistics::noMinimum);
    QCOMPARE(none.maxTemperature, PageStatistics::noTemperatureMaximum);
    QCOMPARE(none.minHumidity, PageStatistics::noMinimum);
    QCOMPARE(none.maxHumidity, PageStatistics::noHumidityMaximum);
    QCOMPARE(none.tl3Count + none.tl2Count + none.tl1Count + none.hlCount, 0);
}

void TestReportMath::pageStatisticsOfTemperatureOnlyIgnoreHumidity()
{
    // A temperature-only logger stores no humidity (E0 E0, read as -10);
    // its temperatures still make the page's statistics.
    LoadedRecording r = exporttest::recording(4, false);
    for (SamplePoint &s : r.samples)
        s.humidity = -10;
    const PageStatistics s = PageStatistics::of(
        r.samples.constData(), r.samples.constData() + r.samples.size(), r.limits, false);
    QCOMPARE(s.minTemperature, 20.0f);
    QCOMPARE(s.maxTemperature, 20.03f);
}

QTEST_GUILESS_MAIN(TestReportMath)
#include "tst_reportmath.moc"
