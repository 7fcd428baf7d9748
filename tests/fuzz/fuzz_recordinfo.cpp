// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any record-information and alarm-statistics answers become a readable recording.
//
// Input: one byte choosing the model, the 47 bytes of a record-information answer,
// the 89 bytes of an alarm-statistics answer, then the sample bytes.
#include "core/lgxdevtype.h"
#include "device/recorddownload.h"
#include "fuzzsupport.h"
#include "recording/recordingreader.h"
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <cstdint>
#include <cstring>

using fuzzsupport::require;

namespace
{
constexpr int recordInfoSize = 47;
constexpr int alarmStatisticsSize = 89;

OneConfigCmdStruct loggerConfig(uint8_t flags)
{
    OneConfigCmdStruct config{};
    std::strcpy(config.devName, "Fridge 2");
    config.devId = flags;
    config.sensorType = flags % 3;
    config.th1.isOpen = flags & 1;
    config.hh.isOpen = flags & 2;
    config.tl3.isOpen = flags & 4;
    return config;
}

bool sameAlarm(const AlertDataJson &a, const AlertDataJson &b)
{
    return a.isOpen == b.isOpen && a.alertValue == b.alertValue &&
           a.isAccumulate == b.isAccumulate && a.delayTime == b.delayTime &&
           a.alertDuration == b.alertDuration && a.alertNum == b.alertNum &&
           a.isAlertFlag == b.isAlertFlag;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 + recordInfoSize + alarmStatisticsSize)
        return 0;
    const int model = data[0] & 1 ? HX20D : HX10D;
    const auto *bytes = reinterpret_cast<const char *>(data);
    const QByteArray recordInfo(bytes + 1, recordInfoSize);
    const QByteArray alarmStatistics(bytes + 1 + recordInfoSize, alarmStatisticsSize);
    const qint64 headerEnd = 1 + recordInfoSize + alarmStatisticsSize;
    const QByteArray samples(bytes + headerEnd, int(qint64(size) - headerEnd));

    RecordDownload download;
    const OneConfigCmdStruct config = loggerConfig(data[0] >> 1);
    if (!download.takeRecordInfo(recordInfo, model, config))
        return 0;
    download.takeAlarmStatistics(alarmStatistics, config, QStringLiteral("A1234567"),
                                 QStringLiteral("note"));
    const ReadDevInfoJson &written = download.recordInfo;
    require(written.blockCount >= 0 && written.blockCount <= RecordDownload::maxBlockCount);
    require(written.overWirteRecordNum >= 0 && written.overWirteRecordNum <= written.recordNum);

    // Whatever the logger said, the recording file made of it opens again.
    QByteArray file;
    QBuffer out(&file);
    out.open(QIODevice::WriteOnly);
    require(writeRecordingHeader(&out, written));
    out.write(samples);
    out.close();
    QBuffer in(&file);
    in.open(QIODevice::ReadOnly);
    const LoadedRecording loaded = RecordingReader::readFrom(&in);
    require(loaded.ok());
    const ReadDevInfoJson &read = loaded.recording;
    require(read.recordNum == written.recordNum && read.numofReport == written.numofReport);
    require(read.overWirteRecordNum == written.overWirteRecordNum);
    require(read.devType == written.devType && read.isContainHum == written.isContainHum);
    require(read.startTemp == written.startTemp && read.stopTemp == written.stopTemp);
    require(read.recordInterval == written.recordInterval);
    require(sameAlarm(read.th1, written.th1) && sameAlarm(read.th2, written.th2) &&
            sameAlarm(read.th3, written.th3) && sameAlarm(read.tl1, written.tl1) &&
            sameAlarm(read.tl2, written.tl2) && sameAlarm(read.tl3, written.tl3) &&
            sameAlarm(read.hh, written.hh) && sameAlarm(read.hl, written.hl));
    require(loaded.samples.size() == samples.size() / 4);
    return 0;
}
