// SPDX-License-Identifier: GPL-3.0-or-later
// StateSwitchTransition: a transition taken by the StateSwitchEvent with its number.
#include "widgets/stateswitchtransition.h"

#include "widgets/stateswitchevent.h"

StateSwitchTransition::StateSwitchTransition(int value, QState *source)
    : QAbstractTransition(source), switchValue(value)
{
}

bool StateSwitchTransition::eventTest(QEvent *event)
{
    if (event->type() != StateSwitchEvent::switchType)
        return false;
    return static_cast<StateSwitchEvent *>(event)->value() == switchValue;
}

void StateSwitchTransition::onTransition(QEvent *) {}
