// SPDX-License-Identifier: GPL-3.0-or-later
// The recording memory of an emulated logger: seeded samples, statistics and alarm results.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QDateTime>
#include <cstdint>

struct RecordedSample {
    int16_t temperature;
    int16_t humidity;
};

struct RecordingStatistics {
    int16_t maxTemp, minTemp, avgTemp;
    int16_t maxHumidity, minHumidity, avgHumidity;
    int16_t startTemp, stopTemp;
};

struct AlarmResult {
    uint16_t alertNum = 0;
    uint32_t alertDuration = 0; // samples beyond the threshold
    bool isAlertFlag = false;
};

class LoggerRecording
{
public:
    static constexpr int capacity = 64512;
    static constexpr int16_t noValue = -7968; // E0 E0

    LoggerRecording(uint32_t seed = 1, bool hasHumidity = true);

    // The sample taken at position `i` since the start; a pure function of the seed.
    RecordedSample sample(int64_t i) const;
    // Samples the memory holds: all of them, or the newest `capacity` in loop mode.
    int numofReport() const;
    int64_t firstHeld() const { return recordNum - numofReport(); }
    // Wall-clock seconds (local time read as UTC) of sample `i`.
    int64_t sampleTime(int64_t i) const;

    RecordingStatistics statistics() const;
    // `wireIndex` orders the alarms th1, tl1, hh, hl, th2, tl2, th3, tl3.
    AlarmResult evaluate(int wireIndex, const AlertSetting &setting) const;
    bool anyAlarm(const OneConfigCmdStruct &config) const;

    int64_t recordNum = 0;
    bool loop = true;
    bool hasHumidity = true;
    uint32_t seed = 1;
    QDateTime start;   // local time of the start
    int interval = 12; // units of 5 s
    int startDelay = 0;
};
