// SPDX-License-Identifier: GPL-3.0-or-later
// Snackbar: the transient notice laid over a window that rises, holds and sinks.
#pragma once

#include <QWidget>

class SnackbarStateMachine;

class Snackbar : public QWidget
{
    Q_OBJECT
public:
    explicit Snackbar(QWidget *parent = nullptr);
    ~Snackbar() override;

    // Shows `text`; while a notice is under way the text is replaced and the
    // running cycle goes on.
    void showText(const QString &text);

    QString text() const { return shownText; }
    int holdTime() const { return holdMs; }
    // True once the last notice has sunk away (and before the first one).
    bool isEnded() const { return endFlag; }
    SnackbarStateMachine *stateMachine() const { return machine; }

public slots:
    void setEndAnimationFlag();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString shownText;
    int holdMs = 2400;
    int boxWidth = 400;
    bool endFlag = true;
    SnackbarStateMachine *machine = nullptr;
};
