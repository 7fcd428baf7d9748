// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation of a recording against values worked out by hand.
#include "core/units.h"
#include "recording/recordinganalysis.h"

#include <QBuffer>
#include <QtTest>
#include <cmath>

namespace
{

constexpr qint64 start = 1700000000;
constexpr qint64 interval = 60;
const double missing = std::nan("");

// One-minute samples of the given temperatures (NaN: missing), humidity 50 %RH.
LoadedRecording recording(const QVector<double> &celsius)
{
    LoadedRecording r;
    r.status = RecordingStatus::Loaded;
    r.interval = interval;
    r.recording.isContainHum = true;
    for (int i = 0; i < celsius.size(); ++i) {
        SamplePoint p;
        p.time = start + i * interval;
        p.temperature = std::isnan(celsius[i]) ? noSampleTemperature : float(celsius[i]);
        p.humidity = 50;
        r.samples.append(p);
    }
    return r;
}

// "A3x180@9" reads: above, from sample 3, 180 seconds, peak 9 °C.
QString describe(const QVector<Excursion> &excursions)
{
    QStringList parts;
    for (const Excursion &e : excursions)
        parts << QStringLiteral("%1%2x%3@%4")
                     .arg(e.side == Excursion::Above ? 'A' : 'B')
                     .arg((e.start - start) / interval)
                     .arg(e.durationSeconds)
                     .arg(e.peakCelsius);
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void excursions_data();
    void excursions();
    void meanKineticTemperature_data();
    void meanKineticTemperature();
    void statistics();
    void alarmRangeIsTheLevelOneLimits_data();
    void alarmRangeIsTheLevelOneLimits();
    void fingerprintIsTheFilesSha256();
    void chosenEvaluationReplacesTheLevelOneLimits();
};

void TestAnalysis::excursions_data()
{
    QTest::addColumn<QVector<double>>("celsius");
    QTest::addColumn<QVariant>("low");
    QTest::addColumn<QVariant>("high");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qint64>("above");
    QTest::addColumn<qint64>("below");
    QTest::addColumn<int>("valid");

    const QVariant none;
    QTest::newRow("flat inside") << QVector<double>(10, 5) << QVariant(2.0) << QVariant(8.0)
                                 << QString() << qint64(0) << qint64(0) << 10;
    QTest::newRow("step above") << QVector<double>{5, 5, 5, 9, 9.5, 9, 5} << QVariant(2.0)
                                << QVariant(8.0) << "A3x180@9.5" << qint64(180) << qint64(0) << 7;
    QTest::newRow("step below") << QVector<double>{5, 1, 0.5, 5} << QVariant(2.0) << QVariant(8.0)
                                << "B1x120@0.5" << qint64(0) << qint64(120) << 4;
    // The bounds themselves lie inside: only strictly beyond counts.
    QTest::newRow("on the bounds")
        << QVector<double>{8, 2, 8.01, 1.99} << QVariant(2.0) << QVariant(8.0)
        << "A2x60@8.01 B3x60@1.99" << qint64(60) << qint64(60) << 4;
    // A float of 30.1 lies above the double 30.1; the stored decimal does not.
    QTest::newRow("limit of the same decimal")
        << QVector<double>{30.1, 30.11} << none << QVariant(30.1) << "A1x60@30.11" << qint64(60)
        << qint64(0) << 2;
    QTest::newRow("missing inside an excursion")
        << QVector<double>{9, 9, missing, 9, 10} << QVariant(2.0) << QVariant(8.0)
        << "A0x120@9 A3x120@10" << qint64(240) << qint64(0) << 4;
    QTest::newRow("missing between excursions")
        << QVector<double>{9, missing, 1, 1} << QVariant(2.0) << QVariant(8.0) << "A0x60@9 B2x120@1"
        << qint64(60) << qint64(120) << 3;
    QTest::newRow("side changes without a gap")
        << QVector<double>{9, 1, 9} << QVariant(2.0) << QVariant(8.0) << "A0x60@9 B1x60@1 A2x60@9"
        << qint64(120) << qint64(60) << 3;
    QTest::newRow("upper bound only") << QVector<double>{-30, 9, -30} << none << QVariant(8.0)
                                      << "A1x60@9" << qint64(60) << qint64(0) << 3;
    QTest::newRow("lower bound only") << QVector<double>{40, 1, 40} << QVariant(2.0) << none
                                      << "B1x60@1" << qint64(0) << qint64(60) << 3;
    QTest::newRow("no bound") << QVector<double>{-40, 85} << none << none << QString() << qint64(0)
                              << qint64(0) << 2;
    QTest::newRow("only missing") << QVector<double>{missing, missing} << QVariant(2.0)
                                  << QVariant(8.0) << QString() << qint64(0) << qint64(0) << 0;
}

void TestAnalysis::excursions()
{
    QFETCH(QVector<double>, celsius);
    QFETCH(QVariant, low);
    QFETCH(QVariant, high);
    TemperatureRange range;
    if (low.isValid())
        range.low = low.toDouble();
    if (high.isValid())
        range.high = high.toDouble();
    const RecordingAnalysis a = RecordingAnalysis::of(recording(celsius), range);
    QTEST(describe(a.excursions), "expected");
    QTEST(a.timeAboveSeconds, "above");
    QTEST(a.timeBelowSeconds, "below");
    QTEST(a.validSamples, "valid");
    QCOMPARE(a.mktCelsius.has_value(), a.validSamples > 0);
}

void TestAnalysis::meanKineticTemperature_data()
{
    QTest::addColumn<QVector<double>>("celsius");
    QTest::addColumn<double>("activationEnergyKJ");
    QTest::addColumn<double>("mkt");
    // ΔH/R = 83144 / 8.314462618 = 9999.9247 K. For 20 and 30 °C:
    // (exp(−ΔH/R / 293.15) + exp(−ΔH/R / 303.15)) / 2 = 3.12676e-15,
    // ΔH/R / −ln(3.12676e-15) = 299.40988 K = 26.2599 °C.
    QTest::newRow("two temperatures") << QVector<double>{20, 30} << 83.144 << 26.2599;
    QTest::newRow("constant") << QVector<double>(5, 5) << 83.144 << 5.0;
    QTest::newRow("missing ones do not count")
        << QVector<double>{20, missing, 30} << 83.144 << 26.2599;
    // A lower activation energy weighs the warm sample less: ΔH/R = 7216.39 K,
    // mean 3.31399e-11, 299.05747 K = 25.9075 °C.
    QTest::newRow("60 kJ/mol") << QVector<double>{20, 30} << 60.0 << 25.9075;
    // So large that every exp(−ΔH/RT) alone rounds to zero: the MKT nears the
    // warmest temperature, 29.8941 °C, instead of falling to absolute zero.
    QTest::newRow("5000 kJ/mol") << QVector<double>{20, 30} << 5000.0 << 29.8941;
}

void TestAnalysis::meanKineticTemperature()
{
    QFETCH(QVector<double>, celsius);
    QFETCH(double, activationEnergyKJ);
    QFETCH(double, mkt);
    const RecordingAnalysis a =
        RecordingAnalysis::of(recording(celsius), TemperatureRange(), activationEnergyKJ);
    QVERIFY(a.mktCelsius);
    QVERIFY2(std::abs(*a.mktCelsius - mkt) < 0.0005, qPrintable(QString::number(*a.mktCelsius)));
}

void TestAnalysis::statistics()
{
    LoadedRecording r = recording({5, 5, 5, 5, 9, 9, 9, 5, 5, missing, 5});
    r.samples[3].humidity = noSampleHumidity;
    r.samples[4].humidity = 60.5f;
    const RecordingAnalysis a = RecordingAnalysis::of(r);
    QCOMPARE(a.temperature.count, 10);
    QCOMPARE(a.temperature.minimum, 5.0);
    QCOMPARE(a.temperature.maximum, 9.0);
    QCOMPARE(a.temperature.mean, 6.2);
    // Sample standard deviation: sqrt(Σ(x − 6.2)² / 9) = sqrt(33.6 / 9).
    QVERIFY(std::abs(a.temperature.standardDeviation - std::sqrt(33.6 / 9)) < 1e-9);
    // Humidity counts its own values, the sample without temperature included.
    QCOMPARE(a.humidity.count, 10);
    QCOMPARE(a.humidity.maximum, 60.5);

    r.recording.isContainHum = false;
    QCOMPARE(RecordingAnalysis::of(r).humidity.count, 0);
}

void TestAnalysis::alarmRangeIsTheLevelOneLimits_data()
{
    QTest::addColumn<bool>("levelOneOpen");
    QTest::addColumn<int>("tempUnit");
    QTest::newRow("°C") << true << int(Celsius);
    // Limits are kept in °C whatever the unit a recording shows.
    QTest::newRow("°F") << true << int(Fahrenheit);
    QTest::newRow("level 1 off") << false << int(Celsius);
}

void TestAnalysis::alarmRangeIsTheLevelOneLimits()
{
    QFETCH(bool, levelOneOpen);
    QFETCH(int, tempUnit);
    ReadDevInfoJson header;
    header.tempUnit = tempUnit;
    // Level 1 (labelled TH1 and TL1) is stored under th3 and tl3.
    header.th3.isOpen = header.tl3.isOpen = levelOneOpen;
    header.th3.alertValue = 800;
    header.tl3.alertValue = 200;
    header.th1.isOpen = header.tl1.isOpen = true;
    header.th1.alertValue = 4000;
    header.tl1.alertValue = -2000;
    const TemperatureRange range = RecordingAnalysis::alarmRange(header);
    QCOMPARE(range.high, levelOneOpen ? std::optional<double>(8.0) : std::nullopt);
    QCOMPARE(range.low, levelOneOpen ? std::optional<double>(2.0) : std::nullopt);
}

void TestAnalysis::fingerprintIsTheFilesSha256()
{
    QByteArray bytes("abc");
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(RecordingAnalysis::fingerprint(&buffer),
             QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
}

void TestAnalysis::chosenEvaluationReplacesTheLevelOneLimits()
{
    LoadedRecording r = recording({5, 12, 12, 5, 1});
    r.recording.th3.isOpen = r.recording.tl3.isOpen = true;
    r.recording.th3.alertValue = 800;
    r.recording.tl3.alertValue = 200;
    const RecordingAnalysis byLimits = RecordingAnalysis::of(r);
    QCOMPARE(byLimits.excursions.size(), 2);
    QCOMPARE(byLimits.activationEnergyKJ, RecordingAnalysis::defaultActivationEnergyKJ);

    r.evaluation = ChosenEvaluation{0, 15, 60};
    const RecordingAnalysis chosen = RecordingAnalysis::of(r);
    QVERIFY(chosen.excursions.isEmpty());
    QCOMPARE(chosen.range.low, std::optional<double>(0));
    QCOMPARE(chosen.range.high, std::optional<double>(15));
    QCOMPARE(chosen.activationEnergyKJ, 60.0);
    QVERIFY(*chosen.mktCelsius != *byLimits.mktCelsius);
}

QTEST_APPLESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
