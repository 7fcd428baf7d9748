// SPDX-License-Identifier: GPL-3.0-or-later
// Loggers plugged in and out while the watcher runs, with libusb hotplug and with polling.
#include "core/lgxdevtype.h"
#include "loggersim.h"
#include "platform/loggerwatcher.h"

#include <QSignalSpy>
#include <QtTest>

class TstLoggerWatcher : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void arrivalsCountAsTheTransportOpens_data();
    void arrivalsCountAsTheTransportOpens();
};

void TstLoggerWatcher::cleanup()
{
    loggersim::setHotplugCapability(true);
}

void TstLoggerWatcher::arrivalsCountAsTheTransportOpens_data()
{
    QTest::addColumn<bool>("hotplug");
    QTest::newRow("hotplug events") << true;
    // Compares the device list once a second.
    QTest::newRow("polling, on the one-second clock") << false;
}

void TstLoggerWatcher::arrivalsCountAsTheTransportOpens()
{
    QFETCH(bool, hotplug);
    loggersim::setHotplugCapability(hotplug);
    loggersim::configure("HX20D:sn=A,HX10D:sn=B,HX20D:sn=C");
    const QList<int> ids = loggersim::loggerIds();
    LoggerWatcher watcher;
    QSignalSpy arrived(&watcher, &LoggerWatcher::loggerArrived);
    QSignalSpy removed(&watcher, &LoggerWatcher::loggerRemoved);

    // A plugged-in logger goes to the end of the device list: after A, C is the
    // second HX20D again, and A, plugged in after C, becomes the second one.
    const struct {
        int id;
        int index;
    } steps[] = {{ids[2], 1}, {ids[0], 1}, {ids[1], 0}};
    for (const auto &step : steps) {
        loggersim::unplug(step.id);
        QTRY_COMPARE_WITH_TIMEOUT(removed.count(), 1, 3000);
        loggersim::plug(step.id);
        QTRY_COMPARE_WITH_TIMEOUT(arrived.count(), 1, 3000);
        const int model = step.id == ids[1] ? int(HX10D) : int(HX20D);
        QCOMPARE(removed.takeFirst().at(0).toInt(), model);
        const QList<QVariant> arrival = arrived.takeFirst();
        QCOMPARE(arrival.at(0).toInt(), model);
        QCOMPARE(arrival.at(1).toInt(), step.index);
    }
    QTest::qWait(hotplug ? 100 : 1100);
    QCOMPARE(arrived.count() + removed.count(), 0);
}

QTEST_GUILESS_MAIN(TstLoggerWatcher)
#include "tst_loggerwatcher.moc"
