// SPDX-License-Identifier: GPL-3.0-or-later
// The control interface of the emulated loggers, forwarded to the emulator under its lock.
#include "loggersim.h"

#include "emulator.h"

namespace loggersim
{

namespace
{
Emulator &emu()
{
    return Emulator::instance();
}
} // namespace

void configure(const QString &description)
{
    emu().configure(description);
}

int addLogger(const LoggerSetup &description)
{
    return emu().addLogger(description);
}

QList<int> loggerIds()
{
    return emu().loggerIds();
}

void unplug(int id)
{
    emu().unplug(id);
}

void plug(int id)
{
    emu().plug(id);
}

void plugAhead(int id)
{
    emu().plug(id, true);
}

bool isPlugged(int id)
{
    return emu().withSlot(id, false, [](Emulator::Slot &s) { return s.device != nullptr; });
}

int openHandleCount()
{
    return emu().openHandleCount();
}

int defaultContextUsers()
{
    return emu().defaultContextUserCount();
}

int openCount(int id)
{
    return emu().withSlot(id, 0, [](Emulator::Slot &s) { return s.opens; });
}

void setReadWaitLimit(int ms)
{
    emu().setReadWaitLimit(ms);
}

void setHotplugCapability(bool available)
{
    emu().setHotplugCapability(available);
}

void setFaults(int id, const Faults &faults)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.faults = faults;
        return 0;
    });
}

Faults faults(int id)
{
    return emu().withSlot(id, Faults(), [](Emulator::Slot &s) { return s.faults; });
}

void queueRawAnswer(int id, const QByteArray &bytes)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.rawAnswers.append(bytes);
        return 0;
    });
}

QList<QByteArray> writtenTransfers(int id)
{
    return emu().withSlot(id, QList<QByteArray>(), [](Emulator::Slot &s) { return s.written; });
}

void clearWrittenTransfers(int id)
{
    emu().withSlot(id, 0, [](Emulator::Slot &s) {
        s.written.clear();
        return 0;
    });
}

bool isRecording(int id)
{
    return emu().withSlot(id, false, [](Emulator::Slot &s) { return s.logger->isRecording(); });
}

void setRecording(int id, bool recording)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.logger->setRecording(recording);
        return 0;
    });
}

bool isAlarm(int id)
{
    return emu().withSlot(id, false, [](Emulator::Slot &s) { return s.logger->isAlarm(); });
}

void setAlarm(int id, bool alarm)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.logger->setAlarm(alarm);
        return 0;
    });
}

OneConfigCmdStruct config(int id)
{
    return emu().withSlot(id, OneConfigCmdStruct{},
                          [](Emulator::Slot &s) { return s.logger->config(); });
}

void setConfig(int id, const OneConfigCmdStruct &config)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.logger->setConfig(config);
        return 0;
    });
}

QByteArray note(int id)
{
    return emu().withSlot(id, QByteArray(), [](Emulator::Slot &s) { return s.logger->note(); });
}

void setNote(int id, const QByteArray &gbkNote)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.logger->setNote(gbkNote);
        return 0;
    });
}

qint64 recordNum(int id)
{
    return emu().withSlot(
        id, qint64(0), [](Emulator::Slot &s) { return qint64(s.logger->recording().recordNum); });
}

void setRecordNum(int id, qint64 count)
{
    emu().withSlot(id, 0, [&](Emulator::Slot &s) {
        s.logger->setRecordNum(count);
        return 0;
    });
}

QVector<Sample> heldSamples(int id)
{
    return emu().withSlot(id, QVector<Sample>(), [](Emulator::Slot &s) {
        const LoggerRecording &rec = s.logger->recording();
        QVector<Sample> samples;
        samples.reserve(rec.numofReport());
        for (int64_t i = rec.firstHeld(); i < rec.recordNum; ++i) {
            const RecordedSample r = rec.sample(i);
            samples.append({rec.sampleTime(i), r.temperature, r.humidity});
        }
        return samples;
    });
}

QDateTime recordingStart(int id)
{
    return emu().withSlot(id, QDateTime(),
                          [](Emulator::Slot &s) { return s.logger->recording().start; });
}

} // namespace loggersim
