// SPDX-License-Identifier: GPL-3.0-or-later
// StateSwitchEvent: a custom event that carries the number of a state switch.
#pragma once

#include <QEvent>

class StateSwitchEvent : public QEvent
{
public:
    static constexpr QEvent::Type switchType = static_cast<QEvent::Type>(1001);

    explicit StateSwitchEvent(int value) : QEvent(switchType), switchValue(value) {}

    int value() const { return switchValue; }

private:
    int switchValue;
};
