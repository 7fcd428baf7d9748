// SPDX-License-Identifier: GPL-3.0-or-later
// Toggle: an animated on/off switch with a sliding knob.
#pragma once

#include <QAbstractButton>
#include <QColor>

class QState;
class QStateMachine;

class Toggle : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(double offset READ offset WRITE setOffset)
public:
    explicit Toggle(QWidget *parent = nullptr);

    // Knob position: 0 fully off, 1 fully on; animated between the two.
    double offset() const { return knobOffset; }
    QSize sizeHint() const override;

    // Top-left x of the knob on a switch of width `w` and height `h`.
    static int knobLeft(int w, int h, double offset);

public slots:
    void setOffset(double offset);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void followCheckedBeforeStart(bool checked);

    double knobOffset = 0;
    QStateMachine *machine = nullptr;
    QState *offState = nullptr;
    QState *onState = nullptr;
    QColor trackOnColor{255, 107, 0};
    QColor trackOffColor{244, 243, 244};
    QColor knobOnColor{244, 243, 244};
    QColor knobOffColor{255, 107, 0};
};
