// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveentry.h"

#include "recording/recordingsummary.h"

#include <QSqlQuery>
#include <QVariant>

namespace
{
std::optional<double> optionalDouble(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}
} // namespace

const char *const ArchiveEntry::columns =
    "r.sha256, r.model, r.serial, r.name, r.note, r.start_time, r.stop_time, r.interval_s,"
    " r.samples, r.temp_unit, r.has_humidity, r.alarm, r.out_of_range, r.mkt, r.time_above,"
    " r.time_below, r.temp_min, r.temp_max, r.temp_mean, r.hum_min, r.hum_max, r.hum_mean,"
    " r.added_at, r.added_by, r.content IS NOT NULL, r.expected_samples";

ArchiveEntry ArchiveEntry::fromRow(const QSqlQuery &row)
{
    ArchiveEntry e;
    e.sha256 = row.value(0).toString();
    e.model = row.value(1).toInt();
    e.serial = row.value(2).toString();
    e.name = row.value(3).toString();
    e.note = row.value(4).toString();
    e.start = row.value(5).toLongLong();
    e.stop = row.value(6).toLongLong();
    e.intervalSeconds = row.value(7).toLongLong();
    e.samples = row.value(8).toInt();
    e.tempUnit = row.value(9).toInt();
    e.hasHumidity = row.value(10).toInt() != 0;
    e.alarm = row.value(11).toInt() != 0;
    e.outOfRange = row.value(12).toInt() != 0;
    e.mktCelsius = optionalDouble(row.value(13));
    e.timeAboveSeconds = row.value(14).toLongLong();
    e.timeBelowSeconds = row.value(15).toLongLong();
    e.temperatureMin = optionalDouble(row.value(16));
    e.temperatureMax = optionalDouble(row.value(17));
    e.temperatureMean = optionalDouble(row.value(18));
    e.humidityMin = optionalDouble(row.value(19));
    e.humidityMax = optionalDouble(row.value(20));
    e.humidityMean = optionalDouble(row.value(21));
    e.addedAt = QDateTime::fromSecsSinceEpoch(row.value(22).toLongLong(), Qt::UTC);
    e.addedBy = row.value(23).toString();
    e.hasContent = row.value(24).toBool();
    e.expectedSamples = row.value(25).toInt();
    return e;
}

ArchiveEntry ArchiveEntry::describe(const LoadedRecording &recording)
{
    const ReadDevInfoJson &header = recording.recording;
    ArchiveEntry entry;
    entry.sha256 = recording.sha256;
    entry.model = header.devType;
    entry.serial = header.sn;
    entry.name = header.devName;
    entry.note = header.note;
    if (!recording.samples.isEmpty()) {
        entry.start = recording.samples.constFirst().time;
        entry.stop = recording.samples.constLast().time;
    }
    entry.intervalSeconds = recording.interval;
    entry.samples = recording.samples.size();
    entry.expectedSamples = recording.expectedSamples;
    entry.tempUnit = header.tempUnit;
    entry.hasHumidity = header.isContainHum;
    for (const recordingsummary::AlarmRowLayout &row :
         recordingsummary::alarmRowLayouts(header.isContainHum))
        entry.alarm = entry.alarm || recordingsummary::alarmOf(header, row).isAlertFlag;

    const RecordingAnalysis analysis = RecordingAnalysis::of(recording);
    entry.outOfRange = !analysis.excursions.isEmpty();
    entry.mktCelsius = analysis.mktCelsius;
    entry.timeAboveSeconds = analysis.timeAboveSeconds;
    entry.timeBelowSeconds = analysis.timeBelowSeconds;
    if (analysis.temperature.count > 0) {
        entry.temperatureMin = analysis.temperature.minimum;
        entry.temperatureMax = analysis.temperature.maximum;
        entry.temperatureMean = analysis.temperature.mean;
    }
    if (analysis.humidity.count > 0) {
        entry.humidityMin = analysis.humidity.minimum;
        entry.humidityMax = analysis.humidity.maximum;
        entry.humidityMean = analysis.humidity.mean;
    }
    return entry;
}
