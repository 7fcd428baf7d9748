// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes read as a recording file, with the reader's promises checked.
#include "fuzzsupport.h"
#include "recording/recordingreader.h"
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QJsonObject>
#include <cstdint>
#include <cstdlib>

using fuzzsupport::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    const LoadedRecording loaded = RecordingReader::readFrom(&buffer);

    if (!loaded.ok()) {
        require(loaded.samples.isEmpty());
        return 0;
    }
    // Every sample comes from four bytes after the header; nothing is invented.
    const qint64 headerSize = recordingModelNameSize + 4;
    require(loaded.samples.size() <= (qint64(size) - headerSize) / 4);
    require(loaded.samples.size() <= RecordingReader::maximumSamples);
    for (const SamplePoint &point : loaded.samples) {
        require(point.alarmState >= 0 && point.alarmState <= 2);
        require(point.isAlarm == (point.alarmState != 0));
    }
    // Whatever the file held, the header survives a write and a second read.
    QJsonObject object;
    loaded.recording.toJson(object);
    ReadDevInfoJson again;
    again.fromJson(object);
    require(again.recordNum == loaded.recording.recordNum);
    require(again.overWirteRecordNum == loaded.recording.overWirteRecordNum);
    require(again.note == loaded.recording.note);
    return 0;
}
