// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of the record-information and alarm-statistics answers and the recording file.
#include "device/recorddownload.h"

#include "core/lgxdevtype.h"
#include "core/newfile.h"
#include "core/utils.h"
#include "device/devicetext.h"
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>
#include <array>

namespace
{
constexpr int samplesPerBlock = 1024;
constexpr int payloadSize = 4096;

int signedByte(const QByteArray &frame, int offset)
{
    return static_cast<signed char>(frame.at(offset));
}

int unsigned16(const QByteArray &frame, int offset)
{
    return static_cast<uint16_t>(readInt16LE(frame.constData() + offset));
}

int signed16(const QByteArray &frame, int offset)
{
    return readInt16LE(frame.constData() + offset);
}

QDateTime dateTimeAt(const QByteArray &frame, int offset)
{
    return QDateTime(QDate(signedByte(frame, offset) + 2000, signedByte(frame, offset + 1),
                           signedByte(frame, offset + 2)),
                     QTime(signedByte(frame, offset + 3), signedByte(frame, offset + 4),
                           signedByte(frame, offset + 5)));
}
} // namespace

RecordDownload::RecordDownload() = default;

RecordDownload::~RecordDownload() = default;

int RecordDownload::blockCount(qint64 recordNum, int numofReport)
{
    const qint64 count = recordNum / samplesPerBlock + (numofReport % samplesPerBlock != 0 ? 1 : 0);
    return int(qMin<qint64>(count, maxBlockCount));
}

bool RecordDownload::takeRecordInfo(const QByteArray &frame, int model,
                                    const OneConfigCmdStruct &config)
{
    // Every download starts from a fresh header, so nothing of an earlier logger's
    // recording carries over into this one, and a cancel deletes no earlier file.
    recordInfo = ReadDevInfoJson();
    lastPath.clear();
    recordInfo.recordNum = static_cast<quint32>(readInt32LE(frame.constData() + 5));
    if (recordInfo.recordNum == 0)
        return false;
    recordInfo.numofReport = unsigned16(frame, 9);
    recordInfo.blockCount = blockCount(recordInfo.recordNum, recordInfo.numofReport);
    recordInfo.overWirteRecordNum = qMax<qint64>(0, recordInfo.recordNum - recordInfo.numofReport);
    qDebug() << "有数据" << recordInfo.recordNum << recordInfo.overWirteRecordNum;
    recordInfo.startRecordTime = dateTimeAt(frame, 11);
    recordInfo.stopRecordTime = dateTimeAt(frame, 17);
    recordInfo.configTime = dateTimeAt(frame, 23);
    recordInfo.maxTemp = signed16(frame, 29);
    recordInfo.minTemp = signed16(frame, 31);
    recordInfo.avgTemp = signed16(frame, 33);
    recordInfo.maxHumidity = unsigned16(frame, 35);
    recordInfo.minHumidity = unsigned16(frame, 37);
    recordInfo.avgHumidity = unsigned16(frame, 39);
    recordInfo.startOperation = signedByte(frame, 41);
    recordInfo.stopOperation = signedByte(frame, 42);
    recordInfo.devType = model;
    if (model == HX20D) {
        recordInfo.startTemp = signed16(frame, 43);
        recordInfo.stopTemp = signed16(frame, 45);
        recordInfo.sensorType = config.sensorType;
        recordInfo.isContainHum = config.sensorType == 2;
    } else {
        recordInfo.isContainHum = true;
    }
    return true;
}

void RecordDownload::takeAlarmStatistics(const QByteArray &frame, const OneConfigCmdStruct &config,
                                         const QString &sn, const QString &note)
{
    // The wire order of the eight alarms. The answer reports the temperature
    // levels in the opposite order to the configuration (the slot of th1 holds
    // level 3), so each switch comes from the configuration setting of the same
    // level: th1 from th3, tl1 from tl3 and back. Taking it by name would pair
    // one level's threshold and result with another level's switch.
    const std::array<AlertDataJson *, 8> alarms = {
        &recordInfo.th1, &recordInfo.tl1, &recordInfo.hh,  &recordInfo.hl,
        &recordInfo.th2, &recordInfo.tl2, &recordInfo.th3, &recordInfo.tl3};
    const std::array<const AlertSetting *, 8> settings = {&config.th3, &config.tl3, &config.hh,
                                                          &config.hl,  &config.th2, &config.tl2,
                                                          &config.th1, &config.tl1};
    const auto accumulateBits = static_cast<uint8_t>(frame.at(5));
    const auto raisedBits = static_cast<uint8_t>(frame.at(86));
    for (int i = 0; i < 8; ++i) {
        AlertDataJson &a = *alarms[i];
        const bool humidity = i == 2 || i == 3;
        a.isOpen = settings[i]->isOpen;
        a.isAccumulate = bitOf(accumulateBits, i);
        a.delayTime = unsigned16(frame, 6 + 2 * i);
        a.alertValue = humidity ? unsigned16(frame, 22 + 2 * i) : signed16(frame, 22 + 2 * i);
        a.alertNum = unsigned16(frame, 38 + 2 * i);
        a.alertDuration = static_cast<quint32>(readInt32LE(frame.constData() + 54 + 4 * i));
        a.isAlertFlag = bitOf(raisedBits, i);
    }
    recordInfo.recordInterval = unsigned16(frame, 87);
    recordInfo.devName = deviceName(config);
    recordInfo.sn = sn;
    recordInfo.id = QString::number(config.devId);
    recordInfo.note = note;
    recordInfo.isOpenBacklight = config.isOpenBacklight;
    recordInfo.isOpenBuzzer = config.isOpenBuzzer;
    recordInfo.isOpenLed = config.isOpenLed;
    recordInfo.isOpenPdf = config.isOpenPdf;
    recordInfo.recordMode = config.recordMode;
    recordInfo.tempUnit = config.tempUnit;
    recordInfo.startDelay = config.startDelayTime;
}

bool RecordDownload::createFile(const QString &folder, int model)
{
    // One left by an earlier download that never ended is dropped.
    downloadFile.reset();
    lastPath.clear();
    lastBytes.clear();
    lastFingerprint.clear();
    written.clear();
    hash.reset();
    if (folder.isEmpty())
        return false;
    downloadFileName = recordingFileName(model, QStringLiteral(".data"));
    QBuffer header;
    header.open(QIODevice::WriteOnly);
    if (!writeRecordingHeader(&header, recordInfo))
        return false;
    QDir().mkpath(folder);
    downloadFile = std::make_unique<NewFile>(folder, downloadFileName);
    if (!downloadFile->open() || !append(header.data().constData(), header.size())) {
        qWarning() << "recording file not created:" << downloadFile->errorString();
        downloadFile.reset();
        return false;
    }
    return true;
}

RecordDownload::BlockResult RecordDownload::takeBlock(QByteArray &buffer, int expectedNumber,
                                                      int *number)
{
    if (buffer.size() < blockSize)
        return BlockResult::Incomplete;
    const QByteArray block = buffer.left(blockSize);
    buffer.remove(0, blockSize);
    *number = static_cast<signed char>(block.at(1));
    if (static_cast<signed char>(block.at(0)) != recordInfo.blockCount ||
        *number != expectedNumber || !downloadFile)
        return BlockResult::Discarded;
    const int payload = qBound(0, unsigned16(block, 2), payloadSize);
    return append(block.constData() + 4, payload) ? BlockResult::Appended
                                                  : BlockResult::WriteFailed;
}

bool RecordDownload::append(const char *bytes, qint64 size)
{
    if (!downloadFile->write(bytes, size))
        return false;
    written.append(bytes, int(size));
    hash.addData(bytes, int(size));
    return true;
}

QString RecordDownload::filePath() const
{
    return downloadFile ? downloadFile->temporaryPath() : QString();
}

bool RecordDownload::finish()
{
    if (!downloadFile)
        return false;
    lastPath = downloadFile->commit();
    if (lastPath.isEmpty()) {
        qWarning() << "recording file not saved:" << downloadFile->errorString();
    } else {
        downloadFileName = QFileInfo(lastPath).fileName();
        lastBytes = written;
        lastFingerprint = QString::fromLatin1(hash.result().toHex());
    }
    written.clear();
    downloadFile.reset();
    return !lastPath.isEmpty();
}

void RecordDownload::discard()
{
    downloadFile.reset();
    written.clear();
}

void RecordDownload::cancel()
{
    discard();
    if (!lastPath.isEmpty())
        QFile::remove(lastPath);
    lastPath.clear();
    lastBytes.clear();
    lastFingerprint.clear();
}
