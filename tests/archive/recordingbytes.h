// SPDX-License-Identifier: GPL-3.0-or-later
// Small recording files for the archive's suites.
#pragma once

#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QDateTime>
#include <QtEndian>

// An HX20D recording of one-minute samples; TL1 is 0 °C and TH1 30 °C.
struct SmallRecording {
    QString sn;
    QString name;
    QString note;
    QDateTime start;
    int count = 100;
    // Hundredths of °C of the first sample; the others rise by up to 0.06 °C.
    qint16 temperature = 2000;
};

inline QByteArray recordingBytes(const SmallRecording &recording)
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.sn = recording.sn;
    info.devName = recording.name;
    info.note = recording.note;
    info.recordInterval = 12;
    info.recordNum = recording.count;
    info.numofReport = recording.count;
    info.startRecordTime = recording.start;
    info.stopRecordTime = recording.start.addSecs(qint64(recording.count) * 60);
    info.tl3.isOpen = true;
    info.tl3.alertValue = 0;
    info.th3.isOpen = true;
    info.th3.alertValue = 3000;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeRecordingHeader(&buffer, info);
    for (int i = 0; i < recording.count; ++i) {
        char sample[4];
        qToLittleEndian(qint16(recording.temperature + i % 7), sample);
        qToLittleEndian(qint16(500), sample + 2);
        buffer.write(sample, 4);
    }
    return bytes;
}
