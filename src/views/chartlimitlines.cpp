// SPDX-License-Identifier: GPL-3.0-or-later
// ChartLimitLines: the alarm limits in force as labelled horizontal lines on a chart.
#include "views/chartlimitlines.h"

#include <qcustomplot.h>

namespace
{
// Temperature limits in the alarm red, humidity ones in a darker green than
// the humidity curve, so the two kinds are told apart on the same chart.
const QColor temperatureLimitColour(220, 30, 30);
const QColor humidityLimitColour(30, 120, 90);
} // namespace

void ChartLimitLines::show(const QVector<LimitLine> &lines, int tempUnit, QCPAxis *keyAxis,
                           QCPAxis *temperatureAxis, QCPAxis *humidityAxis)
{
    clear();
    for (const LimitLine &limit : lines) {
        QCPAxis *valueAxis = limit.humidity ? humidityAxis : temperatureAxis;
        const QColor colour = limit.humidity ? humidityLimitColour : temperatureLimitColour;
        const double value = limit.shownValue(tempUnit);

        auto *line = new QCPItemStraightLine(plot);
        line->setClipToAxisRect(true);
        line->setPen(QPen(colour, 1, Qt::DashLine));
        line->setSelectable(false);
        for (QCPItemPosition *end : {line->point1, line->point2}) {
            end->setAxes(keyAxis, valueAxis);
            end->setTypeX(QCPItemPosition::ptAxisRectRatio);
            end->setTypeY(QCPItemPosition::ptPlotCoords);
        }
        line->point1->setCoords(0, value);
        line->point2->setCoords(1, value);

        auto *label = new QCPItemText(plot);
        label->setClipToAxisRect(true);
        label->setSelectable(false);
        label->position->setAxes(keyAxis, valueAxis);
        label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        label->position->setTypeY(QCPItemPosition::ptPlotCoords);
        label->position->setCoords(1, value);
        label->setPositionAlignment(Qt::AlignRight | (limit.high ? Qt::AlignBottom : Qt::AlignTop));
        label->setPadding(QMargins(0, 1, 6, 1));
        QFont font = label->font();
        font.setPixelSize(12);
        label->setFont(font);
        label->setColor(colour);
        // A curve running along the limit stays behind the label, not through it.
        label->setBrush(QColor(255, 255, 255, 215));
        label->setText(limit.label(tempUnit));
        items.append({line, label, limit.humidity});
    }
}

void ChartLimitLines::clear()
{
    for (const Item &item : qAsConst(items)) {
        plot->removeItem(item.line);
        plot->removeItem(item.label);
    }
    items.clear();
}

void ChartLimitLines::setVisible(bool humidity, bool visible)
{
    for (const Item &item : qAsConst(items)) {
        if (item.humidity != humidity)
            continue;
        item.line->setVisible(visible);
        item.label->setVisible(visible);
    }
}

void ChartLimitLines::setTemperatureVisible(bool visible)
{
    setVisible(false, visible);
}

void ChartLimitLines::setHumidityVisible(bool visible)
{
    setVisible(true, visible);
}

QStringList ChartLimitLines::labels() const
{
    QStringList texts;
    for (const Item &item : items)
        texts << item.label->text();
    return texts;
}

QCPItemStraightLine *ChartLimitLines::lineOf(const QString &label) const
{
    for (const Item &item : items)
        if (item.label->text() == label)
            return item.line;
    return nullptr;
}
