// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes in any chunking reaching the device controller, with commands queued.
//
// Input: one byte choosing the model, two bytes choosing the commands queued
// first, then operations: 0xFF a clock tick, 0xFE queue the command named by the
// next byte, 0xF0..0xFD a chunk of 1 to 14 KiB, any other value a chunk of that
// many bytes. Frames, download answers and data blocks all arrive this way.
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "device/usbcontrol.h"
#include "platform/loggerenumeration.h"
#include "fuzzsupport.h"
#include "loggersim.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <cstdlib>

using fuzzsupport::require;

namespace
{

OneConfigCmdStruct sampleConfig()
{
    OneConfigCmdStruct config{};
    config.th1 = {true, 3000, false, 2};
    config.hh = {true, 800, true, 1};
    config.recordInterval = 12;
    config.sensorType = 2;
    return config;
}

// Every kind of request the main window can queue.
SimpleSendCmdUnion command(int index)
{
    switch (index % 14) {
    case 0:
        return makeSimpleCmd(InitialReadCmd);
    case 1:
        return makeSimpleCmd(CheckCmd);
    case 2:
        return makeSimpleCmd(ConfigCmd, 0, ReadOpt);
    case 3:
        return makeConfigWriteCmd(sampleConfig());
    case 4:
        return makeSimpleCmd(NoteCmd, 0, ReadOpt);
    case 5:
        return makeNoteWriteCmd("\xC0\xE4\xBF\xE2 A");
    case 6:
        return makeSimpleCmd(StartStopCmd, 1);
    case 7:
        return makeSimpleCmd(LanguageCmd, 1);
    case 8:
        return makeSimpleCmd(ResetCmd);
    case 9:
        return makeSimpleCmd(RecordInfoCmd);
    case 10:
        return makeSimpleCmd(AlarmInfoCmd);
    case 11:
        return makeSimpleCmd(ReadBlockCmd, 1);
    case 12:
        return makeSimpleCmd(ReadBlockCmd, 2);
    default:
        return makeSimpleCmd(3);
    }
}

// One controller per model, each connected to a silent emulated logger that
// never answers by itself: every byte the controller sees comes from the input.
struct Harness {
    QTemporaryDir home{fuzzsupport::temporaryTemplate()};
    QCoreApplication *app = nullptr;
    QObject owner;
    std::array<UsbControl *, 2> controls{};
    std::array<int, 2> loggers{};
};

Harness *harness = nullptr;

// Back to an idle connection: no queue, no buffer, no download, no file.
void settle(UsbControl *control)
{
    control->cancelDownload();
    control->delReadTimeOut();
    QCoreApplication::removePostedEvents(control);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int logger : harness->loggers)
        loggersim::clearWrittenTransfers(logger);
    const QDir recordings(dataDir());
    if (recordings.exists())
        require(QDir(dataDir()).removeRecursively());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness = new Harness;
    qputenv("HOME", harness->home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    harness->app = new QCoreApplication(*argc, *argv);
    initSettings(&harness->owner);
    loggersim::configure("HX10D:sn=FZ10:samples=10,HX20D:sn=FZ20:samples=10");
    loggersim::Faults silent;
    silent.silent = true;
    for (int model : {HX10D, HX20D}) {
        const int logger = loggersim::loggerIds().at(model);
        loggersim::setFaults(logger, silent);
        harness->loggers[size_t(model)] = logger;
        auto *control = new UsbControl(dataDir(), &harness->owner);
        require(control->connectDevice(listAttachedLoggerDevices().value(model)));
        harness->controls[size_t(model)] = control;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    UsbControl *control = harness->controls[data[0] & 1];
    const unsigned queued = data[1] | (data[2] << 8);
    for (int i = 0; i < 14; ++i) {
        if (queued & (1u << i))
            control->addSendSimpleCmd(command(i));
    }
    size_t pos = 3;
    while (pos < size) {
        const uint8_t op = data[pos++];
        if (op == 0xFF) {
            control->delReadTimeOut();
            continue;
        }
        if (op == 0xFE) {
            if (pos < size)
                control->addSendSimpleCmd(command(data[pos++]));
            continue;
        }
        const size_t wanted = op >= 0xF0 ? size_t(op - 0xEF) * 1024 : op;
        const size_t length = std::min(wanted, size - pos);
        control->delRevDataSlot(
            QByteArray(reinterpret_cast<const char *>(data + pos), int(length)));
        pos += length;
    }
    settle(control);
    return 0;
}
