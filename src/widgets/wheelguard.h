// SPDX-License-Identifier: GPL-3.0-or-later
// WheelGuard: a mouse wheel changes a combo box or spin box only after the user clicked it.
#pragma once

#include <QObject>

class QWidget;

// A wheel turned over a control that has no focus scrolls the scroll area that
// holds it (or goes to its parents when none does) and leaves the control as
// it is, so scrolling a form never rewrites the value that happens to pass
// under the pointer. Once the control has focus (clicked or tabbed to), the
// wheel steps it as usual.
class WheelGuard : public QObject
{
    Q_OBJECT
public:
    // Guards every combo box and spin box below `root`; the guard is a child of `root`.
    static void install(QWidget *root);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
