// SPDX-License-Identifier: GPL-3.0-or-later
// What a PDF report says about its recording in its XMP metadata, written and read back.
#include "export/reportmetadata.h"

#include "export/reviewtexts.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <iterator>

namespace
{

const char *const rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";

struct Property {
    const char *name;
    const char *description;
    QString ReportMetadata::*member;
};

const Property properties[] = {
    {"sha256", "SHA-256 of the recording file, lower-case hex", &ReportMetadata::sha256},
    {"serialNumber", "Serial number of the logger", &ReportMetadata::serialNumber},
    {"recordingStart", "Wall-clock time of the first sample", &ReportMetadata::recordingStart},
    {"recordingStop", "Wall-clock time of the last sample", &ReportMetadata::recordingStop},
    {"auditEntry", "Newest entry of the audit trail when the document was written",
     &ReportMetadata::auditEntry},
    {"auditHash", "SHA-256 of that audit trail entry, lower-case hex", &ReportMetadata::auditHash},
    {"auditExportSha256", "SHA-256 of the exported audit entries' canonical JSON lines",
     &ReportMetadata::auditExportSha256},
};

// The property holding the signatures, and the fields of each.
const char *const signaturesName = "signatures";
const char *const signaturesDescription = "Electronic signatures printed on the document";

struct SignatureField {
    const char *name;
    const char *valueType;
    const char *description;
};

const SignatureField signatureFields[] = {
    {"seq", "Integer", "Sequence number of the signature's audit trail entry"},
    {"hash", "Text", "SHA-256 of that audit trail entry, lower-case hex"},
    {"login", "Text", "Login name of the signer"},
    {"name", "Text", "Printed name of the signer"},
    {"time", "Date", "UTC time of the signature"},
    {"meaning", "Text", "Meaning of the signature as stored"},
};

QString fieldValue(const ReportMetadata::Signature &s, int field)
{
    switch (field) {
    case 0:
        return QString::number(s.seq);
    case 1:
        return s.hash;
    case 2:
        return s.login;
    case 3:
        return s.name;
    case 4:
        return s.time;
    default:
        return s.meaning;
    }
}

void setField(ReportMetadata::Signature &s, const QString &name, const QString &value)
{
    const QString v = value.trimmed();
    if (name == QLatin1String("seq"))
        s.seq = v.toLongLong();
    else if (name == QLatin1String("hash"))
        s.hash = v;
    else if (name == QLatin1String("login"))
        s.login = v;
    else if (name == QLatin1String("name"))
        s.name = v;
    else if (name == QLatin1String("time"))
        s.time = v;
    else if (name == QLatin1String("meaning"))
        s.meaning = v;
}

QString xmpDate(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

// A wall-clock sample time as XMP writes a date without a zone.
QString sampleTime(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-ddThh:mm:ss"));
}

// One rdf:Description holding the properties of one namespace.
void beginDescription(QXmlStreamWriter &xml, const char *prefix, const char *uri)
{
    xml.writeStartElement(rdf, "Description");
    xml.writeAttribute(rdf, "about", QString());
    xml.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
}

// PDF/A-1 wants every property outside its predefined schemas described by an
// extension schema in the same packet.
void writeExtensionSchema(QXmlStreamWriter &xml)
{
    const char *const extension = "http://www.aiim.org/pdfa/ns/extension/";
    const char *const schema = "http://www.aiim.org/pdfa/ns/schema#";
    const char *const property = "http://www.aiim.org/pdfa/ns/property#";
    const char *const type = "http://www.aiim.org/pdfa/ns/type#";
    const char *const field = "http://www.aiim.org/pdfa/ns/field#";
    beginDescription(xml, "pdfaExtension", extension);
    xml.writeNamespace(QLatin1String(schema), QStringLiteral("pdfaSchema"));
    xml.writeNamespace(QLatin1String(property), QStringLiteral("pdfaProperty"));
    xml.writeNamespace(QLatin1String(type), QStringLiteral("pdfaType"));
    xml.writeNamespace(QLatin1String(field), QStringLiteral("pdfaField"));
    xml.writeStartElement(extension, "schemas");
    xml.writeStartElement(rdf, "Bag");
    xml.writeStartElement(rdf, "li");
    xml.writeAttribute(rdf, "parseType", QStringLiteral("Resource"));
    xml.writeTextElement(schema, "schema", QStringLiteral("hygra recording report"));
    xml.writeTextElement(schema, "namespaceURI", QLatin1String(ReportMetadata::namespaceUri));
    xml.writeTextElement(schema, "prefix", QLatin1String(ReportMetadata::prefix));
    xml.writeStartElement(schema, "property");
    xml.writeStartElement(rdf, "Seq");
    for (const Property &p : properties) {
        xml.writeStartElement(rdf, "li");
        xml.writeAttribute(rdf, "parseType", QStringLiteral("Resource"));
        xml.writeTextElement(property, "name", QLatin1String(p.name));
        xml.writeTextElement(property, "valueType", QStringLiteral("Text"));
        xml.writeTextElement(property, "category", QStringLiteral("external"));
        xml.writeTextElement(property, "description", QLatin1String(p.description));
        xml.writeEndElement();
    }
    xml.writeStartElement(rdf, "li");
    xml.writeAttribute(rdf, "parseType", QStringLiteral("Resource"));
    xml.writeTextElement(property, "name", QLatin1String(signaturesName));
    xml.writeTextElement(property, "valueType", QStringLiteral("Seq Signature"));
    xml.writeTextElement(property, "category", QStringLiteral("external"));
    xml.writeTextElement(property, "description", QLatin1String(signaturesDescription));
    xml.writeEndElement();
    xml.writeEndElement(); // Seq
    xml.writeEndElement(); // property
    // A structure's fields are described by a value type of their own.
    xml.writeStartElement(schema, "valueType");
    xml.writeStartElement(rdf, "Seq");
    xml.writeStartElement(rdf, "li");
    xml.writeAttribute(rdf, "parseType", QStringLiteral("Resource"));
    xml.writeTextElement(type, "type", QStringLiteral("Signature"));
    xml.writeTextElement(type, "namespaceURI", QLatin1String(ReportMetadata::signatureNamespaceUri));
    xml.writeTextElement(type, "prefix", QLatin1String(ReportMetadata::signaturePrefix));
    xml.writeTextElement(type, "description", QStringLiteral("An electronic signature"));
    xml.writeStartElement(type, "field");
    xml.writeStartElement(rdf, "Seq");
    for (const SignatureField &f : signatureFields) {
        xml.writeStartElement(rdf, "li");
        xml.writeAttribute(rdf, "parseType", QStringLiteral("Resource"));
        xml.writeTextElement(field, "name", QLatin1String(f.name));
        xml.writeTextElement(field, "valueType", QLatin1String(f.valueType));
        xml.writeTextElement(field, "description", QLatin1String(f.description));
        xml.writeEndElement();
    }
    xml.writeEndElement(); // Seq
    xml.writeEndElement(); // field
    xml.writeEndElement(); // li
    xml.writeEndElement(); // Seq
    xml.writeEndElement(); // valueType
    xml.writeEndElement(); // li
    xml.writeEndElement(); // Bag
    xml.writeEndElement(); // schemas
    xml.writeEndElement(); // Description
}

} // namespace

ReportMetadata ReportMetadata::of(const LoadedRecording &recording)
{
    ReportMetadata m;
    m.sha256 = recording.sha256;
    m.serialNumber = recording.recording.sn;
    if (!recording.samples.isEmpty()) {
        m.recordingStart = sampleTime(recording.samples.first().time);
        m.recordingStop = sampleTime(recording.samples.last().time);
    }
    if (ReviewTexts::shows(recording)) {
        for (const ReviewSignature &s : recording.review.signatures)
            m.signatures.append({s.seq, s.hash, s.login, s.printedName, s.time, s.meaning});
    }
    return m;
}

QByteArray ReportMetadata::xmpPacket(const QString &title, const QString &creator,
                                     const QString &producer, const QDateTime &created) const
{
    // XMP's packet wrapper: a byte order mark in UTF-8 and the fixed identifier.
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.setAutoFormatting(true);
    xml.writeNamespace(QStringLiteral("adobe:ns:meta/"), QStringLiteral("x"));
    xml.writeNamespace(QLatin1String(rdf), QStringLiteral("rdf"));
    xml.writeStartElement(QStringLiteral("adobe:ns:meta/"), QStringLiteral("xmpmeta"));
    xml.writeStartElement(rdf, "RDF");

    const char *const dc = "http://purl.org/dc/elements/1.1/";
    beginDescription(xml, "dc", dc);
    xml.writeStartElement(dc, "title");
    xml.writeStartElement(rdf, "Alt");
    xml.writeStartElement(rdf, "li");
    xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("x-default"));
    xml.writeCharacters(title);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();

    const char *const xmp = "http://ns.adobe.com/xap/1.0/";
    beginDescription(xml, "xmp", xmp);
    xml.writeTextElement(xmp, "CreatorTool", creator);
    for (const char *date : {"CreateDate", "ModifyDate", "MetadataDate"})
        xml.writeTextElement(xmp, date, xmpDate(created));
    xml.writeEndElement();

    const char *const pdf = "http://ns.adobe.com/pdf/1.3/";
    beginDescription(xml, "pdf", pdf);
    xml.writeTextElement(pdf, "Producer", producer);
    xml.writeEndElement();

    const char *const pdfaid = "http://www.aiim.org/pdfa/ns/id/";
    beginDescription(xml, "pdfaid", pdfaid);
    xml.writeTextElement(pdfaid, "part", QStringLiteral("1"));
    xml.writeTextElement(pdfaid, "conformance", QStringLiteral("B"));
    xml.writeEndElement();

    writeExtensionSchema(xml);

    beginDescription(xml, prefix, namespaceUri);
    for (const Property &p : properties) {
        if (!(this->*p.member).isEmpty())
            xml.writeTextElement(namespaceUri, p.name, this->*p.member);
    }
    if (!signatures.isEmpty()) {
        xml.writeNamespace(QLatin1String(signatureNamespaceUri), QLatin1String(signaturePrefix));
        xml.writeStartElement(namespaceUri, signaturesName);
        xml.writeStartElement(rdf, "Seq");
        for (const Signature &s : signatures) {
            xml.writeStartElement(rdf, "li");
            xml.writeAttribute(rdf, "parseType", QStringLiteral("Resource"));
            for (int f = 0; f < int(std::size(signatureFields)); ++f)
                xml.writeTextElement(signatureNamespaceUri, signatureFields[f].name,
                                     fieldValue(s, f));
            xml.writeEndElement();
        }
        xml.writeEndElement(); // Seq
        xml.writeEndElement(); // signatures
    }
    xml.writeEndElement();

    xml.writeEndElement(); // RDF
    xml.writeEndElement(); // xmpmeta
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>" + body +
           "\n<?xpacket end=\"w\"?>";
}

std::optional<ReportMetadata> ReportMetadata::fromXmp(const QByteArray &xmp)
{
    const QByteArray open("<x:xmpmeta");
    const QByteArray close("</x:xmpmeta>");
    const int from = xmp.indexOf(open);
    const int end = from < 0 ? -1 : xmp.indexOf(close, from);
    if (end < 0)
        return std::nullopt;
    QXmlStreamReader xml(xmp.mid(from, end + close.size() - from));
    ReportMetadata found;
    const QString uri = QLatin1String(namespaceUri);
    auto take = [&found](const QString &name, const QString &value) {
        for (const Property &p : properties) {
            if (name == QLatin1String(p.name))
                found.*p.member = value.trimmed();
        }
    };
    const QString signatureUri = QLatin1String(signatureNamespaceUri);
    const QString rdfUri = QLatin1String(rdf);
    // The items of the signatures' rdf:Seq, their fields as elements or as
    // attributes of the item or of a description inside it.
    auto readSignatures = [&]() {
        int depth = 1;
        while (depth > 0 && !xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.namespaceUri() == rdfUri && xml.name() == QLatin1String("li"))
                found.signatures.append(Signature());
            if (found.signatures.isEmpty()) {
                ++depth;
                continue;
            }
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                if (a.namespaceUri() == signatureUri)
                    setField(found.signatures.last(), a.name().toString(), a.value().toString());
            }
            if (xml.namespaceUri() == signatureUri)
                setField(found.signatures.last(), xml.name().toString(),
                         xml.readElementText(QXmlStreamReader::SkipChildElements));
            else
                ++depth;
        }
    };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            if (a.namespaceUri() == uri)
                take(a.name().toString(), a.value().toString());
        }
        if (xml.namespaceUri() == uri && xml.name() == QLatin1String(signaturesName)) {
            readSignatures();
        } else if (xml.namespaceUri() == uri) {
            const QString name = xml.name().toString();
            take(name, xml.readElementText(QXmlStreamReader::SkipChildElements));
        }
    }
    if (xml.hasError() || found.sha256.isEmpty())
        return std::nullopt;
    return found;
}

std::optional<ReportMetadata> ReportMetadata::fromPdf(const QByteArray &pdf)
{
    const QByteArray open("<x:xmpmeta");
    for (int from = pdf.indexOf(open); from >= 0; from = pdf.indexOf(open, from + 1)) {
        const std::optional<ReportMetadata> found = fromXmp(pdf.mid(from));
        if (found)
            return found;
    }
    return std::nullopt;
}
