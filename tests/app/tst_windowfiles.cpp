// SPDX-License-Identifier: GPL-3.0-or-later
// The window's recording files: a download shows up only complete, leftovers go at start-up.
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/downloaddialog.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "app/tbwidget.h"
#include "core/newfile.h"
#include "core/settinginfo.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "recording/recordingreader.h"
#include "testsupport.h"
#include "views/datashowwidget.h"
#include "widgets/snackbar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

class TestWindowFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void leftoversOfAKilledDownloadGoAtStartUp();
    void downloadShowsUpOnlyWhenComplete();
    void refusedFileSaysWhy_data();
    void refusedFileSaysWhy();

private:
    int listed() const { return window->recordingList()->group()->buttons().size(); }
    QString notice() const { return window->noticeOverlay()->text(); }

    MainWindow *window = nullptr;
};

void TestWindowFiles::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    loggersim::setReadWaitLimit(100);
}

void TestWindowFiles::init()
{
    QDir(appFolder()).removeRecursively();
}

void TestWindowFiles::cleanup()
{
    delete window;
    window = nullptr;
}

void TestWindowFiles::leftoversOfAKilledDownloadGoAtStartUp()
{
    loggersim::configure(QStringLiteral("none"));
    initSettings(this);
    QVERIFY(QDir().mkpath(dataDir()));
    // Left by a download that was killed: nobody holds it.
    const QString leftover = dataDir() + QStringLiteral("/.HX20D_20240131_142501.data.Ab12Cd.part");
    QFile file(leftover);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray(3000, 'x')) == 3000);
    file.close();
    // Being written by another program right now.
    NewFile busy(dataDir(), QStringLiteral("HX10D_20240131_142502.data"));
    QVERIFY(busy.open());

    window = new MainWindow;
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(leftover), 3000);
    QVERIFY(QFile::exists(busy.temporaryPath()));
    QCOMPARE(listed(), 0);
}

// Until its last block is in, the folder and the list hold no recording; when
// the dialog closes, the one complete recording is listed and shown.
void TestWindowFiles::downloadShowsUpOnlyWhenComplete()
{
    loggersim::configure(QStringLiteral("HX20D:samples=6000"));
    const int id = loggersim::loggerIds().first();
    window = new MainWindow;
    window->show();
    QTimer accept;
    accept.setInterval(10);
    connect(&accept, &QTimer::timeout, [&accept] {
        if (auto *dialog = qobject_cast<ConnectDialog *>(QApplication::activeModalWidget())) {
            accept.stop();
            dialog->accept();
        }
    });
    accept.start();
    window->delConnectDev();
    QVERIFY(QTest::qWaitFor([this] { return window->form()->connectWidget->isConnected(); }, 5000));
    loggersim::Faults slow;
    slow.latencyMs = 100;
    loggersim::setFaults(id, slow);

    bool complete = false;
    connect(window->controller(), &UsbControl::dataDownloadProgress,
            [&complete](int cur, int total) { complete = cur >= total; });
    int checks = 0;
    QStringList seen;
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, [&] {
        if (complete || !qobject_cast<DownloadDialog *>(QApplication::activeModalWidget()))
            return;
        ++checks;
        seen << QDir(dataDir()).entryList({QStringLiteral("*.data")}, QDir::Files);
        if (listed() != 0)
            seen << QStringLiteral("a list entry");
    });
    watch.start();
    emit window->form()->tbWidget->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([this] { return notice() == QStringLiteral("下载成功"); }, 10000));
    watch.stop();
    QVERIFY(checks > 5);
    QVERIFY2(seen.isEmpty(), qPrintable(seen.join(", ")));

    const QStringList files = QDir(dataDir()).entryList({QStringLiteral("*.data")}, QDir::Files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(listed(), 1);
    QTRY_COMPARE(window->form()->dataShow->recordingBaseName(),
                 QFileInfo(files.first()).completeBaseName());
    const LoadedRecording recording =
        RecordingReader::read(QDir(dataDir()).filePath(files.first()));
    QCOMPARE(recording.samples.size(), 6000);
    QVERIFY(QDir(dataDir())
                .entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden)
                .isEmpty());
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestWindowFiles test;
    return QTest::qExec(&test, argc, argv);
}

void TestWindowFiles::refusedFileSaysWhy_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("too short") << QByteArray(100, 'x') << QStringLiteral("文件过短，不是记录文件");
    QTest::newRow("no known model")
        << QByteArray(2000, 'x') << QStringLiteral("未知的记录仪型号，不是记录文件");
    QTest::newRow("a pipe") << QByteArray() << QStringLiteral("不是普通文件");
}

// Opening a file that is not a recording names the reason beside "打开失败!".
void TestWindowFiles::refusedFileSaysWhy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    loggersim::configure(QStringLiteral("none"));
    initSettings(this);
    QVERIFY(QDir().mkpath(dataDir()));
    const QString path = dataDir() + QStringLiteral("/HX20D_20240131_142501.data");
    if (bytes.isEmpty()) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    }
    window = new MainWindow;
    window->show();
    QSignalSpy opened(window->form()->dataShow, &DataShowWidget::recordingOpened);
    QVERIFY(window->recordingList()->openDataFile(path));
    QVERIFY(opened.wait(5000));
    QVERIFY(opened.first().at(1).value<RecordingStatus>() != RecordingStatus::Loaded);
    const Snackbar *notices = window->noticeOverlay();
    const QStringList said = notices->pendingTexts() << notices->shownText();
    QVERIFY2(said.contains(QStringLiteral("打开失败! ") + reason), qPrintable(said.join('|')));
}

#include "tst_windowfiles.moc"
