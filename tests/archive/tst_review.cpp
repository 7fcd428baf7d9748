// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's review in the archive: the lists it chooses from, signatures checked against the
// signer's password (a team role's, and the system account's through PAM), the lock after wrong
// passwords, revoking, and what a reader may sign.
#include "archive/archive.h"
#include "archive/archiveroles.h"
#include "archive/reviewsigner.h"
#include "pgcluster.h"
#include "recording/recordingaudit.h"
#include "recordingbytes.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QString insertAs(const ArchiveLocation &where, const QString &sql)
{
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "raw");
        db.setHostName(where.host);
        db.setPort(where.port);
        db.setDatabaseName(where.database);
        db.setUserName(where.user);
        db.setPassword(where.password);
        QSqlQuery query(db);
        if (!db.open())
            error = db.lastError().text();
        else if (!query.exec(sql))
            error = query.lastError().text();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return error;
}

QStringList kindsOf(Archive &archive, const QString &sha256)
{
    AuditFilter filter;
    filter.sha256 = sha256;
    QStringList kinds;
    for (const AuditEntry &entry : archive.auditEntries(filter))
        kinds << entry.kind + (entry.details.contains("error")
                                   ? ":" + entry.details.value("error").toString()
                                   : QString());
    return kinds;
}
} // namespace

class TstReview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsHaveDefaultsAndOwnerEditsThem_data();
    void listsHaveDefaultsAndOwnerEditsThem();
    void teamPasswordLocksAndUnlocks();
    void finalSignaturesNeedRevoke();
    void readerSignsOnlyAllowedMeanings();
    void listMarksSignedRecordings_data();
    void listMarksSignedRecordings();
    void accountPasswordThroughPam();

private:
    bool openAs(Archive &archive, const QString &login, const QString &password);
    ArchiveLocation tcp(const QString &login, const QString &password) const;

    PgCluster postgres;
    QTemporaryDir folder;
    ArchiveLocation owner;
    QString sha256;
    QString otherSha256;
};

ArchiveLocation TstReview::tcp(const QString &login, const QString &password) const
{
    ArchiveLocation where = owner;
    where.host = QStringLiteral("127.0.0.1");
    where.port = postgres.tcpPort();
    where.user = login;
    where.password = password;
    return where;
}

bool TstReview::openAs(Archive &archive, const QString &login, const QString &password)
{
    if (archive.open(tcp(login, password)))
        return true;
    qWarning("%s", qPrintable(archive.errorText()));
    return false;
}

void TstReview::initTestCase()
{
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    QString error;
    QVERIFY2(postgres.start(&error, PgCluster::Loopback), qPrintable(error));
    QVERIFY2(postgres.createDatabase("review", &owner, &error), qPrintable(error));
    const QDateTime start(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC);
    for (const auto &file : {qMakePair(QString("a.data"), QString("R1")),
                             qMakePair(QString("b.data"), QString("R2"))}) {
        QFile out(folder.filePath(file.first));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(recordingBytes({file.second, "Fridge", "", start}));
    }
    Archive archive;
    QVERIFY2(archive.open(owner), qPrintable(archive.errorText()));
    sha256 = archive.addFile(folder.filePath("a.data")).sha256;
    otherSha256 = archive.addFile(folder.filePath("b.data")).sha256;
    QVERIFY(!sha256.isEmpty() && !otherSha256.isEmpty());
    ArchiveRoles roles;
    ArchiveRoles::Setup done;
    QVERIFY2(roles.open(owner) && roles.setUp(&done), qPrintable(roles.errorText()));
    for (const QString &sql :
         {QStringLiteral("CREATE ROLE quality LOGIN PASSWORD 'right'"),
          QStringLiteral("COMMENT ON ROLE quality IS 'Quinn Quality'"),
          QStringLiteral("GRANT hygra_operator TO quality"),
          QStringLiteral("CREATE ROLE auditor LOGIN PASSWORD 'audit'"),
          QStringLiteral("GRANT hygra_reader TO auditor")})
        QVERIFY2(postgres.exec(sql, &error, "review"), qPrintable(error));
}

void TstReview::listsHaveDefaultsAndOwnerEditsThem_data()
{
    QTest::addColumn<bool>("team");
    QTest::newRow("SQLite") << false;
    QTest::newRow("PostgreSQL") << true;
}

void TstReview::listsHaveDefaultsAndOwnerEditsThem()
{
    QFETCH(bool, team);
    const ArchiveLocation where =
        team ? owner : ArchiveLocation::local(folder.filePath(QStringLiteral("lists")));
    Archive archive;
    QVERIFY2(archive.open(where), qPrintable(archive.errorText()));
    const QVector<ReviewChoice> reasons = archive.reviewChoices(ReviewChoice::Reason);
    QVERIFY(reasons.size() >= 4);
    QCOMPARE(reasons.first().text, QString("door left open"));
    QCOMPARE(reasons.first().textZh, QString("门未关好"));
    const QVector<SignatureMeaning> meanings = archive.signatureMeanings();
    QCOMPARE(meanings.size(), 3);
    QVERIFY(meanings.at(0).readerMaySign && !meanings.at(0).final);
    QVERIFY(meanings.at(1).final && meanings.at(2).final);

    QVERIFY(archive.setReviewChoices(ReviewChoice::Action, {{"checked", "已检查"}}));
    QCOMPARE(archive.reviewChoices(ReviewChoice::Action).size(), 1);
    QCOMPARE(archive.reviewChoices(ReviewChoice::Reason).size(), reasons.size());
    QVERIFY(!archive.setSignatureMeanings({{"revoke", "Revoke", "撤销", false, false}}));
    QVERIFY(!archive.setReviewChoices(ReviewChoice::Reason, {{"no Chinese", ""}}));
    QCOMPARE(archive.reviewChoices(ReviewChoice::Reason).size(), reasons.size());
    if (team) {
        Archive quality;
        QVERIFY(openAs(quality, "quality", "right"));
        QVERIFY(!quality.setReviewChoices(ReviewChoice::Action, {{"mine", "我的"}}));
        QVERIFY2(quality.errorText().contains("permission denied"),
                 qPrintable(quality.errorText()));
        QVERIFY(archive.setReviewChoices(ReviewChoice::Action,
                                         {{"product quarantined", "产品已隔离"}}));
    }
}

void TstReview::teamPasswordLocksAndUnlocks()
{
    Archive archive;
    QVERIFY(openAs(archive, "quality", "right"));
    ReviewSigner signer(archive);
    QCOMPARE(signer.login(), QString("quality"));
    QCOMPARE(signer.printedName(), QString("Quinn Quality"));
    QDateTime now = QDateTime::currentDateTimeUtc();
    signer.setClock([&now] { return now; });
    for (int left : {2, 1}) {
        const ReviewSigner::Outcome wrong =
            signer.sign(sha256, "R1", "reviewed", {}, "wrong");
        QCOMPARE(wrong.kind, ReviewSigner::Outcome::WrongPassword);
        QCOMPARE(wrong.triesLeft, left);
    }
    const ReviewSigner::Outcome third = signer.sign(sha256, "R1", "reviewed", {}, "wrong");
    QCOMPARE(third.kind, ReviewSigner::Outcome::Locked);
    QVERIFY(third.lockedUntil > now.addSecs(review::lockSeconds - 10));
    // Even the right password waits for the lock to end.
    QCOMPARE(signer.sign(sha256, "R1", "reviewed", {}, "right").kind,
             ReviewSigner::Outcome::Locked);
    now = third.lockedUntil.addSecs(1);
    const ReviewSigner::Outcome signedNow =
        signer.sign(sha256, "R1", "reviewed", "all fine", "right");
    QCOMPARE(signedNow.kind, ReviewSigner::Outcome::Signed);
    QCOMPARE(signedNow.signature.printedName, QString("Quinn Quality"));
    QCOMPARE(kindsOf(archive, sha256).mid(kindsOf(archive, sha256).size() - 5),
             QStringList({"signature-failed:wrong password", "signature-failed:wrong password",
                          "signature-failed:wrong password", "signature-failed:locked",
                          "signature"}));
    RecordingReview review;
    QVERIFY(archive.review(sha256, &review));
    QCOMPARE(review.signatures.last().title, QString("Reviewed"));
    QCOMPARE(review.signatures.last().titleZh, QString("审核"));
    QCOMPARE(review.signatures.last().comment, QString("all fine"));
    QCOMPARE(review.signatures.last().hash, signedNow.signature.hash);
}

void TstReview::finalSignaturesNeedRevoke()
{
    Archive archive;
    QVERIFY(openAs(archive, "quality", "right"));
    ReviewSigner signer(archive);
    // Past the lock the wrong passwords above set off.
    signer.setClock([] { return QDateTime::currentDateTimeUtc().addSecs(review::lockSeconds); });
    struct Step {
        const char *meaning;
        const char *comment;
        ReviewSigner::Outcome::Kind kind;
    };
    const Step steps[] = {
        {"approved", "", ReviewSigner::Outcome::Signed},
        {"rejected", "", ReviewSigner::Outcome::Refused},
        {"revoke", "", ReviewSigner::Outcome::Refused},
        {"released", "", ReviewSigner::Outcome::Refused},
        {"revoke", "approved the wrong shipment", ReviewSigner::Outcome::Signed},
        {"rejected", "", ReviewSigner::Outcome::Signed},
    };
    for (const Step &step : steps) {
        const ReviewSigner::Outcome outcome =
            signer.sign(otherSha256, "R2", step.meaning, step.comment, "right");
        QVERIFY2(outcome.kind == step.kind, qPrintable(step.meaning + (": " + outcome.text)));
    }
    RecordingReview review;
    QVERIFY(archive.review(otherSha256, &review));
    QCOMPARE(review.standingMeaning(), QString("rejected"));
    QCOMPARE(review.signatures.size(), 3);
    // The refusals are failed attempts of the trail too.
    QCOMPARE(kindsOf(archive, otherSha256).filter("signature-failed").size(), 3);
}

void TstReview::readerSignsOnlyAllowedMeanings()
{
    Archive archive;
    QVERIFY(openAs(archive, "auditor", "audit"));
    QVERIFY(archive.actsAsReader());
    ReviewSigner signer(archive);
    QCOMPARE(signer.sign(sha256, "R1", "approved", {}, "audit").kind,
             ReviewSigner::Outcome::Refused);
    QCOMPARE(signer.sign(sha256, "R1", "reviewed", {}, "audit").kind,
             ReviewSigner::Outcome::Signed);
    // Nor can the reader write such an entry past the program.
    const QString forged = insertAs(
        tcp("auditor", "audit"),
        "INSERT INTO audit_trail (seq, time, user_name, computer, kind, sha256, details, prev,"
        " hash) VALUES (100000, '2026-12-11T08:00:00.000Z', 'auditor', 'pc', 'signature', '" +
            sha256 + "', '{\"meaning\":\"approved\"}', '', '')");
    QVERIFY2(forged.contains("a reader may not sign as approved"), qPrintable(forged));
    Archive quality;
    QVERIFY(openAs(quality, "quality", "right"));
    QVERIFY(!quality.actsAsReader());
}

void TstReview::listMarksSignedRecordings_data()
{
    QTest::addColumn<bool>("unsignedOnly");
    QTest::addColumn<QStringList>("serials");
    QTest::newRow("all") << false << QStringList{"R1", "R2"};
    QTest::newRow("not yet reviewed") << true << QStringList{};
}

// After the signatures above: R1 reviewed, R2 rejected.
void TstReview::listMarksSignedRecordings()
{
    QFETCH(bool, unsignedOnly);
    QFETCH(QStringList, serials);
    Archive archive;
    QVERIFY2(archive.open(owner), qPrintable(archive.errorText()));
    ArchiveFilter filter;
    filter.unsignedOnly = unsignedOnly;
    QStringList found;
    for (const ArchiveEntry &entry : archive.find(filter)) {
        found << entry.serial;
        QCOMPARE(entry.signedAs, QString(entry.serial == "R1" ? "reviewed" : "rejected"));
    }
    found.sort();
    QCOMPARE(found, serials);
    QCOMPARE(archive.count(filter), serials.size());
}

void TstReview::accountPasswordThroughPam()
{
    // The test's own account: no password of it is known, so a real PAM
    // stack refuses every one, and the third locks signing.
    Archive archive;
    QVERIFY2(archive.open(ArchiveLocation::local(folder.filePath("pam"))),
             qPrintable(archive.errorText()));
    const QString sha = archive.addFile(folder.filePath("a.data")).sha256;
    ReviewSigner signer(archive);
    QVERIFY(!signer.login().isEmpty());
    QVector<ReviewSigner::Outcome::Kind> kinds;
    for (int i = 0; i < 4; ++i)
        kinds << signer.sign(sha, "R1", "approved", {}, "not the password").kind;
    QCOMPARE(kinds, QVector<ReviewSigner::Outcome::Kind>(
                        {ReviewSigner::Outcome::WrongPassword, ReviewSigner::Outcome::WrongPassword,
                         ReviewSigner::Outcome::Locked, ReviewSigner::Outcome::Locked}));
    QCOMPARE(kindsOf(archive, sha).filter("signature-failed").size(), 4);
}

QTEST_GUILESS_MAIN(TstReview)
#include "tst_review.moc"
