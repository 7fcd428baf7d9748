// SPDX-License-Identifier: GPL-3.0-or-later
// Digitally signed reports: what poppler's pdfsig and qpdf say of them, and what the check finds.
#include "export/pdfreport.h"
#include "export/pdfsignature.h"
#include "exportsupport.h"
#include "signingsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestPdfSignature : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void signedReportIsValidForPdfReaders();
    void unsignedReportHasNoSignature();
    void changesAfterSigningAreFound_data();
    void changesAfterSigningAreFound();
    void chainToTheCa_data();
    void chainToTheCa();
    void secondSignatureKeepsTheFirst();
    void unusableKeyFiles_data();
    void unusableKeyFiles();
    void failedSigningLeavesTheTargetAsItWas();

private:
    QString report(const QString &name);
    QString signedReport(const QString &name);

    QTemporaryDir dir;
    signingsupport::Pki pki;
    SigningKey key;
};

void TestPdfSignature::initTestCase()
{
    const QString missing = signingsupport::missingTool({"openssl", "pdfsig", "qpdf"});
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing + QStringLiteral(" is not installed")));
    pki = signingsupport::makePki(dir.path());
    QVERIFY2(pki.error.isEmpty(), qPrintable(pki.error));
    QString error;
    QVERIFY2(loadPkcs12(pki.p12, pki.password, &key, &error), qPrintable(error));
    QCOMPARE(key.signer, pki.signerName);
}

QString TestPdfSignature::report(const QString &name)
{
    LoadedRecording recording = exporttest::recording(1200);
    recording.sha256 = QStringLiteral("ab").repeated(32);
    const QString path = dir.filePath(name);
    if (!writePdfReport(path, recording, dataPageCount(recording.samples.size()), false))
        return QString();
    return path;
}

QString TestPdfSignature::signedReport(const QString &name)
{
    const QString path = report(name);
    QString error;
    if (path.isEmpty() || !signPdf(path, path, key, &error)) {
        qWarning() << error;
        return QString();
    }
    return path;
}

void TestPdfSignature::signedReportIsValidForPdfReaders()
{
    const QString path = report(QStringLiteral("valid.pdf"));
    QVERIFY(!path.isEmpty());
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    const QString signedPath = dir.filePath(QStringLiteral("valid-signed.pdf"));
    QString error;
    const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-2);
    QVERIFY2(signPdf(path, signedPath, key, &error), qPrintable(error));

    const QString verdict = signingsupport::pdfsig(signedPath);
    QVERIFY2(verdict.contains(QStringLiteral("Signature is Valid.")), qPrintable(verdict));
    QVERIFY2(verdict.contains(pki.signerName), qPrintable(verdict));
    QVERIFY2(verdict.contains(QStringLiteral("ETSI.CAdES.detached")), qPrintable(verdict));
    const QString check = signingsupport::runTool(
        QStringLiteral("qpdf"), {QStringLiteral("--check"), signedPath}, dir.path());
    QVERIFY2(check.isEmpty(), qPrintable(check));

    // An incremental update: the report as written, then the signature, and
    // still the one metadata packet of the document.
    QFile file(signedPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QVERIFY(after.startsWith(before));
    QCOMPARE(after.count("<?xpacket begin="), 1);

    const PdfSignatureCheck result = checkPdfSignature(signedPath);
    QVERIFY(result.signedPdf);
    QVERIFY(result.intact);
    QVERIFY(result.coversWholeFile);
    QCOMPARE(result.signer, pki.signerName);
    QVERIFY2(result.problem.isEmpty(), qPrintable(result.problem));
    QVERIFY(result.signedAt >= start);
    QVERIFY(result.signedAt <= QDateTime::currentDateTimeUtc().addSecs(2));
}

void TestPdfSignature::unsignedReportHasNoSignature()
{
    const PdfSignatureCheck result = checkPdfSignature(report(QStringLiteral("plain.pdf")));
    QVERIFY(!result.signedPdf);
    QVERIFY(!result.intact);
    QVERIFY2(result.problem.isEmpty(), qPrintable(result.problem));
}

void TestPdfSignature::changesAfterSigningAreFound_data()
{
    // Where the change goes, given the signed file and the start of the
    // signature value's gap; whether pdfsig must call it invalid.
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("pdfsigSeesIt");
    QTest::newRow("a byte of the page content") << "content" << true;
    QTest::newRow("a byte of the signature value") << "value" << true;
    QTest::newRow("the signing time") << "time" << true;
    QTest::newRow("bytes appended") << "append" << false;
}

void TestPdfSignature::changesAfterSigningAreFound()
{
    QFETCH(QString, change);
    QFETCH(bool, pdfsigSeesIt);
    const QString path = signedReport(change + QStringLiteral(".pdf"));
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const int gap = bytes.lastIndexOf("/Contents<");
    QVERIFY(gap > 0);
    if (change == QLatin1String("content")) {
        // The first page's content stream, well inside the first signed range.
        const int stream = bytes.indexOf("stream\n", bytes.indexOf("/Length"));
        QVERIFY(stream > 0 && stream < gap);
        bytes[stream + 40] = char(bytes.at(stream + 40) ^ 0x01);
    } else if (change == QLatin1String("value")) {
        const int at = gap + 300;
        bytes[at] = bytes.at(at) == '1' ? '2' : '1';
    } else if (change == QLatin1String("time")) {
        const int m = bytes.lastIndexOf("/M(D:");
        QVERIFY(m > gap);
        const int year = m + 8;
        bytes[year] = bytes.at(year) == '1' ? '2' : '1';
    } else {
        bytes.append("% a line added later\n");
    }
    file.seek(0);
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();

    const PdfSignatureCheck result = checkPdfSignature(path);
    QVERIFY(result.signedPdf);
    QVERIFY(!result.intact || !result.coversWholeFile);
    QVERIFY(!result.problem.isEmpty());
    if (change == QLatin1String("append"))
        QVERIFY2(result.problem.contains(QStringLiteral("appended")), qPrintable(result.problem));
    if (pdfsigSeesIt) {
        const QString verdict = signingsupport::pdfsig(path);
        QVERIFY2(!verdict.contains(QStringLiteral("Signature is Valid.")), qPrintable(verdict));
        QVERIFY2(verdict.contains(QStringLiteral("Signature is Invalid")) ||
                     verdict.contains(QStringLiteral("Digest Mismatch")) ||
                     verdict.contains(QStringLiteral("Validation Failure")),
                 qPrintable(verdict));
    }
}

void TestPdfSignature::chainToTheCa_data()
{
    QTest::addColumn<QString>("ca");
    QTest::addColumn<bool>("chains");
    QTest::addColumn<QString>("problem");
    QTest::newRow("the issuing CA") << "ca.pem" << true << QString();
    QTest::newRow("another CA") << "other.pem" << false << "does not chain to";
    QTest::newRow("no CA file") << "missing.pem" << false << "cannot read the CA certificates";
    QTest::newRow("the signer itself is no CA") << "signer.csr" << false << "cannot read";
}

void TestPdfSignature::chainToTheCa()
{
    QFETCH(QString, ca);
    QFETCH(bool, chains);
    QFETCH(QString, problem);
    const QString path = signedReport(QStringLiteral("chain.pdf"));
    QVERIFY(!path.isEmpty());
    const PdfSignatureCheck result = checkPdfSignature(path, dir.filePath(ca));
    QVERIFY(result.intact);
    QCOMPARE(result.chainsToCa, chains);
    if (problem.isEmpty())
        QVERIFY2(result.problem.isEmpty(), qPrintable(result.problem));
    else
        QVERIFY2(result.problem.contains(problem), qPrintable(result.problem));
}

void TestPdfSignature::secondSignatureKeepsTheFirst()
{
    const QString path = signedReport(QStringLiteral("twice.pdf"));
    QVERIFY(!path.isEmpty());
    QString error;
    QVERIFY2(signPdf(path, path, key, &error), qPrintable(error));
    const QString verdict = signingsupport::pdfsig(path);
    QCOMPARE(verdict.count(QStringLiteral("Signature is Valid.")), 2);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("(Signature1)"));
    QVERIFY(bytes.contains("(Signature2)"));
    const PdfSignatureCheck result = checkPdfSignature(path);
    QVERIFY(result.intact);
    QVERIFY(result.coversWholeFile);
}

void TestPdfSignature::unusableKeyFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QString>("error");
    QTest::newRow("wrong password")
        << "signer.p12" << QByteArray("s3cret") << "wrong password for %1 or not a PKCS#12 file";
    QTest::newRow("empty password")
        << "signer.p12" << QByteArray() << "wrong password for %1 or not a PKCS#12 file";
    QTest::newRow("a certificate, no PKCS#12")
        << "ca.pem" << QByteArray("s3cret pass") << "wrong password for %1 or not a PKCS#12 file";
    QTest::newRow("no such file") << "none.p12" << QByteArray("x") << "cannot read %1";
}

void TestPdfSignature::unusableKeyFiles()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, password);
    QFETCH(QString, error);
    SigningKey loaded;
    QString why;
    QVERIFY(!loadPkcs12(dir.filePath(file), password, &loaded, &why));
    QVERIFY(loaded.isNull());
    QCOMPARE(why, error.arg(dir.filePath(file)));
}

void TestPdfSignature::failedSigningLeavesTheTargetAsItWas()
{
    // No PDF to update, and a target in a folder that does not exist.
    const QString source = report(QStringLiteral("source.pdf"));
    const QString notPdf = dir.filePath(QStringLiteral("ca.pem"));
    const QString target = dir.filePath(QStringLiteral("kept.pdf"));
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("earlier file");
    kept.close();
    const QStringList files = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    QString error;
    QVERIFY(!signPdf(notPdf, target, key, &error));
    QVERIFY2(error.contains(QStringLiteral("is not a PDF file")), qPrintable(error));
    QVERIFY(!signPdf(target, target, SigningKey(), &error));
    QCOMPARE(error, QStringLiteral("no signing key"));
    QVERIFY(!signPdf(source, dir.filePath(QStringLiteral("no/such/folder.pdf")), key, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("earlier file"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), files);
}

QTEST_MAIN(TestPdfSignature)
#include "tst_pdfsignature.moc"
