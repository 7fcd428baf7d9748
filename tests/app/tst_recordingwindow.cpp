// SPDX-License-Identifier: GPL-3.0-or-later
// The main window opening recordings from its list: a cut one with its lasting notice, the
// summary's sample count, verdict and time zone.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "core/settinginfo.h"
#include "loggersim.h"
#include "testsupport.h"
#include "views/datadevinfowidget.h"
#include "views/datashowwidget.h"
#include "views/recordingfixture.h"
#include "widgets/snackbar.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QLabel>
#include <QtTest>
#include <memory>

namespace
{

// 300 one-minute samples at 21 °C with half an hour at 26 °C, judged against
// TH1 25 °C; `held` of them in the file.
bool writeRecording(const QString &path, int held, qint64 overwritten)
{
    ReadDevInfoJson info = fixture::header();
    info.recordNum = 300 + overwritten;
    info.numofReport = 300;
    info.overWirteRecordNum = overwritten;
    info.th3.isOpen = true;
    info.th3.alertValue = 2500;
    QByteArray samples;
    for (int i = 0; i < held; ++i)
        samples.append(fixture::sample(i >= 60 && i < 90 ? 2600 : 2100, 500));
    return fixture::writeFile(path, info, samples);
}

} // namespace

class TestRecordingWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cutRecordingKeepsItsNotice();
    void summaryShowsHeldSamplesAndVerdict();

private:
    // Clicks the list entry of the file `baseName`.
    bool open(const QString &baseName);
    QLabel *banner() const
    {
        return window->form()->dataShow->findChild<QLabel *>(QStringLiteral("incompleteBanner"));
    }

    std::unique_ptr<QTemporaryDir> home;
    MainWindow *window = nullptr;
};

void TestRecordingWindow::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    Q_INIT_RESOURCE(resources);
    loggersim::configure(QStringLiteral("none"));
    initSettings(this);
    QVERIFY(QDir().mkpath(dataDir()));
    QVERIFY(writeRecording(QDir(dataDir()).filePath("cut.data"), 100, 0));
    QVERIFY(writeRecording(QDir(dataDir()).filePath("whole.data"), 300, 35488));
    window = new MainWindow;
    window->resize(1280, 720);
    window->show();
    QTRY_COMPARE(window->recordingList()->group()->buttons().size(), 2);
}

void TestRecordingWindow::cleanupTestCase()
{
    delete window;
}

bool TestRecordingWindow::open(const QString &baseName)
{
    for (QAbstractButton *entry : window->recordingList()->group()->buttons()) {
        if (entry->text() == baseName) {
            entry->click();
            return QTest::qWaitFor(
                [this, baseName] {
                    return window->form()->dataShow->recordingBaseName() == baseName;
                },
                5000);
        }
    }
    return false;
}

void TestRecordingWindow::cutRecordingKeepsItsNotice()
{
    const QString notice = QStringLiteral("记录不完整：100 / 300 个样本");
    QVERIFY(open(QStringLiteral("cut")));
    QVERIFY(banner());
    QVERIFY(banner()->isVisible());
    QVERIFY2(banner()->text().startsWith(notice), qPrintable(banner()->text()));
    QCOMPARE(window->noticeOverlay()->text(), notice);
    // It stays with the recording on both pages, after the transient notice is gone.
    window->form()->dataShow->delSelectTabIndex(1);
    QTest::qWait(4000);
    QVERIFY(banner()->isVisible());
    window->form()->dataShow->delSelectTabIndex(0);

    QVERIFY(open(QStringLiteral("whole")));
    QVERIFY(!banner()->isVisible());
    QVERIFY(open(QStringLiteral("cut")));
    QVERIFY(banner()->isVisible());
    window->form()->dataShow->clearRecording();
    QVERIFY(!banner()->isVisible());
}

void TestRecordingWindow::summaryShowsHeldSamplesAndVerdict()
{
    const DataDevInfoForm &form = window->form()->dataShow->infoPage()->form();
    QVERIFY(open(QStringLiteral("whole")));
    QCOMPARE(form.recordNum->text(), QStringLiteral("300（另有 35488 条已被覆盖）"));
    QCOMPARE(form.verdictLabel->text(),
             QStringLiteral("超出限值：1 次超限，高于上限 0 小时 30 分"));
    QCOMPARE(form.timeZoneLabel->text(), QStringLiteral("记录仪本地时间"));
    QVERIFY(open(QStringLiteral("cut")));
    QCOMPARE(form.recordNum->text(), QStringLiteral("100"));
}

QTEST_MAIN(TestRecordingWindow)
#include "tst_recordingwindow.moc"
