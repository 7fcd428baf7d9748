// SPDX-License-Identifier: GPL-3.0-or-later
// Request frames for every command and the decoding of the short answers.
#pragma once

#include "device/simplesendcmdunion.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace CmdCode {
constexpr uint8_t StartStop = 0x10;
constexpr uint8_t Reset = 0x12;
constexpr uint8_t Config = 0x13;
constexpr uint8_t Note = 0xA1;
constexpr uint8_t RecordInfo = 0xE0;
constexpr uint8_t AlarmInfo = 0xE1;
constexpr uint8_t ReadBlock = 0xE2;
constexpr uint8_t Language = 0xE4;
constexpr uint8_t Check = 0xEF;
} // namespace CmdCode

// Byte offsets and sizes shared by every frame.
namespace FrameLayout {
constexpr int lenOffset = 2;
constexpr int codeOffset = 3;
constexpr int subCodeOffset = 4;
constexpr int payloadOffset = 5;
constexpr int overhead = 5; // head, LEN and checksum around code, sub-code, payload
} // namespace FrameLayout

// The two head bytes 5A A5 that open every frame.
QByteArray frameHead();

// Sum of the bytes, modulo 65536. The note write sums the bytes as signed
// 8-bit values; every other frame as unsigned ones.
uint16_t frameChecksum(const QByteArray &bytes, bool signedBytes = false);

// 5A A5, LEN, code, sub-code, payload, checksum (low byte first).
QByteArray buildFrame(uint8_t code, uint8_t subCode, const QByteArray &payload,
                      bool signedChecksum = false);

// The request bytes for a command; empty for the kinds that send nothing
// (unassigned kinds, the initial read, a configuration write without a model).
QByteArray encodeCommand(const SimpleSendCmdUnion &cmd, int model);

// The shortest answer with this code that is handled; shorter ones are
// incomplete. 0 for codes with no minimum (those answers are consumed unread).
int minimumAnswerLength(uint8_t code, int model);

struct IdentificationAnswer {
    QString sn;
    bool isRecord = false;
    bool isAlert = false;
};

// Each decoder expects a frame at least minimumAnswerLength() long.
IdentificationAnswer decodeIdentification(const QByteArray &frame);
QByteArray noteBytesOfAnswer(const QByteArray &frame);
// The note through the GBK codec; empty when no GBK codec exists.
QString decodeNote(const QByteArray &gbkBytes);
// The note's GBK bytes as the logger stores them; Latin-1 when no GBK codec
// exists. Characters GBK lacks become "?": compare decodeNote(encodeNote(t))
// with t to see whether a text survives.
QByteArray encodeNote(const QString &note);
// The two counts at the front of a record-information answer: samples recorded
// since the start (overwritten ones included) and samples held in memory.
struct RecordCounts {
    qint64 recordNum = 0;
    int numofReport = 0;
};
RecordCounts decodeRecordCounts(const QByteArray &frame);
bool decodeStartStopIsStop(const QByteArray &frame);
bool decodeResetSuccess(const QByteArray &frame);
