// SPDX-License-Identifier: GPL-3.0-or-later
// Reviewing a recording in the window: a note typed on the summary page and a comment on an
// excursion become trail entries the page shows; a signature asks the password again, a wrong
// one is refused and logged, the right one signs (on a team archive, whose password the test
// knows), and what may be signed follows the meaning standing and the signer's role.
#include "app/archivekeeper.h"
#include "app/commentdialog.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/passworddialog.h"
#include "app/recordinglist.h"
#include "app/reviewdialog.h"
#include "archive/archive.h"
#include "archive/archiveroles.h"
#include "archive/pgcluster.h"
#include "archive/recordingbytes.h"
#include "core/settinginfo.h"
#include "dialoganswers.h"
#include "testsupport.h"
#include "views/datadevinfowidget.h"
#include "views/datashowwidget.h"
#include "views/reviewpanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace
{
using testsupport::answerNext;

void typePassword(PasswordDialog *dialog, const QString &password)
{
    dialog->passwordEdit()->setText(password);
    dialog->okButton()->click();
}

SignatureMeaning meaning(const char *key, bool readerMaySign, bool final)
{
    return {QString::fromLatin1(key), QString(), QString(), readerMaySign, final};
}
} // namespace

class TestReviewWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void reviewInTheWindow_data();
    void reviewInTheWindow();
    void dialogOffersWhatMaySigned_data();
    void dialogOffersWhatMaySigned();

private:
    PgCluster postgres;
    ArchiveLocation team;
    MainWindow *window = nullptr;
};

void TestReviewWindow::initTestCase()
{
    QString error;
    QVERIFY2(postgres.start(&error, PgCluster::Loopback), qPrintable(error));
    QVERIFY2(postgres.createDatabase("review", &team, &error), qPrintable(error));
    ArchiveRoles roles;
    ArchiveRoles::Setup done;
    QVERIFY2(roles.open(team) && roles.setUp(&done), qPrintable(roles.errorText()));
    for (const QString &sql : {QStringLiteral("CREATE ROLE quality LOGIN PASSWORD 'right'"),
                               QStringLiteral("COMMENT ON ROLE quality IS 'Quinn Quality'"),
                               QStringLiteral("GRANT hygra_operator TO quality")})
        QVERIFY2(postgres.exec(sql, &error, "review"), qPrintable(error));
    // libpq finds the role's password in its own file, as a site would keep it.
    const QString pgpass = QDir::home().filePath(QStringLiteral(".pgpass-review"));
    QFile file(pgpass);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("127.0.0.1:%1:review:quality:right\n").arg(postgres.tcpPort()).toUtf8());
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    qputenv("PGPASSFILE", pgpass.toUtf8());
}

void TestReviewWindow::cleanup()
{
    // Each row starts from settings of its own: the folder goes with them.
    delete window;
    window = nullptr;
}

void TestReviewWindow::reviewInTheWindow_data()
{
    QTest::addColumn<bool>("teamArchive");
    QTest::newRow("local archive") << false;
    QTest::newRow("team archive") << true;
}

void TestReviewWindow::reviewInTheWindow()
{
    QFETCH(bool, teamArchive);
    QDir(appFolder()).removeRecursively();
    // The settings the window will read, before it reads them.
    initSettings(this);
    QDir().mkpath(dataDir());
    if (teamArchive)
        settingInfo()->writeInfo(
            QStringLiteral("archive"), QStringLiteral("url"),
            QStringLiteral("postgresql://quality@127.0.0.1:%1/review").arg(postgres.tcpPort()));
    // Above TH1's 30 °C throughout: one excursion from the first sample.
    const QString path = dataDir() + QStringLiteral("/cold.data");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(recordingBytes(
        {"H2B0012345", "Cold room", "", QDateTime(QDate(2026, 3, 1), QTime(8, 0)), 60, 3200}));
    file.close();

    window = new MainWindow;
    window->show();
    DataShowWidget *view = window->form()->dataShow;
    ReviewPanel *panel = view->infoPage()->form().reviewPanel;
    auto *keeper = window->findChild<ArchiveKeeper *>();
    QSignalSpy opened(view, &DataShowWidget::recordingOpened);
    QTRY_VERIFY(window->recordingList()->openDataFile(path) && opened.wait(5000));
    QTRY_VERIFY_WITH_TIMEOUT(panel->commentButton()->isEnabled(), 5000);
    QCOMPARE(panel->statusLabel()->text(), QStringLiteral("未审核"));

    QLineEdit *noteLine = view->infoPage()->form().lineEdit;
    noteLine->setText(QStringLiteral("  door seal checked "));
    QTest::keyClick(noteLine, Qt::Key_Return);
    QVERIFY(noteLine->text().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(panel->entriesLabel()->text().contains("door seal checked"),
                             5000);

    answerNext<CommentDialog>(this, [](CommentDialog *dialog) {
        QCOMPARE(dialog->subjectBox()->count(), 2);
        QVERIFY(!dialog->okButton()->isEnabled());
        dialog->subjectBox()->setCurrentIndex(1);
        dialog->reasonBox()->setCurrentIndex(dialog->reasonBox()->findText("除霜周期"));
        dialog->actionBox()->setEditText(QStringLiteral("product quarantined"));
        dialog->okButton()->click();
    });
    panel->commentButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(panel->entriesLabel()->text().contains("product quarantined"), 5000);
    QVERIFY(panel->entriesLabel()->text().contains("2026/03/01 08:00:00"));

    // A wrong password is refused and asked again with the tries left; the
    // right one (known only for the team's role) signs.
    bool askedAgain = false;
    const auto secondTry = [&](PasswordDialog *password) {
        askedAgain = password->errorLabel()->text().contains("再错 2 次");
        if (teamArchive)
            typePassword(password, QStringLiteral("right"));
        else
            password->reject();
    };
    answerNext<ReviewDialog>(this, [&](ReviewDialog *dialog) {
        dialog->meaningBox()->setCurrentIndex(dialog->meaningBox()->findData("approved"));
        dialog->commentEdit()->setText(QStringLiteral("released"));
        answerNext<PasswordDialog>(this, [&](PasswordDialog *password) {
            typePassword(password, QStringLiteral("not the password"));
            answerNext<PasswordDialog>(this, secondTry);
        });
        dialog->okButton()->click();
    });
    panel->signButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(askedAgain, 15000);
    if (teamArchive) {
        QTRY_COMPARE_WITH_TIMEOUT(panel->statusLabel()->text(), QStringLiteral("已签署：批准"),
                                  10000);
        QVERIFY(panel->entriesLabel()->text().contains("Quinn Quality（quality）"));
        // Every export from the window prints what the view holds.
        QCOMPARE(view->loaded().review.signatures.size(), 1);
        QCOMPARE(view->loaded().review.signatures.first().comment, QStringLiteral("released"));
    }

    Archive archive;
    QVERIFY2(archive.open(keeper->location()), qPrintable(archive.errorText()));
    AuditFilter ofRecording;
    ofRecording.sha256 = view->loaded().sha256;
    QTRY_VERIFY_WITH_TIMEOUT(archive.auditEntries(ofRecording).size() >= (teamArchive ? 4 : 3),
                             5000);
    QStringList kinds;
    for (const AuditEntry &entry : archive.auditEntries(ofRecording))
        if (entry.kind != QLatin1String("import"))
            kinds << entry.kind;
    QStringList expected{"comment", "comment", "signature-failed"};
    if (teamArchive)
        expected << "signature";
    QCOMPARE(kinds, expected);
}

void TestReviewWindow::dialogOffersWhatMaySigned_data()
{
    QTest::addColumn<QString>("standing");
    QTest::addColumn<bool>("reader");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("confirmable");
    const QStringList all{"reviewed", "approved", "rejected"};
    const QStringList withRevoke = all + QStringList{"revoke"};
    QTest::newRow("unsigned") << "" << false << all << "approved"
                              << "" << true;
    QTest::newRow("reviewed is no final") << "reviewed" << false << all << "rejected"
                                          << "" << true;
    QTest::newRow("approved, then rejected") << "approved" << false << withRevoke << "rejected"
                                             << "" << false;
    QTest::newRow("approved again") << "approved" << false << withRevoke << "approved"
                                    << "" << true;
    QTest::newRow("revoke without reason") << "approved" << false << withRevoke << "revoke"
                                           << "" << false;
    QTest::newRow("revoke with reason") << "rejected" << false << withRevoke << "revoke"
                                        << "wrong batch" << true;
    QTest::newRow("reader") << "" << true << QStringList{"reviewed"} << "reviewed"
                            << "" << true;
}

void TestReviewWindow::dialogOffersWhatMaySigned()
{
    QFETCH(QString, standing);
    QFETCH(bool, reader);
    QFETCH(QStringList, offered);
    QFETCH(QString, choice);
    QFETCH(QString, comment);
    QFETCH(bool, confirmable);
    RecordingReview review;
    review.sha256 = QString(64, QLatin1Char('a'));
    if (!standing.isEmpty()) {
        ReviewSignature signature;
        signature.meaning = standing;
        review.signatures.append(signature);
    }
    ReviewDialog dialog("cold", review,
                        {meaning("reviewed", true, false), meaning("approved", false, true),
                         meaning("rejected", false, true)},
                        reader, "Q (q)");
    QStringList keys;
    for (int i = 0; i < dialog.meaningBox()->count(); ++i)
        keys << dialog.meaningBox()->itemData(i).toString();
    QCOMPARE(keys, offered);
    dialog.meaningBox()->setCurrentIndex(dialog.meaningBox()->findData(choice));
    dialog.commentEdit()->setText(comment);
    QCOMPARE(dialog.okButton()->isEnabled(), confirmable);
    QCOMPARE(dialog.refusalLabel()->isHidden(), confirmable);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    TestReviewWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reviewwindow.moc"
