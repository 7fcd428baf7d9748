// SPDX-License-Identifier: GPL-3.0-or-later
// ChartCommentMarks: the excursions a comment explains, as labelled vertical lines on a chart.
#include "views/chartcommentmarks.h"

#include <qcustomplot.h>

namespace
{
// Apart from the curves (blue, green), the alarm points and the limit lines (red, dark green).
const QColor commentColour(128, 64, 160);
} // namespace

void ChartCommentMarks::show(const QVector<double> &keys, const QString &label, QCPAxis *keyAxis,
                             QCPAxis *valueAxis)
{
    clear();
    for (double key : keys) {
        auto *line = new QCPItemStraightLine(plot);
        line->setClipToAxisRect(true);
        line->setPen(QPen(commentColour, 1, Qt::DashLine));
        line->setSelectable(false);
        for (QCPItemPosition *end : {line->point1, line->point2}) {
            end->setAxes(keyAxis, valueAxis);
            end->setTypeX(QCPItemPosition::ptPlotCoords);
            end->setTypeY(QCPItemPosition::ptAxisRectRatio);
        }
        line->point1->setCoords(key, 0);
        line->point2->setCoords(key, 1);

        auto *text = new QCPItemText(plot);
        text->setClipToAxisRect(true);
        text->setSelectable(false);
        text->position->setAxes(keyAxis, valueAxis);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(key, 0);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setPadding(QMargins(3, 1, 3, 1));
        QFont font = text->font();
        font.setPixelSize(12);
        text->setFont(font);
        text->setColor(commentColour);
        text->setBrush(QColor(255, 255, 255, 215));
        text->setText(label);
        items.append({line, text});
    }
}

void ChartCommentMarks::clear()
{
    for (const Item &item : qAsConst(items)) {
        plot->removeItem(item.line);
        plot->removeItem(item.label);
    }
    items.clear();
}

void ChartCommentMarks::setLabel(const QString &label)
{
    for (const Item &item : qAsConst(items))
        item.label->setText(label);
}

QVector<double> ChartCommentMarks::keys() const
{
    QVector<double> result;
    for (const Item &item : items)
        result << item.line->point1->coords().x();
    return result;
}

QStringList ChartCommentMarks::labels() const
{
    QStringList texts;
    for (const Item &item : items)
        texts << item.label->text();
    return texts;
}
