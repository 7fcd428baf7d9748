// SPDX-License-Identifier: GPL-3.0-or-later
// What a PDF report says about its recording in its XMP metadata, written and read back.
#pragma once

#include "recording/loadedrecording.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>
#include <optional>

// A program finds these without rendering a page: `hygra-cli verify` compares
// the fingerprint with a recording file's.
struct ReportMetadata {
    // The recording file's SHA-256, lower-case hex.
    QString sha256;
    QString serialNumber;
    // The recording's first and last sample, wall-clock "yyyy-MM-ddThh:mm:ss".
    QString recordingStart;
    QString recordingStop;
    // The audit trail's newest entry when the report was written: its seq
    // and hash; empty when the report was given none.
    QString auditEntry;
    QString auditHash;
    // Of an export of audit entries: the SHA-256 of their canonical JSON lines.
    QString auditExportSha256;

    // An electronic signature printed on the report, as its trail entry
    // holds it: the entry's seq and hash, who signed (login and printed
    // name), the entry's UTC time and the meaning as stored ("approved").
    struct Signature {
        qint64 seq = 0;
        QString hash;
        QString login;
        QString name;
        QString time;
        QString meaning;

        bool operator==(const Signature &other) const
        {
            return seq == other.seq && hash == other.hash && login == other.login &&
                   name == other.name && time == other.time && meaning == other.meaning;
        }
        bool operator!=(const Signature &other) const { return !(*this == other); }
    };
    // In the trail's order; the packet holds them as an rdf:Seq of structures.
    QVector<Signature> signatures;

    // What a report of `recording` states: its file's fingerprint, the
    // logger's serial number, the times of its first and last sample, and
    // the signatures of its review when the review names that fingerprint.
    static ReportMetadata of(const LoadedRecording &recording);

    // The XML namespace of these properties, and its prefix in the packet.
    static constexpr const char *namespaceUri = "urn:hygra:report:1.0#";
    static constexpr const char *prefix = "hygra";
    // The namespace of a signature's fields, and its prefix.
    static constexpr const char *signatureNamespaceUri = "urn:hygra:signature:1.0#";
    static constexpr const char *signaturePrefix = "hygraSig";

    // The document's XMP packet: PDF/A-1b identification, the document
    // information the PDF's Info dictionary repeats (title, creator, producer,
    // creation date), and these properties; an empty one is left out.
    QByteArray xmpPacket(const QString &title, const QString &creator, const QString &producer,
                         const QDateTime &created) const;

    // The properties of the XMP packet `xmp`; empty when it holds no
    // fingerprint. Reads both the element and the attribute form of XMP properties.
    static std::optional<ReportMetadata> fromXmp(const QByteArray &xmp);
    // The properties of the first XMP packet in a PDF's bytes that holds a
    // fingerprint; empty when there is none.
    static std::optional<ReportMetadata> fromPdf(const QByteArray &pdf);

    // The same recording described. The audit trail's head tells when the
    // report was written, which the recording cannot bear out, so it is not compared.
    bool operator==(const ReportMetadata &other) const
    {
        return sha256 == other.sha256 && serialNumber == other.serialNumber &&
               recordingStart == other.recordingStart && recordingStop == other.recordingStop;
    }
    bool operator!=(const ReportMetadata &other) const { return !(*this == other); }
};
