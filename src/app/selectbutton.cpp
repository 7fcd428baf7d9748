// SPDX-License-Identifier: GPL-3.0-or-later
// SelectButton: a drop-down menu entry drawn with its icon, its text and a right arrow.
#include "app/selectbutton.h"

#include <QIcon>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

SelectButton::SelectButton(QWidget *parent)
    : QPushButton(parent), arrow(QStringLiteral(":/img/ic_right_arrow.png"))
{
}

SelectButton::SelectButton(const QString &iconPath, QWidget *parent) : SelectButton(parent)
{
    setStyleSheet(QStringLiteral(
        "QPushButton{border: none; background: transparent; color: white; font-size: 14px;"
        " padding-left: 8px; text-align: left;}"
        "QPushButton:hover{border: 2px solid #CFCFCF; border-radius: 8px;}"));
    setIcon(QIcon(iconPath));
    setIconSize(QSize(20, 20));
    setFixedHeight(40);
}

void SelectButton::paintEvent(QPaintEvent *)
{
    {
        // Background, border and icon come from the style sheet; the text is drawn below
        // at a fixed column so every entry of a menu lines up whatever its icon.
        QStylePainter stylePainter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        stylePainter.drawControl(QStyle::CE_PushButton, option);
    }

    // A painter opened on the button starts with its font and text colour.
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.drawText(QRect(QPoint(40, 0), QPoint(w + 39, h - 1)), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
    const QSize arrowSize = arrow.size() / arrow.devicePixelRatioF();
    painter.drawPixmap(w - arrowSize.width() - 2, (h - arrowSize.height()) / 2, arrow);
}
