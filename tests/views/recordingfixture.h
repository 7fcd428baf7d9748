// SPDX-License-Identifier: GPL-3.0-or-later
// Builds recording headers and files with chosen samples for the view tests.
#pragma once

#include "recording/readdevinfojson.h"
#include "recording/recordingwriter.h"
#include "recording/samplepoint.h"

#include <QFile>
#include <QVector>
#include <QtEndian>

namespace fixture
{

// A plausible HX20D header: 1 minute interval, humidity, all alarms closed.
inline ReadDevInfoJson header()
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.devName = QStringLiteral("Cold room 2");
    info.sn = QStringLiteral("2311000042");
    info.id = QStringLiteral("17");
    info.note = QStringLiteral("Batch 7");
    info.recordInterval = 12;
    info.startRecordTime = QDateTime(QDate(2024, 3, 1), QTime(8, 0, 0));
    info.stopRecordTime = QDateTime(QDate(2024, 3, 2), QTime(8, 0, 0));
    info.configTime = QDateTime(QDate(2024, 2, 29), QTime(17, 30, 5));
    info.maxTemp = 2510;
    info.minTemp = 1890;
    info.avgTemp = 2200;
    info.maxHumidity = 655;
    info.minHumidity = 402;
    info.avgHumidity = 531;
    info.startOperation = 1;
    info.stopOperation = 4;
    info.recordMode = 1;
    info.isContainHum = true;
    return info;
}

// The four bytes of one sample: hundredths of °C and tenths of %RH, or the
// no-value bytes E0 E0 for a field given as nullptr.
inline QByteArray sampleBytes(const int *centiCelsius, const int *deciPercent)
{
    QByteArray bytes(4, char(0xE0));
    if (centiCelsius)
        qToLittleEndian<qint16>(qint16(*centiCelsius), bytes.data());
    if (deciPercent)
        qToLittleEndian<qint16>(qint16(*deciPercent), bytes.data() + 2);
    return bytes;
}

inline QByteArray sample(int centiCelsius, int deciPercent)
{
    return sampleBytes(&centiCelsius, &deciPercent);
}

// Writes the header and the raw sample bytes; false when anything fails.
inline bool writeFile(const QString &path, const ReadDevInfoJson &info, const QByteArray &samples)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return writeRecordingHeader(&file, info) && file.write(samples) == samples.size();
}

// Samples as the reader delivers them, for feeding the views directly.
inline SamplePoint point(qint64 time, float temperature, float humidity, int alarmState = 0)
{
    SamplePoint p;
    p.time = time;
    p.temperature = temperature;
    p.humidity = humidity;
    p.alarmState = alarmState;
    p.isAlarm = alarmState != 0;
    return p;
}

} // namespace fixture
