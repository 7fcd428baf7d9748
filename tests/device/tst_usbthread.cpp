// SPDX-License-Identifier: GPL-3.0-or-later
// The USB transport against emulated loggers: device choice, reads, writes, loss of the device.
#include "core/lgxdevtype.h"
#include "device/usbthread.h"
#include "loggersim.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QtTest>

using testsupport::hex;

namespace
{
// Opens the index-th attached logger with this product id at its bus and address.
bool openAt(UsbThread &thread, uint16_t productId, int index)
{
    const int model = productId == hx10dProductId ? HX10D : HX20D;
    const AttachedLogger logger = testsupport::attachedLogger(model, index);
    return thread.openDevice(loggerVendorId, productId, logger.bus, logger.address);
}
} // namespace

class TstUsbThread : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensByIndexInListOrder_data();
    void opensByIndexInListOrder();
    void secondOpenOfAClaimedLoggerFails();
    void openAfterDetachingTheKernelDriverClaims();
    void readsAnswersAndTicksWhenSilent();
    void unplugEndsTheLoopWithOneSignal();
    void writeAfterStopTouchesNothing();

private:
    QList<int> ids;
};

void TstUsbThread::init()
{
    loggersim::configure("HX20D:sn=A20,HX10D:sn=B10,HX20D:sn=C20");
    ids = loggersim::loggerIds();
}

// Every transport gives back libusb's default context, whether its open
// succeeded, found no device or found the device claimed.
void TstUsbThread::cleanup()
{
    QCOMPARE(loggersim::defaultContextUsers(), 0);
}

void TstUsbThread::opensByIndexInListOrder_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("logger"); // position in `ids`, -1 for a failed open

    QTest::newRow("first HX20D") << int(HX20D) << 0 << 0;
    QTest::newRow("second HX20D") << int(HX20D) << 1 << 2;
    QTest::newRow("no third HX20D") << int(HX20D) << 2 << -1;
    QTest::newRow("HX10D skips the other model") << int(HX10D) << 0 << 1;
    QTest::newRow("no second HX10D") << int(HX10D) << 1 << -1;
}

void TstUsbThread::opensByIndexInListOrder()
{
    QFETCH(int, model);
    QFETCH(int, index);
    QFETCH(int, logger);

    UsbThread thread;
    const bool opened = openAt(thread, productIdOf(model), index);
    QCOMPARE(opened, logger >= 0);
    if (!opened)
        return;
    const QByteArray request = hex("5A A5 02 13 00 14 01");
    QVERIFY(thread.writeData(request.constData(), request.size()));
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(loggersim::writtenTransfers(ids[i]).size(), i == logger ? 1 : 0);
}

void TstUsbThread::secondOpenOfAClaimedLoggerFails()
{
    UsbThread first;
    QVERIFY(openAt(first, hx10dProductId, 0));
    UsbThread second;
    QVERIFY(!openAt(second, hx10dProductId, 0));
    // The failed open keeps its handle until the object closes it.
    QCOMPARE(loggersim::openHandleCount(), 2);
    second.closeDevice();
    QCOMPARE(loggersim::openHandleCount(), 1);
}

// Where a kernel driver was bound, the interface is claimed after it is
// detached: the transfers go through, and the logger is ours alone.
void TstUsbThread::openAfterDetachingTheKernelDriverClaims()
{
    loggersim::Faults faults;
    faults.kernelDriver = true;
    loggersim::setFaults(ids[1], faults);
    UsbThread thread;
    QVERIFY(openAt(thread, hx10dProductId, 0));
    QVERIFY(!loggersim::faults(ids[1]).kernelDriver);
    const QByteArray request = hex("5A A5 03 E4 01 01 E8 01");
    QVERIFY(thread.writeData(request.constData(), request.size()));
    QSignalSpy reads(&thread, &UsbThread::readyRead);
    thread.start();
    QTRY_COMPARE(reads.size(), 1);
    QCOMPARE(reads.at(0).at(0).toByteArray(), request);
    UsbThread second;
    QVERIFY(!openAt(second, hx10dProductId, 0));
    thread.setStop(true);
    QVERIFY(thread.wait(2000));
}

void TstUsbThread::readsAnswersAndTicksWhenSilent()
{
    loggersim::Faults faults;
    faults.chunks = 2;
    loggersim::setFaults(ids[1], faults);
    UsbThread thread;
    QVERIFY(openAt(thread, hx10dProductId, 0));
    QSignalSpy reads(&thread, &UsbThread::readyRead);
    QSignalSpy ticks(&thread, &UsbThread::readTimeOut);
    thread.start();
    const QByteArray request = hex("5A A5 03 E4 01 01 E8 01");
    QVERIFY(thread.writeData(request.constData(), request.size()));
    QTRY_COMPARE(reads.size(), 2);
    QCOMPARE(reads.at(0).at(0).toByteArray() + reads.at(1).at(0).toByteArray(), request);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 1, 2500);
    thread.setStop(true);
    QVERIFY(thread.wait(2000));
}

void TstUsbThread::unplugEndsTheLoopWithOneSignal()
{
    UsbThread thread;
    QVERIFY(openAt(thread, hx20dProductId, 1));
    QSignalSpy lost(&thread, &UsbThread::disRtConnect);
    QSignalSpy ticks(&thread, &UsbThread::readTimeOut);
    thread.start();
    QTRY_VERIFY(thread.isRunning());
    loggersim::unplug(ids[2]);
    QVERIFY(thread.wait(1500));
    QCoreApplication::processEvents();
    QCOMPARE(lost.size(), 1);
    QCOMPARE(ticks.size(), 0);
    const QByteArray request = hex("5A A5 02 13 00 14 01");
    QVERIFY(!thread.writeData(request.constData(), request.size()));
}

void TstUsbThread::writeAfterStopTouchesNothing()
{
    UsbThread thread;
    QVERIFY(openAt(thread, hx20dProductId, 0));
    thread.setStop(true);
    const QByteArray request = hex("5A A5 02 13 00 14 01");
    QVERIFY(!thread.writeData(request.constData(), request.size()));
    QVERIFY(loggersim::writtenTransfers(ids[0]).isEmpty());
}

QTEST_GUILESS_MAIN(TstUsbThread)
#include "tst_usbthread.moc"
