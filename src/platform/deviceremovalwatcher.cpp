// SPDX-License-Identifier: GPL-3.0-or-later
// Noticing that a logger was unplugged, through libusb hotplug or polling.
#include "platform/deviceremovalwatcher.h"

#include "core/lgxdevtype.h"

#include <QThread>
#include <libusb.h>

namespace
{
constexpr int pollIntervalMs = 1000;

int modelOfProduct(uint16_t vendor, uint16_t product)
{
    if (vendor != loggerVendorId)
        return NoDevType;
    if (product == hx10dProductId)
        return HX10D;
    if (product == hx20dProductId)
        return HX20D;
    return NoDevType;
}

int LIBUSB_CALL onHotplug(libusb_context *, libusb_device *device, libusb_hotplug_event,
                          void *userData)
{
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != 0)
        return 0;
    const int model = modelOfProduct(d.idVendor, d.idProduct);
    if (model == NoDevType)
        return 0;
    // Called on the event thread; the signal is delivered in the watcher's thread.
    auto *watcher = static_cast<DeviceRemovalWatcher *>(userData);
    QMetaObject::invokeMethod(
        watcher, [watcher, model] { emit watcher->loggerRemoved(model); }, Qt::QueuedConnection);
    return 0;
}
} // namespace

DeviceRemovalWatcher::DeviceRemovalWatcher(QObject *parent) : QObject(parent)
{
    if (libusb_init(&context) != 0) {
        context = nullptr;
        return;
    }
    if (startHotplug())
        return;
    lastCounts = countAttached();
    pollTimer.setInterval(pollIntervalMs);
    connect(&pollTimer, &QTimer::timeout, this, &DeviceRemovalWatcher::pollDeviceList);
    pollTimer.start();
}

DeviceRemovalWatcher::~DeviceRemovalWatcher()
{
    pollTimer.stop();
    if (eventThread) {
        stopping = true;
        // Deregistering wakes the event loop of the thread, which then sees the flag.
        libusb_hotplug_deregister_callback(context, hotplugHandle);
        eventThread->wait();
        delete eventThread;
    }
    if (context)
        libusb_exit(context);
}

bool DeviceRemovalWatcher::startHotplug()
{
    if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG))
        return false;
    libusb_hotplug_callback_handle handle = 0;
    const int rc = libusb_hotplug_register_callback(
        context, LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT, LIBUSB_HOTPLUG_NO_FLAGS, loggerVendorId,
        LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY, onHotplug, this, &handle);
    if (rc != LIBUSB_SUCCESS)
        return false;
    hotplugHandle = handle;
    eventThread = QThread::create([this] {
        while (!stopping) {
            timeval timeout{0, 250000};
            libusb_handle_events_timeout_completed(context, &timeout, nullptr);
        }
    });
    eventThread->start();
    return true;
}

std::array<int, 2> DeviceRemovalWatcher::countAttached() const
{
    std::array<int, 2> counts{{0, 0}};
    libusb_device **list = nullptr;
    const ssize_t n = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(list[i], &d) != 0)
            continue;
        const int model = modelOfProduct(d.idVendor, d.idProduct);
        if (model != NoDevType)
            ++counts[size_t(model)];
    }
    if (n >= 0)
        libusb_free_device_list(list, 1);
    return counts;
}

void DeviceRemovalWatcher::pollDeviceList()
{
    const std::array<int, 2> counts = countAttached();
    for (int model : {int(HX10D), int(HX20D)}) {
        for (int gone = lastCounts[size_t(model)] - counts[size_t(model)]; gone > 0; --gone)
            emit loggerRemoved(model);
    }
    lastCounts = counts;
}
