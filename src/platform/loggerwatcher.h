// SPDX-License-Identifier: GPL-3.0-or-later
// Noticing that a logger was plugged in or unplugged.
#pragma once

#include "core/attachedlogger.h"

#include <QObject>
#include <QTimer>
#include <QVector>
#include <atomic>

struct libusb_context;
class QThread;

// Reports the arrival and the removal of any USB device with the loggers'
// vendor id and one of their product ids, within about a second. Uses libusb
// hotplug events where the platform has them and compares the device list
// every second otherwise. Owns its own libusb context, never the default one
// the transport uses.
class LoggerWatcher : public QObject
{
    Q_OBJECT
public:
    explicit LoggerWatcher(QObject *parent = nullptr);
    ~LoggerWatcher() override;

signals:
    void loggerArrived(const AttachedLogger &logger);
    void loggerRemoved(const AttachedLogger &logger);

private:
    bool startHotplug();
    void pollDeviceList();
    QVector<AttachedLogger> listAttached() const;

    libusb_context *context = nullptr;
    QThread *eventThread = nullptr;
    std::atomic<bool> stopping{false};
    int hotplugHandle = 0;
    QTimer pollTimer;
    QVector<AttachedLogger> lastAttached;
};
