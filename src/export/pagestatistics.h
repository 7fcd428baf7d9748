// SPDX-License-Identifier: GPL-3.0-or-later
// Statistics of one data page of the report: extremes and threshold counts of its samples.
#pragma once

#include "recording/alarmlimits.h"
#include "recording/samplepoint.h"

struct PageStatistics {
    // Start values, left in place when no sample of the page counts.
    static constexpr float noMinimum = 1000;
    static constexpr float noTemperatureMaximum = -1000;
    static constexpr float noHumidityMaximum = -10;

    float minTemperature = noMinimum;
    float maxTemperature = noTemperatureMaximum;
    float minHumidity = noMinimum;
    float maxHumidity = noHumidityMaximum;
    // Samples at or beyond each labelled threshold. The labels run opposite to
    // the limits' keys for the temperature levels: TH1 counts against `th3`,
    // TL1 against `tl3` and so on.
    int th1Count = 0;
    int th2Count = 0;
    int th3Count = 0;
    int tl1Count = 0;
    int tl2Count = 0;
    int tl3Count = 0;
    int hhCount = 0;
    int hlCount = 0;

    // Over the samples [first, end) that have a temperature and, when the
    // recording has humidity, a humidity; the others are skipped.
    static PageStatistics of(const SamplePoint *first, const SamplePoint *end,
                             const AlarmLimits &limits, bool withHumidity);
};
