// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding and decoding of the configuration record.
#include "device/configframe.h"

#include "core/lgxdevtype.h"
#include "core/units.h"
#include "core/utils.h"
#include "device/protocol.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {
constexpr int maxNameLength = 20;

// The order of the eight alarms on the wire, in bit fields, values and delays.
std::array<AlertSetting *, 8> wireOrder(OneConfigCmdStruct &c)
{
    return {&c.th1, &c.tl1, &c.hh, &c.hl, &c.th2, &c.tl2, &c.th3, &c.tl3};
}

std::array<const AlertSetting *, 8> wireOrder(const OneConfigCmdStruct &c)
{
    return {&c.th1, &c.tl1, &c.hh, &c.hl, &c.th2, &c.tl2, &c.th3, &c.tl3};
}

// hh and hl are the third and fourth alarms on the wire; they are unsigned.
bool isHumidityWireIndex(int i)
{
    return i == 2 || i == 3;
}

void appendLE16(QByteArray &out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

uint16_t unsigned16(const QByteArray &frame, int offset)
{
    return static_cast<uint16_t>(readInt16LE(frame.constData() + offset));
}

uint8_t byteAt(const QByteArray &frame, int offset)
{
    return static_cast<uint8_t>(frame.at(offset));
}
} // namespace

QByteArray encodeConfigFrame(const OneConfigCmdStruct &config, int model)
{
    const auto alarms = wireOrder(config);
    QByteArray p;
    p.reserve(96);
    p.append(static_cast<char>(config.devId));
    p.append(static_cast<char>(config.tempUnit & 0xFF));
    p.append(static_cast<char>(config.isOpenBacklight));
    p.append(static_cast<char>(config.isOpenBuzzer));
    p.append(static_cast<char>(config.isOpenLed));
    p.append(static_cast<char>(config.recordMode & 0xFF));
    p.append(static_cast<char>(config.startMode & 0xFF));
    p.append(static_cast<char>(config.isKeyRetart ? 0 : 1));
    p.append(static_cast<char>(config.isKeyStopRecord ? 0 : 1));
    p.append(static_cast<char>(config.startDelayTime));
    uint8_t openBits = 0;
    uint8_t accumulateBits = 0;
    for (int i = 0; i < 8; ++i) {
        setBitOf(openBits, i, alarms[i]->isOpen);
        setBitOf(accumulateBits, i, alarms[i]->isAccumulate);
    }
    p.append(static_cast<char>(openBits));
    p.append(static_cast<char>(accumulateBits));
    appendLE16(p, config.screenDisplayTime);
    appendLE16(p, config.recordInterval);
    for (const AlertSetting *a : alarms)
        appendLE16(p, a->alertValue);
    for (const AlertSetting *a : alarms)
        appendLE16(p, a->delayTime);
    p.append(3, '\0'); // the firmware version is the logger's own
    p.append(reinterpret_cast<const char *>(config.perSetStartTime), 6);
    p.append(static_cast<char>(config.isDateTimeFlowSys));
    p.append(reinterpret_cast<const char *>(config.devDateTime), 6);
    p.append(static_cast<char>(config.isOpenPdf));
    const int n = static_cast<int>(strnlen(config.devName, maxNameLength));
    p.append(static_cast<char>(n));
    p.append(config.devName, n);
    if (model == HX20D)
        p.append(static_cast<char>(config.sensorType));
    return buildFrame(CmdCode::Config, 0x01, p);
}

OneConfigCmdStruct decodeConfigFrame(const QByteArray &frame, int model)
{
    OneConfigCmdStruct c{};
    c.cmdType = ConfigCmd;
    c.cmdOptType = byteAt(frame, 4);
    c.devId = byteAt(frame, 5);
    c.tempUnit = byteAt(frame, 6) == Fahrenheit ? Fahrenheit : Celsius;
    c.isOpenBacklight = byteAt(frame, 7) != 0;
    c.isOpenBuzzer = byteAt(frame, 8) != 0;
    c.isOpenLed = byteAt(frame, 9) != 0;
    c.recordMode = byteAt(frame, 10) == 1 ? 1 : 0;
    const uint8_t startMode = byteAt(frame, 11);
    c.startMode = (startMode == 1 || startMode == 2) ? startMode : 0;
    c.isKeyRetart = byteAt(frame, 12) != 1;
    c.isKeyStopRecord = byteAt(frame, 13) != 1;
    c.startDelayTime = byteAt(frame, 14);
    const auto alarms = wireOrder(c);
    for (int i = 0; i < 8; ++i) {
        AlertSetting *a = alarms[i];
        a->isOpen = bitOf(byteAt(frame, 15), i);
        a->isAccumulate = bitOf(byteAt(frame, 16), i);
        const int valueOffset = 21 + 2 * i;
        a->alertValue = isHumidityWireIndex(i) ? unsigned16(frame, valueOffset)
                                               : readInt16LE(frame.constData() + valueOffset);
        a->delayTime = unsigned16(frame, 37 + 2 * i);
    }
    c.screenDisplayTime = unsigned16(frame, 17);
    c.recordInterval = unsigned16(frame, 19);
    std::memcpy(c.firmwareVersion, frame.constData() + 53, 3);
    std::memcpy(c.perSetStartTime, frame.constData() + 56, 6);
    c.isDateTimeFlowSys = static_cast<signed char>(frame.at(62)) > 0;
    std::memcpy(c.devDateTime, frame.constData() + 63, 6);
    c.isOpenPdf = static_cast<signed char>(frame.at(69)) > 0;
    const int n = static_cast<signed char>(frame.at(70));
    if (n + 71 < frame.size())
        std::memcpy(c.devName, frame.constData() + 71, size_t(std::clamp(n, 0, maxNameLength)));
    if (model == HX20D)
        c.sensorType = byteAt(frame, frame.size() - 3);
    c.initReadDone = false;
    return c;
}
