// SPDX-License-Identifier: GPL-3.0-or-later
// Everything a recording file yields when it is read: header, samples, limits and interval.
#pragma once

#include "recording/alarmlimits.h"
#include "recording/readdevinfojson.h"
#include "recording/recordingreview.h"
#include "recording/samplepoint.h"

#include <QMetaType>
#include <QString>
#include <QVector>
#include <optional>

// Why reading stopped; the checks run in this order and the first failure wins.
enum class RecordingStatus {
    Loaded,
    CannotOpen,     // the file does not open for reading
    UnreadableName, // the name is not valid in the system's file name encoding
    NotRegularFile, // a folder, pipe, device or socket, or a link to one
    TooLarge,       // more bytes than any recording holds
    TooShort,       // fewer than 1024 bytes
    UnknownModel,   // the first ten bytes name no known model
    BadJsonLength,  // the JSON length is not positive or exceeds the file
    BadJson,        // the JSON text does not parse
};
Q_DECLARE_METATYPE(RecordingStatus)

// A self-contained value: the reader builds it on any thread and hands it over
// whole, so no view ever sees a half-filled recording.
// The temperature range (°C, low < high) and activation energy (kJ/mol) a
// user chose for a logger's evaluations instead of its level-1 limits.
struct ChosenEvaluation {
    double low = 0;
    double high = 0;
    double activationEnergyKJ = 0;
};

struct LoadedRecording {
    RecordingStatus status = RecordingStatus::CannotOpen;
    // The header, with shownDuration and totalDuration already computed.
    ReadDevInfoJson recording;
    // In file order, oldest first.
    QVector<SamplePoint> samples;
    AlarmLimits limits;
    // Seconds between samples (recordInterval × 5).
    qint64 interval = 0;
    // The SHA-256 of the whole file in lower-case hex, when read from a file.
    QString sha256;
    // The samples its header says a download brought; a file cut short holds
    // fewer. 0 for a header without counts, as older files and merged
    // recordings have.
    int expectedSamples = 0;
    // The evaluation chosen for this logger; empty for the recording's own limits.
    std::optional<ChosenEvaluation> evaluation;
    // Its comments and signatures in the archive's trail; empty when the
    // archive was not asked or holds none.
    RecordingReview review;

    bool ok() const { return status == RecordingStatus::Loaded; }
    // Holds every sample its header promises.
    bool complete() const { return samples.size() >= expectedSamples; }
};
