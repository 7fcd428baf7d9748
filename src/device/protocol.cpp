// SPDX-License-Identifier: GPL-3.0-or-later
// Request encoding and short-answer decoding.
#include "device/protocol.h"

#include "core/lgxdevtype.h"
#include "core/utils.h"
#include "device/configframe.h"

#include <QTextCodec>
#include <algorithm>

namespace {
// The identification request carries 0x0A and thirteen zero bytes.
QByteArray identificationPayload()
{
    QByteArray payload(14, '\0');
    payload[0] = 0x0A;
    return payload;
}

QByteArray oneByte(int value)
{
    return QByteArray(1, static_cast<char>(value & 0xFF));
}
} // namespace

QByteArray frameHead()
{
    return QByteArray("\x5A\xA5", 2);
}

uint16_t frameChecksum(const QByteArray &bytes, bool signedBytes)
{
    uint16_t sum = 0;
    for (char c : bytes) {
        const int v = signedBytes ? int(static_cast<signed char>(c)) : int(static_cast<uint8_t>(c));
        sum = static_cast<uint16_t>(sum + v);
    }
    return sum;
}

QByteArray buildFrame(uint8_t code, uint8_t subCode, const QByteArray &payload, bool signedChecksum)
{
    QByteArray frame = frameHead();
    frame.reserve(payload.size() + 7);
    frame.append(static_cast<char>((payload.size() + 2) & 0xFF));
    frame.append(static_cast<char>(code));
    frame.append(static_cast<char>(subCode));
    frame.append(payload);
    const uint16_t sum = frameChecksum(frame, signedChecksum);
    frame.append(static_cast<char>(sum & 0xFF));
    frame.append(static_cast<char>(sum >> 8));
    return frame;
}

QByteArray encodeCommand(const SimpleSendCmdUnion &cmd, int model)
{
    switch (cmd.common.cmdType) {
    case CheckCmd:
        return buildFrame(CmdCode::Check, 0x00, identificationPayload());
    case ConfigCmd:
        if (cmd.common.cmdOptType == ReadOpt)
            return buildFrame(CmdCode::Config, 0x00, QByteArray());
        if (model != HX10D && model != HX20D)
            return QByteArray();
        return encodeConfigFrame(cmd.config, model);
    case StartStopCmd:
        return buildFrame(CmdCode::StartStop, 0x01, oneByte(cmd.simple.value));
    case ReadBlockCmd:
        return buildFrame(CmdCode::ReadBlock, 0x00, oneByte(cmd.simple.value));
    case LanguageCmd:
        return buildFrame(CmdCode::Language, 0x01, oneByte(cmd.simple.value == 1 ? 1 : 0));
    case NoteCmd: {
        if (cmd.common.cmdOptType == ReadOpt)
            return buildFrame(CmdCode::Note, 0x00, oneByte(0));
        const int n = std::clamp(cmd.note.noteLen, 0, noteFieldBytes);
        QByteArray payload = oneByte(n);
        payload.append(cmd.note.noteBytes, n);
        return buildFrame(CmdCode::Note, 0x01, payload, true);
    }
    case RecordInfoCmd:
    case RecordCountCmd:
        return buildFrame(CmdCode::RecordInfo, 0x00, QByteArray());
    case AlarmInfoCmd:
        return buildFrame(CmdCode::AlarmInfo, 0x00, QByteArray());
    case ResetCmd:
        return buildFrame(CmdCode::Reset, 0x01, oneByte(0xFA));
    default:
        return QByteArray();
    }
}

int minimumAnswerLength(uint8_t code, int model)
{
    switch (code) {
    case CmdCode::Check:
        return 19;
    case CmdCode::Config:
        return minConfigAnswerLength;
    case CmdCode::Note:
    case CmdCode::StartStop:
        return 6;
    case CmdCode::Reset:
    case CmdCode::Language:
        return 8;
    case CmdCode::RecordInfo:
        return model == HX10D ? 43 : 47;
    case CmdCode::AlarmInfo:
        return 89;
    default:
        return 0;
    }
}

IdentificationAnswer decodeIdentification(const QByteArray &frame)
{
    IdentificationAnswer answer;
    const int n = static_cast<uint8_t>(frame.at(5));
    const int available = std::max(0, std::min(n, int(frame.size()) - 6));
    QByteArray sn = frame.mid(6, available);
    const int nul = sn.indexOf('\0');
    if (nul >= 0)
        sn.truncate(nul);
    answer.sn = QString::fromUtf8(sn);
    answer.isRecord = frame.at(16) == 1;
    answer.isAlert = static_cast<signed char>(frame.at(17)) > 0;
    return answer;
}

QByteArray noteBytesOfAnswer(const QByteArray &frame)
{
    const int n = static_cast<signed char>(frame.at(5));
    if (n > 0 && 6 + n < frame.size())
        return frame.mid(6, n);
    return QByteArray();
}

QString decodeNote(const QByteArray &gbkBytes)
{
    QTextCodec *codec = QTextCodec::codecForName("GBK");
    return codec ? codec->toUnicode(gbkBytes) : QString();
}

QByteArray encodeNote(const QString &note)
{
    QTextCodec *codec = QTextCodec::codecForName("GBK");
    return codec ? codec->fromUnicode(note) : note.toLatin1();
}

RecordCounts decodeRecordCounts(const QByteArray &frame)
{
    RecordCounts counts;
    counts.recordNum = static_cast<quint32>(readInt32LE(frame.constData() + 5));
    counts.numofReport = static_cast<uint16_t>(readInt16LE(frame.constData() + 9));
    return counts;
}

bool decodeStartStopIsStop(const QByteArray &frame)
{
    return frame.at(5) != 0;
}

bool decodeResetSuccess(const QByteArray &frame)
{
    return static_cast<uint8_t>(frame.at(6)) == 0x0F && static_cast<uint8_t>(frame.at(7)) == 0x02;
}
