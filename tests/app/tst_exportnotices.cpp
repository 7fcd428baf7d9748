// SPDX-License-Identifier: GPL-3.0-or-later
// The window's exports from the toolbar's menu end with one notice: where the file went, or why
// not.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/tbwidget.h"
#include "archive/recordingbytes.h"
#include "core/settinginfo.h"
#include "fullfolder.h"
#include "testsupport.h"
#include "views/datashowwidget.h"
#include "widgets/snackbar.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

class TestExportNotices : public QObject
{
    Q_OBJECT
public slots:
    // Stands in for the desktop's viewer.
    void openUrl(const QUrl &url) { opened.append(url); }

private slots:
    void initTestCase();
    void cleanup();
    void exportEndsWithOneNotice_data();
    void exportEndsWithOneNotice();

private:
    // Opens a recording in a new window shown in `language`.
    void openWindow(const QString &language);
    // Runs the export menu's entry `type` (0 report, 1 spreadsheet), answering
    // the file dialog with `path`; returns the notice shown afterwards.
    QString exportTo(int type, const QString &path);
    // Keeps a picture of the window when HYGRA_SHOT_DIR names a folder.
    void keepShot(const QString &name);

    QScopedPointer<MainWindow> window;
    QTemporaryDir out;
    QList<QUrl> opened;
};

void TestExportNotices::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
}

void TestExportNotices::cleanup()
{
    window.reset();
    opened.clear();
}

void TestExportNotices::openWindow(const QString &language)
{
    QDir(appFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(appFolder() + QStringLiteral("/Setting")));
    QFile ini(appFolder() + QStringLiteral("/Setting/setting.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[setting]\nlanguage=" + language.toUtf8() + "\n");
    ini.close();
    window.reset(new MainWindow);
    window->resize(1280, 720);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    QVERIFY(QDir().mkpath(dataDir()));
    const QString path = dataDir() + QStringLiteral("/cold_room.data");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(recordingBytes(
        {"H2B0012345", "Cold room", "", QDateTime(QDate(2026, 3, 1), QTime(8, 0)), 1500}));
    file.close();
    QSignalSpy opened(window->form()->dataShow, &DataShowWidget::recordingOpened);
    window->form()->dataShow->openRecording(path);
    QVERIFY(opened.wait(5000));
    QCOMPARE(opened.first().at(1).value<RecordingStatus>(), RecordingStatus::Loaded);
}

QString TestExportNotices::exportTo(int type, const QString &path)
{
    QTimer poll;
    bool answered = false;
    connect(&poll, &QTimer::timeout, this, [&answered, path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || answered)
            return;
        answered = true;
        QTimer::singleShot(0, dialog, [dialog, path] {
            dialog->setDirectory(QFileInfo(path).absolutePath());
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(QFileInfo(path).fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        });
    });
    poll.start(10);
    emit window->form()->tbWidget->sendExportTypeSignal(type);
    poll.stop();
    if (!answered)
        return QStringLiteral("no file dialog");
    // The notice rises before it is read whole.
    QTest::qWait(700);
    return window->noticeOverlay()->text();
}

void TestExportNotices::keepShot(const QString &name)
{
    const QString folder = qEnvironmentVariable("HYGRA_SHOT_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

void TestExportNotices::exportEndsWithOneNotice_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("failed");
    QTest::addColumn<QString>("written");
    // The system's reason comes through Qt's own catalogue of the language.
    QTest::addColumn<QString>("noSpace");
    QTest::newRow("Chinese") << QStringLiteral("中文简体") << QStringLiteral("无法导出 %1：%2")
                             << QStringLiteral("已导出 %1，保存在 %2")
                             << QStringLiteral("设备中已没有剩余空间");
    QTest::newRow("English") << QStringLiteral("English")
                             << QStringLiteral("Could not export %1: %2")
                             << QStringLiteral("Exported %1 to %2")
                             << QStringLiteral("No space left on device");
}

void TestExportNotices::exportEndsWithOneNotice()
{
    QFETCH(QString, language);
    QFETCH(QString, failed);
    QFETCH(QString, written);
    QFETCH(QString, noSpace);
    openWindow(language);
    if (QTest::currentTestFailed())
        return;
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).toLower();

    const testsupport::FullFolder full;
    if (full.isReady()) {
        const QString target = full.filePath(QStringLiteral("cold_room.PDF"));
        QCOMPARE(exportTo(0, target), failed.arg(QDir::toNativeSeparators(target), noSpace));
        keepShot(QStringLiteral("export-failed-") + tag);
        QCOMPARE(full.leftovers(), QStringList());
        QVERIFY(opened.isEmpty());
    } else {
        qInfo("full disk not tried: %s", qPrintable(full.skipReason()));
    }

    const QString csv = out.filePath(tag + QStringLiteral(".csv"));
    QCOMPARE(exportTo(1, csv),
             written.arg(QFileInfo(csv).fileName(), QDir::toNativeSeparators(out.path())));
    keepShot(QStringLiteral("export-written-") + tag);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(csv)});
}

int main(int argc, char **argv)
{
    QScopedPointer<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestExportNotices test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_exportnotices.moc"
