// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigFieldRanges: the values of each configuration field that the settings form writes.
#pragma once

#include "device/oneconfigcmdstruct.h"

// Every range lies within what the field's bytes on the wire carry: a
// threshold travels as its low 16 bits (signed for temperatures, unsigned for
// humidity), so 1,000,000,000 would arrive as −13,824. The form never writes
// beyond these; a file handed to the command line must not either.
class ConfigFieldRanges
{
public:
    struct Range {
        long long low;
        long long high;
        bool contains(long long v) const { return v >= low && v <= high; }
    };

    // Hundredths of °C: −40 to 85 °C.
    static constexpr Range temperatureThreshold{-4000, 8500};
    // Tenths of %RH: 0 to 100 %RH.
    static constexpr Range humidityThreshold{0, 1000};
    // Units of 5 s: 0 s to 24 h.
    static constexpr Range alarmDelay{0, 17280};
    // Units of 5 s: 10 s to 24 h.
    static constexpr Range recordInterval{2, 17280};
    // Minutes: up to 4 h.
    static constexpr Range startDelay{0, 240};
    // Seconds until the display turns off, or 0 for always on.
    static constexpr Range screenOff{10, 300};
    // By key, by software, scheduled.
    static constexpr Range startMode{0, 2};
    // Internal sensor, external temperature probe, external temperature and humidity probe.
    static constexpr Range sensorType{0, 2};

    // The threshold range of the alarm `key` ("th1" … "hl").
    static Range threshold(const char *key);
};
