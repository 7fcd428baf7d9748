// SPDX-License-Identifier: GPL-3.0-or-later
// AboutDialog: the about box with the program's logo, name, version and licence notice.
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QLabel;

class AboutDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    // Shows `version` (such as "V 1.1.2") under the logo.
    explicit AboutDialog(const QString &version, QWidget *parent = nullptr);

    QString versionText() const;

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_closeBtn_clicked();

private:
    void retranslate();
    // Grows the box to the height its wrapped notice needs at the box's width.
    void fitHeight();

    QWidget *body = nullptr;
    QLabel *logoLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *copyrightLabel = nullptr;
    QLabel *licenceLabel = nullptr;
};
