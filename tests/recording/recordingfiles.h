// SPDX-License-Identifier: GPL-3.0-or-later
// Builders of recording file contents shared by the recording test suites.
#pragma once

#include "recording/recordingreader.h"
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QtEndian>

namespace recordingfiles
{

// A buffer that remembers the largest read the reader asked of it.
class WatchedBuffer : public QBuffer
{
public:
    qint64 largestRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        largestRead = qMax(largestRead, maxSize);
        return QBuffer::readData(data, maxSize);
    }
};

// An HX20D record with humidity and closed alarms, one sample a minute.
inline ReadDevInfoJson basicRecord()
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.recordInterval = 12;
    return info;
}

inline QByteArray header(const ReadDevInfoJson &info)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeRecordingHeader(&buffer, info);
    return bytes;
}

// The ten name bytes, a length field and the given JSON text, written raw.
inline QByteArray rawHeader(const QByteArray &name, qint32 length, const QByteArray &json)
{
    QByteArray bytes = name.leftJustified(10, '\0', true);
    char lengthBytes[4];
    qToLittleEndian(length, lengthBytes);
    return bytes + QByteArray(lengthBytes, 4) + json;
}

inline QByteArray compactJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Pads the note so the written header (name, length and JSON) is exactly
// `size` bytes; `size` must exceed the header of the record with an empty note.
inline ReadDevInfoJson withHeaderSize(ReadDevInfoJson info, int size)
{
    info.note.clear();
    info.note = QString(size - header(info).size(), QLatin1Char('n'));
    return info;
}

// A header of exactly `size` bytes for a short JSON text, padded with the
// white space JSON allows after a value.
inline QByteArray smallHeader(const QByteArray &name, const QByteArray &json, int size)
{
    return rawHeader(name, size - 14, json.leftJustified(size - 14, ' '));
}

// The four sample bytes of a temperature and humidity in raw logger units.
inline QByteArray sample(qint16 temperature, qint16 humidity)
{
    char bytes[4];
    qToLittleEndian(temperature, bytes);
    qToLittleEndian(humidity, bytes + 2);
    return QByteArray(bytes, 4);
}

inline LoadedRecording readBytes(const QByteArray &bytes, qint64 *largestRead = nullptr)
{
    WatchedBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadedRecording result = RecordingReader::readFrom(&buffer);
    if (largestRead)
        *largestRead = buffer.largestRead;
    return result;
}

} // namespace recordingfiles
