// SPDX-License-Identifier: GPL-3.0-or-later
// ExportMenu: the toolbar's drop-down panel that chooses a PDF or a spreadsheet export, or signing
// a report.
#pragma once

#include <QWidget>

class SelectButton;

class ExportMenu : public QWidget
{
    Q_OBJECT
public:
    explicit ExportMenu(QWidget *parent = nullptr);

signals:
    // 0 PDF report, 1 spreadsheet, 2 signing a PDF report digitally.
    void sendExportTypeSignal(int type);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *widget;
    SelectButton *pdfBtn;
    SelectButton *excelBtn;
    SelectButton *signBtn;
};
