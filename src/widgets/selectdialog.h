// SPDX-License-Identifier: GPL-3.0-or-later
// SelectDialog: a modal question answered with "取消" or "确定".
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QLabel;

class SelectDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    // Asks `text`; exec() returns QDialog::Accepted only for "确定", which
    // holds the focus so that Return confirms.
    explicit SelectDialog(const QString &text, QWidget *parent = nullptr);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
};
