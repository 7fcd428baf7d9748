// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation of a recording: mean kinetic temperature, time out of range, excursions,
// statistics.
#pragma once

#include "recording/loadedrecording.h"

#include <QString>
#include <QVector>
#include <optional>

class QIODevice;

// A temperature range in °C; a side without a bound is empty.
struct TemperatureRange {
    std::optional<double> low;
    std::optional<double> high;
};

// A maximal run of consecutive valid samples on one side of the range.
struct Excursion {
    enum Side { Above, Below };
    Side side = Above;
    // Wall-clock seconds of its first sample.
    qint64 start = 0;
    int sampleCount = 0;
    // sampleCount × the recording interval.
    qint64 durationSeconds = 0;
    // The highest temperature of a run above, the lowest of a run below, in °C.
    double peakCelsius = 0;
};

// Minimum, maximum, mean and sample standard deviation (n − 1) of a series;
// all zero when it has no value.
struct SeriesStatistics {
    int count = 0;
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
    double standardDeviation = 0;
};

struct RecordingAnalysis {
    // 83.144 kJ/mol, i.e. ΔH/R = 10,000 K.
    static constexpr double defaultActivationEnergyKJ = 83.144;
    static constexpr double gasConstant = 8.314462618; // J/(mol·K)

    double activationEnergyKJ = defaultActivationEnergyKJ;
    TemperatureRange range;
    // Samples whose temperature the logger had; every figure counts only these.
    int validSamples = 0;
    // Empty without a valid sample.
    std::optional<double> mktCelsius;
    qint64 timeAboveSeconds = 0;
    qint64 timeBelowSeconds = 0;
    // In time order.
    QVector<Excursion> excursions;
    SeriesStatistics temperature;
    // Over the samples with a humidity value; empty for a recording without humidity.
    SeriesStatistics humidity;

    // The longest excursion (the first of equal ones), or null without any.
    const Excursion *longestExcursion() const;

    // The range the recording's alarms set: its level-1 temperature limits
    // that are switched on (labelled TL1 and TH1, stored under `tl3` and
    // `th3`); a side whose limit is off has no bound.
    static TemperatureRange alarmRange(const ReadDevInfoJson &recording);

    // Evaluates the samples against `range`. Reentrant; a million samples take
    // some tens of milliseconds.
    static RecordingAnalysis of(const LoadedRecording &recording, const TemperatureRange &range,
                                double activationEnergyKJ = defaultActivationEnergyKJ);
    // The same against the recording's chosen evaluation, else its alarm range.
    static RecordingAnalysis of(const LoadedRecording &recording);

    // The fingerprint of a recording file: the SHA-256 of all its bytes from
    // the device's current position to its end, in lower-case hex; empty when
    // the device cannot be read.
    static QString fingerprint(QIODevice *device);
    // The same of bytes held in memory.
    static QString fingerprint(const QByteArray &bytes);
};
