// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a recording file into its header, decoded and classified samples, limits and interval.
#pragma once

#include "recording/loadedrecording.h"

#include <QString>

class QIODevice;

// Why a file that opened is no recording ("it is too short", …); empty for
// Loaded and CannotOpen.
QString recordingStatusText(RecordingStatus status);

// Stateless and reentrant: every call builds its own result, so it can run on
// a pool thread (`QtConcurrent::run(&RecordingReader::read, path)`).
class RecordingReader
{
public:
    // Shorter files are rejected: a complete header alone is longer.
    static constexpr qint64 minimumFileSize = 1024;
    // Bytes read per chunk from the sample area.
    static constexpr int chunkSize = 4096;
    // Upper bound on the samples taken from one file (65 times a logger's
    // memory), so a huge file cannot exhaust memory; later samples are ignored.
    static constexpr int maximumSamples = 1 << 22;

    // Also takes the file's fingerprint (its SHA-256) into the result.
    static LoadedRecording read(const QString &path);
    // Reads from the current position of an open, readable device to its end.
    static LoadedRecording readFrom(QIODevice *device);
};
