// SPDX-License-Identifier: GPL-3.0-or-later
// AboutDialog: the about box with the program's logo, name, version and licence notice.
#include "app/aboutdialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// Where `cmake --install` puts the licence text and the README.
const char *const docFolder = "/usr/share/doc/hygra";
const char *const licenceUrl = "https://www.gnu.org/licenses/gpl-3.0.html";
constexpr int boxWidth = 473;
constexpr int boxMinimumHeight = 378;

QLabel *noticeLabel(const char *objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setStyleSheet(QStringLiteral("color: rgb(102, 102, 102); font-size: 12px;"));
    return label;
}
} // namespace

AboutDialog::AboutDialog(const QString &version, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setMinimumSize(boxWidth, boxMinimumHeight);
    resize(boxWidth, boxMinimumHeight);

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
    logoLabel = new QLabel(titleWidget);
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

    body = new QWidget(this);
    body->setObjectName(QStringLiteral("widget"));
    body->setAttribute(Qt::WA_StyledBackground);
    body->setStyleSheet(
        QStringLiteral("#widget{background-color: white; border: 1px solid rgb(220, 220, 220);"
                       " border-top: none;}"));
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(24, 32, 24, 24);
    column->setSpacing(4);
    auto *picture = new QLabel(body);
    picture->setObjectName(QStringLiteral("label_2"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(QIcon(QStringLiteral(":/img/logo.ico")).pixmap(128, 128));
    column->addWidget(picture, 1);
    column->addSpacing(16);
    auto *nameLabel = new QLabel(QStringLiteral("hygra"), body);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    nameLabel->setAlignment(Qt::AlignCenter);
    nameLabel->setStyleSheet(QStringLiteral("font-size: 22px; font-weight: bold;"));
    column->addWidget(nameLabel);
    versionLabel = new QLabel(version, body);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    versionLabel->setAlignment(Qt::AlignCenter);
    versionLabel->setStyleSheet(QStringLiteral("font-size: 18px;"));
    column->addWidget(versionLabel);
    column->addSpacing(16);
    copyrightLabel = noticeLabel("copyrightLabel", body);
    column->addWidget(copyrightLabel);
    licenceLabel = noticeLabel("licenceLabel", body);
    column->addWidget(licenceLabel);
    outer->addWidget(body, 1);

    connect(closeBtn, &QPushButton::clicked, this, &AboutDialog::on_closeBtn_clicked);

    setBorderWidth(8);
    setTitleBar(titleWidget);
    setResizeable(false);
    retranslate();
}

void AboutDialog::retranslate()
{
    setWindowTitle(tr("关于"));
    logoLabel->setText(tr("关于"));
    copyrightLabel->setText(tr("版权所有 © 2026 hygra 开发者"));
    // The folder and the address stand on lines of their own, so that the
    // wrapping never breaks them at a slash.
    licenceLabel->setText(
        tr("本程序是自由软件：您可以依据自由软件基金会发布的 GNU 通用公共许可证第 3 "
           "版或（由您选择）任何更高版本的条款重新分发和修改它。本程序不附带任何担保。") +
        QLatin1Char('\n') + tr("许可证全文与说明文件：%1").arg(QLatin1String(docFolder)) +
        QLatin1Char('\n') + tr("许可证网页：%1").arg(QLatin1String(licenceUrl)));
    fitHeight();
}

void AboutDialog::fitHeight()
{
    // The box's layout keeps the body's old height until a posted layout
    // request; new texts must count now.
    body->updateGeometry();
    const int needed = layout()->totalHeightForWidth(boxWidth);
    setMinimumHeight(qMax(boxMinimumHeight, needed));
    resize(boxWidth, minimumHeight());
}

QString AboutDialog::versionText() const
{
    return versionLabel->text();
}

void AboutDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    NativeWindowTemplate<QDialog>::changeEvent(event);
}

void AboutDialog::on_closeBtn_clicked()
{
    reject();
}
