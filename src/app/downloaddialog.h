// SPDX-License-Identifier: GPL-3.0-or-later
// DownloadDialog: the modal progress dialog shown while a recording downloads.
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class DownloadDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    explicit DownloadDialog(QWidget *parent = nullptr);

    // The error that ended the download; 0 when the user cancelled it.
    int errorCode() const { return error; }

    QProgressBar *progressBar() const { return bar; }
    QLabel *progressLabel() const { return percentLabel; }

public slots:
    // Shows `cur` of `total` as a whole percentage; at 100 % the dialog
    // accepts half a second later.
    void updateProgress(int cur, int total);
    void stopDownErr(int err);

private slots:
    void on_cancelBtn_clicked();

private:
    void buildForm();

    int error = 0;
    QProgressBar *bar = nullptr;
    QLabel *percentLabel = nullptr;
};
