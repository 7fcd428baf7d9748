// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's one-second clock: unanswered commands, the initial read and the heartbeat.
// These tests wait on the transport's real 1000 ms reads.
#include "controllog.h"
#include "core/lgxdevtype.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "testsupport.h"

#include <QtTest>
#include <atomic>

#ifdef Q_OS_LINUX
#include <sys/syscall.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>
#endif

using testsupport::hex;

namespace
{
const QByteArray head = hex("5A A5");

// Seconds added to this process's wall clock, as when the user, NTP or a
// daylight-saving rule sets the time; the monotonic clock stays as it is.
std::atomic<long> wallClockShift{0};

QByteArray identificationAnswer()
{
    QByteArray p(1, char(3));
    p.append(QByteArray("A20").leftJustified(10, '\0'));
    p.append(3, '\0');
    return buildFrame(CmdCode::Check, 0, p);
}
} // namespace

#ifdef Q_OS_LINUX
// The process's own wall clock: these definitions take the place of the C
// library's for every library the test loads.
extern "C" int clock_gettime(clockid_t clock, struct timespec *time) noexcept
{
    const int result = int(syscall(SYS_clock_gettime, clock, time));
    if (result == 0 && (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE))
        time->tv_sec += wallClockShift;
    return result;
}

extern "C" int gettimeofday(struct timeval *time, void *zone) noexcept
{
    const int result = int(syscall(SYS_gettimeofday, time, zone));
    if (result == 0)
        time->tv_sec += wallClockShift;
    return result;
}
#endif

class TstUsbControlTimeouts : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void initialReadFailsOnTheFirstSilentSecond();
    void everyCommandKindReportsItsTimeout();
    void threeMissedHeartbeatsReconnectOnce();
    void failedReconnectClosesTheConnection();
    void clockChangesNeitherDropNorStretchACommand_data();
    void clockChangesNeitherDropNorStretchACommand();

private:
    void silence();

    UsbControl *control = nullptr;
    ControlLog *log = nullptr;
    int logger = 0;
};

void TstUsbControlTimeouts::init()
{
    loggersim::configure("HX20D:sn=A20:samples=10");
    logger = loggersim::loggerIds().first();
    control = new UsbControl(QString());
    log = new ControlLog(control);
    QVERIFY(control->connectDevice(testsupport::attachedLogger(HX20D, 0)));
}

void TstUsbControlTimeouts::cleanup()
{
    wallClockShift = 0;
    delete control;
    delete log;
}

void TstUsbControlTimeouts::silence()
{
    loggersim::Faults faults;
    faults.silent = true;
    loggersim::setFaults(logger, faults);
}

void TstUsbControlTimeouts::initialReadFailsOnTheFirstSilentSecond()
{
    silence();
    control->addSendSimpleCmd(makeSimpleCmd(InitialReadCmd));
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), 1, 1600);
    QCOMPARE(log->lines.first(), "initReadConfigState(false,0,false)");
    // Nobody disconnects: the two queued reads time out on the next ticks, unsent.
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), 3, 3500);
    QCOMPARE(log->lines, QStringList({"initReadConfigState(false,0,false)", "otherCmdErrTip(1,0)",
                                      "otherCmdErrTip(7,0)"}));
    QCOMPARE(loggersim::writtenTransfers(logger),
             QList<QByteArray>({head, hex("5A A5 02 13 00 14 01")}));
}

void TstUsbControlTimeouts::everyCommandKindReportsItsTimeout()
{
    silence();
    control->addSendSimpleCmd(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    control->addSendSimpleCmd(makeNoteWriteCmd("abc"));
    control->addSendSimpleCmd(makeSimpleCmd(StartStopCmd, 0));
    control->addSendSimpleCmd(makeSimpleCmd(StartStopCmd, 1));
    control->addSendSimpleCmd(makeSimpleCmd(LanguageCmd, 1));
    control->addSendSimpleCmd(makeSimpleCmd(ResetCmd));
    // A count query is no download step: the queue behind it stays.
    control->addSendSimpleCmd(makeSimpleCmd(RecordCountCmd));
    control->addSendSimpleCmd(makeSimpleCmd(RecordInfoCmd));
    // A download step that times out empties the queue: this one is never reported.
    control->addSendSimpleCmd(makeSimpleCmd(ResetCmd));
    const QStringList expected = {"otherCmdErrTip(1,0)",
                                  "otherCmdErrTip(7,1)",
                                  "stopStartRecordResult(false,true)",
                                  "stopStartRecordResult(false,false)",
                                  "setLangueResult(false)",
                                  "resetCmdResult(false)",
                                  "recordCountResult(false,0,0)",
                                  "dataDownloadErr(-5)"};
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), expected.size(), 10000);
    QTest::qWait(1100);
    QCOMPARE(log->lines, expected);
    // Only the first command was ever sent; a timeout does not send the next one.
    QCOMPARE(loggersim::writtenTransfers(logger).size(), 2);
}

void TstUsbControlTimeouts::threeMissedHeartbeatsReconnectOnce()
{
    // A start/stop request queued behind the heartbeats reports its own timeout, which
    // tells when the heartbeats before it have timed out.
    silence();
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    control->addSendSimpleCmd(makeSimpleCmd(StartStopCmd, 1));
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), 1, 6000);

    // An answer takes one miss back...
    loggersim::queueRawAnswer(logger, identificationAnswer());
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    // ...so a third miss in a row does not reconnect yet.
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    control->addSendSimpleCmd(makeSimpleCmd(StartStopCmd, 0));
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), 3, 5000);
    QCOMPARE(loggersim::openCount(logger), 1);
    QCOMPARE(log->lines,
             QStringList({"stopStartRecordResult(false,false)", "devStateSignal(A20,false,false,1)",
                          "stopStartRecordResult(false,true)"}));

    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE_WITH_TIMEOUT(loggersim::openCount(logger), 2, 5000);

    // The new connection starts with the head bytes again and counts afresh.
    loggersim::clearWrittenTransfers(logger);
    loggersim::queueRawAnswer(logger, identificationAnswer());
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 4);
    QCOMPARE(loggersim::writtenTransfers(logger).first(), head);
    QCOMPARE(loggersim::openCount(logger), 2);
    QCOMPARE(loggersim::openHandleCount(), 1);
}

void TstUsbControlTimeouts::failedReconnectClosesTheConnection()
{
    silence();
    loggersim::Faults faults = loggersim::faults(logger);
    faults.refuseOpen = true;
    loggersim::setFaults(logger, faults);
    for (int i = 0; i < 3; ++i)
        control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE_WITH_TIMEOUT(log->lines, QStringList{"closeDevSignal()"}, 7000);
    QCOMPARE(loggersim::openCount(logger), 1);
    QCOMPARE(loggersim::openHandleCount(), 0);
}

void TstUsbControlTimeouts::clockChangesNeitherDropNorStretchACommand_data()
{
    QTest::addColumn<int>("shift");
    QTest::addColumn<bool>("answered");
    // A slow answer still comes in time; an hour more on the clock must not drop it.
    QTest::newRow("clock set forward an hour") << 3600 << true;
    // A missing answer times out after two seconds, not two seconds and an hour.
    QTest::newRow("clock set back an hour") << -3600 << false;
}

void TstUsbControlTimeouts::clockChangesNeitherDropNorStretchACommand()
{
#ifndef Q_OS_LINUX
    QSKIP("the wall clock is shifted through the C library's time calls on Linux only");
#endif
    QFETCH(int, shift);
    QFETCH(bool, answered);
    loggersim::Faults faults;
    faults.latencyMs = 1500;
    faults.silent = !answered;
    loggersim::setFaults(logger, faults);
    const QDateTime before = QDateTime::currentDateTimeUtc();
    control->addSendSimpleCmd(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    wallClockShift = shift;
    QVERIFY(qAbs(before.secsTo(QDateTime::currentDateTimeUtc()) - shift) < 5);
    QTRY_COMPARE_WITH_TIMEOUT(log->lines.size(), 1, 3500);
    if (answered)
        QVERIFY2(log->lines.first().startsWith("devConfigSignal("), qPrintable(log->lines.first()));
    else
        QCOMPARE(log->lines.first(), "otherCmdErrTip(1,0)");
}

QTEST_GUILESS_MAIN(TstUsbControlTimeouts)
#include "tst_usbcontroltimeouts.moc"
