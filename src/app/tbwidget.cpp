// SPDX-License-Identifier: GPL-3.0-or-later
// TbWidget: the toolbar with the device settings, download and recording buttons and two menus.
#include "app/tbwidget.h"

#include "app/exportmenu.h"
#include "app/settingmenu.h"
#include "core/autodownloadsettings.h"
#include "core/settinginfo.h"
#include "core/shippedfiles.h"
#include "widgets/icontoolbtn.h"

#include <QActionEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QUrl>
#include <QWidgetAction>

namespace
{
const QString exportPopupName = QStringLiteral("ExportMenumenu");
const QString settingPopupName = QStringLiteral("SettingMenumenu");
// The export and settings buttons take the toolbar's last 100 pixels; the
// recording button keeps at least a small gap before them.
constexpr int menuButtonsSpan = 100;
constexpr int menuButtonGap = 8;
} // namespace

TbWidget::TbWidget(QWidget *parent)
    : QWidget(parent), helpFolder(QFileInfo(shippedFilePath(QStringLiteral("help.pdf"))).path())
{
    setObjectName(QStringLiteral("TbWidget"));

    font = QWidget::font();
    font.setPixelSize(20);

    devSetBtn = makeDeviceButton(QStringLiteral("devSetBtn"), QRect(0, 1, 180, 50));
    devSetBtn->setText(tr("进入设备设置"));
    devSetBtn->setNormalPixmap(QPixmap(QStringLiteral(":/img/ic_devset_menu_b.svg")));
    devSetBtn->setCheckedPixmap(QPixmap(QStringLiteral(":/img/ic_devset_menu_w.svg")));
    devSetBtn->installEventFilter(this);

    downloadBtn = makeDeviceButton(QStringLiteral("downloadBtn"), QRect(181, 1, 180, 50));
    downloadBtn->setText(tr("下载"));
    downloadBtn->setNormalPixmap(QPixmap(QStringLiteral(":/img/ic_down_menu_b.svg")));
    downloadBtn->setCheckedPixmap(QPixmap(QStringLiteral(":/img/ic_down_menu_w.svg")));

    recordBtn = makeDeviceButton(QStringLiteral("recordBtn"), QRect(362, 1, 180, 50));
    showRecordAsStop(true);
    resetButtons();

    exportBtn = makeMenuButton(QStringLiteral("exportBtn"), QStringLiteral(":/img/u_export.png"));
    settingBtn =
        makeMenuButton(QStringLiteral("settingBtn"), QStringLiteral(":/img/ic_settings.png"));
    exportMenu = new ExportMenu(this);
    wrapInPopup(exportMenu, exportBtn);
    settingMenu = new SettingMenu(this);
    wrapInPopup(settingMenu, settingBtn);

    exportBtn->setToolTip(tr("导出"));
    settingBtn->setToolTip(tr("设置"));
    resize(598, 40);
    setMinimumHeight(52);
    placeMenuButtons();
    // A toolbar built after English was chosen gets no language-change event, so the
    // wider English layout is applied here.
    if (isEnglish())
        layOutDeviceButtons();

    connect(exportMenu, &ExportMenu::sendExportTypeSignal, this, [this](int type) {
        hidePopup(exportPopupName);
        emit sendExportTypeSignal(type);
    });
    connect(settingMenu, &SettingMenu::sendResetCmd, this, [this] {
        hidePopup(settingPopupName);
        emit sendResetCmd();
    });
    connect(settingMenu, &SettingMenu::showAbout, this, [this] {
        hidePopup(settingPopupName);
        emit showAbout();
    });
    connect(settingMenu, &SettingMenu::showAuditTrail, this, [this] {
        hidePopup(settingPopupName);
        emit showAuditTrail();
    });
    connect(settingMenu, &SettingMenu::sendLangueCmd, this, [this](bool isChinese) {
        hidePopup(settingPopupName);
        emit sendLangueCmd(isChinese);
    });
    connect(settingMenu, &SettingMenu::showHelp, this, [this] {
        hidePopup(settingPopupName);
        openHelp();
    });
    connect(settingMenu, &SettingMenu::autoDownloadSwitched, this, [this](bool on) {
        emit sendMessage(on ? tr("自动下载已开启，之后接入的记录仪将自动下载")
                            : tr("自动下载已关闭"));
    });
    connect(settingMenu, &SettingMenu::autoDownloadChanged, this, &TbWidget::autoDownloadChanged);
    connect(settingMenu, &SettingMenu::askForReasonSwitched, this, &TbWidget::askForReasonSwitched);
    connect(settingMenu, &SettingMenu::chooseReportFolder, this, [this] {
        hidePopup(settingPopupName);
        chooseReportFolder();
    });
    connect(devSetBtn, &QPushButton::clicked, this, &TbWidget::onDevSetClicked);
    connect(downloadBtn, &QPushButton::clicked, this, &TbWidget::onDownloadClicked);
    connect(recordBtn, &QPushButton::clicked, this, &TbWidget::onRecordClicked);
}

IconToolBtn *TbWidget::makeDeviceButton(const QString &name, const QRect &geometry)
{
    auto *button = new IconToolBtn(this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setCheckable(true);
    button->setFont(font);
    return button;
}

QToolButton *TbWidget::makeMenuButton(const QString &name, const QString &iconPath)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setIcon(QIcon(iconPath));
    button->setIconSize(QSize(24, 24));
    button->setStyleSheet(
        QStringLiteral("QToolButton{border: none;}QToolButton::menu-indicator {image: none;}"));
    button->setArrowType(Qt::NoArrow);
    button->setPopupMode(QToolButton::InstantPopup);
    return button;
}

void TbWidget::wrapInPopup(QWidget *content, QToolButton *button)
{
    auto *popup = new QMenu(this);
    popup->setWindowFlags(popup->windowFlags() | Qt::FramelessWindowHint |
                          Qt::NoDropShadowWindowHint);
    popup->setAttribute(Qt::WA_TranslucentBackground);
    popup->setStyleSheet(QStringLiteral("border:none; background: rgba(0, 0, 0, 0);"));
    popup->setObjectName(content->objectName() + QStringLiteral("menu"));
    auto *action = new QWidgetAction(popup);
    action->setDefaultWidget(content);
    popup->addAction(action);
    popup->installEventFilter(this);
    content->installEventFilter(this);
    button->setMenu(popup);
}

void TbWidget::hidePopup(const QString &name)
{
    if (auto *popup = findChild<QMenu *>(name))
        popup->hide();
}

void TbWidget::placePopup(QMenu *popup, QToolButton *button)
{
    // Centred under the button and shifted left so that the pointer painted at three
    // quarters of the menu's width points at the button.
    const QPoint p = button->mapToGlobal(QPoint(0, 0));
    const QSize b = button->size();
    const QSize m = popup->size();
    popup->move(p.x() + b.width() / 2 - m.width() / 2 - 38, p.y() + b.height() + 6);
}

bool TbWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == devSetBtn && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && devSetBtn->isChecked()) {
        // Leaving the settings page goes through the form, which may ask to save first.
        emit sendSaveConfigOptSignal();
        return true;
    }
    if (event->type() == QEvent::Resize && (watched == exportMenu || watched == settingMenu)) {
        // A menu that unfolds entries grows; its popup measures it again only when told
        // that its action changed. Posted: a fixed height is resized to before its new
        // maximum is set, which the popup would measure against.
        auto *popup = findChild<QMenu *>(watched->objectName() + QStringLiteral("menu"));
        if (popup && !popup->actions().isEmpty())
            QCoreApplication::postEvent(
                popup, new QActionEvent(QEvent::ActionChanged, popup->actions().first()));
    }
    if (event->type() == QEvent::Show) {
        const QString name = watched->objectName();
        if (name == exportPopupName || name == settingPopupName) {
            placePopup(static_cast<QMenu *>(watched),
                       name == exportPopupName ? exportBtn : settingBtn);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TbWidget::resetButtons()
{
    connected = false;
    for (IconToolBtn *button : {devSetBtn, downloadBtn, recordBtn}) {
        button->setChecked(false);
        button->setEnabled(false);
    }
    devSetBtn->setText(tr("进入设备设置"));
    layOutDeviceButtons();
}

void TbWidget::enableButtons()
{
    connected = true;
    devSetBtn->setEnabled(true);
    downloadBtn->setEnabled(true);
    applyRecordRule();
}

void TbWidget::downloadFinished()
{
    downloadBtn->setChecked(false);
    if (!connected)
        return;
    devSetBtn->setEnabled(true);
    applyRecordRule();
}

bool TbWidget::startDownload()
{
    if (!downloadBtn->isEnabled() || downloadBtn->isChecked())
        return false;
    downloadBtn->setChecked(true);
    onDownloadClicked(true);
    return true;
}

void TbWidget::applyRecordRule()
{
    recordBtn->setEnabled(startMode == 1 || canStopRecording > 0);
}

void TbWidget::showRecordAsStop(bool stop)
{
    if (stop) {
        recordBtn->setText(tr("结束记录"));
        recordBtn->setNormalPixmap(QPixmap(QStringLiteral(":/img/ic_stopcord_menu_b.svg")));
        recordBtn->setCheckedPixmap(QPixmap(QStringLiteral(":/img/ic_stopcord_menu_w.svg")));
    } else {
        recordBtn->setText(tr("开始记录"));
        recordBtn->setNormalPixmap(QPixmap(QStringLiteral(":/img/ic_start_record_menu_b.png")));
        recordBtn->setCheckedPixmap(QPixmap(QStringLiteral(":/img/ic_start_record_menu_w.png")));
    }
    layOutDeviceButtons();
}

void TbWidget::delToNoticeTbWidget(int startMode, bool isRestart, bool isRecord)
{
    Q_UNUSED(isRestart)
    qDebug() << "***************** delToNoticeTbWidget" << startMode
             << (isRecord ? "true" : "false");
    this->isRecord = isRecord;
    this->startMode = startMode;
    if (startMode == 1) {
        showRecordAsStop(isRecord);
        recordBtn->setEnabled(true);
        canStopRecording = 0;
    } else {
        // Only the logger's key or its schedule starts a recording; the button may stop it.
        showRecordAsStop(true);
        recordBtn->setEnabled(isRecord);
        canStopRecording = isRecord ? 1 : 0;
    }
}

void TbWidget::delToNoticeTbWidgetOnlyStartMode(int startMode)
{
    qDebug() << "***************** delToNoticeTbWidgetOnlyStartMode" << startMode;
    this->startMode = startMode;
    if (startMode == 1) {
        showRecordAsStop(isRecord);
        recordBtn->setEnabled(!devSetBtn->isChecked() && !downloadBtn->isChecked());
        canStopRecording = 0;
    } else {
        showRecordAsStop(true);
        recordBtn->setEnabled(isRecord);
        canStopRecording = isRecord ? 1 : 0;
    }
}

void TbWidget::delStopStartRecordResult(bool isSuccess, bool isStop)
{
    Q_UNUSED(isStop)
    recordBtn->setChecked(false);
    if (isSuccess)
        canStopRecording = 0;
}

void TbWidget::onDevSetClicked(bool checked)
{
    if (checked) {
        devSetBtn->setText(tr("退出设备设置"));
        layOutDeviceButtons();
        downloadBtn->setEnabled(false);
        recordBtn->setEnabled(false);
    } else {
        devSetBtn->setText(tr("进入设备设置"));
        downloadBtn->setEnabled(true);
        applyRecordRule();
    }
    emit devSettingShowSignal(checked);
}

void TbWidget::onDownloadClicked(bool checked)
{
    if (!checked)
        return;
    devSetBtn->setEnabled(false);
    recordBtn->setEnabled(false);
    emit devDownLoadSignal();
}

void TbWidget::onRecordClicked(bool checked)
{
    // The button stays checked, painted dark, until the logger answers.
    if (checked)
        emit toStopStartRecordSignal(recordBtn->text() != tr("开始记录"));
}

QString TbWidget::helpFilePath() const
{
    return helpFolder +
           (isEnglish() ? QStringLiteral("/help.pdf") : QStringLiteral("/help_zh.pdf"));
}

void TbWidget::openHelp()
{
    const QString path = helpFilePath();
    if (!QFileInfo(path).isFile()) {
        emit sendMessage(tr("未找到帮助文档"));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        emit sendMessage(tr("无法打开帮助文档"));
}

void TbWidget::chooseReportFolder()
{
    const AutoDownloadSettings before = autoDownloadSettings();
    AutoDownloadSettings settings = before;
    const QString folder = QFileDialog::getExistingDirectory(window(), tr("自动下载的报告文件夹"),
                                                             autoReportFolder(settings));
    if (folder.isEmpty())
        return;
    settings.reportFolder = folder;
    setAutoDownloadSettings(settings);
    emit autoDownloadChanged(before, settings);
    emit sendMessage(tr("报告将保存到 %1").arg(QDir::toNativeSeparators(folder)));
}

void TbWidget::placeMenuButtons()
{
    exportBtn->setGeometry(width() - menuButtonsSpan, 13, 30, 30);
    settingBtn->setGeometry(width() - 50, 13, 30, 30);
}

void TbWidget::resizeEvent(QResizeEvent *event)
{
    placeMenuButtons();
    layOutDeviceButtons();
    QWidget::resizeEvent(event);
}

void TbWidget::layOutDeviceButtons()
{
    // The English texts are longer: the settings button widens by 60 px.
    if (!exportBtn)
        return; // still being built
    const int devSetWidth = isEnglish() ? 240 : 181;
    const int downloadX = isEnglish() ? 241 : 181;
    const int recordX = isEnglish() ? 422 : 362;
    devSetBtn->setGeometry(0, 1, devSetWidth, 50);
    downloadBtn->setGeometry(downloadX, 1, 180, 50);
    recordBtn->setGeometry(recordX, 1, 180, 50);
    // A narrow window leaves no room for that spacing before the export
    // button: the buttons then take only what their icon and text need.
    const int room = width() - menuButtonsSpan - menuButtonGap;
    if (recordBtn->geometry().right() < room)
        return;
    const QList<IconToolBtn *> buttons = {devSetBtn, downloadBtn, recordBtn};
    int content = 0;
    for (IconToolBtn *button : buttons)
        content += button->contentWidth() + 1;
    const int margin = qBound(2, (room - content) / (2 * buttons.size()), 16);
    int x = 0;
    for (IconToolBtn *button : buttons) {
        button->setGeometry(x, 1, button->contentWidth() + 2 * margin, 50);
        x += button->width() + 1;
    }
}

void TbWidget::retranslate()
{
    exportBtn->setToolTip(tr("导出"));
    settingBtn->setToolTip(tr("设置"));
    downloadBtn->setText(tr("下载"));
    devSetBtn->setText(devSetBtn->isChecked() ? tr("退出设备设置") : tr("进入设备设置"));
    recordBtn->setText(startMode == 1 && !isRecord ? tr("开始记录") : tr("结束记录"));
    layOutDeviceButtons();
}

void TbWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void TbWidget::setArchiveLocation(const ArchiveLocation &location)
{
    settingMenu->setArchiveLocation(location);
}

void TbWidget::setArchiveSecurity(const ArchiveSecurity &security)
{
    settingMenu->setArchiveSecurity(security);
}
