// SPDX-License-Identifier: GPL-3.0-or-later
// Noticing that a logger was plugged in or unplugged, through libusb hotplug or polling.
#include "platform/loggerwatcher.h"

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

int modelOf(libusb_device *device)
{
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != 0)
        return NoDevType;
    return modelOfProduct(d.idVendor, d.idProduct);
}

int LIBUSB_CALL onHotplug(libusb_context *, libusb_device *device, libusb_hotplug_event event,
                          void *userData)
{
    const int model = modelOf(device);
    if (model == NoDevType)
        return 0;
    const int bus = libusb_get_bus_number(device);
    const int address = libusb_get_device_address(device);
    // Called on the event thread; the signals are emitted in the watcher's
    // thread, where an arrival's index is counted from the device list.
    auto *watcher = static_cast<LoggerWatcher *>(userData);
    if (event == LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT)
        QMetaObject::invokeMethod(watcher, "loggerRemoved", Qt::QueuedConnection,
                                  Q_ARG(int, model));
    else
        QMetaObject::invokeMethod(watcher, "reportArrival", Qt::QueuedConnection, Q_ARG(int, model),
                                  Q_ARG(int, bus), Q_ARG(int, address));
    return 0;
}

// The position of `logger` among the loggers of its model in `list`, or -1.
int indexIn(const QVector<LoggerWatcher::Attached> &list, const LoggerWatcher::Attached &logger)
{
    int index = 0;
    for (const LoggerWatcher::Attached &a : list) {
        if (a == logger)
            return index;
        if (a.model == logger.model)
            ++index;
    }
    return -1;
}
} // namespace

LoggerWatcher::LoggerWatcher(QObject *parent) : QObject(parent)
{
    if (libusb_init(&context) != 0) {
        context = nullptr;
        return;
    }
    if (startHotplug())
        return;
    lastAttached = listAttached();
    pollTimer.setInterval(pollIntervalMs);
    connect(&pollTimer, &QTimer::timeout, this, &LoggerWatcher::pollDeviceList);
    pollTimer.start();
}

LoggerWatcher::~LoggerWatcher()
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

bool LoggerWatcher::startHotplug()
{
    if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG))
        return false;
    libusb_hotplug_callback_handle handle = 0;
    const int rc = libusb_hotplug_register_callback(
        context,
        libusb_hotplug_event(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                             LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
        LIBUSB_HOTPLUG_NO_FLAGS, loggerVendorId, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
        onHotplug, this, &handle);
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

QVector<LoggerWatcher::Attached> LoggerWatcher::listAttached() const
{
    QVector<Attached> attached;
    libusb_device **list = nullptr;
    const ssize_t n = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < n; ++i) {
        const int model = modelOf(list[i]);
        if (model != NoDevType)
            attached.append(
                {model, libusb_get_bus_number(list[i]), libusb_get_device_address(list[i])});
    }
    if (n >= 0)
        libusb_free_device_list(list, 1);
    return attached;
}

void LoggerWatcher::reportArrival(int model, int bus, int address)
{
    const int index = indexIn(listAttached(), {model, bus, address});
    if (index >= 0)
        emit loggerArrived(model, index);
}

void LoggerWatcher::pollDeviceList()
{
    const QVector<Attached> attached = listAttached();
    for (const Attached &gone : qAsConst(lastAttached)) {
        if (!attached.contains(gone))
            emit loggerRemoved(gone.model);
    }
    for (const Attached &now : attached) {
        if (!lastAttached.contains(now))
            emit loggerArrived(now.model, indexIn(attached, now));
    }
    lastAttached = attached;
}
