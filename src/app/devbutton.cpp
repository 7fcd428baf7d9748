// SPDX-License-Identifier: GPL-3.0-or-later
// DevButton: one attached logger in the device selection dialog, with its picture and model name.
#include "app/devbutton.h"

#include "core/lgxdevtype.h"

#include <QPainter>
#include <QStyleOptionButton>

DevButton::DevButton(int devType, QWidget *parent)
    : QPushButton(parent), pixmap(QStringLiteral(":/img/ic_hx10d.png")), type(devType)
{
    setAttribute(Qt::WA_Hover);
    setCheckable(true);
    setMinimumHeight(80);
    setText(modelName(devType));
    font = QWidget::font();
    font.setPixelSize(16);
}

void DevButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = width();
    const int h = height();

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(246, 247, 252));
    painter.drawRoundedRect(QRect(1, 1, w - 2, h - 2), 12, 12);

    QStyleOptionButton option;
    initStyleOption(&option);
    painter.setBrush(Qt::NoBrush);
    if (isChecked()) {
        painter.setPen(QPen(QColor(32, 33, 36), 2));
        painter.drawRoundedRect(QRect(2, 2, w - 4, h - 4), 8, 8);
    } else if (option.state & QStyle::State_MouseOver) {
        painter.setPen(QPen(QColor(83, 182, 255), 1));
        painter.drawRoundedRect(QRect(1, 1, w - 2, h - 2), 10, 10);
    }

    const QSize picture = pixmap.size() / pixmap.devicePixelRatioF();
    painter.drawPixmap((24 - picture.width()) / 2 + 20, (50 - picture.height()) / 2 + 10, pixmap);

    painter.setPen(Qt::black);
    painter.setFont(font);
    const QString shown = painter.fontMetrics().elidedText(text(), Qt::ElideRight, w - 66);
    painter.drawText(QRect(QPoint(64, 0), QPoint(w - 3, h - 3)), Qt::AlignLeft | Qt::AlignVCenter,
                     shown);
}
