// SPDX-License-Identifier: GPL-3.0-or-later
// DevButton: one attached logger in the device selection dialog, with its picture and model name.
#include "app/devbutton.h"

#include "core/lgxdevtype.h"

#include <QPainter>
#include <QStyleOptionButton>

DevButton::DevButton(const AttachedLogger &logger, const QString &detail, QWidget *parent)
    : QPushButton(parent), pixmap(QStringLiteral(":/img/ic_hx10d.png")), attached(logger),
      detailText(detail)
{
    setAttribute(Qt::WA_Hover);
    setCheckable(true);
    setMinimumHeight(80);
    setText(modelName(logger.model));
    setToolTip(detail);
    font = QWidget::font();
    font.setPixelSize(16);
    detailFont = QWidget::font();
    detailFont.setPixelSize(12);
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
    const int middle = h / 2;
    painter.drawText(QRect(QPoint(64, 0), QPoint(w - 3, middle + 4)),
                     Qt::AlignLeft | Qt::AlignBottom, shown);
    painter.setPen(QColor(95, 99, 104));
    painter.setFont(detailFont);
    const QString detailShown =
        painter.fontMetrics().elidedText(detailText, Qt::ElideRight, w - 66);
    painter.drawText(QRect(QPoint(64, middle + 8), QPoint(w - 3, h - 3)),
                     Qt::AlignLeft | Qt::AlignTop, detailShown);
}
