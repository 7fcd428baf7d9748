// SPDX-License-Identifier: GPL-3.0-or-later
// The chart page: temperature and humidity over the sample number, with the sample table below.
#include "views/datachartwidget.h"

#include "core/units.h"
#include "core/utils.h"
#include "recording/alarmlimits.h"
#include "views/chartcommentmarks.h"
#include "views/chartlimitlines.h"
#include "views/cpaxistickerdatetime.h"
#include "views/datagraph.h"
#include "views/dataidbutton.h"
#include "views/datatablemodel.h"
#include "views/datatablewidget.h"
#include "views/qcptooltip.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace
{

const QColor temperatureColour(55, 109, 247);
const QColor humidityColour(83, 185, 151);
const QColor alarmColour(255, 0, 0);

DataGraph *addGraph(QCPAxis *keyAxis, QCPAxis *valueAxis, const QColor &colour, bool line)
{
    auto *graph = new DataGraph(keyAxis, valueAxis);
    graph->setPen(QPen(colour));
    graph->setLineStyle(line ? QCPGraph::lsLine : QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 3));
    return graph;
}

void annotate(DataGraph *graph, const QVector<QCPGraphData> &data, const QString &unit,
              int interval, qint64 originMs, bool visible)
{
    graph->data()->set(data, true);
    graph->setUnit(unit);
    graph->setTimeMapping(interval, originMs);
    graph->setVisible(visible);
}

} // namespace

DataChartWidget::DataChartWidget(QWidget *parent)
    : QWidget(parent), mTicker(new CPAxisTickerDateTime)
{
    setupUi();
    setupPlot();
    setupTable();
    mLimitLines = std::make_unique<ChartLimitLines>(graphicsView);
    mCommentMarks = std::make_unique<ChartCommentMarks>(graphicsView);
}

DataChartWidget::~DataChartWidget() = default;

void DataChartWidget::setupUi()
{
    resize(626, 556);
    auto *verticalLayout = new QVBoxLayout(this);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    chart = new QWidget(this);
    chart->setObjectName(QStringLiteral("chart"));
    auto *verticalLayout_2 = new QVBoxLayout(chart);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    widget = new QWidget(chart);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setFixedHeight(34);
    auto *horizontalLayout = new QHBoxLayout(widget);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setContentsMargins(2, 2, 2, 2);
    tempShowBtn = new DataIdButton(widget);
    tempShowBtn->setObjectName(QStringLiteral("tempShowBtn"));
    humidityShowBtn = new DataIdButton(widget);
    humidityShowBtn->setObjectName(QStringLiteral("humidityShowBtn"));
    for (DataIdButton *button : {tempShowBtn, humidityShowBtn}) {
        button->setMinimumSize(90, 30);
        button->setStyleSheet(QStringLiteral("font-size:14px;"));
        button->setCheckable(true);
        button->setChecked(true);
    }
    tempShowBtn->setText(QStringLiteral("℃"));
    humidityShowBtn->setText(QStringLiteral("%RH"));
    horizontalLayout->addWidget(tempShowBtn);
    horizontalLayout->addStretch();
    horizontalLayout->addWidget(humidityShowBtn);
    graphicsView = new QCustomPlot(chart);
    graphicsView->setObjectName(QStringLiteral("graphicsView"));
    verticalLayout_2->addWidget(widget);
    verticalLayout_2->addWidget(graphicsView);
    tableView = new DataTableWidget(this);
    tableView->setObjectName(QStringLiteral("tableView"));
    tableView->setStyleSheet(QStringLiteral("QTableView{\n\tborder:none;\n\tfont-size:14px;\n}"));
    verticalLayout->addWidget(chart, 6);
    verticalLayout->addWidget(tableView, 4);

    tempShowBtn->setPixmap(QPixmap(QStringLiteral(":/img/ic_temp.png")));
    humidityShowBtn->setPixmap(QPixmap(QStringLiteral(":/img/ic_humidity.png")));
    connect(tempShowBtn, &QPushButton::clicked, this, &DataChartWidget::showTemperature);
    connect(humidityShowBtn, &QPushButton::clicked, this, &DataChartWidget::showHumidity);
}

void DataChartWidget::setupPlot()
{
    QCustomPlot *plot = graphicsView;
    mTicker->setTimeZone(QTimeZone::utc());
    plot->xAxis->setTicker(mTicker);

    mTempGraph = addGraph(plot->xAxis, plot->yAxis, temperatureColour, true);
    mHumGraph = addGraph(plot->xAxis2, plot->yAxis2, humidityColour, true);
    mTempAlarmGraph = addGraph(plot->xAxis, plot->yAxis, alarmColour, false);
    mHumAlarmGraph = addGraph(plot->xAxis2, plot->yAxis2, alarmColour, false);
    mHumGraph->setUnit(QStringLiteral("%RH"));
    mHumAlarmGraph->setUnit(QStringLiteral("%RH"));

    for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2}) {
        QFont font = axis->tickLabelFont();
        font.setPixelSize(14);
        axis->setTickLabelFont(font);
        axis->setSubTickPen(
            QPen(QBrush(Qt::transparent), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        axis->setTickLabelColor(QColor(127, 127, 127));
    }
    plot->xAxis->grid()->setVisible(false);
    const QPen gridPen(QBrush(QColor(140, 140, 140)), 1, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
    plot->yAxis->grid()->setPen(gridPen);
    plot->yAxis2->grid()->setPen(gridPen);
    plot->xAxis2->setVisible(false);
    plot->yAxis2->setVisible(true);
    plot->yAxis->setRange(-40, 85);
    plot->yAxis2->setRange(0, 100);
    // Until a recording is shown the keys stand for no time: no labels.
    plot->xAxis->setTickLabels(false);

    // The tooltip follows the mouse without a pressed button.
    plot->setMouseTracking(true);
    mToolTip = new QCPToolTip(plot);
    connect(mToolTip, &QCPToolTip::posChanged, this, &DataChartWidget::posChanged);

    plot->axisRect()->setRangeZoomAxes(QList<QCPAxis *>{plot->xAxis2, plot->xAxis});
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    connect(plot->xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), plot->xAxis2,
            qOverload<const QCPRange &>(&QCPAxis::setRange));
}

void DataChartWidget::setupTable()
{
    tableView->setHeaderLabels(
        {tr("编号"), tr("日期时间"), tr("温度℃ "), tr("湿度%") + QStringLiteral("RH")});
    tableView->setShowGrid(false);
    tableView->horizontalHeader()->setHighlightSections(false);
    QHeaderView *vertical = tableView->verticalHeader();
    vertical->hide();
    vertical->setSectionResizeMode(QHeaderView::Fixed);
    vertical->setDefaultSectionSize(40);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    tableView->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void DataChartWidget::showRecording(const QVector<SamplePoint> &samples,
                                    const ReadDevInfoJson &recording, bool resetSeriesButtons)
{
    tableView->clearRows();
    // The comments belong to the recording that was shown.
    mCommentStarts.clear();
    mCommentMarks->clear();
    mTempUnit = recording.tempUnit;
    mWithHumidity = recording.isContainHum;

    tableView->setHeaderLabels(
        {tr("编号"), tr("日期时间"), tr("温度"), mWithHumidity ? tr("湿度") : QString()});
    const AlarmLimits limits = AlarmLimits::fromRecording(recording);
    tableView->showSamples(samples, mTempUnit, mWithHumidity, mAlarmMarks, limits);
    const QString unit = temperatureUnitSymbol(mTempUnit);
    tempShowBtn->setText(unit);

    // The graphs let go of their points first, so the buffers of the previous
    // recording are reused instead of faulting in fresh memory on every open.
    releasePoints();
    QVector<QCPGraphData> &temperature = mTempPoints;
    QVector<QCPGraphData> &humidity = mHumPoints;
    QVector<QCPGraphData> &temperatureAlarms = mTempAlarmPoints;
    QVector<QCPGraphData> &humidityAlarms = mHumAlarmPoints;
    for (QVector<QCPGraphData> *points :
         {&temperature, &humidity, &temperatureAlarms, &humidityAlarms})
        points->clear();
    const int count = samples.size();
    temperature.reserve(count);
    humidity.reserve(mWithHumidity ? count : 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Each quantity is marked by its own limits: a humid spell leaves the
    // temperature curve as it is, and a missing value is never marked.
    for (int i = 0; i < count; ++i) {
        const SamplePoint &sample = samples.at(i);
        const double key = i + 1;
        const bool hasTemperature = sample.temperature != noSampleTemperature;
        const double value = hasTemperature ? fromCelsius(sample.temperature, mTempUnit) : nan;
        temperature.append(QCPGraphData(key, value));
        if (mAlarmMarks && limits.temperatureState(sample.temperature) != 0)
            temperatureAlarms.append(QCPGraphData(key, value));
        if (!mWithHumidity)
            continue;
        const bool hasHumidity = sample.humidity != noSampleHumidity;
        humidity.append(QCPGraphData(key, hasHumidity ? sample.humidity : nan));
        if (mAlarmMarks && limits.humidityState(sample.humidity) != 0)
            humidityAlarms.append(QCPGraphData(key, sample.humidity));
    }
    mTempAlarmGraph->setAlarmBounds(
        fromCelsius(std::max({limits.tl1, limits.tl2, limits.tl3}), mTempUnit),
        fromCelsius(std::min({limits.th1, limits.th2, limits.th3}), mTempUnit));
    mHumAlarmGraph->setAlarmBounds(limits.hl, limits.hh);

    const int interval = recording.recordInterval * intervalUnitSecs;
    const qint64 originMs = wallClockMs(recording.startRecordTime) +
                            qint64(recording.startDelay) * 60000 +
                            (recording.overWirteRecordNum - 1) * interval * 1000;
    mTicker->setTimeMapping(interval, originMs);

    if (resetSeriesButtons) {
        mShowTemperature = true;
        mShowHumidity = true;
        for (DataIdButton *button : {tempShowBtn, humidityShowBtn}) {
            button->setEnabled(true);
            button->setChecked(true);
        }
    }
    annotate(mTempGraph, temperature, unit, interval, originMs, mShowTemperature);
    if (mWithHumidity)
        annotate(mHumGraph, humidity, QStringLiteral("%RH"), interval, originMs, mShowHumidity);
    if (mAlarmMarks) {
        annotate(mTempAlarmGraph, temperatureAlarms, unit, interval, originMs, mShowTemperature);
        if (mWithHumidity)
            annotate(mHumAlarmGraph, humidityAlarms, QStringLiteral("%RH"), interval, originMs,
                     mShowHumidity);
    }

    QCustomPlot *plot = graphicsView;
    humidityShowBtn->setEnabled(mWithHumidity);
    humidityShowBtn->setChecked(mWithHumidity && mShowHumidity);
    plot->yAxis2->setVisible(mWithHumidity);

    mKeyMax = count + 1;
    plot->xAxis->setRange(0, mKeyMax);
    plot->xAxis->setTickLabels(true);
    plot->yAxis2->setRange(0, 100);
    mTempUpper = fromCelsius(recording.maxTemp / 100.0 + 6, mTempUnit);
    mTempLower = fromCelsius(recording.minTemp / 100.0 - 6, mTempUnit);
    showLimitLines(recording);
    plot->replot(QCustomPlot::rpRefreshHint);
}

void DataChartWidget::showLimitLines(const ReadDevInfoJson &recording)
{
    const QVector<LimitLine> lines = LimitLine::ofRecording(recording);
    QCustomPlot *plot = graphicsView;
    mLimitLines->show(lines, mTempUnit, plot->xAxis, plot->yAxis, plot->yAxis2);
    mLimitLines->setTemperatureVisible(mShowTemperature);
    mLimitLines->setHumidityVisible(mShowHumidity);
    // The restored view holds the temperature limits too, with room for their labels.
    for (const LimitLine &line : lines) {
        if (line.humidity)
            continue;
        const double value = line.shownValue(mTempUnit);
        const double room = fromCelsius(2, mTempUnit) - fromCelsius(0, mTempUnit);
        mTempUpper = std::max(mTempUpper, value + room);
        mTempLower = std::min(mTempLower, value - room);
    }
}

void DataChartWidget::setAlarmMarks(bool flag, const QVector<SamplePoint> &samples,
                                    const ReadDevInfoJson &recording)
{
    mAlarmMarks = flag;
    const QVector<qint64> commented = mCommentStarts;
    showRecording(samples, recording, false);
    setCommentMarks(commented);
}

void DataChartWidget::setCommentMarks(const QVector<qint64> &excursionStarts)
{
    mCommentStarts = excursionStarts;
    QVector<double> keys;
    keys.reserve(excursionStarts.size());
    for (qint64 start : excursionStarts)
        keys << mTicker->dateTimeToKey(QDateTime::fromSecsSinceEpoch(start, Qt::UTC));
    mCommentMarks->show(keys, tr("备注"), graphicsView->xAxis, graphicsView->yAxis);
    graphicsView->replot(QCustomPlot::rpRefreshHint);
}

void DataChartWidget::restoreView()
{
    QCustomPlot *plot = graphicsView;
    plot->xAxis->setRange(0, mKeyMax);
    plot->yAxis2->setRange(0, 100);
    plot->yAxis->setRange(mTempLower, mTempUpper);
    plot->replot(QCustomPlot::rpRefreshHint);
}

void DataChartWidget::releasePoints()
{
    // Assigning an empty vector drops the share; clearing a shared QVector
    // would copy it first.
    for (DataGraph *graph : {mTempGraph, mHumGraph, mTempAlarmGraph, mHumAlarmGraph})
        graph->data()->set(QVector<QCPGraphData>(), true);
}

void DataChartWidget::clearChart()
{
    tableView->clearRows();
    releasePoints();
    for (QVector<QCPGraphData> *points :
         {&mTempPoints, &mHumPoints, &mTempAlarmPoints, &mHumAlarmPoints})
        *points = QVector<QCPGraphData>();
    // An empty chart keeps no times or limits of the recording that left it.
    mLimitLines->clear();
    mCommentStarts.clear();
    mCommentMarks->clear();
    graphicsView->xAxis->setTickLabels(false);
    graphicsView->replot(QCustomPlot::rpRefreshHint);
}

void DataChartWidget::showTemperature(bool show)
{
    mShowTemperature = show;
    mTempGraph->setVisible(show);
    mTempAlarmGraph->setVisible(show);
    mLimitLines->setTemperatureVisible(show);
    graphicsView->replot(QCustomPlot::rpRefreshHint);
}

void DataChartWidget::showHumidity(bool show)
{
    mShowHumidity = show;
    mHumGraph->setVisible(show);
    mHumAlarmGraph->setVisible(show);
    mLimitLines->setHumidityVisible(show);
    graphicsView->replot(QCustomPlot::rpRefreshHint);
}

void DataChartWidget::posChanged(int pos)
{
    tableView->makeRowCurrent(pos - 1);
    tableView->verticalScrollBar()->setValue(pos - 1);
}

void DataChartWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        tableView->setHeaderLabels(
            {tr("编号"), tr("日期时间"), tr("温度"), mWithHumidity ? tr("湿度") : QString()});
        mCommentMarks->setLabel(tr("备注"));
    }
    QWidget::changeEvent(event);
}
