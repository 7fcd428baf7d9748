// SPDX-License-Identifier: GPL-3.0-or-later
// Sample generator, statistics and alarm evaluation of an emulated logger's recording.
#include "loggerrecording.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
uint64_t mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

constexpr double pi = 3.14159265358979323846;
constexpr int day = 288;    // samples in one slow swing of the curves
constexpr int period = 997; // the excursions repeat with this period

bool isHumidityAlarm(int wireIndex)
{
    return wireIndex == 2 || wireIndex == 3;
}

bool isHighAlarm(int wireIndex)
{
    return wireIndex == 0 || wireIndex == 2 || wireIndex == 4 || wireIndex == 6;
}
} // namespace

LoggerRecording::LoggerRecording(uint32_t seed, bool hasHumidity)
    : hasHumidity(hasHumidity), seed(seed)
{
}

RecordedSample LoggerRecording::sample(int64_t i) const
{
    const uint64_t h = mix((uint64_t(seed) << 40) ^ uint64_t(i));
    const double phase = 2 * pi * double((i + int64_t(seed) * 37) % day) / day;
    const int64_t e = (i + int64_t(seed) * 7919) % period;
    const int noise = int(h % 81) - 40;

    int temperature = 2200 + int(std::lround(300 * std::sin(phase))) + noise;
    if (e >= 500 && e < 540)
        temperature += 1300; // a warm spell above the high limits
    else if (e >= 800 && e < 830)
        temperature -= 2600; // a cold spell below the low limits
    int humidity = 550 + int(std::lround(150 * std::cos(phase))) + int((h >> 8) % 41) - 20;
    if (e >= 300 && e < 330)
        humidity = std::min(1000, humidity + 300);

    RecordedSample s;
    s.temperature = ((h >> 16) % 499 == 0) ? noValue : int16_t(temperature);
    s.humidity = (!hasHumidity || (h >> 24) % 613 == 0) ? noValue : int16_t(humidity);
    return s;
}

int LoggerRecording::numofReport() const
{
    return int(std::min<int64_t>(recordNum, capacity));
}

int64_t LoggerRecording::sampleTime(int64_t i) const
{
    const QDateTime wallClock(start.date(), start.time(), Qt::UTC);
    return wallClock.toSecsSinceEpoch() + int64_t(startDelay) * 60 + i * int64_t(interval) * 5;
}

RecordingStatistics LoggerRecording::statistics() const
{
    RecordingStatistics st{noValue, noValue, noValue, noValue, noValue, noValue, noValue, noValue};
    int64_t tSum = 0, tCount = 0, hSum = 0, hCount = 0;
    int tMax = INT16_MIN, tMin = INT16_MAX, hMax = INT16_MIN, hMin = INT16_MAX;
    for (int64_t i = 0; i < recordNum; ++i) {
        const RecordedSample s = sample(i);
        if (s.temperature != noValue) {
            tMax = std::max<int>(tMax, s.temperature);
            tMin = std::min<int>(tMin, s.temperature);
            tSum += s.temperature;
            ++tCount;
        }
        if (s.humidity != noValue) {
            hMax = std::max<int>(hMax, s.humidity);
            hMin = std::min<int>(hMin, s.humidity);
            hSum += s.humidity;
            ++hCount;
        }
    }
    if (tCount > 0) {
        st.maxTemp = int16_t(tMax);
        st.minTemp = int16_t(tMin);
        st.avgTemp = int16_t(tSum / tCount);
    }
    if (hCount > 0) {
        st.maxHumidity = int16_t(hMax);
        st.minHumidity = int16_t(hMin);
        st.avgHumidity = int16_t(hSum / hCount);
    }
    if (recordNum > 0) {
        st.startTemp = sample(0).temperature;
        st.stopTemp = sample(recordNum - 1).temperature;
    }
    return st;
}

AlarmResult LoggerRecording::evaluate(int wireIndex, const AlertSetting &setting) const
{
    AlarmResult result;
    if (isHumidityAlarm(wireIndex) && !hasHumidity)
        return result;
    const bool high = isHighAlarm(wireIndex);
    // A run of samples beyond the threshold is one event; the alarm is raised when one
    // run (or, accumulated, all of them together) lasts longer than the delay.
    int64_t run = 0;
    int64_t longestRun = 0;
    int64_t total = 0;
    auto endRun = [&] {
        if (run > 0)
            ++result.alertNum;
        longestRun = std::max(longestRun, run);
        run = 0;
    };
    for (int64_t i = 0; i < recordNum; ++i) {
        const RecordedSample s = sample(i);
        const int v = isHumidityAlarm(wireIndex) ? s.humidity : s.temperature;
        const bool beyond =
            v != noValue && (high ? v > setting.alertValue : v < setting.alertValue);
        if (beyond) {
            ++run;
            ++total;
        } else {
            endRun();
        }
    }
    endRun();
    result.alertDuration = uint32_t(std::min<int64_t>(total, UINT32_MAX));
    const int64_t span = (setting.isAccumulate ? total : longestRun) * interval;
    result.isAlertFlag = setting.isOpen && total > 0 && span > setting.delayTime;
    return result;
}

bool LoggerRecording::anyAlarm(const OneConfigCmdStruct &c) const
{
    const std::array<const AlertSetting *, 8> alarms = {&c.th1, &c.tl1, &c.hh,  &c.hl,
                                                        &c.th2, &c.tl2, &c.th3, &c.tl3};
    for (int i = 0; i < 8; ++i) {
        if (alarms[i]->isOpen && evaluate(i, *alarms[i]).isAlertFlag)
            return true;
    }
    return false;
}
