// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated USB bus: loggers, devices, handles, contexts, transfers and hotplug events.
#pragma once

#include "emulatedlogger.h"
#include "loggersim.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <libusb.h>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// libusb leaves these types opaque; the emulator gives them their content.
struct libusb_device {
    int refs = 1;
    int loggerId = 0;
    bool attached = true;
    uint8_t address = 0;
    // The port of the emulated hub the logger is plugged into: its own, replugged or not.
    uint8_t port = 0;
    uint16_t productId = 0;
};

struct libusb_device_handle {
    libusb_device *device = nullptr;
    bool claimed = false;
};

struct HotplugCallback {
    libusb_hotplug_callback_handle handle;
    int events;
    int vendorId;
    int productId;
    libusb_hotplug_callback_fn fn;
    void *userData;
};

struct HotplugEvent {
    libusb_device *device;
    libusb_hotplug_event event;
};

struct libusb_context {
    std::vector<HotplugCallback> callbacks;
    std::deque<HotplugEvent> events;
    bool interrupted = false;
};

class Emulator
{
public:
    using Clock = std::chrono::steady_clock;

    struct Chunk {
        QByteArray bytes;
        Clock::time_point readyAt;
    };

    // One logger with its transfer state.
    struct Slot {
        std::unique_ptr<EmulatedLogger> logger;
        libusb_device *device = nullptr; // while plugged in
        loggersim::Faults faults;
        std::deque<Chunk> inQueue;
        QList<QByteArray> rawAnswers;
        QList<QByteArray> written;
        int opens = 0;
    };

    static Emulator &instance();
    ~Emulator();

    int init(libusb_context **ctx);
    void exit(libusb_context *ctx);
    ssize_t deviceList(libusb_device ***list);
    void freeDeviceList(libusb_device **list, bool unrefDevices);
    void ref(libusb_device *device);
    void unref(libusb_device *device);
    int open(libusb_device *device, libusb_device_handle **handle);
    void close(libusb_device_handle *handle);
    int claim(libusb_device_handle *handle, int interface);
    int release(libusb_device_handle *handle, int interface);
    int kernelDriverActive(libusb_device_handle *handle, int interface);
    int detachKernelDriver(libusb_device_handle *handle, int interface);
    int bulkTransfer(libusb_device_handle *handle, unsigned char endpoint, unsigned char *data,
                     int length, int *transferred, unsigned int timeout);
    bool hasHotplug();
    int registerHotplug(libusb_context *ctx, int events, int flags, int vendorId, int productId,
                        libusb_hotplug_callback_fn fn, void *userData,
                        libusb_hotplug_callback_handle *handle);
    void deregisterHotplug(libusb_context *ctx, libusb_hotplug_callback_handle handle);
    int handleEvents(libusb_context *ctx, const timeval *tv, int *completed);
    void interrupt(libusb_context *ctx);

    void configure(const QString &description);
    int addLogger(const loggersim::LoggerSetup &description);
    QList<int> loggerIds();
    // `ahead`: the device goes to the front of the device list, not its end.
    void plug(int id, bool ahead = false);
    void unplug(int id);
    int openHandleCount();
    int defaultContextUserCount();
    void setHotplugCapability(bool available);
    void setReadWaitLimit(int ms);

    // Runs `f` on the logger's slot under the emulator's lock; `fallback` for an unknown id.
    template <class F, class R> R withSlot(int id, R fallback, F f)
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = loggerSlots.find(id);
        return it == loggerSlots.end() ? fallback : f(it->second);
    }

private:
    Emulator();

    libusb_context *contextOf(libusb_context *ctx) { return ctx ? ctx : &defaultContext; }
    void plugLocked(int id, bool ahead = false);
    void unplugLocked(int id);
    void unrefLocked(libusb_device *device);
    void notifyHotplugLocked(libusb_device *device, libusb_hotplug_event event);
    void applySignalsLocked();
    void receiveLocked(Slot &slot, const QByteArray &bytes);
    void queueAnswerLocked(Slot &slot, const QByteArray &request);
    int readLocked(std::unique_lock<std::mutex> &lock, libusb_device_handle *handle,
                   unsigned char *data, int length, int *transferred, unsigned int timeout);

    std::mutex mutex;
    std::condition_variable changed;
    std::map<int, Slot> loggerSlots;
    std::vector<libusb_device *> attached; // in the order libusb lists them
    std::vector<libusb_device_handle *> handles;
    std::vector<libusb_context *> contexts;
    libusb_context defaultContext;
    // libusb_init(NULL) calls minus libusb_exit(NULL) calls.
    int defaultContextUsers = 0;
    int nextId = 1;
    uint8_t nextAddress = 2;
    int nextCallbackHandle = 1;
    bool hotplugCapability = true;
    int readWaitLimitMs = 0;
};
