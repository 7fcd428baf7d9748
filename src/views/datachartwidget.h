// SPDX-License-Identifier: GPL-3.0-or-later
// The chart page: temperature and humidity over the sample number, with the sample table below.
#pragma once

#include "recording/readdevinfojson.h"
#include "recording/samplepoint.h"

#include <QSharedPointer>
#include <QVector>
#include <QWidget>
#include <memory>
#include <qcustomplot.h>

class ChartCommentMarks;
class ChartLimitLines;
class CPAxisTickerDateTime;
class DataGraph;
class DataIdButton;
class DataTableWidget;
class QCPToolTip;

class DataChartWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DataChartWidget(QWidget *parent = nullptr);
    ~DataChartWidget() override;

    // Fills chart and table from a recording. Missing values leave gaps; a
    // value beyond its own quantity's limits is drawn as a red point while the
    // alarm marks are on; the limits in force are labelled lines. With
    // `resetSeriesButtons` both series are shown again.
    void showRecording(const QVector<SamplePoint> &samples, const ReadDevInfoJson &recording,
                       bool resetSeriesButtons);
    // Marks the excursions that carry a comment, by the wall-clock seconds of
    // their first samples, in the shown recording; an empty vector removes the
    // marks. Showing another recording or clearing the chart removes them too.
    void setCommentMarks(const QVector<qint64> &excursionStarts);
    // Switches the alarm marks and shows the recording again, its comment marks kept.
    void setAlarmMarks(bool flag, const QVector<SamplePoint> &samples,
                       const ReadDevInfoJson &recording);
    // Switches the alarm marks for the next recording while nothing is shown.
    void setAlarmMarks(bool flag) { mAlarmMarks = flag; }
    // All samples across, humidity 0 … 100 and the recording's temperature
    // range with 6 °C to spare on each side, widened to its limit lines.
    void restoreView();
    // Empties the table, all graphs, the limit lines and the comment marks; ranges and buttons
    // stay, the time axis loses its labels.
    void clearChart();

    QCustomPlot *plot() const { return graphicsView; }
    DataTableWidget *table() const { return tableView; }
    QCPToolTip *toolTip() const { return mToolTip; }
    QSharedPointer<CPAxisTickerDateTime> ticker() const { return mTicker; }
    DataGraph *temperatureGraph() const { return mTempGraph; }
    DataGraph *humidityGraph() const { return mHumGraph; }
    DataGraph *temperatureAlarmGraph() const { return mTempAlarmGraph; }
    DataGraph *humidityAlarmGraph() const { return mHumAlarmGraph; }
    DataIdButton *temperatureButton() const { return tempShowBtn; }
    DataIdButton *humidityButton() const { return humidityShowBtn; }
    bool alarmMarks() const { return mAlarmMarks; }
    ChartLimitLines *limitLines() const { return mLimitLines.get(); }
    ChartCommentMarks *commentMarks() const { return mCommentMarks.get(); }

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void posChanged(int pos);

private:
    void setupUi();
    void setupPlot();
    void setupTable();
    void releasePoints();
    void showLimitLines(const ReadDevInfoJson &recording);
    void showTemperature(bool show);
    void showHumidity(bool show);

    QWidget *chart;
    QWidget *widget;
    DataIdButton *tempShowBtn;
    DataIdButton *humidityShowBtn;
    QCustomPlot *graphicsView;
    DataTableWidget *tableView;

    QSharedPointer<CPAxisTickerDateTime> mTicker;
    DataGraph *mTempGraph = nullptr;
    DataGraph *mHumGraph = nullptr;
    DataGraph *mTempAlarmGraph = nullptr;
    DataGraph *mHumAlarmGraph = nullptr;
    QCPToolTip *mToolTip = nullptr;
    std::unique_ptr<ChartLimitLines> mLimitLines;
    std::unique_ptr<ChartCommentMarks> mCommentMarks;
    // The excursion starts of the comment marks shown.
    QVector<qint64> mCommentStarts;
    // The graphs' points, shared with their data containers and kept between
    // recordings so that opening another one reuses their memory.
    QVector<QCPGraphData> mTempPoints;
    QVector<QCPGraphData> mHumPoints;
    QVector<QCPGraphData> mTempAlarmPoints;
    QVector<QCPGraphData> mHumAlarmPoints;

    double mTempUpper = 80.0;
    double mTempLower = 0.0;
    int mKeyMax = 1;
    bool mAlarmMarks = true;
    int mTempUnit = 0;
    bool mWithHumidity = true;
    bool mShowTemperature = true;
    bool mShowHumidity = true;
};
