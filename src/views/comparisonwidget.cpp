// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison page: several recordings on one chart over wall-clock time.
#include "views/comparisonwidget.h"

#include "core/units.h"
#include "core/utils.h"
#include "export/comparisonreport.h"
#include "views/chartlimitlines.h"
#include "views/cpaxistickerdatetime.h"
#include "views/datagraph.h"
#include "views/qcptooltip.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

namespace
{

// Room around the values, as the single chart leaves 6 °C, and around a
// limit line for its label.
constexpr double valueMargin = 6;
constexpr double limitMargin = 2;

} // namespace

ComparisonWidget::ComparisonWidget(QWidget *parent)
    : QWidget(parent), mTicker(new CPAxisTickerDateTime)
{
    setupUi();
    setupPlot();
    mLimitLines = std::make_unique<ChartLimitLines>(graphicsView);
    retranslate();
}

ComparisonWidget::~ComparisonWidget() = default;

void ComparisonWidget::setupUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    auto *bar = new QHBoxLayout;
    titleLabel = new QLabel(this);
    titleLabel->setObjectName(QStringLiteral("comparisonTitle"));
    titleLabel->setStyleSheet(QStringLiteral("font-size:16px;color:#333;"));
    restoreButton = new QToolButton(this);
    restoreButton->setObjectName(QStringLiteral("comparisonRestore"));
    restoreButton->setIcon(QIcon(QStringLiteral(":/img/ic_restore.png")));
    closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("comparisonClose"));
    for (QToolButton *button : {restoreButton, closeButton})
        button->setStyleSheet(
            QStringLiteral("QToolButton{border:none;font-size:14px;}"
                           "QToolButton:hover{background:#EEE;border-radius:4px;}"));
    bar->addWidget(titleLabel);
    bar->addStretch();
    bar->addWidget(restoreButton);
    bar->addWidget(closeButton);
    layout->addLayout(bar);
    graphicsView = new QCustomPlot(this);
    graphicsView->setObjectName(QStringLiteral("comparisonPlot"));
    layout->addWidget(graphicsView, 1);
    connect(restoreButton, &QToolButton::clicked, this, &ComparisonWidget::restoreView);
    connect(closeButton, &QToolButton::clicked, this, &ComparisonWidget::closeRequested);
}

void ComparisonWidget::setupPlot()
{
    QCustomPlot *plot = graphicsView;
    // Keys are wall-clock seconds: one second per key from the epoch.
    mTicker->setTimeZone(QTimeZone::utc());
    mTicker->setTimeMapping(1, 0);
    plot->xAxis->setTicker(mTicker);
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->yAxis2}) {
        QFont font = axis->tickLabelFont();
        font.setPixelSize(14);
        axis->setTickLabelFont(font);
        axis->setSubTickPen(Qt::NoPen);
        axis->setTickLabelColor(QColor(127, 127, 127));
        axis->setLabelColor(QColor(90, 90, 90));
    }
    plot->xAxis->grid()->setVisible(false);
    const QPen gridPen(QBrush(QColor(140, 140, 140)), 1, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
    plot->yAxis->grid()->setPen(gridPen);
    plot->yAxis2->setRange(0, 100);

    // The legend sits below the axis rect, two recordings to a row, so it
    // never covers a curve.
    plot->legend->setVisible(true);
    QFont legendFont = plot->legend->font();
    legendFont.setPixelSize(13);
    plot->legend->setFont(legendFont);
    plot->legend->setBorderPen(Qt::NoPen);
    plot->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot->legend->setWrap(2);
    plot->plotLayout()->addElement(1, 0, plot->legend);
    plot->plotLayout()->setRowStretchFactor(1, 0.001);

    plot->setMouseTracking(true);
    mToolTip = new QCPToolTip(plot);
    plot->axisRect()->setRangeZoomAxes(QList<QCPAxis *>{plot->xAxis});
    plot->axisRect()->setRangeDragAxes(plot->xAxis, plot->yAxis);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
}

void ComparisonWidget::showComparison(const QVector<ComparedRecording> &recordings)
{
    clear();
    mShown = recordings;
    QCustomPlot *plot = graphicsView;
    const int unit =
        recordings.isEmpty() ? Celsius : recordings.constFirst().loaded.recording.tempUnit;
    const QString temperatureUnit = temperatureUnitSymbol(unit);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    bool anyHumidity = false;
    for (int i = 0; i < recordings.size(); ++i) {
        const ComparedRecording &item = recordings.at(i);
        const QVector<SamplePoint> &samples = item.loaded.samples;
        const bool withHumidity = item.loaded.recording.isContainHum;
        QVector<QCPGraphData> temperature;
        QVector<QCPGraphData> humidity;
        temperature.reserve(samples.size() + 16);
        humidity.reserve(withHumidity ? samples.size() + 16 : 0);
        for (int s = 0; s < samples.size(); ++s) {
            const SamplePoint &sample = samples.at(s);
            const double key = double(sample.time);
            // Time no sample covers (between two downloads of a history) is a
            // gap: a point without a value just after the last sample breaks the line.
            if (s > 0 && !ComparisonReport::joins(samples.at(s - 1).time, sample.time, 1,
                                                  item.loaded.interval)) {
                const double gap = double(samples.at(s - 1).time + 1);
                temperature.append(QCPGraphData(gap, nan));
                if (withHumidity)
                    humidity.append(QCPGraphData(gap, nan));
            }
            temperature.append(QCPGraphData(key, sample.temperature != noSampleTemperature
                                                     ? fromCelsius(sample.temperature, unit)
                                                     : nan));
            if (withHumidity)
                humidity.append(QCPGraphData(
                    key, sample.humidity != noSampleHumidity ? double(sample.humidity) : nan));
        }
        const QColor colour = ComparisonReport::colour(i);
        auto *graph = new DataGraph(plot->xAxis, plot->yAxis);
        graph->setPen(QPen(colour, 1));
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 3));
        graph->setUnit(temperatureUnit);
        graph->setTimeMapping(1, 0);
        graph->data()->set(temperature, true);
        graph->setName(ComparisonReport::legendText(item));
        mTemperatureGraphs.append(graph);
        if (withHumidity) {
            auto *wet = new DataGraph(plot->xAxis, plot->yAxis2);
            wet->setPen(QPen(colour, 1, Qt::DashLine));
            wet->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 3));
            wet->setUnit(QStringLiteral("%RH"));
            wet->setTimeMapping(1, 0);
            wet->data()->set(humidity, true);
            wet->removeFromLegend();
            mHumidityGraphs.append(wet);
            anyHumidity = true;
        }
    }
    qint64 first = 0;
    qint64 last = 0;
    if (ComparisonReport::timeSpan(recordings, &first, &last)) {
        mKeyFirst = double(first);
        mKeyLast = double(std::max(last, first + 1));
    }
    double low = 0;
    double high = 0;
    bool anyTemperature = ComparisonReport::temperatureExtent(recordings, &low, &high);
    low -= valueMargin;
    high += valueMargin;
    const QVector<LimitLine> limits = ComparisonReport::limitLines(recordings);
    // The restored view holds the temperature limits, as on the single chart.
    for (const LimitLine &limit : limits) {
        if (limit.humidity)
            continue;
        low = anyTemperature ? std::min(low, limit.value - limitMargin) : limit.value - limitMargin;
        high =
            anyTemperature ? std::max(high, limit.value + limitMargin) : limit.value + limitMargin;
        anyTemperature = true;
    }
    if (anyTemperature) {
        mLower = fromCelsius(low, unit);
        mUpper = fromCelsius(high, unit);
    }
    mLimitLines->show(limits, unit, plot->xAxis, plot->yAxis, plot->yAxis2);
    plot->yAxis->setLabel(tr("温度") + QLatin1Char(' ') + temperatureUnit);
    plot->yAxis2->setVisible(anyHumidity);
    titleLabel->setText(titleText());
    restoreView();
}

void ComparisonWidget::restoreView()
{
    QCustomPlot *plot = graphicsView;
    // A little room so the first and last samples are not on the frame.
    const double margin = (mKeyLast - mKeyFirst) * 0.01;
    plot->xAxis->setRange(mKeyFirst - margin, mKeyLast + margin);
    plot->yAxis->setRange(mLower, mUpper);
    plot->yAxis2->setRange(0, 100);
    plot->replot(QCustomPlot::rpRefreshHint);
}

void ComparisonWidget::clear()
{
    graphicsView->clearGraphs();
    mLimitLines->clear();
    mTemperatureGraphs.clear();
    mHumidityGraphs.clear();
    mShown.clear();
    titleLabel->clear();
    graphicsView->replot(QCustomPlot::rpRefreshHint);
}

QString ComparisonWidget::titleText() const
{
    return ComparisonReport::isHistory(mShown) ? ComparisonReport::historyTitle(mShown.constFirst())
                                               : tr("对比：%1 个记录").arg(mShown.size());
}

void ComparisonWidget::retranslate()
{
    restoreButton->setToolTip(tr("恢复"));
    closeButton->setText(tr("关闭对比"));
    graphicsView->yAxis2->setLabel(tr("湿度 %RH（虚线）"));
    const int unit = mShown.isEmpty() ? Celsius : mShown.constFirst().loaded.recording.tempUnit;
    graphicsView->yAxis->setLabel(tr("温度") + QLatin1Char(' ') + temperatureUnitSymbol(unit));
    for (int i = 0; i < mTemperatureGraphs.size() && i < mShown.size(); ++i)
        mTemperatureGraphs.at(i)->setName(ComparisonReport::legendText(mShown.at(i)));
    if (!mShown.isEmpty())
        titleLabel->setText(titleText());
}

void ComparisonWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        graphicsView->replot(QCustomPlot::rpQueuedReplot);
    }
    QWidget::changeEvent(event);
}
