// SPDX-License-Identifier: GPL-3.0-or-later
// ReasonDialog: asks why an action that changes or removes records is taken.
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// Looks like the window's other questions: the action named, a line for the
// reason, and "取消" / "确定"; "确定" stays disabled while the line is blank.
class ReasonDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    ReasonDialog(const QString &action, QWidget *parent = nullptr);

    QString reason() const;
    QLineEdit *reasonEdit() const { return edit; }
    QPushButton *okButton() const { return ok; }

    // With the switch off: true, and `reason` a null text. With it on: asks,
    // true with the reason given, false when the user cancelled.
    static bool ask(const QString &action, QWidget *parent, QString *reason);

private:
    QLineEdit *edit;
    QPushButton *ok;
};
