// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the byte layout written at the start of a recording file.
#include "recording/recordingwriter.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QtEndian>
#include <QtTest>

namespace
{

QByteArray compactJson(const ReadDevInfoJson &info)
{
    QJsonObject object;
    info.toJson(object);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray written(const ReadDevInfoJson &info, bool *ok = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool result = writeRecordingHeader(&buffer, info);
    if (ok)
        *ok = result;
    return bytes;
}

} // namespace

class TestRecordingWriter : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void samplesStartAfterTheJson();
    void refusesUnknownModelAndClosedDevice();
};

void TestRecordingWriter::layout_data()
{
    QTest::addColumn<int>("devType");
    QTest::addColumn<QByteArray>("nameBytes");
    QTest::newRow("HX10D") << 0 << QByteArray("HX10D\0\0\0\0\0", 10);
    QTest::newRow("HX20D") << 1 << QByteArray("HX20D\0\0\0\0\0", 10);
}

void TestRecordingWriter::layout()
{
    QFETCH(int, devType);
    QFETCH(QByteArray, nameBytes);

    ReadDevInfoJson info;
    info.devType = devType;
    info.recordNum = 3000000000LL;
    info.note = QStringLiteral("温湿度");
    bool ok = false;
    const QByteArray bytes = written(info, &ok);
    QVERIFY(ok);

    const QByteArray json = compactJson(info);
    QCOMPARE(bytes.left(10), nameBytes);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 10), quint32(json.size()));
    QCOMPARE(bytes.mid(14), json);
    QCOMPARE(bytes.size(), 14 + json.size());
    QVERIFY(!json.contains(' ') && !json.contains('\n'));
    QCOMPARE(QJsonDocument::fromJson(bytes.mid(14)).object().value("recordNum").toDouble(), 3e9);
}

void TestRecordingWriter::samplesStartAfterTheJson()
{
    // Pad the note so the JSON text is exactly 1500 bytes long.
    ReadDevInfoJson info;
    info.devType = 1;
    info.note = QString(1500 - compactJson(info).size(), QLatin1Char('n'));
    QCOMPARE(compactJson(info).size(), 1500);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeRecordingHeader(&buffer, info));
    QCOMPARE(buffer.pos(), 1514);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 10), 1500u);
    QCOMPARE(bytes.at(1513), '}');
}

void TestRecordingWriter::refusesUnknownModelAndClosedDevice()
{
    for (int devType : {-1, 2, 99}) {
        ReadDevInfoJson info;
        info.devType = devType;
        bool ok = true;
        QVERIFY(written(info, &ok).isEmpty());
        QVERIFY(!ok);
    }

    ReadDevInfoJson info;
    QBuffer closed;
    QVERIFY(!writeRecordingHeader(&closed, info));
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QVERIFY(!writeRecordingHeader(&readOnly, info));
    QVERIFY(!writeRecordingHeader(nullptr, info));
}

QTEST_GUILESS_MAIN(TestRecordingWriter)
#include "tst_recordingwriter.moc"
