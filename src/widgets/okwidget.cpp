// SPDX-License-Identifier: GPL-3.0-or-later
// OkWidget: a green disc with a white tick that marks a finished export.
#include "widgets/okwidget.h"

#include <QPainter>

OkWidget::OkWidget(QWidget *parent) : QWidget(parent)
{
    setFixedSize(88, 88);
}

void OkWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(32, 183, 89));
    painter.drawRoundedRect(rect(), width() / 2, height() / 2);

    painter.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(15, 38, 37, 60);
    painter.drawLine(37, 60, 72, 24);
}
