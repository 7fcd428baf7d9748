// SPDX-License-Identifier: GPL-3.0-or-later
// The application's main window: the hub between the device controller and every panel.
#pragma once

#include "core/attachedlogger.h"
#include "core/lgxdevtype.h"
#include "device/loggersession.h"
#include "device/oneconfigcmdstruct.h"
#include "device/simplesendcmdunion.h"
#include "widgets/nativewindowtemplate.h"

#include <QMainWindow>
#include <QPointer>
#include <optional>

class ArchiveKeeper;
class AutoDownload;
class DownloadDialog;
class LanguageCatalogues;
class LoggerWatcher;
class MainWindowForm;
class QTimer;
class RecordingList;
class Snackbar;
class UsbControl;
class WindowAudit;

class MainWindow : public NativeWindowTemplate<QMainWindow>
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Loads the English catalogue when `language` contains "English", the
    // Chinese one otherwise, and installs it so every widget re-translates; Qt's
    // own dialogs follow.
    void applyLanguage(const QString &language);

    // Opens exactly `logger`, reads its configuration and note and asks for
    // its state; says so when the logger cannot be opened or does not answer.
    void connectLogger(const AttachedLogger &logger);
    // Closes the connected logger and shows the panel as not connected.
    void disconnectLogger();

    void loadFileButtons();
    void addFileButton(const QString &filePath);
    bool openDataFile(const QString &filePath);

    UsbControl *controller() const { return session->controller(); }
    LoggerSession *loggerSession() const { return session; }
    MainWindowForm *form() const { return ui; }
    RecordingList *recordingList() const { return list; }
    QTimer *statePollTimer() const { return pollTimer; }
    Snackbar *noticeOverlay() const { return notice; }
    LoggerWatcher *loggerWatcher() const { return removalWatcher; }
    LanguageCatalogues *catalogues() const { return languages; }
    WindowAudit *windowAudit() const { return audit; }
    ArchiveKeeper *keeper() const { return archiveKeeper; }

signals:
    void sendSimpleCmdSignal(SimpleSendCmdUnion cmdStruct);
    // A download is over: `filePath` is the new recording, listed and opened, or empty
    // when the download ended without one.
    void downloadEnded(const QString &filePath);
    // A connection asked for is established, or it failed and the window is reset.
    void loggerOpened(bool ok);

public slots:
    void delDevSettingShowSignal(bool isShow);
    void delToWriteConfigToDev(OneConfigCmdStruct config, QString note);
    void delSendMessage(QString msg);
    void delDevDownLoadSignal();
    void delConnectSuccessSignal(int devType);

    void delInitReadConfigState(bool flag, int startMode, bool isRestart);
    void delToStopStartRecordSignal(bool isStop);
    void delOtherCmdErrTip(int type, int opt);
    void delSendResetCmd();
    void delResetCmdResult(bool isSuccess);
    void delSendLangueCmd(bool isChinese);
    void delSetLangueResult(bool isSucess);
    void delShowAbout();
    // The archive's audit trail in a window of its own; with `sha256`, that recording's entries.
    void showAuditTrail(const QString &sha256 = QString());
    void delClostThisConfigWidget();
    void on_closeBtn_clicked();
    void on_minBtn_clicked();
    void on_normalBtn_clicked();
    void delConnectDev();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void makeConnections();
    void sendTemplateCmd(int cmdType, int cmdOptType);
    void startStatePoll();
    void dropConnection();
    void resetAfterDisconnect();
    void closeSettingsPage();
    void enableListArea();
    void endDownload();
    void opened(const LoggerResult<LoggerIdentity> &result);
    // The controller has created the download's file: the progress dialog comes up.
    void showDownloadDialog();
    void downloadDone(const LoggerResult<DownloadedRecording> &result);
    void downloadDialogClosed(int result);
    // Lists, opens and archives the recording that was downloaded (a copy: the
    // kept result it may come from is cleared here).
    void takeDownload(DownloadedRecording recording);
    void endDownloadWithout(const QString &notice);
    // Resets the window when the logger that left is the connected one.
    void loggerRemoved(const AttachedLogger &logger);
    // The audit trail's lasting banners, as the keeper last reported.
    void showAuditWaiting(int count);
    void showAuditBroken(const QString &problem);
    void retranslateAuditBanners();

    MainWindowForm *ui;
    RecordingList *list = nullptr;
    LoggerSession *session = nullptr;
    QPointer<DownloadDialog> downloadDialog;
    // The download's result, kept until its dialog has closed.
    std::optional<LoggerResult<DownloadedRecording>> downloadResult;
    bool downloading = false;
    QTimer *pollTimer = nullptr;
    Snackbar *notice = nullptr;
    LanguageCatalogues *languages = nullptr;
    LoggerWatcher *removalWatcher = nullptr;
    AutoDownload *autoDownload = nullptr;
    ArchiveKeeper *archiveKeeper = nullptr;
    WindowAudit *audit = nullptr;
    int auditWaitingCount = 0;
    QString auditProblem;
    SimpleSendCmdUnion cmdTemplate{};
};
