// SPDX-License-Identifier: GPL-3.0-or-later
// Noticing that a logger was unplugged.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <atomic>

struct libusb_context;
class QThread;

// Reports the removal of any USB device with the loggers' vendor id and one of
// their product ids, within about a second. Uses libusb hotplug events where
// the platform has them and compares the device list every second otherwise.
// Owns its own libusb context, never the default one the transport uses.
class DeviceRemovalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit DeviceRemovalWatcher(QObject *parent = nullptr);
    ~DeviceRemovalWatcher() override;

signals:
    void loggerRemoved(int model);

private:
    bool startHotplug();
    void pollDeviceList();
    std::array<int, 2> countAttached() const;

    libusb_context *context = nullptr;
    QThread *eventThread = nullptr;
    std::atomic<bool> stopping{false};
    int hotplugHandle = 0;
    QTimer pollTimer;
    std::array<int, 2> lastCounts{{0, 0}};
};
