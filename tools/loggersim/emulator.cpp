// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated USB bus behind the libusb functions: devices, transfers, hotplug, signals.
#include "emulator.h"

#include "core/lgxdevtype.h"
#include "loggersetups.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>

namespace
{
constexpr unsigned char outEndpoint = 0x04;
constexpr unsigned char inEndpoint = 0x84;
// Blocking waits wake at least this often to notice the plug and unplug signals.
constexpr std::chrono::milliseconds pollSlice(100);

// SIGUSR1 toggles the first logger, SIGUSR2 the second; the handler only counts.
std::atomic<int> pendingToggles[2];

void onSignal(int signal)
{
    pendingToggles[signal == SIGUSR1 ? 0 : 1].fetch_add(1);
}

void installSignalHandlers()
{
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
    sigaction(SIGUSR2, &action, nullptr);
}

// Installed when the program starts, so a signal never ends a demo that has not yet
// touched the bus.
const bool signalHandlersInstalled = (installSignalHandlers(), true);

bool matches(const HotplugCallback &cb, const libusb_device *device, libusb_hotplug_event event)
{
    return (cb.events & event) &&
           (cb.vendorId == LIBUSB_HOTPLUG_MATCH_ANY || cb.vendorId == loggerVendorId) &&
           (cb.productId == LIBUSB_HOTPLUG_MATCH_ANY || cb.productId == device->productId);
}
} // namespace

Emulator &Emulator::instance()
{
    static Emulator emulator;
    return emulator;
}

Emulator::Emulator()
{
    Q_UNUSED(signalHandlersInstalled)
    const QByteArray env = qgetenv("LOGGERSIM");
    configure(env.isNull() ? defaultLoggerSetupText() : QString::fromLocal8Bit(env));
    if (qgetenv("LOGGERSIM_HOTPLUG") == "0")
        hotplugCapability = false;
}

Emulator::~Emulator()
{
    std::lock_guard<std::mutex> lock(mutex);
    for (auto &entry : loggerSlots)
        unplugLocked(entry.first);
}

int Emulator::init(libusb_context **ctx)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!ctx) {
        ++defaultContextUsers;
        return LIBUSB_SUCCESS;
    }
    *ctx = new libusb_context;
    contexts.push_back(*ctx);
    return LIBUSB_SUCCESS;
}

void Emulator::exit(libusb_context *ctx)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!ctx) {
        --defaultContextUsers;
        return;
    }
    contexts.erase(std::remove(contexts.begin(), contexts.end(), ctx), contexts.end());
    for (const HotplugEvent &e : ctx->events)
        unrefLocked(e.device);
    delete ctx;
}

ssize_t Emulator::deviceList(libusb_device ***list)
{
    std::lock_guard<std::mutex> lock(mutex);
    applySignalsLocked();
    auto **out =
        static_cast<libusb_device **>(calloc(attached.size() + 1, sizeof(libusb_device *)));
    if (!out)
        return LIBUSB_ERROR_NO_MEM;
    for (size_t i = 0; i < attached.size(); ++i) {
        ++attached[i]->refs;
        out[i] = attached[i];
    }
    *list = out;
    return ssize_t(attached.size());
}

void Emulator::freeDeviceList(libusb_device **list, bool unrefDevices)
{
    if (!list)
        return;
    if (unrefDevices) {
        std::lock_guard<std::mutex> lock(mutex);
        for (libusb_device **d = list; *d; ++d)
            unrefLocked(*d);
    }
    free(list);
}

void Emulator::ref(libusb_device *device)
{
    std::lock_guard<std::mutex> lock(mutex);
    ++device->refs;
}

void Emulator::unref(libusb_device *device)
{
    std::lock_guard<std::mutex> lock(mutex);
    unrefLocked(device);
}

void Emulator::unrefLocked(libusb_device *device)
{
    if (device && --device->refs == 0)
        delete device;
}

int Emulator::open(libusb_device *device, libusb_device_handle **handle)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!device->attached)
        return LIBUSB_ERROR_NO_DEVICE;
    Slot &slot = loggerSlots.at(device->loggerId);
    if (slot.faults.refuseOpen)
        return LIBUSB_ERROR_ACCESS;
    ++slot.opens;
    ++device->refs;
    *handle = new libusb_device_handle;
    (*handle)->device = device;
    handles.push_back(*handle);
    return LIBUSB_SUCCESS;
}

void Emulator::close(libusb_device_handle *handle)
{
    if (!handle)
        return;
    std::lock_guard<std::mutex> lock(mutex);
    handles.erase(std::remove(handles.begin(), handles.end(), handle), handles.end());
    unrefLocked(handle->device);
    delete handle;
}

int Emulator::claim(libusb_device_handle *handle, int interface)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!handle->device->attached)
        return LIBUSB_ERROR_NO_DEVICE;
    if (interface != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    if (loggerSlots.at(handle->device->loggerId).faults.kernelDriver)
        return LIBUSB_ERROR_BUSY;
    for (const libusb_device_handle *other : handles) {
        if (other != handle && other->device == handle->device && other->claimed)
            return LIBUSB_ERROR_BUSY;
    }
    handle->claimed = true;
    return LIBUSB_SUCCESS;
}

int Emulator::kernelDriverActive(libusb_device_handle *handle, int interface)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!handle->device->attached)
        return LIBUSB_ERROR_NO_DEVICE;
    if (interface != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    return loggerSlots.at(handle->device->loggerId).faults.kernelDriver ? 1 : 0;
}

int Emulator::detachKernelDriver(libusb_device_handle *handle, int interface)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!handle->device->attached)
        return LIBUSB_ERROR_NO_DEVICE;
    bool &bound = loggerSlots.at(handle->device->loggerId).faults.kernelDriver;
    if (interface != 0 || !bound)
        return LIBUSB_ERROR_NOT_FOUND;
    bound = false;
    return LIBUSB_SUCCESS;
}

int Emulator::release(libusb_device_handle *handle, int interface)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (interface != 0 || !handle->claimed)
        return LIBUSB_ERROR_NOT_FOUND;
    handle->claimed = false;
    return handle->device->attached ? LIBUSB_SUCCESS : LIBUSB_ERROR_NO_DEVICE;
}

int Emulator::bulkTransfer(libusb_device_handle *handle, unsigned char endpoint,
                           unsigned char *data, int length, int *transferred, unsigned int timeout)
{
    if (transferred)
        *transferred = 0;
    std::unique_lock<std::mutex> lock(mutex);
    applySignalsLocked();
    if (!handle->device->attached)
        return LIBUSB_ERROR_NO_DEVICE;
    // The endpoints belong to interface 0, which must be claimed first.
    if (!handle->claimed)
        return LIBUSB_ERROR_IO;
    if (endpoint == inEndpoint)
        return readLocked(lock, handle, data, length, transferred, timeout);
    if (endpoint != outEndpoint)
        return LIBUSB_ERROR_PIPE;
    const int id = handle->device->loggerId;
    Slot &slot = loggerSlots.at(id);
    const QByteArray bytes(reinterpret_cast<const char *>(data), length);
    slot.written.append(bytes);
    receiveLocked(slot, bytes);
    if (transferred)
        *transferred = length;
    if (slot.faults.unplugAfterTransfers > 0 && --slot.faults.unplugAfterTransfers == 0) {
        slot.faults.unplugAfterTransfers = -1;
        unplugLocked(id);
    }
    changed.notify_all();
    return LIBUSB_SUCCESS;
}

int Emulator::readLocked(std::unique_lock<std::mutex> &lock, libusb_device_handle *handle,
                         unsigned char *data, int length, int *transferred, unsigned int timeout)
{
    if (readWaitLimitMs > 0 && (timeout == 0 || timeout > unsigned(readWaitLimitMs)))
        timeout = unsigned(readWaitLimitMs);
    const auto deadline =
        timeout == 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(timeout);
    for (;;) {
        applySignalsLocked();
        if (!handle->device->attached)
            return LIBUSB_ERROR_NO_DEVICE;
        std::deque<Chunk> &queue = loggerSlots.at(handle->device->loggerId).inQueue;
        const auto now = Clock::now();
        if (!queue.empty() && queue.front().readyAt <= now) {
            Chunk &chunk = queue.front();
            const int n = std::min(length, int(chunk.bytes.size()));
            std::copy_n(chunk.bytes.constData(), n, data);
            if (transferred)
                *transferred = n;
            chunk.bytes.remove(0, n);
            if (chunk.bytes.isEmpty())
                queue.pop_front();
            return LIBUSB_SUCCESS;
        }
        if (now >= deadline)
            return LIBUSB_ERROR_TIMEOUT;
        auto wake = std::min(deadline, now + pollSlice);
        if (!queue.empty())
            wake = std::min(wake, queue.front().readyAt);
        changed.wait_until(lock, wake);
    }
}

void Emulator::receiveLocked(Slot &slot, const QByteArray &bytes)
{
    // Every OUT transfer carries whole frames; a transfer of the two head bytes alone
    // only wakes the logger up.
    int pos = 0;
    for (;;) {
        const int head = bytes.indexOf("\x5A\xA5", pos);
        if (head < 0 || head + 3 > bytes.size())
            return;
        const int frameLength = uint8_t(bytes.at(head + 2)) + 5;
        if (head + frameLength > bytes.size())
            return;
        queueAnswerLocked(slot, bytes.mid(head, frameLength));
        pos = head + frameLength;
    }
}

void Emulator::queueAnswerLocked(Slot &slot, const QByteArray &request)
{
    QByteArray answer = slot.logger->answer(request);
    loggersim::Faults &f = slot.faults;
    if (!slot.rawAnswers.isEmpty())
        answer = slot.rawAnswers.takeFirst();
    else if (f.silent)
        return;
    if (answer.isEmpty())
        return;
    if (f.dropAnswers > 0) {
        --f.dropAnswers;
        return;
    }
    if (uint8_t(request.at(3)) == 0xE2 && f.wrongBlockNumber > 0 && answer.size() > 1 &&
        answer.at(1) == char(f.wrongBlockNumber)) {
        answer[1] = char(f.wrongBlockNumber + 1);
        f.wrongBlockNumber = 0;
    }
    answer.prepend(f.garbage);
    const int chunks = std::clamp(f.chunks, 1, int(answer.size()));
    const auto readyAt = Clock::now() + std::chrono::milliseconds(std::max(0, f.latencyMs));
    int pos = 0;
    for (int i = 0; i < chunks; ++i) {
        const int end = int((qint64(answer.size()) * (i + 1)) / chunks);
        slot.inQueue.push_back({answer.mid(pos, end - pos), readyAt});
        pos = end;
    }
}

bool Emulator::hasHotplug()
{
    std::lock_guard<std::mutex> lock(mutex);
    return hotplugCapability;
}

int Emulator::registerHotplug(libusb_context *ctx, int events, int flags, int vendorId,
                              int productId, libusb_hotplug_callback_fn fn, void *userData,
                              libusb_hotplug_callback_handle *handle)
{
    if (!fn)
        return LIBUSB_ERROR_INVALID_PARAM;
    std::vector<libusb_device *> present;
    HotplugCallback cb{};
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!hotplugCapability)
            return LIBUSB_ERROR_NOT_SUPPORTED;
        cb = {nextCallbackHandle++, events, vendorId, productId, fn, userData};
        contextOf(ctx)->callbacks.push_back(cb);
        if (handle)
            *handle = cb.handle;
        if (flags & LIBUSB_HOTPLUG_ENUMERATE) {
            for (libusb_device *d : attached) {
                if (matches(cb, d, LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED)) {
                    ++d->refs;
                    present.push_back(d);
                }
            }
        }
    }
    for (libusb_device *d : present) {
        if (fn(ctx, d, LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED, userData) == 1)
            deregisterHotplug(ctx, cb.handle);
        unref(d);
    }
    return LIBUSB_SUCCESS;
}

void Emulator::deregisterHotplug(libusb_context *ctx, libusb_hotplug_callback_handle handle)
{
    std::lock_guard<std::mutex> lock(mutex);
    auto &cbs = contextOf(ctx)->callbacks;
    cbs.erase(std::remove_if(cbs.begin(), cbs.end(),
                             [handle](const HotplugCallback &cb) { return cb.handle == handle; }),
              cbs.end());
}

int Emulator::handleEvents(libusb_context *ctx, const timeval *tv, int *completed)
{
    libusb_context *c = contextOf(ctx);
    const auto wait = tv ? std::chrono::seconds(tv->tv_sec) + std::chrono::microseconds(tv->tv_usec)
                         : std::chrono::microseconds(std::chrono::seconds(60));
    const auto deadline = Clock::now() + wait;
    std::deque<HotplugEvent> events;
    std::vector<HotplugCallback> callbacks;
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            applySignalsLocked();
            if (c->interrupted) {
                c->interrupted = false;
                break;
            }
            if ((completed && *completed) || !c->events.empty() || Clock::now() >= deadline)
                break;
            changed.wait_until(lock, std::min(deadline, Clock::now() + pollSlice));
        }
        events.swap(c->events);
        callbacks = c->callbacks;
    }
    for (const HotplugEvent &e : events) {
        for (const HotplugCallback &cb : callbacks) {
            if (matches(cb, e.device, e.event) && cb.fn(ctx, e.device, e.event, cb.userData) == 1)
                deregisterHotplug(ctx, cb.handle);
        }
        unref(e.device);
    }
    return LIBUSB_SUCCESS;
}

void Emulator::interrupt(libusb_context *ctx)
{
    std::lock_guard<std::mutex> lock(mutex);
    contextOf(ctx)->interrupted = true;
    changed.notify_all();
}

void Emulator::notifyHotplugLocked(libusb_device *device, libusb_hotplug_event event)
{
    std::vector<libusb_context *> all = contexts;
    all.push_back(&defaultContext);
    for (libusb_context *c : all) {
        if (c->callbacks.empty())
            continue;
        ++device->refs;
        c->events.push_back({device, event});
    }
    changed.notify_all();
}

void Emulator::applySignalsLocked()
{
    for (int k = 0; k < 2; ++k) {
        for (int n = pendingToggles[k].exchange(0); n > 0; --n) {
            if (int(loggerSlots.size()) <= k)
                break;
            const int id = std::next(loggerSlots.begin(), k)->first;
            if (loggerSlots.at(id).device)
                unplugLocked(id);
            else
                plugLocked(id);
        }
    }
}

void Emulator::plugLocked(int id, bool ahead)
{
    Slot &slot = loggerSlots.at(id);
    if (slot.device)
        return;
    auto *device = new libusb_device;
    device->loggerId = id;
    device->address = nextAddress++;
    device->port = uint8_t(id % 127 + 1);
    device->productId = productIdOf(slot.logger->model());
    slot.device = device;
    if (ahead)
        attached.insert(attached.begin(), device);
    else
        attached.push_back(device);
    notifyHotplugLocked(device, LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED);
}

void Emulator::unplugLocked(int id)
{
    Slot &slot = loggerSlots.at(id);
    libusb_device *device = slot.device;
    if (!device)
        return;
    device->attached = false;
    attached.erase(std::remove(attached.begin(), attached.end(), device), attached.end());
    slot.device = nullptr;
    slot.inQueue.clear();
    notifyHotplugLocked(device, LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT);
    unrefLocked(device);
}

void Emulator::configure(const QString &description)
{
    const QList<loggersim::LoggerSetup> setups = parseLoggerSetups(description);
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (auto &entry : loggerSlots)
            unplugLocked(entry.first);
        loggerSlots.clear();
        hotplugCapability = qgetenv("LOGGERSIM_HOTPLUG") != "0";
    }
    for (const loggersim::LoggerSetup &s : setups)
        addLogger(s);
}

int Emulator::addLogger(const loggersim::LoggerSetup &description)
{
    std::lock_guard<std::mutex> lock(mutex);
    const int id = nextId++;
    int sameModel = 0;
    for (const auto &entry : loggerSlots)
        sameModel += entry.second.logger->model() == description.model ? 1 : 0;
    const QString sn = description.sn.isEmpty() ? QStringLiteral("%1SIM%2")
                                                      .arg(description.model == 0 ? "H1" : "H2")
                                                      .arg(sameModel + 1, 5, 10, QLatin1Char('0'))
                                                : description.sn;
    Slot &slot = loggerSlots[id];
    slot.logger = std::make_unique<EmulatedLogger>(description, sn);
    slot.faults = description.faults;
    plugLocked(id);
    return id;
}

QList<int> Emulator::loggerIds()
{
    std::lock_guard<std::mutex> lock(mutex);
    QList<int> ids;
    for (const auto &entry : loggerSlots)
        ids.append(entry.first);
    return ids;
}

void Emulator::plug(int id, bool ahead)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (loggerSlots.count(id))
        plugLocked(id, ahead);
}

void Emulator::unplug(int id)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (loggerSlots.count(id))
        unplugLocked(id);
}

int Emulator::openHandleCount()
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(handles.size());
}

int Emulator::defaultContextUserCount()
{
    std::lock_guard<std::mutex> lock(mutex);
    return defaultContextUsers;
}

void Emulator::setHotplugCapability(bool available)
{
    std::lock_guard<std::mutex> lock(mutex);
    hotplugCapability = available;
}

void Emulator::setReadWaitLimit(int ms)
{
    std::lock_guard<std::mutex> lock(mutex);
    readWaitLimitMs = std::max(0, ms);
}
