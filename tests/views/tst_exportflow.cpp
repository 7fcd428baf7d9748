// SPDX-License-Identifier: GPL-3.0-or-later
// The export flows end to end: file dialog, writing on or off the GUI thread, opening the result.
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
    void spreadsheetIsWrittenAndOpened();
    void workbookTypeWritesTheWorkbook_data();
    void workbookTypeWritesTheWorkbook();
    void cancelledDialogWritesNothing_data();
    void cancelledDialogWritesNothing();

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
    exportPdfReport(container, exporttest::recording(576), QStringLiteral("HX20D_20231130_164900"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QCOMPARE(dialogTitle, QStringLiteral("导出"));
    QCOMPARE(dialogParent, container);
    QCOMPARE(defaultFile, dataDir() + QStringLiteral("/HX20D_20231130_164900.PDF"));
    QCOMPARE(filters, QStringList{QStringLiteral("(*.PDF)")});
    QVERIFY2(!overlaySeen, "no wait overlay up to 576 samples");
    QCOMPARE(exporttest::pdfPageCount(path), 2);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
}

void TestExportFlow::longReportIsWrittenBehindTheWaitOverlay()
{
    const QString path = out.filePath(QStringLiteral("long.PDF"));
    answerWith(path);
    exportPdfReport(container, exporttest::recording(577), QStringLiteral("long"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QVERIFY2(overlaySeen, "the GUI thread kept running while the report was written");
    QCOMPARE(overlayParent, mainWindow);
    QVERIFY(overlayDone);
    QVERIFY2(!mainWindow->findChild<WaitProgressDialog *>(), "the overlay is gone afterwards");
    QCOMPARE(exporttest::pdfPageCount(path), 3);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
}

void TestExportFlow::spreadsheetIsWrittenAndOpened()
{
    const QString path = out.filePath(QStringLiteral("samples.csv"));
    answerWith(path);
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
    if (pdf)
        exportPdfReport(container, exporttest::recording(samples), QStringLiteral("cancelled"));
    else
        exportSpreadsheet(container, exporttest::recording(samples), QStringLiteral("cancelled"));
    watcher.stop();
    QVERIFY(dialogSeen);
    QVERIFY(!overlaySeen);
    QVERIFY(opened.isEmpty());
    QCOMPARE(QDir(dataDir()).entryList(QDir::Files), before);
}

int main(int argc, char **argv)
{
    QScopedPointer<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestExportFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_exportflow.moc"
