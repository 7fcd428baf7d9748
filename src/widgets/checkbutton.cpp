// SPDX-License-Identifier: GPL-3.0-or-later
// A push button that paints itself as a small check box.
#include "widgets/checkbutton.h"

#include <QPainter>
#include <QStyleOptionButton>

CheckButton::CheckButton(QWidget *parent) : QPushButton(parent)
{
    setCheckable(true);
}

void CheckButton::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const int a = (width() - 2) / 2;
    const int c = (height() - 2) / 2;
    QColor outline = isChecked() ? QColor(249, 121, 50) : QColor(163, 163, 163);
    if ((option.state & QStyle::State_Enabled) && (option.state & QStyle::State_MouseOver))
        outline = Qt::blue;

    QPainter painter(this);
    painter.setPen(QPen(outline, 1));
    painter.drawRect(QRect(QPoint(a - 6, c - 6), QPoint(a + 7, c + 7)));
    if (isChecked()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(outline, 1.25));
        const QPoint tick[] = {{a - 3, c + 1}, {a, int(c + 4.5)}, {a + 6, int(c - 1.5)}};
        painter.drawPolyline(tick, 3);
    }
}
