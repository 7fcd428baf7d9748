// SPDX-License-Identifier: GPL-3.0-or-later
// A chart graph that knows the unit of its values and the time of its keys.
#pragma once

#include "views/scattersprites.h"

#include <qcustomplot.h>

// The tooltip reads these annotations to turn a hovered point into text: key k
// stands for originMs + k × intervalSecs × 1000 wall-clock milliseconds.
class DataGraph : public QCPGraph
{
    Q_OBJECT
public:
    DataGraph(QCPAxis *keyAxis, QCPAxis *valueAxis) : QCPGraph(keyAxis, valueAxis) {}

    QString unit() const { return mUnit; }
    qint64 originMs() const { return mOriginMs; }
    int intervalSecs() const { return mIntervalSecs; }

    // Which side of its quantity's limits a value lies on: 1 at or below
    // `low`, 2 at or above `high`, 0 inside them or on a graph that is no
    // alarm graph. The tooltip names it.
    int alarmSide(double value) const
    {
        if (!mAlarmGraph)
            return 0;
        return value <= mAlarmLow ? 1 : value >= mAlarmHigh ? 2 : 0;
    }

    void setUnit(const QString &unit) { mUnit = unit; }
    void setAlarmBounds(double low, double high)
    {
        mAlarmGraph = true;
        mAlarmLow = low;
        mAlarmHigh = high;
    }
    void setTimeMapping(int intervalSecs, qint64 originMs)
    {
        mIntervalSecs = intervalSecs;
        mOriginMs = originMs;
    }

protected:
    void drawScatterPlot(QCPPainter *painter, const QVector<QPointF> &scatters,
                         const QCPScatterStyle &style) const override
    {
        applyScattersAntialiasingHint(painter);
        if (!mSprites.draw(painter, scatters, style, mPen))
            QCPGraph::drawScatterPlot(painter, scatters, style);
    }

private:
    mutable ScatterSprites mSprites;
    QString mUnit;
    qint64 mOriginMs = 0;
    int mIntervalSecs = 5;
    bool mAlarmGraph = false;
    double mAlarmLow = 0;
    double mAlarmHigh = 0;
};
