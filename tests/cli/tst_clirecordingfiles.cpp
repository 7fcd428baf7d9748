// SPDX-License-Identifier: GPL-3.0-or-later
// hygra-cli-demo over recording files a download did not finish and files that are no recordings.
#include "cli/cliexit.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// 3,000 one-minute samples: two full blocks and a partly filled third.
const char *const logger =
    "HX20D:sn=H2CUT00001:samples=3000:interval=12:seed=5:recording=0:start=2026-03-01T08:00:00";

struct Run {
    int exitCode = -1;
    qint64 milliseconds = 0;
    QByteArray out;
    QByteArray err;

    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The bytes before the samples: name, length and JSON text.
int headerSize(const QByteArray &file)
{
    return 14 + qFromLittleEndian<qint32>(file.constData() + 10);
}

} // namespace

class TstCliRecordingFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showTellsWhetherARecordingIsComplete();
    void exportsOfACutRecordingSaySo();
    void oddFilesAreRefusedAtOnce_data();
    void oddFilesAreRefusedAtOnce();
    void importReportsEverySkippedFile();
    void undecodableNameIsShownByItsBytes();

private:
    // Runs the program with `arguments`; a run that outlasts `timeoutMs` is killed.
    Run run(const QString &program, const QStringList &arguments, int timeoutMs = 30000);
    Run cli(const QStringList &arguments, int timeoutMs = 30000)
    {
        return run(QStringLiteral(HYGRA_CLI_DEMO), arguments, timeoutMs);
    }
    QString path(const QString &name) const { return work.filePath(name); }

    std::unique_ptr<QTemporaryDir> home;
    QTemporaryDir work;
    QString complete;
    QString cut;
};

Run TstCliRecordingFiles::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), QLatin1String(logger));
    environment.insert(QStringLiteral("HOME"), home->path());
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.milliseconds = timer.elapsed();
        return result;
    }
    result.milliseconds = timer.elapsed();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TstCliRecordingFiles::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    QVERIFY(work.isValid());
    const Run download = cli({QStringLiteral("download"), QStringLiteral("--dir"), work.path()});
    QCOMPARE(download.exitCode, 0);
    complete = QString::fromLocal8Bit(download.out.trimmed());
    // As a crash leaves it: one block of 1,024 samples and half a sample more.
    const QByteArray bytes = readAll(complete);
    QCOMPARE(bytes.size(), headerSize(bytes) + 3000 * 4);
    cut = path(QStringLiteral("cut.data"));
    QVERIFY(writeFile(cut, bytes.left(headerSize(bytes) + 1024 * 4 + 2)));
}

void TstCliRecordingFiles::showTellsWhetherARecordingIsComplete()
{
    Run r = cli({QStringLiteral("show"), complete});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.json().value("complete").toBool(false), true);
    QJsonObject statistics = r.json().value("statistics").toObject();
    QCOMPARE(statistics.value("sampleCount").toInt(), 3000);
    QCOMPARE(statistics.value("expectedSampleCount").toInt(), 3000);
    QVERIFY(r.err.isEmpty());

    r = cli({QStringLiteral("show"), cut});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.json().value("complete").toBool(true), false);
    statistics = r.json().value("statistics").toObject();
    QCOMPARE(statistics.value("sampleCount").toInt(), 1024);
    QCOMPARE(statistics.value("expectedSampleCount").toInt(), 3000);
    QVERIFY2(r.err.contains("cut.data is an incomplete recording: 1024 of 3000 samples"),
             r.err.constData());
}

// Each output says so where a reader looks first; a complete recording's
// spreadsheet starts with its column titles as before.
void TstCliRecordingFiles::exportsOfACutRecordingSaySo()
{
    const QString notice = QStringLiteral("记录不完整：1024 / 3000 个样本");
    QCOMPARE(
        cli({QStringLiteral("export"), cut, QStringLiteral("--pdf"), path("cut.pdf")}).exitCode, 0);
    const QString firstPage = QString::fromUtf8(
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-l"), QStringLiteral("1"), path("cut.pdf"), QStringLiteral("-")})
            .out);
    QVERIFY2(firstPage.normalized(QString::NormalizationForm_KC)
                 .contains(notice.normalized(QString::NormalizationForm_KC)),
             qPrintable(firstPage.left(1500)));

    for (const QString &recording : {cut, complete}) {
        const QString csv = path(QFileInfo(recording).baseName() + QStringLiteral(".csv"));
        QCOMPARE(cli({QStringLiteral("export"), recording, QStringLiteral("--csv"), csv}).exitCode,
                 0);
        const QList<QByteArray> lines = readAll(csv).split('\n');
        if (recording == cut) {
            QCOMPARE(QString::fromUtf8(lines.value(0)), notice);
            QCOMPARE(lines.value(1), QByteArray("YYYY/MM/DD,Time,AT(°C),RH%"));
            QCOMPARE(lines.size(), 2 + 1024 + 1);
        } else {
            QCOMPARE(lines.value(0), QByteArray("YYYY/MM/DD,Time,AT(°C),RH%"));
            QCOMPARE(lines.size(), 1 + 3000 + 1);
        }
    }

    const QString workbook = path(QStringLiteral("cut.xlsx"));
    QCOMPARE(cli({QStringLiteral("export"), cut, QStringLiteral("--xlsx"), workbook}).exitCode, 0);
    const Run summary = run(QStringLiteral("unzip"),
                            {QStringLiteral("-p"), workbook, QStringLiteral("xl/worksheets/*")});
    QVERIFY2(QString::fromUtf8(summary.out).contains(notice), "the workbook does not say so");
}

void TstCliRecordingFiles::oddFilesAreRefusedAtOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("more");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QVERIFY(::mkfifo(QFile::encodeName(path("fifo.data")).constData(), 0600) == 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path("zero.data")));
    QVERIFY(QFile::copy(complete, path("huge.data")));
    QVERIFY(QFile::resize(path("huge.data"), qint64(2) << 30));

    const QStringList none;
    QTest::newRow("show a pipe") << "fifo.data" << none << int(ExitFileNotReadable)
                                 << "cannot read %1: it is not a regular file";
    QTest::newRow("verify a pipe")
        << "fifo.data" << QStringList{path("any.pdf")} << int(ExitFileNotReadable)
        << "cannot read %1: it is not a regular file";
    QTest::newRow("show a link to /dev/zero") << "zero.data" << none << int(ExitFileNotReadable)
                                              << "cannot read %1: it is not a regular file";
    QTest::newRow("show a header before 2 GB of zeros")
        << "huge.data" << none << int(ExitNotRecording)
        << "%1 is not a recording file: it is larger than 4194304 bytes";
}

void TstCliRecordingFiles::oddFilesAreRefusedAtOnce()
{
    QFETCH(QString, name);
    QFETCH(QStringList, more);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString command = more.isEmpty() ? QStringLiteral("show") : QStringLiteral("verify");
    const Run r = cli(QStringList{command, path(name)} + more, 10000);
    QVERIFY2(r.milliseconds < 5000, "the program blocked or read for seconds");
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(r.err).contains(message.arg(path(name))), r.err.constData());
}

// The start of an import reports what it leaves out and why, reads no
// endless file, and archives a cut recording marked, which check then names.
void TstCliRecordingFiles::importReportsEverySkippedFile()
{
    const QString folder = path(QStringLiteral("import"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(complete, folder + "/good.data"));
    QVERIFY(QFile::copy(cut, folder + "/cut.data"));
    QVERIFY(::mkfifo(QFile::encodeName(folder + "/fifo.data").constData(), 0600) == 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), folder + "/zero.data"));
    QVERIFY(QFile::copy(complete, folder + "/huge.data"));
    QVERIFY(QFile::resize(folder + "/huge.data", qint64(2) << 30));
    const QByteArray bytes = readAll(complete);
    const QByteArray native = QFile::encodeName(folder) + "/bad\xff\xfe.data";
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);

    const QString archive = path(QStringLiteral("archive.sqlite"));
    Run r = cli({QStringLiteral("archive"), QStringLiteral("import"), folder,
                 QStringLiteral("--archive"), archive},
                20000);
    QVERIFY2(r.milliseconds < 5000, "the import read for seconds");
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.trimmed(), QByteArray("{\"added\":2,\"known\":0,\"skipped\":4}"));
    const QString err = QString::fromUtf8(r.err);
    for (const QString &line :
         {QStringLiteral("skipped %1/fifo.data: it is not a regular file"),
          QStringLiteral("skipped %1/zero.data: it is not a regular file"),
          QStringLiteral("skipped %1/huge.data: it is larger than 4194304 bytes"),
          QStringLiteral("skipped %1/bad\\xFF\\xFE.data: its name is not valid UTF-8"),
          QStringLiteral("archived %1/cut.data as an incomplete recording: 1024 of 3000 samples")})
        QVERIFY2(err.contains(line.arg(folder)), qPrintable(err));

    r = cli(
        {QStringLiteral("archive"), QStringLiteral("list"), QStringLiteral("--archive"), archive});
    QCOMPARE(r.exitCode, 0);
    int incomplete = 0;
    for (const QByteArray &line : r.out.trimmed().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        QCOMPARE(entry.value("expectedSamples").toInt(), 3000);
        incomplete += entry.value("complete").toBool(true) ? 0 : 1;
        QCOMPARE(entry.value("complete").toBool(), entry.value("samples").toInt() == 3000);
    }
    QCOMPARE(incomplete, 1);

    r = cli(
        {QStringLiteral("archive"), QStringLiteral("check"), QStringLiteral("--archive"), archive});
    QCOMPARE(r.exitCode, int(ExitArchiveProblems));
    const QList<QByteArray> problems = r.out.trimmed().split('\n');
    QCOMPARE(problems.size(), 1);
    const QJsonObject problem = QJsonDocument::fromJson(problems.first()).object();
    QCOMPARE(problem.value("path").toString(), folder + "/cut.data");
    QCOMPARE(problem.value("problem").toString(),
             QStringLiteral("incomplete recording: 1024 of 3000 samples"));
}

// A shell passes the name's own bytes, which no QString argument can spell.
void TstCliRecordingFiles::undecodableNameIsShownByItsBytes()
{
    const QByteArray native = QFile::encodeName(work.path()) + "/odd\xff.data";
    const QByteArray bytes = readAll(complete);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
    const Run r = run(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("exec \"$0\" show \"$(printf '%s/odd\\377.data' \"$1\")\""),
                       QStringLiteral(HYGRA_CLI_DEMO), work.path()});
    QCOMPARE(r.exitCode, int(ExitFileNotReadable));
    QVERIFY2(QString::fromUtf8(r.err).contains(
                 QStringLiteral("cannot read %1/odd\\xFF.data: its name is not valid UTF-8; "
                                "rename the file")
                     .arg(work.path())),
             r.err.constData());
}

QTEST_GUILESS_MAIN(TstCliRecordingFiles)
#include "tst_clirecordingfiles.moc"
