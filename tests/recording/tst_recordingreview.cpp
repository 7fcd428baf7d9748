// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's review read from trail entries: which signature may follow which, and when
// wrong passwords lock signing.
#include "recording/recordingreview.h"

#include <QtTest>

Q_DECLARE_METATYPE(AuditEntry)

namespace
{
const QString sha = QString(64, u'a');
const QDateTime t0(QDate(2026, 12, 11), QTime(8, 0), Qt::UTC);

AuditEntry signature(const QString &meaning, int minute = 0, const QString &login = "alice")
{
    AuditEntry entry = review::signatureEntry(sha, "H1", {0, {}, {}, login, "Alice", meaning,
                                                          {}, {}, {}});
    entry.time = audit::timeText(t0.addSecs(60 * minute));
    entry.user = login;
    return entry;
}

AuditEntry failure(const QString &error, int second, const QString &login = "alice")
{
    AuditEntry entry = audit::failed("signature", error, {{"login", login}});
    entry.sha256 = sha;
    entry.time = audit::timeText(t0.addSecs(second));
    return entry;
}

RecordingReview reviewOf(const QStringList &meanings)
{
    QVector<AuditEntry> entries;
    for (const QString &meaning : meanings)
        entries << signature(meaning);
    return RecordingReview::fromTrail(sha, entries);
}
} // namespace

class TstRecordingReview : public QObject
{
    Q_OBJECT

private slots:
    void followingSignatures_data();
    void followingSignatures();
    void lockAfterWrongPasswords_data();
    void lockAfterWrongPasswords();
    void onlyTheRecordingsOwnEntries();
};

void TstRecordingReview::followingSignatures_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("first review") << QStringList{} << "reviewed" << true;
    QTest::newRow("approve after review") << QStringList{"reviewed"} << "approved" << true;
    QTest::newRow("reject an approved one") << QStringList{"approved"} << "rejected" << false;
    QTest::newRow("review an approved one") << QStringList{"approved"} << "reviewed" << false;
    QTest::newRow("approve again") << QStringList{"approved"} << "approved" << true;
    QTest::newRow("revoke, then reject") << QStringList{"approved", "revoke"} << "rejected" << true;
    QTest::newRow("revoke what stands") << QStringList{"rejected"} << "revoke" << true;
    QTest::newRow("revoke nothing") << QStringList{"reviewed"} << "revoke" << false;
    QTest::newRow("revoke twice") << QStringList{"approved", "revoke"} << "revoke" << false;
    QTest::newRow("approved after a later review stands")
        << QStringList{"approved", "approved"} << "rejected" << false;
}

void TstRecordingReview::followingSignatures()
{
    QFETCH(QStringList, before);
    QFETCH(QString, meaning);
    QFETCH(bool, allowed);
    const QString why = review::refusal(reviewOf(before), meaning, {"approved", "rejected"});
    QVERIFY2(why.isEmpty() == allowed, qPrintable(why));
}

void TstRecordingReview::lockAfterWrongPasswords_data()
{
    const QString wrong = review::wrongPassword;
    QTest::addColumn<QVector<AuditEntry>>("entries");
    QTest::addColumn<int>("nowSecond");
    QTest::addColumn<int>("lockedUntilSecond"); // -1: not locked

    QTest::newRow("two wrong") << QVector<AuditEntry>{failure(wrong, 0), failure(wrong, 1)} << 2
                               << -1;
    QTest::newRow("three wrong lock from the third")
        << QVector<AuditEntry>{failure(wrong, 0), failure(wrong, 1), failure(wrong, 2)} << 3
        << 2 + review::lockSeconds;
    QTest::newRow("the lock ends")
        << QVector<AuditEntry>{failure(wrong, 0), failure(wrong, 1), failure(wrong, 2)}
        << 2 + review::lockSeconds << -1;
    QTest::newRow("a signature ends the row")
        << QVector<AuditEntry>{failure(wrong, 0), failure(wrong, 1), signature("reviewed", 0),
                               failure(wrong, 3)}
        << 4 << -1;
    QTest::newRow("other failures do not count")
        << QVector<AuditEntry>{failure(wrong, 0), failure("PAM failed", 1), failure(wrong, 2)}
        << 3 << -1;
    QTest::newRow("attempts while locked do not extend it")
        << QVector<AuditEntry>{failure(wrong, 0), failure(wrong, 1), failure(wrong, 2),
                               failure(wrong, 100), failure(wrong, 101), failure(wrong, 102)}
        << 200 << 2 + review::lockSeconds;
    QTest::newRow("three more after the lock lock again")
        << QVector<AuditEntry>{failure(wrong, 0), failure(wrong, 1), failure(wrong, 2),
                               failure(wrong, 400), failure(wrong, 401), failure(wrong, 402)}
        << 403 << 402 + review::lockSeconds;
    QTest::newRow("another login's failures")
        << QVector<AuditEntry>{failure(wrong, 0, "bob"), failure(wrong, 1, "bob"),
                               failure(wrong, 2, "bob")}
        << 3 << -1;
}

void TstRecordingReview::lockAfterWrongPasswords()
{
    QFETCH(QVector<AuditEntry>, entries);
    QFETCH(int, nowSecond);
    QFETCH(int, lockedUntilSecond);
    const QDateTime until = review::lockedUntil(entries, "alice", t0.addSecs(nowSecond));
    QCOMPARE(until.isValid() ? int(t0.secsTo(until)) : -1, lockedUntilSecond);
}

void TstRecordingReview::onlyTheRecordingsOwnEntries()
{
    AuditEntry other = signature("approved");
    other.sha256 = QString(64, u'b');
    AuditEntry comment = audit::event("comment", {{"excursion", "2026-12-09T08:00:00"},
                                                  {"reason", "door left open"},
                                                  {"action", QJsonValue::Null}});
    comment.sha256 = sha;
    comment.user = "alice (Alice Meier)";
    const RecordingReview review =
        RecordingReview::fromTrail(sha, {other, comment, signature("reviewed"),
                                         audit::event("export")});
    QCOMPARE(review.signatures.size(), 1);
    QCOMPARE(review.signatures.first().meaning, QString("reviewed"));
    QCOMPARE(review.comments.size(), 1);
    QCOMPARE(review.comments.first().user, QString("alice"));
    QCOMPARE(review.comments.first().excursion, QString("2026-12-09T08:00:00"));
    QVERIFY(review.comments.first().action.isEmpty());
}

QTEST_GUILESS_MAIN(TstRecordingReview)
#include "tst_recordingreview.moc"
