// SPDX-License-Identifier: GPL-3.0-or-later
// The audit trail's CSV and PDF exports read back, and the trail's head on reports and workbooks.
#include "export/audittrailexport.h"
#include "export/pdfreport.h"
#include "export/reportmetadata.h"
#include "export/xlsxworkbookwriter.h"
#include "exportsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace
{

const QString hashA = QString(64, QLatin1Char('a'));

AuditEntry entry(qint64 seq, const QString &kind, const QJsonObject &details,
                 const QString &reason = QString())
{
    AuditEntry e;
    e.seq = seq;
    e.time = QStringLiteral("2026-03-0%1T08:15:00.250Z").arg(1 + seq % 9);
    e.user = seq % 2 ? QStringLiteral("wang (王伟)") : QStringLiteral("anna");
    e.computer = QStringLiteral("lab-pc");
    e.kind = kind;
    e.sha256 = seq % 3 ? QStringLiteral("%1").arg(seq, 64, 10, QLatin1Char('5')) : QString();
    e.serial = QStringLiteral("SN%1").arg(seq);
    e.details = details;
    e.reason = reason;
    e.prev = QString(64, QLatin1Char('0'));
    e.hash = QStringLiteral("%1").arg(seq, 64, 10, QLatin1Char('f'));
    return e;
}

QVector<AuditEntry> sampleTrail()
{
    return {entry(1, QStringLiteral("download"),
                  {{QStringLiteral("file"), QStringLiteral("C:\\data\\a,b.data")},
                   {QStringLiteral("samples"), 576}}),
            entry(2, QStringLiteral("config-write"),
                  {{QStringLiteral("changes"),
                    QJsonObject{{QStringLiteral("th1.alertValue"),
                                 QJsonObject{{QStringLiteral("old"), 3000},
                                             {QStringLiteral("new"), 2500}}}}},
                   {QStringLiteral("erasedRecording"), true}},
                  QStringLiteral("new \"limits\", per SOP\nline two")),
            entry(3, QStringLiteral("check"),
                  {{QStringLiteral("problems"), QJsonArray{}},
                   {QStringLiteral("note"), QJsonValue::Null}},
                  QStringLiteral("月度检查"))};
}

// The cells of a CSV text, quoted cells with doubled quotes and line breaks.
QVector<QStringList> parseCsv(const QString &text)
{
    QVector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                cell += text.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n')) {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    return rows;
}

// Without white space, compatibility forms folded: the PDF's text layer names
// some Chinese characters by a radical's code point.
QString squeezed(const QString &text)
{
    QString out = text.normalized(QString::NormalizationForm_KC);
    out.replace(QChar(0x2ED3), QStringLiteral("长"));
    out.replace(QChar(0x2EDA), QStringLiteral("页"));
    out.remove(QRegularExpression(QStringLiteral("\\s")));
    return out;
}

} // namespace

class TestAuditTrailExport : public QObject
{
    Q_OBJECT

private slots:
    void fingerprintIsTheHashOfTheListedLines();
    void csvHoldsEveryEntryAndItsFingerprint();
    void details_data();
    void details();
    void pdfHoldsEveryEntryAndTheVerdict();
    void reportNamesTheHeadOnlyWhenGiven_data();
    void reportNamesTheHeadOnlyWhenGiven();
    void workbookNamesTheHeadOnlyWhenGiven_data();
    void workbookNamesTheHeadOnlyWhenGiven();

private:
    QTemporaryDir dir;
};

void TestAuditTrailExport::fingerprintIsTheHashOfTheListedLines()
{
    const QVector<AuditEntry> trail = sampleTrail();
    // The lines as `audit list` prints them, hashed at once.
    QByteArray listed;
    for (const AuditEntry &e : trail)
        listed += audit::canonicalJson(audit::toJson(e)) + '\n';
    QCOMPARE(
        audittrailexport::fingerprint(trail),
        QString::fromLatin1(QCryptographicHash::hash(listed, QCryptographicHash::Sha256).toHex()));
    QCOMPARE(audittrailexport::fingerprint({}),
             QStringLiteral("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
    // Every field counts, the order too.
    QVector<AuditEntry> changed = trail;
    changed[1].reason += QLatin1Char('.');
    QVERIFY(audittrailexport::fingerprint(changed) != audittrailexport::fingerprint(trail));
    QVector<AuditEntry> swapped = {trail.at(1), trail.at(0), trail.at(2)};
    QVERIFY(audittrailexport::fingerprint(swapped) != audittrailexport::fingerprint(trail));
}

void TestAuditTrailExport::csvHoldsEveryEntryAndItsFingerprint()
{
    AuditTrailExport trail;
    trail.entries = sampleTrail();
    trail.verification = QStringLiteral("Verified: 3 entries, the chain is whole");
    const QString path = dir.filePath(QStringLiteral("trail.csv"));
    QString error;
    QVERIFY2(audittrailexport::writeCsv(path, trail, &error), qPrintable(error));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QVector<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(rows.size(), 1 + trail.entries.size() + 2);
    QCOMPARE(rows.first(), audittrailexport::csvColumns());
    QCOMPARE(rows.first().size(), 11);

    QByteArray listed;
    for (int i = 0; i < trail.entries.size(); ++i) {
        const AuditEntry &e = trail.entries.at(i);
        const QStringList &cells = rows.at(1 + i);
        QCOMPARE(cells,
                 (QStringList{QString::number(e.seq), e.time, e.user, e.computer, e.kind, e.sha256,
                              e.serial, QString::fromUtf8(audit::canonicalJson(e.details)),
                              e.reason, e.prev, e.hash}));
        // The entry rebuilt from its cells alone, as a reader of the file would.
        QJsonObject rebuilt{
            {QStringLiteral("seq"), cells.at(0).toLongLong()},
            {QStringLiteral("time"), cells.at(1)},
            {QStringLiteral("user"), cells.at(2)},
            {QStringLiteral("computer"), cells.at(3)},
            {QStringLiteral("kind"), cells.at(4)},
            {QStringLiteral("sha256"),
             cells.at(5).isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(cells.at(5))},
            {QStringLiteral("serial"), cells.at(6)},
            {QStringLiteral("details"), QJsonDocument::fromJson(cells.at(7).toUtf8()).object()},
            {QStringLiteral("reason"),
             cells.at(8).isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(cells.at(8))},
            {QStringLiteral("prev"), cells.at(9)},
            {QStringLiteral("hash"), cells.at(10)}};
        listed += audit::canonicalJson(rebuilt) + '\n';
    }
    QCOMPARE(rows.at(rows.size() - 2), QStringList{trail.verification});
    const QString fingerprint =
        QString::fromLatin1(QCryptographicHash::hash(listed, QCryptographicHash::Sha256).toHex());
    QVERIFY2(rows.last().constFirst().endsWith(fingerprint), qPrintable(rows.last().join('|')));
}

void TestAuditTrailExport::details_data()
{
    QTest::addColumn<QJsonObject>("details");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QJsonObject() << QString();
    QTest::newRow("sorted keys") << QJsonObject{{QStringLiteral("b"), 2},
                                                {QStringLiteral("a"), QStringLiteral("x")}}
                                 << QStringLiteral("a: x; b: 2");
    QTest::newRow("change") << QJsonObject{{QStringLiteral("changes"),
                                            QJsonObject{
                                                {QStringLiteral("th1.alertValue"),
                                                 QJsonObject{{QStringLiteral("old"), 3000},
                                                             {QStringLiteral("new"), 2500}}}}}}
                            << QStringLiteral("changes: (th1.alertValue: 3000 → 2500)");
    QTest::newRow("top-level change") << QJsonObject{{QStringLiteral("old"), QStringLiteral("a")},
                                                     {QStringLiteral("new"), QStringLiteral("b")}}
                                      << QStringLiteral("a → b");
    QTest::newRow("null and booleans") << QJsonObject{{QStringLiteral("n"), QJsonValue::Null},
                                                      {QStringLiteral("y"), true},
                                                      {QStringLiteral("z"), false}}
                                       << QStringLiteral("n: —; y: 是; z: 否");
    QTest::newRow("array of objects")
        << QJsonObject{{QStringLiteral("problems"),
                        QJsonArray{QJsonObject{{QStringLiteral("path"), QStringLiteral("p")},
                                               {QStringLiteral("reason"), QStringLiteral("gone")}},
                                   7}}}
        << QStringLiteral("problems: [(path: p, reason: gone), 7]");
    QTest::newRow("large integer") << QJsonObject{{QStringLiteral("t"), qint64(1700000000123)}}
                                   << QStringLiteral("t: 1700000000123");
}

void TestAuditTrailExport::details()
{
    QFETCH(QJsonObject, details);
    QFETCH(QString, text);
    QCOMPARE(AuditTrailTexts::detailsText(details), text);
}

void TestAuditTrailExport::pdfHoldsEveryEntryAndTheVerdict()
{
    AuditTrailExport trail;
    // Enough rows, some of several lines, for more than one page.
    for (int seq = 1; seq <= 90; ++seq)
        trail.entries.append(
            entry(seq, QStringLiteral("config-write"), sampleTrail().at(1).details,
                  seq % 4 ? QString() : QStringLiteral("长的原因 ") + QString(60, 'r')));
    trail.filter = QStringLiteral("serial SN");
    trail.verification =
        QStringLiteral("Verified: 90 entries, the chain is whole; latest entry 90");
    trail.head = {90, hashA};
    const QString path = dir.filePath(QStringLiteral("trail.pdf"));
    QString error;
    QVERIFY2(audittrailexport::writePdf(path, trail, false, &error), qPrintable(error));

    const QStringList pages = exporttest::pdfPages(path);
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    const QString all = pages.join(QLatin1Char('\n'));
    QSet<QString> words;
    for (const QString &word : all.split(QRegularExpression(QStringLiteral("\\s+"))))
        words.insert(word);
    for (const AuditEntry &e : qAsConst(trail.entries))
        QVERIFY2(words.contains(QString::number(e.seq)), qPrintable(QString::number(e.seq)));
    QVERIFY(all.contains(QStringLiteral("王伟")));
    QVERIFY(all.contains(QStringLiteral("serial SN")));
    const QString last = squeezed(pages.last());
    QVERIFY(last.contains(squeezed(trail.verification)));
    QVERIFY(last.contains(audittrailexport::fingerprint(trail.entries)));
    QVERIFY(last.contains(hashA));
    QVERIFY(!squeezed(pages.first()).contains(audittrailexport::fingerprint(trail.entries)));
    QVERIFY(squeezed(pages.first())
                .contains(squeezed(QStringLiteral("第 1 页，共 %1 页").arg(pages.size()))));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("<hygra:auditExportSha256>" +
                           audittrailexport::fingerprint(trail.entries).toLatin1() + "<"));
    QVERIFY(bytes.contains("<hygra:auditEntry>90<"));
}

void TestAuditTrailExport::reportNamesTheHeadOnlyWhenGiven_data()
{
    QTest::addColumn<qint64>("seq");
    QTest::newRow("none") << qint64(0);
    QTest::newRow("entry 7") << qint64(7);
}

void TestAuditTrailExport::reportNamesTheHeadOnlyWhenGiven()
{
    QFETCH(qint64, seq);
    LoadedRecording recording = exporttest::recording(40);
    recording.sha256 = QString(64, QLatin1Char('c'));
    const QString path = dir.filePath(QStringLiteral("report%1.pdf").arg(seq));
    QVERIFY(writePdfReport(path, recording, 1, false, nullptr, {seq, hashA}));
    // With HYGRA_SHOT_DIR set, the report is kept there to be looked at.
    const QString shots = qEnvironmentVariable("HYGRA_SHOT_DIR");
    if (!shots.isEmpty())
        QFile::copy(path, shots + QStringLiteral("/report-audit-head-%1.pdf").arg(seq));

    const QString first = squeezed(exporttest::pdfPages(path).first());
    const QString head = squeezed(AuditTrailTexts::headText({seq, hashA}));
    QCOMPARE(first.contains(squeezed(QStringLiteral("审计追踪"))), seq > 0);
    QVERIFY(first.contains(head));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<ReportMetadata> metadata = ReportMetadata::fromPdf(file.readAll());
    QVERIFY(metadata);
    QCOMPARE(metadata->auditEntry, seq > 0 ? QString::number(seq) : QString());
    QCOMPARE(metadata->auditHash, seq > 0 ? hashA : QString());
    // The recording is described as before.
    QVERIFY(*metadata == ReportMetadata::of(recording));
}

void TestAuditTrailExport::workbookNamesTheHeadOnlyWhenGiven_data()
{
    reportNamesTheHeadOnlyWhenGiven_data();
}

void TestAuditTrailExport::workbookNamesTheHeadOnlyWhenGiven()
{
    QFETCH(qint64, seq);
    const QString path = dir.filePath(QStringLiteral("workbook%1.xlsx").arg(seq));
    QVERIFY(writeXlsxWorkbook(path, exporttest::recording(40), false, nullptr, {seq, hashA}));
    const QString summary = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path,
                                                      QStringLiteral("xl/worksheets/sheet2.xml")}));
    QVERIFY(!summary.isEmpty());
    QCOMPARE(summary.contains(QStringLiteral("审计追踪")), seq > 0);
    QCOMPARE(summary.contains(hashA), seq > 0);
}

QTEST_MAIN(TestAuditTrailExport)
#include "tst_audittrailexport.moc"
