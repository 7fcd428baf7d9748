// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveentry.h"

#include "recording/recordingsummary.h"

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
