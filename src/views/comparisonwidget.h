// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison page: several recordings on one chart over wall-clock time.
#pragma once

#include "recording/comparedrecording.h"

#include <QSharedPointer>
#include <QVector>
#include <QWidget>
#include <memory>

class ChartLimitLines;
class CPAxisTickerDateTime;
class DataGraph;
class QCPToolTip;
class QCustomPlot;
class QLabel;
class QToolButton;

// Each recording gets one colour: its temperature as a solid line on the left
// axis, its humidity (where it has one) dashed on the right axis, and one
// legend entry naming the recording and its logger; the alarm limits in
// force are labelled dashed lines, and time between a recording's samples
// that is longer than its interval is a gap. Keys are wall-clock
// seconds, so the chart's date-time ticker and tooltip work as on the single
// chart, and recordings of different intervals line up in time. Zoom and drag
// act on the time axis as there.
class ComparisonWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ComparisonWidget(QWidget *parent = nullptr);
    ~ComparisonWidget() override;

    // Replaces the shown recordings; temperatures in the unit of the first.
    void showComparison(const QVector<ComparedRecording> &recordings);
    // The whole time span and every value in view.
    void restoreView();
    void clear();

    QCustomPlot *plot() const { return graphicsView; }
    QCPToolTip *toolTip() const { return mToolTip; }
    QSharedPointer<CPAxisTickerDateTime> ticker() const { return mTicker; }
    // The temperature graph of each recording, in the order given.
    const QVector<DataGraph *> &temperatureGraphs() const { return mTemperatureGraphs; }
    const QVector<DataGraph *> &humidityGraphs() const { return mHumidityGraphs; }
    ChartLimitLines *limitLines() const { return mLimitLines.get(); }

signals:
    // The close button: the view area goes back to the single recording.
    void closeRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void setupUi();
    void setupPlot();
    void retranslate();
    // A logger's history is named as such; a comparison counts its recordings.
    QString titleText() const;

    QLabel *titleLabel;
    QToolButton *restoreButton;
    QToolButton *closeButton;
    QCustomPlot *graphicsView;
    QSharedPointer<CPAxisTickerDateTime> mTicker;
    QCPToolTip *mToolTip = nullptr;
    std::unique_ptr<ChartLimitLines> mLimitLines;
    QVector<DataGraph *> mTemperatureGraphs;
    QVector<DataGraph *> mHumidityGraphs;
    QVector<ComparedRecording> mShown;
    double mKeyFirst = 0;
    double mKeyLast = 1;
    double mLower = -40;
    double mUpper = 85;
};
