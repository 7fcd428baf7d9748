// SPDX-License-Identifier: GPL-3.0-or-later
// The export flows end to end: file dialog, writing on or off the GUI thread, opening the result
// and the one notice that tells how it went.
#include "core/settinginfo.h"
#include "export/exportsupport.h"
#include "testsupport.h"
#include "views/exportflow.h"
#include "widgets/waitprogressdialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>
#include <QtTest>

const QString workbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");

// The notice after a written export: the file's name and its folder.
QString writtenNotice(const QString &path)
{
    const QFileInfo file(path);
    return QStringLiteral("已导出 %1，保存在 %2")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

class TestExportFlow : public QObject
{
    Q_OBJECT
public slots:
    // Stands in for the desktop's viewer.
    void openUrl(const QUrl &url) { opened.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void shortReportIsWrittenOnTheGuiThread();
    void longReportIsWrittenBehindTheWaitOverlay();
    void waitOverlayLetsTheWindowRun();
    void spreadsheetIsWrittenAndOpened();
    void workbookTypeWritesTheWorkbook_data();
    void workbookTypeWritesTheWorkbook();
    void cancelledDialogWritesNothing_data();
    void cancelledDialogWritesNothing();
    void withoutViewerTheNoticeSaysSo_data();
    void withoutViewerTheNoticeSaysSo();

private:
    // Answers the next file dialog with `path`, or cancels it when empty,
    // and watches for the wait overlay until the flow returns. A non-empty
    // `filter` is chosen as the file type first.
    void answerWith(const QString &path, const QString &filter = QString())
    {
        answer = path;
        answerFilter = filter;
        dialogSeen = false;
        overlaySeen = false;
        overlayDone = false;
        watcher.start();
    }
    void poll();
    QString runExport(const QString &kind, const QString &path);
    // Runs the PDF export and waits for the notice that ends it.
    QString pdfNotice(const LoadedRecording &recording, const QString &baseName)
    {
        pdfEnded = false;
        exportPdfReport(container, recording, baseName, [this](const QString &notice) {
            pdfText = notice;
            pdfEnded = true;
        });
        if (!QTest::qWaitFor([this] { return pdfEnded; }, 30000))
            return QStringLiteral("no notice");
        return pdfText;
    }

    QObject owner;
    QMainWindow *mainWindow = nullptr;
    QWidget *container = nullptr;
    QTimer watcher;
    QTemporaryDir out;
    QString answer;
    QString answerFilter;
    bool dialogSeen = false;
    QString dialogTitle;
    QWidget *dialogParent = nullptr;
    QString defaultFile;
    QStringList filters;
    bool overlaySeen = false;
    bool overlayDone = false;
    QWidget *overlayParent = nullptr;
    QList<QUrl> opened;
    bool pdfEnded = false;
    QString pdfText;
};

void TestExportFlow::initTestCase()
{
    initSettings(&owner);
    QVERIFY(QDir().mkpath(dataDir()));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    mainWindow = new QMainWindow;
    container = new QWidget;
    mainWindow->setCentralWidget(container);
    mainWindow->resize(800, 600);
    mainWindow->show();
    watcher.setInterval(5);
    connect(&watcher, &QTimer::timeout, this, &TestExportFlow::poll);
}

void TestExportFlow::init()
{
    opened.clear();
}

void TestExportFlow::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    delete mainWindow;
}

void TestExportFlow::poll()
{
    if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
        if (dialogSeen)
            return;
        dialogSeen = true;
        dialogTitle = dialog->windowTitle();
        dialogParent = dialog->parentWidget();
        defaultFile = dialog->selectedFiles().value(0);
        filters = dialog->nameFilters();
        // Answer once the dialog's own loop runs.
        QTimer::singleShot(0, dialog, [dialog, this] {
            if (answer.isEmpty()) {
                dialog->reject();
            } else {
                // Typed into the name field, as a user would; selectFile
                // fills it only after the folder has been read.
                const QFileInfo target(answer);
                if (!answerFilter.isEmpty())
                    dialog->selectNameFilter(answerFilter);
                dialog->setDirectory(target.absolutePath());
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->setText(target.fileName());
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        return;
    }
    if (auto *overlay = mainWindow->findChild<WaitProgressDialog *>()) {
        if (overlay->isVisible()) {
            overlaySeen = true;
            overlayParent = overlay->parentWidget();
            if (overlay->tipLabel()->text() == QStringLiteral("导出完成"))
                overlayDone = true;
        }
    }
}

void TestExportFlow::shortReportIsWrittenOnTheGuiThread()
{
    const QString path = out.filePath(QStringLiteral("short.PDF"));
    answerWith(path);
    const QString notice =
        pdfNotice(exporttest::recording(576), QStringLiteral("HX20D_20231130_164900"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QCOMPARE(dialogTitle, QStringLiteral("导出"));
    QCOMPARE(dialogParent, container);
    QCOMPARE(defaultFile, dataDir() + QStringLiteral("/HX20D_20231130_164900.PDF"));
    QCOMPARE(filters, QStringList{QStringLiteral("(*.PDF)")});
    QVERIFY2(!overlaySeen, "no wait overlay up to 576 samples");
    QCOMPARE(exporttest::pdfPageCount(path), 2);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    QCOMPARE(notice, writtenNotice(path));
}

void TestExportFlow::longReportIsWrittenBehindTheWaitOverlay()
{
    const QString path = out.filePath(QStringLiteral("long.PDF"));
    answerWith(path);
    const QString notice = pdfNotice(exporttest::recording(577), QStringLiteral("long"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QVERIFY2(overlaySeen, "the GUI thread kept running while the report was written");
    QCOMPARE(overlayParent, mainWindow);
    // The notice tells the outcome, for long reports as for short ones.
    QVERIFY2(!overlayDone, "the overlay claims no success of its own");
    QCOMPARE(notice, writtenNotice(path));
    QVERIFY2(!mainWindow->findChild<WaitProgressDialog *>(), "the overlay is gone afterwards");
    QCOMPARE(exporttest::pdfPageCount(path), 3);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
}

// The export returns while the long report is written: the window's timers
// and events go on, the overlay covers it, and the notice comes at the end.
void TestExportFlow::waitOverlayLetsTheWindowRun()
{
    const QString path = out.filePath(QStringLiteral("running.PDF"));
    answerWith(path);
    pdfEnded = false;
    exportPdfReport(container, exporttest::recording(5000), QStringLiteral("running"),
                    [this](const QString &notice) {
                        pdfText = notice;
                        pdfEnded = true;
                    });
    QVERIFY2(!pdfEnded, "the long report is still being written");
    auto *overlay = mainWindow->findChild<WaitProgressDialog *>();
    QVERIFY(overlay && overlay->isVisible());
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] {
        if (!pdfEnded)
            ++ticks;
    });
    tick.start(1);
    QVERIFY(QTest::qWaitFor([this] { return pdfEnded; }, 30000));
    tick.stop();
    watcher.stop();
    QVERIFY2(ticks > 0, "a timer fired while the report was written");
    QCOMPARE(pdfText, writtenNotice(path));
    QVERIFY(!mainWindow->findChild<WaitProgressDialog *>());
    QCOMPARE(exporttest::pdfPageCount(path), 1 + 9);
}

void TestExportFlow::spreadsheetIsWrittenAndOpened()
{
    const QString path = out.filePath(QStringLiteral("samples.csv"));
    answerWith(path);
    const QString notice =
        exportSpreadsheet(container, exporttest::recording(2, false), QStringLiteral("base"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QCOMPARE(dialogTitle, QStringLiteral("导出"));
    QCOMPARE(dialogParent, container);
    QCOMPARE(defaultFile, dataDir() + QStringLiteral("/base.csv"));
    QCOMPARE(filters, (QStringList{QStringLiteral("(*.csv)"), workbookFilter}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 4); // header, two samples, nothing after the last line feed
    QCOMPARE(lines[1], QByteArray("2023/11/30,16:49:00,20.0"));
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    QCOMPARE(notice, writtenNotice(path));
}

void TestExportFlow::workbookTypeWritesTheWorkbook_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("workbookType");
    QTest::addColumn<QString>("written");
    QTest::newRow("workbook type, name left at .csv") << "book.csv" << true << "book.xlsx";
    QTest::newRow("workbook type, no suffix") << "plain" << true << "plain.xlsx";
    QTest::newRow("comma-separated type, .xlsx typed") << "typed.xlsx" << false << "typed.xlsx";
}

void TestExportFlow::workbookTypeWritesTheWorkbook()
{
    QFETCH(QString, typed);
    QFETCH(bool, workbookType);
    QFETCH(QString, written);
    answerWith(out.filePath(typed), workbookType ? workbookFilter : QString());
    const QString notice =
        exportSpreadsheet(container, exporttest::recording(3), QStringLiteral("base"));
    watcher.stop();
    QVERIFY(dialogSeen);
    const QString path = out.filePath(written);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QCOMPARE(file.read(2), QByteArray("PK")); // a zip container, not text
    QVERIFY2(!QFile::exists(out.filePath(QStringLiteral("book.csv"))),
             "no file under the typed name");
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    QCOMPARE(notice, writtenNotice(path));
}

void TestExportFlow::cancelledDialogWritesNothing_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<int>("samples");
    QTest::newRow("short report") << true << 10;
    QTest::newRow("long report") << true << 600;
    QTest::newRow("spreadsheet") << false << 10;
}

void TestExportFlow::cancelledDialogWritesNothing()
{
    QFETCH(bool, pdf);
    QFETCH(int, samples);
    const QStringList before = QDir(dataDir()).entryList(QDir::Files);
    answerWith(QString());
    const QString notice =
        pdf ? pdfNotice(exporttest::recording(samples), QStringLiteral("cancelled"))
            : exportSpreadsheet(container, exporttest::recording(samples),
                                QStringLiteral("cancelled"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QVERIFY(!overlaySeen);
    QVERIFY(opened.isEmpty());
    QCOMPARE(notice, QString());
    QCOMPARE(QDir(dataDir()).entryList(QDir::Files), before);
}

// One export of each kind, answering the file dialog with `path`; returns its notice.
QString TestExportFlow::runExport(const QString &kind, const QString &path)
{
    const bool workbook = kind == QLatin1String("workbook");
    answerWith(path, workbook ? workbookFilter : QString());
    QString notice;
    if (kind == QLatin1String("comparison")) {
        ComparedRecording one;
        one.label = QStringLiteral("A");
        one.loaded = exporttest::recording(600);
        notice = exportComparisonReport(container, {one, one});
    } else if (kind == QLatin1String("spreadsheet") || workbook) {
        notice = exportSpreadsheet(container, exporttest::recording(1500), QStringLiteral("base"));
    } else {
        const int samples = kind == QLatin1String("short report") ? 500 : 1500;
        notice = pdfNotice(exporttest::recording(samples), QStringLiteral("base"));
    }
    watcher.stop();
    return notice;
}

void TestExportFlow::withoutViewerTheNoticeSaysSo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("short report") << "short report"
                                  << "unviewed-short.PDF";
    QTest::newRow("long report") << "long report"
                                 << "unviewed-long.PDF";
    QTest::newRow("spreadsheet") << "spreadsheet"
                                 << "unviewed-samples.csv";
    QTest::newRow("workbook") << "workbook"
                              << "unviewed-book.xlsx";
    QTest::newRow("comparison") << "comparison"
                                << "unviewed-both.PDF";
}

// The offscreen platform has no desktop services: nothing can open the file.
void TestExportFlow::withoutViewerTheNoticeSaysSo()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    const QString path = out.filePath(name);
    const QString notice = runExport(kind, path);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    QVERIFY(QFileInfo(path).size() > 0);
    QCOMPARE(notice, writtenNotice(path) + QStringLiteral("；没有可以打开它的程序"));
}

int main(int argc, char **argv)
{
    QScopedPointer<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestExportFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_exportflow.moc"
