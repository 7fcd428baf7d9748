// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the sample table's cells: striped rows, grey selection, red alarm text.
#include "views/datatablemodeldelegate.h"

#include <QPainter>

void DataTableModelDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    painter->save();
    painter->setPen(Qt::NoPen);
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, QColor(220, 220, 220));
    else if (index.row() % 2 == 1)
        painter->fillRect(option.rect, QColor(247, 247, 247));
    const bool alarm = index.data(Qt::UserRole).toBool();
    painter->setPen(alarm ? QColor(255, 0, 0) : QColor(0, 0, 0));
    painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
