// SPDX-License-Identifier: GPL-3.0-or-later
// ChartLimitLines: the alarm limits in force as labelled horizontal lines on a chart.
#pragma once

#include "recording/limitline.h"

#include <QStringList>
#include <QVector>

class QCPAxis;
class QCPItemStraightLine;
class QCPItemText;
class QCustomPlot;

// Each line spans the whole axis rect at its value, dashed, with its name and
// value at the right end (above the line for a high limit, below for a low
// one), so a reader sees at a glance whether a curve crosses it.
class ChartLimitLines
{
public:
    explicit ChartLimitLines(QCustomPlot *plot) : plot(plot) {}

    // Replaces the lines: temperatures on `temperatureAxis` in the unit
    // `tempUnit`, humidity on `humidityAxis`, both over `keyAxis`.
    void show(const QVector<LimitLine> &lines, int tempUnit, QCPAxis *keyAxis,
              QCPAxis *temperatureAxis, QCPAxis *humidityAxis);
    void clear();
    // Follow the series buttons: a hidden series hides its limits.
    void setTemperatureVisible(bool visible);
    void setHumidityVisible(bool visible);

    // The labels shown, in the order given.
    QStringList labels() const;
    int count() const { return items.size(); }
    // The line of the label `label`, or null.
    QCPItemStraightLine *lineOf(const QString &label) const;

private:
    struct Item {
        QCPItemStraightLine *line;
        QCPItemText *label;
        bool humidity;
    };
    void setVisible(bool humidity, bool visible);

    QCustomPlot *plot;
    QVector<Item> items;
};
