// SPDX-License-Identifier: GPL-3.0-or-later
// Noticing that a logger was plugged in or unplugged.
#pragma once

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

    // A logger as the device list names it.
    struct Attached {
        int model;
        int bus;
        int address;
        bool operator==(const Attached &other) const
        {
            return model == other.model && bus == other.bus && address == other.address;
        }
    };

signals:
    // `index` counts the attached loggers of `model` in libusb's device-list
    // order, as the transport does when it opens one: the arrived logger is
    // opened with connectDevice(model, index) while nothing else changes.
    void loggerArrived(int model, int index);
    void loggerRemoved(int model);

private:
    bool startHotplug();
    void pollDeviceList();
    // Emits loggerArrived for the logger at bus and address, if it is still attached.
    Q_INVOKABLE void reportArrival(int model, int bus, int address);
    QVector<Attached> listAttached() const;

    libusb_context *context = nullptr;
    QThread *eventThread = nullptr;
    std::atomic<bool> stopping{false};
    int hotplugHandle = 0;
    QTimer pollTimer;
    QVector<Attached> lastAttached;
};
