// SPDX-License-Identifier: GPL-3.0-or-later
// The application's main window.
#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/archivekeeper.h"
#include "app/audittraildialog.h"
#include "app/archivesearchbar.h"
#include "app/autodownload.h"
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/downloaddialog.h"
#include "app/knownloggers.h"
#include "app/languagecatalogues.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "app/reportsigning.h"
#include "app/reviewflow.h"
#include "app/tbwidget.h"
#include "app/windowaudit.h"
#include "core/newfile.h"
#include "core/settinginfo.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "platform/loggerenumeration.h"
#include "platform/loggerwatcher.h"
#include "settings/devsettinginfo.h"
#include "views/datashowwidget.h"
#include "widgets/selectdialog.h"
#include "widgets/snackbar.h"

#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>

namespace
{
constexpr int statePollIntervalMs = 1500;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : NativeWindowTemplate<QMainWindow>(parent), ui(new MainWindowForm)
{
    setBorderWidth(8);
    initSettings(this);
    applyLanguage(currentLanguage());

    ui->setupUi(this);
    QMetaObject::connectSlotsByName(this);
    setTitleBar(ui->titleWidget);
    list = new RecordingList(ui, ui->dataShow, this);
    notice = new Snackbar(this);
    notice->setGeometry(rect());

    removalWatcher = new LoggerWatcher(this);
    connect(removalWatcher, &LoggerWatcher::loggerRemoved, this, &MainWindow::loggerRemoved);

    session = new LoggerSession(this);
    pollTimer = new QTimer(this);
    pollTimer->setInterval(statePollIntervalMs);
    connect(pollTimer, &QTimer::timeout, this, [this] { sendTemplateCmd(CheckCmd, ReadOpt); });

    ui->devSetting->setEnabled(false);
    makeConnections();
    autoDownload = new AutoDownload(this);
    archiveKeeper = new ArchiveKeeper(dataDir(), this);
    // The search uses the archive the keeper fills, through a connection of its own.
    if (archiveKeeper->hasLocation())
        list->useArchive(archiveKeeper->location());
    ui->tbWidget->setArchiveLocation(archiveKeeper->location());
    connect(list, &RecordingList::recordingRenamed, archiveKeeper, &ArchiveKeeper::addFile);
    audit = new WindowAudit(this, archiveKeeper);
    list->useAudit(audit);
    auto *review = new ReviewFlow(this, ui->dataShow, list, archiveKeeper, audit);
    connect(review, &ReviewFlow::sendMessage, this, &MainWindow::delSendMessage);
    connect(archiveKeeper, &ArchiveKeeper::auditWaiting, this, &MainWindow::showAuditWaiting);
    connect(archiveKeeper, &ArchiveKeeper::auditBroken, this, &MainWindow::showAuditBroken);
    connect(archiveKeeper, &ArchiveKeeper::auditHeadChanged, ui->dataShow,
            &DataShowWidget::setAuditHead);
    connect(archiveKeeper, &ArchiveKeeper::unavailable, this,
            [this] { delSendMessage(tr("无法打开记录档案库，仍使用记录文件夹")); });
    connect(archiveKeeper, &ArchiveKeeper::skipped, this, &MainWindow::delSendMessage);
    connect(archiveKeeper, &ArchiveKeeper::connected, ui->tbWidget, &TbWidget::setArchiveSecurity);
    connect(archiveKeeper, &ArchiveKeeper::passwordWanted, this, [this] {
        bool given = false;
        const QString password = QInputDialog::getText(
            this, tr("团队档案库"),
            tr("%1 需要密码（只在本次运行中记住）：")
                .arg(archiveKeeper->location().displayText()),
            QLineEdit::Password, QString(), &given);
        archiveKeeper->usePassword(given ? password : QString());
    });
    if (!archiveKeeper->location().passwordWarning().isEmpty())
        delSendMessage(tr("setting.ini 中存有档案库的密码，请把它移到 ~/.pgpass"));

    // Once the event loop runs: the window is up before the folder is read.
    QTimer::singleShot(0, this, [this] {
        if (!QDir(appFolder()).exists())
            QDir().mkdir(appFolder());
        // What a download killed half-way left: never listed, never imported.
        NewFile::removeLeftovers(dataDir());
        loadFileButtons();
        archiveKeeper->syncFolder();
    });
}

MainWindow::~MainWindow()
{
    pollTimer->stop();
    delete ui;
}

void MainWindow::makeConnections()
{
    TbWidget *tb = ui->tbWidget;
    ConnectWidget *panel = ui->connectWidget;
    DevSettingInfo *settings = ui->devSetting;
    DataShowWidget *view = ui->dataShow;

    connect(tb, &TbWidget::devSettingShowSignal, this, &MainWindow::delDevSettingShowSignal);
    connect(tb, &TbWidget::devDownLoadSignal, this, &MainWindow::delDevDownLoadSignal);
    connect(tb, &TbWidget::toStopStartRecordSignal, this, &MainWindow::delToStopStartRecordSignal);
    // Signing works on a report file, not on the recording the view shows.
    connect(tb, &TbWidget::sendExportTypeSignal, this, [this, view](int type) {
        if (type == 2)
            ReportSigning::run(this);
        else
            view->delSendExportTypeSignal(type);
    });
    connect(ui->selectBtn, &QPushButton::clicked, list, &RecordingList::switchDelFile);
    connect(ui->delBtn, &QPushButton::clicked, list, &RecordingList::delDataFiles);
    connect(ui->compareBtn, &QPushButton::clicked, list, &RecordingList::compareSelected);
    connect(ui->searchBar, &ArchiveSearchBar::searchChanged, list, &RecordingList::searchChanged);
    connect(panel, &ConnectWidget::toConnect, this, &MainWindow::delConnectDev);
    connect(panel, &ConnectWidget::connectSuccessSignal, this,
            &MainWindow::delConnectSuccessSignal);
    connect(panel, &ConnectWidget::toNoticeTbWidget, tb, &TbWidget::delToNoticeTbWidget);
    connect(panel, &ConnectWidget::toDisconnect, this, &MainWindow::disconnectLogger);
    UsbControl *usbControl = session->controller();
    connect(this, &MainWindow::sendSimpleCmdSignal, usbControl, &UsbControl::addSendSimpleCmd);
    connect(usbControl, &UsbControl::initReadConfigState, this,
            &MainWindow::delInitReadConfigState);

    connect(usbControl, &UsbControl::devConfigSignal, settings,
            &DevSettingInfo::delDevConfigSignal);
    connect(usbControl, &UsbControl::devWriteReturnConfig, settings,
            &DevSettingInfo::delDevWriteReturnConfig);
    connect(usbControl, &UsbControl::devWriteReturnConfig, this,
            [panel](OneConfigCmdStruct config, QString) {
                panel->setStartInfo(config.startMode, config.isKeyRetart);
            });
    connect(usbControl, &UsbControl::devReadNoteSignal, settings,
            &DevSettingInfo::delDevReadNoteSignal);
    connect(usbControl, &UsbControl::devStateSignal, settings, &DevSettingInfo::delDevStateSignal);
    // Queued: the erase warning runs its own event loop, which must not run inside the
    // controller's handling of the answer.
    connect(usbControl, &UsbControl::recordCountResult, settings,
            &DevSettingInfo::delRecordCountResult, Qt::QueuedConnection);
    connect(usbControl, &UsbControl::devStateSignal, panel, &ConnectWidget::delDevStateSignal);
    connect(usbControl, &UsbControl::startDataDownload, this, &MainWindow::showDownloadDialog);
    connect(usbControl, &UsbControl::stopStartRecordResult, tb,
            &TbWidget::delStopStartRecordResult);
    connect(usbControl, &UsbControl::otherCmdErrTip, this, &MainWindow::delOtherCmdErrTip);
    connect(usbControl, &UsbControl::resetCmdResult, this, &MainWindow::delResetCmdResult);
    connect(usbControl, &UsbControl::setLangueResult, this, &MainWindow::delSetLangueResult);
    connect(session, &LoggerSession::lost, this, [this] {
        resetAfterDisconnect();
        delSendMessage(tr("连接中断，请重新拔插usb后连接"));
    });

    connect(tb, &TbWidget::sendResetCmd, this, &MainWindow::delSendResetCmd);
    connect(tb, &TbWidget::sendLangueCmd, this, &MainWindow::delSendLangueCmd);
    connect(tb, &TbWidget::showAbout, this, &MainWindow::delShowAbout);
    connect(tb, &TbWidget::showAuditTrail, this, [this] { showAuditTrail(); });
    connect(tb, &TbWidget::sendSaveConfigOptSignal, settings,
            &DevSettingInfo::delSendSaveConfigOptSignal);
    connect(view, &DataShowWidget::sendMessage, this, &MainWindow::delSendMessage);
    connect(settings, &DevSettingInfo::toWriteConfigToDev, this,
            &MainWindow::delToWriteConfigToDev);
    connect(settings, &DevSettingInfo::toReadRecordCount, this,
            [this] { emit sendSimpleCmdSignal(makeSimpleCmd(RecordCountCmd)); });
    // The download the toolbar's button starts; the page stays open with its edits.
    connect(settings, &DevSettingInfo::toDownloadFirst, this, &MainWindow::delDevDownLoadSignal);
    connect(settings, &DevSettingInfo::sendMessage, this, &MainWindow::delSendMessage);
    connect(settings, &DevSettingInfo::toNoticeTbWidgetOnlyStartMode, tb,
            &TbWidget::delToNoticeTbWidgetOnlyStartMode);
    connect(settings, &DevSettingInfo::closeThis, this, &MainWindow::delClostThisConfigWidget);
    connect(list, &RecordingList::sendMessage, this, &MainWindow::delSendMessage);
    connect(list, &RecordingList::auditTrailRequested, this, &MainWindow::showAuditTrail);
    connect(tb, &TbWidget::sendMessage, this, &MainWindow::delSendMessage);
}

void MainWindow::applyLanguage(const QString &language)
{
    if (!languages)
        languages = new LanguageCatalogues(this);
    languages->apply(language);
}

void MainWindow::loadFileButtons()
{
    list->loadFileButtons();
}

void MainWindow::addFileButton(const QString &filePath)
{
    list->addFileButton(filePath);
}

bool MainWindow::openDataFile(const QString &filePath)
{
    return list->openDataFile(filePath);
}

void MainWindow::sendTemplateCmd(int cmdType, int cmdOptType)
{
    cmdTemplate.common.cmdType = cmdType;
    cmdTemplate.common.cmdOptType = cmdOptType;
    emit sendSimpleCmdSignal(cmdTemplate);
}

void MainWindow::startStatePoll()
{
    pollTimer->start();
}

void MainWindow::dropConnection()
{
    pollTimer->stop();
    session->close();
    ui->connectWidget->showDisconnected();
}

void MainWindow::enableListArea()
{
    ui->scrollArea->setEnabled(true);
    ui->widget->setEnabled(true);
}

void MainWindow::resetAfterDisconnect()
{
    const bool editsLost = ui->stackedWidget->currentIndex() == MainWindowForm::SettingsPage &&
                           ui->devSetting->isModified();
    dropConnection();
    audit->loggerClosed();
    ui->tbWidget->resetButtons();
    ui->devSetting->setEnabled(false);
    ui->stackedWidget->setCurrentIndex(MainWindowForm::RecordingPage);
    ui->scrollAreaWidgetContents->setEnabled(true);
    enableListArea();
    if (editsLost)
        delSendMessage(tr("设备已断开，修改的设置没有写入设备"));
}

void MainWindow::closeSettingsPage()
{
    ui->tbWidget->resetButtons();
    ui->tbWidget->enableButtons();
    enableListArea();
    ui->devSetting->setEnabled(false);
    ui->stackedWidget->setCurrentIndex(MainWindowForm::RecordingPage);
}

void MainWindow::delConnectDev()
{
    const QVector<AttachedLogger> attached = listAttachedLoggerDevices();
    if (attached.isEmpty()) {
        delSendMessage(tr("无可用设备"));
        ui->connectWidget->showDisconnected();
        return;
    }
    auto *dialog = new ConnectDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    AttachedLogger preferred;
    for (const AttachedLogger &logger : attached) {
        if (KnownLoggers::isLast(logger))
            preferred = logger;
    }
    dialog->setLoggers(attached, preferred);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        if (result == QDialog::Accepted && dialog->selectedLogger().isValid())
            connectLogger(dialog->selectedLogger());
        else
            ui->connectWidget->showDisconnected();
    });
    dialog->open();
}

void MainWindow::connectLogger(const AttachedLogger &logger)
{
    ui->connectWidget->beginConnection();
    ui->scrollAreaWidgetContents->setEnabled(false);
    session->open(logger, [this](const LoggerResult<LoggerIdentity> &result) { opened(result); });
}

void MainWindow::opened(const LoggerResult<LoggerIdentity> &result)
{
    ui->scrollAreaWidgetContents->setEnabled(true);
    if (!result.ok()) {
        dropConnection();
        delSendMessage(result.error == LoggerError::OpenFailed
                           ? tr("连接失败，请查看帮助并安装USB驱动后重试")
                           : tr("连接失败"));
        emit loggerOpened(false);
        return;
    }
    const LoggerIdentity &logger = result.value;
    KnownLoggers::remember(logger.logger, logger.sn, logger.name);
    emit loggerOpened(true);
}

void MainWindow::delInitReadConfigState(bool flag, int startMode, bool isRestart)
{
    ui->scrollAreaWidgetContents->setEnabled(true);
    // A failed read ends the session's open, whose result resets the panel.
    if (!flag)
        return;
    ui->connectWidget->setStartInfo(startMode, isRestart);
    // Queued behind the identification the open asks for: the logger shows its
    // texts in the program's language.
    audit->languageSent(QString());
    emit sendSimpleCmdSignal(
        makeSimpleCmd(LanguageCmd, currentLanguage() == QLatin1String("English") ? 1 : 0, WriteOpt));
    startStatePoll();
}

void MainWindow::disconnectLogger()
{
    resetAfterDisconnect();
}

void MainWindow::loggerRemoved(const AttachedLogger &logger)
{
    // Another logger leaving changes nothing here.
    if (logger == controller()->openLogger())
        resetAfterDisconnect();
}

void MainWindow::delConnectSuccessSignal(int devType)
{
    ui->connectWidget->setDevType(devType);
    ui->tbWidget->enableButtons();
}

void MainWindow::delDevSettingShowSignal(bool isShow)
{
    if (isShow) {
        ui->scrollArea->setEnabled(false);
        ui->widget->setEnabled(false);
        sendTemplateCmd(ConfigCmd, ReadOpt);
        sendTemplateCmd(NoteCmd, ReadOpt);
        // Every way of leaving the page disables the form; showing it again
        // must enable it, or the page could be used only once.
        ui->devSetting->setEnabled(true);
        ui->stackedWidget->setCurrentIndex(MainWindowForm::SettingsPage);
    } else {
        enableListArea();
        ui->devSetting->setEnabled(false);
        ui->stackedWidget->setCurrentIndex(MainWindowForm::RecordingPage);
    }
}

void MainWindow::delClostThisConfigWidget()
{
    closeSettingsPage();
    ui->scrollAreaWidgetContents->setEnabled(true);
}

void MainWindow::delToWriteConfigToDev(OneConfigCmdStruct config, QString note)
{
    emit sendSimpleCmdSignal(makeConfigWriteCmd(config));
    emit sendSimpleCmdSignal(makeNoteWriteCmd(encodeNote(note)));
}

void MainWindow::delOtherCmdErrTip(int type, int opt)
{
    if (type == ConfigCmd)
        delSendMessage(opt == WriteOpt ? tr("写入设备配置失败") : tr("读取设备配置失败"));
    else if (type == NoteCmd)
        delSendMessage(opt == WriteOpt ? tr("写入设备备注失败") : tr("读取设备备注失败"));
    else
        return;
    if (opt == ReadOpt)
        closeSettingsPage();
}

void MainWindow::delToStopStartRecordSignal(bool isStop)
{
    emit sendSimpleCmdSignal(makeSimpleCmd(StartStopCmd, isStop ? 0 : 1, WriteOpt));
}

void MainWindow::delSendResetCmd()
{
    ConnectWidget *panel = ui->connectWidget;
    if (!panel->isConnected()) {
        delSendMessage(tr("请连接设备后重试"));
        return;
    }
    // The entry sits among harmless ones; a slip must not reset the logger's limits, name,
    // note and interval.
    SelectDialog question(
        tr("将 %1（SN %2）恢复出厂设置？\n报警阈值、设备名称、备注和记录间隔都会被重置。")
            .arg(modelName(panel->connectedModel()), panel->serialNumber()),
        this);
    question.setConfirmText(tr("恢复出厂设置"));
    // The logger may be gone by the time the question is answered.
    if (question.exec() != QDialog::Accepted || !panel->isConnected())
        return;
    QString reason;
    if (!audit->askReason(tr("恢复出厂设置"), &reason) || !panel->isConnected())
        return;
    audit->resetSent(reason);
    emit sendSimpleCmdSignal(makeSimpleCmd(ResetCmd));
}

void MainWindow::delResetCmdResult(bool isSuccess)
{
    delSendMessage(isSuccess ? tr("恢复出厂设置成功") : tr("恢复出厂设置失败"));
}

void MainWindow::delSendLangueCmd(bool isChinese)
{
    const QString language = isChinese ? QStringLiteral("Chinese") : QStringLiteral("English");
    applyLanguage(language);
    setCurrentLanguage(language);
    if (ui->connectWidget->isConnected()) {
        audit->languageSent(language);
        emit sendSimpleCmdSignal(makeSimpleCmd(LanguageCmd, isChinese ? 0 : 1, WriteOpt));
    }
}

void MainWindow::delSetLangueResult(bool isSucess)
{
    delSendMessage(isSucess ? tr("设置设备语言成功") : tr("设置设备语言失败"));
}

void MainWindow::delShowAbout()
{
    AboutDialog dialog(QStringLiteral("V " HYGRA_VERSION), this);
    dialog.exec();
}

void MainWindow::showAuditTrail(const QString &sha256)
{
    auto *dialog = new AuditTrailDialog(archiveKeeper->location(), sha256, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainWindow::delDevDownLoadSignal()
{
    pollTimer->stop();
    downloadResult.reset();
    downloading = true;
    const auto progress = [this](int cur, int total) {
        if (downloadDialog)
            downloadDialog->updateProgress(cur, total);
    };
    session->download(dataDir(), progress, [this](const LoggerResult<DownloadedRecording> &r) {
        downloadDone(r);
    });
}

void MainWindow::showDownloadDialog()
{
    // Modal to the user, while the window's own events, the logger's answers
    // among them, go on being handled.
    downloadDialog = new DownloadDialog(this);
    downloadDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(downloadDialog, &QDialog::finished, this, &MainWindow::downloadDialogClosed);
    downloadDialog->open();
}

void MainWindow::downloadDone(const LoggerResult<DownloadedRecording> &result)
{
    // Ended already: the user cancelled it.
    if (!downloading)
        return;
    if (downloadDialog && downloadDialog->isVisible()) {
        // The dialog closes itself once it showed 100 %; a failure closes it now.
        downloadResult = result;
        if (!result.ok())
            downloadDialog->stopDownErr(int(result.error));
        return;
    }
    if (result.ok()) {
        takeDownload(result.value);
        return;
    }
    if (result.error != LoggerError::Cancelled)
        audit->downloadFailed(result.error, autoDownload->isDownloading());
    switch (result.error) {
    case LoggerError::Cancelled:
        endDownloadWithout(QString());
        return;
    case LoggerError::NoRecords:
        endDownloadWithout(tr("无记录数据，下载失败"));
        return;
    case LoggerError::CannotCreateFile:
    case LoggerError::CannotStore:
        endDownloadWithout(tr("无法保存记录文件，下载失败"));
        return;
    default:
        endDownloadWithout(tr("读取异常，下载失败"));
        return;
    }
}

void MainWindow::downloadDialogClosed(int result)
{
    if (result == QDialog::Accepted && downloadResult && downloadResult->ok()) {
        takeDownload(downloadResult->value);
        return;
    }
    if (!downloadResult || downloadResult->ok()) {
        // The user cancelled: the file goes, also when its last block was written.
        if (session->isBusy())
            session->cancel();
        else
            controller()->cancelDownload();
        endDownloadWithout(QString());
        return;
    }
    const LoggerError error = downloadResult->error;
    audit->downloadFailed(error, autoDownload->isDownloading());
    // A recording that could not be written is no fault of the logger.
    if (error == LoggerError::CannotCreateFile || error == LoggerError::CannotStore)
        endDownloadWithout(tr("无法保存记录文件，下载失败"));
    else
        endDownloadWithout(tr("下载失败"));
}

void MainWindow::takeDownload(DownloadedRecording recording)
{
    downloading = false;
    downloadResult.reset();
    delSendMessage(tr("下载成功"));
    audit->downloaded(recording.path, recording.recording, autoDownload->isDownloading());
    addFileButton(recording.path);
    endDownload();
    // Shown from what the download read, not read back from the disk.
    list->openDownloaded(recording.path, recording.recording);
    archiveKeeper->addDownloaded(recording.path, recording.bytes);
    emit downloadEnded(recording.path);
}

void MainWindow::endDownloadWithout(const QString &text)
{
    downloading = false;
    downloadResult.reset();
    if (!text.isEmpty())
        delSendMessage(text);
    endDownload();
    emit downloadEnded(QString());
}

void MainWindow::endDownload()
{
    ui->tbWidget->downloadFinished();
    // A connection lost meanwhile stays lost.
    if (session->isOpen())
        startStatePoll();
}

void MainWindow::showAuditWaiting(int count)
{
    auditWaitingCount = count;
    retranslateAuditBanners();
}

void MainWindow::showAuditBroken(const QString &problem)
{
    auditProblem = problem;
    retranslateAuditBanners();
}

void MainWindow::retranslateAuditBanners()
{
    ui->auditNotice->setText(auditWaitingCount == 1
                                 ? tr("1 条审计记录等待写入档案")
                                 : tr("%1 条审计记录等待写入档案").arg(auditWaitingCount));
    ui->auditNotice->setVisible(auditWaitingCount > 0);
    // The problem is the archive's own words, as the command line prints them.
    ui->auditWarning->setText(tr("审计记录校验失败：%1").arg(auditProblem));
    ui->auditWarning->setVisible(!auditProblem.isEmpty());
}

void MainWindow::delSendMessage(QString msg)
{
    notice->showText(msg);
}

void MainWindow::on_closeBtn_clicked()
{
    close();
}

void MainWindow::on_minBtn_clicked()
{
    showMinimized();
}

void MainWindow::on_normalBtn_clicked()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        if (isMaximized())
            ui->normalBtn->setIcon(QIcon(":/img/ic_normal.png"));
        else if (!isMinimized())
            ui->normalBtn->setIcon(QIcon(":/img/ic_max.png"));
        ui->normalBtn->clearFocus();
    } else if (event->type() == QEvent::LanguageChange && list) {
        ui->retranslateUi(this);
        list->retranslate();
        retranslateAuditBanners();
        // The search's entries carry translated marks ("out of range"): list them anew.
        list->searchChanged();
    }
    NativeWindowTemplate<QMainWindow>::changeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    if (list)
        list->layoutEntries();
    if (notice)
        notice->setGeometry(rect());
    NativeWindowTemplate<QMainWindow>::resizeEvent(event);
}
