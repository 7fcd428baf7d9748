// SPDX-License-Identifier: GPL-3.0-or-later
// SettingMenu: the toolbar's drop-down panel with about, help, language, automatic download and
// factory reset.
#pragma once

#include "archive/archiveconnection.h"
#include "archive/archivelocation.h"
#include "core/autodownloadsettings.h"

#include <QWidget>

class QLabel;
class QPushButton;
class SelectButton;

class SettingMenu : public QWidget
{
    Q_OBJECT
public:
    explicit SettingMenu(QWidget *parent = nullptr);

    // The info line at the foot of the panel: which archive the window uses.
    void setArchiveLocation(const ArchiveLocation &location);
    // Whether the team archive's connection is encrypted and whose certificate was checked.
    void setArchiveSecurity(const ArchiveSecurity &security);

signals:
    void sendResetCmd();
    void sendLangueCmd(bool isChinese);
    void showAbout();
    void showHelp();
    void showAuditTrail();
    // The automatic download was switched on or off (and stored).
    void autoDownloadSwitched(bool on);
    void chooseReportFolder();
    // A check entry of the automatic download changed its stored settings.
    void autoDownloadChanged(const AutoDownloadSettings &before, const AutoDownloadSettings &after);
    // "Ask for a reason" was switched (and stored).
    void askForReasonSwitched(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void on_langueBtn_clicked();
    void on_englishBtn_clicked();
    void on_autoBtn_clicked();

private:
    // An entry unfolded under another one: no icon of its own kind, no arrow.
    QPushButton *makeSubEntry(const QString &name);
    QPushButton *makeCheckEntry(const QString &name);
    void retranslate();
    // `langueBtn` names the current language, `englishBtn` the other one.
    void showLanguages();
    // The check entries and the folder's tool tip as the stored settings say.
    void showAutoDownload();
    void storeAutoDownload();
    // Grows or shrinks the panel to its unfolded entries.
    void fitHeight();

    QWidget *widget;
    SelectButton *aboutBtn;
    SelectButton *helpBtn;
    SelectButton *langueBtn;
    QPushButton *englishBtn;
    SelectButton *autoBtn;
    QPushButton *autoSwitchBtn;
    QPushButton *autoPdfBtn;
    QPushButton *autoCsvBtn;
    QPushButton *autoXlsxBtn;
    QPushButton *autoFolderBtn;
    SelectButton *auditBtn;
    QPushButton *askReasonBtn;
    SelectButton *resetBtn;
    QLabel *archiveInfo;
    ArchiveLocation archive;
    ArchiveSecurity security;
    // The tooltip's lines on the connection's security.
    QStringList securityLines() const;
    QList<QPushButton *> entries;
    bool isChinese;
};
