// SPDX-License-Identifier: GPL-3.0-or-later
// DevButton: one attached logger in the device selection dialog, with its picture and model name.
#pragma once

#include <QPixmap>
#include <QPushButton>

class DevButton : public QPushButton
{
    Q_OBJECT
public:
    DevButton(int devType, QWidget *parent = nullptr);

    int devType() const { return type; }
    // Position among the attached loggers of the same model.
    int devIndex() const { return index; }
    void setDevIndex(int devIndex) { index = devIndex; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont font;
    QPixmap pixmap;
    int type;
    int index = 0;
};
