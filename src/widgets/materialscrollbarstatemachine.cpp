// SPDX-License-Identifier: GPL-3.0-or-later
// MaterialScrollBarStateMachine: fades the thin scroll bar in and out with the pointer.
#include "widgets/materialscrollbarstatemachine.h"

#include "widgets/materialscrollbar.h"

#include <QEventTransition>
#include <QPropertyAnimation>
#include <QState>

MaterialScrollBarStateMachine::MaterialScrollBarStateMachine(MaterialScrollBar *parent)
    : QStateMachine(parent), scrollBar(parent)
{
    auto *shownState = new QState(this);
    auto *hiddenState = new QState(this);
    shownState->assignProperty(this, "opacity", 1.0);
    hiddenState->assignProperty(this, "opacity", 0.0);
    setInitialState(hiddenState);

    auto *enter = new QEventTransition(parent, QEvent::Enter, hiddenState);
    enter->setTargetState(shownState);
    auto *leave = new QEventTransition(parent, QEvent::Leave, shownState);
    leave->setTargetState(hiddenState);

    auto *animation = new QPropertyAnimation(this, "opacity", this);
    animation->setDuration(340);
    addDefaultAnimation(animation);
}

void MaterialScrollBarStateMachine::setOpacity(double opacity)
{
    shownOpacity = opacity;
    scrollBar->update();
}
