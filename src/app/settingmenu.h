// SPDX-License-Identifier: GPL-3.0-or-later
// SettingMenu: the toolbar's drop-down panel with about, help, language and factory reset.
#pragma once

#include <QWidget>

class QPushButton;
class SelectButton;

class SettingMenu : public QWidget
{
    Q_OBJECT
public:
    explicit SettingMenu(QWidget *parent = nullptr);

signals:
    void sendResetCmd();
    void sendLangueCmd(bool isChinese);
    void showAbout();
    void showHelp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void on_langueBtn_clicked();
    void on_englishBtn_clicked();

private:
    void retranslate();
    // `langueBtn` names the current language, `englishBtn` the other one.
    void showLanguages();

    QWidget *widget;
    SelectButton *aboutBtn;
    SelectButton *helpBtn;
    SelectButton *langueBtn;
    QPushButton *englishBtn;
    SelectButton *resetBtn;
    bool isChinese;
};
