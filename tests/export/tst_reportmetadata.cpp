// SPDX-License-Identifier: GPL-3.0-or-later
// The report's XMP metadata: the packet written, and the fingerprint found again in a PDF's bytes.
#include "export/reportmetadata.h"

#include <QXmlStreamReader>
#include <QtTest>

using Signatures = QVector<ReportMetadata::Signature>;
Q_DECLARE_METATYPE(Signatures)

class TestReportMetadata : public QObject
{
    Q_OBJECT
private slots:
    void packetRoundTripsThroughAPdf();
    void readsTheAttributeForm();
    void signaturesAreReadBack_data();
    void signaturesAreReadBack();
    void pdfWithoutFingerprint_data();
    void pdfWithoutFingerprint();
};

void TestReportMetadata::packetRoundTripsThroughAPdf()
{
    ReportMetadata m;
    m.sha256 = QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    m.serialNumber = QStringLiteral("H2B<0012>&345");
    m.recordingStart = QStringLiteral("2024-03-31T02:30:00");
    m.recordingStop = QStringLiteral("2024-04-02T08:00:00");
    const QByteArray packet =
        m.xmpPacket(QStringLiteral("报告 & report"), QStringLiteral("hygra"),
                    QStringLiteral("Qt 5"), QDateTime(QDate(2026, 12, 9), QTime(14, 0), Qt::UTC));
    QVERIFY(packet.startsWith("<?xpacket begin=\"\xEF\xBB\xBF\""));
    QVERIFY(packet.trimmed().endsWith("<?xpacket end=\"w\"?>"));
    for (const char *expected :
         {"<pdfaid:part>1</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>",
          "<xmp:CreateDate>2026-12-09T14:00:00Z</xmp:CreateDate>",
          "<pdfaSchema:namespaceURI>urn:hygra:report:1.0#</pdfaSchema:namespaceURI>",
          "<hygra:serialNumber>H2B&lt;0012&gt;&amp;345</hygra:serialNumber>"})
        QVERIFY2(packet.contains(expected), expected);

    const QByteArray pdf = "%PDF-1.4\n1 0 obj\n<< /Type /Metadata >>\nstream\n" + packet +
                           "\nendstream\nendobj\n%%EOF\n";
    const std::optional<ReportMetadata> read = ReportMetadata::fromPdf(pdf);
    QVERIFY(read);
    QCOMPARE(read->sha256, m.sha256);
    QCOMPARE(read->serialNumber, m.serialNumber);
    QCOMPARE(read->recordingStart, m.recordingStart);
    QCOMPARE(read->recordingStop, m.recordingStop);
}

void TestReportMetadata::readsTheAttributeForm()
{
    const QByteArray pdf =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" "
        "xmlns:h=\"urn:hygra:report:1.0#\" h:sha256=\"00ff\" h:serialNumber=\"A1\"/>"
        "</rdf:RDF></x:xmpmeta>";
    const std::optional<ReportMetadata> read = ReportMetadata::fromPdf(pdf);
    QVERIFY(read);
    QCOMPARE(read->sha256, QStringLiteral("00ff"));
    QCOMPARE(read->serialNumber, QStringLiteral("A1"));
}

void TestReportMetadata::signaturesAreReadBack_data()
{
    QTest::addColumn<Signatures>("written");
    // A packet written elsewhere; empty for the one xmpPacket() writes of `written`.
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<Signatures>("expected");
    const Signatures two = {
        {12, QStringLiteral("0a1b"), QStringLiteral("zhang<san>"), QStringLiteral("张三 & Co"),
         QStringLiteral("2026-12-11T08:14:03.000Z"), QStringLiteral("reviewed")},
        {13, QStringLiteral("2c3d"), QStringLiteral("lisi"), QStringLiteral("李四"),
         QStringLiteral("2026-12-11T09:00:00.500Z"), QStringLiteral("approved")}};
    QTest::newRow("two, with markup in the names") << two << QByteArray() << two;
    QTest::newRow("none") << Signatures() << QByteArray() << Signatures();

    const QByteArray head = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                            "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
                            "<rdf:Description rdf:about=\"\" xmlns:h=\"urn:hygra:report:1.0#\" "
                            "xmlns:s=\"urn:hygra:signature:1.0#\" h:sha256=\"00ff\" h:serialNumber=\"A1\">";
    const QByteArray tail = "</rdf:Description></rdf:RDF></x:xmpmeta>";
    QTest::newRow("fields as attributes")
        << Signatures()
        << head + "<h:signatures><rdf:Seq><rdf:li s:seq=\"7\" s:login=\"a\" s:name=\"A\"/>"
                  "<rdf:li s:seq=\"8\" s:hash=\"ff\" s:meaning=\"revoke\"/></rdf:Seq>"
                  "</h:signatures>" + tail
        << Signatures{{7, {}, QStringLiteral("a"), QStringLiteral("A"), {}, {}},
                      {8, QStringLiteral("ff"), {}, {}, {}, QStringLiteral("revoke")}};
    QTest::newRow("a description in each item")
        << Signatures()
        << head + "<h:signatures><rdf:Seq><rdf:li><rdf:Description s:time=\"t\">"
                  "<s:login> b </s:login></rdf:Description></rdf:li></rdf:Seq></h:signatures>" +
                  tail
        << Signatures{{0, {}, QStringLiteral("b"), {}, QStringLiteral("t"), {}}};
}

void TestReportMetadata::signaturesAreReadBack()
{
    QFETCH(Signatures, written);
    QFETCH(QByteArray, packet);
    QFETCH(Signatures, expected);
    ReportMetadata m;
    m.sha256 = QStringLiteral("00ff");
    m.serialNumber = QStringLiteral("A1");
    m.signatures = written;
    if (packet.isEmpty()) {
        packet = m.xmpPacket(QStringLiteral("t"), QStringLiteral("hygra"), QStringLiteral("Qt"),
                             QDateTime(QDate(2026, 12, 9), QTime(14, 0), Qt::UTC));
        // Well-formed, with the structure's fields described for PDF/A.
        QXmlStreamReader xml(packet);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(packet.contains("<pdfaProperty:valueType>Seq Signature</pdfaProperty:valueType>"));
        QVERIFY(packet.contains("<pdfaType:prefix>hygraSig</pdfaType:prefix>"));
        QCOMPARE(packet.contains("<hygra:signatures"), !written.isEmpty());
    }
    const std::optional<ReportMetadata> read = ReportMetadata::fromPdf(packet);
    QVERIFY(read);
    QCOMPARE(read->signatures, expected);
    // The properties beside them are still read.
    QCOMPARE(read->serialNumber, QStringLiteral("A1"));
    QVERIFY(*read == m);
}

void TestReportMetadata::pdfWithoutFingerprint_data()
{
    QTest::addColumn<QByteArray>("pdf");
    QTest::newRow("no metadata") << QByteArray("%PDF-1.4\n%%EOF\n");
    QTest::newRow("another program's")
        << QByteArray("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                      "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/></x:xmpmeta>");
    QTest::newRow("another namespace") << QByteArray(
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><o:sha256 xmlns:o=\"urn:other\">00ff</o:sha256>"
        "</x:xmpmeta>");
    QTest::newRow("cut off") << QByteArray("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF");
    QTest::newRow("broken XML") << QByteArray(
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><h:sha256 xmlns:h=\"urn:hygra:report:1.0#\">00ff"
        "</x:xmpmeta>");
}

void TestReportMetadata::pdfWithoutFingerprint()
{
    QFETCH(QByteArray, pdf);
    QVERIFY(!ReportMetadata::fromPdf(pdf));
}

QTEST_APPLESS_MAIN(TestReportMetadata)
#include "tst_reportmetadata.moc"
