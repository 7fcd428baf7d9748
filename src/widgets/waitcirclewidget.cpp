// SPDX-License-Identifier: GPL-3.0-or-later
// WaitCircleWidget: a ring of white dots whose largest dot runs clockwise.
#include "widgets/waitcirclewidget.h"

#include <QPainter>
#include <QTimer>
#include <QtMath>

WaitCircleWidget::WaitCircleWidget(QWidget *parent) : QWidget(parent)
{
    for (int k = 0; k < count; ++k) {
        const double angle = M_PI / 2 - 2 * M_PI * k / count;
        dots.append(QPoint(static_cast<int>(radius * std::cos(angle)),
                           static_cast<int>(-radius * std::sin(angle))));
    }
    timer = new QTimer(this);
    timer->setInterval(150);
    connect(timer, &QTimer::timeout, this, &WaitCircleWidget::advance);
    timer->start();
}

QRect WaitCircleWidget::dotRect(const QSize &size, const QPoint &point, int rank)
{
    const int cx = (size.width() - 1) / 2 + point.x();
    const int cy = (size.height() - 1) / 2 + point.y();
    const int grow = rank == 0 ? 2 : rank == 1 ? 1 : 0;
    return QRect(QPoint(cx - 7 - grow, cy - 27 - grow), QPoint(cx + 6 + grow, cy - 14 + grow));
}

void WaitCircleWidget::advance()
{
    leading = (leading + 1) % count;
    update();
}

void WaitCircleWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int i = leading; i < leading + count; ++i)
        painter.drawEllipse(dotRect(size(), dots.at(i % count), i - leading));
}
