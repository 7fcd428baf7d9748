// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogframe.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dialogframe
{

QWidget *frame(QDialog *dialog)
{
    auto *outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *widget = new QWidget(dialog);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setAttribute(Qt::WA_StyledBackground);
    widget->setStyleSheet(QStringLiteral(
        "#widget{background-color: white; border: 1px solid rgb(220, 220, 220);}"
        "QLineEdit, QComboBox{border: 1px solid #D9D9D9; border-radius: 6px; font-size: 15px;"
        " padding: 4px 8px; min-height: 24px;}"
        "QPushButton{border: none; border-radius: 8px; font-size: 16px; padding: 0 16px;"
        " min-width: 80px; min-height: 30px; background-color: #D9D9D9;}"
        "QPushButton:default:enabled{color: white; background-color: rgba(51, 51, 51, 1);}"
        "QPushButton:disabled{color: #A0A0A0;}"));
    outer->addWidget(widget);
    return widget;
}

QLabel *title(QWidget *panel, const QString &text)
{
    auto *label = new QLabel(text, panel);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("font-size: 18px; color: #202124; font-weight: bold;"));
    return label;
}

QPushButton *addButtons(QDialog *dialog, QWidget *panel, QVBoxLayout *column)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(30);
    auto *cancel = new QPushButton(QCoreApplication::translate("ReasonDialog", "取消"), panel);
    cancel->setObjectName(QStringLiteral("pushButton"));
    cancel->setAutoDefault(false);
    auto *ok = new QPushButton(QCoreApplication::translate("ReasonDialog", "确定"), panel);
    ok->setObjectName(QStringLiteral("pushButton_2"));
    ok->setDefault(true);
    row->addStretch();
    row->addWidget(cancel);
    row->addWidget(ok);
    row->addStretch();
    column->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return ok;
}

} // namespace dialogframe
