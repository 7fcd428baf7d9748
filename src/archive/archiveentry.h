// SPDX-License-Identifier: GPL-3.0-or-later
// What the archive holds of one recording, and the filter of a search.
#pragma once

#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"

#include <QDateTime>
#include <QString>
#include <optional>

class QSqlQuery;

struct ArchiveEntry {
    // The SHA-256 of the file in lower-case hex: one entry per file content.
    QString sha256;
    // LgxDevType of the logger.
    int model = 0;
    QString serial;
    QString name;
    QString note;
    // Wall-clock seconds of the first and the last sample (the logger's local time read as UTC).
    qint64 start = 0;
    qint64 stop = 0;
    qint64 intervalSeconds = 0;
    int samples = 0;
    // The samples the file's header promises; 0 for entries an older program added.
    int expectedSamples = 0;
    // 0 °C, 1 °F: the unit the recording shows.
    int tempUnit = 0;
    bool hasHumidity = false;
    // The logger raised one of its alarms.
    bool alarm = false;
    // A valid temperature left the recording's alarm range (TL1 to TH1).
    bool outOfRange = false;
    std::optional<double> mktCelsius;
    qint64 timeAboveSeconds = 0;
    qint64 timeBelowSeconds = 0;
    // Over the valid samples, in °C and %RH; empty without a valid value.
    std::optional<double> temperatureMin;
    std::optional<double> temperatureMax;
    std::optional<double> temperatureMean;
    std::optional<double> humidityMin;
    std::optional<double> humidityMax;
    std::optional<double> humidityMean;
    QDateTime addedAt;
    // The computer that added the recording.
    QString addedBy;

    // Where the file lies on this computer; empty when it lies on none of its folders.
    QString path;
    // The file was added from this computer and is no longer where it was.
    bool fileGone = false;
    // A team archive holds the file's bytes.
    bool hasContent = false;
    // The meaning of its newest signature ("revoke" when that withdrew one);
    // empty when it was never signed.
    QString signedAs;

    // The file holds fewer samples than its header promises.
    bool complete() const { return samples >= expectedSamples; }

    // The figures of `recording` (read from a file, with its fingerprint) and its analysis.
    static ArchiveEntry describe(const LoadedRecording &recording);

    // The columns of `recordings r` that fromRow() reads, in its order.
    static const char *const columns;
    // An entry from a row whose first values are `columns`; the place is left empty.
    static ArchiveEntry fromRow(const QSqlQuery &row);
};

// A search of the archive; an empty member does not restrict it.
struct ArchiveFilter {
    // One entry by its fingerprint.
    QString sha256;
    QString serial;
    // Wall-clock seconds: recordings that hold a sample in [from, to].
    std::optional<qint64> from;
    std::optional<qint64> to;
    bool outOfRangeOnly = false;
    // Only recordings without a standing signature ("not yet reviewed").
    bool unsignedOnly = false;
    // Text in the name, the note or the serial number, any case.
    QString text;
    // At most this many entries, the newest; 0 for all.
    int limit = 0;
};
