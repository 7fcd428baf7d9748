// SPDX-License-Identifier: GPL-3.0-or-later
// ExportMenu: the toolbar's drop-down panel that chooses a PDF or a spreadsheet export, or signing
// a report.
#include "app/exportmenu.h"

#include "app/selectbutton.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

ExportMenu::ExportMenu(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ExportMenu"));
    setFixedSize(160, 128);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(0);
    widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    layout->addWidget(widget);

    auto *entries = new QVBoxLayout(widget);
    entries->setContentsMargins(0, 0, 0, 0);
    entries->setSpacing(0);
    pdfBtn = new SelectButton(QStringLiteral(":/img/ic_ex_pdf.png"), widget);
    pdfBtn->setObjectName(QStringLiteral("pdfBtn"));
    pdfBtn->setText(QStringLiteral("PDF"));
    excelBtn = new SelectButton(QStringLiteral(":/img/ic_ex_excel.png"), widget);
    excelBtn->setObjectName(QStringLiteral("excelBtn"));
    excelBtn->setText(QStringLiteral("Excel"));
    signBtn = new SelectButton(QStringLiteral(":/img/ic_ex_pdf.png"), widget);
    signBtn->setObjectName(QStringLiteral("signBtn"));
    signBtn->setText(tr("签名报告"));
    entries->addWidget(pdfBtn);
    entries->addWidget(excelBtn);
    entries->addWidget(signBtn);

    connect(pdfBtn, &QPushButton::clicked, this, [this] { emit sendExportTypeSignal(0); });
    connect(excelBtn, &QPushButton::clicked, this, [this] { emit sendExportTypeSignal(1); });
    connect(signBtn, &QPushButton::clicked, this, [this] { emit sendExportTypeSignal(2); });
}

void ExportMenu::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        signBtn->setText(tr("签名报告"));
    QWidget::changeEvent(event);
}

void ExportMenu::paintEvent(QPaintEvent *)
{
    // The pointer sits at three quarters of the width, above the toolbar button.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(32, 33, 36));
    const int tip = width() * 3 / 4;
    painter.drawPolygon(QPolygon({QPoint(tip, 0), QPoint(tip - 8, 13), QPoint(tip + 8, 13)}));
    const QRect body = widget->geometry();
    painter.drawRoundedRect(body.adjusted(1, 1, -1, -1), 8, 8);
}
