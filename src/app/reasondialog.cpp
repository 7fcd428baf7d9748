// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reasondialog.h"

#include "core/auditsettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReasonDialog::ReasonDialog(const QString &action, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("ReasonDialog"));
    setWindowTitle(tr("原因"));
    resize(402, 225);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setAttribute(Qt::WA_StyledBackground);
    widget->setStyleSheet(QStringLiteral(
        "#widget{background-color: white; border: 1px solid rgb(220, 220, 220);}"
        "QLineEdit{border: 1px solid #D9D9D9; border-radius: 6px; font-size: 15px;"
        " padding: 4px 8px; min-height: 24px;}"
        "QPushButton{border: none; border-radius: 8px; font-size: 16px; padding: 0 16px;"
        " min-width: 80px; min-height: 30px; background-color: #D9D9D9;}"
        "QPushButton:default:enabled{color: white; background-color: rgba(51, 51, 51, 1);}"
        "QPushButton:disabled{color: #A0A0A0;}"));
    outer->addWidget(widget);

    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(24, 26, 24, 26);
    column->setSpacing(16);
    auto *label = new QLabel(tr("%1：请填写原因").arg(action), widget);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("font-size: 18px; color: #202124; font-weight: bold;"));
    column->addWidget(label, 1);
    edit = new QLineEdit(widget);
    edit->setObjectName(QStringLiteral("reasonEdit"));
    edit->setPlaceholderText(tr("原因"));
    column->addWidget(edit);

    auto *row = new QHBoxLayout;
    row->setSpacing(30);
    auto *cancel = new QPushButton(tr("取消"), widget);
    cancel->setObjectName(QStringLiteral("pushButton"));
    cancel->setAutoDefault(false);
    ok = new QPushButton(tr("确定"), widget);
    ok->setObjectName(QStringLiteral("pushButton_2"));
    ok->setDefault(true);
    ok->setEnabled(false);
    row->addStretch();
    row->addWidget(cancel);
    row->addWidget(ok);
    row->addStretch();
    column->addLayout(row);

    connect(edit, &QLineEdit::textChanged, this, [this] { ok->setEnabled(!reason().isEmpty()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    edit->setFocus();
}

QString ReasonDialog::reason() const
{
    return edit->text().trimmed();
}

bool ReasonDialog::ask(const QString &action, QWidget *parent, QString *reason)
{
    *reason = QString();
    if (!askForReason())
        return true;
    ReasonDialog dialog(action, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *reason = dialog.reason();
    return true;
}
