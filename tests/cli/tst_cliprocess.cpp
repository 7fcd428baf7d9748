// SPDX-License-Identifier: GPL-3.0-or-later
// hygra-cli-demo run as a process against emulated loggers: every command and its failures.
#include "cli/cliexit.h"
#include "fullfolder.h"
#include "loggersim.h"
#include "recording/recordingreader.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace
{

// A finished recording with a fixed start, so this process's emulator
// generates exactly the samples the program's emulator sends.
const char *const fixedLogger =
    "HX20D:sn=H2CLI00001:samples=1500:interval=1:seed=7:recording=0:start=2026-03-01T08:00:00";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QByteArray lastLine() const { return out.trimmed().split('\n').last(); }
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray sha256Hex(const QString &path)
{
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256).toHex();
}

// Whether poppler's pdfinfo reads `pdf` without repairing or complaining of anything.
bool opensCleanly(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    return info.waitForFinished(10000) && info.exitCode() == 0 &&
           info.readAllStandardError().isEmpty();
}

// `pdf` with `bytes` inserted at `at` and its cross-reference table and
// trailer moved along, so that it stays a PDF every reader opens as it is.
QByteArray insertKeepingOffsets(QByteArray pdf, int at, const QByteArray &bytes)
{
    pdf.insert(at, bytes);
    const int shift = bytes.size();
    const int table = pdf.lastIndexOf("\nxref\n") + 6;
    int line = pdf.indexOf('\n', table) + 1; // past the subsection's "0 N"
    while (pdf.mid(line, 20).endsWith(" n \n") || pdf.mid(line, 20).endsWith(" f \n")) {
        const qint64 offset = pdf.mid(line, 10).toLongLong();
        if (pdf.at(line + 17) == 'n' && offset >= at)
            pdf.replace(line, 10, QByteArray::number(offset + shift).rightJustified(10, '0'));
        line += 20;
    }
    const int start = pdf.lastIndexOf("startxref\n") + 10;
    const int end = pdf.indexOf('\n', start);
    const qint64 xref = pdf.mid(start, end - start).trimmed().toLongLong();
    pdf.replace(start, end - start, QByteArray::number(xref + shift) + ' ');
    return pdf;
}

} // namespace

class TstCliProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsLoggersInOpeningOrder();
    void infoPrintsStateAndConfiguration();
    void downloadedRecordingEqualsTheLoggers();
    void exportsSpreadsheetAndReport();
    void exportToAFullDiskKeepsTheOlderFile_data();
    void exportToAFullDiskKeepsTheOlderFile();
    void verifyRefusesForgedReports_data();
    void verifyRefusesForgedReports();
    void configSetThenGetRoundTrips();
    void startsAndStopsRecording_data();
    void startsAndStopsRecording();
    void sigtermDuringADownloadLeavesNothing_data();
    void sigtermDuringADownloadLeavesNothing();
    void failures_data();
    void failures();
    void helpForEveryCommand_data();
    void helpForEveryCommand();

private:
    Run run(const QStringList &arguments, const QString &loggers = QLatin1String(fixedLogger));
    QString downloadOnce();

    std::unique_ptr<QTemporaryDir> home;
    QTemporaryDir work;
    QString recordingPath;
};

void TstCliProcess::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    QVERIFY(QFile::exists(QStringLiteral(HYGRA_CLI_DEMO)));
}

Run TstCliProcess::run(const QStringList &arguments, const QString &loggers)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), loggers);
    environment.insert(QStringLiteral("HOME"), home->path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString TstCliProcess::downloadOnce()
{
    if (recordingPath.isEmpty()) {
        const Run r = run({QStringLiteral("download"), QStringLiteral("--dir"), work.path()});
        if (r.exitCode == 0)
            recordingPath = QString::fromLocal8Bit(r.lastLine());
    }
    return recordingPath;
}

void TstCliProcess::listsLoggersInOpeningOrder()
{
    const Run r =
        run({QStringLiteral("list")}, QStringLiteral("HX20D:sn=H2A,HX10D:sn=H1A,HX20D:sn=H2B"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("HX20D 0 bus 1 port 1-2\nHX10D 0 bus 1 port 1-3\n"
                               "HX20D 1 bus 1 port 1-4\n"));
    const Run serials = run({QStringLiteral("list"), QStringLiteral("--serial")},
                            QStringLiteral("HX20D:sn=H2A,HX10D:sn=H1A,HX20D:sn=H2B"));
    QCOMPARE(serials.out, QByteArray("HX20D 0 bus 1 port 1-2 serial H2A\n"
                                     "HX10D 0 bus 1 port 1-3 serial H1A\n"
                                     "HX20D 1 bus 1 port 1-4 serial H2B\n"));
}

void TstCliProcess::infoPrintsStateAndConfiguration()
{
    const Run r =
        run({QStringLiteral("info"), QStringLiteral("--model"), QStringLiteral("HX10D"),
             QStringLiteral("--index"), QStringLiteral("1")},
            QStringLiteral("HX10D:sn=H1FIRST,HX20D:sn=H2A,HX10D:sn=H1SECOND:recording=1"));
    QCOMPARE(r.exitCode, 0);
    const QJsonObject info = r.json();
    QCOMPARE(info.value("model").toString(), QStringLiteral("HX10D"));
    QCOMPARE(info.value("sn").toString(), QStringLiteral("H1SECOND"));
    QCOMPARE(info.value("isRecord").toBool(), true);
    const QJsonObject config = info.value("config").toObject();
    QCOMPARE(config.value("devName").toString(), QStringLiteral("HX10D Logger"));
    QCOMPARE(config.value("recordInterval").toInt(), 12);
    QCOMPARE(config.value("th1").toObject().value("alertValue").toInt(), 3000);
    QVERIFY(config.contains("note"));
}

void TstCliProcess::downloadedRecordingEqualsTheLoggers()
{
    const QString path = downloadOnce();
    QVERIFY(!path.isEmpty());
    QVERIFY(path.startsWith(work.path()));
    QVERIFY(QFile::exists(path));

    const Run r = run({QStringLiteral("show"), path, QStringLiteral("--samples")});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject shown = r.json();
    QCOMPARE(shown.value("header").toObject().value("sn").toString(), QStringLiteral("H2CLI00001"));

    loggersim::configure(QLatin1String(fixedLogger));
    const QVector<loggersim::Sample> expected =
        loggersim::heldSamples(loggersim::loggerIds().first());
    const QJsonArray samples = shown.value("samples").toArray();
    QCOMPARE(shown.value("statistics").toObject().value("sampleCount").toInt(), expected.size());
    QCOMPARE(samples.size(), expected.size());
    for (int i : {0, int(expected.size() / 2), int(expected.size()) - 1}) {
        const QJsonObject sample = samples.at(i).toObject();
        const loggersim::Sample &want = expected.at(i);
        QCOMPARE(sample.value("time").toString(),
                 QDateTime::fromSecsSinceEpoch(want.time, Qt::UTC).toString("yyyy-MM-ddTHH:mm:ss"));
        if (want.temperature == loggersim::noValue)
            QVERIFY(sample.value("temperature").isNull());
        else
            QCOMPARE(sample.value("temperature").toDouble(), want.temperature / 100.0);
        if (want.humidity == loggersim::noValue)
            QVERIFY(sample.value("humidity").isNull());
        else
            QCOMPARE(sample.value("humidity").toDouble(), want.humidity / 10.0);
    }
    // Without --samples the document stops at the summary.
    const Run brief = run({QStringLiteral("show"), path});
    QCOMPARE(brief.exitCode, 0);
    QVERIFY(!brief.json().contains("samples"));
    const QJsonObject alarms = brief.json().value("alarms").toObject();
    QCOMPARE(alarms.value("th1").toObject().value("label").toString(), QStringLiteral("TH3"));
    QCOMPARE(alarms.value("th3").toObject().value("label").toString(), QStringLiteral("TH1"));
}

void TstCliProcess::exportsSpreadsheetAndReport()
{
    const QString path = downloadOnce();
    QVERIFY(!path.isEmpty());
    const QString csv = work.filePath("out.csv");
    const QString pdf = work.filePath("out.pdf");

    Run r = run({QStringLiteral("export"), path, QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 0);
    QFile csvFile(csv);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    // A header line, then one line per sample.
    QCOMPARE(csvFile.readAll().count('\n'), 1500 + 1);

    r = run({QStringLiteral("export"), path, QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromLocal8Bit(r.lastLine()), pdf);
    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    QCOMPARE(pdfFile.read(5), QByteArray("%PDF-"));

    // With English chosen the workbook is written in English, as the window writes it.
    QFile settings(home->path() + QStringLiteral("/Documents/HYGRA/Setting/setting.ini"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray chosen = settings.readAll();
    settings.close();
    const auto writeSettings = [&settings](const QByteArray &content) {
        if (!settings.open(QIODevice::WriteOnly))
            return false;
        const bool written = settings.write(content) == content.size();
        settings.close();
        return written;
    };
    QVERIFY(writeSettings(QString::fromUtf8(chosen)
                              .replace(QRegularExpression(QStringLiteral("language=[^\n]*")),
                                       QStringLiteral("language=English"))
                              .toUtf8()));
    const QString english = work.filePath("english.xlsx");
    r = run({QStringLiteral("export"), path, QStringLiteral("--xlsx"), english});
    QVERIFY(writeSettings(chosen));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromLocal8Bit(r.lastLine()), english);
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"),
                {QStringLiteral("-p"), english, QStringLiteral("xl/workbook.xml")});
    QVERIFY(unzip.waitForFinished(10000));
    QVERIFY(unzip.readAllStandardOutput().contains("<sheet name=\"Samples\""));

    // The report names its recording: verify ties the two, and tells a copy
    // changed by one byte apart.
    QCOMPARE(run({QStringLiteral("verify"), path, pdf}).exitCode, 0);
    const QString changed = work.filePath("changed.data");
    QVERIFY(QFile::copy(path, changed));
    QFile copy(changed);
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QVERIFY(copy.seek(copy.size() - 1));
    const char last = copy.peek(1).at(0);
    copy.write(QByteArray(1, char(last ^ 1)));
    copy.close();
    QCOMPARE(run({QStringLiteral("verify"), changed, pdf}).exitCode, 13);
}

void TstCliProcess::exportToAFullDiskKeepsTheOlderFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("target");
    const QString path = downloadOnce();
    const QString serial = QStringLiteral("H2CLI00001");
    QTest::newRow("PDF report") << QStringList{"export", path, "--pdf"} << "report.pdf";
    QTest::newRow("spreadsheet") << QStringList{"export", path, "--csv"} << "samples.csv";
    QTest::newRow("workbook") << QStringList{"export", path, "--xlsx"} << "book.xlsx";
    QTest::newRow("history report")
        << QStringList{"archive", "history", serial, "--pdf"} << "history.pdf";
    QTest::newRow("history spreadsheet")
        << QStringList{"archive", "history", serial, "--csv"} << "history.csv";
}

// The disk fills while the file is written: the command fails naming the file
// and the reason, and what was there before is left as it was.
void TstCliProcess::exportToAFullDiskKeepsTheOlderFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, target);
    QVERIFY(!downloadOnce().isEmpty());
    const testsupport::FullFolder full({target});
    if (!full.isReady())
        QSKIP(qPrintable(full.skipReason()));
    const QString path = full.filePath(target);
    const Run r = run(arguments << path);
    QCOMPARE(r.exitCode, int(ExitCannotWrite));
    QVERIFY2(QString::fromUtf8(r.err).contains(
                 QStringLiteral("cannot write %1: No space left on device").arg(path)),
             r.err.constData());
    QVERIFY(r.out.isEmpty());
    QCOMPARE(full.leftovers({target}), QStringList());
    QFile older(path);
    QVERIFY(older.open(QIODevice::ReadOnly));
    QCOMPARE(older.readAll(), testsupport::FullFolder::olderContent(target));
}

void TstCliProcess::verifyRefusesForgedReports_data()
{
    QTest::addColumn<QString>("recording");
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    // X's genuine report, and Y: another logger's recording of the same length.
    const QString x = downloadOnce();
    const Run other = run({QStringLiteral("download"), QStringLiteral("--dir"), work.path()},
                          QString::fromLatin1(fixedLogger).replace("H2CLI00001", "H2CLI00002"));
    QCOMPARE(other.exitCode, 0);
    const QString y = QString::fromLocal8Bit(other.lastLine());
    const QString genuine = work.filePath("x.pdf");
    const QString ofY = work.filePath("y.pdf");
    QCOMPARE(run({QStringLiteral("export"), x, QStringLiteral("--pdf"), genuine}).exitCode, 0);
    QCOMPARE(run({QStringLiteral("export"), y, QStringLiteral("--pdf"), ofY}).exitCode, 0);
    const QByteArray pdf = readFile(genuine);
    const QByteArray xHash = sha256Hex(x);
    const QByteArray yHash = sha256Hex(y);
    QVERIFY(pdf.contains(xHash));

    // Y's fingerprint in X's bytes: the metadata names Y, the pages still show X.
    const QString replaced = work.filePath("replaced.pdf");
    QVERIFY(writeFile(replaced, QByteArray(pdf).replace(xHash, yHash)));
    // Y's metadata packet in a comment right after the header, offsets kept valid.
    const QByteArray yPdf = readFile(ofY);
    const int from = yPdf.indexOf("<?xpacket begin");
    const int to = yPdf.indexOf("<?xpacket end=\"w\"?>") + 19;
    QVERIFY(from > 0 && to > from);
    const QByteArray packet = yPdf.mid(from, to - from).replace('\n', ' ');
    const QString hidden = work.filePath("hidden.pdf");
    QVERIFY(
        writeFile(hidden, insertKeepingOffsets(pdf, pdf.indexOf("1 0 obj"), '%' + packet + '\n')));
    QVERIFY(opensCleanly(replaced));
    QVERIFY(opensCleanly(hidden));
    // The first 50,000 bytes: the metadata is there, the trailer is not.
    const QString cut = work.filePath("cut.pdf");
    QVERIFY(writeFile(cut, pdf.left(50000)));

    const QString altered = QStringLiteral("is incomplete, damaged or altered");
    QTest::newRow("genuine") << x << genuine << 0 << "";
    QTest::newRow("another file's fingerprint in the bytes")
        << y << replaced << int(ExitReportAltered)
        << altered + ": its first page does not show the SHA-256 its metadata names";
    QTest::newRow("a second metadata packet after the header")
        << y << hidden << int(ExitReportAltered) << altered + ": it holds 2 metadata packets";
    QTest::newRow("cut to 50,000 bytes")
        << x << cut << int(ExitReportAltered)
        << altered + ": its cross-reference table or trailer is broken";
    QTest::newRow("another recording's genuine report")
        << x << ofY << int(ExitReportMismatch) << "was not made from";
}

void TstCliProcess::verifyRefusesForgedReports()
{
    QFETCH(QString, recording);
    QFETCH(QString, report);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run r = run({QStringLiteral("verify"), recording, report});
    QVERIFY2(r.exitCode == exitCode, r.err.constData());
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QCOMPARE(r.out.isEmpty(), exitCode != 0);
}

void TstCliProcess::configSetThenGetRoundTrips()
{
    // One emulated logger lives only as long as one process, so the write and
    // its verification happen in `set`; `get` reads the emulator's defaults back.
    const QString file = work.filePath("config.json");
    QFile json(file);
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"({"devName": "Cold_room_3", "devId": 42, "note": "库房 B",
                   "th2": {"isOpen": true, "alertValue": 2500}})");
    json.close();

    // The logger holds a recording, which the write erases.
    const Run set =
        run({QStringLiteral("config"), QStringLiteral("set"), file, QStringLiteral("--erase")});
    QCOMPARE(set.exitCode, 0);
    const QJsonObject echoed = set.json();
    QCOMPARE(echoed.value("devName").toString(), QStringLiteral("Cold_room_3"));
    QCOMPARE(echoed.value("devId").toInt(), 42);
    QCOMPARE(echoed.value("note").toString(), QStringLiteral("库房 B"));
    QCOMPARE(echoed.value("th2").toObject().value("alertValue").toInt(), 2500);
    QCOMPARE(echoed.value("th2").toObject().value("isOpen").toBool(), true);
    // Untouched fields keep the logger's values.
    QCOMPARE(echoed.value("th1").toObject().value("alertValue").toInt(), 3000);

    const Run get = run({QStringLiteral("config"), QStringLiteral("get")});
    QCOMPARE(get.exitCode, 0);
    QCOMPARE(get.json().value("devName").toString(), QStringLiteral("HX20D Logger"));

    // What `get` prints is accepted by `set` unchanged.
    QVERIFY(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
    json.write(get.out);
    json.close();
    QCOMPARE(run({QStringLiteral("config"), QStringLiteral("set"), file, QStringLiteral("--erase")})
                 .exitCode,
             0);
}

void TstCliProcess::startsAndStopsRecording_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("loggers");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("start") << "start"
                           << "HX10D:recording=0" << QByteArray("recording started\n");
    QTest::newRow("stop") << "stop"
                          << "HX10D:recording=1" << QByteArray("recording stopped\n");
}

void TstCliProcess::startsAndStopsRecording()
{
    QFETCH(QString, command);
    QFETCH(QString, loggers);
    QFETCH(QByteArray, output);
    const Run r = run({command}, loggers);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, output);
}

void TstCliProcess::sigtermDuringADownloadLeavesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("watch") << QStringLiteral("watch") << 0;
    QTest::newRow("download") << QStringLiteral("download") << int(ExitInterrupted);
}

void TstCliProcess::sigtermDuringADownloadLeavesNothing()
{
    QFETCH(QString, command);
    QFETCH(int, exitCode);
    // 63 blocks at 40 ms an answer: the signal lands halfway through the download.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"),
                       QStringLiteral("HX20D:sn=H2SLOW:samples=64512:latency=40"));
    environment.insert(QStringLiteral("HOME"), home->path());
    process.setProcessEnvironment(environment);
    const QString target = work.filePath(command);
    QStringList arguments{command, QStringLiteral("--dir"), target};
    if (command == QLatin1String("watch"))
        arguments << QStringLiteral("--pdf") << QStringLiteral("--csv");
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    process.setReadChannel(QProcess::StandardError);
    QByteArray progress;
    while (!progress.contains("block 3/63") && process.waitForReadyRead(5000))
        progress += process.readAllStandardError();
    QVERIFY2(progress.contains("block 3/63"), progress.constData());
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    if (command == QLatin1String("watch")) {
        const QJsonObject line = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QCOMPARE(line.value("serial").toString(), QStringLiteral("H2SLOW"));
        QCOMPARE(line.value("error").toString(), QStringLiteral("the watch was stopped"));
    }
    // Neither the partial recording nor a report or spreadsheet, complete or not.
    QVERIFY(QDir(target).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QDirIterator left(home->path(), {"*.data", "*.pdf", "*.csv", "*.part"},
                      QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QVERIFY2(!left.hasNext(), qPrintable(left.next()));
}

void TstCliProcess::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("loggers");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString none = QStringLiteral("none");
    const QString fixed = QLatin1String(fixedLogger);
    const QString dir = work.path();
    QFile garbage(work.filePath("garbage.data"));
    garbage.open(QIODevice::WriteOnly);
    garbage.write(QByteArray(2000, 'x'));
    garbage.close();
    QFile badJson(work.filePath("bad.json"));
    badJson.open(QIODevice::WriteOnly);
    badJson.write("[1, 2");
    badJson.close();
    QFile badId(work.filePath("badid.json"));
    badId.open(QIODevice::WriteOnly);
    badId.write(R"({"devId": 300})");
    badId.close();
    QFile longName(work.filePath("longname.json"));
    longName.open(QIODevice::WriteOnly);
    longName.write(R"({"devName": "a name far longer than twenty bytes"})");
    longName.close();
    QFile noteOnly(work.filePath("note.json"));
    noteOnly.open(QIODevice::WriteOnly);
    noteOnly.write(R"({"note": "Bay B"})");
    noteOnly.close();

    QTest::newRow("no command") << QStringList() << fixed << 2 << "Usage: hygra-cli";
    QTest::newRow("unknown command") << QStringList{"fly"} << fixed << 2 << "unknown command 'fly'";
    QTest::newRow("unknown option")
        << QStringList{"list", "--fast"} << fixed << 2 << "Unknown option 'fast'";
    QTest::newRow("unknown model")
        << QStringList{"info", "--model", "HX30D"} << fixed << 2 << "unknown model 'HX30D'";
    QTest::newRow("bad index") << QStringList{"info", "--index", "x"} << fixed << 2
                               << "--index expects a number";
    QTest::newRow("export needs one output")
        << QStringList{"export", "a.data"} << fixed << 2 << "exactly one of --csv";
    QTest::newRow("export with both outputs")
        << QStringList{"export", "a.data", "--csv", "a.csv", "--pdf", "a.pdf"} << fixed << 2
        << "exactly one of --csv";
    QTest::newRow("config without action")
        << QStringList{"config", "put"} << fixed << 2 << "config expects 'get'";
    QTest::newRow("list without logger")
        << QStringList{"list"} << none << 3 << "no logger is attached";
    QTest::newRow("download without logger")
        << QStringList{"download"} << none << 3 << "no logger is attached";
    QTest::newRow("index past the loggers") << QStringList{"info", "--index", "1"} << fixed << 3
                                            << "no attached logger HX20D with index 1";
    QTest::newRow("model not attached")
        << QStringList{"start", "--model", "HX10D"} << fixed << 3 << "no attached logger HX10D";
    QTest::newRow("download of an empty logger")
        << QStringList{"download", "--dir", dir} << QStringLiteral("HX10D:samples=0") << 6
        << "the logger holds no records";
    QTest::newRow("show missing file")
        << QStringList{"show", dir + "/missing.data"} << fixed << 7 << "cannot read";
    QTest::newRow("show a folder") << QStringList{"show", dir} << fixed << 7 << "cannot read";
    QTest::newRow("export missing file")
        << QStringList{"export", dir + "/missing.data", "--csv", dir + "/x.csv"} << fixed << 7
        << "cannot read";
    QTest::newRow("config set missing file")
        << QStringList{"config", "set", dir + "/missing.json"} << fixed << 7 << "cannot read";
    QTest::newRow("show not a recording") << QStringList{"show", garbage.fileName()} << fixed << 8
                                          << "is not a recording file: it names no known logger";
    QTest::newRow("export not a recording")
        << QStringList{"export", garbage.fileName(), "--pdf", dir + "/x.pdf"} << fixed << 8
        << "is not a recording file";
    QTest::newRow("export to a folder")
        << QStringList{"export", downloadOnce(), "--csv", dir} << fixed << 10 << "cannot write";
    QTest::newRow("workbook to a folder")
        << QStringList{"export", downloadOnce(), "--xlsx", dir} << fixed << 10 << "cannot write";
    // A device that takes no byte: nothing may report success.
    for (const char *format : {"--pdf", "--csv", "--xlsx"})
        QTest::newRow(qPrintable(QStringLiteral("%1 to a full device").arg(format)))
            << QStringList{"export", downloadOnce(), format, "/dev/full"} << fixed << 10
            << "cannot write /dev/full: No space left on device";
    QTest::newRow("export with workbook and spreadsheet")
        << QStringList{"export", "a.data", "--xlsx", "a.xlsx", "--csv", "a.csv"} << fixed << 2
        << "exactly one of --csv";
    QTest::newRow("config file not JSON") << QStringList{"config", "set", badJson.fileName()}
                                          << fixed << 11 << "holds no JSON object";
    QTest::newRow("config value out of range")
        << QStringList{"config", "set", badId.fileName()} << fixed << 11
        << "devId: expected a whole number from 0 to 100";
    QTest::newRow("config name too long") << QStringList{"config", "set", longName.fileName()}
                                          << fixed << 11 << "devName: expected 1 to 20 letters";
    QTest::newRow("config set over a recording")
        << QStringList{"config", "set", noteOnly.fileName()} << fixed << 12
        << "holds 1500 records, which writing a configuration erases";
}

void TstCliProcess::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, loggers);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run r = run(arguments, loggers);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QVERIFY(r.out.isEmpty());
}

void TstCliProcess::helpForEveryCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("overview") << QStringList{"--help"} << "config set FILE.json";
    QTest::newRow("list") << QStringList{"list", "--help"} << "Lists the attached loggers";
    QTest::newRow("info") << QStringList{"info", "--help"} << "--index <I>";
    QTest::newRow("download") << QStringList{"download", "--help"} << "--dir <D>";
    QTest::newRow("watch") << QStringList{"watch", "--help"} << "--stop-recording";
    QTest::newRow("show") << QStringList{"show", "--help"} << "--samples";
    QTest::newRow("show analysis") << QStringList{"show", "--help"} << "--range <LOW:HIGH>";
    QTest::newRow("export") << QStringList{"export", "--help"} << "--pdf <OUT>";
    QTest::newRow("verify") << QStringList{"verify", "--help"} << "FILE.data REPORT.pdf";
    QTest::newRow("config") << QStringList{"config", "set", "--help"} << "FILE.json";
    QTest::newRow("config set") << QStringList{"config", "set", "--help"} << "--erase";
    QTest::newRow("start") << QStringList{"start", "--help"} << "Starts the logger's recording";
    QTest::newRow("stop") << QStringList{"stop", "--help"} << "Stops the logger's recording";
}

void TstCliProcess::helpForEveryCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run r = run(arguments, QStringLiteral("none"));
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(QString::fromUtf8(r.out).contains(mentions), r.out.constData());
}

QTEST_GUILESS_MAIN(TstCliProcess)
#include "tst_cliprocess.moc"
