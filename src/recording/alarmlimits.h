// SPDX-License-Identifier: GPL-3.0-or-later
// The working alarm limits of a recording and the classification of one sample against them.
#pragma once

#include "core/units.h"

class ReadDevInfoJson;

// Temperatures in °C, humidity in %RH. A closed alarm keeps its default, which
// lies outside every value a logger can measure, so it never fires.
struct AlarmLimits {
    float th1 = 86;
    float th2 = 86;
    float th3 = 86;
    float tl1 = -41;
    float tl2 = -41;
    float tl3 = -41;
    float hh = 101;
    float hl = -0.1f;

    // The open alarms' thresholds of `recording`, the defaults for closed ones.
    static AlarmLimits fromRecording(const ReadDevInfoJson &recording);

    // 1 at or below a low temperature limit, else 2 at or above a high one,
    // else (only with humidity) 1 at or below `hl` or 2 at or above `hh`,
    // else 0. Missing values (-1000 °C, -10 %RH) are compared like any number,
    // so a sample without temperature is always below the low limits.
    int classify(float temperature, float humidity, bool withHumidity) const
    {
        if (temperature <= tl3 || temperature <= tl2 || temperature <= tl1)
            return 1;
        if (temperature >= th3 || temperature >= th2 || temperature >= th1)
            return 2;
        if (withHumidity) {
            if (humidity <= hl)
                return 1;
            if (humidity >= hh)
                return 2;
        }
        return 0;
    }

    // The temperature on its own: 1 at or below a low limit, 2 at or above a
    // high one, else 0; a missing temperature is no alarm.
    int temperatureState(float temperature) const
    {
        if (temperature == noSampleTemperature)
            return 0;
        if (temperature <= tl3 || temperature <= tl2 || temperature <= tl1)
            return 1;
        return temperature >= th3 || temperature >= th2 || temperature >= th1 ? 2 : 0;
    }
    // The humidity on its own, likewise against `hl` and `hh`.
    int humidityState(float humidity) const
    {
        if (humidity == noSampleHumidity)
            return 0;
        if (humidity <= hl)
            return 1;
        return humidity >= hh ? 2 : 0;
    }
};
