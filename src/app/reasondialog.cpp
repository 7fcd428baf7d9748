// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reasondialog.h"

#include "app/dialogframe.h"
#include "core/auditsettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReasonDialog::ReasonDialog(const QString &action, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("ReasonDialog"));
    setWindowTitle(tr("原因"));
    resize(402, 225);

    QWidget *widget = dialogframe::frame(this);
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(24, 26, 24, 26);
    column->setSpacing(16);
    column->addWidget(dialogframe::title(widget, tr("%1：请填写原因").arg(action)), 1);
    edit = new QLineEdit(widget);
    edit->setObjectName(QStringLiteral("reasonEdit"));
    edit->setPlaceholderText(tr("原因"));
    column->addWidget(edit);
    ok = dialogframe::addButtons(this, widget, column);
    ok->setEnabled(false);

    connect(edit, &QLineEdit::textChanged, this, [this] { ok->setEnabled(!reason().isEmpty()); });
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
