// SPDX-License-Identifier: GPL-3.0-or-later
// MaterialScrollBarStateMachine: fades the thin scroll bar in and out with the pointer.
#pragma once

#include <QStateMachine>

class MaterialScrollBar;

class MaterialScrollBarStateMachine : public QStateMachine
{
    Q_OBJECT
    Q_PROPERTY(double opacity READ opacity WRITE setOpacity)
public:
    explicit MaterialScrollBarStateMachine(MaterialScrollBar *parent);

    double opacity() const { return shownOpacity; }

public slots:
    void setOpacity(double opacity);

private:
    MaterialScrollBar *scrollBar;
    double shownOpacity = 0;
};
