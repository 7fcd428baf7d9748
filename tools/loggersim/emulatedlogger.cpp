// SPDX-License-Identifier: GPL-3.0-or-later
// Answers of an emulated logger to every request of the protocol.
#include "emulatedlogger.h"

#include "device/configframe.h"
#include "device/devicetext.h"
#include "device/protocol.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
// The logger's own framing: 5A A5, LEN, code, sub-code, payload, unsigned sum.
QByteArray frame(uint8_t code, uint8_t subCode, const QByteArray &payload)
{
    QByteArray f("\x5A\xA5", 2);
    f.append(char((payload.size() + 2) & 0xFF));
    f.append(char(code));
    f.append(char(subCode));
    f.append(payload);
    uint16_t sum = 0;
    for (char c : f)
        sum = uint16_t(sum + uint8_t(c));
    f.append(char(sum & 0xFF));
    f.append(char(sum >> 8));
    return f;
}

QByteArray payloadOf(const QByteArray &request)
{
    return request.mid(5, request.size() - 7);
}

void put16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &out, uint32_t v)
{
    put16(out, int(v & 0xFFFF));
    put16(out, int(v >> 16));
}

void putDate(QByteArray &out, const QDateTime &t)
{
    if (!t.isValid()) {
        out.append(6, '\0');
        return;
    }
    out.append(char(t.date().year() - 2000));
    out.append(char(t.date().month()));
    out.append(char(t.date().day()));
    out.append(char(t.time().hour()));
    out.append(char(t.time().minute()));
    out.append(char(t.time().second()));
}

QDateTime now()
{
    QDateTime t = QDateTime::currentDateTime();
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}

qint64 wallClockSecs(const QDateTime &t)
{
    return QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch();
}

// The settings behind the eight slots of the alarm-statistics answer. A logger reports a
// recording's temperature levels in the opposite order to its configuration: the slot of
// wire alarm th1 carries level 3 (configuration th3), that of tl1 level 3 of the low ones,
// and the other way round; th2, tl2, hh and hl keep their places.
std::array<const AlertSetting *, 8> recordingSlotOrder(const OneConfigCmdStruct &c)
{
    return {&c.th3, &c.tl3, &c.hh, &c.hl, &c.th2, &c.tl2, &c.th1, &c.tl1};
}

constexpr uint8_t firmware[3] = {1, 2, 3};
constexpr int firmwareOffset = 53;
constexpr int samplesPerBlock = 1024;
constexpr int blockSize = 4100;
} // namespace

EmulatedLogger::EmulatedLogger(const loggersim::LoggerSetup &description, const QString &sn)
    : devModel(description.model == 0 ? 0 : 1), serial(sn.left(10)),
      cfg(factoryConfig(devModel, description.sensorType)),
      rec(description.seed, devModel == 0 || description.sensorType == 2)
{
    cfg.recordInterval = uint16_t(std::max(1, description.interval));
    cfg.startDelayTime = uint8_t(std::clamp(description.startDelay, 0, 255));
    cfg.recordMode = description.loop ? 1 : 0;
    rec.loop = description.loop;
    rec.interval = cfg.recordInterval;
    rec.startDelay = cfg.startDelayTime;
    const qint64 samples = description.loop
                               ? std::max<qint64>(0, description.samples)
                               : std::clamp<qint64>(description.samples, 0, rec.capacity);
    const qint64 step = qint64(rec.interval) * 5;
    const QDateTime current = now();
    if (description.start.isValid())
        rec.start = description.start;
    else if (description.recording)
        rec.start = current.addSecs(-std::max<qint64>(0, samples - 1) * step - rec.startDelay * 60);
    else
        rec.start = current.addSecs(-samples * step - rec.startDelay * 60);
    rec.recordNum = samples;
    setNote(encodeNote(description.note));
    if (!description.name.isEmpty())
        setDeviceName(cfg, description.name);
    configTime = rec.start.addSecs(-600);
    recordingOn = description.recording;
    stopOperation = recordingOn ? 3 : 4;
    if (!recordingOn)
        stopTime = QDateTime::fromSecsSinceEpoch(rec.sampleTime(std::max<qint64>(0, samples - 1)),
                                                 Qt::UTC);
    catchUp();
    alarm = rec.anyAlarm(cfg);
    reported = rec;
}

OneConfigCmdStruct EmulatedLogger::factoryConfig(int model, int sensorType)
{
    OneConfigCmdStruct c{};
    c.cmdType = 1;
    c.devId = 1;
    c.isOpenBacklight = true;
    c.isOpenBuzzer = true;
    c.isOpenLed = true;
    c.recordMode = 1;
    c.startMode = 1;
    c.isKeyStopRecord = true;
    c.screenDisplayTime = 30;
    c.recordInterval = 12;
    c.th1 = {true, 3000, false, 2};
    c.tl1 = {true, 0, false, 2};
    c.th2 = {false, 3500, false, 0};
    c.tl2 = {false, -500, false, 0};
    c.th3 = {false, 4000, true, 12};
    c.tl3 = {false, -1000, true, 12};
    const bool humidity = model == 0 || sensorType == 2;
    c.hh = {humidity, 800, false, 2};
    c.hl = {humidity, 200, true, 6};
    std::memcpy(c.firmwareVersion, firmware, 3);
    const QByteArray name = model == 0 ? "HX10D Logger" : "HX20D Logger";
    std::memcpy(c.devName, name.constData(), size_t(name.size()));
    c.sensorType = model == 1 ? uint8_t(std::clamp(sensorType, 0, 2)) : 0;
    return c;
}

void EmulatedLogger::catchUp()
{
    if (!recordingOn)
        return;
    const qint64 step = qint64(rec.interval) * 5;
    const qint64 elapsed = wallClockSecs(now()) - rec.sampleTime(0);
    qint64 count = elapsed < 0 ? 0 : elapsed / step + 1;
    if (!rec.loop && count >= rec.capacity) {
        count = rec.capacity;
        rec.recordNum = count;
        stopRecording(2); // the memory is full
        return;
    }
    rec.recordNum = std::max<int64_t>(rec.recordNum, count);
}

void EmulatedLogger::eraseRecording()
{
    rec.recordNum = 0;
    rec.start = QDateTime();
    rec.interval = std::max<int>(1, cfg.recordInterval);
    rec.startDelay = cfg.startDelayTime;
    rec.loop = cfg.recordMode == 1;
    rec.hasHumidity = devModel == 0 || cfg.sensorType == 2;
    recordingOn = false;
    alarm = false;
    stopTime = QDateTime();
    stopOperation = 0;
    configTime = now();
}

void EmulatedLogger::startRecording()
{
    if (recordingOn)
        return;
    eraseRecording();
    configTime = QDateTime();
    rec.start = now();
    startOperation = 1;
    stopOperation = 3;
    recordingOn = true;
}

void EmulatedLogger::stopRecording(int how)
{
    if (!recordingOn)
        return;
    catchUp();
    recordingOn = false;
    stopOperation = how;
    stopTime = now();
}

bool EmulatedLogger::isRecording()
{
    catchUp();
    return recordingOn;
}

void EmulatedLogger::setRecording(bool on)
{
    if (on)
        startRecording();
    else
        stopRecording(4);
}

void EmulatedLogger::setConfig(const OneConfigCmdStruct &config)
{
    cfg = config;
    std::memcpy(cfg.firmwareVersion, firmware, 3);
    if (devModel == 0)
        cfg.sensorType = 0;
}

const LoggerRecording &EmulatedLogger::recording()
{
    catchUp();
    return rec;
}

void EmulatedLogger::setRecordNum(qint64 recordNum)
{
    const qint64 n =
        rec.loop ? std::max<qint64>(0, recordNum) : std::clamp<qint64>(recordNum, 0, rec.capacity);
    const qint64 step = qint64(rec.interval) * 5;
    if (recordingOn)
        rec.start = now().addSecs(-std::max<qint64>(0, n - 1) * step - rec.startDelay * 60);
    else if (!rec.start.isValid())
        rec.start = now().addSecs(-n * step - rec.startDelay * 60);
    rec.recordNum = n;
}

QByteArray EmulatedLogger::answer(const QByteArray &request)
{
    if (request.size() < 7)
        return QByteArray();
    const auto code = uint8_t(request.at(3));
    const auto subCode = uint8_t(request.at(4));
    const QByteArray payload = payloadOf(request);
    switch (code) {
    case 0xEF:
        return identification();
    case 0x13:
        return configAnswer(subCode, request);
    case 0xA1:
        return noteAnswer(subCode, request);
    case 0x10:
        return startStopAnswer(request);
    case 0x12:
        return resetAnswer(request);
    case 0xE4:
        language = payload.isEmpty() ? 0 : payload.at(0);
        return frame(0xE4, 0x01, QByteArray(1, char(language)));
    case 0xE0:
        return recordInformation();
    case 0xE1:
        return alarmStatistics();
    case 0xE2:
        return dataBlock(payload.isEmpty() ? 0 : int(uint8_t(payload.at(0))));
    default:
        return QByteArray();
    }
}

QByteArray EmulatedLogger::identification() const
{
    QByteArray p;
    const QByteArray sn = serial.toUtf8().left(10);
    p.append(char(sn.size()));
    p.append(sn);
    p.append(10 - sn.size(), '\0');
    p.append(char(recordingOn ? 1 : 0));
    p.append(char(alarm ? 1 : 0));
    p.append('\0');
    return frame(0xEF, 0x00, p);
}

QByteArray EmulatedLogger::configAnswer(uint8_t subCode, const QByteArray &request)
{
    QByteArray p;
    if (subCode == 0) {
        OneConfigCmdStruct current = cfg;
        const QDateTime t = now();
        const int parts[6] = {t.date().year() - 2000, t.date().month(),  t.date().day(),
                              t.time().hour(),        t.time().minute(), t.time().second()};
        for (int i = 0; i < 6; ++i)
            current.devDateTime[i] = uint8_t(parts[i]);
        p = payloadOf(encodeConfigFrame(current, devModel));
    } else {
        // A write: take the new configuration, erase the recording, echo what was sent.
        if (request.size() < minConfigAnswerLength)
            return QByteArray();
        setConfig(decodeConfigFrame(request, devModel));
        eraseRecording();
        p = payloadOf(request);
    }
    p.replace(firmwareOffset - 5, 3, reinterpret_cast<const char *>(firmware), 3);
    return frame(0x13, subCode == 0 ? 0x00 : 0x01, p);
}

QByteArray EmulatedLogger::noteAnswer(uint8_t subCode, const QByteArray &request)
{
    if (subCode != 0) {
        const QByteArray p = payloadOf(request);
        const int n = p.isEmpty() ? 0 : std::clamp(int(uint8_t(p.at(0))), 0, int(p.size()) - 1);
        setNote(p.mid(1, n));
    }
    QByteArray p(1, char(noteBytes.size()));
    p.append(noteBytes);
    return frame(0xA1, subCode == 0 ? 0x00 : 0x01, p);
}

QByteArray EmulatedLogger::startStopAnswer(const QByteArray &request)
{
    const QByteArray p = payloadOf(request);
    const bool start = !p.isEmpty() && p.at(0) == 1;
    setRecording(start);
    return frame(0x10, 0x01, QByteArray(1, char(start ? 0 : 1)));
}

QByteArray EmulatedLogger::resetAnswer(const QByteArray &request)
{
    cfg = factoryConfig(devModel, cfg.sensorType);
    noteBytes.clear();
    eraseRecording();
    return request;
}

QByteArray EmulatedLogger::recordInformation()
{
    catchUp();
    reported = rec;
    const RecordingStatistics st = rec.statistics();
    const QDateTime stop =
        recordingOn && rec.recordNum > 0
            ? QDateTime::fromSecsSinceEpoch(rec.sampleTime(rec.recordNum - 1), Qt::UTC)
            : stopTime;
    QByteArray p;
    put32(p, uint32_t(std::min<qint64>(rec.recordNum, UINT32_MAX)));
    put16(p, rec.numofReport());
    putDate(p, rec.start);
    putDate(p, stop);
    putDate(p, configTime);
    for (int16_t v :
         {st.maxTemp, st.minTemp, st.avgTemp, st.maxHumidity, st.minHumidity, st.avgHumidity})
        put16(p, v);
    p.append(char(startOperation));
    p.append(char(stopOperation));
    if (devModel == 1) {
        put16(p, st.startTemp);
        put16(p, st.stopTemp);
    }
    return frame(0xE0, 0x00, p);
}

QByteArray EmulatedLogger::alarmStatistics() const
{
    const auto alarms = recordingSlotOrder(cfg);
    AlarmResult results[8];
    uint8_t accumulate = 0;
    uint8_t raised = 0;
    for (int i = 0; i < 8; ++i) {
        results[i] = reported.evaluate(i, *alarms[i]);
        accumulate |= uint8_t((alarms[i]->isAccumulate ? 1 : 0) << i);
        raised |= uint8_t((results[i].isAlertFlag ? 1 : 0) << i);
    }
    QByteArray p;
    p.append(char(accumulate));
    for (const AlertSetting *a : alarms)
        put16(p, a->delayTime);
    for (const AlertSetting *a : alarms)
        put16(p, a->alertValue);
    for (const AlarmResult &r : results)
        put16(p, r.alertNum);
    for (const AlarmResult &r : results)
        put32(p, r.alertDuration);
    p.append(char(raised));
    put16(p, reported.interval);
    return frame(0xE1, 0x00, p);
}

QByteArray EmulatedLogger::dataBlock(int number) const
{
    const int held = reported.numofReport();
    const int total = (held + samplesPerBlock - 1) / samplesPerBlock;
    QByteArray block(blockSize, char(0xFF));
    block[0] = char(total);
    block[1] = char(number);
    const qint64 first = qint64(number - 1) * samplesPerBlock;
    const int count = number < 1 ? 0 : int(std::clamp<qint64>(held - first, 0, samplesPerBlock));
    block[2] = char((count * 4) & 0xFF);
    block[3] = char((count * 4) >> 8);
    char *out = block.data() + 4;
    for (int k = 0; k < count; ++k) {
        const RecordedSample s = reported.sample(reported.firstHeld() + first + k);
        out[4 * k] = char(s.temperature & 0xFF);
        out[4 * k + 1] = char((s.temperature >> 8) & 0xFF);
        out[4 * k + 2] = char(s.humidity & 0xFF);
        out[4 * k + 3] = char((s.humidity >> 8) & 0xFF);
    }
    return block;
}
