// SPDX-License-Identifier: GPL-3.0-or-later
// The application's main window: the hub between the device controller and every panel.
#pragma once

#include "core/lgxdevtype.h"
#include "device/oneconfigcmdstruct.h"
#include "device/simplesendcmdunion.h"
#include "widgets/nativewindowtemplate.h"

#include <QMainWindow>

class ArchiveKeeper;
class AutoDownload;
class LanguageCatalogues;
class LoggerWatcher;
class MainWindowForm;
class QTimer;
class RecordingList;
class Snackbar;
class UsbControl;

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

    // Opens the index-th attached logger of `model` and starts the initial read; says so
    // when the logger cannot be opened.
    bool connectLogger(int model, int index);

    void loadFileButtons();
    void addFileButton(const QString &filePath);
    bool openDataFile(const QString &filePath);

    UsbControl *controller() const { return usbControl; }
    MainWindowForm *form() const { return ui; }
    RecordingList *recordingList() const { return list; }
    QTimer *statePollTimer() const { return pollTimer; }
    Snackbar *noticeOverlay() const { return notice; }
    LoggerWatcher *loggerWatcher() const { return removalWatcher; }
    LanguageCatalogues *catalogues() const { return languages; }

signals:
    void usbConnectSingnal(LgxDevType devType, bool isConnect);
    void sendSimpleCmdSignal(SimpleSendCmdUnion cmdStruct);
    // A download is over: `filePath` is the new recording, listed and opened, or empty
    // when the download ended without one.
    void downloadEnded(const QString &filePath);

public slots:
    void delDevSettingShowSignal(bool isShow);
    void delToWriteConfigToDev(OneConfigCmdStruct config, QString note);
    void delSendMessage(QString msg);
    void delDevDownLoadSignal();
    void delDataDownloadErr(int errType);
    void delConnectSuccessSignal(int devType);
    void delStartDataDownload(int total, QString filePath);
    void delInitReadConfigState(bool flag, int startMode, bool isRestart);
    void delToStopStartRecordSignal(bool isStop);
    void delOtherCmdErrTip(int type, int opt);
    void delSendResetCmd();
    void delResetCmdResult(bool isSuccess);
    void delSendLangueCmd(bool isChinese);
    void delSetLangueResult(bool isSucess);
    void delShowAbout();
    void delClostThisConfigWidget();
    void on_closeBtn_clicked();
    void on_minBtn_clicked();
    void on_normalBtn_clicked();
    void connectDevDel(LgxDevType devType, bool isConnect);
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
    QString downloadErrorText(int errType) const;

    // What the controller has reported of the running download. The dialog is
    // shown only after the controller announced the file, by which time a
    // small download on a quick logger may have progressed or even ended.
    struct DownloadReport {
        int cur = 0;
        int total = 0;
        int error = 0;
    };

    MainWindowForm *ui;
    DownloadReport downloadReport;
    RecordingList *list = nullptr;
    UsbControl *usbControl = nullptr;
    QTimer *pollTimer = nullptr;
    Snackbar *notice = nullptr;
    LanguageCatalogues *languages = nullptr;
    LoggerWatcher *removalWatcher = nullptr;
    AutoDownload *autoDownload = nullptr;
    ArchiveKeeper *archiveKeeper = nullptr;
    SimpleSendCmdUnion cmdTemplate{};
};
