// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/recordinghistory.h"

#include "core/units.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <queue>
#include <vector>

namespace
{
QDateTime fromWallClock(qint64 secs)
{
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
    return QDateTime(utc.date(), utc.time());
}

bool hasTemperature(const SamplePoint &s)
{
    return s.temperature > noSampleTemperature;
}

bool hasHumidity(const SamplePoint &s)
{
    return s.humidity > noSampleHumidity;
}

// The header's statistics in its units: hundredths of °C, tenths of %RH.
void computeStatistics(const QVector<SamplePoint> &samples, ReadDevInfoJson &h)
{
    double tMin = 0, tMax = 0, tSum = 0, hMin = 0, hMax = 0, hSum = 0;
    qint64 tCount = 0, hCount = 0;
    for (const SamplePoint &s : samples) {
        if (hasTemperature(s)) {
            tMin = tCount ? std::min<double>(tMin, s.temperature) : s.temperature;
            tMax = tCount ? std::max<double>(tMax, s.temperature) : s.temperature;
            tSum += s.temperature;
            ++tCount;
        }
        if (hasHumidity(s)) {
            hMin = hCount ? std::min<double>(hMin, s.humidity) : s.humidity;
            hMax = hCount ? std::max<double>(hMax, s.humidity) : s.humidity;
            hSum += s.humidity;
            ++hCount;
        }
    }
    h.maxTemp = tCount ? int(std::lround(tMax * 100)) : noValueMarker;
    h.minTemp = tCount ? int(std::lround(tMin * 100)) : noValueMarker;
    h.avgTemp = tCount ? int(std::lround(tSum / tCount * 100)) : noValueMarker;
    h.maxHumidity = hCount ? int(std::lround(hMax * 10)) : noValueMarker;
    h.minHumidity = hCount ? int(std::lround(hMin * 10)) : noValueMarker;
    h.avgHumidity = hCount ? int(std::lround(hSum / hCount * 10)) : noValueMarker;
    const auto stored = [](const SamplePoint &s) {
        return hasTemperature(s) ? int(std::lround(s.temperature * 100)) : noValueMarker;
    };
    h.startTemp = samples.isEmpty() ? noValueMarker : stored(samples.constFirst());
    h.stopTemp = samples.isEmpty() ? noValueMarker : stored(samples.constLast());
}

// The logger's rule over the merged samples: a run of samples beyond the
// threshold is one event, and the alarm is raised when one run (accumulated:
// all runs together) lasts longer than the delay.
void evaluateAlarm(const QVector<SamplePoint> &samples, int recordInterval, bool high,
                   bool humidity, AlertDataJson &alarm)
{
    qint64 run = 0, longest = 0, total = 0;
    int events = 0;
    for (const SamplePoint &s : samples) {
        const bool present = humidity ? hasHumidity(s) : hasTemperature(s);
        const int value = humidity ? int(std::lround(s.humidity * 10))
                                   : int(std::lround(s.temperature * 100));
        const bool beyond =
            present && (high ? value > alarm.alertValue : value < alarm.alertValue);
        if (beyond) {
            ++run;
            ++total;
            continue;
        }
        events += run > 0;
        longest = std::max(longest, run);
        run = 0;
    }
    events += run > 0;
    longest = std::max(longest, run);
    alarm.alertDuration = total;
    alarm.alertNum = events;
    const qint64 span = (alarm.isAccumulate ? total : longest) * recordInterval;
    alarm.isAlertFlag = alarm.isOpen && total > 0 && span > alarm.delayTime;
}

QVector<SamplePoint> mergeSamples(const QVector<LoadedRecording> &recordings)
{
    struct Cursor {
        qint64 time;
        int recording;
        int index;
        bool operator>(const Cursor &o) const
        {
            return time != o.time ? time > o.time : recording > o.recording;
        }
    };
    std::priority_queue<Cursor, std::vector<Cursor>, std::greater<Cursor>> heads;
    int total = 0;
    for (int r = 0; r < recordings.size(); ++r) {
        total += recordings.at(r).samples.size();
        if (!recordings.at(r).samples.isEmpty())
            heads.push({recordings.at(r).samples.constFirst().time, r, 0});
    }
    QVector<SamplePoint> merged;
    merged.reserve(total);
    while (!heads.empty()) {
        const Cursor head = heads.top();
        heads.pop();
        const QVector<SamplePoint> &samples = recordings.at(head.recording).samples;
        if (merged.isEmpty() || head.time > merged.constLast().time)
            merged.append(samples.at(head.index));
        if (head.index + 1 < samples.size())
            heads.push({samples.at(head.index + 1).time, head.recording, head.index + 1});
    }
    return merged;
}
} // namespace

LoadedRecording mergeHistory(const QVector<LoadedRecording> &recordings)
{
    LoadedRecording history;
    if (recordings.isEmpty())
        return history;
    const LoadedRecording &latest = recordings.constLast();
    history.status = RecordingStatus::Loaded;
    history.recording = latest.recording;
    history.limits = latest.limits;
    history.interval = latest.interval;
    history.samples = mergeSamples(recordings);

    ReadDevInfoJson &h = history.recording;
    const QVector<SamplePoint> &samples = history.samples;
    h.recordNum = samples.size();
    h.numofReport = samples.size();
    h.overWirteRecordNum = 0;
    h.startDelay = 0;
    if (!samples.isEmpty()) {
        h.startRecordTime = fromWallClock(samples.constFirst().time);
        h.stopRecordTime = fromWallClock(samples.constLast().time);
        h.shownDuration = samples.constLast().time - samples.constFirst().time;
        h.totalDuration = h.shownDuration;
    }
    computeStatistics(samples, h);
    const struct {
        AlertDataJson ReadDevInfoJson::*alarm;
        bool high;
        bool humidity;
    } alarms[] = {
        {&ReadDevInfoJson::th1, true, false}, {&ReadDevInfoJson::th2, true, false},
        {&ReadDevInfoJson::th3, true, false}, {&ReadDevInfoJson::tl1, false, false},
        {&ReadDevInfoJson::tl2, false, false}, {&ReadDevInfoJson::tl3, false, false},
        {&ReadDevInfoJson::hh, true, true},   {&ReadDevInfoJson::hl, false, true},
    };
    for (const auto &a : alarms)
        evaluateAlarm(samples, h.recordInterval, a.high, a.humidity, h.*a.alarm);
    return history;
}
