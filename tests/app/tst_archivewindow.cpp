// SPDX-License-Identifier: GPL-3.0-or-later
// The archive in the window: the search above the recording list, the comparison of several
// recordings and its report, and the folder list when the archive cannot be reached.
#include "app/archivekeeper.h"
#include "app/archivesearchbar.h"
#include "app/filebutton.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "app/tbwidget.h"
#include "archive/archive.h"
#include "archive/recordingbytes.h"
#include "core/settinginfo.h"
#include "export/comparisonreport.h"
#include "export/recordingverdict.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingaudit.h"
#include "recording/recordingreview.h"
#include "testsupport.h"
#include "views/chartlimitlines.h"
#include "views/comparisonwidget.h"
#include "views/cpaxistickerdatetime.h"
#include "views/datagraph.h"
#include "views/datashowwidget.h"
#include "widgets/snackbar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>

namespace
{
// Opens `path` from the list and waits until the view has shown it, the
// list's follow-up (the logger's chosen evaluation) included.
bool openAndWait(RecordingList *list, DataShowWidget *view, const QString &path)
{
    QSignalSpy opened(view, &DataShowWidget::recordingOpened);
    return list->openDataFile(path) && opened.wait(5000) &&
           opened.first().at(1).value<RecordingStatus>() == RecordingStatus::Loaded;
}
} // namespace

class TestArchiveWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void searchFiltersTheList_data();
    void searchFiltersTheList();
    void searchMarksFollowTheLanguage();
    void figuresTheBytesDoNotBearOutAreMarked();
    void signedRecordingsAreMarkedAndTheFilterLeavesThemOut();
    void aChosenEvaluationFollowsTheLogger();
    void typingNarrowsAndClearingRestoresTheFolder();
    void searchRunsOffTheWindowAndTheNewestWins();
    void aLongSearchNamesWhatItLeftOut();
    void renamedRecordingStaysInTheSearch();
    void comparesThreeRecordingsAndWritesTheirReport();
    void historyShowsTheLoggersMergedSeries();
    void dateFieldsTakeTypedDaysAndIgnoreAStrayWheel();
    void unusableArchiveLeavesTheFolderList_data();
    void unusableArchiveLeavesTheFolderList();

private:
    void write(const QString &name, const SmallRecording &recording);
    // The four recordings of the search tests, archived.
    void fillArchive();
    void search(const QString &text);
    QStringList shownTexts() const;
    // The "signed" part of each shown entry's second line, by its name; empty when unsigned.
    QMap<QString, QString> signedMarks() const;
    FileButton *entry(int i) const
    {
        return static_cast<FileButton *>(window->recordingList()->group()->buttons().at(i));
    }
    ArchiveSearchBar *bar() const { return window->form()->searchBar; }

    MainWindow *window = nullptr;
};

void TestArchiveWindow::init()
{
    QDir(appFolder()).removeRecursively();
    window = new MainWindow;
    window->show();
    QDir().mkpath(dataDir());
    QTest::qWait(400);
}

void TestArchiveWindow::cleanup()
{
    // The settings belong to the window.
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"), QString());
    delete window;
    window = nullptr;
}

void TestArchiveWindow::write(const QString &name, const SmallRecording &recording)
{
    QFile file(dataDir() + QLatin1Char('/') + name + QStringLiteral(".data"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(recordingBytes(recording)) > 0);
    QVERIFY(file.flush());
    // Downloaded when its last sample was taken, as the folder list orders it.
    QVERIFY(file.setFileTime(recording.start.addSecs(60 * recording.count),
                             QFileDevice::FileModificationTime));
}

void TestArchiveWindow::fillArchive()
{
    const auto day = [](int month, int d) { return QDateTime(QDate(2026, month, d), QTime(8, 0)); };
    write("cold1", {"H2B0012345", "Cold room", "", day(3, 1), 100});
    write("cold2", {"H2B0012345", "Cold room", "door open", day(3, 20), 100, 3200});
    write("pharmacy", {"H1X7", "Pharmacy", "", day(4, 2), 100});
    write("shelf", {"H1X7", "Pharmacy", "shelf", day(2, 27), 3 * 1440});
    // The keeper imports the folder in the background.
    window->findChild<ArchiveKeeper *>()->syncFolder();
    QTRY_COMPARE_WITH_TIMEOUT(
        [] {
            Archive archive;
            return archive.open(ArchiveLocation::local(dataDir())) ? archive.find({}).size() : -1;
        }(),
        4, 10000);
}

void TestArchiveWindow::search(const QString &text)
{
    QSignalSpy shown(window->recordingList(), &RecordingList::searchShown);
    bar()->textEdit()->setText(text);
    // The bar waits for typing to pause, the search runs on its own thread.
    QVERIFY(shown.wait(3000));
}

QStringList TestArchiveWindow::shownTexts() const
{
    QStringList texts;
    for (QAbstractButton *button : window->recordingList()->group()->buttons())
        texts << button->text();
    return texts;
}

QMap<QString, QString> TestArchiveWindow::signedMarks() const
{
    QMap<QString, QString> marks;
    for (int i = 0; i < window->recordingList()->group()->buttons().size(); ++i) {
        marks[entry(i)->text()] = QString();
        for (const QString &part : entry(i)->detailLine().split(QStringLiteral(" · ")))
            if (part.startsWith(QStringLiteral("已签署：")))
                marks[entry(i)->text()] = part;
    }
    return marks;
}

void TestArchiveWindow::searchFiltersTheList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("outOfRange");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("shown");
    // Newest first, by the last sample.
    QTest::newRow("name") << "pharm" << false << QDate() << QDate()
                          << QStringList{"pharmacy", "shelf"};
    QTest::newRow("note") << "DOOR" << false << QDate() << QDate() << QStringList{"cold2"};
    QTest::newRow("serial") << "b00123" << false << QDate() << QDate()
                            << QStringList{"cold2", "cold1"};
    QTest::newRow("out of range") << "" << true << QDate() << QDate() << QStringList{"cold2"};
    // The recording that began in February and ran into March counts; the
    // days may be given either way round.
    QTest::newRow("dates") << "" << false << QDate(2026, 3, 31) << QDate(2026, 3, 1)
                           << QStringList{"cold2", "shelf", "cold1"};
    QTest::newRow("all three") << "room" << true << QDate(2026, 3, 1) << QDate(2026, 3, 31)
                               << QStringList{"cold2"};
    QTest::newRow("nothing") << "freezer" << false << QDate() << QDate() << QStringList();
    QTest::newRow("nothing in a reversed span")
        << "" << false << QDate(2026, 1, 31) << QDate(2026, 1, 1) << QStringList();
}

void TestArchiveWindow::searchFiltersTheList()
{
    QFETCH(QString, text);
    QFETCH(bool, outOfRange);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, shown);
    fillArchive();
    bar()->outOfRangeSwitch()->setChecked(outOfRange);
    if (from.isValid()) {
        bar()->dateSwitch()->setChecked(true);
        bar()->fromDate()->setDate(from);
        bar()->toDate()->setDate(to);
    }
    search(text);
    QCOMPARE(shownTexts(), shown);
    for (int i = 0; i < shown.size(); ++i) {
        QVERIFY(!entry(i)->isRemote());
        QVERIFY(!entry(i)->serial().isEmpty());
    }
    // A search that finds nothing says so above the list, and why when the days are reversed.
    QLabel *note = window->form()->listNote;
    QCOMPARE(note->isVisible(), shown.isEmpty());
    if (shown.isEmpty())
        QCOMPARE(note->text(), from > to
                                   ? QStringLiteral("没有匹配的记录（开始日期晚于结束日期，已按 "
                                                    "2026-01-01 至 2026-01-31 搜索）")
                                   : QStringLiteral("没有匹配的记录"));
}

// An entry whose columns were rewritten behind the program, and one whose
// file changed, say that what the list shows of them is not verified.
void TestArchiveWindow::figuresTheBytesDoNotBearOutAreMarked()
{
    fillArchive();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tamper");
        db.setDatabaseName(ArchiveLocation::local(dataDir()).filePath);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("UPDATE recordings SET out_of_range = 0 WHERE note = 'door open'"));
        db.close();
    }
    QSqlDatabase::removeDatabase("tamper");
    write("pharmacy", {"H1X7", "Pharmacy", "", QDateTime(QDate(2026, 4, 2), QTime(9, 0)), 100});

    QSignalSpy verified(window->recordingList(), &RecordingList::searchVerified);
    search(QStringLiteral("h"));
    QVERIFY(verified.wait(5000) || !verified.isEmpty());
    QMap<QString, bool> marked;
    for (int i = 0; i < window->recordingList()->group()->buttons().size(); ++i)
        marked[entry(i)->text()] = entry(i)->detailLine().endsWith(QStringLiteral("数据未核验"));
    QCOMPARE(marked, (QMap<QString, bool>{
                         {"cold1", false}, {"cold2", true}, {"pharmacy", true}, {"shelf", false}}));
}

// A signature's meaning shows in the second line of the search's entries and of
// the folder's alike, by the archive's title or else its key; a revoked
// signature leaves the recording unsigned, and "not yet reviewed" lists the
// unsigned recordings only.
void TestArchiveWindow::signedRecordingsAreMarkedAndTheFilterLeavesThemOut()
{
    fillArchive();
    {
        Archive archive;
        QVERIFY(archive.open(ArchiveLocation::local(dataDir())));
        const auto sign = [&archive](const QString &name, const QString &meaning) {
            const QString sha256 = QString::fromLatin1(
                recordingaudit::fileSha256(dataDir() + QLatin1Char('/') + name + ".data"));
            AuditEntry entry = review::signatureEntry(
                sha256, "H1X7", {0, {}, {}, "alice", "Alice", meaning, {}, {}, {}});
            return archive.appendAudit(entry);
        };
        QVERIFY(sign("cold1", "approved"));
        QVERIFY(sign("cold2", "rejected"));
        QVERIFY(sign("pharmacy", "qa-hold"));
        QVERIFY(sign("shelf", "approved"));
        QVERIFY(sign("shelf", review::revokeMeaning));
    }
    const QMap<QString, QString> marked{{"cold1", "已签署：批准"},
                                        {"cold2", "已签署：拒绝"},
                                        {"pharmacy", "已签署：qa-hold"},
                                        {"shelf", ""}};
    search("h");
    QCOMPARE(signedMarks(), marked);
    // In English the archive's English title.
    emit window->form()->tbWidget->sendLangueCmd(false);
    QTRY_VERIFY2(entry(3)->detailLine().endsWith(QStringLiteral("Approved")),
                 qPrintable(entry(3)->detailLine()));
    emit window->form()->tbWidget->sendLangueCmd(true);
    QTRY_COMPARE(signedMarks(), marked);

    // With the text and without.
    bar()->unsignedSwitch()->setChecked(true);
    search("pharm");
    QCOMPARE(shownTexts(), QStringList{"shelf"});
    QSignalSpy shown(window->recordingList(), &RecordingList::searchShown);
    bar()->textEdit()->clear();
    QVERIFY(bar()->isActive());
    QVERIFY(shown.wait(3000));
    QCOMPARE(shownTexts(), QStringList{"shelf"});

    // Off again: the folder, whose entries learn their signatures after listing.
    QSignalSpy folderMarked(window->recordingList(), &RecordingList::signaturesShown);
    bar()->unsignedSwitch()->setChecked(false);
    QVERIFY(folderMarked.wait(5000));
    QCOMPARE(shownTexts(), (QStringList{"pharmacy", "cold2", "shelf", "cold1"}));
    QCOMPARE(signedMarks(), marked);
}

// A range chosen on the summary page judges the shown recording at once, is
// kept for its logger and judges that logger's other recordings; the logger's
// own limits come back for all of them with the reset button.
void TestArchiveWindow::aChosenEvaluationFollowsTheLogger()
{
    fillArchive();
    DataShowWidget *view = window->form()->dataShow;
    RecordingList *list = window->recordingList();
    QVERIFY(openAndWait(list, view, dataDir() + "/cold1.data"));
    const QLabel *verdict = view->findChild<QLabel *>("verdictLabel");
    QCOMPARE(verdict->text(), QStringLiteral("符合限值"));
    view->findChild<QDoubleSpinBox *>("evaluationLow")->setValue(2);
    view->findChild<QDoubleSpinBox *>("evaluationHigh")->setValue(8);
    view->findChild<QPushButton *>("evaluationApply")->click();
    QVERIFY2(verdict->text().startsWith("超出限值：1 次超限"), qPrintable(verdict->text()));
    QCOMPARE(*view->analysis().range.high, 8.0);
    // The exports judge through the shown recording.
    QVERIFY(RecordingVerdict::isOutOfLimits(RecordingAnalysis::of(view->loaded())));

    const auto stored = [] {
        Archive archive;
        archive.open(ArchiveLocation::local(dataDir()));
        return archive.evaluationSettings("H2B0012345");
    };
    QCOMPARE(stored().high, 8.0);
    QVERIFY(openAndWait(list, view, dataDir() + "/cold2.data"));
    QVERIFY(view->loaded().evaluation.has_value());
    QVERIFY(verdict->text().startsWith("超出限值：1 次超限"));
    QVERIFY(openAndWait(list, view, dataDir() + "/pharmacy.data"));
    QCOMPARE(verdict->text(), QStringLiteral("符合限值"));

    QVERIFY(openAndWait(list, view, dataDir() + "/cold1.data"));
    view->findChild<QPushButton *>("evaluationReset")->click();
    QCOMPARE(verdict->text(), QStringLiteral("符合限值"));
    QVERIFY(!stored().isSet());
    QVERIFY(openAndWait(list, view, dataDir() + "/cold2.data"));
    QVERIFY(!view->loaded().evaluation.has_value());
}

void TestArchiveWindow::searchMarksFollowTheLanguage()
{
    fillArchive();
    bar()->outOfRangeSwitch()->setChecked(true);
    search(QString());
    QCOMPARE(shownTexts(), QStringList{"cold2"});
    QVERIFY2(entry(0)->detailLine().endsWith(QStringLiteral("超限")),
             qPrintable(entry(0)->detailLine()));
    emit window->form()->tbWidget->sendLangueCmd(false);
    QTRY_VERIFY2(entry(0)->detailLine().endsWith(QStringLiteral("out of range")),
                 qPrintable(entry(0)->detailLine()));
    emit window->form()->tbWidget->sendLangueCmd(true);
    QTRY_VERIFY(entry(0)->detailLine().endsWith(QStringLiteral("超限")));
}

void TestArchiveWindow::typingNarrowsAndClearingRestoresTheFolder()
{
    fillArchive();
    // Newest first, as the search.
    const QStringList folder{"pharmacy", "cold2", "shelf", "cold1"};
    window->loadFileButtons();
    QCOMPARE(shownTexts(), folder);
    search("h");
    QCOMPARE(shownTexts(), (QStringList{"pharmacy", "cold2", "shelf", "cold1"}));
    search("ph");
    QCOMPARE(shownTexts(), (QStringList{"pharmacy", "shelf"}));
    search("phx");
    QCOMPARE(shownTexts(), QStringList());
    search("pharm");
    // An archived entry opens like a folder entry and is marked as shown.
    entry(0)->click();
    QTRY_COMPARE(window->form()->dataShow->recordingBaseName(), QStringLiteral("pharmacy"));
    QVERIFY(entry(0)->isChecked());
    bar()->clearSearch();
    QSignalSpy ran(bar(), &ArchiveSearchBar::searchChanged);
    QVERIFY(ran.wait(2000));
    QCOMPARE(shownTexts(), folder);
    QVERIFY(entry(0)->isChecked());
    QVERIFY(entry(0)->serial().isEmpty());
}

// A keystroke's search returns at once; the list changes when the archive
// answers, and only for the newest of several searches asked in a row.
void TestArchiveWindow::searchRunsOffTheWindowAndTheNewestWins()
{
    fillArchive();
    window->loadFileButtons();
    const QStringList folder = shownTexts();
    QCOMPARE(folder.size(), 4);
    RecordingList *list = window->recordingList();
    QSignalSpy shown(list, &RecordingList::searchShown);
    // Straight to the list, without the bar's pause for typing.
    bar()->textEdit()->blockSignals(true);
    for (const char *text : {"p", "ph", "pharm", "cold"}) {
        bar()->textEdit()->setText(QString::fromLatin1(text));
        list->searchChanged();
    }
    bar()->textEdit()->blockSignals(false);
    QCOMPARE(shownTexts(), folder);
    QVERIFY(shown.wait(3000));
    QCOMPARE(shownTexts(), (QStringList{"cold2", "cold1"}));
    QTest::qWait(300);
    QCOMPARE(shown.count(), 1);
}

void TestArchiveWindow::aLongSearchNamesWhatItLeftOut()
{
    const int files = RecordingList::maxSearchEntries + 3;
    for (int i = 0; i < files; ++i)
        write(QStringLiteral("r%1").arg(i, 3, 10, QLatin1Char('0')),
              {"H2LONG0001", "Long", "", QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addDays(i), 10});
    window->findChild<ArchiveKeeper *>()->syncFolder();
    QTRY_COMPARE_WITH_TIMEOUT(
        [] {
            Archive archive;
            return archive.open(ArchiveLocation::local(dataDir())) ? archive.find({}).size() : -1;
        }(),
        files, 20000);
    search("long");
    const QStringList shown = shownTexts();
    QCOMPARE(shown.size(), RecordingList::maxSearchEntries);
    // The newest ones; the three oldest are left out and counted.
    QCOMPARE(shown.first(), QStringLiteral("r202"));
    QCOMPARE(shown.last(), QStringLiteral("r003"));
    // Said above the list, where it is seen without scrolling to its end.
    QLabel *more = window->form()->listNote;
    QVERIFY(more->isVisible());
    QVERIFY(more->geometry().bottom() < window->form()->scrollArea->geometry().top());
    QCOMPARE(more->text(), QStringLiteral("还有 3 个记录，请细化搜索"));
    QCOMPARE(window->form()->scrollAreaWidgetContents->height(),
             54 * RecordingList::maxSearchEntries + 4);
    search("long1");
    QCOMPARE(shownTexts(), QStringList());
    QVERIFY(more->isVisible());
    QCOMPARE(more->text(), QStringLiteral("没有匹配的记录"));
    search("long");
    QCOMPARE(more->text(), QStringLiteral("还有 3 个记录，请细化搜索"));
    // Another filter shows its matches from the top, not where the last list was scrolled to.
    QScrollBar *scroll = window->form()->scrollArea->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    QVERIFY(scroll->value() > 1000);
    search("lon");
    QCOMPARE(shownTexts().first(), QStringLiteral("r202"));
    QCOMPARE(scroll->value(), 0);
}

void TestArchiveWindow::renamedRecordingStaysInTheSearch()
{
    fillArchive();
    search("cold");
    QCOMPARE(shownTexts(), (QStringList{"cold2", "cold1"}));
    window->recordingList()->delUpdateRename("freezer door", "cold1");
    QCOMPARE(shownTexts(), (QStringList{"cold2", "freezer door"}));
    const QString renamed = dataDir() + "/freezer door.data";
    QVERIFY(QFile::exists(renamed));
    // The archive learns of the new place in the background.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            Archive archive;
            if (!archive.open(ArchiveLocation::local(dataDir())))
                return false;
            for (const ArchiveEntry &e : archive.find({}))
                if (e.path == QFileInfo(renamed).canonicalFilePath())
                    return true;
            return false;
        }(),
        5000);
    search("col");
    QCOMPARE(shownTexts(), (QStringList{"cold2", "freezer door"}));
    entry(1)->click();
    QTRY_COMPARE(window->form()->dataShow->recordingBaseName(), QStringLiteral("freezer door"));
}

void TestArchiveWindow::comparesThreeRecordingsAndWritesTheirReport()
{
    fillArchive();
    search("h");
    QCOMPARE(shownTexts(), (QStringList{"pharmacy", "cold2", "shelf", "cold1"}));
    DataShowWidget *view = window->form()->dataShow;
    QPushButton *compare = window->form()->compareBtn;
    QVERIFY(compare->isHidden());
    window->form()->selectBtn->click();
    QVERIFY(!compare->isHidden());
    // One marked recording is not a comparison.
    entry(0)->click();
    compare->click();
    QVERIFY(!view->isComparing());
    QCOMPARE(window->noticeOverlay()->text(), QStringLiteral("请选择 2 到 8 个记录进行对比"));
    entry(1)->click();
    entry(3)->click();
    compare->click();
    QTRY_VERIFY(view->isComparing());
    QVERIFY(!window->recordingList()->isSelectMode());

    ComparisonWidget *page = view->comparisonPage();
    QCOMPARE(view->pages()->currentWidget(), page);
    QCOMPARE(page->temperatureGraphs().size(), 3);
    QCOMPARE(page->humidityGraphs().size(), 3);
    QCustomPlot *plot = page->plot();
    // Two entries to a row: the grid's fourth cell stays empty.
    int legendEntries = 0;
    for (int i = 0; i < plot->legend->itemCount(); ++i)
        legendEntries += plot->legend->item(i) ? 1 : 0;
    QCOMPARE(legendEntries, 3);
    const QStringList legend{"pharmacy（序列号 H1X7）", "cold2（序列号 H2B0012345）",
                             "cold1（序列号 H2B0012345）"};
    for (int i = 0; i < 3; ++i) {
        DataGraph *graph = page->temperatureGraphs().at(i);
        QCOMPARE(graph->pen().color(), ComparisonReport::colour(i));
        QCOMPARE(page->humidityGraphs().at(i)->pen().color(), ComparisonReport::colour(i));
        QCOMPARE(graph->name(), legend.at(i));
        QVERIFY(plot->legend->hasItemWithPlottable(graph));
        for (int j = 0; j < i; ++j)
            QVERIFY(graph->pen().color() != page->temperatureGraphs().at(j)->pen().color());
    }
    // The time axis holds every recording: 1 March 08:00 to 2 April 09:39.
    const double first = QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC).toSecsSinceEpoch();
    const double last = QDateTime(QDate(2026, 4, 2), QTime(9, 39), Qt::UTC).toSecsSinceEpoch();
    QVERIFY(plot->xAxis->range().lower <= first && first - plot->xAxis->range().lower < 86400);
    QVERIFY(plot->xAxis->range().upper >= last && plot->xAxis->range().upper - last < 86400);
    // The limits the three share are drawn once each.
    QCOMPARE(page->limitLines()->labels(), (QStringList{"TH1 30.0℃", "TL1 0.0℃"}));
    QCOMPARE(page->limitLines()->lineOf("TH1 30.0℃")->point1->coords().y(), 30.0);
    // The tooltip names a hovered sample's wall-clock time, as on the single chart.
    QCOMPARE(page->ticker()->keyToDateTime(first).toString("yyyy-MM-dd hh:mm"),
             QStringLiteral("2026-03-01 08:00"));

    // The spreadsheet is for one recording; the comparison is a PDF.
    view->delSendExportTypeSignal(1);
    QCOMPARE(window->noticeOverlay()->text(), QStringLiteral("对比只能导出为PDF"));
    QTemporaryDir out;
    const QString pdf = out.filePath("compare.pdf");
    QVERIFY(ComparisonReport::write(pdf, view->compared(), false));
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(10000));
    // The report's font maps 比 to the look-alike radical ⽐, which is what the text gives back.
    const QString page1 = QString::fromUtf8(text.readAllStandardOutput());
    QCOMPARE(page1.count(QLatin1Char('\f')), 1);
    for (const QString &expected :
         {QString("温度湿度记录对"), QString("3 个记录"), QString("2026/03/01 08:00"),
          QString("2026/04/02 09:39"), QString("pharmacy"), QString("cold2"), QString("cold1"),
          QString("H1X7"), QString("MKT"), QString("20.0℃"), QString("20.1℃"), QString("32.1℃"),
          QString("TH1 30.0℃"), QString("TL1 0.0℃")})
        QVERIFY2(page1.contains(expected), qPrintable(expected + "\n" + page1));

    // Opening a recording ends the comparison.
    entry(2)->click();
    QTRY_VERIFY(!view->isComparing());
    QCOMPARE(view->pages()->currentIndex(), 0);
}

void TestArchiveWindow::historyShowsTheLoggersMergedSeries()
{
    fillArchive();
    search("H2B");
    window->recordingList()->showHistory(entry(0)->serial());
    DataShowWidget *view = window->form()->dataShow;
    QVERIFY(view->isComparing());
    QCOMPARE(view->compared().size(), 1);
    QCOMPARE(view->compared().at(0).label, QStringLiteral("Cold room 历史记录"));
    QCOMPARE(view->compared().at(0).loaded.samples.size(), 200);
    QCOMPARE(view->comparisonPage()->temperatureGraphs().size(), 1);
    // Named as the logger's history, in the window, the report and the file name offered.
    const QString title = QStringLiteral("记录仪 H2B0012345 的历史记录（2 次下载）");
    QCOMPARE(view->comparisonPage()->findChild<QLabel *>("comparisonTitle")->text(), title);
    QCOMPARE(ComparisonReport::suggestedBaseName(view->compared(), QDate(2026, 4, 5)),
             QStringLiteral("历史记录_H2B0012345_20260405"));

    // The 19 days between the downloads are a gap, not a straight line.
    DataGraph *graph = view->comparisonPage()->temperatureGraphs().at(0);
    const double lastOfFirst =
        QDateTime(QDate(2026, 3, 1), QTime(9, 39), Qt::UTC).toSecsSinceEpoch();
    const double firstOfSecond =
        QDateTime(QDate(2026, 3, 20), QTime(8, 0), Qt::UTC).toSecsSinceEpoch();
    auto after = graph->data()->findBegin(lastOfFirst + 1, false);
    QVERIFY(after->key > lastOfFirst && after->key < firstOfSecond);
    QVERIFY(std::isnan(after->value));
    QCOMPARE((++after)->key, firstOfSecond);

    QTemporaryDir out;
    const QString pdf = out.filePath("history.pdf");
    QVERIFY(ComparisonReport::write(pdf, view->compared(), false));
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(10000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(page.contains(QStringLiteral("H2B0012345")) &&
                 page.contains(QStringLiteral("2 次下载")),
             qPrintable(page));
    // Down the middle of the page the chart crosses only the gap: no curve there.
    QProcess render;
    render.start("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, out.filePath("history")});
    QVERIFY(render.waitForFinished(20000));
    const QImage image(out.filePath("history.png"));
    QVERIFY(!image.isNull());
    const QColor curve = ComparisonReport::colour(0);
    int curvePixels = 0;
    for (int x = image.width() / 2 - 20; x <= image.width() / 2 + 20; ++x)
        for (int y = 0; y < image.height() / 2; ++y) {
            const QColor c = image.pixelColor(x, y);
            curvePixels += qAbs(c.red() - curve.red()) < 40 &&
                           qAbs(c.green() - curve.green()) < 40 &&
                           qAbs(c.blue() - curve.blue()) < 40;
        }
    QCOMPARE(curvePixels, 0);
}

// Pixels of `part` as `whole` paints it that stand out from the part's
// background: its text can be read.
int textPixels(QWidget *whole, QWidget *part)
{
    const QImage image =
        whole->grab(QRect(part->mapTo(whole, QPoint(0, 0)), part->size())).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    int text = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            text += qAbs(qGray(image.pixel(x, y)) - qGray(background)) > 100;
    return text;
}

void TestArchiveWindow::dateFieldsTakeTypedDaysAndIgnoreAStrayWheel()
{
    QDateEdit *from = bar()->fromDate();
    QVERIFY(!bar()->dateSwitch()->isChecked());
    // Typing a day is how the span is switched on, as a user expects.
    QTest::mouseClick(from, Qt::LeftButton, {}, QPoint(10, from->height() / 2));
    QVERIFY(from->hasFocus());
    QTest::keyClicks(from, "2025");
    QCOMPARE(from->date().year(), 2025);
    QVERIFY(bar()->dateSwitch()->isChecked());

    // A wheel passing over the other field, which has no focus, changes nothing.
    QDateEdit *to = bar()->toDate();
    const QDate before = to->date();
    QWheelEvent wheel(QPointF(10, 10), QPointF(to->mapToGlobal(QPoint(10, 10))), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(to, &wheel);
    QCOMPARE(to->date(), before);

    // The calendar's header names month and year readably, and its days are
    // named in the interface's language.
    QCalendarWidget *calendar = from->calendarWidget();
    calendar->resize(300, 250);
    calendar->show();
    auto *month = calendar->findChild<QToolButton *>("qt_calendar_monthbutton");
    auto *year = calendar->findChild<QToolButton *>("qt_calendar_yearbutton");
    QVERIFY(month && year);
    QVERIFY2(textPixels(calendar, month) > 20 && textPixels(calendar, year) > 20,
             "header text unreadable");
    QCOMPARE(month->text(), QLocale(QLocale::Chinese, QLocale::China)
                                .standaloneMonthName(from->date().month(), QLocale::LongFormat));
    QCOMPARE(calendar->locale().dayName(1, QLocale::ShortFormat), QStringLiteral("周一"));
    calendar->hide();
    emit window->form()->tbWidget->sendLangueCmd(false);
    QTRY_COMPARE(calendar->locale().language(), QLocale::English);
    emit window->form()->tbWidget->sendLangueCmd(true);
    QTRY_COMPARE(calendar->locale().language(), QLocale::Chinese);
}

void TestArchiveWindow::unusableArchiveLeavesTheFolderList_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("unreachable server") << "postgresql://nobody@/none?host=/nonexistent";
    QTest::newRow("malformed address") << "mysql://host/db";
}

void TestArchiveWindow::unusableArchiveLeavesTheFolderList()
{
    QFETCH(QString, url);
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"), url);
    delete window;
    QDir(dataDir()).removeRecursively();
    QDir().mkpath(dataDir());
    write("a", {"A1", "One", "", QDateTime(QDate(2026, 3, 1), QTime(8, 0))});
    write("b", {"B1", "Two", "", QDateTime(QDate(2026, 3, 2), QTime(8, 0))});
    window = new MainWindow;
    window->show();
    auto *keeper = window->findChild<ArchiveKeeper *>();
    QSignalSpy reported(keeper, &ArchiveKeeper::unavailable);
    QSignalSpy listNotices(window->recordingList(), &RecordingList::sendMessage);
    const QString notice = QStringLiteral("无法打开记录档案库，仍使用记录文件夹");
    QTRY_COMPARE_WITH_TIMEOUT(window->noticeOverlay()->text(), notice, 5000);
    QCOMPARE(shownTexts(), (QStringList{"b", "a"}));

    search("One");
    QSignalSpy shown(window->recordingList(), &RecordingList::searchShown);
    bar()->outOfRangeSwitch()->setChecked(true);
    QVERIFY(shown.wait(3000));
    QCOMPARE(shownTexts(), (QStringList{"b", "a"}));
    entry(0)->click();
    QTRY_COMPARE(window->form()->dataShow->recordingBaseName(), QStringLiteral("b"));
    QTest::qWait(300);
    QCOMPARE(reported.size(), 1);
    QCOMPARE(listNotices.size(), 0);
    QCOMPARE(window->noticeOverlay()->text(), notice);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    TestArchiveWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_archivewindow.moc"
