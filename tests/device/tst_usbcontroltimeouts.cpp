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

using testsupport::hex;

namespace
{
const QByteArray head = hex("5A A5");

QByteArray identificationAnswer()
{
    QByteArray p(1, char(3));
    p.append(QByteArray("A20").leftJustified(10, '\0'));
    p.append(3, '\0');
    return buildFrame(CmdCode::Check, 0, p);
}
} // namespace

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
    QVERIFY(control->connectDevice(HX20D, 0));
}

void TstUsbControlTimeouts::cleanup()
{
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
    control->addSendSimpleCmd(makeSimpleCmd(RecordInfoCmd, recordCountQuery));
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

QTEST_GUILESS_MAIN(TstUsbControlTimeouts)
#include "tst_usbcontroltimeouts.moc"
