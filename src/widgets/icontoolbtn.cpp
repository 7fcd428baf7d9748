// SPDX-License-Identifier: GPL-3.0-or-later
// IconToolBtn: a tool bar push button painted from an icon and a text.
#include "widgets/icontoolbtn.h"

#include <QIcon>
#include <QPainter>

IconToolBtn::IconToolBtn(QWidget *parent) : QPushButton(parent)
{
    setAttribute(Qt::WA_Hover, true);
}

void IconToolBtn::setNormalPixmap(const QPixmap &pixmap)
{
    normal = pixmap;
    const QSize size = pixmap.size() / pixmap.devicePixelRatioF();
    disabled = QIcon(pixmap).pixmap(size, QIcon::Disabled);
    update();
}

void IconToolBtn::setCheckedPixmap(const QPixmap &pixmap)
{
    checked = pixmap.copy();
    update();
}

namespace
{
// Between the icon and the text.
constexpr int iconGap = 6;
} // namespace

int IconToolBtn::contentWidth() const
{
    const int iconWidth = normal.isNull() ? 0 : qRound(normal.width() / normal.devicePixelRatioF());
    return iconWidth + iconGap + fontMetrics().horizontalAdvance(text());
}

void IconToolBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QRectF background(1, 1, width() - 2, height() - 2);
    const QPixmap *icon = &normal;
    QColor textColor = Qt::black;
    if (!isEnabled()) {
        icon = &disabled;
        textColor = QColor(153, 153, 153);
    } else if (isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(32, 33, 36));
        painter.drawRoundedRect(background, 4, 4);
        icon = &checked;
        textColor = Qt::white;
    } else if (underMouse()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(238, 238, 238));
        painter.drawRoundedRect(background, 4, 4);
    }

    const QSize iconSize = icon->isNull() ? QSize() : icon->size() / icon->devicePixelRatioF();
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int left = (width() - iconSize.width() - textWidth - 2) / 2;
    if (!icon->isNull())
        painter.drawPixmap(QRect(QPoint(left, (height() - iconSize.height()) / 2), iconSize),
                           *icon);

    painter.setPen(textColor);
    const int textLeft = left + iconSize.width() + iconGap;
    painter.drawText(QRect(textLeft, 0, width() - textLeft, height() - 4),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}
