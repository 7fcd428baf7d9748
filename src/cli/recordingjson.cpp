// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingJson: a loaded recording as the JSON document that `hygra-cli show` prints.
#include "cli/recordingjson.h"

#include "core/units.h"

#include <QDateTime>
#include <QJsonArray>

namespace
{

const char *const statisticKeys[] = {"maxTemp",     "minTemp",     "avgTemp",
                                     "maxHumidity", "minHumidity", "avgHumidity"};
const char *const alarmKeys[] = {"th1", "th2", "th3", "tl1", "tl2", "tl3", "hh", "hl"};

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
    o.insert(QStringLiteral("time"),
             QDateTime::fromSecsSinceEpoch(sample.time, Qt::UTC).toString(Qt::ISODate).chopped(1));
    o.insert(QStringLiteral("temperature"), measured(sample.temperature, noSampleTemperature));
    if (withHumidity)
        o.insert(QStringLiteral("humidity"), measured(sample.humidity, noSampleHumidity));
    o.insert(QStringLiteral("alarmState"), sample.alarmState);
    o.insert(QStringLiteral("isAlarm"), sample.isAlarm);
    return o;
}

} // namespace

QJsonObject RecordingJson::toJson(const LoadedRecording &recording, bool withSamples)
{
    const ReadDevInfoJson &header = recording.recording;
    QJsonObject stored;
    header.toJson(stored);

    QJsonObject statistics;
    for (const char *key : statisticKeys)
        statistics.insert(QLatin1String(key), stored.take(QLatin1String(key)));
    statistics.insert(QStringLiteral("sampleCount"), recording.samples.size());
    statistics.insert(QStringLiteral("intervalSeconds"), double(recording.interval));
    statistics.insert(QStringLiteral("shownDuration"), double(header.shownDuration));
    statistics.insert(QStringLiteral("totalDuration"), double(header.totalDuration));

    QJsonObject alarms;
    for (const char *key : alarmKeys)
        alarms.insert(QLatin1String(key), stored.take(QLatin1String(key)));

    QJsonObject o;
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
