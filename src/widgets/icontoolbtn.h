// SPDX-License-Identifier: GPL-3.0-or-later
// IconToolBtn: a tool bar push button painted from an icon and a text.
#pragma once

#include <QPixmap>
#include <QPushButton>

class IconToolBtn : public QPushButton
{
    Q_OBJECT
public:
    explicit IconToolBtn(QWidget *parent = nullptr);

    // Also makes the disabled picture from it.
    void setNormalPixmap(const QPixmap &pixmap);
    void setCheckedPixmap(const QPixmap &pixmap);

    QPixmap disabledPixmap() const { return disabled; }

    // The width of the icon and the text side by side, as painted.
    int contentWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap normal;
    QPixmap checked;
    QPixmap disabled;
};
