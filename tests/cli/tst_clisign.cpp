// SPDX-License-Identifier: GPL-3.0-or-later
// hygra-cli-demo's sign and verify of digitally signed reports, run as a process.
#include "cli/cliexit.h"
#include "processrun.h"
#include "signingsupport.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace
{
const char *const fixedLogger =
    "HX20D:sn=H2SIGN0001:samples=1500:interval=1:seed=3:recording=0:start=2026-03-01T08:00:00";

using Run = testsupport::ProcessRun;
} // namespace

class TstCliSign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void signsAndVerifies_data();
    void signsAndVerifies();
    void refusesWhatCannotBeSigned_data();
    void refusesWhatCannotBeSigned();
    void asksNoPasswordWithoutATerminal();

private:
    // Runs the program with `arguments`, `input` on its standard input.
    Run run(const QStringList &arguments, const QByteArray &input = QByteArray(),
            const QString &wrapper = QString());
    QString copyOfReport(const QString &name);

    std::unique_ptr<QTemporaryDir> home;
    QTemporaryDir work;
    signingsupport::Pki pki;
    QString recording;
    QString report;
};

void TstCliSign::initTestCase()
{
    const QString missing = signingsupport::missingTool({"openssl", "pdfsig"});
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing + QStringLiteral(" is not installed")));
    home.reset(testsupport::useTemporaryHome());
    QVERIFY(QFile::exists(QStringLiteral(HYGRA_CLI_DEMO)));
    pki = signingsupport::makePki(work.path());
    QVERIFY2(pki.error.isEmpty(), qPrintable(pki.error));
    Run r = run({QStringLiteral("download"), QStringLiteral("--dir"), work.path()});
    QCOMPARE(r.exitCode, 0);
    recording = r.out.trimmed().split(QLatin1Char('\n')).last();
    report = work.filePath(QStringLiteral("report.pdf"));
    r = run({QStringLiteral("export"), recording, QStringLiteral("--pdf"), report});
    QCOMPARE(r.exitCode, 0);
}

Run TstCliSign::run(const QStringList &arguments, const QByteArray &input, const QString &wrapper)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), QString::fromLatin1(fixedLogger));
    environment.insert(QStringLiteral("HOME"), home->path());
    if (wrapper.isEmpty())
        return testsupport::runProcess(QStringLiteral(HYGRA_CLI_DEMO), arguments, input,
                                       environment);
    return testsupport::runProcess(wrapper, QStringList{QStringLiteral(HYGRA_CLI_DEMO)} + arguments,
                                   input, environment);
}

QString TstCliSign::copyOfReport(const QString &name)
{
    const QString path = work.filePath(name);
    QFile::remove(path);
    return QFile::copy(report, path) ? path : QString();
}

void TstCliSign::signsAndVerifies_data()
{
    // What is done to the signed report before verify, the --ca file, and
    // the exit code and text verify gives.
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("ca");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("text");
    QTest::newRow("as signed") << ""
                               << "" << int(ExitOk) << "digitally signed by %1 at";
    QTest::newRow("chains to its CA") << ""
                                      << "ca.pem" << int(ExitOk) << "certificate chains to";
    QTest::newRow("another CA") << ""
                                << "other.pem" << int(ExitReportAltered) << "does not chain to";
    QTest::newRow("a byte changed")
        << "flip"
        << "" << int(ExitReportAltered) << "digital signature does not hold";
    QTest::newRow("bytes appended")
        << "append"
        << "" << int(ExitReportAltered) << "appended after it was signed";
}

void TstCliSign::signsAndVerifies()
{
    QFETCH(QString, change);
    QFETCH(QString, ca);
    QFETCH(int, exitCode);
    QFETCH(QString, text);
    const QString input = copyOfReport(QStringLiteral("input.pdf"));
    const QString output = work.filePath(QStringLiteral("signed.pdf"));
    QFile::remove(output);
    Run r =
        run({QStringLiteral("sign"), input, QStringLiteral("--p12"), pki.p12,
             QStringLiteral("--out"), output, QStringLiteral("--password-fd"), QStringLiteral("0")},
            pki.password + "\nmore input\n");
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(r.out.trimmed(), output);
    QVERIFY(signingsupport::pdfsig(output).contains(QStringLiteral("Signature is Valid.")));
    // The input was left as it was.
    QVERIFY(QFile(input).size() < QFile(output).size());

    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    if (change == QLatin1String("flip")) {
        // A digit of the report's creation date in its information dictionary.
        const int at = bytes.indexOf("/CreationDate (D:");
        QVERIFY(at > 0);
        bytes[at + 20] = bytes.at(at + 20) == '1' ? '2' : '1';
    } else if (change == QLatin1String("append")) {
        bytes.append("% a line added later\n");
    }
    file.seek(0);
    file.write(bytes);
    file.close();

    QStringList verify{QStringLiteral("verify"), recording, output};
    if (!ca.isEmpty())
        verify << QStringLiteral("--ca") << work.filePath(ca);
    r = run(verify);
    QCOMPARE(r.exitCode, exitCode);
    const QString said = exitCode == ExitOk ? r.out : r.err;
    QVERIFY2(said.contains(text.replace(QLatin1String("%1"), pki.signerName)), qPrintable(said));
    if (exitCode == ExitOk)
        QVERIFY2(r.out.contains(QStringLiteral("was made from")), qPrintable(r.out));
}

void TstCliSign::refusesWhatCannotBeSigned_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("p12");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("text");
    QTest::newRow("wrong password")
        << "report.pdf"
        << "signer.p12" << QByteArray("nope") << int(ExitFileNotReadable) << "wrong password for";
    QTest::newRow("no PKCS#12 file")
        << "report.pdf"
        << "ca.pem" << QByteArray("nope") << int(ExitFileNotReadable) << "not a PKCS#12 file";
    QTest::newRow("not a PDF") << "ca.pem"
                               << "signer.p12" << QByteArray("s3cret pass")
                               << int(ExitNoFingerprint) << "is not a PDF file";
    QTest::newRow("no report") << "none.pdf"
                               << "signer.p12" << QByteArray("s3cret pass")
                               << int(ExitFileNotReadable) << "cannot read";
}

void TstCliSign::refusesWhatCannotBeSigned()
{
    QFETCH(QString, target);
    QFETCH(QString, p12);
    QFETCH(QByteArray, password);
    QFETCH(int, exitCode);
    QFETCH(QString, text);
    const QString input = target == QLatin1String("report.pdf")
                              ? copyOfReport(QStringLiteral("refused.pdf"))
                              : work.filePath(target);
    const QByteArray before = [&input] {
        QFile file(input);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const QString output = work.filePath(QStringLiteral("never.pdf"));
    const Run r =
        run({QStringLiteral("sign"), input, QStringLiteral("--p12"), work.filePath(p12),
             QStringLiteral("--out"), output, QStringLiteral("--password-fd"), QStringLiteral("0")},
            password + '\n');
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(text), qPrintable(r.err));
    QVERIFY(!QFile::exists(output));
    QFile file(input);
    if (file.open(QIODevice::ReadOnly))
        QCOMPARE(file.readAll(), before);
    if (QByteArray(QTest::currentDataTag()) == "wrong password") {
        const Run listed =
            run({QStringLiteral("audit"), QStringLiteral("list"), QStringLiteral("--kind"),
                 QStringLiteral("report-signature-failed")});
        QVERIFY2(listed.out.contains(QStringLiteral("wrong password")), qPrintable(listed.out));
    }
}

void TstCliSign::asksNoPasswordWithoutATerminal()
{
    // setsid starts the program in a session of its own, without a terminal.
    const QString setsid = QStandardPaths::findExecutable(QStringLiteral("setsid"));
    if (setsid.isEmpty())
        QSKIP("setsid is not installed");
    const QString input = copyOfReport(QStringLiteral("in-place.pdf"));
    const Run r = run({QStringLiteral("sign"), input, QStringLiteral("--p12"), pki.p12},
                      QByteArray(), setsid);
    QCOMPARE(r.exitCode, int(ExitUsage));
    QVERIFY2(r.err.contains(QStringLiteral("--password-fd")), qPrintable(r.err));

    // In place, and recorded with the signed file's fingerprint and the signer.
    const Run signedInPlace = run({QStringLiteral("sign"), input, QStringLiteral("--p12"), pki.p12,
                                   QStringLiteral("--password-fd"), QStringLiteral("0")},
                                  pki.password);
    QCOMPARE(signedInPlace.exitCode, 0);
    QVERIFY(signingsupport::pdfsig(input).contains(QStringLiteral("Signature is Valid.")));
    const Run listed = run({QStringLiteral("audit"), QStringLiteral("list"),
                            QStringLiteral("--kind"), QStringLiteral("report-signature")});
    QVERIFY2(listed.out.contains(pki.signerName), qPrintable(listed.out));
    QVERIFY2(listed.out.contains(QStringLiteral("in-place.pdf")), qPrintable(listed.out));
    QFile signedFile(input);
    QVERIFY(signedFile.open(QIODevice::ReadOnly));
    const QByteArray sha256 =
        QCryptographicHash::hash(signedFile.readAll(), QCryptographicHash::Sha256).toHex();
    QVERIFY2(listed.out.contains(QString::fromLatin1(sha256)), qPrintable(listed.out));
}

QTEST_MAIN(TstCliSign)
#include "tst_clisign.moc"
