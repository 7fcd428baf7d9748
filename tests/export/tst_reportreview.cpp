// SPDX-License-Identifier: GPL-3.0-or-later
// Comments and signatures in the PDF reports: what a reader finds on the pages, and their texts.
#include "export/comparisonreport.h"
#include "export/pdfreport.h"
#include "export/reportmetadata.h"
#include "export/reportreview.h"
#include "export/reviewtexts.h"
#include "exportsupport.h"

#include <QFile>
#include <QFontMetricsF>
#include <QtTest>
#include <ctime>

Q_DECLARE_METATYPE(QVector<ReviewSignature>)
Q_DECLARE_METATYPE(QVector<ReviewComment>)

namespace
{

const QString fingerprint =
    QStringLiteral("9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08");

void setZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

// The PDF's text page by page, compatibility forms folded as the report's
// text layer names some Chinese glyphs by their radicals.
QStringList pageTexts(const QString &path)
{
    QStringList pages;
    for (const QString &page : exporttest::pdfPages(path)) {
        QString folded = page.normalized(QString::NormalizationForm_KC);
        folded.replace(QChar(0x2ED3), QStringLiteral("长"));
        folded.replace(QChar(0x2EDA), QStringLiteral("页"));
        folded.replace(QChar(0x2ED4), QStringLiteral("门"));
        folded.replace(QChar(0x2EC5), QStringLiteral("见"));
        pages.append(folded);
    }
    return pages;
}

QString kc(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

QString withoutSpaces(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

} // namespace

class TestReportReview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void reportShowsTheReview_data();
    void reportShowsTheReview();
    void comparisonShowsEachRecordingsSignatures();
    void timeText_data();
    void timeText();
    void meaningText_data();
    void meaningText();
    void wrap_data();
    void wrap();

private:
    QTemporaryDir dir;
    int written = 0;
};

void TestReportReview::initTestCase()
{
    setZone("Europe/Berlin");
}

void TestReportReview::reportShowsTheReview_data()
{
    using exporttest::comment;
    using exporttest::signature;
    QTest::addColumn<QVector<ReviewSignature>>("signatures");
    QTest::addColumn<QVector<ReviewComment>>("comments");
    QTest::addColumn<bool>("foreign");
    QTest::addColumn<QStringList>("firstPage");
    QTest::addColumn<QStringList>("notOnFirstPage");
    // Texts of page 2, the review page; empty when there is none.
    QTest::addColumn<QStringList>("reviewPage");
    QTest::addColumn<int>("pages");

    const QVector<ReviewSignature> twoSignatures = {
        signature(5, QStringLiteral("zhangsan"), QStringLiteral("张三"), QStringLiteral("reviewed"),
                  QStringLiteral("数据已核对")),
        signature(6, QStringLiteral("lisi"), QStringLiteral("李四"), QStringLiteral("approved"))};
    const QVector<ReviewComment> excursionAndNote = {
        comment(3, QStringLiteral("wangwu"), QStringLiteral("2023-11-30T17:00:00"),
                QStringLiteral("门未关"), QStringLiteral("已培训")),
        comment(4, QStringLiteral("zhangsan"), QString(), QString(), QString(),
                QStringLiteral("运输途中"))};
    QTest::newRow("signatures and comments fit on the first page")
        << twoSignatures << excursionAndNote << false
        << QStringList{"签名", "张三", "zhangsan", "2026-12-11 09:05:03 +01:00", "审核",
                       "数据已核对", "李四", "lisi", "批准", "2026-12-10 16:03:00 +01:00", "wangwu",
                       "2023/11/30 17:00:00", "原因：门未关; 纠正措施：已培训", "备注：运输途中",
                       // The logger's own note stays where it is.
                       "冷库备注", "平均动力学温度"}
        << QStringList{"审核记录", "见第"} << QStringList() << 3;

    ReviewSignature owners =
        signature(7, QStringLiteral("qa"), QStringLiteral("质量部"), QStringLiteral("qa-release"));
    owners.title = QStringLiteral("Released");
    owners.titleZh = QStringLiteral("放行");
    ReviewSignature englishOnly =
        signature(8, QStringLiteral("ops"), QStringLiteral("运营"), QStringLiteral("ops-check"));
    englishOnly.title = QStringLiteral("Checked");
    QTest::newRow("owners' titles, a revoke and a raw meaning")
        << QVector<ReviewSignature>{owners, englishOnly,
                                    signature(9, QStringLiteral("qa"), QStringLiteral("质量部"),
                                              QStringLiteral("revoke"), QStringLiteral("签错记录"))}
        << QVector<ReviewComment>{comment(11, QStringLiteral("qa"), QString(),
                                          QStringLiteral("整体偏高"), QString())}
        << false << QStringList{"放行", "Checked", "撤销", "签错记录", "整个记录", "原因：整体偏高"}
        << QStringList{"qa-release", "审核记录"} << QStringList() << 3;

    QTest::newRow("a review of another file is not printed")
        << twoSignatures << excursionAndNote << true << QStringList{"平均动力学温度"}
        << QStringList{"张三", "zhangsan", "李四", "wangwu", "运输途中", "签名"} << QStringList()
        << 3;

    QVector<ReviewSignature> five;
    for (int i = 1; i <= 5; ++i)
        five << signature(20 + i, QStringLiteral("user%1").arg(i), QStringLiteral("用户%1").arg(i),
                          QStringLiteral("reviewed"));
    QTest::newRow("five signatures: two and a pointer, all on page 2")
        << five << QVector<ReviewComment>() << false
        << QStringList{"user1", "user2", "… 另有 3 条，见第 2 页"}
        << QStringList{"user3", "user5", "审核记录"}
        << QStringList{"审核记录", "签名",  "登录名", "user1",     "user2",
                       "user3",    "user4", "user5",  "SN20230001"}
        << 4;

    const QString longReason = QStringLiteral("冷库门在装货期间保持开启").repeated(6);
    QTest::newRow("a long reason: in full on page 2")
        << QVector<ReviewSignature>{twoSignatures.first()}
        << QVector<ReviewComment>{comment(12, QStringLiteral("wangwu"), QString(), longReason,
                                          QStringLiteral("加装门帘"))}
        << false << QStringList{"张三", "wangwu", "… 全文见第 2 页"} << QStringList{"加装门帘"}
        << QStringList{"评论", "作者", "wangwu", "原因：" + longReason, "纠正措施：加装门帘"} << 4;
}

void TestReportReview::reportShowsTheReview()
{
    QFETCH(QVector<ReviewSignature>, signatures);
    QFETCH(QVector<ReviewComment>, comments);
    QFETCH(bool, foreign);
    QFETCH(QStringList, firstPage);
    QFETCH(QStringList, notOnFirstPage);
    QFETCH(QStringList, reviewPage);
    QFETCH(int, pages);

    LoadedRecording r = exporttest::recording(600);
    r.sha256 = fingerprint;
    r.review.sha256 = foreign ? QString(fingerprint).replace(0, 1, QLatin1Char('0')) : fingerprint;
    r.review.signatures = signatures;
    r.review.comments = comments;
    const QString path = dir.filePath(QStringLiteral("review%1.pdf").arg(++written));
    QVERIFY(writePdfReport(path, r, dataPageCount(r.samples.size()), false));

    const QStringList texts = pageTexts(path);
    QCOMPARE(texts.size(), pages);
    for (const QString &expected : firstPage)
        QVERIFY2(texts.first().contains(kc(expected)), qPrintable(expected));
    for (const QString &unexpected : notOnFirstPage)
        QVERIFY2(!texts.first().contains(kc(unexpected)), qPrintable(unexpected));
    // The review page's texts may wrap; compared without the spaces and line breaks.
    for (const QString &expected : reviewPage)
        QVERIFY2(withoutSpaces(texts.at(1)).contains(withoutSpaces(kc(expected))),
                 qPrintable(expected));
    if (reviewPage.isEmpty())
        QVERIFY(!texts.at(1).contains(QStringLiteral("审核记录")));
    // The data pages follow, numbered on.
    QVERIFY(texts.last().contains(kc(QStringLiteral("第 %1 页，共 %1 页").arg(pages))));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<ReportMetadata> m = ReportMetadata::fromPdf(file.readAll());
    QVERIFY(m);
    QCOMPARE(m->signatures.size(), foreign ? 0 : signatures.size());
    if (!foreign) {
        QCOMPARE(m->signatures.last().login, signatures.last().login);
        QCOMPARE(m->signatures.last().hash, signatures.last().hash);
    }
}

void TestReportReview::comparisonShowsEachRecordingsSignatures()
{
    ComparedRecording signedOne;
    signedOne.label = QStringLiteral("冷库 A");
    signedOne.loaded = exporttest::recording(600);
    signedOne.loaded.sha256 = fingerprint;
    signedOne.loaded.review.sha256 = fingerprint;
    signedOne.loaded.review.signatures = {exporttest::signature(
        5, QStringLiteral("zhangsan"), QStringLiteral("张三"), QStringLiteral("approved"))};
    ComparedRecording foreign = signedOne;
    foreign.label = QStringLiteral("冷库 B");
    foreign.loaded.sha256 = QString(fingerprint).replace(0, 1, QLatin1Char('0'));
    foreign.loaded.review.signatures = {exporttest::signature(
        6, QStringLiteral("lisi"), QStringLiteral("李四"), QStringLiteral("approved"))};
    ComparedRecording unsignedOne = signedOne;
    unsignedOne.label = QStringLiteral("冷库 C");
    unsignedOne.loaded.review = {};

    // Eight recordings fill the statistics table; the signatures then go on.
    QVector<ComparedRecording> all = {foreign, unsignedOne};
    for (int i = 0; i < 6; ++i)
        all << signedOne;
    const QString path = dir.filePath(QStringLiteral("comparison.pdf"));
    QVERIFY(ComparisonReport::write(path, all, false));
    const QString text = withoutSpaces(pageTexts(path).join(QString()));
    QCOMPARE(text.count(QStringLiteral("张三zhangsan2026-12-1109:05:03+01:00批准")), 6);
    QVERIFY(!text.contains(QStringLiteral("lisi")));
    // In the legend, and above its signatures.
    QCOMPARE(text.count(withoutSpaces(kc(QStringLiteral("冷库 A（序列号 SN20230001）")))), 12);
    QCOMPARE(text.count(withoutSpaces(kc(QStringLiteral("冷库 C（序列号 SN20230001）")))), 1);
}

void TestReportReview::timeText_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("utc");
    QTest::addColumn<QString>("expected");
    QTest::newRow("winter, an hour east")
        << QByteArray("Europe/Berlin") << "2026-12-11T08:14:03.000Z"
        << "2026-12-11 09:14:03 +01:00";
    QTest::newRow("summer time") << QByteArray("Europe/Berlin") << "2026-07-01T08:14:03.250Z"
                                 << "2026-07-01 10:14:03 +02:00";
    QTest::newRow("west of UTC, the day before")
        << QByteArray("America/New_York") << "2026-12-11T03:00:00.000Z"
        << "2026-12-10 22:00:00 -05:00";
    QTest::newRow("half an hour") << QByteArray("Asia/Kolkata") << "2026-12-11T08:00:00.000Z"
                                  << "2026-12-11 13:30:00 +05:30";
    QTest::newRow("UTC") << QByteArray("UTC") << "2026-12-11T08:00:00.000Z"
                         << "2026-12-11 08:00:00 +00:00";
    QTest::newRow("not a time: as given") << QByteArray("UTC") << "yesterday"
                                          << "yesterday";
}

void TestReportReview::timeText()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, utc);
    QFETCH(QString, expected);
    setZone(zone.constData());
    const QString text = ReviewTexts::timeText(utc);
    setZone("Europe/Berlin");
    QCOMPARE(text, expected);
}

void TestReportReview::meaningText_data()
{
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("titleZh");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("expected");
    QTest::newRow("reviewed") << "reviewed"
                              << ""
                              << "" << false << "审核";
    QTest::newRow("approved") << "approved"
                              << ""
                              << "" << false << "批准";
    QTest::newRow("rejected") << "rejected"
                              << ""
                              << "" << false << "拒绝";
    QTest::newRow("revoke") << "revoke"
                            << ""
                            << "" << false << "撤销";
    QTest::newRow("owner's, Chinese") << "release"
                                      << "Released"
                                      << "放行" << false << "放行";
    QTest::newRow("owner's, English") << "release"
                                      << "Released"
                                      << "放行" << true << "Released";
    QTest::newRow("only the other language's") << "release"
                                               << ""
                                               << "放行" << true << "放行";
    QTest::newRow("an owner's title over a built-in one") << "approved"
                                                          << ""
                                                          << "终审" << false << "终审";
    QTest::newRow("unknown, untitled: as stored") << "qa-2"
                                                  << ""
                                                  << "" << false << "qa-2";
}

void TestReportReview::meaningText()
{
    QFETCH(QString, meaning);
    QFETCH(QString, title);
    QFETCH(QString, titleZh);
    QFETCH(bool, english);
    QFETCH(QString, expected);
    ReviewSignature s;
    s.meaning = meaning;
    s.title = title;
    s.titleZh = titleZh;
    QCOMPARE(ReviewTexts::meaningText(s, english), expected);
}

void TestReportReview::wrap_data()
{
    QTest::addColumn<QString>("text");
    // The width is that of this text; 1 when it is empty.
    QTest::addColumn<QString>("widthOf");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("fits whole") << "alpha beta"
                                << "alpha beta" << QStringList{"alpha beta"};
    QTest::newRow("at the last space that fits")
        << "alpha beta gamma"
        << "alpha beta g" << QStringList{"alpha beta", "gamma"};
    QTest::newRow("a word longer than the line") << "abcdefgh"
                                                 << "abcd" << QStringList{"abcd", "efgh"};
    QTest::newRow("Chinese between characters") << "温度超出上限"
                                                << "温度超" << QStringList{"温度超", "出上限"};
    QTest::newRow("paragraphs") << "原因\n措施"
                                << "原因措施" << QStringList{"原因", "措施"};
    QTest::newRow("empty") << ""
                           << "abc" << QStringList{""};
    QTest::newRow("narrower than a character: one a line") << "abc"
                                                           << "" << QStringList{"a", "b", "c"};
    QTest::newRow("a surrogate pair stays whole")
        << QString::fromUtf8("a\xF0\x9F\x98\x80"
                             "b")
        << "" << QStringList{"a", QString::fromUtf8("\xF0\x9F\x98\x80"), "b"};
}

void TestReportReview::wrap()
{
    QFETCH(QString, text);
    QFETCH(QString, widthOf);
    QFETCH(QStringList, expected);
    QFont font;
    font.setPixelSize(10);
    const QFontMetricsF metrics(font);
    const int width = widthOf.isEmpty() ? 1 : int(std::ceil(metrics.horizontalAdvance(widthOf)));
    QCOMPARE(ReportReview::wrap(text, font, width), expected);
}

QTEST_MAIN(TestReportReview)
#include "tst_reportreview.moc"
