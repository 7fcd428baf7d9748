// SPDX-License-Identifier: GPL-3.0-or-later
// SelectDialog: a modal question answered with "取消", "确定" or a third answer between them.
#include "widgets/selectdialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SelectDialog::SelectDialog(const QString &text, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("SelectDialog"));
    setWindowTitle(QStringLiteral("Dialog"));
    resize(402, 205);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setAttribute(Qt::WA_StyledBackground);
    widget->setStyleSheet(QStringLiteral(
        "#widget{background-color: white; border: 1px solid rgb(220, 220, 220);}"
        "QPushButton{border: none; border-radius: 8px; font-size: 16px; padding: 0 16px;"
        " min-width: 80px; min-height: 30px;"
        " background-color: #D9D9D9;}"
        "QPushButton:focus{color: white; background-color: rgba(51, 51, 51, 1);}"));
    outer->addWidget(widget);

    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(24, 30, 24, 30);
    column->setSpacing(20);

    auto *label = new QLabel(text, widget);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("font-size: 18px; color: #202124; font-weight: bold;"));
    column->addWidget(label, 1);

    auto *row = new QHBoxLayout;
    row->setSpacing(30);
    auto *cancelButton = new QPushButton(tr("取消"), widget);
    cancelButton->setObjectName(QStringLiteral("pushButton"));
    alternativeButton = new QPushButton(widget);
    alternativeButton->setObjectName(QStringLiteral("pushButton_3"));
    alternativeButton->hide();
    okButton = new QPushButton(tr("确定"), widget);
    okButton->setObjectName(QStringLiteral("pushButton_2"));
    row->addStretch();
    row->addWidget(cancelButton);
    row->addWidget(alternativeButton);
    row->addWidget(okButton);
    row->addStretch();
    column->addLayout(row);

    connect(cancelButton, &QPushButton::clicked, this, &SelectDialog::on_pushButton_clicked);
    connect(okButton, &QPushButton::clicked, this, &SelectDialog::on_pushButton_2_clicked);
    connect(alternativeButton, &QPushButton::clicked, this, [this] { done(Alternative); });
    okButton->setFocus();
}

void SelectDialog::setConfirmText(const QString &text)
{
    okButton->setText(text);
}

void SelectDialog::addAlternative(const QString &text, bool focused)
{
    alternativeButton->setText(text);
    alternativeButton->show();
    if (focused)
        alternativeButton->setFocus();
}

void SelectDialog::showEvent(QShowEvent *event)
{
    // Every answer shows its whole text; the buttons measure it in the style sheet's font,
    // which they have only once polished, just before they show.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setMinimumWidth(button->sizeHint().width());
    resize(size().expandedTo(sizeHint()));
    NativeWindowTemplate<QDialog>::showEvent(event);
}

void SelectDialog::on_pushButton_clicked()
{
    reject();
}

void SelectDialog::on_pushButton_2_clicked()
{
    accept();
}
