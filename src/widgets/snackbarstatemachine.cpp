// SPDX-License-Identifier: GPL-3.0-or-later
// SnackbarStateMachine: the show, wait and hide cycle of the transient notice.
#include "widgets/snackbarstatemachine.h"

#include "widgets/snackbar.h"
#include "widgets/stateswitchevent.h"
#include "widgets/stateswitchtransition.h"

#include <QPropertyAnimation>
#include <QState>
#include <QTimer>

SnackbarStateMachine::SnackbarStateMachine(Snackbar *parent)
    : QStateMachine(parent), snackbar(parent)
{
    timer = new QTimer(this);
    timer->setSingleShot(true);

    showState = new QState(this);
    waitState = new QState(this);
    hiddenState = new QState(this);
    showState->assignProperty(this, "offset", 0.0);
    waitState->assignProperty(this, "offset", 1.0);
    hiddenState->assignProperty(this, "offset", 0.0);
    setInitialState(hiddenState);

    auto *startShow = new StateSwitchTransition(StartShow, hiddenState);
    startShow->setTargetState(showState);
    // Entering show changes nothing visible (hidden already has offset 0);
    // without an instant animation of its own the default one would hold the
    // cycle for half a second before the notice starts to rise.
    auto *instant = new QPropertyAnimation(this, "offset", this);
    instant->setDuration(0);
    startShow->addAnimation(instant);
    (new StateSwitchTransition(StartWait, showState))->setTargetState(waitState);
    (new StateSwitchTransition(StartHide, waitState))->setTargetState(hiddenState);

    auto *animation = new QPropertyAnimation(this, "offset", this);
    animation->setDuration(500);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    addDefaultAnimation(animation);

    connect(showState, &QState::propertiesAssigned, this, &SnackbarStateMachine::sendShowEvent);
    connect(waitState, &QState::propertiesAssigned, this, &SnackbarStateMachine::startShowTimer);
    connect(hiddenState, &QState::propertiesAssigned, this, &SnackbarStateMachine::stateClose);
    connect(timer, &QTimer::timeout, this, &SnackbarStateMachine::sendWaitEvent);
}

void SnackbarStateMachine::setOffset(double offset)
{
    shownPart = offset;
    snackbar->offsetChanged();
}

void SnackbarStateMachine::sendShowEvent()
{
    postEvent(new StateSwitchEvent(StartWait));
}

void SnackbarStateMachine::startShowTimer()
{
    timer->start(snackbar->holdTime());
}

void SnackbarStateMachine::sendWaitEvent()
{
    timer->stop();
    postEvent(new StateSwitchEvent(StartHide));
}
