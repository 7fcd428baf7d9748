// SPDX-License-Identifier: GPL-3.0-or-later
// One download of a logger's recording: the header from the two answers and the recording file.
#pragma once

#include "device/oneconfigcmdstruct.h"
#include "recording/readdevinfojson.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <memory>

class NewFile;

class RecordDownload
{
public:
    // The size of a data block: block count, number, payload length, 4096 payload bytes.
    static constexpr int blockSize = 4100;
    static constexpr int maxBlockCount = 63;

    RecordDownload();
    ~RecordDownload();

    // Blocks to read: the quotient from the recorded count, the remainder test from the
    // held count, at most 63.
    static int blockCount(qint64 recordNum, int numofReport);

    // Fills the header from a record-information answer (43 bytes for HX10D, 47 for
    // HX20D); false when the logger holds no records.
    bool takeRecordInfo(const QByteArray &frame, int model, const OneConfigCmdStruct &config);
    // Fills the alarms from an alarm-statistics answer (89 bytes) and the rest of the
    // header from the controller's state.
    void takeAlarmStatistics(const QByteArray &frame, const OneConfigCmdStruct &config,
                             const QString &sn, const QString &note);
    // Starts a new recording file in `folder` under a temporary name that no
    // listing takes and writes its header; false when the file cannot be
    // created or written, or when no folder is given.
    bool createFile(const QString &folder, int model);

    enum class BlockResult { Incomplete, Discarded, Appended, WriteFailed };
    // Takes one block off the front of `buffer` and appends its samples to the file
    // when it carries the block count and `expectedNumber`; `number` gets its number.
    // WriteFailed: the samples could not all be stored (a full disk, a file gone).
    BlockResult takeBlock(QByteArray &buffer, int expectedNumber, int *number);

    bool hasFile() const { return downloadFile != nullptr; }
    // The file being written, under its temporary name.
    QString filePath() const;
    // The last block is written: the file is synced to the disk and gets its
    // name, the model and the time of the download (or a free variant of
    // that), which savedPath() then gives. False, the file being deleted, when
    // that failed.
    bool finish();
    // Where the last download that finished was saved, its bytes and their
    // SHA-256 (hex), taken while they were written.
    QString savedPath() const { return lastPath; }
    QByteArray savedBytes() const { return lastBytes; }
    QString savedFingerprint() const { return lastFingerprint; }
    // The download failed: the partial file is closed and deleted.
    void discard();
    // The user cancelled the download: its file is deleted, also when the last
    // block was written before the cancel reached the controller.
    void cancel();

    ReadDevInfoJson recordInfo;
    QString downloadFileName;

private:
    // Writes to the file, keeping the bytes and the hash in step with it.
    bool append(const char *bytes, qint64 size);

    std::unique_ptr<NewFile> downloadFile;
    QByteArray written;
    QCryptographicHash hash{QCryptographicHash::Sha256};
    // The path of the last download's file once it was saved.
    QString lastPath;
    QByteArray lastBytes;
    QString lastFingerprint;
};
