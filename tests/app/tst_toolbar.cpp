// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar: which device button is usable in which state, the popups and their entries.
#include "app/selectbutton.h"
#include "app/tbwidget.h"
#include "core/autodownloadsettings.h"
#include "core/settinginfo.h"
#include "widgets/icontoolbtn.h"

#include <QDesktopServices>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// Stands in for the desktop's file associations.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class TestToolbar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void startsDisabled();
    void recordButtonFollowsDeviceState_data();
    void recordButtonFollowsDeviceState();
    void keyStartRecordingCanBeStopped();
    void failedAnswerKeepsStopPossible();
    void secondClickUnchecksWithoutSignal();
    void settingsPageBlocksOtherButtons();
    void startModeWrittenFromSettingsPage();
    void downloadDisablesOthersUntilFinished();
    void downloadEndingAfterRemovalStaysDisabled();
    void languageWidensSettingsButton();
    void exportEntries_data();
    void exportEntries();
    void popupSitsUnderItsButton_data();
    void popupSitsUnderItsButton();
    void languageEntries_data();
    void languageEntries();
    void menuCommands();
    void autoDownloadEntries();
    void helpDocument_data();
    void helpDocument();

private:
    IconToolBtn *button(TbWidget &tb, const char *name)
    {
        return tb.findChild<IconToolBtn *>(QString::fromLatin1(name));
    }
    UrlCatcher catcher;
};

void TestToolbar::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
}

void TestToolbar::init()
{
    setCurrentLanguage(QStringLiteral("Chinese"));
    catcher.opened.clear();
}

void TestToolbar::startsDisabled()
{
    TbWidget tb;
    for (const char *name : {"devSetBtn", "downloadBtn", "recordBtn"}) {
        QVERIFY2(!button(tb, name)->isEnabled(), name);
        QVERIFY2(button(tb, name)->isCheckable(), name);
    }
    QCOMPARE(button(tb, "devSetBtn")->text(), QStringLiteral("进入设备设置"));
    QCOMPARE(button(tb, "recordBtn")->text(), QStringLiteral("结束记录"));
    QVERIFY(tb.findChild<QToolButton *>("exportBtn")->isEnabled());
    QVERIFY(tb.findChild<QToolButton *>("settingBtn")->isEnabled());
}

void TestToolbar::recordButtonFollowsDeviceState_data()
{
    QTest::addColumn<int>("startMode");
    QTest::addColumn<bool>("isRecord");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("text");

    QTest::newRow("key start, idle") << 0 << false << false << "结束记录";
    QTest::newRow("key start, recording") << 0 << true << true << "结束记录";
    QTest::newRow("software start, idle") << 1 << false << true << "开始记录";
    QTest::newRow("software start, recording") << 1 << true << true << "结束记录";
    QTest::newRow("scheduled start, idle") << 2 << false << false << "结束记录";
    QTest::newRow("scheduled start, recording") << 2 << true << true << "结束记录";
}

void TestToolbar::recordButtonFollowsDeviceState()
{
    QFETCH(int, startMode);
    QFETCH(bool, isRecord);
    QFETCH(bool, enabled);
    QFETCH(QString, text);

    TbWidget tb;
    QSignalSpy stopStart(&tb, &TbWidget::toStopStartRecordSignal);
    tb.enableButtons();
    tb.delToNoticeTbWidget(startMode, false, isRecord);

    IconToolBtn *record = button(tb, "recordBtn");
    QCOMPARE(record->isEnabled(), enabled);
    QCOMPARE(record->text(), text);
    QVERIFY(button(tb, "devSetBtn")->isEnabled());
    QVERIFY(button(tb, "downloadBtn")->isEnabled());

    // The same state survives a settings page closed by resetButtons + enableButtons.
    tb.resetButtons();
    tb.enableButtons();
    QCOMPARE(record->isEnabled(), enabled);

    record->click();
    if (!enabled) {
        QCOMPARE(stopStart.count(), 0);
        return;
    }
    QCOMPARE(stopStart.count(), 1);
    QCOMPARE(stopStart.at(0).at(0).toBool(), text == QStringLiteral("结束记录"));
    QVERIFY(record->isChecked());
}

void TestToolbar::keyStartRecordingCanBeStopped()
{
    TbWidget tb;
    QSignalSpy stopStart(&tb, &TbWidget::toStopStartRecordSignal);
    IconToolBtn *record = button(tb, "recordBtn");
    tb.enableButtons();
    tb.delToNoticeTbWidget(0, true, false);
    QVERIFY(!record->isEnabled());

    // The logger's key started a recording.
    tb.delToNoticeTbWidget(0, true, true);
    QVERIFY(record->isEnabled());
    record->click();
    QCOMPARE(stopStart.count(), 1);
    QCOMPARE(stopStart.at(0).at(0).toBool(), true);

    tb.delStopStartRecordResult(true, true);
    QVERIFY(!record->isChecked());
    // Stopped: the next idle state disables the button again, as does any re-enable.
    tb.enableButtons();
    QVERIFY(!record->isEnabled());
    tb.delToNoticeTbWidget(0, true, false);
    QVERIFY(!record->isEnabled());
    QCOMPARE(record->text(), QStringLiteral("结束记录"));
}

void TestToolbar::failedAnswerKeepsStopPossible()
{
    TbWidget tb;
    IconToolBtn *record = button(tb, "recordBtn");
    tb.enableButtons();
    tb.delToNoticeTbWidget(2, false, true);
    record->click();
    tb.delStopStartRecordResult(false, true);
    QVERIFY(!record->isChecked());
    tb.resetButtons();
    tb.enableButtons();
    QVERIFY(record->isEnabled());
}

void TestToolbar::secondClickUnchecksWithoutSignal()
{
    TbWidget tb;
    QSignalSpy stopStart(&tb, &TbWidget::toStopStartRecordSignal);
    QSignalSpy download(&tb, &TbWidget::devDownLoadSignal);
    tb.enableButtons();
    tb.delToNoticeTbWidget(1, false, false);

    IconToolBtn *record = button(tb, "recordBtn");
    record->click();
    record->click();
    QVERIFY(!record->isChecked());
    QCOMPARE(stopStart.count(), 1);
    QCOMPARE(stopStart.at(0).at(0).toBool(), false);

    IconToolBtn *downloadBtn = button(tb, "downloadBtn");
    downloadBtn->click();
    downloadBtn->click();
    QVERIFY(!downloadBtn->isChecked());
    QCOMPARE(download.count(), 1);
}

void TestToolbar::settingsPageBlocksOtherButtons()
{
    TbWidget tb;
    QSignalSpy show(&tb, &TbWidget::devSettingShowSignal);
    QSignalSpy save(&tb, &TbWidget::sendSaveConfigOptSignal);
    tb.enableButtons();
    tb.delToNoticeTbWidget(0, false, false);

    IconToolBtn *devSet = button(tb, "devSetBtn");
    devSet->click();
    QVERIFY(devSet->isChecked());
    QCOMPARE(devSet->text(), QStringLiteral("退出设备设置"));
    QVERIFY(!button(tb, "downloadBtn")->isEnabled());
    QVERIFY(!button(tb, "recordBtn")->isEnabled());
    QCOMPARE(show.count(), 1);
    QCOMPARE(show.at(0).at(0).toBool(), true);

    // A click on the checked button asks the form; the page stays open.
    QTest::mouseClick(devSet, Qt::LeftButton);
    QVERIFY(devSet->isChecked());
    QCOMPARE(save.count(), 1);
    QCOMPARE(show.count(), 1);

    // A recording started meanwhile may be stopped from the open page.
    tb.delToNoticeTbWidget(0, false, true);
    QVERIFY(button(tb, "recordBtn")->isEnabled());
    QVERIFY(!button(tb, "downloadBtn")->isEnabled());

    tb.resetButtons();
    tb.enableButtons();
    QVERIFY(!devSet->isChecked());
    QCOMPARE(devSet->text(), QStringLiteral("进入设备设置"));
    QVERIFY(button(tb, "downloadBtn")->isEnabled());
}

void TestToolbar::startModeWrittenFromSettingsPage()
{
    TbWidget tb;
    IconToolBtn *record = button(tb, "recordBtn");
    tb.enableButtons();
    tb.delToNoticeTbWidget(0, false, false);
    button(tb, "devSetBtn")->click();

    // Software start written while the page is open: usable only after the page closes.
    tb.delToNoticeTbWidgetOnlyStartMode(1);
    QVERIFY(!record->isEnabled());
    QCOMPARE(record->text(), QStringLiteral("开始记录"));
    tb.resetButtons();
    tb.enableButtons();
    QVERIFY(record->isEnabled());

    tb.delToNoticeTbWidgetOnlyStartMode(0);
    QVERIFY(!record->isEnabled());
    QCOMPARE(record->text(), QStringLiteral("结束记录"));
}

void TestToolbar::downloadDisablesOthersUntilFinished()
{
    TbWidget tb;
    QSignalSpy download(&tb, &TbWidget::devDownLoadSignal);
    tb.enableButtons();
    tb.delToNoticeTbWidget(1, false, false);

    IconToolBtn *downloadBtn = button(tb, "downloadBtn");
    downloadBtn->click();
    QCOMPARE(download.count(), 1);
    QVERIFY(downloadBtn->isChecked());
    QVERIFY(!button(tb, "devSetBtn")->isEnabled());
    QVERIFY(!button(tb, "recordBtn")->isEnabled());

    tb.downloadFinished();
    QVERIFY(!downloadBtn->isChecked());
    QVERIFY(downloadBtn->isEnabled());
    QVERIFY(button(tb, "devSetBtn")->isEnabled());
    QVERIFY(button(tb, "recordBtn")->isEnabled());
}

void TestToolbar::downloadEndingAfterRemovalStaysDisabled()
{
    TbWidget tb;
    tb.enableButtons();
    tb.delToNoticeTbWidget(1, false, false);
    button(tb, "downloadBtn")->click();

    // The logger was unplugged; the download dialog closes afterwards.
    tb.resetButtons();
    tb.downloadFinished();
    for (const char *name : {"devSetBtn", "downloadBtn", "recordBtn"}) {
        QVERIFY2(!button(tb, name)->isEnabled(), name);
        QVERIFY2(!button(tb, name)->isChecked(), name);
    }
}

void TestToolbar::languageWidensSettingsButton()
{
    TbWidget tb;
    // As wide as in the window at its default size.
    tb.resize(925, 52);
    IconToolBtn *devSet = button(tb, "devSetBtn");
    QCOMPARE(devSet->geometry(), QRect(0, 1, 180, 50));

    setCurrentLanguage(QStringLiteral("English"));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&tb, &change);
    QCOMPARE(devSet->geometry(), QRect(0, 1, 240, 50));
    QCOMPARE(button(tb, "downloadBtn")->geometry(), QRect(241, 1, 180, 50));
    QCOMPARE(button(tb, "recordBtn")->geometry(), QRect(422, 1, 180, 50));

    // A toolbar created after the switch starts in the English layout.
    TbWidget later;
    later.resize(925, 52);
    later.show();
    QCOMPARE(button(later, "devSetBtn")->geometry(), QRect(0, 1, 240, 50));

    setCurrentLanguage(QStringLiteral("Chinese"));
    QCoreApplication::sendEvent(&tb, &change);
    QCOMPARE(devSet->geometry(), QRect(0, 1, 181, 50));
    QCOMPARE(button(tb, "downloadBtn")->pos(), QPoint(181, 1));
    QCOMPARE(button(tb, "recordBtn")->pos(), QPoint(362, 1));
}

void TestToolbar::exportEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::newRow("pdf") << "pdfBtn"
                         << "PDF" << 0;
    QTest::newRow("spreadsheet") << "excelBtn"
                                 << "Excel" << 1;
    QTest::newRow("signature") << "signBtn"
                               << "签名报告" << 2;
}

void TestToolbar::exportEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, text);
    QFETCH(int, type);

    TbWidget tb;
    tb.resize(900, 52);
    tb.show();
    QSignalSpy exported(&tb, &TbWidget::sendExportTypeSignal);
    auto *popup = tb.findChild<QMenu *>("ExportMenumenu");
    QVERIFY(popup);
    QCOMPARE(tb.findChild<QToolButton *>("exportBtn")->menu(), popup);
    popup->popup(QPoint());
    QVERIFY(popup->isVisible());

    auto *button = tb.findChild<SelectButton *>(entry);
    QCOMPARE(button->text(), text);
    button->click();
    QCOMPARE(exported.count(), 1);
    QCOMPARE(exported.at(0).at(0).toInt(), type);
    QVERIFY(!popup->isVisible());
}

void TestToolbar::popupSitsUnderItsButton_data()
{
    QTest::addColumn<QString>("popupName");
    QTest::addColumn<QString>("buttonName");
    QTest::newRow("export") << "ExportMenumenu"
                            << "exportBtn";
    QTest::newRow("settings") << "SettingMenumenu"
                              << "settingBtn";
}

void TestToolbar::popupSitsUnderItsButton()
{
    QFETCH(QString, popupName);
    QFETCH(QString, buttonName);

    TbWidget tb;
    tb.resize(900, 52);
    tb.show();
    auto *toolButton = tb.findChild<QToolButton *>(buttonName);
    QCOMPARE(toolButton->geometry(),
             QRect(900 - (buttonName == "exportBtn" ? 100 : 50), 13, 30, 30));

    auto *popup = tb.findChild<QMenu *>(popupName);
    popup->popup(QPoint(5, 5));
    const QPoint p = toolButton->mapToGlobal(QPoint(0, 0));
    QCOMPARE(popup->pos(), QPoint(p.x() + 15 - popup->width() / 2 - 38, p.y() + 30 + 6));
    popup->hide();
}

void TestToolbar::languageEntries_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("emitted");
    QTest::newRow("chinese") << "中文简体"
                             << "中文"
                             << "English" << false;
    QTest::newRow("english") << "English"
                             << "English"
                             << "中文" << true;
    QTest::newRow("lower-case english means chinese") << "english"
                                                      << "中文"
                                                      << "English" << false;
}

void TestToolbar::languageEntries()
{
    QFETCH(QString, language);
    QFETCH(QString, shown);
    QFETCH(QString, other);
    QFETCH(bool, emitted);

    setCurrentLanguage(language);
    TbWidget tb;
    tb.show();
    QSignalSpy langue(&tb, &TbWidget::sendLangueCmd);
    auto *langueBtn = tb.findChild<SelectButton *>("langueBtn");
    auto *englishBtn = tb.findChild<QPushButton *>("englishBtn");
    QCOMPARE(langueBtn->text(), shown);
    QCOMPARE(englishBtn->text(), other);
    QVERIFY(englishBtn->isHidden());

    // The current language unfolds and folds the other one.
    langueBtn->click();
    QVERIFY(!englishBtn->isHidden());
    langueBtn->click();
    QVERIFY(englishBtn->isHidden());
    QCOMPARE(langue.count(), 0);

    langueBtn->click();
    englishBtn->click();
    QVERIFY(englishBtn->isHidden());
    QCOMPARE(langue.count(), 1);
    QCOMPARE(langue.at(0).at(0).toBool(), emitted);
    QCOMPARE(langueBtn->text(), other);
    QCOMPARE(englishBtn->text(), shown);

    // The texts follow the choice through a language change, and back again.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(tb.findChild<QWidget *>("SettingMenu"), &change);
    QCOMPARE(langueBtn->text(), other);
    langueBtn->click();
    englishBtn->click();
    QCOMPARE(langue.at(1).at(0).toBool(), !emitted);
    QCOMPARE(langueBtn->text(), shown);
}

void TestToolbar::menuCommands()
{
    TbWidget tb;
    tb.show();
    QSignalSpy reset(&tb, &TbWidget::sendResetCmd);
    QSignalSpy about(&tb, &TbWidget::showAbout);
    auto *popup = tb.findChild<QMenu *>("SettingMenumenu");

    auto *resetBtn = tb.findChild<SelectButton *>("resetBtn");
    auto *aboutBtn = tb.findChild<SelectButton *>("aboutBtn");
    QCOMPARE(resetBtn->text(), QStringLiteral("恢复出厂设置"));
    QCOMPARE(aboutBtn->text(), QStringLiteral("关于"));
    QCOMPARE(tb.findChild<SelectButton *>("helpBtn")->text(), QStringLiteral("帮助"));

    popup->popup(QPoint());
    resetBtn->click();
    QCOMPARE(reset.count(), 1);
    QVERIFY(!popup->isVisible());
    popup->popup(QPoint());
    aboutBtn->click();
    QCOMPARE(about.count(), 1);
    QVERIFY(!popup->isVisible());
    QCOMPARE(reset.count(), 1);
}

// The automatic download's entries unfold under their row inside a popup that grows to
// show them all, and what they switch is kept.
void TestToolbar::autoDownloadEntries()
{
    setAutoDownloadSettings(AutoDownloadSettings());
    TbWidget tb;
    tb.resize(900, 52);
    tb.show();
    auto *popup = tb.findChild<QMenu *>("SettingMenumenu");
    popup->popup(QPoint());
    const int folded = popup->height();
    auto *autoBtn = tb.findChild<SelectButton *>("autoBtn");
    auto *switchBtn = tb.findChild<QPushButton *>("autoSwitchBtn");

    autoBtn->click();
    QVERIFY(popup->isVisible());
    auto *resetBtn = tb.findChild<SelectButton *>("resetBtn");
    QTRY_VERIFY(popup->rect().contains(resetBtn->mapTo(popup, QPoint(0, resetBtn->height() - 1))));
    switchBtn->click();
    tb.findChild<QPushButton *>("autoCsvBtn")->click();
    tb.findChild<QPushButton *>("autoXlsxBtn")->click();
    const AutoDownloadSettings stored = autoDownloadSettings();
    QVERIFY(stored.enabled && stored.pdf && stored.spreadsheet && stored.workbook);

    autoBtn->click();
    QVERIFY(switchBtn->isHidden());
    QTRY_COMPARE(popup->height(), folded);
    setAutoDownloadSettings(AutoDownloadSettings());
}

void TestToolbar::helpDocument_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("file");
    QTest::newRow("chinese") << "中文简体"
                             << "help_zh.pdf";
    QTest::newRow("english") << "English"
                             << "help.pdf";
}

void TestToolbar::helpDocument()
{
    QFETCH(QString, language);
    QFETCH(QString, file);

    setCurrentLanguage(language);
    QTemporaryDir folder;
    TbWidget tb;
    tb.setHelpFolder(folder.path());
    QSignalSpy message(&tb, &TbWidget::sendMessage);
    auto *helpBtn = tb.findChild<SelectButton *>("helpBtn");

    // Missing: said so, nothing opened.
    helpBtn->click();
    QCOMPARE(message.count(), 1);
    QVERIFY(!message.at(0).at(0).toString().isEmpty());
    QVERIFY(catcher.opened.isEmpty());

    QFile document(folder.filePath(file));
    QVERIFY(document.open(QIODevice::WriteOnly));
    document.close();
    helpBtn->click();
    QCOMPARE(message.count(), 1);
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(folder.filePath(file))});
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
