// SPDX-License-Identifier: GPL-3.0-or-later
// The logger emulator itself: its configuration text, device list, hotplug events and memory.
#include "core/lgxdevtype.h"
#include "loggersim.h"

#include <QTemporaryDir>
#include <QtTest>
#include <libusb.h>

namespace
{
struct Seen {
    QList<int> events;
    QList<uint16_t> products;
};

int LIBUSB_CALL onHotplug(libusb_context *, libusb_device *device, libusb_hotplug_event event,
                          void *user)
{
    auto *seen = static_cast<Seen *>(user);
    libusb_device_descriptor desc;
    libusb_get_device_descriptor(device, &desc);
    seen->events.append(event);
    seen->products.append(desc.idProduct);
    return 0;
}

QList<uint16_t> listedProducts()
{
    libusb_device **list = nullptr;
    const ssize_t n = libusb_get_device_list(nullptr, &list);
    QList<uint16_t> products;
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor desc;
        libusb_get_device_descriptor(list[i], &desc);
        products.append(desc.idProduct);
    }
    libusb_free_device_list(list, 1);
    return products;
}
} // namespace

class TstLoggerSim : public QObject
{
    Q_OBJECT
private slots:
    void compactDescription();
    void jsonDescription();
    void deviceListFollowsPlugOrder();
    void hotplugReportsArrivalAndRemoval();
    void loopRecordingKeepsTheNewestSamples();
    void stopWhenFullKeepsTheFirstSamples();
};

void TstLoggerSim::compactDescription()
{
    QTest::ignoreMessage(QtWarningMsg, "loggersim: unknown model in \"HX30D:sn=bad\"");
    loggersim::configure("HX10D:sn=X1:samples=1500:interval=3:seed=9, "
                         "HX20D:sensor=1:delay=5:latency=40:note=冷库 B;HX30D:sn=bad");
    const QList<int> ids = loggersim::loggerIds();
    QCOMPARE(ids.size(), 2);
    QCOMPARE(loggersim::recordNum(ids[0]), 1500);
    QCOMPARE(loggersim::config(ids[0]).recordInterval, uint16_t(3));
    QCOMPARE(loggersim::config(ids[1]).sensorType, uint8_t(1));
    QCOMPARE(loggersim::config(ids[1]).startDelayTime, uint8_t(5));
    QCOMPARE(loggersim::faults(ids[0]).latencyMs, 0);
    QCOMPARE(loggersim::faults(ids[1]).latencyMs, 40);
    QCOMPARE(loggersim::note(ids[0]), QByteArray());
    QCOMPARE(loggersim::note(ids[1]), QByteArray("\xC0\xE4\xBF\xE2 B")); // GBK
    // A temperature-only probe records no humidity.
    const QVector<loggersim::Sample> samples = loggersim::heldSamples(ids[1]);
    QVERIFY(std::all_of(samples.begin(), samples.end(), [](const loggersim::Sample &s) {
        return s.humidity == loggersim::noValue;
    }));
    loggersim::configure("none");
    QVERIFY(loggersim::loggerIds().isEmpty());
    QVERIFY(listedProducts().isEmpty());
}

void TstLoggerSim::jsonDescription()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("loggers.json");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"loggers": [{"model": "HX20D", "sn": "J1", "samples": 42, "loop": false,
                                "start": "2024-01-31T08:00:00", "interval": 12}]})");
    file.close();
    loggersim::configure(path);
    const int id = loggersim::loggerIds().value(0);
    QCOMPARE(loggersim::recordNum(id), 42);
    QCOMPARE(loggersim::recordingStart(id), QDateTime(QDate(2024, 1, 31), QTime(8, 0)));
    const QVector<loggersim::Sample> samples = loggersim::heldSamples(id);
    QCOMPARE(samples.size(), 42);
    QCOMPARE(samples.first().time,
             QDateTime(QDate(2024, 1, 31), QTime(8, 0), Qt::UTC).toSecsSinceEpoch());
    QCOMPARE(samples.last().time - samples.first().time, 41 * 60);
}

void TstLoggerSim::deviceListFollowsPlugOrder()
{
    loggersim::configure("HX20D,HX10D,HX20D");
    const QList<int> ids = loggersim::loggerIds();
    QCOMPARE(listedProducts(), QList<uint16_t>({hx20dProductId, hx10dProductId, hx20dProductId}));
    loggersim::unplug(ids[0]);
    QVERIFY(!loggersim::isPlugged(ids[0]));
    QCOMPARE(listedProducts(), QList<uint16_t>({hx10dProductId, hx20dProductId}));
    // A logger plugged in again comes last.
    loggersim::plug(ids[0]);
    QCOMPARE(listedProducts(), QList<uint16_t>({hx10dProductId, hx20dProductId, hx20dProductId}));
}

void TstLoggerSim::hotplugReportsArrivalAndRemoval()
{
    loggersim::configure("HX20D,HX10D");
    const QList<int> ids = loggersim::loggerIds();
    QVERIFY(libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG));
    libusb_context *ctx = nullptr;
    QCOMPARE(libusb_init(&ctx), 0);
    Seen seen;
    libusb_hotplug_callback_handle handle = 0;
    const int events = LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT;
    QCOMPARE(libusb_hotplug_register_callback(ctx, events, LIBUSB_HOTPLUG_ENUMERATE, loggerVendorId,
                                              hx10dProductId, LIBUSB_HOTPLUG_MATCH_ANY, onHotplug,
                                              &seen, &handle),
             0);
    QCOMPARE(seen.events, QList<int>{LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED});

    loggersim::unplug(ids[0]); // the other model: not reported
    loggersim::unplug(ids[1]);
    timeval tv{0, 200000};
    int completed = 0;
    libusb_handle_events_timeout_completed(ctx, &tv, &completed);
    QCOMPARE(seen.events,
             QList<int>({LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED, LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT}));
    QCOMPARE(seen.products, QList<uint16_t>({hx10dProductId, hx10dProductId}));

    libusb_hotplug_deregister_callback(ctx, handle);
    loggersim::plug(ids[1]);
    libusb_handle_events_timeout_completed(ctx, &tv, &completed);
    QCOMPARE(seen.events.size(), 2);
    libusb_exit(ctx);

    loggersim::setHotplugCapability(false);
    QVERIFY(!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG));
    loggersim::setHotplugCapability(true);
}

void TstLoggerSim::loopRecordingKeepsTheNewestSamples()
{
    loggersim::configure("HX10D:samples=70000:interval=1:seed=5");
    const int id = loggersim::loggerIds().first();
    const QVector<loggersim::Sample> samples = loggersim::heldSamples(id);
    QCOMPARE(samples.size(), loggersim::memoryCapacity);
    const QDateTime start = loggersim::recordingStart(id);
    const qint64 first = QDateTime(start.date(), start.time(), Qt::UTC).toSecsSinceEpoch();
    QCOMPARE(samples.first().time, first + (70000 - loggersim::memoryCapacity) * 5);
    QCOMPARE(samples.last().time, first + 69999 * 5);
    // Plausible values with excursions and a few missing ones.
    int missing = 0, hot = 0;
    for (const loggersim::Sample &s : samples) {
        missing += s.temperature == loggersim::noValue ? 1 : 0;
        hot += s.temperature > 3000 && s.temperature != loggersim::noValue ? 1 : 0;
    }
    QVERIFY(missing > 10 && missing < 1000);
    QVERIFY(hot > 100);
}

void TstLoggerSim::stopWhenFullKeepsTheFirstSamples()
{
    loggersim::configure("HX20D:samples=70000:loop=0");
    QCOMPARE(loggersim::recordNum(loggersim::loggerIds().first()), loggersim::memoryCapacity);
}

QTEST_GUILESS_MAIN(TstLoggerSim)
#include "tst_loggersim.moc"
