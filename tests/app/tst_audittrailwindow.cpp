// SPDX-License-Identifier: GPL-3.0-or-later
// The audit trail window, opened from the settings menu and from a recording's entry menu.
#include "app/audittraildialog.h"
#include "app/audittrailfilterbar.h"
#include "app/filebutton.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "app/selectbutton.h"
#include "app/tbwidget.h"
#include "archive/archive.h"
#include "archive/recordingbytes.h"
#include "core/settinginfo.h"
#include "testsupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>

class TestAuditTrailWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void settingsMenuShowsTheWholeTrail();
    void filtersNarrowTheTable_data();
    void filtersNarrowTheTable();
    void entryMenuShowsTheRecordingsTrail();
    void windowFollowsTheLanguage();

private:
    // The dialog the window opened, once it has read the archive.
    AuditTrailDialog *openedDialog();
    AuditTrailDialog *fromSettingsMenu();
    // With HYGRA_SHOT_DIR set, a picture of `widget` is kept there as `name`.png.
    static void keepShot(QWidget *widget, const QString &name);

    MainWindow *window = nullptr;
    QString recordingSha;
};

void TestAuditTrailWindow::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestAuditTrailWindow::keepShot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("HYGRA_SHOT_DIR");
    // As shown once the layout has caught up with changed texts.
    QTest::qWait(100);
    if (!folder.isEmpty() && QDir().mkpath(folder))
        widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

void TestAuditTrailWindow::init()
{
    QDir(appFolder()).removeRecursively();
    // Each test's archive is new: this computer forgets the trail it saw before.
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/hygra/audit"))
        .removeRecursively();
    window = new MainWindow;
    window->show();
    QDir().mkpath(dataDir());
    QFile file(dataDir() + QStringLiteral("/cold1.data"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray bytes = recordingBytes(
        {"H2B0012345", "Cold room", "", QDateTime(QDate(2026, 3, 1), QTime(8, 0)), 100});
    QVERIFY(file.write(bytes) == bytes.size());
    file.close();
    recordingSha =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());

    Archive archive;
    QVERIFY2(archive.open(ArchiveLocation::local(dataDir())), qPrintable(archive.errorText()));
    const QJsonObject change{{"old", 3000}, {"new", 2500}};
    const struct {
        const char *kind;
        QString sha256;
        const char *serial;
        QJsonObject details;
        QString reason;
    } entries[] = {
        {"download", recordingSha, "H2B0012345", {{"file", "cold1.data"}, {"samples", 100}}, {}},
        {"config-write",
         QString(),
         "H2B0012345",
         {{"changes", QJsonObject{{"th1.alertValue", change}}}, {"erasedRecording", true}},
         QStringLiteral("按 SOP-12 调整上限")},
        {"export", recordingSha, "H2B0012345", {{"format", "pdf"}, {"file", "cold1.pdf"}}, {}},
        {"download", QString(64, QLatin1Char('b')), "H1X7", {{"file", "pharmacy.data"}}, {}}};
    for (const auto &e : entries) {
        AuditEntry entry = audit::event(QLatin1String(e.kind), e.details);
        entry.sha256 = e.sha256;
        entry.serial = QLatin1String(e.serial);
        entry.reason = e.reason;
        QVERIFY2(archive.appendAudit(entry), qPrintable(archive.errorText()));
    }
    QTest::qWait(200);
}

void TestAuditTrailWindow::cleanup()
{
    delete window;
    window = nullptr;
}

AuditTrailDialog *TestAuditTrailWindow::openedDialog()
{
    auto *dialog = window->findChild<AuditTrailDialog *>();
    if (!dialog)
        return nullptr;
    QSignalSpy loaded(dialog, &AuditTrailDialog::loaded);
    if (!dialog->shownEntries().isEmpty() || loaded.wait(5000))
        return dialog;
    return nullptr;
}

AuditTrailDialog *TestAuditTrailWindow::fromSettingsMenu()
{
    auto *button = window->findChild<SelectButton *>(QStringLiteral("auditBtn"));
    if (!button || button->text() != QStringLiteral("审计追踪"))
        return nullptr;
    keepShot(button->parentWidget(), QStringLiteral("settings-menu-zh"));
    button->click();
    return openedDialog();
}

void TestAuditTrailWindow::settingsMenuShowsTheWholeTrail()
{
    AuditTrailDialog *dialog = fromSettingsMenu();
    QVERIFY(dialog);
    QVERIFY(dialog->recordingSha256().isEmpty());
    QVERIFY2(dialog->shownEntries().size() == 4, qPrintable(dialog->verificationText()));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(dialog->shownEntries().at(i).seq, qint64(i + 1));
    const QString verdict = dialog->findChild<QLabel *>(QStringLiteral("verification"))->text();
    QVERIFY2(verdict.startsWith(QStringLiteral("已核验：4 条，链条完整；最新条目 4")),
             qPrintable(verdict));
    QVERIFY(verdict.contains(dialog->shownEntries().last().hash));
    // The kinds offered are those seen, once each.
    auto *kinds = dialog->findChild<QComboBox *>(QStringLiteral("kindFilter"));
    QCOMPARE(kinds->count(), 4);
    QCOMPARE(kinds->itemText(1), QStringLiteral("config-write"));
}

void TestAuditTrailWindow::filtersNarrowTheTable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<int>("fromDays");
    QTest::addColumn<int>("toDays");
    QTest::addColumn<QList<qint64>>("shown");
    const int none = 999;
    QTest::newRow("kind") << "download"
                          << ""
                          << "" << none << none << QList<qint64>{1, 4};
    QTest::newRow("serial, any case") << ""
                                      << ""
                                      << "h1x" << none << none << QList<qint64>{4};
    QTest::newRow("kind and serial") << "download"
                                     << ""
                                     << "H2B" << none << none << QList<qint64>{1};
    QTest::newRow("unknown user") << ""
                                  << "nobody-here"
                                  << "" << none << none << QList<qint64>{};
    QTest::newRow("today") << ""
                           << ""
                           << "" << 0 << 0 << QList<qint64>{1, 2, 3, 4};
    QTest::newRow("from tomorrow") << ""
                                   << ""
                                   << "" << 1 << none << QList<qint64>{};
    QTest::newRow("up to yesterday") << ""
                                     << ""
                                     << "" << none << -1 << QList<qint64>{};
}

void TestAuditTrailWindow::filtersNarrowTheTable()
{
    QFETCH(QString, kind);
    QFETCH(QString, user);
    QFETCH(QString, serial);
    QFETCH(int, fromDays);
    QFETCH(int, toDays);
    QFETCH(QList<qint64>, shown);
    AuditTrailDialog *dialog = fromSettingsMenu();
    QVERIFY(dialog);
    AuditTrailFilterBar *bar = dialog->filterBar();
    if (!kind.isEmpty()) {
        auto *kinds = bar->findChild<QComboBox *>(QStringLiteral("kindFilter"));
        kinds->setCurrentIndex(kinds->findText(kind));
    }
    bar->findChild<QLineEdit *>(QStringLiteral("userFilter"))->setText(user);
    bar->findChild<QLineEdit *>(QStringLiteral("serialFilter"))->setText(serial);
    const QDate today = QDate::currentDate();
    if (fromDays != 999)
        bar->findChild<QDateEdit *>(QStringLiteral("fromFilter"))->setDate(today.addDays(fromDays));
    if (toDays != 999)
        bar->findChild<QDateEdit *>(QStringLiteral("toFilter"))->setDate(today.addDays(toDays));
    QList<qint64> seqs;
    for (const AuditEntry &entry : dialog->shownEntries())
        seqs << entry.seq;
    QCOMPARE(seqs, shown);
    // An empty table has nothing to export.
    QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("pdfButton"))->isEnabled(),
             !shown.isEmpty());
    // The user part of every entry matches when typed in part.
    if (user.isEmpty() && !shown.isEmpty()) {
        const QString login = dialog->shownEntries().first().user.left(3).toUpper();
        bar->findChild<QLineEdit *>(QStringLiteral("userFilter"))->setText(login);
        QCOMPARE(dialog->shownEntries().size(), shown.size());
    }
}

void TestAuditTrailWindow::entryMenuShowsTheRecordingsTrail()
{
    RecordingList *list = window->recordingList();
    list->loadFileButtons();
    QCOMPARE(list->group()->buttons().size(), 1);
    auto *entry = static_cast<FileButton *>(list->group()->buttons().first());
    QVERIFY(entry->sha256().isEmpty());
    // The menu runs its own event loop: its entry is chosen from within.
    bool chosen = false;
    QTimer::singleShot(300, this, [&chosen] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions()) {
            if (action->isVisible() && action->text() == QStringLiteral("此记录的审计追踪")) {
                action->trigger();
                chosen = true;
            }
        }
        menu->close();
    });
    emit entry->customContextMenuRequested(QPoint(4, 4));
    QVERIFY(chosen);
    AuditTrailDialog *dialog = openedDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->recordingSha256(), recordingSha);
    QCOMPARE(dialog->shownEntries().size(), 2);
    QCOMPARE(dialog->shownEntries().at(0).seq, qint64(1));
    QCOMPARE(dialog->shownEntries().at(1).seq, qint64(3));
    // The whole trail is still what the check verified.
    QVERIFY(dialog->verificationText().startsWith(QStringLiteral("已核验：4 条")));

    // The export holds the shown entries only.
    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("trail.csv"));
    QSignalSpy exported(dialog, &AuditTrailDialog::exported);
    dialog->exportTo(csv, false);
    QVERIFY(exported.wait(5000));
    QVERIFY2(exported.first().at(1).toBool(), qPrintable(exported.first().at(2).toString()));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count(recordingSha.toLatin1()), 2);
}

void TestAuditTrailWindow::windowFollowsTheLanguage()
{
    AuditTrailDialog *whole = fromSettingsMenu();
    QVERIFY(whole);
    auto *kinds = whole->filterBar()->findChild<QComboBox *>(QStringLiteral("kindFilter"));
    kinds->setCurrentIndex(kinds->findText(QStringLiteral("download")));
    QCOMPARE(whole->shownEntries().size(), 2);
    keepShot(whole, QStringLiteral("audit-trail-filtered-zh"));
    const QString folder = qEnvironmentVariable("HYGRA_SHOT_DIR");
    QTemporaryDir out;
    const QString shots = folder.isEmpty() ? out.path() : folder;
    const QString wholePdf = shots + QStringLiteral("/audit-trail-filtered-zh.pdf");
    QSignalSpy wholeExported(whole, &AuditTrailDialog::exported);
    whole->exportTo(wholePdf, true);
    QVERIFY(wholeExported.wait(10000));
    QVERIFY(wholeExported.first().at(1).toBool());
    window->showAuditTrail(recordingSha);
    auto *recording = window->findChildren<AuditTrailDialog *>().last();
    QVERIFY(recording != whole);
    QTRY_COMPARE(recording->shownEntries().size(), 2);
    keepShot(recording, QStringLiteral("audit-trail-recording-zh"));

    emit window->form()->tbWidget->sendLangueCmd(false);
    QTRY_COMPARE(whole->windowTitle(), QStringLiteral("Audit trail"));
    QVERIFY(recording->windowTitle().startsWith(QStringLiteral("Audit trail of this recording")));
    auto *table = whole->findChild<QTableView *>(QStringLiteral("auditTable"));
    QCOMPARE(table->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Kind"));
    QCOMPARE(kinds->itemText(0), QStringLiteral("All kinds"));
    // The note of the export done before the change, in the new language.
    QCOMPARE(whole->findChild<QLabel *>(QStringLiteral("exportNote"))->text(),
             QStringLiteral("Exported to %1").arg(QDir::toNativeSeparators(wholePdf)));
    QVERIFY(whole->verificationText().startsWith(
        QStringLiteral("Verified: 4 entries, the chain is whole; latest entry 4, hash ")));
    keepShot(whole, QStringLiteral("audit-trail-filtered-en"));
    keepShot(recording, QStringLiteral("audit-trail-recording-en"));

    // The recording's trail printed, in the window's language.
    const QString pdf = shots + QStringLiteral("/audit-trail-recording-en.pdf");
    QSignalSpy exported(recording, &AuditTrailDialog::exported);
    recording->exportTo(pdf, true);
    QVERIFY(exported.wait(10000));
    QVERIFY2(exported.first().at(1).toBool(), qPrintable(exported.first().at(2).toString()));
    emit window->form()->tbWidget->sendLangueCmd(true);
    QTRY_COMPARE(whole->windowTitle(), QStringLiteral("审计追踪"));
}

QTEST_MAIN(TestAuditTrailWindow)
#include "tst_audittrailwindow.moc"
