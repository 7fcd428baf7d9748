// SPDX-License-Identifier: GPL-3.0-or-later
// The main window against emulated loggers: connecting, polling, downloading, commands, unplugging.
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/downloaddialog.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "app/tbwidget.h"
#include "archive/archive.h"
#include "core/settinginfo.h"
#include "device/configframe.h"
#include "device/protocol.h"
#include "loggersim.h"
#include "platform/loggerwatcher.h"
#include "settings/devsettinginfo.h"
#include "testsupport.h"
#include "views/datashowwidget.h"
#include "widgets/selectdialog.h"
#include "widgets/snackbar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QAction>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace
{
// Runs `action` on the next modal dialog of type D once it is open.
template <class D> void onNextDialog(std::function<void(D *)> action)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            action(dialog);
        }
    });
    poll->start();
}

// Answers the next file dialog with `path`, typed into its name field.
void answerFileDialog(const QString &path)
{
    onNextDialog<QFileDialog>([path](QFileDialog *dialog) {
        QTimer::singleShot(0, dialog, [dialog, path] {
            const QFileInfo target(path);
            dialog->setDirectory(target.absolutePath());
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(target.fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        });
    });
}

void acceptConnectDialog()
{
    onNextDialog<ConnectDialog>([](ConnectDialog *d) { d->accept(); });
}

int countFrames(const QList<QByteArray> &written, uint8_t code)
{
    int n = 0;
    for (const QByteArray &frame : written)
        n += frame.size() > 4 && uint8_t(frame.at(3)) == code;
    return n;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
public slots:
    // Stands in for the desktop's viewer.
    void openUrl(const QUrl &url) { opened.append(url.toLocalFile()); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void noLoggerShowsNotice();
    void connectShowsLoggerAndPolls();
    void clickDuringNoticeReachesTheToolbar();
    void refusedOpenShowsHelpNotice();
    void downloadAddsAndShowsRecording();
    void downloadOfAnySizeCompletes_data();
    void downloadOfAnySizeCompletes();
    void cancelledDownloadLeavesNothing();
    void fullDiskSaysTheRecordingWasNotSaved();
    void downloadOpenAndExportBothFormats();
    void downloadWithoutRecordsShowsNotice();
    void failedDownloadStepClosesDialogAsFailed();
    void unplugResetsWithoutNotice();
    void disconnectClosesTheLogger();
    void softwareStartAndStop();
    void resetNeedsConnection();
    void languageSwitchWithoutConnectionSendsNothing();
    void settingsPageWritesWhatTheLoggerHolds();

private:
    // Configures the emulated loggers, then opens the window.
    void startWith(const QString &loggers);
    MainWindow *connectedWindow(int loggerId);
    QString notice() const { return window->noticeOverlay()->text(); }
    TbWidget *toolbar() const { return window->form()->tbWidget; }
    ConnectWidget *panel() const { return window->form()->connectWidget; }

    MainWindow *window = nullptr;
    QStringList opened;
};

void TestMainWindow::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    // Short blocking reads keep connects and disconnects quick.
    loggersim::setReadWaitLimit(100);
}

void TestMainWindow::init()
{
    QDir(appFolder()).removeRecursively();
}

void TestMainWindow::startWith(const QString &loggers)
{
    // The loggers change before the window exists: a window watching while
    // they change would take the removal of the old ones, which may reach it
    // late, for the removal of the one it has just connected to.
    loggersim::configure(loggers);
    window = new MainWindow;
    window->show();
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
}

MainWindow *TestMainWindow::connectedWindow(int loggerId)
{
    loggersim::clearWrittenTransfers(loggerId);
    acceptConnectDialog();
    window->delConnectDev();
    // Connected once the logger has answered the language the connect sets.
    if (!QTest::qWaitFor(
            [this] {
                return panel()->isConnected() &&
                       notice() == QStringLiteral("设置设备语言成功");
            },
            5000))
        return nullptr;
    return window;
}

void TestMainWindow::noLoggerShowsNotice()
{
    startWith("none");
    window->delConnectDev();
    QCOMPARE(notice(), QStringLiteral("无可用设备"));
    QVERIFY(!panel()->isConnected());
}

void TestMainWindow::connectShowsLoggerAndPolls()
{
    startWith("HX20D:sn=H2TEST0001");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    QVERIFY(window->statePollTimer()->isActive());
    QCOMPARE(window->statePollTimer()->interval(), 1500);
    QVERIFY(window->findChild<QWidget *>("downloadBtn")->isEnabled());
    QVERIFY(window->form()->scrollAreaWidgetContents->isEnabled());

    const QList<QByteArray> written = loggersim::writtenTransfers(id);
    QCOMPARE(written.first(), frameHead());
    QCOMPARE(countFrames(written, CmdCode::Config), 1);
    QCOMPARE(countFrames(written, CmdCode::Note), 1);
    // The logger's display follows the program's language, queued right after the read.
    QVERIFY(QTest::qWaitFor(
        [id] { return countFrames(loggersim::writtenTransfers(id), CmdCode::Language) == 1; },
        2000));
    const int checks = countFrames(loggersim::writtenTransfers(id), CmdCode::Check);
    QTest::qWait(1600);
    QCOMPARE(countFrames(loggersim::writtenTransfers(id), CmdCode::Check), checks + 1);
}

// The connect notice is still up when the user goes for the download button:
// the click reaches it, and only the notice's own box could take it.
void TestMainWindow::clickDuringNoticeReachesTheToolbar()
{
    startWith("HX20D:samples=800");
    QVERIFY(connectedWindow(loggersim::loggerIds().first()));
    QVERIFY(
        QTest::qWaitFor([this] { return notice() == QStringLiteral("设置设备语言成功"); }, 3000));
    QTest::qWait(1000);
    QVERIFY(!window->noticeOverlay()->isEnded());
    auto *download = window->findChild<QWidget *>("downloadBtn");
    QVERIFY(download->isEnabled());
    QSignalSpy asked(toolbar(), &TbWidget::devDownLoadSignal);
    onNextDialog<DownloadDialog>([](DownloadDialog *) {});
    // Through the window system, as a real click is routed to the widget under it.
    const QPoint at = download->mapTo(window, download->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(asked.count(), 1);
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 10000));
}

void TestMainWindow::refusedOpenShowsHelpNotice()
{
    startWith("HX10D");
    const int id = loggersim::loggerIds().first();
    loggersim::Faults faults;
    faults.refuseOpen = true;
    loggersim::setFaults(id, faults);
    acceptConnectDialog();
    window->delConnectDev();
    QTRY_COMPARE(notice(), QStringLiteral("连接失败，请查看帮助并安装USB驱动后重试"));
    QVERIFY(!panel()->isConnected());
    QVERIFY(!window->statePollTimer()->isActive());
}

void TestMainWindow::downloadAddsAndShowsRecording()
{
    startWith("HX10D:samples=1500,HX20D:samples=2100");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    QTRY_COMPARE_WITH_TIMEOUT(window->recordingList()->group()->buttons().size(), 0, 2000);
    emit toolbar()->devDownLoadSignal();
    QVERIFY(!window->statePollTimer()->isActive());
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 10000));
    const QList<QAbstractButton *> entries = window->recordingList()->group()->buttons();
    QCOMPARE(entries.size(), 1);
    QVERIFY(entries.last()->text().startsWith("HX10D_"));
    QTRY_COMPARE(window->form()->dataShow->recordingBaseName(), entries.last()->text());
    QVERIFY(entries.last()->isChecked());
    QVERIFY(window->statePollTimer()->isActive());
}

void TestMainWindow::downloadOfAnySizeCompletes_data()
{
    QTest::addColumn<QString>("logger");
    QTest::newRow("one block") << QStringLiteral("HX10D:samples=800");
    QTest::newRow("two blocks") << QStringLiteral("HX20D:samples=1500");
    QTest::newRow("63 blocks") << QStringLiteral("HX20D:samples=64512:interval=1");
}

// However quickly the logger answers, the dialog sees every block and closes:
// a small download may be over before its dialog is up.
void TestMainWindow::downloadOfAnySizeCompletes()
{
    QFETCH(QString, logger);
    startWith(logger);
    QVERIFY(connectedWindow(loggersim::loggerIds().first()));
    for (int round = 1; round <= 3; ++round) {
        // A dialog still open after a while is stuck: give up as a user would.
        onNextDialog<DownloadDialog>(
            [](DownloadDialog *dialog) { QTimer::singleShot(4000, dialog, &QDialog::reject); });
        window->delSendMessage(QString());
        emit toolbar()->devDownLoadSignal();
        QVERIFY2(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 6000),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(notice())));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window->recordingList()->group()->buttons().size(), round);
    }
}

void TestMainWindow::cancelledDownloadLeavesNothing()
{
    startWith("HX20D:samples=20000");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    loggersim::Faults faults;
    faults.latencyMs = 200;
    loggersim::setFaults(id, faults);
    onNextDialog<DownloadDialog>([](DownloadDialog *dialog) {
        QTimer::singleShot(300, dialog, [dialog] {
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cancelBtn")),
                              Qt::LeftButton);
        });
    });
    window->delSendMessage(QString());
    emit toolbar()->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([this] { return window->statePollTimer()->isActive(); }, 8000));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(QDir(dataDir()).entryList({"*.data"}).isEmpty());
    QCOMPARE(window->recordingList()->group()->buttons().size(), 0);
    QCOMPARE(notice(), QString());
}

// A block that cannot be stored is no read error: the notice says what happened.
void TestMainWindow::fullDiskSaysTheRecordingWasNotSaved()
{
    startWith("HX20D:samples=5000");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    loggersim::Faults faults;
    faults.latencyMs = 300;
    loggersim::setFaults(id, faults);
    // Once the dialog is up, the disk is full: the new file takes no more data.
    std::unique_ptr<testsupport::FileSizeLimit> full;
    onNextDialog<DownloadDialog>(
        [&full](DownloadDialog *) { full = std::make_unique<testsupport::FileSizeLimit>(4096); });
    emit toolbar()->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor(
        [this] { return notice() == QStringLiteral("无法保存记录文件，下载失败"); }, 8000));
    full.reset();
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QTest::qWait(300);
    QCOMPARE(notice(), QStringLiteral("无法保存记录文件，下载失败"));
    QVERIFY(QDir(dataDir()).entryList({"*.data"}).isEmpty());
    QCOMPARE(window->recordingList()->group()->buttons().size(), 0);
}

// The whole cycle a user goes through, also run under the leak checker.
void TestMainWindow::downloadOpenAndExportBothFormats()
{
    startWith("HX20D:samples=2100");
    QVERIFY(connectedWindow(loggersim::loggerIds().first()));
    emit toolbar()->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 10000));
    QTRY_VERIFY(window->form()->dataShow->isShowing());
    // The new file reaches the archive beside it.
    const QStringList files = QDir(dataDir()).entryList({"*.data"});
    QCOMPARE(files.size(), 1);
    Archive archive;
    QVERIFY(archive.open(ArchiveLocation::local(dataDir())));
    QTRY_COMPARE(archive.find({}).value(0).path, QDir(dataDir()).filePath(files.first()));

    QTemporaryDir out;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    opened.clear();
    const QString pdf = out.filePath(QStringLiteral("cycle.PDF"));
    const QString csv = out.filePath(QStringLiteral("cycle.csv"));
    answerFileDialog(pdf);
    emit toolbar()->sendExportTypeSignal(0);
    // The report is written behind the wait overlay; the export ends when it is opened.
    QTRY_COMPARE(opened, QStringList({pdf}));
    answerFileDialog(csv);
    emit toolbar()->sendExportTypeSignal(1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QCOMPARE(opened, QStringList({pdf, csv}));
    QFile report(pdf);
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.read(5) == "%PDF-");
    QFile samples(csv);
    QVERIFY(samples.open(QIODevice::ReadOnly));
    // The header and one line per sample.
    QCOMPARE(samples.readAll().count('\n'), 2101);
}

void TestMainWindow::downloadWithoutRecordsShowsNotice()
{
    startWith("HX20D:samples=0");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    emit toolbar()->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("无记录数据，下载失败"); },
                            5000));
    QVERIFY(window->statePollTimer()->isActive());
    QVERIFY(QDir(dataDir()).entryList({"*.data"}).isEmpty());
}

void TestMainWindow::failedDownloadStepClosesDialogAsFailed()
{
    startWith("HX10D:samples=3000");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    loggersim::Faults faults;
    faults.wrongBlockNumber = 2; // block 2 never arrives as asked: that step times out
    loggersim::setFaults(id, faults);
    bool dialogSeen = false;
    onNextDialog<DownloadDialog>([&dialogSeen](DownloadDialog *) { dialogSeen = true; });
    emit toolbar()->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载失败"); }, 8000));
    QVERIFY(dialogSeen);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(QDir(dataDir()).entryList({"*.data"}).isEmpty());
    QVERIFY(window->statePollTimer()->isActive());
}

void TestMainWindow::unplugResetsWithoutNotice()
{
    startWith("HX10D,HX20D");
    const QList<int> ids = loggersim::loggerIds();
    QVERIFY(connectedWindow(ids.at(0)));
    const QString before = notice();
    // Another logger leaving changes nothing: the window knows which one it has open.
    QSignalSpy removed(window->loggerWatcher(), &LoggerWatcher::loggerRemoved);
    loggersim::unplug(ids.at(1));
    QVERIFY(removed.wait(3000));
    QTest::qWait(200);
    QVERIFY(panel()->isConnected());
    QVERIFY(window->statePollTimer()->isActive());
    loggersim::plug(ids.at(1));
    loggersim::unplug(ids.at(0));
    QVERIFY(QTest::qWaitFor([this] { return !panel()->isConnected(); }, 3000));
    QVERIFY(!window->statePollTimer()->isActive());
    QVERIFY(!window->findChild<QWidget *>("downloadBtn")->isEnabled());
    QCOMPARE(notice(), before);
    // Plugging in changes nothing by itself.
    loggersim::plug(ids.at(0));
    QTest::qWait(300);
    QVERIFY(!panel()->isConnected());
}

void TestMainWindow::disconnectClosesTheLogger()
{
    startWith("HX20D");
    QVERIFY(connectedWindow(loggersim::loggerIds().first()));
    QAction *disconnect = panel()->disconnectAction();
    QVERIFY(disconnect->isEnabled());
    disconnect->trigger();
    QVERIFY(!panel()->isConnected());
    QVERIFY(!disconnect->isEnabled());
    QVERIFY(!window->statePollTimer()->isActive());
    QTRY_COMPARE(loggersim::openHandleCount(), 0);
}

void TestMainWindow::softwareStartAndStop()
{
    startWith("HX20D");
    const int id = loggersim::loggerIds().first();
    OneConfigCmdStruct config = loggersim::config(id);
    config.startMode = 1;
    loggersim::setConfig(id, config);
    loggersim::setRecording(id, false);
    QVERIFY(connectedWindow(id));
    auto *record = window->findChild<QPushButton *>("recordBtn");
    QVERIFY(QTest::qWaitFor([record] { return record->isEnabled(); }, 3000));
    record->click();
    QVERIFY(QTest::qWaitFor([id] { return loggersim::isRecording(id); }, 3000));
    // The next state poll turns the button into the stop button.
    QVERIFY(QTest::qWaitFor(
        [record] { return record->isEnabled() && record->text() == QStringLiteral("结束记录"); },
        4000));
    record->click();
    QVERIFY(QTest::qWaitFor([id] { return !loggersim::isRecording(id); }, 3000));
}

void TestMainWindow::resetNeedsConnection()
{
    startWith("HX10D");
    const int id = loggersim::loggerIds().first();
    emit toolbar()->sendResetCmd();
    QCOMPARE(notice(), QStringLiteral("请连接设备后重试"));
    QVERIFY(connectedWindow(id));
    onNextDialog<SelectDialog>([](SelectDialog *d) { d->accept(); }); // the confirmation
    emit toolbar()->sendResetCmd();
    QVERIFY(
        QTest::qWaitFor([this] { return notice() == QStringLiteral("恢复出厂设置成功"); }, 3000));
}

void TestMainWindow::languageSwitchWithoutConnectionSendsNothing()
{
    startWith("HX10D");
    const int id = loggersim::loggerIds().first();
    loggersim::clearWrittenTransfers(id);
    emit toolbar()->sendLangueCmd(false);
    QCOMPARE(currentLanguage(), QStringLiteral("English"));
    QVERIFY(loggersim::writtenTransfers(id).isEmpty());
    emit toolbar()->sendLangueCmd(true);
    QCOMPARE(currentLanguage(), QStringLiteral("Chinese"));
}

void TestMainWindow::settingsPageWritesWhatTheLoggerHolds()
{
    startWith("HX20D");
    const int id = loggersim::loggerIds().first();
    QVERIFY(connectedWindow(id));
    const QByteArray loggerName = loggersim::config(id).devName;
    window->findChild<QPushButton *>("devSetBtn")->click();
    auto *name = window->findChild<QLineEdit *>("devNameLE");
    QVERIFY(QTest::qWaitFor([&] { return name->text() == QString::fromLatin1(loggerName); }, 3000));

    name->selectAll();
    QTest::keyClicks(name, "ColdRoom_7");
    QCOMPARE(name->text(), QStringLiteral("ColdRoom_7"));
    QVERIFY(window->form()->devSetting->isEnabled());
    QVERIFY(window->findChild<QPushButton *>("saveBtn")->isEnabled());
    loggersim::clearWrittenTransfers(id);
    onNextDialog<SelectDialog>([](SelectDialog *d) { d->accept(); }); // the erase warning
    window->findChild<QPushButton *>("saveBtn")->click();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("配置成功"); }, 5000));

    // The logger holds exactly the record that was written.
    QByteArray written;
    for (const QByteArray &frame : loggersim::writtenTransfers(id)) {
        if (frame.size() > 70 && uint8_t(frame.at(3)) == CmdCode::Config && frame.at(4) == 1)
            written = frame;
    }
    QVERIFY(!written.isEmpty());
    const OneConfigCmdStruct held = loggersim::config(id);
    QCOMPARE(QByteArray(held.devName), QByteArray("ColdRoom_7"));
    QCOMPARE(encodeConfigFrame(held, HX20D).toHex(' '), written.toHex(' '));
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
