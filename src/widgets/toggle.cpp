// SPDX-License-Identifier: GPL-3.0-or-later
// Toggle: an animated on/off switch with a sliding knob.
#include "widgets/toggle.h"

#include <QPainter>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>

Toggle::Toggle(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFixedSize(54, 32);
    setCursor(Qt::PointingHandCursor);

    machine = new QStateMachine(this);
    offState = new QState(machine);
    onState = new QState(machine);
    offState->assignProperty(this, "offset", 0.0);
    onState->assignProperty(this, "offset", 1.0);
    offState->addTransition(this, &QAbstractButton::toggled, onState);
    onState->addTransition(this, &QAbstractButton::toggled, offState);
    machine->setInitialState(offState);

    auto *animation = new QPropertyAnimation(this, "offset", machine);
    animation->setDuration(300);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    machine->addDefaultAnimation(animation);

    // The machine starts from the event loop; a state set in code before that
    // (a form filling itself right after construction) would otherwise be lost.
    connect(this, &QAbstractButton::toggled, this, &Toggle::followCheckedBeforeStart);
    machine->start();
}

QSize Toggle::sizeHint() const
{
    return {54, 32};
}

int Toggle::knobLeft(int w, int h, double offset)
{
    return static_cast<int>((w - h) * offset + 8);
}

void Toggle::setOffset(double offset)
{
    knobOffset = offset;
    update();
}

void Toggle::followCheckedBeforeStart(bool checked)
{
    if (machine->isRunning())
        return;
    machine->setInitialState(checked ? onState : offState);
    setOffset(checked ? 1.0 : 0.0);
}

void Toggle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const int w = width();
    const int h = height();
    const bool on = isChecked();

    painter.setBrush(on ? trackOnColor : trackOffColor);
    const int radius = (h - 12) / 2;
    painter.drawRoundedRect(QRect(6, 6, w - 12, h - 12), radius, radius);

    painter.setBrush(on ? knobOnColor : knobOffColor);
    painter.drawEllipse(QRect(knobLeft(w, h, knobOffset), 8, h - 16, h - 16));
}
