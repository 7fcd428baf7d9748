// SPDX-License-Identifier: GPL-3.0-or-later
// The device controller against emulated loggers: queue, head bytes, reassembly and answers.
#include "controllog.h"
#include "core/lgxdevtype.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTextCodec>
#include <QtEndian>
#include <QtTest>
#include <utility>
#include <cstring>

using testsupport::hex;

namespace
{
const QByteArray head = hex("5A A5");
const QByteArray checkRequest =
    hex("5A A5 10 EF 00 0A 00 00 00 00 00 00 00 00 00 00 00 00 00 08 02");
const QByteArray configRead = hex("5A A5 02 13 00 14 01");
const QByteArray noteRead = hex("5A A5 03 A1 00 00 A3 01");

// An identification answer as a logger sends it.
QByteArray identificationAnswer(const QByteArray &sn, bool recording, bool alarm, int subCode = 0)
{
    QByteArray p(1, char(sn.size()));
    p.append(sn.leftJustified(10, '\0'));
    p.append(char(recording));
    p.append(char(alarm));
    p.append('\0');
    return buildFrame(CmdCode::Check, uint8_t(subCode), p);
}

// A record-information answer with these counts and no recording details.
QByteArray recordInfoAnswer(quint32 recordNum, quint16 numofReport)
{
    QByteArray p(42, '\0');
    qToLittleEndian(recordNum, p.data());
    qToLittleEndian(numofReport, p.data() + 4);
    return buildFrame(CmdCode::RecordInfo, 0, p);
}
} // namespace

class TstUsbControl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { loggersim::setReadWaitLimit(250); }
    void init();
    void cleanup();
    void commandsWithoutConnectionDoNothing();
    void connectFailsForUnknownModelOrIndex();
    void loneHeadBeforeTheFirstRequestOfEachConnection();
    void commandQueuedByAnAnswersHandlerGoesOutOnce();
    void identificationReportsTheLoggerState();
    void initialReadReportsOnlyTheCombinedResult();
    void readsAndWritesConfigurationAndNote();
    void answers_data();
    void answers();
    void reassemblesFrames_data();
    void reassemblesFrames();
    void handlesTwoFramesOfOneChunkInOrder();
    void survivesMalformedAnswers();

private:
    bool connectTo(int model, int index = 0);
    QList<QByteArray> writes(int id) const { return loggersim::writtenTransfers(id); }

    UsbControl *control = nullptr;
    ControlLog *log = nullptr;
    int hx20d = 0;
    int hx10d = 0;
};

void TstUsbControl::init()
{
    loggersim::configure("HX20D:sn=A20:samples=100,HX10D:sn=B10:samples=100");
    hx20d = loggersim::loggerIds().at(0);
    hx10d = loggersim::loggerIds().at(1);
    control = new UsbControl(QString());
    log = new ControlLog(control);
}

void TstUsbControl::cleanup()
{
    delete control;
    delete log;
}

bool TstUsbControl::connectTo(int model, int index)
{
    return control->connectDevice(testsupport::attachedLogger(model, index));
}

void TstUsbControl::commandsWithoutConnectionDoNothing()
{
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    control->addSendSimpleCmd(makeSimpleCmd(InitialReadCmd));
    control->addSendSimpleCmd(makeSimpleCmd(StartStopCmd, 1));
    QTest::qWait(100);
    QVERIFY(writes(hx20d).isEmpty());
    QVERIFY(writes(hx10d).isEmpty());
    QVERIFY(log->lines.isEmpty());
}

void TstUsbControl::connectFailsForUnknownModelOrIndex()
{
    QVERIFY(!connectTo(NoDevType));
    QVERIFY(!connectTo(2));
    QVERIFY(!connectTo(HX10D, 1));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTest::qWait(50);
    QVERIFY(writes(hx10d).isEmpty());
}

void TstUsbControl::loneHeadBeforeTheFirstRequestOfEachConnection()
{
    QVERIFY(connectTo(HX20D));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 1);
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    QCOMPARE(writes(hx20d), QList<QByteArray>({head, checkRequest, checkRequest}));

    control->disconnectDevice();
    loggersim::clearWrittenTransfers(hx20d);
    QVERIFY(connectTo(HX20D));
    control->addSendSimpleCmd(makeSimpleCmd(InitialReadCmd));
    QTRY_COMPARE(log->lines.size(), 3);
    QCOMPARE(writes(hx20d), QList<QByteArray>({head, configRead, noteRead}));
}

// A listener that answers a result with the next request (the window does so after the
// identification) finds the queue empty: its command goes out at once, and only once.
void TstUsbControl::commandQueuedByAnAnswersHandlerGoesOutOnce()
{
    QVERIFY(connectTo(HX20D));
    bool asked = false;
    connect(control, &UsbControl::devStateSignal, control, [this, &asked] {
        if (!std::exchange(asked, true))
            control->addSendSimpleCmd(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    });
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    QTest::qWait(200);
    QCOMPARE(writes(hx20d), QList<QByteArray>({head, checkRequest, hex("5A A5 02 13 00 14 01")}));
}

void TstUsbControl::identificationReportsTheLoggerState()
{
    loggersim::setRecording(hx10d, true);
    loggersim::setAlarm(hx10d, true);
    QVERIFY(connectTo(HX10D));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines, QStringList{"devStateSignal(B10,true,true,0)"});
    loggersim::setRecording(hx10d, false);
    loggersim::setAlarm(hx10d, false);
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    QCOMPARE(log->lines.last(), "devStateSignal(B10,false,false,0)");
}

void TstUsbControl::initialReadReportsOnlyTheCombinedResult()
{
    OneConfigCmdStruct config = loggersim::config(hx20d);
    config.startMode = 2;
    config.isKeyRetart = true;
    loggersim::setConfig(hx20d, config);
    QVERIFY(connectTo(HX20D));
    control->addSendSimpleCmd(makeSimpleCmd(InitialReadCmd));
    QTRY_COMPARE(log->lines, QStringList{"initReadConfigState(true,2,true)"});
    // Later reads report themselves again.
    control->addSendSimpleCmd(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    control->addSendSimpleCmd(makeSimpleCmd(NoteCmd, 0, ReadOpt));
    QTRY_COMPARE(log->lines.size(), 3);
    QCOMPARE(log->lines.at(1), "devConfigSignal(HX20D Logger,1)");
    QCOMPARE(log->lines.at(2), "devReadNoteSignal()");
}

void TstUsbControl::readsAndWritesConfigurationAndNote()
{
    QVERIFY(connectTo(HX20D));
    OneConfigCmdStruct config = loggersim::config(hx20d);
    std::strcpy(config.devName, "Cold room 3");
    config.th1 = {true, -4000, true, 7};
    config.hh = {true, 950, false, 3};
    config.recordInterval = 60;
    config.sensorType = 1;
    const QByteArray note = QTextCodec::codecForName("GBK")->fromUnicode(QStringLiteral("冷库abc"));
    control->addSendSimpleCmd(makeConfigWriteCmd(config));
    control->addSendSimpleCmd(makeNoteWriteCmd(note));
    QTRY_COMPARE(log->lines,
                 QStringList{QStringLiteral("devWriteReturnConfig(Cold room 3,冷库abc)")});
    const OneConfigCmdStruct echo = log->lastConfig;
    QCOMPARE(echo.cmdOptType, 1);
    QCOMPARE(echo.th1.alertValue, -4000);
    QVERIFY(echo.th1.isAccumulate);
    QCOMPARE(echo.th1.delayTime, uint16_t(7));
    QCOMPARE(echo.hh.alertValue, 950);
    QCOMPARE(echo.recordInterval, uint16_t(60));
    QCOMPARE(echo.sensorType, uint8_t(1));
    QCOMPARE(echo.firmwareVersion[0], uint8_t(1));
    // The logger took both, and the new configuration erased its recording.
    QCOMPARE(QByteArray(loggersim::config(hx20d).devName), QByteArray("Cold room 3"));
    QCOMPARE(loggersim::note(hx20d), note);
    QCOMPARE(loggersim::recordNum(hx20d), 0);
}

void TstUsbControl::answers_data()
{
    QTest::addColumn<SimpleSendCmdUnion>("cmd");
    QTest::addColumn<QByteArray>("rawAnswer"); // empty: the logger's own answer
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("sends");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("start") << makeSimpleCmd(StartStopCmd, 1) << QByteArray()
                           << hex("5A A5 03 10 01 01 14 01") << 1
                           << QStringList{"stopStartRecordResult(true,false)"};
    QTest::newRow("stop") << makeSimpleCmd(StartStopCmd, 0) << QByteArray()
                          << hex("5A A5 03 10 01 00 13 01") << 1
                          << QStringList{"stopStartRecordResult(true,true)"};
    QTest::newRow("reset echoed") << makeSimpleCmd(ResetCmd) << QByteArray()
                                  << hex("5A A5 03 12 01 FA 0F 02") << 1
                                  << QStringList{"resetCmdResult(true)"};
    QTest::newRow("reset with a wrong echo")
        << makeSimpleCmd(ResetCmd) << hex("5A A5 03 12 01 FA 0F 03")
        << hex("5A A5 03 12 01 FA 0F 02") << 1 << QStringList{"resetCmdResult(false)"};
    QTest::newRow("English") << makeSimpleCmd(LanguageCmd, 1) << QByteArray()
                             << hex("5A A5 03 E4 01 01 E8 01") << 1
                             << QStringList{"setLangueResult(true)"};
    QTest::newRow("language 2 is Chinese")
        << makeSimpleCmd(LanguageCmd, 2) << QByteArray() << hex("5A A5 03 E4 01 00 E7 01") << 1
        << QStringList{"setLangueResult(true)"};
    // An answer that completes nothing is consumed and the head goes out again; the
    // logger's own answer to that repetition completes it.
    QTest::newRow("identification with sub-code 1")
        << makeSimpleCmd(CheckCmd) << identificationAnswer("A20", true, true, 1) << checkRequest
        << 2 << QStringList{"devStateSignal(A20,false,false,1)"};
    // A count query answers with the counts alone: no alarm statistics are asked
    // for and an empty logger is no failed download.
    const SimpleSendCmdUnion countQuery = makeSimpleCmd(RecordCountCmd);
    const QByteArray recordInfoRequest = hex("5A A5 02 E0 00 E1 01");
    QTest::newRow("record count") << countQuery << QByteArray() << recordInfoRequest << 1
                                  << QStringList{"recordCountResult(true,100,100)"};
    QTest::newRow("record count past the memory")
        << countQuery << recordInfoAnswer(70000, 64512) << recordInfoRequest << 1
        << QStringList{"recordCountResult(true,70000,64512)"};
    QTest::newRow("record count of an empty logger")
        << countQuery << recordInfoAnswer(0, 0) << recordInfoRequest << 1
        << QStringList{"recordCountResult(true,0,0)"};
    QTest::newRow("unknown code") << makeSimpleCmd(CheckCmd) << hex("5A A5 03 77 00 01 1A 01")
                                  << checkRequest << 2
                                  << QStringList{"devStateSignal(A20,false,false,1)"};
}

void TstUsbControl::answers()
{
    QFETCH(SimpleSendCmdUnion, cmd);
    QFETCH(QByteArray, rawAnswer);
    QFETCH(QByteArray, request);
    QFETCH(int, sends);
    QFETCH(QStringList, expected);

    if (!rawAnswer.isEmpty())
        loggersim::queueRawAnswer(hx20d, rawAnswer);
    QVERIFY(connectTo(HX20D));
    control->addSendSimpleCmd(cmd);
    QTRY_COMPARE(log->lines, expected);
    QList<QByteArray> requests({head});
    for (int i = 0; i < sends; ++i)
        requests.append(request);
    QCOMPARE(writes(hx20d), requests);
    if (cmd.common.cmdType == StartStopCmd)
        QCOMPARE(loggersim::isRecording(hx20d), cmd.simple.value == 1);
}

void TstUsbControl::reassemblesFrames_data()
{
    QTest::addColumn<int>("chunks");
    QTest::addColumn<QByteArray>("garbage");

    QTest::newRow("whole") << 1 << QByteArray();
    QTest::newRow("split over two chunks") << 2 << QByteArray();
    QTest::newRow("split byte by byte") << 100 << QByteArray();
    QTest::newRow("bytes before the head") << 1 << hex("00 11 A5 5A 22");
    QTest::newRow("a lone head byte before the head") << 2 << hex("5A 01 02");
}

void TstUsbControl::reassemblesFrames()
{
    QFETCH(int, chunks);
    QFETCH(QByteArray, garbage);

    loggersim::Faults faults;
    faults.chunks = chunks;
    faults.garbage = garbage;
    loggersim::setFaults(hx10d, faults);
    QVERIFY(connectTo(HX10D));
    control->addSendSimpleCmd(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    QCOMPARE(log->lines,
             QStringList({"devConfigSignal(HX10D Logger,0)", "devStateSignal(B10,false,false,0)"}));
    QCOMPARE(writes(hx10d), QList<QByteArray>({head, configRead, checkRequest}));
}

void TstUsbControl::handlesTwoFramesOfOneChunkInOrder()
{
    loggersim::Faults faults;
    faults.silent = true;
    loggersim::setFaults(hx20d, faults);
    loggersim::queueRawAnswer(hx20d, identificationAnswer("A20", true, false) +
                                         hex("5A A5 03 E4 01 01 E8 01"));
    QVERIFY(connectTo(HX20D));
    control->addSendSimpleCmd(makeSimpleCmd(CheckCmd));
    control->addSendSimpleCmd(makeSimpleCmd(LanguageCmd, 1));
    control->addSendSimpleCmd(makeSimpleCmd(ResetCmd));
    QTRY_COMPARE(log->lines.size(), 2);
    QCOMPARE(log->lines,
             QStringList({"devStateSignal(A20,true,false,1)", "setLangueResult(true)"}));
    // After each frame the next queued command went out; the reset now waits for its answer.
    QCOMPARE(writes(hx20d), QList<QByteArray>({head, checkRequest, hex("5A A5 03 E4 01 01 E8 01"),
                                               hex("5A A5 03 12 01 FA 0F 02")}));
}

void TstUsbControl::survivesMalformedAnswers()
{
    // Frames with every answer code (but the alarm statistics, which would create a file),
    // random lengths and random bytes, cut into random chunks, with commands in between.
    loggersim::Faults faults;
    faults.silent = true;
    loggersim::setFaults(hx20d, faults);
    QVERIFY(connectTo(HX20D));
    QRandomGenerator random(20240131);
    const uint8_t codes[] = {0xEF, 0x13, 0xA1, 0x10, 0x12, 0xE4, 0xE0, 0x77};
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes;
        if (random.bounded(4) == 0)
            bytes.append(char(random.bounded(256)));
        bytes.append(head);
        bytes.append(char(random.bounded(256)));
        bytes.append(char(codes[random.bounded(int(sizeof codes))]));
        for (int n = random.bounded(120); n > 0; --n)
            bytes.append(char(random.bounded(256)));
        control->delRevDataSlot(bytes);
        if (i % 10 == 0)
            control->cancelDownload(); // empties a buffer blocked by a short frame
        if (i % 50 == 0) {
            control->addSendSimpleCmd(makeSimpleCmd(int(random.bounded(12)), 1));
            control->delReadTimeOut();
        }
    }
    control->disconnectDevice();
    QVERIFY(connectTo(HX20D));
}

QTEST_GUILESS_MAIN(TstUsbControl)
#include "tst_usbcontrol.moc"
