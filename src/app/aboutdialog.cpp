// SPDX-License-Identifier: GPL-3.0-or-later
// AboutDialog: the about box with the program's logo and version.
#include "app/aboutdialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(const QString &version, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("关于"));
    setMinimumSize(473, 378);
    resize(473, 378);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *titleWidget = new QWidget(this);
    titleWidget->setObjectName(QStringLiteral("titleWidget"));
    titleWidget->setFixedHeight(32);
    titleWidget->setAttribute(Qt::WA_StyledBackground);
    titleWidget->setStyleSheet(
        QStringLiteral("#titleWidget{background-color: rgba(32, 33, 36, 1);}"));
    auto *titleRow = new QHBoxLayout(titleWidget);
    titleRow->setContentsMargins(12, 0, 0, 0);
    logoLabel = new QLabel(tr("关于"), titleWidget);
    logoLabel->setObjectName(QStringLiteral("logoLabel"));
    logoLabel->setStyleSheet(QStringLiteral("color: white; font-size: 12px;"));
    titleRow->addWidget(logoLabel);
    titleRow->addStretch();
    auto *closeBtn = new QPushButton(titleWidget);
    closeBtn->setObjectName(QStringLiteral("closeBtn"));
    closeBtn->setMinimumSize(38, 28);
    closeBtn->setIcon(QIcon(QStringLiteral(":/img/ic_app_close.png")));
    closeBtn->setIconSize(QSize(22, 22));
    closeBtn->setStyleSheet(
        QStringLiteral("QPushButton{border: none;}QPushButton:hover{background: rgb(255, 0, 0);}"));
    titleRow->addWidget(closeBtn);
    outer->addWidget(titleWidget);

    auto *widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setAttribute(Qt::WA_StyledBackground);
    widget->setStyleSheet(
        QStringLiteral("#widget{background-color: white; border: 1px solid rgb(220, 220, 220);"
                       " border-top: none;}"));
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(20, 40, 20, 50);
    column->setSpacing(20);
    auto *picture = new QLabel(widget);
    picture->setObjectName(QStringLiteral("label_2"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(QIcon(QStringLiteral(":/img/logo.ico")).pixmap(128, 128));
    column->addWidget(picture, 1);
    versionLabel = new QLabel(version, widget);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    versionLabel->setAlignment(Qt::AlignCenter);
    versionLabel->setStyleSheet(QStringLiteral("font-size: 18px;"));
    column->addWidget(versionLabel);
    outer->addWidget(widget, 1);

    connect(closeBtn, &QPushButton::clicked, this, &AboutDialog::on_closeBtn_clicked);

    setBorderWidth(8);
    setTitleBar(titleWidget);
    setResizeable(false);
}

QString AboutDialog::versionText() const
{
    return versionLabel->text();
}

void AboutDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("关于"));
        logoLabel->setText(tr("关于"));
    }
    NativeWindowTemplate<QDialog>::changeEvent(event);
}

void AboutDialog::on_closeBtn_clicked()
{
    reject();
}
