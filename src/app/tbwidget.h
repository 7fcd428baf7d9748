// SPDX-License-Identifier: GPL-3.0-or-later
// TbWidget: the toolbar with the device settings, download and recording buttons and two menus.
#pragma once

#include "archive/archiveconnection.h"
#include "archive/archivelocation.h"
#include "core/autodownloadsettings.h"

#include <QWidget>

class ExportMenu;
class IconToolBtn;
class QMenu;
class QToolButton;
class SettingMenu;

class TbWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TbWidget(QWidget *parent = nullptr);

    // Unchecks and disables the three device buttons: no logger to work with.
    void resetButtons();
    // A logger is connected and idle: settings and download usable, recording by its rule.
    void enableButtons();
    // A download has ended, whatever its result.
    void downloadFinished();
    // Starts a download as a click on the download button does; false while it is unusable.
    bool startDownload();
    // Names the archive in use in the settings menu.
    void setArchiveLocation(const ArchiveLocation &location);
    // And how the connection to it is secured, once it was opened.
    void setArchiveSecurity(const ArchiveSecurity &security);

    // The folder holding help.pdf and help_zh.pdf; where shippedFilePath finds them by default.
    void setHelpFolder(const QString &folder) { helpFolder = folder; }

signals:
    void devSettingShowSignal(bool isShow);
    void devDownLoadSignal();
    void toStopStartRecordSignal(bool isStop);
    void sendExportTypeSignal(int type);
    void sendResetCmd();
    void showAbout();
    void showAuditTrail();
    void sendLangueCmd(bool isChinese);
    void sendSaveConfigOptSignal();
    // A short notice for the user, such as a missing help document.
    void sendMessage(const QString &msg);
    // The automatic download's stored settings changed, in the menu or by the folder dialog.
    void autoDownloadChanged(const AutoDownloadSettings &before, const AutoDownloadSettings &after);
    void askForReasonSwitched(bool on);

public slots:
    void delToNoticeTbWidget(int startMode, bool isRestart, bool isRecord);
    void delToNoticeTbWidgetOnlyStartMode(int startMode);
    void delStopStartRecordResult(bool isSuccess, bool isStop);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    IconToolBtn *makeDeviceButton(const QString &name, const QRect &geometry);
    QToolButton *makeMenuButton(const QString &name, const QString &iconPath);
    void wrapInPopup(QWidget *content, QToolButton *button);
    void hidePopup(const QString &name);
    void placePopup(QMenu *popup, QToolButton *button);
    void placeMenuButtons();

    void onDevSetClicked(bool checked);
    void onDownloadClicked(bool checked);
    void onRecordClicked(bool checked);
    // The help document for the current language.
    QString helpFilePath() const;
    void openHelp();
    // Asks for the folder the automatic download writes its reports into, and stores it.
    void chooseReportFolder();

    // Enabled in software-start mode, or in the other modes while the logger records.
    void applyRecordRule();
    void showRecordAsStop(bool stop);
    void layOutDeviceButtons();
    void retranslate();

    QFont font;
    IconToolBtn *devSetBtn;
    IconToolBtn *downloadBtn;
    IconToolBtn *recordBtn;
    QToolButton *exportBtn = nullptr;
    QToolButton *settingBtn = nullptr;
    ExportMenu *exportMenu;
    SettingMenu *settingMenu;
    int startMode = -1;
    int canStopRecording = 0;
    bool isRecord = false;
    // Set by enableButtons, cleared by resetButtons: a download that ends after the
    // logger was removed must not enable the buttons again.
    bool connected = false;
    QString helpFolder;
};
