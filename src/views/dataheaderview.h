// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table's header: a black bar with rounded outer ends and white text.
#pragma once

#include <QHeaderView>

class DataHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    explicit DataHeaderView(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};
