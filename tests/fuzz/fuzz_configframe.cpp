// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes decoded as a configuration answer and as the short answers.
#include "core/lgxdevtype.h"
#include "device/configframe.h"
#include "device/protocol.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using fuzzsupport::require;

namespace
{

bool sameAlarm(const AlertSetting &a, const AlertSetting &b)
{
    return a.isOpen == b.isOpen && a.alertValue == b.alertValue &&
           a.isAccumulate == b.isAccumulate && a.delayTime == b.delayTime;
}

// Every field a user can set, compared after a write and a read of the decoded record.
bool sameSettings(const OneConfigCmdStruct &a, const OneConfigCmdStruct &b)
{
    return a.devId == b.devId && a.tempUnit == b.tempUnit &&
           a.isOpenBacklight == b.isOpenBacklight && a.isOpenBuzzer == b.isOpenBuzzer &&
           a.isOpenLed == b.isOpenLed && a.isOpenPdf == b.isOpenPdf &&
           a.recordMode == b.recordMode && a.startMode == b.startMode &&
           a.isKeyRetart == b.isKeyRetart && a.isKeyStopRecord == b.isKeyStopRecord &&
           a.startDelayTime == b.startDelayTime && a.screenDisplayTime == b.screenDisplayTime &&
           a.recordInterval == b.recordInterval &&
           !memcmp(a.perSetStartTime, b.perSetStartTime, sizeof a.perSetStartTime) &&
           !memcmp(a.devDateTime, b.devDateTime, sizeof a.devDateTime) &&
           a.isDateTimeFlowSys == b.isDateTimeFlowSys && sameAlarm(a.th1, b.th1) &&
           sameAlarm(a.th2, b.th2) && sameAlarm(a.th3, b.th3) && sameAlarm(a.tl1, b.tl1) &&
           sameAlarm(a.tl2, b.tl2) && sameAlarm(a.tl3, b.tl3) && sameAlarm(a.hh, b.hh) &&
           sameAlarm(a.hl, b.hl) && a.sensorType == b.sensorType &&
           strncmp(a.devName, b.devName, sizeof a.devName) == 0;
}

void checkConfig(const QByteArray &frame, int model)
{
    const OneConfigCmdStruct decoded = decodeConfigFrame(frame, model);
    // The name always stays a C string within its field.
    require(memchr(decoded.devName, '\0', sizeof decoded.devName) != nullptr);
    const QByteArray written = encodeConfigFrame(decoded, model);
    require(written.size() >= minConfigAnswerLength);
    require(sameSettings(decoded, decodeConfigFrame(written, model)));
}

} // namespace

// The first byte picks the model; the rest is the frame as received.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int model = data[0] & 1 ? HX20D : HX10D;
    const QByteArray frame(reinterpret_cast<const char *>(data + 1), int(size - 1));
    if (frame.size() < 4)
        return 0;
    const uint8_t code = static_cast<uint8_t>(frame.at(FrameLayout::codeOffset));
    if (frame.size() < minimumAnswerLength(code, model))
        return 0;
    switch (code) {
    case CmdCode::Config:
        checkConfig(frame, model);
        break;
    case CmdCode::Check:
        require(decodeIdentification(frame).sn.size() <= frame.size());
        break;
    case CmdCode::Note:
        require(noteBytesOfAnswer(frame).size() < frame.size());
        decodeNote(noteBytesOfAnswer(frame));
        break;
    case CmdCode::StartStop:
        decodeStartStopIsStop(frame);
        break;
    case CmdCode::Reset:
        decodeResetSuccess(frame);
        break;
    default:
        break;
    }
    return 0;
}
