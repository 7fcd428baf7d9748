// SPDX-License-Identifier: GPL-3.0-or-later
// Snackbar: the transient notice laid over a window that rises, holds and sinks.
#pragma once

#include <QStringList>
#include <QWidget>

class SnackbarStateMachine;

// Notices wait their turn: each one rises, holds for the full hold time and
// sinks before the next one rises. Only the notice's own box takes the mouse;
// everywhere else a click reaches the window beneath.
class Snackbar : public QWidget
{
    Q_OBJECT
public:
    explicit Snackbar(QWidget *parent = nullptr);
    ~Snackbar() override;

    // Shows `text` after the notices before it. A text equal to the last one
    // asked for, while that one is still to come or on screen, is not shown
    // twice; an empty text shows nothing and takes no turn.
    void showText(const QString &text);

    // The last notice asked for, whether it is on screen yet or not.
    QString text() const { return latestText; }
    // The notice on screen (or sinking away), empty between notices.
    QString shownText() const { return currentText; }
    // The notices still to come, in their order.
    QStringList pendingTexts() const { return queue; }
    int holdTime() const { return holdMs; }
    // True once the last notice has sunk away and none waits (and before the first one).
    bool isEnded() const { return endFlag; }
    SnackbarStateMachine *stateMachine() const { return machine; }
    // The part of the box showing now, in the snackbar's coordinates; empty when hidden.
    QRect visibleBox() const;

public slots:
    void setEndAnimationFlag();
    // The machine moved the box: the part that takes the mouse moves with it.
    void offsetChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startNext(const QString &text);
    QFont boxFont() const;

    QString latestText;
    QString currentText;
    QStringList queue;
    int holdMs = 2400;
    int boxWidth = 400;
    bool endFlag = true;
    SnackbarStateMachine *machine = nullptr;
};
