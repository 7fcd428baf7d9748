// SPDX-License-Identifier: GPL-3.0-or-later
// Loggers plugged in and out while the watcher runs, with libusb hotplug and with polling.
#include "core/lgxdevtype.h"
#include "loggersim.h"
#include "platform/loggerenumeration.h"
#include "platform/loggerwatcher.h"

#include <QSignalSpy>
#include <QtTest>

class TstLoggerWatcher : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void arrivalsAndRemovalsNameTheLogger_data();
    void arrivalsAndRemovalsNameTheLogger();
};

void TstLoggerWatcher::cleanup()
{
    loggersim::setHotplugCapability(true);
}

void TstLoggerWatcher::arrivalsAndRemovalsNameTheLogger_data()
{
    QTest::addColumn<bool>("hotplug");
    QTest::newRow("hotplug events") << true;
    // Compares the device list once a second.
    QTest::newRow("polling, on the one-second clock") << false;
}

void TstLoggerWatcher::arrivalsAndRemovalsNameTheLogger()
{
    QFETCH(bool, hotplug);
    loggersim::setHotplugCapability(hotplug);
    loggersim::configure("HX20D:sn=A,HX10D:sn=B,HX20D:sn=C");
    const QList<int> ids = loggersim::loggerIds();
    QVector<AttachedLogger> before = listAttachedLoggerDevices();
    LoggerWatcher watcher;
    QSignalSpy arrived(&watcher, &LoggerWatcher::loggerArrived);
    QSignalSpy removed(&watcher, &LoggerWatcher::loggerRemoved);

    // Each notice names exactly the logger: the one that left as the list had
    // it, the one that came back at a new address in the same socket.
    for (int position : {2, 0, 1}) {
        loggersim::unplug(ids[position]);
        QTRY_COMPARE_WITH_TIMEOUT(removed.count(), 1, 3000);
        loggersim::plug(ids[position]);
        QTRY_COMPARE_WITH_TIMEOUT(arrived.count(), 1, 3000);
        const AttachedLogger gone = removed.takeFirst().at(0).value<AttachedLogger>();
        const AttachedLogger back = arrived.takeFirst().at(0).value<AttachedLogger>();
        QCOMPARE(gone, before.at(position));
        QCOMPARE(gone.portPath, before.at(position).portPath);
        QCOMPARE(back.model, gone.model);
        QVERIFY(back.address != gone.address);
        QCOMPARE(back.portPath, gone.portPath);
        QVERIFY(listAttachedLoggerDevices().contains(back));
        before[position] = back;
    }
    QTest::qWait(hotplug ? 100 : 1100);
    QCOMPARE(arrived.count() + removed.count(), 0);
}

QTEST_GUILESS_MAIN(TstLoggerWatcher)
#include "tst_loggerwatcher.moc"
