// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's review from the command line, as a throwaway account whose password PAM
// checks: comments, a refused and a made signature, and both on the report, the workbook
// and in `signatures`; a report keeps to its own recording's signatures.
#include "cli/cliexit.h"
#include "processrun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace
{
const QString password = QStringLiteral("Sign-4-real");

using Run = testsupport::ProcessRun;

Run runTool(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    return testsupport::runProcess(program, arguments, input);
}
} // namespace

class TstCliReview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void reviewThroughPam();
    void reportKeepsToItsRecording();

private:
    // hygra-cli as the throwaway account, with its own home.
    Run cli(const QStringList &arguments, const QByteArray &input = {},
            const QString &logger = QStringLiteral("H2REVIEW01"));
    QString pdfText(const QString &pdf);

    QTemporaryDir work;
    QString account;
    QString archive;
    QString recording;
};

void TstCliReview::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("creating the throwaway account whose password PAM checks needs root");
    for (const char *tool : {"useradd", "chpasswd", "runuser", "pdftotext", "unzip"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
    }
    QVERIFY(QFile::setPermissions(work.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                   QFileDevice::WriteOther | QFileDevice::ExeOther));
    account = QStringLiteral("hygrarev%1").arg(getpid() % 100000);
    Run r = runTool("useradd", {"-M", "-N", "-d", work.filePath("home"), "-c", "Sam Signer",
                                account});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    r = runTool("chpasswd", {}, (account + ':' + password + '\n').toUtf8());
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    archive = work.filePath("archive.sqlite");
    r = cli({"download", "--dir", work.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    recording = r.out.trimmed().split('\n').last();
}

void TstCliReview::cleanupTestCase()
{
    if (!account.isEmpty())
        runTool("userdel", {account});
}

Run TstCliReview::cli(const QStringList &arguments, const QByteArray &input,
                      const QString &logger)
{
    const QString home = work.filePath("home");
    QDir().mkpath(home);
    runTool("chown", {account, home});
    QStringList command{"-u", account, "--", "env", "HOME=" + home, "LANG=C.UTF-8",
                        "LOGGERSIM=HX20D:sn=" + logger +
                            ":samples=600:interval=1:seed=5:recording=0:start=2026-03-01T08:00:00",
                        QStringLiteral(HYGRA_CLI_DEMO)};
    return runTool("runuser", command + arguments, input);
}

QString TstCliReview::pdfText(const QString &pdf)
{
    return runTool("pdftotext", {"-layout", pdf, "-"}).out;
}

void TstCliReview::reviewThroughPam()
{
    const QStringList at{"--archive", archive};
    Run r = cli(QStringList{"comment", recording, "--reason", "door left open", "--action",
                            "product quarantined"} + at);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(cli(QStringList{"comment", recording, "--excursion", "2000-01-01T00:00:00",
                             "--reason", "x"} + at)
                 .exitCode,
             int(ExitUsage));

    r = cli(QStringList{"review", recording, "--meaning", "approved", "--password-fd", "0"} + at,
            "not the password\n");
    QVERIFY2(r.exitCode == ExitNotSigned && r.err.contains("wrong password"), qPrintable(r.err));
    r = cli(QStringList{"review", recording, "--meaning", "approved", "--comment", "released",
                        "--password-fd", "0"} + at,
            password.toUtf8() + '\n');
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QJsonObject signature = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(signature.value("name").toString(), QString("Sam Signer"));
    QCOMPARE(signature.value("login").toString(), account);
    r = cli(QStringList{"review", recording, "--meaning", "rejected", "--password-fd", "0"} + at,
            password.toUtf8() + '\n');
    QVERIFY2(r.exitCode == ExitNotSigned && r.err.contains("revoke"), qPrintable(r.err));

    r = cli(QStringList{"audit", "list", "--kind", "signature-failed"} + at);
    QCOMPARE(r.out.count("\n"), 2);
    QVERIFY(r.out.contains("wrong password"));

    r = cli(QStringList{"signatures", recording} + at);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QJsonObject review = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(review.value("standing").toString(), QString("approved"));
    QCOMPARE(review.value("signatures").toArray().size(), 1);
    QCOMPARE(review.value("comments").toArray().first()["reason"].toString(),
             QString("door left open"));

    const QString pdf = work.filePath("reviewed.pdf");
    QCOMPARE(cli(QStringList{"export", recording, "--pdf", pdf} + at).exitCode, 0);
    const QString text = pdfText(pdf);
    for (const QString &shown : {QString("Sam Signer"), account, QString("door left open"),
                                 QString("product quarantined")})
        QVERIFY2(text.contains(shown), qPrintable(shown + " missing from:\n" + text));
    QCOMPARE(cli(QStringList{"verify", recording, pdf} + at).exitCode, 0);
    const QString xlsx = work.filePath("reviewed.xlsx");
    QCOMPARE(cli(QStringList{"export", recording, "--xlsx", xlsx} + at).exitCode, 0);
    const QString workbook = runTool("unzip", {"-p", xlsx}).out;
    for (const char *shown : {"Sam Signer", "door left open", "product quarantined", "released"})
        QVERIFY2(workbook.contains(QLatin1String(shown)), shown);
}

void TstCliReview::reportKeepsToItsRecording()
{
    const QStringList at{"--archive", archive};
    Run r = cli({"download", "--dir", work.filePath("other")}, {}, "H2OTHER001");
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString other = r.out.trimmed().split('\n').last();
    const QString pdf = work.filePath("other.pdf");
    QCOMPARE(cli(QStringList{"export", other, "--pdf", pdf} + at).exitCode, 0);
    QVERIFY(!pdfText(pdf).contains("Sam Signer"));
    // A report whose signatures its archive's trail does not hold is refused.
    const QString signedPdf = work.filePath("reviewed.pdf");
    r = cli({"verify", recording, signedPdf, "--archive", work.filePath("elsewhere.sqlite")});
    QVERIFY2(r.exitCode == ExitReportAltered && r.err.contains("does not hold"),
             qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TstCliReview)
#include "tst_clireview.moc"
