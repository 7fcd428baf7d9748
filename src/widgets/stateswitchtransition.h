// SPDX-License-Identifier: GPL-3.0-or-later
// StateSwitchTransition: a transition taken by the StateSwitchEvent with its number.
#pragma once

#include <QAbstractTransition>

class StateSwitchTransition : public QAbstractTransition
{
    Q_OBJECT
public:
    explicit StateSwitchTransition(int value, QState *source = nullptr);

    int value() const { return switchValue; }

protected:
    bool eventTest(QEvent *event) override;
    void onTransition(QEvent *event) override;

private:
    int switchValue;
};
