// SPDX-License-Identifier: GPL-3.0-or-later
// The settings page in the main window against an emulated logger: what counts as a change,
// leaving, the erase warning, factory reset, presets, unplugging and Qt's own dialog texts.
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/tbwidget.h"
#include "core/settinginfo.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "settings/devsettinginfo.h"
#include "settings/persetbutton.h"
#include "settings/presetwidget.h"
#include "testsupport.h"
#include "widgets/clearlineedit.h"
#include "widgets/selectdialog.h"
#include "widgets/snackbar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace
{

// Owns the waits for questions of the running test, which end with it.
QObject *answerOwner = nullptr;

// Waits for the next SelectDialog, notes its question and answers in `asked` and clicks its
// button named `button` ("pushButton" cancels, "pushButton_2" confirms, "pushButton_3" the
// answer between them); a dialog without that button is cancelled.
void answerNext(const QString &button, QStringList *asked = nullptr)
{
    auto *poll = new QTimer(answerOwner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, button, asked] {
        auto *dialog = qobject_cast<SelectDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QPushButton *target = nullptr;
        if (asked)
            *asked << dialog->findChild<QLabel *>(QStringLiteral("label"))->text();
        for (const char *name : {"pushButton", "pushButton_3", "pushButton_2"}) {
            auto *b = dialog->findChild<QPushButton *>(QLatin1String(name));
            if (b && !b->isHidden()) {
                if (asked)
                    *asked << b->text();
                if (b->objectName() == button)
                    target = b;
            }
        }
        target ? target->click() : dialog->reject();
    });
    poll->start();
}

int countFrames(int logger, uint8_t code, int subCode = -1)
{
    int n = 0;
    for (const QByteArray &frame : loggersim::writtenTransfers(logger))
        n += frame.size() > 4 && uint8_t(frame.at(3)) == code &&
             (subCode < 0 || frame.at(4) == subCode);
    return n;
}

} // namespace

class TestSettingsFlows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void freshReadIsUnmodified();
    void leavingWithChanges_data();
    void leavingWithChanges();
    void eraseWarningCountsRecords_data();
    void eraseWarningCountsRecords();
    void downloadFirstKeepsTheEdits();
    void factoryResetAsksFirst();
    void unplugSaysTheEditsWereNotWritten();
    void renamingAPreset();
    void qtDialogsFollowTheLanguage();

private:
    // Opens the window on `loggers`, connects the first and opens the settings page.
    bool openSettingsPage(const QString &loggers);
    void editName(const QString &name);
    void leave() { emit toolbar()->sendSaveConfigOptSignal(); }
    bool pageShown() const
    {
        return window->form()->stackedWidget->currentIndex() == MainWindowForm::SettingsPage;
    }
    QString notice() const { return window->noticeOverlay()->text(); }
    TbWidget *toolbar() const { return window->form()->tbWidget; }
    DevSettingInfo *page() const { return window->form()->devSetting; }
    QLineEdit *nameEdit() const { return page()->form().devNameLE; }

    MainWindow *window = nullptr;
    int logger = -1;
};

void TestSettingsFlows::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    loggersim::setReadWaitLimit(100);
}

void TestSettingsFlows::init()
{
    QDir(appFolder()).removeRecursively();
    answerOwner = new QObject;
}

void TestSettingsFlows::cleanup()
{
    delete answerOwner;
    answerOwner = nullptr;
    delete window;
    window = nullptr;
}

bool TestSettingsFlows::openSettingsPage(const QString &loggers)
{
    loggersim::configure(loggers);
    logger = loggersim::loggerIds().first();
    window = new MainWindow;
    window->show();
    QTimer::singleShot(100, [] {
        if (auto *dialog = qobject_cast<ConnectDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    window->delConnectDev();
    auto *settingsButton = window->findChild<QPushButton *>(QStringLiteral("devSetBtn"));
    if (!QTest::qWaitFor([&] { return settingsButton->isEnabled(); }, 5000))
        return false;
    // The connect dialog took the activation with it: keys go to the window again.
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    QSignalSpy read(window->controller(), &UsbControl::devReadNoteSignal);
    settingsButton->click();
    return read.wait(3000) && pageShown();
}

void TestSettingsFlows::editName(const QString &name)
{
    nameEdit()->selectAll();
    QTest::keyClicks(nameEdit(), name);
}

// A write asked for while leaving closes the page; opening it again reads the logger, and that
// configuration is no change: nothing to save, no question when leaving.
void TestSettingsFlows::freshReadIsUnmodified()
{
    QVERIFY(openSettingsPage("HX20D:samples=0"));
    editName("Freezer_3");
    answerNext("pushButton_2");                                  // save
    QTimer::singleShot(300, [] { answerNext("pushButton_2"); }); // write
    leave();
    QVERIFY(QTest::qWaitFor([this] { return !pageShown(); }, 8000));
    QCOMPARE(QByteArray(loggersim::config(logger).devName), QByteArray("Freezer_3"));

    QSignalSpy read(window->controller(), &UsbControl::devReadNoteSignal);
    window->findChild<QPushButton *>(QStringLiteral("devSetBtn"))->click();
    QVERIFY(read.wait(3000));
    QVERIFY(!page()->isModified());
    QVERIFY(!page()->saveButton()->isEnabled());
    QStringList asked;
    answerNext("pushButton", &asked);
    leave();
    QTest::qWait(100);
    QCOMPARE(asked, QStringList());
    QVERIFY(!pageShown());
}

void TestSettingsFlows::leavingWithChanges_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("stays");
    QTest::newRow("cancel stays with the edits") << "pushButton" << true;
    QTest::newRow("don't save leaves") << "pushButton_3" << false;
}

void TestSettingsFlows::leavingWithChanges()
{
    QFETCH(QString, answer);
    QFETCH(bool, stays);
    QVERIFY(openSettingsPage("HX10D"));
    const QByteArray held = loggersim::config(logger).devName;
    editName("Freezer_4");
    QStringList asked;
    answerNext(answer, &asked);
    leave();
    QCOMPARE(asked, (QStringList{"是否保存设备设置", "取消", "不保存", "保存"}));
    QTRY_COMPARE(pageShown(), stays);
    QCOMPARE(page()->isModified(), stays);
    if (stays)
        QCOMPARE(nameEdit()->text(), QStringLiteral("Freezer_4"));
    QCOMPARE(QByteArray(loggersim::config(logger).devName), held);
}

void TestSettingsFlows::eraseWarningCountsRecords_data()
{
    QTest::addColumn<QString>("loggers");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("5,000 records")
        << "HX20D:samples=5000" << false
        << QStringList{
               "设备中有 5,000 条记录，写入配置会将它们全部清除。\n先下载可以保留这些记录。",
               "取消", "先下载", "写入"};
    QTest::newRow("a full memory, English")
        << "HX20D:samples=70000" << true
        << QStringList{"The logger holds 64,512 records that will be erased by the write.\n"
                       "Download them first to keep them.",
                       "Cancel", "Download first", "Write"};
    QTest::newRow("none") << "HX10D:samples=0" << false
                          << QStringList{"设备中没有记录，写入配置不会清除数据。", "取消", "写入"};
}

// The warning before a write says how many records the logger holds; cancelling writes nothing.
void TestSettingsFlows::eraseWarningCountsRecords()
{
    QFETCH(QString, loggers);
    QFETCH(bool, english);
    QVERIFY(openSettingsPage(loggers));
    if (english)
        emit toolbar()->sendLangueCmd(false);
    editName("Freezer_6");
    loggersim::clearWrittenTransfers(logger);
    QStringList asked;
    answerNext("pushButton", &asked);
    page()->saveButton()->click();
    QVERIFY(QTest::qWaitFor([&] { return !asked.isEmpty(); }, 5000));
    QTEST(asked, "asked");
    QCOMPARE(countFrames(logger, CmdCode::RecordInfo), 1);
    QCOMPARE(countFrames(logger, CmdCode::Config, WriteOpt), 0);
    QVERIFY(pageShown() && page()->isModified());
}

// "Download first" downloads the recording as the download button does and stays on the page
// with the edits, so that the write can follow.
void TestSettingsFlows::downloadFirstKeepsTheEdits()
{
    QVERIFY(openSettingsPage("HX20D:samples=3000"));
    editName("Freezer_7");
    loggersim::clearWrittenTransfers(logger);
    answerNext("pushButton_3");
    page()->saveButton()->click();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 15000));
    QCOMPARE(QDir(dataDir()).entryList({"*.data"}).size(), 1);
    QVERIFY(pageShown() && page()->saveButton()->isEnabled());
    QCOMPARE(nameEdit()->text(), QStringLiteral("Freezer_7"));
    QCOMPARE(countFrames(logger, CmdCode::Config, WriteOpt), 0);
    QVERIFY(window->statePollTimer()->isActive());

    answerNext("pushButton_2");
    page()->saveButton()->click();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("配置成功"); }, 5000));
    QCOMPARE(QByteArray(loggersim::config(logger).devName), QByteArray("Freezer_7"));
}

void TestSettingsFlows::factoryResetAsksFirst()
{
    QVERIFY(openSettingsPage("HX20D:sn=H2RESET042"));
    leave();
    loggersim::clearWrittenTransfers(logger);
    QStringList asked;
    answerNext("pushButton", &asked);
    emit toolbar()->sendResetCmd();
    QCOMPARE(asked, (QStringList{"将 HX20D（SN H2RESET042）恢复出厂设置？\n"
                                 "报警阈值、设备名称、备注和记录间隔都会被重置。",
                                 "取消", "恢复出厂设置"}));
    QTest::qWait(300);
    QCOMPARE(countFrames(logger, CmdCode::Reset), 0);

    answerNext("pushButton_2");
    emit toolbar()->sendResetCmd();
    QVERIFY(
        QTest::qWaitFor([this] { return notice() == QStringLiteral("恢复出厂设置成功"); }, 3000));
    QCOMPARE(countFrames(logger, CmdCode::Reset), 1);
}

void TestSettingsFlows::unplugSaysTheEditsWereNotWritten()
{
    QVERIFY(openSettingsPage("HX10D"));
    editName("Freezer_8");
    loggersim::unplug(logger);
    QVERIFY(QTest::qWaitFor([this] { return !pageShown(); }, 4000));
    QCOMPARE(notice(), QStringLiteral("设备已断开，修改的设置没有写入设备"));
}

// The name field of a rename takes the keys, a space included, and the entry shows the new
// name; the "+" row starts empty.
void TestSettingsFlows::renamingAPreset()
{
    QVERIFY(openSettingsPage("HX10D"));
    PresetWidget *panel = page()->presetPanel();
    QTest::mouseClick(page()->presetButton(), Qt::LeftButton);
    ClearLineEdit *edit = panel->nameLineEdit();
    QTest::keyClicks(edit, "Cold");
    panel->completeBtn()->click();
    QVERIFY(QTest::qWaitFor([panel] { return panel->entries().size() == 1; }, 2000));
    page()->form().devIdLE->setText("42");

    // The entry a context menu was opened on holds the focus.
    PersetButton *entry = panel->entries().first();
    entry->setFocus();
    entry->findChild<QMenu *>()->actions().at(2)->trigger(); // "重命名"
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(edit));
    auto *label = panel->findChild<QLabel *>(QStringLiteral("label_2"));
    QCOMPARE(label->text(), QStringLiteral("重命名预设"));
    QTest::keyClicks(QApplication::focusWidget(), "Cold room");
    QCOMPARE(edit->text(), QStringLiteral("Cold room"));
    // The space did not apply the preset over the form.
    QCOMPARE(page()->form().devIdLE->text(), QStringLiteral("42"));
    panel->completeBtn()->click();
    QTRY_COMPARE(panel->entries().value(0)->text(), QStringLiteral("Cold room"));

    panel->addButton()->click();
    QCOMPARE(edit->text(), QString());
    QCOMPARE(label->text(), QStringLiteral("新建预设"));
}

// Qt's own dialogs (here the file dialog that asks where an export goes) speak the language
// of the interface.
void TestSettingsFlows::qtDialogsFollowTheLanguage()
{
    loggersim::configure("none");
    window = new MainWindow;
    auto lookIn = [this] {
        QFileDialog dialog(window);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        return dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"))->text();
    };
    QCOMPARE(lookIn(), QStringLiteral("查找范围："));
    emit toolbar()->sendLangueCmd(false);
    QCOMPARE(lookIn(), QStringLiteral("Look in:"));
    emit toolbar()->sendLangueCmd(true);
    QCOMPARE(lookIn(), QStringLiteral("查找范围："));
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestSettingsFlows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsflows.moc"
