// SPDX-License-Identifier: GPL-3.0-or-later
// The window's automatic download against emulated loggers, and the waiting loggers' indices.
#include "app/autodownload.h"
#include "app/connectwidget.h"
#include "app/downloaddialog.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "core/autodownloadsettings.h"
#include "core/settinginfo.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "platform/loggerwatcher.h"
#include "testsupport.h"
#include "views/datashowwidget.h"
#include "widgets/snackbar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QtTest>
#include <memory>

class TestAutoDownload : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void downloadsAndReportsAPluggedInLogger();
    void secondLoggerWaitsForTheFirstToGo();
    void pluggedInLoggerNotDownloaded_data();
    void pluggedInLoggerNotDownloaded();

private:
    // Configures the emulated loggers, unplugs those at `unplugged`, then opens the window.
    void startWith(const QString &loggers, const QList<int> &unplugged);
    void switchOn(const QString &reportFolder, bool pdf, bool spreadsheet, bool workbook = false);
    QString notice() const { return window->noticeOverlay()->text(); }
    int listed() const { return window->recordingList()->group()->buttons().size(); }
    DataShowWidget *view() const { return window->form()->dataShow; }

    MainWindow *window = nullptr;
};

void TestAutoDownload::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    loggersim::setReadWaitLimit(100);
}

void TestAutoDownload::init()
{
    QDir(appFolder()).removeRecursively();
}

void TestAutoDownload::cleanup()
{
    delete window;
    window = nullptr;
}

void TestAutoDownload::startWith(const QString &loggers, const QList<int> &unplugged)
{
    loggersim::configure(loggers);
    for (int position : unplugged)
        loggersim::unplug(loggersim::loggerIds().at(position));
    window = new MainWindow;
    window->show();
}

void TestAutoDownload::switchOn(const QString &reportFolder, bool pdf, bool spreadsheet,
                                bool workbook)
{
    AutoDownloadSettings settings;
    settings.enabled = true;
    settings.reportFolder = reportFolder;
    settings.pdf = pdf;
    settings.spreadsheet = spreadsheet;
    settings.workbook = workbook;
    setAutoDownloadSettings(settings);
}

// The logger attached before the mode came on stays as it is; the one plugged in is
// connected, downloaded, listed, opened and reported without a click.
void TestAutoDownload::downloadsAndReportsAPluggedInLogger()
{
    startWith(QStringLiteral("HX10D:samples=800,HX20D:samples=1500"), {1});
    QTemporaryDir reports;
    switchOn(reports.path(), true, true, true);
    loggersim::plug(loggersim::loggerIds().at(1));

    QVERIFY(QTest::qWaitFor([this] { return notice().startsWith(QStringLiteral("已保存报告")); },
                            15000));
    const QStringList recordings = QDir(dataDir()).entryList({"*.data"});
    QCOMPARE(recordings.size(), 1);
    const QString base = QFileInfo(recordings.first()).completeBaseName();
    QVERIFY(base.startsWith(QStringLiteral("HX20D_")));
    QCOMPARE(listed(), 1);
    QCOMPARE(view()->recordingBaseName(), base);
    const QString saved = QStringLiteral("已保存报告：%1.PDF, %1.csv, %1.xlsx（位于 %2）")
                              .arg(base, QDir::toNativeSeparators(reports.path()));
    QCOMPARE(notice(), saved);
    // Nothing but the three complete files: no temporary file is left beside them.
    QCOMPARE(QDir(reports.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    // It waits for the notices before it and then holds for its full time.
    auto *overlay = window->noticeOverlay();
    QVERIFY(QTest::qWaitFor([&] { return overlay->shownText() == saved; }, 10000));
    QVERIFY(QTest::qWaitFor([&] { return overlay->visibleBox().height() > 0; }, 1000));
    QTest::qWait(overlay->holdTime() - 200);
    QCOMPARE(overlay->shownText(), saved);
    QFile pdf(QDir(reports.path()).filePath(base + QStringLiteral(".PDF")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    QFile csv(QDir(reports.path()).filePath(base + QStringLiteral(".csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count('\n'), 1501);
    QFile workbook(QDir(reports.path()).filePath(base + QStringLiteral(".xlsx")));
    QVERIFY(workbook.open(QIODevice::ReadOnly));
    QCOMPARE(workbook.read(2), QByteArray("PK"));
    QVERIFY(window->form()->connectWidget->isConnected());
    QVERIFY(!QApplication::activeModalWidget());
}

// Two loggers of one model: the second waits while the first downloads, and is found at
// its new index once the first is unplugged.
void TestAutoDownload::secondLoggerWaitsForTheFirstToGo()
{
    startWith(QStringLiteral("HX20D:samples=3000,HX20D:samples=700"), {0, 1});
    QTemporaryDir reports;
    switchOn(reports.path(), true, false);
    const int first = loggersim::loggerIds().at(0);
    const int second = loggersim::loggerIds().at(1);
    // Slow answers from the end of the initial read on keep the download's dialog up a while.
    connect(window->controller(), &UsbControl::initReadConfigState, window, [first] {
        loggersim::Faults slow;
        slow.latencyMs = 300;
        loggersim::setFaults(first, slow);
    });
    // The second comes while the first one's download dialog is up; the dialog's own event
    // loop runs this check.
    bool saidWaiting = false;
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, [&] {
        if (!loggersim::isPlugged(second) &&
            qobject_cast<DownloadDialog *>(QApplication::activeModalWidget()))
            loggersim::plug(second);
        saidWaiting = saidWaiting || notice() == QStringLiteral("另一台记录仪已接入，等待中");
    });
    watch.start();
    loggersim::plug(first);
    QVERIFY(QTest::qWaitFor([this] { return notice().startsWith(QStringLiteral("已保存报告")); },
                            15000));
    QVERIFY(saidWaiting);
    QCOMPARE(listed(), 1);
    QCOMPARE(view()->loaded().samples.size(), 3000);
    QCOMPARE(window->findChild<AutoDownload *>()->waitingCount(), 1);

    window->delSendMessage(QString());
    loggersim::unplug(first);
    QVERIFY(QTest::qWaitFor([this] { return notice().startsWith(QStringLiteral("已保存报告")); },
                            15000));
    QCOMPARE(listed(), 2);
    QCOMPARE(view()->loaded().samples.size(), 700);
    QCOMPARE(QDir(reports.path()).entryList({"*.PDF"}).size(), 2);
    QCOMPARE(window->findChild<AutoDownload *>()->waitingCount(), 0);
}

void TestAutoDownload::pluggedInLoggerNotDownloaded_data()
{
    QTest::addColumn<QString>("logger");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("said");
    QTest::newRow("switched off") << "HX20D:samples=800" << false << QString();
    QTest::newRow("recording") << "HX20D:samples=800:recording=1" << true
                               << QStringLiteral("记录仪正在记录，未自动下载");
    QTest::newRow("no records") << "HX20D:samples=0" << true
                                << QStringLiteral("无记录数据，下载失败");
}

void TestAutoDownload::pluggedInLoggerNotDownloaded()
{
    QFETCH(QString, logger);
    QFETCH(bool, on);
    QFETCH(QString, said);
    startWith(logger, {0});
    if (on)
        switchOn(QString(), true, false);
    QSignalSpy arrived(window->loggerWatcher(), &LoggerWatcher::loggerArrived);
    loggersim::plug(loggersim::loggerIds().first());

    if (said.isEmpty()) {
        QVERIFY(arrived.wait(5000));
        // Longer than the mode waits before it serves an arrival.
        QTest::qWait(1000);
        QVERIFY(!window->form()->connectWidget->isBusy());
        QCOMPARE(notice(), QString());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(notice(), said, 10000);
        QVERIFY(window->form()->connectWidget->isConnected());
    }
    QVERIFY(QDir(dataDir()).entryList({"*.data"}).isEmpty());
    QCOMPARE(listed(), 0);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestAutoDownload test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_autodownload.moc"
