// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the download: a full 63-block download from an emulated logger without latency.
#include "benchregistry.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "platform/loggerenumeration.h"
#include "device/usbcontrol.h"
#include "loggersim.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

namespace
{
constexpr int runs = 7;

// Milliseconds from the record-information request to the last block written, or -1.
double timeOneDownload(UsbControl &control)
{
    QEventLoop loop;
    bool done = false;
    const auto progress = QObject::connect(&control, &UsbControl::dataDownloadProgress, &loop,
                                           [&](int cur, int total) {
                                               if (cur == total) {
                                                   done = true;
                                                   loop.quit();
                                               }
                                           });
    const auto failure =
        QObject::connect(&control, &UsbControl::dataDownloadErr, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    control.addSendSimpleCmd(makeSimpleCmd(RecordInfoCmd));
    loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
    QObject::disconnect(progress);
    QObject::disconnect(failure);
    return done ? ms : -1;
}

void downloadFigures(const FigurePrinter &print)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QObject owner;
    initSettings(&owner);
    loggersim::configure("HX20D:samples=70000:interval=1");

    UsbControl control(dataDir());
    if (!control.connectDevice(listAttachedLoggerDevices().value(0)))
        return;
    QEventLoop ready;
    QObject::connect(&control, &UsbControl::devStateSignal, &ready, &QEventLoop::quit);
    control.addSendSimpleCmd(makeSimpleCmd(InitialReadCmd));
    control.addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    ready.exec();

    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = timeOneDownload(control);
        if (ms < 0)
            return;
        times.append(ms);
    }
    print(QStringLiteral("download_63_blocks_ms"), median(times), QStringLiteral("ms"));
}

const bool registered = registerFigureGroup("download", &downloadFigures);
} // namespace
