// SPDX-License-Identifier: GPL-3.0-or-later
// SettingMenu: the toolbar's drop-down panel with about, help, language, automatic download and
// factory reset.
#include "app/settingmenu.h"

#include "app/selectbutton.h"
#include "core/auditsettings.h"
#include "core/autodownloadsettings.h"
#include "core/settinginfo.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace
{
constexpr int menuWidth = 160;
// The height of the panel with its entries folded: it keeps that size, and grows only when
// unfolded entries need more.
constexpr int foldedHeight = 240;
constexpr int topMargin = 8;
constexpr int entryHeight = 40;
constexpr int infoHeight = 44;
} // namespace

SettingMenu::SettingMenu(QWidget *parent) : QWidget(parent), isChinese(!isEnglish())
{
    setObjectName(QStringLiteral("SettingMenu"));
    setFixedSize(menuWidth, foldedHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, topMargin, 0, 0);
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
    englishBtn = makeSubEntry(QStringLiteral("englishBtn"));
    autoBtn = new SelectButton(QStringLiteral(":/img/ic_down_menu_w.svg"), widget);
    autoBtn->setObjectName(QStringLiteral("autoBtn"));
    autoSwitchBtn = makeCheckEntry(QStringLiteral("autoSwitchBtn"));
    autoPdfBtn = makeCheckEntry(QStringLiteral("autoPdfBtn"));
    autoCsvBtn = makeCheckEntry(QStringLiteral("autoCsvBtn"));
    autoXlsxBtn = makeCheckEntry(QStringLiteral("autoXlsxBtn"));
    autoFolderBtn = makeSubEntry(QStringLiteral("autoFolderBtn"));
    autoFolderBtn->setIcon(QIcon(QStringLiteral(":/img/ic_file_w.png")));
    auditBtn = new SelectButton(QStringLiteral(":/img/ic_file_w.png"), widget);
    auditBtn->setObjectName(QStringLiteral("auditBtn"));
    askReasonBtn = makeCheckEntry(QStringLiteral("askReasonBtn"));
    // A top-level entry, laid out as the others, with the check box for its icon.
    askReasonBtn->setStyleSheet(QStringLiteral(
        "QPushButton{border: none; color: white; font-size: 14px; padding-left: 12px;"
        " text-align: left; background-color: transparent;}"
        "QPushButton:hover{border: 2px solid #CFCFCF; border-radius: 8px;}"));
    askReasonBtn->setChecked(askForReason());
    resetBtn = new SelectButton(QStringLiteral(":/img/ic_reset.png"), widget);
    resetBtn->setObjectName(QStringLiteral("resetBtn"));

    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    entries = {aboutBtn,   helpBtn,    langueBtn,   englishBtn,    autoBtn, autoSwitchBtn,
               autoPdfBtn, autoCsvBtn, autoXlsxBtn, autoFolderBtn, askReasonBtn, auditBtn,
               resetBtn};
    for (QPushButton *button : qAsConst(entries))
        column->addWidget(button);
    archiveInfo = new QLabel(widget);
    archiveInfo->setObjectName(QStringLiteral("archiveInfo"));
    archiveInfo->setFixedHeight(infoHeight);
    archiveInfo->setStyleSheet(
        QStringLiteral("QLabel{color: rgb(170, 170, 174); font-size: 12px; padding-left: 8px;}"));
    column->addWidget(archiveInfo);
    column->addStretch(1);

    for (QPushButton *button :
         {englishBtn, autoSwitchBtn, autoPdfBtn, autoCsvBtn, autoXlsxBtn, autoFolderBtn})
        button->hide();
    retranslate();
    showAutoDownload();
    fitHeight();

    connect(aboutBtn, &QPushButton::clicked, this, &SettingMenu::showAbout);
    connect(helpBtn, &QPushButton::clicked, this, &SettingMenu::showHelp);
    connect(resetBtn, &QPushButton::clicked, this, &SettingMenu::sendResetCmd);
    connect(auditBtn, &QPushButton::clicked, this, &SettingMenu::showAuditTrail);
    connect(langueBtn, &QPushButton::clicked, this, &SettingMenu::on_langueBtn_clicked);
    connect(englishBtn, &QPushButton::clicked, this, &SettingMenu::on_englishBtn_clicked);
    connect(autoBtn, &QPushButton::clicked, this, &SettingMenu::on_autoBtn_clicked);
    connect(autoSwitchBtn, &QPushButton::clicked, this, [this](bool on) {
        storeAutoDownload();
        emit autoDownloadSwitched(on);
    });
    connect(autoPdfBtn, &QPushButton::clicked, this, &SettingMenu::storeAutoDownload);
    connect(autoCsvBtn, &QPushButton::clicked, this, &SettingMenu::storeAutoDownload);
    connect(autoXlsxBtn, &QPushButton::clicked, this, &SettingMenu::storeAutoDownload);
    connect(autoFolderBtn, &QPushButton::clicked, this, &SettingMenu::chooseReportFolder);
    connect(askReasonBtn, &QPushButton::clicked, this, [this](bool on) {
        setAskForReason(on);
        emit askForReasonSwitched(on);
    });
}

QPushButton *SettingMenu::makeSubEntry(const QString &name)
{
    auto *button = new QPushButton(widget);
    button->setObjectName(name);
    button->setFixedHeight(entryHeight);
    button->setStyleSheet(QStringLiteral(
        "QPushButton{border: none; color: white; font-size: 14px; padding-left: 30px;"
        " text-align: left; background-color: rgba(94, 94, 94, 1);}"
        "QPushButton:hover{border: 2px solid #CFCFCF; border-radius: 8px;}"));
    return button;
}

QPushButton *SettingMenu::makeCheckEntry(const QString &name)
{
    QPushButton *button = makeSubEntry(name);
    button->setCheckable(true);
    QIcon box;
    box.addPixmap(QPixmap(QStringLiteral(":/img/ic_unselect_box.png")), QIcon::Normal, QIcon::Off);
    box.addPixmap(QPixmap(QStringLiteral(":/img/ic_select_box.png")), QIcon::Normal, QIcon::On);
    button->setIcon(box);
    button->setIconSize(QSize(16, 16));
    return button;
}

void SettingMenu::on_langueBtn_clicked()
{
    // Unfolds or folds the other language; the popup stays open.
    englishBtn->setVisible(englishBtn->isHidden());
    fitHeight();
}

void SettingMenu::on_englishBtn_clicked()
{
    englishBtn->hide();
    fitHeight();
    isChinese = !isChinese;
    showLanguages();
    emit sendLangueCmd(isChinese);
}

void SettingMenu::on_autoBtn_clicked()
{
    const bool unfold = autoSwitchBtn->isHidden();
    for (QPushButton *button : {autoSwitchBtn, autoPdfBtn, autoCsvBtn, autoXlsxBtn, autoFolderBtn})
        button->setVisible(unfold);
    fitHeight();
}

void SettingMenu::fitHeight()
{
    int shown = 0;
    for (QPushButton *button : qAsConst(entries))
        shown += button->isHidden() ? 0 : 1;
    setFixedHeight(qMax(foldedHeight, topMargin + shown * entryHeight + infoHeight + topMargin));
}

void SettingMenu::setArchiveLocation(const ArchiveLocation &location)
{
    archive = location;
    retranslate();
}

void SettingMenu::setArchiveSecurity(const ArchiveSecurity &connection)
{
    security = connection;
    retranslate();
}

QStringList SettingMenu::securityLines() const
{
    QStringList lines;
    if (!security.team)
        return lines;
    if (!security.encrypted) {
        lines << tr("连接未加密");
    } else {
        lines << tr("连接已加密（%1）").arg(security.protocol);
        if (security.caChecked)
            lines << (security.hostChecked ? tr("已核对服务器证书 %1 及其主机名，CA 文件：%2")
                                           : tr("已核对服务器证书 %1，未核对主机名，CA 文件：%2"))
                         .arg(security.certificate,
                              security.caFile.isEmpty() ? QStringLiteral("~/.postgresql/root.crt")
                                                        : QDir::toNativeSeparators(security.caFile));
        else
            lines << tr("未核对服务器证书 %1").arg(security.certificate);
    }
    if (!security.hostChecked)
        lines << tr("网络上的团队档案库请在地址中加上 sslmode=verify-full&sslrootcert=CA 文件");
    return lines;
}

void SettingMenu::showAutoDownload()
{
    const AutoDownloadSettings settings = autoDownloadSettings();
    autoSwitchBtn->setChecked(settings.enabled);
    autoPdfBtn->setChecked(settings.pdf);
    autoCsvBtn->setChecked(settings.spreadsheet);
    autoXlsxBtn->setChecked(settings.workbook);
    autoFolderBtn->setToolTip(QDir::toNativeSeparators(autoReportFolder(settings)));
    askReasonBtn->setChecked(askForReason());
}

void SettingMenu::storeAutoDownload()
{
    const AutoDownloadSettings before = autoDownloadSettings();
    AutoDownloadSettings settings = before;
    settings.enabled = autoSwitchBtn->isChecked();
    settings.pdf = autoPdfBtn->isChecked();
    settings.spreadsheet = autoCsvBtn->isChecked();
    settings.workbook = autoXlsxBtn->isChecked();
    setAutoDownloadSettings(settings);
    emit autoDownloadChanged(before, settings);
}

void SettingMenu::retranslate()
{
    aboutBtn->setText(tr("关于"));
    helpBtn->setText(tr("帮助"));
    autoBtn->setText(tr("自动下载"));
    autoSwitchBtn->setText(tr("开启"));
    autoPdfBtn->setText(tr("PDF 报告"));
    autoCsvBtn->setText(tr("表格文件"));
    autoXlsxBtn->setText(tr("Excel 工作簿"));
    autoFolderBtn->setText(tr("报告文件夹"));
    auditBtn->setText(tr("审计追踪"));
    askReasonBtn->setText(tr("要求填写原因"));
    resetBtn->setText(tr("恢复出厂设置"));
    // The kind of archive in words, where it is as its own text (a path or a server).
    const QString where = archive.displayText();
    QString kind = archive.isTeamArchive() ? tr("团队档案库") : tr("本机档案库");
    if (security.team)
        kind = security.encrypted ? tr("团队档案库（已加密）") : tr("团队档案库（未加密）");
    archiveInfo->setText(kind + QLatin1Char('\n') +
                         archiveInfo->fontMetrics().elidedText(where, Qt::ElideMiddle,
                                                               menuWidth - 16));
    archiveInfo->setToolTip((QStringList{where} + securityLines()).join(QLatin1Char('\n')));
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

void SettingMenu::showEvent(QShowEvent *event)
{
    // The report folder is chosen outside the menu.
    showAutoDownload();
    QWidget::showEvent(event);
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
