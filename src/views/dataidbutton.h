// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's checkable series button: a tick box, the series icon and its unit.
#pragma once

#include <QPixmap>
#include <QPushButton>

class DataIdButton : public QPushButton
{
    Q_OBJECT
public:
    explicit DataIdButton(QWidget *parent = nullptr);

    QPixmap pixmap() const { return mPixmap; }
    // Keeps the pixmap scaled to 18 × 18 (aspect ratio kept) and repaints.
    void setPixmap(const QPixmap &pixmap);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap mPixmap;
};
