// SPDX-License-Identifier: GPL-3.0-or-later
// SelectDialog: a modal question answered with "取消", "确定" or a third answer between them.
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QPushButton;

class SelectDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    // What exec() returns for the answer added by addAlternative.
    static constexpr int Alternative = 2;

    // Asks `text`; exec() returns QDialog::Accepted only for "确定", which
    // holds the focus so that Return confirms.
    explicit SelectDialog(const QString &text, QWidget *parent = nullptr);

    // Names the confirming answer in place of "确定".
    void setConfirmText(const QString &text);
    // Adds a third answer between the two; with `focused` it takes the focus, so
    // that Return chooses it rather than the confirming one.
    void addAlternative(const QString &text, bool focused);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();

private:
    QPushButton *okButton;
    QPushButton *alternativeButton;
};
