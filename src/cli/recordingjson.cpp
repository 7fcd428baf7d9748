// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingJson: a loaded recording as the JSON document that `hygra-cli show` prints.
#include "cli/recordingjson.h"

#include "core/units.h"
#include "recording/recordingsummary.h"

#include <QDateTime>
#include <QJsonArray>

namespace
{

const char *const statisticKeys[] = {"maxTemp",     "minTemp",     "avgTemp",
                                     "maxHumidity", "minHumidity", "avgHumidity"};
struct AlarmKey {
    const char *key;
    const AlertDataJson ReadDevInfoJson::*alarm;
};
const AlarmKey alarmKeys[] = {
    {"th1", &ReadDevInfoJson::th1}, {"th2", &ReadDevInfoJson::th2}, {"th3", &ReadDevInfoJson::th3},
    {"tl1", &ReadDevInfoJson::tl1}, {"tl2", &ReadDevInfoJson::tl2}, {"tl3", &ReadDevInfoJson::tl3},
    {"hh", &ReadDevInfoJson::hh},   {"hl", &ReadDevInfoJson::hl},
};

// The name the summary and the report give the alarm stored under `alarm`; a
// recording's keys run opposite to the names for the temperature levels.
QString alarmLabel(const AlertDataJson ReadDevInfoJson::*alarm)
{
    for (const recordingsummary::AlarmRowLayout &row : recordingsummary::alarmRowLayouts(true)) {
        if (row.alarm == alarm)
            return row.label;
    }
    return QString();
}

// Rounded to two decimals, so float noise does not show in the text.
QJsonValue measured(float value, float missing)
{
    if (value == missing)
        return QJsonValue();
    return qRound64(double(value) * 100) / 100.0;
}

QJsonObject sampleJson(const SamplePoint &sample, bool withHumidity)
{
    QJsonObject o;
    o.insert(QStringLiteral("time"), RecordingJson::timeText(sample.time));
    o.insert(QStringLiteral("temperature"), measured(sample.temperature, noSampleTemperature));
    if (withHumidity)
        o.insert(QStringLiteral("humidity"), measured(sample.humidity, noSampleHumidity));
    o.insert(QStringLiteral("alarmState"), sample.alarmState);
    o.insert(QStringLiteral("isAlarm"), sample.isAlarm);
    return o;
}

} // namespace

QString RecordingJson::timeText(qint64 wallClockSecs)
{
    // ISO 8601 in UTC without its "Z": wall-clock time carries no zone.
    const QString text =
        QDateTime::fromSecsSinceEpoch(wallClockSecs, Qt::UTC).toString(Qt::ISODate);
    return text.isEmpty() ? text : text.chopped(1);
}

QJsonObject RecordingJson::toJson(const LoadedRecording &recording, bool withSamples)
{
    const ReadDevInfoJson &header = recording.recording;
    QJsonObject stored;
    header.toJson(stored);

    QJsonObject statistics;
    for (const char *key : statisticKeys)
        statistics.insert(QLatin1String(key), stored.take(QLatin1String(key)));
    statistics.insert(QStringLiteral("sampleCount"), recording.samples.size());
    statistics.insert(QStringLiteral("expectedSampleCount"), recording.expectedSamples);
    statistics.insert(QStringLiteral("intervalSeconds"), double(recording.interval));
    statistics.insert(QStringLiteral("shownDuration"), double(header.shownDuration));
    statistics.insert(QStringLiteral("totalDuration"), double(header.totalDuration));

    QJsonObject alarms;
    for (const AlarmKey &a : alarmKeys) {
        QJsonObject alarm = stored.take(QLatin1String(a.key)).toObject();
        alarm.insert(QStringLiteral("label"), alarmLabel(a.alarm));
        alarms.insert(QLatin1String(a.key), alarm);
    }

    QJsonObject o;
    o.insert(QStringLiteral("complete"), recording.complete());
    o.insert(QStringLiteral("header"), stored);
    o.insert(QStringLiteral("statistics"), statistics);
    o.insert(QStringLiteral("alarms"), alarms);
    if (withSamples) {
        QJsonArray samples;
        for (const SamplePoint &sample : recording.samples)
            samples.append(sampleJson(sample, header.isContainHum));
        o.insert(QStringLiteral("samples"), samples);
    }
    return o;
}
