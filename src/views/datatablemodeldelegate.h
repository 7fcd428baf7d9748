// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the sample table's cells: striped rows, grey selection, red alarm text.
#pragma once

#include <QStyledItemDelegate>

class DataTableModelDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
