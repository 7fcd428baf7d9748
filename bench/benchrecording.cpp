// SPDX-License-Identifier: GPL-3.0-or-later
// The recording file the figure groups open: a full HX20D memory or larger.
#include "benchrecording.h"

#include "recording/readdevinfojson.h"
#include "recording/recordingwriter.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>

bool writeBenchRecording(const QString &path, int count, const QString &serial, int startMinute)
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.devName = QStringLiteral("Bench");
    info.sn = serial;
    info.recordInterval = 12;
    info.recordNum = count;
    info.numofReport = count;
    info.startRecordTime = QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(qint64(startMinute) * 60);
    info.stopRecordTime = info.startRecordTime.addSecs(qint64(count) * 60);
    info.configTime = info.startRecordTime;
    info.maxTemp = 3400;
    info.minTemp = 1000;
    info.avgTemp = 2200;
    info.maxHumidity = 800;
    info.minHumidity = 300;
    info.avgHumidity = 550;
    info.th1.isOpen = true;
    info.th1.alertValue = 3000;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeRecordingHeader(&file, info))
        return false;
    QByteArray samples(count * 4, Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        const int minute = startMinute + i;
        const double phase = minute * 2 * M_PI / 1440;
        const qint16 t = qint16(2200 + 1200 * std::sin(phase));
        const qint16 h = qint16(550 + 250 * std::cos(phase));
        uchar *bytes = reinterpret_cast<uchar *>(samples.data()) + i * 4;
        if (minute % 997 == 0) {
            std::fill(bytes, bytes + 4, uchar(0xE0));
            continue;
        }
        qToLittleEndian(t, bytes);
        qToLittleEndian(h, bytes + 2);
    }
    return file.write(samples) == samples.size();
}
