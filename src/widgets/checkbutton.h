// SPDX-License-Identifier: GPL-3.0-or-later
// A push button that paints itself as a small check box.
#pragma once

#include <QPushButton>

// Draws a 14 × 14 box centred in the button, orange with a tick when checked,
// grey and empty when not, blue while an enabled button is hovered.
class CheckButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CheckButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
