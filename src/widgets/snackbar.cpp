// SPDX-License-Identifier: GPL-3.0-or-later
// Snackbar: the transient notice laid over a window that rises, holds and sinks.
#include "widgets/snackbar.h"

#include "widgets/snackbarstatemachine.h"
#include "widgets/stateswitchevent.h"

#include <QFontMetrics>
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
    latestText = text;
    if (text.isEmpty())
        return;
    const QString &last = queue.isEmpty() ? currentText : queue.constLast();
    if (!endFlag && text == last)
        return;
    if (endFlag)
        startNext(text);
    else
        queue.append(text);
}

void Snackbar::startNext(const QString &text)
{
    endFlag = false;
    currentText = text;
    offsetChanged();
    if (machine->isRunning())
        machine->postEvent(new StateSwitchEvent(SnackbarStateMachine::StartShow));
}

void Snackbar::setEndAnimationFlag()
{
    if (!queue.isEmpty()) {
        startNext(queue.takeFirst());
        return;
    }
    endFlag = true;
    currentText.clear();
    offsetChanged();
}

QFont Snackbar::boxFont() const
{
    QFont boxFont = font();
    boxFont.setPixelSize(24);
    return boxFont;
}

QRect Snackbar::visibleBox() const
{
    if (currentText.isEmpty())
        return QRect();
    const QRect textRect = QFontMetrics(boxFont()).boundingRect(QRect(0, 0, boxWidth, 60),
                                                                Qt::AlignCenter, currentText);
    QRect box = textRect.adjusted(-40, -10, 40, 10);
    box.moveCenter(QPoint(width() / 2, height() - 1 - 199));
    // The box grows upward from its bottom edge as the notice rises.
    const int visible = static_cast<int>(box.height() * machine->offset());
    if (visible <= 0)
        return QRect();
    return QRect(box.left(), box.bottom() - visible + 1, box.width(), visible);
}

void Snackbar::offsetChanged()
{
    // The overlay covers the whole window, but only the box it shows may take
    // a click; with nothing showing it takes none.
    const QRect box = visibleBox();
    setAttribute(Qt::WA_TransparentForMouseEvents, box.isEmpty());
    setMask(box.isEmpty() ? QRegion() : QRegion(box));
    update();
}

void Snackbar::resizeEvent(QResizeEvent *event)
{
    offsetChanged();
    QWidget::resizeEvent(event);
}

void Snackbar::paintEvent(QPaintEvent *)
{
    const QRect part = visibleBox();
    if (part.isEmpty())
        return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(boxFont());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(part, 4, 4);
    // The text rises with the box and is cut where the box still hides it.
    painter.setClipRect(part);
    painter.setPen(Qt::white);
    painter.drawText(part, Qt::AlignCenter, currentText);
}
