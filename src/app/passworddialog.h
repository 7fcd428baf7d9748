// SPDX-License-Identifier: GPL-3.0-or-later
// PasswordDialog: asks the signer's password again at the moment of signing.
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Names who signs and which password is meant (the computer account's, or
// the team archive's); after a wrong one it says how many tries are left
// before signing locks.
class PasswordDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    PasswordDialog(const QString &signer, bool teamArchive, QWidget *parent = nullptr);

    // The password typed, as UTF-8; the line is emptied.
    QByteArray takePassword();
    // Shown in red above the line, after a wrong password.
    void setError(const QString &text);

    QLineEdit *passwordEdit() const { return edit; }
    QLabel *errorLabel() const { return error; }
    QPushButton *okButton() const { return ok; }

private:
    QLineEdit *edit;
    QLabel *error;
    QPushButton *ok;
};
