// SPDX-License-Identifier: GPL-3.0-or-later
// Noticing that a logger was plugged in or unplugged, through libusb hotplug or polling.
#include "platform/loggerwatcher.h"

#include "core/lgxdevtype.h"
#include "platform/loggerenumeration.h"

#include <QThread>
#include <libusb.h>

namespace
{
constexpr int pollIntervalMs = 1000;

int LIBUSB_CALL onHotplug(libusb_context *, libusb_device *device, libusb_hotplug_event event,
                          void *userData)
{
    const AttachedLogger logger = attachedLoggerOf(device);
    if (!logger.isValid())
        return 0;
    // Called on the event thread; the signals are emitted in the watcher's thread.
    auto *watcher = static_cast<LoggerWatcher *>(userData);
    QMetaObject::invokeMethod(
        watcher,
        [watcher, logger, event] {
            if (event == LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT)
                emit watcher->loggerRemoved(logger);
            else
                emit watcher->loggerArrived(logger);
        },
        Qt::QueuedConnection);
    return 0;
}
} // namespace

LoggerWatcher::LoggerWatcher(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<AttachedLogger>();
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

QVector<AttachedLogger> LoggerWatcher::listAttached() const
{
    QVector<AttachedLogger> attached;
    libusb_device **list = nullptr;
    const ssize_t n = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < n; ++i) {
        const AttachedLogger logger = attachedLoggerOf(list[i]);
        if (logger.isValid())
            attached.append(logger);
    }
    if (n >= 0)
        libusb_free_device_list(list, 1);
    return attached;
}

void LoggerWatcher::pollDeviceList()
{
    const QVector<AttachedLogger> attached = listAttached();
    for (const AttachedLogger &gone : qAsConst(lastAttached)) {
        if (!attached.contains(gone))
            emit loggerRemoved(gone);
    }
    for (const AttachedLogger &now : attached) {
        if (!lastAttached.contains(now))
            emit loggerArrived(now);
    }
    lastAttached = attached;
}
