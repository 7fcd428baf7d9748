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
#include "views/datashowwidget.h"
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
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace
{

// What a question asked and which answers it offered.
struct Asked {
    QString question;
    QStringList answers;
};

// Owns the waits for questions of the running test, which end with it.
QObject *answerOwner = nullptr;

// Waits for the next SelectDialog, notes it in `asked` and clicks its button named `button`
// ("pushButton" cancels, "pushButton_2" confirms, "pushButton_3" the answer between them);
// a dialog without that button is cancelled.
void answerNext(const QString &button, Asked *asked = nullptr)
{
    auto *poll = new QTimer(answerOwner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, button, asked] {
        auto *dialog = qobject_cast<SelectDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        if (asked) {
            asked->question = dialog->findChild<QLabel *>(QStringLiteral("label"))->text();
            for (const char *name : {"pushButton", "pushButton_3", "pushButton_2"}) {
                auto *b = dialog->findChild<QPushButton *>(QLatin1String(name));
                if (b && !b->isHidden())
                    asked->answers << b->text();
            }
        }
        auto *target = dialog->findChild<QPushButton *>(button);
        if (target && !target->isHidden())
            target->click();
        else
            dialog->reject();
    });
    poll->start();
}

// Saves the screen as `name`.png in the HYGRA_SCREENSHOTS folder: on a display (Xvfb) as the
// window manager placed everything, offscreen `window` with `dialog` painted where it lies.
void picture(QWidget *window, QWidget *dialog, const QString &name)
{
    const QString file = qEnvironmentVariable("HYGRA_SCREENSHOTS") + QLatin1Char('/') + name +
                         QStringLiteral(".png");
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"), file});
        return;
    }
    QImage shot = window->grab().toImage();
    if (dialog) {
        QPainter painter(&shot);
        painter.drawImage(dialog->frameGeometry().topLeft() - window->geometry().topLeft(),
                          dialog->grab().toImage());
    }
    shot.save(file);
}

// With HYGRA_SCREENSHOTS naming a folder, the next modal dialog is pictured over `window` as
// `name`.png once it has painted, then answered with its button `button` (or cancelled).
void pictureNextDialog(QWidget *window, const QString &name, const QString &button)
{
    auto *poll = new QTimer(answerOwner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, window, name, button] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(400, dialog, [window, dialog, name, button] {
            picture(window, dialog, name);
            auto *target = dialog->findChild<QPushButton *>(button);
            if (target && target->isVisible())
                target->click();
            else
                dialog->reject();
        });
    });
    poll->start();
}

int countFrames(const QList<QByteArray> &written, uint8_t code, int subCode = -1)
{
    int n = 0;
    for (const QByteArray &frame : written)
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
    void cancelLeavingKeepsTheEdits();
    void discardLeavesAndForgetsTheEdits();
    void eraseWarningCountsRecords_data();
    void eraseWarningCountsRecords();
    void downloadFirstKeepsTheEdits();
    void factoryResetAsksFirst();
    void unplugSaysTheEditsWereNotWritten();
    void renamingAPreset();
    void qtDialogsFollowTheLanguage();
    void screenshots_data();
    void screenshots();

private:
    // Opens the window on `loggers`, connects the first and opens the settings page.
    bool openSettingsPage(const QString &loggers);
    bool waitForPageRead();
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
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (auto *dialog = qobject_cast<ConnectDialog *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            dialog->accept();
        }
    });
    poll->start();
    window->delConnectDev();
    ConnectWidget *panel = window->form()->connectWidget;
    auto *settingsButton = window->findChild<QPushButton *>(QStringLiteral("devSetBtn"));
    if (!QTest::qWaitFor([&] { return panel->isConnected() && settingsButton->isEnabled(); }, 5000))
        return false;
    // The connect dialog took the activation with it: keys go to the window again.
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    settingsButton->click();
    return waitForPageRead();
}

bool TestSettingsFlows::waitForPageRead()
{
    const QByteArray name = loggersim::config(logger).devName;
    return QTest::qWaitFor(
        [&] { return pageShown() && nameEdit()->text() == QString::fromLatin1(name); }, 5000);
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
    QVERIFY(page()->saveButton()->isEnabled());
    answerNext("pushButton_2");                                  // save
    QTimer::singleShot(200, [] { answerNext("pushButton_2"); }); // write
    leave();
    QVERIFY(QTest::qWaitFor([this] { return !pageShown(); }, 8000));
    QCOMPARE(QByteArray(loggersim::config(logger).devName), QByteArray("Freezer_3"));

    QSignalSpy read(window->controller(), &UsbControl::devReadNoteSignal);
    window->findChild<QPushButton *>(QStringLiteral("devSetBtn"))->click();
    QVERIFY(read.wait(3000));
    QVERIFY(!page()->isModified());
    QVERIFY(!page()->saveButton()->isEnabled());
    Asked asked;
    answerNext("pushButton", &asked);
    leave();
    QTest::qWait(100);
    QCOMPARE(asked.question, QString());
    QVERIFY(!pageShown());
}

void TestSettingsFlows::cancelLeavingKeepsTheEdits()
{
    QVERIFY(openSettingsPage("HX10D"));
    editName("Freezer_4");
    Asked asked;
    answerNext("pushButton", &asked);
    leave();
    QCOMPARE(asked.question, QStringLiteral("是否保存设备设置"));
    QCOMPARE(asked.answers, (QStringList{"取消", "不保存", "保存"}));
    QVERIFY(pageShown());
    QCOMPARE(nameEdit()->text(), QStringLiteral("Freezer_4"));
    QVERIFY(page()->saveButton()->isEnabled());
    QCOMPARE(countFrames(loggersim::writtenTransfers(logger), CmdCode::Config, WriteOpt), 0);
}

void TestSettingsFlows::discardLeavesAndForgetsTheEdits()
{
    QVERIFY(openSettingsPage("HX10D"));
    const QByteArray held = loggersim::config(logger).devName;
    editName("Freezer_5");
    answerNext("pushButton_3");
    leave();
    QVERIFY(QTest::qWaitFor([this] { return !pageShown(); }, 2000));
    QCOMPARE(QByteArray(loggersim::config(logger).devName), held);
    QVERIFY(!page()->isModified());
}

void TestSettingsFlows::eraseWarningCountsRecords_data()
{
    QTest::addColumn<QString>("loggers");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("5,000 records")
        << "HX20D:samples=5000" << false
        << "设备中有 5,000 条记录，写入配置会将它们全部清除。\n先下载可以保留这些记录。"
        << QStringList{"取消", "先下载", "写入"};
    QTest::newRow("5,000 records, English")
        << "HX20D:samples=5000" << true
        << "The logger holds 5,000 records that will be erased by the write.\n"
           "Download them first to keep them."
        << QStringList{"Cancel", "Download first", "Write"};
    QTest::newRow("one record")
        << "HX10D:samples=1" << false
        << "设备中有 1 条记录，写入配置会将它清除。\n先下载可以保留这条记录。"
        << QStringList{"取消", "先下载", "写入"};
    QTest::newRow("a full memory that overwrote")
        << "HX20D:samples=70000" << false
        << "设备中有 64,512 条记录，写入配置会将它们全部清除。\n先下载可以保留这些记录。"
        << QStringList{"取消", "先下载", "写入"};
    QTest::newRow("none") << "HX10D:samples=0" << false << "设备中没有记录，写入配置不会清除数据。"
                          << QStringList{"取消", "写入"};
    QTest::newRow("none, English")
        << "HX10D:samples=0" << true << "The logger holds no records; the write erases nothing."
        << QStringList{"Cancel", "Write"};
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
    Asked asked;
    answerNext("pushButton", &asked);
    page()->saveButton()->click();
    QVERIFY(QTest::qWaitFor([&] { return !asked.question.isEmpty(); }, 5000));
    QTEST(asked.question, "question");
    QTEST(asked.answers, "answers");
    // The count was asked for; nothing was written.
    const QList<QByteArray> written = loggersim::writtenTransfers(logger);
    QCOMPARE(countFrames(written, CmdCode::RecordInfo), 1);
    QCOMPARE(countFrames(written, CmdCode::Config, WriteOpt), 0);
    QVERIFY(pageShown());
    QVERIFY(page()->isModified());
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
    QVERIFY2(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 15000),
             qPrintable(notice()));
    QCOMPARE(QDir(dataDir()).entryList({"*.data"}).size(), 1);
    QVERIFY(pageShown());
    QCOMPARE(nameEdit()->text(), QStringLiteral("Freezer_7"));
    QVERIFY(page()->saveButton()->isEnabled());
    QCOMPARE(countFrames(loggersim::writtenTransfers(logger), CmdCode::Config, WriteOpt), 0);
    QVERIFY(window->statePollTimer()->isActive());

    // Writing now erases what is safely downloaded.
    answerNext("pushButton_2");
    page()->saveButton()->click();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("配置成功"); }, 5000));
    QCOMPARE(QByteArray(loggersim::config(logger).devName), QByteArray("Freezer_7"));
}

void TestSettingsFlows::factoryResetAsksFirst()
{
    QVERIFY(openSettingsPage("HX20D:sn=H2RESET042"));
    leave();
    QVERIFY(QTest::qWaitFor([this] { return !pageShown(); }, 2000));
    loggersim::clearWrittenTransfers(logger);

    Asked asked;
    answerNext("pushButton", &asked);
    emit toolbar()->sendResetCmd();
    QVERIFY(asked.question.contains(QStringLiteral("HX20D")));
    QVERIFY(asked.question.contains(QStringLiteral("H2RESET042")));
    QCOMPARE(asked.answers, (QStringList{"取消", "恢复出厂设置"}));
    QTest::qWait(300);
    QCOMPARE(countFrames(loggersim::writtenTransfers(logger), CmdCode::Reset), 0);

    answerNext("pushButton_2");
    emit toolbar()->sendResetCmd();
    QVERIFY(
        QTest::qWaitFor([this] { return notice() == QStringLiteral("恢复出厂设置成功"); }, 3000));
    QCOMPARE(countFrames(loggersim::writtenTransfers(logger), CmdCode::Reset), 1);
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
    QVERIFY(panel->isVisible());
    ClearLineEdit *edit = panel->nameLineEdit();
    QTest::keyClicks(edit, "Cold");
    panel->completeBtn()->click();
    QVERIFY(QTest::qWaitFor([panel] { return panel->entries().size() == 1; }, 2000));
    QCOMPARE(panel->entries().first()->text(), QStringLiteral("Cold"));
    page()->form().devIdLE->setText("42");

    PersetButton *entry = panel->entries().first();
    // The entry a context menu was opened on holds the focus.
    entry->setFocus();
    entry->findChild<QMenu *>()->actions().at(2)->trigger(); // "重命名"
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(edit));
    QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("label_2"))->text(),
             QStringLiteral("重命名预设"));
    QTest::keyClicks(QApplication::focusWidget(), "Cold room");
    QCOMPARE(edit->text(), QStringLiteral("Cold room"));
    // The space did not apply the preset over the form.
    QCOMPARE(page()->form().devIdLE->text(), QStringLiteral("42"));
    panel->completeBtn()->click();
    QVERIFY(QTest::qWaitFor(
        [panel] {
            return panel->entries().size() == 1 &&
                   panel->entries().first()->text() == QStringLiteral("Cold room");
        },
        2000));

    panel->addButton()->click();
    QCOMPARE(edit->text(), QString());
    QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("label_2"))->text(),
             QStringLiteral("新建预设"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(edit));
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

void TestSettingsFlows::screenshots_data()
{
    QTest::addColumn<bool>("english");
    QTest::newRow("zh") << false;
    QTest::newRow("en") << true;
}

// The questions of the settings page, the factory reset and the export's file dialog at
// 1280 × 720, for looking at.
void TestSettingsFlows::screenshots()
{
    QFETCH(bool, english);
    const QString folder = qEnvironmentVariable("HYGRA_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("HYGRA_SCREENSHOTS names no folder");
    QVERIFY(openSettingsPage("HX20D:sn=H2B0012345:samples=5000"));
    window->setGeometry(0, 0, 1280, 720);
    const QString suffix = english ? QStringLiteral("-en") : QStringLiteral("-zh");
    if (english)
        emit toolbar()->sendLangueCmd(false);
    // The connection's notices have sunk again.
    QTest::qWait(4000);
    editName("ColdRoom_2");
    QTest::keyClicks(nameEdit(), " -");
    QTest::qWait(300);
    picture(window, nullptr, "name-hint" + suffix);

    PresetWidget *panel = page()->presetPanel();
    QTest::mouseClick(page()->presetButton(), Qt::LeftButton);
    QTest::keyClicks(panel->nameLineEdit(), "Freezer room");
    panel->completeBtn()->click();
    QVERIFY(QTest::qWaitFor([panel] { return panel->entries().size() == 1; }, 2000));
    panel->entries().first()->findChild<QMenu *>()->actions().at(2)->trigger();
    QTest::keyClicks(QApplication::focusWidget(), "Freezer room B");
    QTest::qWait(300);
    picture(window, nullptr, "preset-rename" + suffix);
    QTest::mouseClick(page()->presetButton(), Qt::LeftButton);

    pictureNextDialog(window, "leave-question" + suffix, "pushButton");
    leave();
    pictureNextDialog(window, "erase-warning" + suffix, "pushButton");
    page()->saveButton()->click();
    QVERIFY(QTest::qWaitFor(
        [&] { return QFile::exists(folder + "/erase-warning" + suffix + ".png"); }, 5000));
    QTest::qWait(100);
    answerNext("pushButton_3");
    leave();
    QVERIFY(QTest::qWaitFor([this] { return !pageShown(); }, 2000));

    pictureNextDialog(window, "factory-reset" + suffix, "pushButton");
    emit toolbar()->sendResetCmd();

    emit toolbar()->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([this] { return window->form()->dataShow->isShowing(); }, 15000));
    QTest::qWait(1500);
    pictureNextDialog(window, "save-dialog" + suffix, QString());
    emit toolbar()->sendExportTypeSignal(0);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestSettingsFlows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsflows.moc"
