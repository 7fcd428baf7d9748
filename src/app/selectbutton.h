// SPDX-License-Identifier: GPL-3.0-or-later
// SelectButton: a drop-down menu entry drawn with its icon, its text and a right arrow.
#pragma once

#include <QPixmap>
#include <QPushButton>

class SelectButton : public QPushButton
{
    Q_OBJECT
public:
    explicit SelectButton(QWidget *parent = nullptr);
    // An entry of the toolbar's dark drop-down menus: white 14 px text, `iconPath` at the
    // left, a light frame under the pointer, 40 px high.
    SelectButton(const QString &iconPath, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap arrow;
};
