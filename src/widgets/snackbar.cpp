// SPDX-License-Identifier: GPL-3.0-or-later
// Snackbar: the transient notice laid over a window that rises, holds and sinks.
#include "widgets/snackbar.h"

#include "widgets/snackbarstatemachine.h"
#include "widgets/stateswitchevent.h"

#include <QPainter>

Snackbar::Snackbar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    machine = new SnackbarStateMachine(this);
    connect(machine, &SnackbarStateMachine::stateClose, this, &Snackbar::setEndAnimationFlag);
    // A notice asked for before the machine runs (it starts from the event
    // loop) is shown as soon as it does.
    connect(machine, &QStateMachine::started, this, [this] {
        if (!endFlag)
            machine->postEvent(new StateSwitchEvent(SnackbarStateMachine::StartShow));
    });
    machine->start();
}

Snackbar::~Snackbar()
{
    machine->stop();
    delete machine;
}

void Snackbar::showText(const QString &text)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    endFlag = false;
    shownText = text;
    update();
    if (machine->isRunning())
        machine->postEvent(new StateSwitchEvent(SnackbarStateMachine::StartShow));
}

void Snackbar::setEndAnimationFlag()
{
    endFlag = true;
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

void Snackbar::paintEvent(QPaintEvent *)
{
    if (shownText.isEmpty())
        return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(24);
    painter.setFont(font);

    const QRect textRect =
        painter.boundingRect(QRect(0, 0, boxWidth, 60), Qt::AlignCenter, shownText);
    QRect box = textRect.adjusted(-40, -10, 40, 10);
    box.moveCenter(QPoint(width() / 2, height() - 1 - 199));

    const int visible = static_cast<int>(box.height() * machine->offset());
    if (visible == 0)
        return;
    const QRect part(box.left(), box.bottom() - visible + 1, box.width(), visible);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(part, 4, 4);
    // The text rises with the box and is cut where the box still hides it.
    painter.setClipRect(part);
    painter.setPen(Qt::white);
    painter.drawText(part, Qt::AlignCenter, shownText);
}
