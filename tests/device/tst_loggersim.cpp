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
    void faultKnobsFromTheDescription_data();
    void faultKnobsFromTheDescription();
    void kernelDriverHoldsTheInterfaceUntilDetached();
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

void TstLoggerSim::faultKnobsFromTheDescription_data()
{
    QTest::addColumn<QString>("knobs");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("latency") << "latency=40"
                             << "latency" << QVariant(40);
    QTest::newRow("split answers") << "chunks=3"
                                   << "chunks" << QVariant(3);
    QTest::newRow("garbage before frames") << "garbage=00ff5a"
                                           << "garbage" << QVariant(QByteArray("\x00\xff\x5a", 3));
    QTest::newRow("dropped answers") << "drop=2"
                                     << "drop" << QVariant(2);
    QTest::newRow("silent") << "silent=1"
                            << "silent" << QVariant(true);
    QTest::newRow("refused open") << "refuseopen=yes"
                                  << "refuseopen" << QVariant(true);
    QTest::newRow("wrong block") << "wrongblock=5"
                                 << "wrongblock" << QVariant(5);
    QTest::newRow("unplug after transfers") << "unplugafter=7"
                                            << "unplugafter" << QVariant(7);
    QTest::newRow("kernel driver") << "kerneldriver=1"
                                   << "kerneldriver" << QVariant(true);
    QTest::newRow("none given") << ""
                                << "unplugafter" << QVariant(-1);
}

void TstLoggerSim::faultKnobsFromTheDescription()
{
    QFETCH(QString, knobs);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    loggersim::configure(QStringLiteral("HX10D:sn=K1:%1").arg(knobs));
    const loggersim::Faults f = loggersim::faults(loggersim::loggerIds().value(0));
    const QHash<QString, QVariant> fields = {{"latency", f.latencyMs},
                                             {"chunks", f.chunks},
                                             {"garbage", f.garbage},
                                             {"drop", f.dropAnswers},
                                             {"silent", f.silent},
                                             {"refuseopen", f.refuseOpen},
                                             {"wrongblock", f.wrongBlockNumber},
                                             {"unplugafter", f.unplugAfterTransfers},
                                             {"kerneldriver", f.kernelDriver}};
    QCOMPARE(fields.value(field), value);
}

void TstLoggerSim::kernelDriverHoldsTheInterfaceUntilDetached()
{
    loggersim::configure("HX20D:kerneldriver=1");
    libusb_init(nullptr);
    libusb_device **list = nullptr;
    QCOMPARE(libusb_get_device_list(nullptr, &list), ssize_t(1));
    libusb_device_handle *handle = nullptr;
    QCOMPARE(libusb_open(list[0], &handle), int(LIBUSB_SUCCESS));
    libusb_free_device_list(list, 1);
    unsigned char request[] = {0x5A, 0xA5, 0x02, 0x13, 0x00, 0x14, 0x01};
    int transferred = 0;
    QCOMPARE(libusb_kernel_driver_active(handle, 0), 1);
    QCOMPARE(libusb_claim_interface(handle, 0), int(LIBUSB_ERROR_BUSY));
    // Nothing goes through an interface nobody claimed.
    QCOMPARE(libusb_bulk_transfer(handle, 0x04, request, sizeof request, &transferred, 20),
             int(LIBUSB_ERROR_IO));
    QCOMPARE(libusb_detach_kernel_driver(handle, 0), int(LIBUSB_SUCCESS));
    QCOMPARE(libusb_kernel_driver_active(handle, 0), 0);
    QCOMPARE(libusb_detach_kernel_driver(handle, 0), int(LIBUSB_ERROR_NOT_FOUND));
    QCOMPARE(libusb_claim_interface(handle, 0), int(LIBUSB_SUCCESS));
    QCOMPARE(libusb_bulk_transfer(handle, 0x04, request, sizeof request, &transferred, 20),
             int(LIBUSB_SUCCESS));
    libusb_release_interface(handle, 0);
    libusb_close(handle);
    libusb_exit(nullptr);
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
