// SPDX-License-Identifier: GPL-3.0-or-later
// ChartCommentMarks: the excursions a comment explains, as labelled vertical lines on a chart.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QCPAxis;
class QCPItemStraightLine;
class QCPItemText;
class QCustomPlot;

// Each mark is a dashed line across the whole height of the axis rect at the
// excursion's first sample, with a small label at the top of the plot, so a
// reader sees which excursions were explained. The marks stand in plot
// coordinates on the key axis: they follow zooming and dragging.
class ChartCommentMarks
{
public:
    explicit ChartCommentMarks(QCustomPlot *plot) : plot(plot) {}

    // Replaces the marks: one at each of `keys` on `keyAxis`, labelled `label`.
    void show(const QVector<double> &keys, const QString &label, QCPAxis *keyAxis,
              QCPAxis *valueAxis);
    void clear();
    // The label of every mark, after a change of language.
    void setLabel(const QString &label);

    int count() const { return items.size(); }
    // The keys of the marks, in the order given.
    QVector<double> keys() const;
    QStringList labels() const;

private:
    struct Item {
        QCPItemStraightLine *line;
        QCPItemText *label;
    };

    QCustomPlot *plot;
    QVector<Item> items;
};
