// SPDX-License-Identifier: GPL-3.0-or-later
// The chart page: series with gaps, alarm points, units, ranges, series buttons and the tooltip.
#include "core/utils.h"
#include "recordingfixture.h"
#include "views/chartcommentmarks.h"
#include "views/chartlimitlines.h"
#include "views/cpaxistickerdatetime.h"
#include "views/datachartwidget.h"
#include "views/datagraph.h"
#include "views/dataidbutton.h"
#include "views/datatablemodel.h"
#include "views/datatablewidget.h"
#include "views/qcptooltip.h"

#include <QtTest>
#include <cmath>

namespace
{

// Ten samples, one a minute: a temperature gap at key 4, a humidity gap at
// key 6, the logger's alarm state set at keys 7 (30 ℃), 8 (no temperature)
// and 9 (80 %RH).
QVector<SamplePoint> samples(const ReadDevInfoJson &info)
{
    const qint64 t0 = wallClockSecs(info.startRecordTime);
    const float temperatures[] = {21, 21.5, 22, -1000, 23, 23.5, 30, -1000, 24, 22};
    const float humidities[] = {50, 51, 52, 53, 54, -10, 56, 57, 80, 55};
    const int states[] = {0, 0, 0, 1, 0, 0, 2, 1, 2, 0};
    QVector<SamplePoint> result;
    for (int i = 0; i < 10; ++i)
        result << fixture::point(t0 + 60 * i, temperatures[i], humidities[i], states[i]);
    return result;
}

// The fixture's header with TH1 at 28 ℃, TL1 at 0 ℃, HH at 70 %RH and HL at 30 %RH.
ReadDevInfoJson limitedHeader()
{
    ReadDevInfoJson info = fixture::header();
    for (auto [alarm, value] : {std::pair{&info.th3, 2800}, std::pair{&info.tl3, 0},
                                std::pair{&info.hh, 700}, std::pair{&info.hl, 300}}) {
        alarm->isOpen = true;
        alarm->alertValue = value;
    }
    return info;
}

QVector<double> keys(QCPGraph *graph)
{
    QVector<double> result;
    for (const QCPGraphData &point : *graph->data())
        result << point.key;
    return result;
}

double valueAt(QCPGraph *graph, double key)
{
    return graph->data()->findBegin(key, false)->value;
}

// A plot of 400 points at fractional positions drawn by a graph of type
// `Graph` with `style`, rendered at `scale` device pixels per pixel.
template <typename Graph> QImage scatterImage(const QCPScatterStyle &style, double scale)
{
    QCustomPlot plot;
    plot.resize(300, 200);
    auto *graph = new Graph(plot.xAxis, plot.yAxis);
    graph->setPen(QPen(QColor(55, 109, 247)));
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(style);
    for (int i = 0; i < 400; ++i)
        graph->addData(i * 0.2537, 50 + 40 * std::sin(i * 0.071));
    plot.xAxis->setRange(0, 102);
    plot.yAxis->setRange(0, 100);
    return plot.toPixmap(300, 200, scale).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void seriesWithGapsAndAlarmPoints();
    void rangesAndRestoredView();
    void fahrenheitConvertsValuesAndRanges();
    void recordingWithoutHumidity();
    void alarmMarksOffKeepsSeriesAndButtons();
    void seriesButtonsPersistUnlessReset();
    void shorterRecordingReplacesEveryPoint();
    void clearKeepsRangesAndButtons();
    void limitLinesAndTheEmptyChart();
    void commentMarksStayWithTheirRecording();
    void tipText_data();
    void tipText();
    void flip_data();
    void flip();
    void hoverShowsAlarmPointAndSelectsRow();
    void onlyPointerMovesAimTheTooltip_data();
    void onlyPointerMovesAimTheTooltip();
    void tableScrollsSidewaysOnlyWhenColumnsDoNotFit();
    void spriteScattersMatchDrawnOnes_data();
    void spriteScattersMatchDrawnOnes();
};

void TestChart::seriesWithGapsAndAlarmPoints()
{
    DataChartWidget chart;
    const ReadDevInfoJson info = limitedHeader();
    chart.showRecording(samples(info), info, true);

    QCOMPARE(chart.temperatureGraph()->data()->size(), 10);
    QCOMPARE(valueAt(chart.temperatureGraph(), 1), 21.0);
    QVERIFY(std::isnan(valueAt(chart.temperatureGraph(), 4)));
    QVERIFY(std::isnan(valueAt(chart.humidityGraph(), 6)));
    QCOMPARE(valueAt(chart.humidityGraph(), 9), 80.0);
    // Each quantity by its own limits: 30 ℃ is above TH1 with 56 %RH inside
    // HL … HH, 80 %RH above HH with 24 ℃ inside, and the samples without
    // temperature mark no humidity.
    QCOMPARE(keys(chart.temperatureAlarmGraph()), (QVector<double>{7}));
    QCOMPARE(keys(chart.humidityAlarmGraph()), (QVector<double>{9}));
    QCOMPARE(chart.temperatureAlarmGraph()->unit(), QStringLiteral("℃"));
    QCOMPARE(chart.humidityGraph()->unit(), QStringLiteral("%RH"));
    QCOMPARE(chart.table()->model()->rowCount(), 10);
    QCOMPARE(chart.table()->model()->headerData(2, Qt::Horizontal).toString(),
             QStringLiteral("温度"));
    QCOMPARE(chart.table()->model()->headerData(3, Qt::Horizontal).toString(),
             QStringLiteral("湿度"));
}

void TestChart::rangesAndRestoredView()
{
    DataChartWidget chart;
    ReadDevInfoJson info = fixture::header();
    info.startDelay = 5;
    info.overWirteRecordNum = 100;
    chart.showRecording(samples(info), info, true);
    QCustomPlot *plot = chart.plot();
    QCOMPARE(plot->xAxis->range(), QCPRange(0, 11));
    QCOMPARE(plot->xAxis2->range(), QCPRange(0, 11));
    QCOMPARE(plot->yAxis2->range(), QCPRange(0, 100));
    // The temperature axis keeps its range until the view is restored.
    QCOMPARE(plot->yAxis->range(), QCPRange(-40, 85));

    plot->xAxis->setRange(3, 5);
    plot->yAxis2->setRange(40, 60);
    QCOMPARE(plot->xAxis2->range(), QCPRange(3, 5));
    chart.restoreView();
    QCOMPARE(plot->xAxis->range(), QCPRange(0, 11));
    QCOMPARE(plot->yAxis2->range(), QCPRange(0, 100));
    QCOMPARE(plot->yAxis->range().lower, 18.9 - 6);
    QCOMPARE(plot->yAxis->range().upper, 25.1 + 6);

    // Only the horizontal axes zoom.
    const QList<QCPAxis *> zoomed = plot->axisRect()->rangeZoomAxes(Qt::Horizontal);
    QVERIFY(zoomed.contains(plot->xAxis) && zoomed.contains(plot->xAxis2));
    QVERIFY(plot->axisRect()->rangeZoomAxes(Qt::Vertical).isEmpty());

    // Key 1 is the first sample: start + delay + overwritten samples.
    const qint64 first = wallClockMs(info.startRecordTime) + 5 * 60000 + 100 * 60000;
    QCOMPARE(chart.ticker()->keyToDateTime(1).toMSecsSinceEpoch(), first);
    QCOMPARE(chart.temperatureGraph()->originMs() + 60000, first);
}

void TestChart::fahrenheitConvertsValuesAndRanges()
{
    DataChartWidget chart;
    ReadDevInfoJson info = limitedHeader();
    info.tempUnit = 1;
    chart.showRecording(samples(info), info, true);
    QCOMPARE(valueAt(chart.temperatureGraph(), 1), 21.0 * 1.8 + 32);
    QCOMPARE(valueAt(chart.temperatureAlarmGraph(), 7), 30.0 * 1.8 + 32);
    QCOMPARE(valueAt(chart.humidityGraph(), 1), 50.0);
    QCOMPARE(chart.temperatureButton()->text(), QStringLiteral("℉"));
    QCOMPARE(chart.temperatureGraph()->unit(), QStringLiteral("℉"));
    chart.restoreView();
    // Widened to TL1 0 ℃ with 2 ℃ to spare; TH1 28 ℃ lies inside.
    QCOMPARE(chart.plot()->yAxis->range().lower, -2 * 1.8 + 32);
    QCOMPARE(chart.plot()->yAxis->range().upper, (25.1 + 6) * 1.8 + 32);
    QCOMPARE(chart.limitLines()->labels(),
             (QStringList{"TH1 82.4°F", "TL1 32.0°F", "HH 70.0%RH", "HL 30.0%RH"}));
    QCOMPARE(chart.table()->model()->index(0, 2).data().toString(), QStringLiteral("69.8℉"));
}

void TestChart::recordingWithoutHumidity()
{
    DataChartWidget chart;
    ReadDevInfoJson info = limitedHeader();
    chart.showRecording(samples(info), info, true);
    info.isContainHum = false;
    chart.showRecording(samples(info), info, true);
    QVERIFY(!chart.humidityButton()->isEnabled());
    QVERIFY(!chart.humidityButton()->isChecked());
    QVERIFY(!chart.plot()->yAxis2->visible());
    QVERIFY(chart.humidityGraph()->data()->isEmpty());
    QVERIFY(chart.humidityAlarmGraph()->data()->isEmpty());
    QCOMPARE(keys(chart.temperatureAlarmGraph()), (QVector<double>{7}));
    QCOMPARE(chart.limitLines()->labels(), (QStringList{"TH1 28.0℃", "TL1 0.0℃"}));
    QCOMPARE(chart.table()->model()->headerData(3, Qt::Horizontal).toString(), QString());
    QVERIFY(!chart.table()->model()->index(0, 3).data().isValid());

    // The next recording with humidity brings the button and axis back.
    info.isContainHum = true;
    chart.showRecording(samples(info), info, true);
    QVERIFY(chart.humidityButton()->isEnabled());
    QVERIFY(chart.humidityButton()->isChecked());
    QVERIFY(chart.plot()->yAxis2->visible());
}

void TestChart::alarmMarksOffKeepsSeriesAndButtons()
{
    DataChartWidget chart;
    const ReadDevInfoJson info = limitedHeader();
    const QVector<SamplePoint> points = samples(info);
    chart.showRecording(points, info, true);
    chart.humidityButton()->click();
    QVERIFY(!chart.humidityGraph()->visible());

    chart.setAlarmMarks(false, points, info);
    QVERIFY(chart.temperatureAlarmGraph()->data()->isEmpty());
    QVERIFY(chart.humidityAlarmGraph()->data()->isEmpty());
    QCOMPARE(chart.temperatureGraph()->data()->size(), 10);
    QVERIFY(!chart.humidityButton()->isChecked());
    QVERIFY(!chart.humidityGraph()->visible());
    QVERIFY(!chart.table()->model()->index(6, 0).data(Qt::UserRole).toBool());

    chart.setAlarmMarks(true, points, info);
    QCOMPARE(keys(chart.temperatureAlarmGraph()), (QVector<double>{7}));
    QVERIFY(chart.table()->model()->index(6, 0).data(Qt::UserRole).toBool());
    QVERIFY(!chart.humidityAlarmGraph()->visible());
}

void TestChart::seriesButtonsPersistUnlessReset()
{
    DataChartWidget chart;
    const ReadDevInfoJson info = fixture::header();
    chart.showRecording(samples(info), info, true);
    chart.temperatureButton()->click();
    QVERIFY(!chart.temperatureGraph()->visible());
    QVERIFY(!chart.temperatureAlarmGraph()->visible());
    chart.showRecording(samples(info), info, false);
    QVERIFY(!chart.temperatureGraph()->visible());
    QVERIFY(!chart.temperatureButton()->isChecked());
    chart.showRecording(samples(info), info, true);
    QVERIFY(chart.temperatureGraph()->visible());
    QVERIFY(chart.temperatureButton()->isChecked());
}

void TestChart::shorterRecordingReplacesEveryPoint()
{
    DataChartWidget chart;
    const ReadDevInfoJson info = limitedHeader();
    const QVector<SamplePoint> points = samples(info);
    chart.showRecording(points, info, true);
    chart.showRecording(points.mid(6, 3), info, true);
    QCOMPARE(keys(chart.temperatureGraph()), (QVector<double>{1, 2, 3}));
    QCOMPARE(valueAt(chart.temperatureGraph(), 1), 30.0);
    QCOMPARE(keys(chart.temperatureAlarmGraph()), (QVector<double>{1}));
    QCOMPARE(keys(chart.humidityAlarmGraph()), (QVector<double>{3}));
    QCOMPARE(chart.plot()->xAxis->range(), QCPRange(0, 4));
    // The samples handed in are left as they were.
    QCOMPARE(points.size(), 10);
    QCOMPARE(points.first().temperature, 21.0f);
}

void TestChart::clearKeepsRangesAndButtons()
{
    DataChartWidget chart;
    const ReadDevInfoJson info = fixture::header();
    chart.showRecording(samples(info), info, true);
    chart.clearChart();
    for (DataGraph *graph : {chart.temperatureGraph(), chart.humidityGraph(),
                             chart.temperatureAlarmGraph(), chart.humidityAlarmGraph()})
        QVERIFY(graph->data()->isEmpty());
    QCOMPARE(chart.table()->model()->rowCount(), 0);
    QCOMPARE(chart.plot()->xAxis->range(), QCPRange(0, 11));
    chart.restoreView();
    QCOMPARE(chart.plot()->xAxis->range(), QCPRange(0, 11));
}

// The limits in force are labelled lines at their values; an empty chart
// shows no times and no limits, neither before the first recording nor after one.
void TestChart::limitLinesAndTheEmptyChart()
{
    DataChartWidget chart;
    QCustomPlot *plot = chart.plot();
    QVERIFY(!plot->xAxis->tickLabels());
    ReadDevInfoJson info = limitedHeader();
    // Only level 1 is drawn; TH2 stays a row of the summary.
    info.th2.isOpen = true;
    info.th2.alertValue = 3500;
    info.hl.isOpen = false;
    chart.showRecording(samples(info), info, true);
    QVERIFY(plot->xAxis->tickLabels());
    QCOMPARE(chart.limitLines()->labels(), (QStringList{"TH1 28.0℃", "TL1 0.0℃", "HH 70.0%RH"}));
    QCPItemStraightLine *th1 = chart.limitLines()->lineOf("TH1 28.0℃");
    QCOMPARE(th1->point1->coords().y(), 28.0);
    QCOMPARE(th1->point1->valueAxis(), plot->yAxis);
    QCOMPARE(chart.limitLines()->lineOf("HH 70.0%RH")->point1->valueAxis(), plot->yAxis2);
    chart.restoreView();
    QCOMPARE(plot->yAxis->range().lower, -2.0);
    QCOMPARE(plot->yAxis->range().upper, 30.0 + 1.1);

    // Hiding a series hides its limits.
    chart.humidityButton()->click();
    QVERIFY(!chart.limitLines()->lineOf("HH 70.0%RH")->visible());
    QVERIFY(th1->visible());

    chart.clearChart();
    QCOMPARE(chart.limitLines()->count(), 0);
    QVERIFY(!plot->xAxis->tickLabels());
}

// A mark stands at the key of a commented excursion's first sample, stays
// through zooming, restoring and the alarm switch, and leaves the plot when the
// marks are replaced or emptied, another recording is shown or the chart is cleared.
void TestChart::commentMarksStayWithTheirRecording()
{
    DataChartWidget chart;
    QCustomPlot *plot = chart.plot();
    ReadDevInfoJson info = limitedHeader();
    info.startDelay = 5;
    info.overWirteRecordNum = 100;
    const QVector<SamplePoint> points = samples(info);
    chart.showRecording(points, info, true);
    const int unmarked = plot->itemCount();
    const int limitItems = 2 * chart.limitLines()->count();
    // Sample i is taken i minutes after start + delay + the overwritten samples.
    const qint64 first = wallClockSecs(info.startRecordTime) + 5 * 60 + 100 * 60;
    chart.setCommentMarks({first + 2 * 60, first + 6 * 60});
    QCOMPARE(chart.commentMarks()->keys(), (QVector<double>{3, 7}));
    QCOMPARE(chart.commentMarks()->labels(), (QStringList{"备注", "备注"}));
    QCOMPARE(plot->itemCount(), unmarked + 4);
    chart.setCommentMarks({first});
    QCOMPARE(plot->itemCount(), unmarked + 2);

    plot->xAxis->setRange(3, 5);
    chart.restoreView();
    chart.setAlarmMarks(false, points, info);
    QCOMPARE(chart.commentMarks()->keys(), QVector<double>{1});
    QCOMPARE(plot->itemCount(), unmarked + 2);
    chart.setCommentMarks({});
    QCOMPARE(plot->itemCount(), unmarked);

    chart.setCommentMarks({first});
    chart.showRecording(points, info, true);
    QCOMPARE(chart.commentMarks()->count(), 0);
    QCOMPARE(plot->itemCount(), unmarked);
    chart.setCommentMarks({first});
    chart.clearChart();
    QCOMPARE(chart.commentMarks()->count(), 0);
    QCOMPARE(plot->itemCount(), unmarked - limitItems);
}

void TestChart::tipText_data()
{
    QTest::addColumn<double>("key");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("text");
    QTest::newRow("first sample") << 1.0 << 21.46 << "℃" << 0 << "03/01 08:00:00\n  21.5℃";
    QTest::newRow("fahrenheit") << 2.0 << 69.8 << "℉" << 0 << "03/01 08:01:00\n  69.8℉";
    QTest::newRow("humidity next day")
        << 1441.0 << 55.0 << "%RH" << 0 << "03/02 08:00:00\n  55.0%RH";
    QTest::newRow("below zero") << 3.0 << -0.04 << "℃" << 0 << "03/01 08:02:00\n  -0.0℃";
    QTest::newRow("above a limit")
        << 1.0 << 31.0 << "℃" << 2 << "03/01 08:00:00\n  31.0℃  高于上限";
    QTest::newRow("below a limit")
        << 1.0 << 12.0 << "%RH" << 1 << "03/01 08:00:00\n  12.0%RH  低于下限";
}

void TestChart::tipText()
{
    QFETCH(double, key);
    QFETCH(double, value);
    QFETCH(QString, unit);
    QFETCH(int, side);
    QFETCH(QString, text);
    const qint64 origin = QDateTime(QDate(2024, 3, 1), QTime(7, 59), Qt::UTC).toMSecsSinceEpoch();
    QCOMPARE(QCPToolTip::tipText(origin, 60, key, value, unit, side), text);
}

void TestChart::flip_data()
{
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("shift");
    // Box 100 × 40 in a 400 × 300 viewport, offset 20 from the mouse.
    QTest::newRow("room on both sides") << QPointF(120, 120) << QPointF(0, 0);
    QTest::newRow("near the right edge") << QPointF(298, 120) << QPointF(-141, 0);
    QTest::newRow("just fits on the right") << QPointF(297, 120) << QPointF(0, 0);
    QTest::newRow("near the bottom") << QPointF(120, 217) << QPointF(0, -81);
    QTest::newRow("just fits above the bottom") << QPointF(120, 216) << QPointF(0, 0);
    QTest::newRow("corner flips both") << QPointF(380, 290) << QPointF(-141, -81);
}

void TestChart::flip()
{
    QFETCH(QPointF, origin);
    QFETCH(QPointF, shift);
    QCOMPARE(QCPToolTip::flipShift(origin, QSize(100, 40), QPoint(20, 20), QRect(0, 0, 400, 300)),
             shift);
}

void TestChart::hoverShowsAlarmPointAndSelectsRow()
{
    DataChartWidget chart;
    chart.resize(900, 700);
    const ReadDevInfoJson info = limitedHeader();
    chart.showRecording(samples(info), info, true);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.restoreView();
    QCustomPlot *plot = chart.plot();
    plot->replot();

    QSignalSpy moved(chart.toolTip(), &QCPToolTip::posChanged);
    // Key 7 carries a red point over the temperature series: the alarm graph wins.
    const QPoint onAlarm = chart.temperatureGraph()->coordsToPixels(7, 30).toPoint();
    QTest::mouseMove(plot, onAlarm);
    QTRY_COMPARE(moved.count(), 1);
    QCOMPARE(moved.first().first().toInt(), 7);
    QVERIFY(chart.toolTip()->visible());
    QCOMPARE(chart.toolTip()->highlightedGraph(), chart.temperatureAlarmGraph());
    // It names the limit the value passed.
    QCOMPARE(chart.toolTip()->text(),
             QCPToolTip::tipText(chart.temperatureGraph()->originMs(), 60, 7, 30, "℃", 2));
    QVERIFY(chart.toolTip()->text().endsWith(QStringLiteral("30.0℃  高于上限")));
    QCOMPARE(chart.table()->currentIndex().row(), 6);
    QCOMPARE(plot->cursor().shape(), Qt::PointingHandCursor);
    plot->replot(); // a replot with the sample still under the pointer keeps it shown
    QVERIFY(chart.toolTip()->visible());

    // A plain humidity point.
    const QPoint onHumidity = chart.humidityGraph()->coordsToPixels(2, 51).toPoint();
    QTest::mouseMove(plot, onHumidity);
    QTRY_COMPARE(moved.count(), 2);
    QCOMPARE(chart.toolTip()->highlightedGraph(), chart.humidityGraph());
    QVERIFY(chart.toolTip()->text().endsWith(QStringLiteral("51.0%RH")));
    QCOMPARE(chart.table()->currentIndex().row(), 1);

    // Empty space hides it again.
    const QPoint empty = chart.temperatureGraph()->coordsToPixels(5.5, 14).toPoint();
    QTest::mouseMove(plot, empty);
    QTRY_VERIFY(!chart.toolTip()->visible());
    QCOMPARE(plot->cursor().shape(), Qt::ArrowCursor);
}

void TestChart::onlyPointerMovesAimTheTooltip_data()
{
    QTest::addColumn<bool>("leave");
    QTest::addColumn<QSize>("resize");
    QTest::addColumn<double>("shift");
    QTest::newRow("leave, then resize") << true << QSize(700, 700) << 0.0;
    QTest::newRow("resize under the pointer") << false << QSize(700, 700) << 0.0;
    QTest::newRow("range moved under the pointer") << false << QSize() << 7.0;
}

// A replot after a resize or a range change must not name, nor select in the
// table, whatever sample now lies under the pointer's last position.
void TestChart::onlyPointerMovesAimTheTooltip()
{
    QFETCH(bool, leave);
    QFETCH(QSize, resize);
    QFETCH(double, shift);
    DataChartWidget chart;
    chart.resize(900, 700);
    // Samples two pixels apart at one level: some sample lies under any position along the line.
    const ReadDevInfoJson info = fixture::header();
    QVector<SamplePoint> flat;
    for (int i = 0; i < 400; ++i)
        flat << fixture::point(wallClockSecs(info.startRecordTime) + 60 * i, 20, 50);
    chart.showRecording(flat, info, true);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.restoreView();
    QCustomPlot *plot = chart.plot();
    plot->replot();

    // Qt drops a move to where the pointer already is, so come from elsewhere.
    QTest::mouseMove(plot, QPoint(1, 1));
    QTest::mouseMove(plot, chart.temperatureGraph()->coordsToPixels(100, 20).toPoint());
    QTRY_VERIFY(chart.toolTip()->visible());
    QCOMPARE(chart.table()->currentIndex().row(), 99);
    if (leave) {
        QEvent left(QEvent::Leave);
        QCoreApplication::sendEvent(plot, &left);
        QVERIFY(!chart.toolTip()->visible());
    }

    QSignalSpy replotted(plot, &QCustomPlot::afterReplot);
    if (resize.isValid())
        chart.resize(resize);
    plot->xAxis->moveRange(shift);
    plot->replot(QCustomPlot::rpQueuedReplot);
    QTRY_VERIFY(replotted.count() > 0);
    QTest::qWait(50);
    QVERIFY(!chart.toolTip()->visible());
    QCOMPARE(chart.table()->currentIndex().row(), 99);
}

void TestChart::tableScrollsSidewaysOnlyWhenColumnsDoNotFit()
{
    // The four data columns share the width between 136 and 200 pixels each;
    // the empty fifth takes the rest. At 640 the chart page is as wide as in the
    // window at its minimum size.
    for (const int width : {520, 640, 860, 1300}) {
        DataChartWidget chart;
        chart.resize(width, 600);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        auto *table = chart.findChild<DataTableWidget *>();
        const int column = table->columnWidth(0);
        QVERIFY(column >= DataTableWidget::narrowestColumn &&
                column <= DataTableWidget::widestColumn);
        const bool fits = width >= 640;
        QTRY_COMPARE(table->horizontalScrollBar()->isVisible(), !fits);
        if (fits)
            QCOMPARE(table->horizontalHeader()->length(), table->viewport()->width());
    }
}

void TestChart::spriteScattersMatchDrawnOnes_data()
{
    QTest::addColumn<QCPScatterStyle>("style");
    QTest::addColumn<double>("scale");
    const QCPScatterStyle disc(QCPScatterStyle::ssDisc, 3);
    QTest::newRow("disc") << disc << 1.0;
    QTest::newRow("disc, two device pixels per pixel") << disc << 2.0;
    QTest::newRow("circle with its own pen")
        << QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::red, 2), Qt::NoBrush, 7) << 1.0;
}

// Copies of a pre-rendered point sit within 1/8 pixel of the exact spot, so
// the picture differs from the directly drawn one only in faint edge pixels.
void TestChart::spriteScattersMatchDrawnOnes()
{
    QFETCH(QCPScatterStyle, style);
    QFETCH(double, scale);
    const QImage sprites = scatterImage<DataGraph>(style, scale);
    const QImage drawn = scatterImage<QCPGraph>(style, scale);
    QCOMPARE(sprites.size(), drawn.size());

    qint64 inkSprites = 0;
    qint64 inkDrawn = 0;
    int largeDifferences = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = sprites.pixel(x, y);
            const QRgb b = drawn.pixel(x, y);
            inkSprites += 3 * 255 - qRed(a) - qGreen(a) - qBlue(a);
            inkDrawn += 3 * 255 - qRed(b) - qGreen(b) - qBlue(b);
            const int difference =
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
            if (difference > 96)
                ++largeDifferences;
        }
    }
    QVERIFY(inkDrawn > 0);
    QVERIFY2(std::abs(inkSprites - inkDrawn) < inkDrawn / 50,
             qPrintable(QStringLiteral("%1 vs %2").arg(inkSprites).arg(inkDrawn)));
    QVERIFY2(largeDifferences < drawn.width() * drawn.height() / 1000,
             qPrintable(QString::number(largeDifferences)));
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
