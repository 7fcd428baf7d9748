// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's checkable series button: a tick box, the series icon and its unit.
#include "views/dataidbutton.h"

#include <QPainter>
#include <QStyleOptionButton>

DataIdButton::DataIdButton(QWidget *parent) : QPushButton(parent) {}

void DataIdButton::setPixmap(const QPixmap &pixmap)
{
    mPixmap = pixmap.isNull()
                  ? QPixmap()
                  : pixmap.scaled(18, 18, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    update();
}

void DataIdButton::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const int m = (height() - 2) / 2;
    QColor outline(205, 205, 205);
    if (isEnabled())
        outline = (option.state & QStyle::State_MouseOver) ? QColor(Qt::blue) : QColor(Qt::black);

    QPainter painter(this);
    painter.setPen(QPen(outline, 1));
    painter.drawRect(QRect(QPoint(10, m - 8), QPoint(27, m + 9)));
    if (isChecked()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(outline, 1.25));
        const QPoint tick[] = {{13, m + 1}, {18, m + 5}, {26, m - 3}};
        painter.drawPolyline(tick, 3);
    }
    if (!mPixmap.isNull())
        painter.drawPixmap(39 - mPixmap.width() / 2, m + 1 - mPixmap.height() / 2, mPixmap);
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QPen(outline, 1));
    painter.drawText(QRect(QPoint(50, m - 8), QPoint(89, m + 9)), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
}
