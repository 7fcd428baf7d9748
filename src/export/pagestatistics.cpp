// SPDX-License-Identifier: GPL-3.0-or-later
// Statistics of one data page of the report: extremes and threshold counts of its samples.
#include "export/pagestatistics.h"

#include "core/units.h"

#include <algorithm>

PageStatistics PageStatistics::of(const SamplePoint *first, const SamplePoint *end,
                                  const AlarmLimits &limits, bool withHumidity)
{
    PageStatistics s;
    for (const SamplePoint *sample = first; sample != end; ++sample) {
        const float t = sample->temperature;
        const float h = sample->humidity;
        // A recording without humidity has no humidity to miss.
        if (t == noSampleTemperature || (withHumidity && h == noSampleHumidity))
            continue;
        s.minTemperature = std::min(s.minTemperature, t);
        s.maxTemperature = std::max(s.maxTemperature, t);
        s.minHumidity = std::min(s.minHumidity, h);
        s.maxHumidity = std::max(s.maxHumidity, h);
        s.th1Count += t >= limits.th3;
        s.th2Count += t >= limits.th2;
        s.th3Count += t >= limits.th1;
        s.tl1Count += t <= limits.tl3;
        s.tl2Count += t <= limits.tl2;
        s.tl3Count += t <= limits.tl1;
        s.hhCount += h >= limits.hh;
        s.hlCount += h <= limits.hl;
    }
    return s;
}
