// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a recording file into its header, decoded and classified samples, limits and interval.
#include "recording/recordingreader.h"

#include "core/lgxdevtype.h"
#include "core/units.h"
#include "core/utils.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingfile.h"
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QtEndian>
#include <cstring>
#include <limits>

namespace
{

constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();

// Time arithmetic on values taken from the file saturates instead of
// overflowing, whatever counts and intervals the JSON claims.
qint64 addSaturated(qint64 a, qint64 b)
{
    qint64 sum;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? int64Max : int64Min;
}

qint64 mulSaturated(qint64 a, qint64 b)
{
    qint64 product;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return (a > 0) == (b > 0) ? int64Max : int64Min;
}

bool isNoValue(const uchar *bytes)
{
    return bytes[0] == 0xE0 && bytes[1] == 0xE0;
}

// Decodes and classifies the samples of the remaining device content, read in
// fixed chunks into one reused buffer. Samples may straddle chunk borders.
void readSamples(QIODevice *device, qint64 base, LoadedRecording &result)
{
    const qint64 available = qMax<qint64>(0, device->size() - device->pos()) / 4;
    result.samples.reserve(int(qMin<qint64>(available, RecordingReader::maximumSamples)));

    const bool withHumidity = result.recording.isContainHum;
    const AlarmLimits limits = result.limits;
    const qint64 interval = result.interval;
    qint64 time = base;
    int count = 0;

    char buffer[RecordingReader::chunkSize + 3];
    qint64 carried = 0;
    qint64 got;
    while (count < RecordingReader::maximumSamples &&
           (got = device->read(buffer + carried, RecordingReader::chunkSize)) > 0) {
        const qint64 filled = carried + got;
        const qint64 usable = qMin<qint64>(filled / 4, RecordingReader::maximumSamples - count);
        const auto *bytes = reinterpret_cast<const uchar *>(buffer);
        for (qint64 i = 0; i < usable; ++i, bytes += 4) {
            SamplePoint point;
            point.time = time;
            point.temperature = isNoValue(bytes) ? noSampleTemperature
                                                 : float(qFromLittleEndian<qint16>(bytes)) / 100.0f;
            point.humidity = isNoValue(bytes + 2)
                                 ? noSampleHumidity
                                 : float(qFromLittleEndian<qint16>(bytes + 2)) / 10.0f;
            point.alarmState = limits.classify(point.temperature, point.humidity, withHumidity);
            point.isAlarm = point.alarmState != 0;
            result.samples.append(point);
            time = addSaturated(time, interval);
        }
        count += int(usable);
        carried = filled - usable * 4;
        if (carried > 0 && carried < 4)
            memmove(buffer, buffer + usable * 4, size_t(carried));
    }
}

} // namespace

int RecordingReader::expectedSamples(const ReadDevInfoJson &header)
{
    // The blocks a download requests: the quotient of the recorded count, one
    // more for a partly filled last block of the held ones, at most 63.
    if (header.numofReport <= 0)
        return 0;
    const qint64 blocks =
        qMin<qint64>(maximumBlocks, qMax<qint64>(0, header.recordNum) / samplesPerBlock +
                                        (header.numofReport % samplesPerBlock != 0 ? 1 : 0));
    return int(qMin<qint64>(header.numofReport, blocks * samplesPerBlock));
}

LoadedRecording RecordingReader::read(const QString &path)
{
    QFile file;
    const RecordingStatus opened = RecordingFile::open(path, &file);
    if (opened != RecordingStatus::Loaded) {
        LoadedRecording refused;
        refused.status = opened;
        return refused;
    }
    LoadedRecording result = readFrom(&file);
    if (result.ok() && file.seek(0))
        result.sha256 = RecordingAnalysis::fingerprint(&file);
    return result;
}

LoadedRecording RecordingReader::readBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readFrom(&buffer);
}

LoadedRecording RecordingReader::readFrom(QIODevice *device)
{
    LoadedRecording result;
    if (!device || !device->isReadable())
        return result;

    const qint64 fileSize = device->size() - device->pos();
    if (!device->isSequential() && fileSize > maximumFileSize) {
        result.status = RecordingStatus::TooLarge;
        return result;
    }
    if (fileSize < minimumFileSize) {
        result.status = RecordingStatus::TooShort;
        return result;
    }

    char name[recordingModelNameSize];
    if (device->read(name, recordingModelNameSize) != recordingModelNameSize ||
        modelFromName(QString::fromLatin1(name, int(qstrnlen(name, sizeof name)))) == NoDevType) {
        result.status = RecordingStatus::UnknownModel;
        return result;
    }

    // The length is checked against the bytes that follow before any buffer
    // is allocated for the JSON text.
    uchar lengthBytes[4];
    const qint64 jsonLength = device->read(reinterpret_cast<char *>(lengthBytes), 4) == 4
                                  ? qFromLittleEndian<qint32>(lengthBytes)
                                  : 0;
    if (jsonLength <= 0 || jsonLength > fileSize - recordingModelNameSize - 4) {
        result.status = RecordingStatus::BadJsonLength;
        return result;
    }
    const QByteArray json = device->read(jsonLength);
    if (json.size() != jsonLength) {
        result.status = RecordingStatus::BadJsonLength;
        return result;
    }
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (document.isNull()) {
        result.status = RecordingStatus::BadJson;
        return result;
    }

    // A fresh record carries the presets that older files rely on: devType 0,
    // isContainHum true, startTemp and stopTemp -7968, sensorType 0.
    ReadDevInfoJson &recording = result.recording;
    recording.fromJson(document.object());
    result.limits = AlarmLimits::fromRecording(recording);
    result.interval = qint64(recording.recordInterval) * intervalUnitSecs;

    // The time base is taken in wall-clock space, so a daylight-saving change
    // inside the overwritten span or the start delay never shifts the samples.
    qint64 base = wallClockSecs(recording.startRecordTime);
    base = addSaturated(base, mulSaturated(recording.overWirteRecordNum, result.interval));
    base = addSaturated(base, qint64(recording.startDelay) * 60);
    readSamples(device, base, result);
    result.expectedSamples = expectedSamples(recording);

    const qint64 count = result.samples.size();
    if (count > 0) {
        recording.shownDuration = mulSaturated(count - 1, result.interval);
        recording.totalDuration =
            mulSaturated(result.interval, addSaturated(recording.overWirteRecordNum, count - 1));
    }
    result.status = RecordingStatus::Loaded;
    return result;
}

QString recordingStatusText(RecordingStatus status)
{
    switch (status) {
    case RecordingStatus::UnreadableName:
        return QStringLiteral("its name is not valid UTF-8");
    case RecordingStatus::NotRegularFile:
        return QStringLiteral("it is not a regular file");
    case RecordingStatus::TooLarge:
        return QStringLiteral("it is larger than %1 bytes, more than any recording holds")
            .arg(RecordingReader::maximumFileSize);
    case RecordingStatus::TooShort:
        return QStringLiteral("it is too short");
    case RecordingStatus::UnknownModel:
        return QStringLiteral("it names no known logger model");
    case RecordingStatus::BadJsonLength:
        return QStringLiteral("its header length is wrong");
    case RecordingStatus::BadJson:
        return QStringLiteral("its header is not valid JSON");
    default:
        return QString();
    }
}
