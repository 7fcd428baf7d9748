// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/passworddialog.h"

#include "app/dialogframe.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(const QString &signer, bool teamArchive, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(tr("签署确认"));
    QWidget *widget = dialogframe::frame(this);
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(24, 22, 24, 22);
    column->setSpacing(14);
    column->addWidget(dialogframe::title(widget, tr("请再次输入密码以签署")));
    auto *which = new QLabel(tr("签署人：%1").arg(signer) + QLatin1Char('\n') +
                                 (teamArchive ? tr("您登录团队记录档案库所用的数据库密码")
                                              : tr("您在这台计算机上的账户密码")),
                             widget);
    which->setAlignment(Qt::AlignCenter);
    which->setStyleSheet(QStringLiteral("color: #78787C; font-size: 13px;"));
    column->addWidget(which);
    error = new QLabel(widget);
    error->setObjectName(QStringLiteral("passwordError"));
    error->setAlignment(Qt::AlignCenter);
    error->setWordWrap(true);
    error->setStyleSheet(QStringLiteral("color: rgb(198, 40, 40);"));
    error->hide();
    column->addWidget(error);
    edit = new QLineEdit(widget);
    edit->setObjectName(QStringLiteral("passwordEdit"));
    edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(380);
    column->addWidget(edit);
    ok = dialogframe::addButtons(this, widget, column);
    ok->setEnabled(false);
    connect(edit, &QLineEdit::textChanged, this,
            [this] { ok->setEnabled(!edit->text().isEmpty()); });
    edit->setFocus();
}

QByteArray PasswordDialog::takePassword()
{
    const QByteArray password = edit->text().toUtf8();
    edit->clear();
    return password;
}

void PasswordDialog::setError(const QString &text)
{
    error->setText(text);
    error->setVisible(!text.isEmpty());
}
