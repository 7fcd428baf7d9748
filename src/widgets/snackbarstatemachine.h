// SPDX-License-Identifier: GPL-3.0-or-later
// SnackbarStateMachine: the show, wait and hide cycle of the transient notice.
#pragma once

#include <QStateMachine>

class QState;
class QTimer;
class Snackbar;

class SnackbarStateMachine : public QStateMachine
{
    Q_OBJECT
    Q_PROPERTY(double offset READ offset WRITE setOffset)
public:
    // Event numbers that move the cycle on: hidden to show, show to wait,
    // wait to hidden.
    enum Step { StartShow = 1, StartWait = 2, StartHide = 3 };

    explicit SnackbarStateMachine(Snackbar *parent);

    // How much of the notice shows: 0 hidden, 1 fully shown.
    double offset() const { return shownPart; }

signals:
    void stateClose();

public slots:
    void setOffset(double offset);
    void sendShowEvent();
    void startShowTimer();
    void sendWaitEvent();

private:
    Snackbar *snackbar;
    double shownPart = 0;
    QTimer *timer = nullptr;
    QState *showState = nullptr;
    QState *waitState = nullptr;
    QState *hiddenState = nullptr;
};
