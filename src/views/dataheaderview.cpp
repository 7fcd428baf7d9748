// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table's header: a black bar with rounded outer ends and white text.
#include "views/dataheaderview.h"

#include <QPainter>

DataHeaderView::DataHeaderView(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{
}

void DataHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    constexpr int radius = 6;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    const int last = model() ? model()->columnCount() - 1 : -1;
    if (logicalIndex == 0) {
        painter->drawRoundedRect(rect, radius, radius);
        painter->drawRect(QRect(QPoint(rect.left() + radius, rect.top()), rect.bottomRight()));
    } else if (logicalIndex == last) {
        painter->drawRoundedRect(rect, radius, radius);
        painter->drawRect(QRect(rect.topLeft(), QPoint(rect.right() - radius, rect.bottom())));
    } else {
        painter->drawRect(rect);
    }
    painter->setPen(Qt::white);
    QFont font = painter->font();
    font.setPixelSize(16);
    painter->setFont(font);
    const QString text =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString()
                : QString();
    painter->drawText(rect, Qt::AlignCenter, text);
    painter->restore();
}
