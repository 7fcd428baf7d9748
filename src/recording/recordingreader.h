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
    // A download fetches blocks of 1,024 samples, at most 63 of them.
    static constexpr int samplesPerBlock = 1024;
    static constexpr int maximumBlocks = 63;
    // The largest memory a logger has: the most samples one download brings,
    // 64,512 (258,048 bytes).
    static constexpr int loggerMemorySamples = maximumBlocks * samplesPerBlock;
    // Upper bound on the samples taken from one file: sixteen full memories
    // (1,032,192 samples), room for recordings put together from several
    // downloads, so that a huge file cannot exhaust memory; later samples are
    // ignored.
    static constexpr int maximumSamples = 16 * loggerMemorySamples;
    // Room for the header: its JSON text is about 1.5 KiB, and the longest
    // name and note a logger holds keep it far below this.
    static constexpr qint64 maximumHeaderSize = 64 * 1024;
    // Larger files are refused unread (4 MiB): no recording is that long, and a
    // file of gigabytes would otherwise be read to its end.
    static constexpr qint64 maximumFileSize = maximumHeaderSize + qint64(maximumSamples) * 4;

    // Reads only a regular file of at most maximumFileSize bytes (see
    // RecordingFile); also takes the file's fingerprint (its SHA-256) into the result.
    static LoadedRecording read(const QString &path);
    // Reads from the current position of an open, readable device to its end.
    static LoadedRecording readFrom(QIODevice *device);
    // Reads a recording held in memory as from its file; the fingerprint is left to the caller.
    static LoadedRecording readBytes(QByteArray bytes);

    // The samples a download of a logger with this header writes into the
    // file: those the logger held, in the blocks the download requests.
    static int expectedSamples(const ReadDevInfoJson &header);
};
