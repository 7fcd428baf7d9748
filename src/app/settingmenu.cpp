// SPDX-License-Identifier: GPL-3.0-or-later
// SettingMenu: the toolbar's drop-down panel with about, help, language and factory reset.
#include "app/settingmenu.h"

#include "app/selectbutton.h"
#include "core/settinginfo.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

SettingMenu::SettingMenu(QWidget *parent) : QWidget(parent), isChinese(!isEnglish())
{
    setObjectName(QStringLiteral("SettingMenu"));
    setFixedSize(160, 240);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(10);
    widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setStyleSheet(
        QStringLiteral("QWidget#widget{background-color: rgb(32, 33, 36); border-radius: 8px;}"));
    layout->addWidget(widget);

    aboutBtn = new SelectButton(QStringLiteral(":/img/ic_about.png"), widget);
    aboutBtn->setObjectName(QStringLiteral("aboutBtn"));
    helpBtn = new SelectButton(QStringLiteral(":/img/ic_help.png"), widget);
    helpBtn->setObjectName(QStringLiteral("helpBtn"));
    langueBtn = new SelectButton(QStringLiteral(":/img/ic_language.png"), widget);
    langueBtn->setObjectName(QStringLiteral("langueBtn"));
    englishBtn = new QPushButton(widget);
    englishBtn->setObjectName(QStringLiteral("englishBtn"));
    englishBtn->setFixedHeight(40);
    englishBtn->setStyleSheet(QStringLiteral(
        "QPushButton{border: none; color: white; font-size: 14px; padding-left: 30px;"
        " text-align: left; background-color: rgba(94, 94, 94, 1);}"
        "QPushButton:hover{border: 2px solid #CFCFCF; border-radius: 8px;}"));
    resetBtn = new SelectButton(QStringLiteral(":/img/ic_reset.png"), widget);
    resetBtn->setObjectName(QStringLiteral("resetBtn"));

    auto *entries = new QVBoxLayout(widget);
    entries->setContentsMargins(0, 0, 0, 0);
    entries->setSpacing(0);
    for (QPushButton *button :
         {static_cast<QPushButton *>(aboutBtn), static_cast<QPushButton *>(helpBtn),
          static_cast<QPushButton *>(langueBtn), englishBtn, static_cast<QPushButton *>(resetBtn)})
        entries->addWidget(button);
    entries->addStretch(1);

    englishBtn->hide();
    retranslate();

    connect(aboutBtn, &QPushButton::clicked, this, &SettingMenu::showAbout);
    connect(helpBtn, &QPushButton::clicked, this, &SettingMenu::showHelp);
    connect(resetBtn, &QPushButton::clicked, this, &SettingMenu::sendResetCmd);
    connect(langueBtn, &QPushButton::clicked, this, &SettingMenu::on_langueBtn_clicked);
    connect(englishBtn, &QPushButton::clicked, this, &SettingMenu::on_englishBtn_clicked);
}

void SettingMenu::on_langueBtn_clicked()
{
    // Unfolds or folds the other language; the popup stays open.
    englishBtn->setVisible(englishBtn->isHidden());
}

void SettingMenu::on_englishBtn_clicked()
{
    englishBtn->hide();
    isChinese = !isChinese;
    showLanguages();
    emit sendLangueCmd(isChinese);
}

void SettingMenu::retranslate()
{
    aboutBtn->setText(tr("关于"));
    helpBtn->setText(tr("帮助"));
    resetBtn->setText(tr("恢复出厂设置"));
    showLanguages();
}

void SettingMenu::showLanguages()
{
    // The language names are written in their own language, never translated.
    const QString chineseName = QStringLiteral("中文");
    const QString englishName = QStringLiteral("English");
    langueBtn->setText(isChinese ? chineseName : englishName);
    englishBtn->setText(isChinese ? englishName : chineseName);
}

void SettingMenu::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SettingMenu::paintEvent(QPaintEvent *)
{
    // The pointer sits at three quarters of the width, above the toolbar button; the body
    // is painted by the style of `widget`.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(32, 33, 36));
    const int tip = width() * 3 / 4;
    painter.drawPolygon(QPolygon({QPoint(tip, 0), QPoint(tip - 8, 13), QPoint(tip + 8, 13)}));
}
