// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis `hygra-cli show` prints and `hygra-cli verify`'s check of a report, in-process.
#include "cli/clicommands.h"
#include "cli/cliexit.h"
#include "export/pdfreport.h"
#include "recording/recordingreader.h"
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <QtTest>

namespace
{

constexpr qint16 missing = qint16(0xE0E0);

// Minute samples from 2026-03-01T08:00 (hundredths of °C, humidity 50 %RH)
// with the level-1 limits 2 and 8 °C on; level 3, stored under th1, is on at
// 6 °C and must not set the range. The note pads the header to the reader's minimum.
QByteArray recordingBytes(const QVector<qint16> &temperatures)
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.sn = QStringLiteral("H2TEST0001");
    info.recordInterval = 12;
    info.startRecordTime = QDateTime(QDate(2026, 3, 1), QTime(8, 0));
    info.th3 = {true, 800};
    info.tl3 = {true, 200};
    info.th1 = {true, 600};
    info.note = QString(1024, QLatin1Char('n'));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeRecordingHeader(&buffer, info);
    for (qint16 t : temperatures) {
        char bytes[4];
        qToLittleEndian(t, bytes);
        qToLittleEndian(qint16(500), bytes + 2);
        buffer.write(bytes, 4);
    }
    return buffer.data();
}

QString sha256(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The PDF report of the recording file `path`; without its fingerprint, as
// older versions wrote it, when `fingerprint` is false.
bool writeReport(const QString &path, const QString &report, bool fingerprint = true)
{
    LoadedRecording recording = RecordingReader::read(path);
    if (!fingerprint)
        recording.sha256.clear();
    return recording.ok() && writePdfReport(report, recording, 1, false);
}

QString text(const QJsonValue &v)
{
    return v.isNull() ? QStringLiteral("null") : QString::number(v.toDouble());
}

// "7 valid, mkt 5.7 at 83.144, 2..8, +120 -120: above 2026-03-01T08:01:00 120 s 9.5"
QString describe(const QJsonObject &a)
{
    QString d = QStringLiteral("%1 valid, mkt %2 at %3, %4..%5, +%6 -%7:")
                    .arg(text(a["validSamples"]), text(a["mktCelsius"]),
                         text(a["activationEnergyKJ"]), text(a["rangeLow"]), text(a["rangeHigh"]),
                         text(a["timeAboveSeconds"]), text(a["timeBelowSeconds"]));
    for (const QJsonValue &e : a["excursions"].toArray())
        d += QStringLiteral(" %1 %2 %3 s %4")
                 .arg(e["side"].toString(), e["start"].toString(), text(e["durationSeconds"]),
                      text(e["peakCelsius"]));
    return d;
}

} // namespace

class TstCliAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showAnalysis_data();
    void showAnalysis();
    void verify_data();
    void verify();

private:
    int run(const QStringList &arguments);

    QTemporaryDir folder;
    QHash<QString, QString> fingerprints;
    QString out;
    QString err;
};

int TstCliAnalysis::run(const QStringList &arguments)
{
    QBuffer outBuffer;
    QBuffer errBuffer;
    outBuffer.open(QIODevice::WriteOnly);
    errBuffer.open(QIODevice::WriteOnly);
    const int code = CliCommands(&outBuffer, &errBuffer).run(QStringList{"hygra-cli"} + arguments);
    out = QString::fromUtf8(outBuffer.data());
    err = QString::fromUtf8(errBuffer.data());
    return code;
}

void TstCliAnalysis::initTestCase()
{
    // Above 8 °C from 08:01 for two minutes (peak 9.5), below 2 °C from 08:05
    // for two minutes (lowest 1), a missing sample between them.
    const QByteArray recording = recordingBytes({500, 900, 950, 500, missing, 150, 100, 500});
    QByteArray changed = recording;
    changed[changed.size() - 1] = 0x02; // a humidity byte: the file still reads
    const QHash<QString, QByteArray> files{
        {"recording.data", recording},
        {"missing-only.data", recordingBytes({missing, missing})},
        {"changed.data", changed},
        {"other.data", recordingBytes({500})},
    };
    for (auto it = files.begin(); it != files.end(); ++it) {
        QFile file(folder.filePath(it.key()));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
        fingerprints.insert(it.key(), sha256(it.value()));
    }
    const QString own = folder.filePath(QStringLiteral("recording.data"));
    QVERIFY(writeReport(own, folder.filePath(QStringLiteral("report.pdf"))));
    QVERIFY(writeReport(folder.filePath(QStringLiteral("other.data")),
                        folder.filePath(QStringLiteral("other.pdf"))));
    QVERIFY(writeReport(own, folder.filePath(QStringLiteral("plain.pdf")), false));
}

void TstCliAnalysis::showAnalysis_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");

    // ΔH/R = 9999.9247 K; the mean of exp(−ΔH/R / T) over the seven valid
    // temperatures is 2.66474e-16, ΔH/R / −ln(…) = 278.85038 K = 5.70 °C.
    // At 60 kJ/mol: ΔH/R = 7216.3413 K, mean 5.68036e-12, 278.68771 K = 5.54 °C.
    const QString above = QStringLiteral(" above 2026-03-01T08:01:00 120 s 9.5");
    const QString below = QStringLiteral(" below 2026-03-01T08:05:00 120 s 1");
    const QString file = QStringLiteral("recording.data");
    const QString range = QStringLiteral("--range expects LOW:HIGH");
    const QString energy = QStringLiteral("--activation-energy expects a positive number");
    QTest::newRow("level-1 limits")
        << file << QStringList() << "7 valid, mkt 5.7 at 83.144, 2..8, +120 -120:" + above + below;
    QTest::newRow("upper bound only") << file << QStringList{"--range", ":8"}
                                      << "7 valid, mkt 5.7 at 83.144, null..8, +120 -0:" + above;
    QTest::newRow("lower bound only") << file << QStringList{"--range=2:"}
                                      << "7 valid, mkt 5.7 at 83.144, 2..null, +0 -120:" + below;
    QTest::newRow("no bound") << file << QStringList{"--range", ":"}
                              << "7 valid, mkt 5.7 at 83.144, null..null, +0 -0:";
    QTest::newRow("negative and fractional bounds")
        << file << QStringList{"--range", "-1.5:9.25"}
        << "7 valid, mkt 5.7 at 83.144, -1.5..9.25, +60 -0: above 2026-03-01T08:02:00 60 s 9.5";
    QTest::newRow("activation energy")
        << file << QStringList{"--activation-energy", "60"}
        << "7 valid, mkt 5.54 at 60, 2..8, +120 -120:" + above + below;
    QTest::newRow("no valid sample")
        << "missing-only.data" << QStringList() << "0 valid, mkt null at 83.144, 2..8, +0 -0:";
    QTest::newRow("range reversed") << file << QStringList{"--range", "8:2"} << range;
    QTest::newRow("range not a number") << file << QStringList{"--range", "two:8"} << range;
    QTest::newRow("range infinite") << file << QStringList{"--range", ":inf"} << range;
    QTest::newRow("energy zero") << file << QStringList{"--activation-energy", "0"} << energy;
}

void TstCliAnalysis::showAnalysis()
{
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const int code = run(QStringList{"show", folder.filePath(file)} + options);
    if (expected.startsWith(QLatin1String("--"))) {
        QCOMPARE(code, int(ExitUsage));
        QVERIFY2(err.contains(expected) && out.isEmpty(), qPrintable(err));
        return;
    }
    QCOMPARE(code, int(ExitOk));
    const QJsonObject analysis = QJsonDocument::fromJson(out.toUtf8())["analysis"].toObject();
    QCOMPARE(describe(analysis), expected);
    QCOMPARE(analysis["sha256"].toString(), fingerprints.value(file));
    QCOMPARE(analysis.keys(),
             QStringList({"activationEnergyKJ", "excursions", "mktCelsius", "rangeHigh", "rangeLow",
                          "sha256", "timeAboveSeconds", "timeBelowSeconds", "validSamples"}));
}

void TstCliAnalysis::verify_data()
{
    QTest::addColumn<QString>("recording");
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");

    const QString own = fingerprints.value("recording.data");
    QTest::newRow("made from the file")
        << "recording.data"
        << "report.pdf" << 0
        << "report.pdf was made from " + folder.filePath("recording.data") +
               " (logger H2TEST0001, 2026-03-01T08:00:00 to 2026-03-01T08:07:00): SHA-256 " + own;
    QTest::newRow("report of another file")
        << "recording.data"
        << "other.pdf" << int(ExitReportMismatch) << "  file has     SHA-256 " + own;
    QTest::newRow("file changed by one byte")
        << "changed.data"
        << "report.pdf" << int(ExitReportMismatch) << "  report names SHA-256 " + own;
    QTest::newRow("report without fingerprint")
        << "recording.data"
        << "plain.pdf" << int(ExitNoFingerprint) << "carries no recording fingerprint";
    QTest::newRow("report unreadable") << "recording.data"
                                       << "absent.pdf" << int(ExitFileNotReadable) << "cannot read";
}

void TstCliAnalysis::verify()
{
    QFETCH(QString, recording);
    QFETCH(QString, report);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QCOMPARE(run({"verify", folder.filePath(recording), folder.filePath(report)}), exitCode);
    QCOMPARE(out.isEmpty(), exitCode != ExitOk);
    const QString &shown = exitCode == ExitOk ? out : err;
    QVERIFY2(shown.contains(expected), qPrintable(shown));
}

QTEST_MAIN(TstCliAnalysis)
#include "tst_clianalysis.moc"
