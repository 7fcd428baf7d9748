// SPDX-License-Identifier: GPL-3.0-or-later
// WheelGuard: a mouse wheel changes a combo box or spin box only after the user clicked it.
#include "widgets/wheelguard.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QWheelEvent>

void WheelGuard::install(QWidget *root)
{
    auto *guard = new WheelGuard(root);
    QList<QWidget *> controls;
    for (QComboBox *combo : root->findChildren<QComboBox *>())
        controls << combo;
    for (QAbstractSpinBox *spin : root->findChildren<QAbstractSpinBox *>())
        controls << spin;
    for (QWidget *control : qAsConst(controls)) {
        // With wheel focus the wheel itself would give the control focus first.
        if (control->focusPolicy() == Qt::WheelFocus)
            control->setFocusPolicy(Qt::StrongFocus);
        control->installEventFilter(guard);
    }
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto *control = static_cast<QWidget *>(watched);
    if (control->hasFocus())
        return false;
    QAbstractScrollArea *area = nullptr;
    for (QWidget *w = control->parentWidget(); w && !area; w = w->parentWidget())
        area = qobject_cast<QAbstractScrollArea *>(w);
    if (!area) {
        // Ignored and not delivered: the application offers it to the parents.
        event->ignore();
        return true;
    }
    const auto *wheel = static_cast<QWheelEvent *>(event);
    QWidget *viewport = area->viewport();
    const QPointF pos = viewport->mapFromGlobal(wheel->globalPosition().toPoint());
    QWheelEvent scroll(pos, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                       wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                       wheel->source());
    QCoreApplication::sendEvent(viewport, &scroll);
    return true;
}
