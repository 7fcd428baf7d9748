// SPDX-License-Identifier: GPL-3.0-or-later
// Request frames, checksums and short-answer decoding, byte for byte.
#include "core/lgxdevtype.h"
#include "device/protocol.h"
#include "testsupport.h"

#include <QTextCodec>
#include <QtTest>

using testsupport::hex;

class TestProtocol : public QObject
{
    Q_OBJECT
private slots:
    void requestFrames_data();
    void requestFrames();
    void commandsThatSendNothing_data();
    void commandsThatSendNothing();
    void noteWriteUsesSignedChecksum();
    void noteWriteIsCutTo104Bytes();
    void modelNames();
    void identificationAnswer_data();
    void identificationAnswer();
    void noteAnswer_data();
    void noteAnswer();
    void resetAnswer_data();
    void resetAnswer();
    void minimumLengths();
};

void TestProtocol::requestFrames_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("opt");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("identification")
        << int(CheckCmd) << 0 << 0
        << hex("5A A5 10 EF 00 0A 00 00 00 00 00 00 00 00 00 00 00 00 00 08 02");
    QTest::newRow("config read") << int(ConfigCmd) << 0 << 0 << hex("5A A5 02 13 00 14 01");
    QTest::newRow("note read") << int(NoteCmd) << 0 << 0 << hex("5A A5 03 A1 00 00 A3 01");
    QTest::newRow("start") << int(StartStopCmd) << 0 << 1 << hex("5A A5 03 10 01 01 14 01");
    QTest::newRow("stop") << int(StartStopCmd) << 0 << 0 << hex("5A A5 03 10 01 00 13 01");
    QTest::newRow("english") << int(LanguageCmd) << 0 << 1 << hex("5A A5 03 E4 01 01 E8 01");
    QTest::newRow("chinese") << int(LanguageCmd) << 0 << 0 << hex("5A A5 03 E4 01 00 E7 01");
    QTest::newRow("language 2 is chinese")
        << int(LanguageCmd) << 0 << 2 << hex("5A A5 03 E4 01 00 E7 01");
    QTest::newRow("reset") << int(ResetCmd) << 0 << 0 << hex("5A A5 03 12 01 FA 0F 02");
    QTest::newRow("record info") << int(RecordInfoCmd) << 0 << 0 << hex("5A A5 02 E0 00 E1 01");
    // The count query is the same request; only the controller's queue tells them apart.
    QTest::newRow("record count") << int(RecordCountCmd) << 0 << 0 << hex("5A A5 02 E0 00 E1 01");
    QTest::newRow("alarm info") << int(AlarmInfoCmd) << 0 << 0 << hex("5A A5 02 E1 00 E2 01");
    QTest::newRow("block 1") << int(ReadBlockCmd) << 0 << 1 << hex("5A A5 03 E2 00 01 E5 01");
    QTest::newRow("block 63") << int(ReadBlockCmd) << 0 << 63 << hex("5A A5 03 E2 00 3F 23 02");
}

void TestProtocol::requestFrames()
{
    QFETCH(int, type);
    QFETCH(int, opt);
    QFETCH(int, value);
    QFETCH(QByteArray, frame);
    const QByteArray encoded = encodeCommand(makeSimpleCmd(type, value, opt), HX10D);
    QCOMPARE(encoded.toHex(' '), frame.toHex(' '));
    QCOMPARE(int(uint8_t(encoded.at(2))), encoded.size() - 5);
}

void TestProtocol::commandsThatSendNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("model");
    QTest::newRow("unassigned 3") << 3 << int(HX10D);
    QTest::newRow("unassigned 5") << 5 << int(HX10D);
    QTest::newRow("initial read") << int(InitialReadCmd) << int(HX10D);
    QTest::newRow("above 12") << 13 << int(HX20D);
    QTest::newRow("negative") << -1 << int(HX20D);
}

void TestProtocol::commandsThatSendNothing()
{
    QFETCH(int, type);
    QFETCH(int, model);
    QVERIFY(encodeCommand(makeSimpleCmd(type), model).isEmpty());
}

void TestProtocol::noteWriteUsesSignedChecksum()
{
    QCOMPARE(encodeCommand(makeNoteWriteCmd("abc"), HX10D).toHex(' '),
             hex("5A A5 06 A1 01 03 61 62 63 D0 00").toHex(' '));
    QCOMPARE(encodeCommand(makeNoteWriteCmd(QByteArray()), HX10D).toHex(' '),
             hex("5A A5 03 A1 01 00 A4 FF").toHex(' '));
    // The unsigned sum of the same bytes differs in the high byte.
    QCOMPARE(frameChecksum(hex("5A A5 06 A1 01 03 61 62 63")), uint16_t(0x02D0));

    // GBK bytes >= 0x80 lower the high byte once more each.
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    QVERIFY(gbk);
    const QByteArray note = gbk->fromUnicode(QStringLiteral("冷库"));
    QCOMPARE(note.size(), 4);
    const QByteArray frame = encodeCommand(makeNoteWriteCmd(note), HX20D);
    const uint16_t unsignedSum = frameChecksum(frame.left(frame.size() - 2));
    const int highBytes = 2 + 4; // A5, A1 and the four GBK bytes
    QCOMPARE(uint8_t(frame.at(frame.size() - 2)), uint8_t(unsignedSum & 0xFF));
    QCOMPARE(uint8_t(frame.at(frame.size() - 1)), uint8_t((unsignedSum >> 8) - highBytes));
}

void TestProtocol::noteWriteIsCutTo104Bytes()
{
    const QByteArray frame = encodeCommand(makeNoteWriteCmd(QByteArray(200, 'x')), HX10D);
    QCOMPARE(frame.size(), 104 + 8);
    QCOMPARE(uint8_t(frame.at(5)), uint8_t(104));
    QCOMPARE(uint8_t(frame.at(2)), uint8_t(107));
    // A two-byte GBK character that would not fit whole stays out.
    const QByteArray note = QByteArray(103, 'x') + QByteArray("\xC0\xE4", 2);
    QCOMPARE(uint8_t(encodeCommand(makeNoteWriteCmd(note), HX10D).at(5)), uint8_t(103));
    QCOMPARE(uint8_t(encodeCommand(makeNoteWriteCmd(note.mid(1)), HX10D).at(5)), uint8_t(104));
}

void TestProtocol::modelNames()
{
    QCOMPARE(modelName(HX10D), QStringLiteral("HX10D"));
    QCOMPARE(modelName(HX20D), QStringLiteral("HX20D"));
    QCOMPARE(modelName(5), QString());
    QCOMPARE(modelName(-1), QString());
    QCOMPARE(modelFromName("HX10D"), int(HX10D));
    QCOMPARE(modelFromName("HX20D"), int(HX20D));
    QCOMPARE(modelFromName("hx10d"), -1);
    QCOMPARE(modelFromName(""), -1);
    QCOMPARE(productIdOf(HX10D), uint16_t(0x9163));
    QCOMPARE(productIdOf(HX20D), uint16_t(0x9164));
    QCOMPARE(productIdOf(2), uint16_t(0));
}

namespace {
QByteArray identificationFrame(const QByteArray &sn, int snLength, uint8_t record, uint8_t alert)
{
    QByteArray payload(14, '\0');
    payload[0] = char(snLength);
    payload.replace(1, sn.size(), sn);
    payload[11] = char(record);
    payload[12] = char(alert);
    return buildFrame(CmdCode::Check, 0x00, payload);
}
} // namespace

void TestProtocol::identificationAnswer_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("sn");
    QTest::addColumn<bool>("isRecord");
    QTest::addColumn<bool>("isAlert");

    QTest::newRow("idle") << identificationFrame("A1234", 5, 0, 0) << "A1234" << false << false;
    QTest::newRow("recording with alarm")
        << identificationFrame("SN0001", 6, 1, 1) << "SN0001" << true << true;
    QTest::newRow("record flag must be 1") << identificationFrame("X", 1, 2, 0) << "X" << false
                                           << false;
    QTest::newRow("negative alarm byte") << identificationFrame("X", 1, 0, 0x80) << "X" << false
                                         << false;
    QTest::newRow("stops at NUL") << identificationFrame("AB", 8, 0, 0) << "AB" << false << false;
    // A length byte far beyond the frame never reads past it.
    QTest::newRow("length beyond frame")
        << identificationFrame("ABCDEFGHIJ", 255, 0, 0) << "ABCDEFGHIJ" << false << false;
}

void TestProtocol::identificationAnswer()
{
    QFETCH(QByteArray, frame);
    QVERIFY(frame.size() >= minimumAnswerLength(CmdCode::Check, HX10D));
    const IdentificationAnswer answer = decodeIdentification(frame);
    QTEST(answer.sn, "sn");
    QTEST(answer.isRecord, "isRecord");
    QTEST(answer.isAlert, "isAlert");
}

void TestProtocol::noteAnswer_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("note");
    QTest::newRow("note") << buildFrame(CmdCode::Note, 0, QByteArray("\x03" "abc")) << QByteArray("abc");
    QTest::newRow("empty") << buildFrame(CmdCode::Note, 1, QByteArray(1, '\0')) << QByteArray();
    QTest::newRow("negative length") << buildFrame(CmdCode::Note, 0, QByteArray("\xF0xyz"))
                                     << QByteArray();
    QTest::newRow("length beyond frame") << buildFrame(CmdCode::Note, 0, QByteArray("\x09" "ab"))
                                         << QByteArray();
}

void TestProtocol::noteAnswer()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, note);
    QCOMPARE(noteBytesOfAnswer(frame), note);
    QCOMPARE(decodeNote(note), QString::fromLatin1(note));
}

void TestProtocol::resetAnswer_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("success");
    QTest::newRow("verbatim echo") << hex("5A A5 03 12 01 FA 0F 02") << true;
    QTest::newRow("other value") << buildFrame(CmdCode::Reset, 1, hex("FB")) << false;
    QTest::newRow("checksum bytes only matter") << hex("5A A5 03 12 01 00 0F 02") << true;
}

void TestProtocol::resetAnswer()
{
    QFETCH(QByteArray, frame);
    QTEST(decodeResetSuccess(frame), "success");
}

void TestProtocol::minimumLengths()
{
    QCOMPARE(minimumAnswerLength(CmdCode::Check, HX10D), 19);
    QCOMPARE(minimumAnswerLength(CmdCode::Config, HX20D), 71);
    QCOMPARE(minimumAnswerLength(CmdCode::RecordInfo, HX10D), 43);
    QCOMPARE(minimumAnswerLength(CmdCode::RecordInfo, HX20D), 47);
    QCOMPARE(minimumAnswerLength(CmdCode::AlarmInfo, HX20D), 89);
    QVERIFY(decodeStartStopIsStop(hex("5A A5 03 10 01 01 14 01")));
    QVERIFY(!decodeStartStopIsStop(hex("5A A5 03 10 01 00 13 01")));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
