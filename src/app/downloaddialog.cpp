// SPDX-License-Identifier: GPL-3.0-or-later
// DownloadDialog: the modal progress dialog shown while a recording downloads.
#include "app/downloaddialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

DownloadDialog::DownloadDialog(QWidget *parent) : NativeWindowTemplate<QDialog>(parent)
{
    buildForm();
    bar->setRange(0, 100);
}

void DownloadDialog::buildForm()
{
    setObjectName(QStringLiteral("DownloadDialog"));
    setWindowTitle(tr("下载"));
    resize(354, 207);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setAttribute(Qt::WA_StyledBackground);
    // Without a system frame a thin border keeps the dialog apart from a
    // white window below it.
    widget->setStyleSheet(
        QStringLiteral("#widget{background-color: white; border: 1px solid rgb(220, 220, 220);}"));
    outer->addWidget(widget);

    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(30, 20, 30, 24);
    column->setSpacing(12);

    auto *progressArea = new QWidget(widget);
    progressArea->setObjectName(QStringLiteral("widget_2"));
    progressArea->setMinimumHeight(100);
    auto *progressColumn = new QVBoxLayout(progressArea);
    progressColumn->setContentsMargins(0, 0, 0, 0);
    progressColumn->setSpacing(8);

    auto *label = new QLabel(tr("下载数据中..."), progressArea);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #333333; font-size: 20px; font-weight: 500;"));
    progressColumn->addWidget(label);

    bar = new QProgressBar(progressArea);
    bar->setObjectName(QStringLiteral("progressBar"));
    bar->setMinimumHeight(24);
    bar->setValue(0);
    bar->setFormat(QString());
    bar->setTextVisible(false);
    bar->setStyleSheet(QStringLiteral(
        "QProgressBar{background: transparent; border: 1px solid rgb(203, 203, 203);"
        " border-radius: 4px;}"
        "QProgressBar::chunk{background-color: #F97932; border-radius: 6px; width: 8px;"
        " margin: 2px;}"));
    progressColumn->addWidget(bar);

    percentLabel = new QLabel(QStringLiteral("0%"), progressArea);
    percentLabel->setObjectName(QStringLiteral("progressLabel"));
    percentLabel->setMaximumHeight(21);
    percentLabel->setAlignment(Qt::AlignCenter);
    percentLabel->setStyleSheet(QStringLiteral("color: #363636; font-size: 16px;"));
    progressColumn->addWidget(percentLabel);
    column->addWidget(progressArea);

    auto *cancelBtn = new QPushButton(tr("取消下载"), widget);
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    cancelBtn->setMinimumHeight(40);
    // White on a grey dark enough to read (light grey left the text unreadable).
    cancelBtn->setStyleSheet(
        QStringLiteral("QPushButton{color: white; font-size: 20px; font-weight: 500;"
                       " background-color: rgb(102, 102, 102); border: none; border-radius: 4px;}"
                       "QPushButton:hover{background-color: rgb(51, 51, 51);}"));
    column->addWidget(cancelBtn);

    connect(bar, &QProgressBar::valueChanged, percentLabel,
            [this](int value) { percentLabel->setText(QStringLiteral("%1%").arg(value)); });
    connect(cancelBtn, &QPushButton::clicked, this, &DownloadDialog::on_cancelBtn_clicked);
}

void DownloadDialog::updateProgress(int cur, int total)
{
    // Whole percent, truncated; integer arithmetic keeps 29 of 100 at 29. A
    // logger that reports no full block still sends block 1, which is then the
    // last one: it completes the download instead of leaving the dialog open.
    if (total <= 0 && cur <= 0)
        return;
    const qint64 percent = total <= 0 ? 100 : qint64(cur) * 100 / total;
    if (percent < 0 || percent > 100)
        return;
    bar->setValue(static_cast<int>(percent));
    if (percent == 100)
        QTimer::singleShot(500, this, &QDialog::accept);
}

void DownloadDialog::stopDownErr(int err)
{
    error = err;
    reject();
}

void DownloadDialog::on_cancelBtn_clicked()
{
    reject();
}
