// SPDX-License-Identifier: GPL-3.0-or-later
// One decoded sample of a recording with its wall-clock time and alarm state.
#pragma once

#include <QtGlobal>

// Kept small and trivially copyable: a recording holds up to millions of these
// in one contiguous vector.
struct SamplePoint {
    // Wall-clock seconds since 1970 (the logger's local time read as UTC).
    qint64 time = 0;
    // Degrees Celsius; -1000 when the logger stored no value.
    float temperature = 0;
    // %RH; -10 when the logger stored no value.
    float humidity = 0;
    // 0 normal, 1 below a low limit, 2 above a high limit.
    int alarmState = 0;
    bool isAlarm = false;
};

Q_DECLARE_TYPEINFO(SamplePoint, Q_PRIMITIVE_TYPE);
