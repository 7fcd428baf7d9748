// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation of a recording: mean kinetic temperature, time out of range, excursions,
// statistics.
#include "recording/recordinganalysis.h"

#include "core/units.h"
#include "recording/recordingsummary.h"

#include <QCryptographicHash>
#include <QIODevice>
#include <cmath>

namespace
{

constexpr double kelvinOffset = 273.15;

// ΔH/R in kelvin.
double activationTemperature(double activationEnergyKJ)
{
    return activationEnergyKJ * 1000.0 / RecordingAnalysis::gasConstant;
}

// Welford's running mean and variance: stable over a million samples.
class RunningStatistics
{
public:
    void add(double value)
    {
        if (count == 0) {
            minimum = maximum = value;
        } else {
            minimum = std::min(minimum, value);
            maximum = std::max(maximum, value);
        }
        ++count;
        const double delta = value - mean;
        mean += delta / count;
        squares += delta * (value - mean);
    }

    SeriesStatistics result() const
    {
        SeriesStatistics s;
        if (count == 0)
            return s;
        s.count = count;
        s.minimum = minimum;
        s.maximum = maximum;
        s.mean = mean;
        s.standardDeviation = count > 1 ? std::sqrt(squares / (count - 1)) : 0;
        return s;
    }

private:
    int count = 0;
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
    double squares = 0;
};

// A sample's value as the decimal the logger stored (hundredths of °C, tenths
// of %RH), so that it compares with a limit of the same decimal exactly: the
// float of 30.10 lies above the double of 30.10.
double storedCelsius(float temperature)
{
    return qRound(double(temperature) * 100) / 100.0;
}

double storedHumidity(float humidity)
{
    return qRound(double(humidity) * 10) / 10.0;
}

// The logarithm of the mean of exp(x) over the values added, kept relative to
// the largest x so far: with a large activation energy every exp(x) alone
// would round to zero, with a tiny one the sum would overflow.
class LogMeanExp
{
public:
    void add(double x)
    {
        if (count++ == 0) {
            largest = x;
            scaledSum = 1;
        } else if (x > largest) {
            scaledSum = scaledSum * std::exp(largest - x) + 1;
            largest = x;
        } else {
            scaledSum += std::exp(x - largest);
        }
    }

    double value() const { return largest + std::log(scaledSum / count); }

private:
    int count = 0;
    double largest = 0;
    double scaledSum = 0;
};

// Collects the excursions of consecutive samples on one side of the range.
class ExcursionTracker
{
public:
    ExcursionTracker(qint64 interval, RecordingAnalysis &analysis)
        : interval(interval), analysis(analysis)
    {
    }

    void add(const SamplePoint &sample, double celsius, Excursion::Side side)
    {
        if (open && current.side != side)
            close();
        if (!open) {
            current = Excursion();
            current.side = side;
            current.start = sample.time;
            current.peakCelsius = celsius;
            open = true;
        }
        ++current.sampleCount;
        current.peakCelsius = side == Excursion::Above ? std::max(current.peakCelsius, celsius)
                                                       : std::min(current.peakCelsius, celsius);
    }

    void close()
    {
        if (!open)
            return;
        open = false;
        current.durationSeconds = current.sampleCount * interval;
        (current.side == Excursion::Above ? analysis.timeAboveSeconds
                                          : analysis.timeBelowSeconds) += current.durationSeconds;
        analysis.excursions.append(current);
    }

private:
    const qint64 interval;
    RecordingAnalysis &analysis;
    Excursion current;
    bool open = false;
};

} // namespace

const Excursion *RecordingAnalysis::longestExcursion() const
{
    const Excursion *longest = nullptr;
    for (const Excursion &e : excursions) {
        if (!longest || e.durationSeconds > longest->durationSeconds)
            longest = &e;
    }
    return longest;
}

TemperatureRange RecordingAnalysis::alarmRange(const ReadDevInfoJson &recording)
{
    TemperatureRange range;
    for (const recordingsummary::AlarmRowLayout &row : recordingsummary::alarmRowLayouts(false)) {
        const AlertDataJson &alarm = recordingsummary::alarmOf(recording, row);
        if (!alarm.isOpen)
            continue;
        if (row.label == QLatin1String("TH1"))
            range.high = alarm.alertValue / 100.0;
        else if (row.label == QLatin1String("TL1"))
            range.low = alarm.alertValue / 100.0;
    }
    return range;
}

RecordingAnalysis RecordingAnalysis::of(const LoadedRecording &recording)
{
    if (const auto &chosen = recording.evaluation)
        return of(recording, TemperatureRange{chosen->low, chosen->high},
                  chosen->activationEnergyKJ);
    return of(recording, alarmRange(recording.recording));
}

RecordingAnalysis RecordingAnalysis::of(const LoadedRecording &recording,
                                        const TemperatureRange &range, double activationEnergyKJ)
{
    RecordingAnalysis analysis;
    analysis.activationEnergyKJ = activationEnergyKJ;
    analysis.range = range;
    const double activation = activationTemperature(activationEnergyKJ);
    const bool withHumidity = recording.recording.isContainHum;
    RunningStatistics temperatures;
    RunningStatistics humidities;
    ExcursionTracker tracker(recording.interval, analysis);
    LogMeanExp boltzmann;

    for (const SamplePoint &sample : recording.samples) {
        if (withHumidity && sample.humidity != noSampleHumidity)
            humidities.add(storedHumidity(sample.humidity));
        // A missing sample counts nowhere and ends an excursion.
        if (sample.temperature == noSampleTemperature) {
            tracker.close();
            continue;
        }
        const double celsius = storedCelsius(sample.temperature);
        temperatures.add(celsius);
        boltzmann.add(-activation / (celsius + kelvinOffset));
        if (range.high && celsius > *range.high)
            tracker.add(sample, celsius, Excursion::Above);
        else if (range.low && celsius < *range.low)
            tracker.add(sample, celsius, Excursion::Below);
        else
            tracker.close();
    }
    tracker.close();

    analysis.temperature = temperatures.result();
    analysis.humidity = humidities.result();
    analysis.validSamples = analysis.temperature.count;
    if (analysis.validSamples > 0)
        analysis.mktCelsius = activation / -boltzmann.value() - kelvinOffset;
    return analysis;
}

QString RecordingAnalysis::fingerprint(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString RecordingAnalysis::fingerprint(QIODevice *device)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!device || !device->isReadable() || !hash.addData(device))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}
