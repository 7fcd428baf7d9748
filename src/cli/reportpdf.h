// SPDX-License-Identifier: GPL-3.0-or-later
// ReportPdf: what a PDF report holds as a PDF reader sees it, for `hygra-cli verify`.
#pragma once

#include <QByteArray>
#include <QString>

// The report is read with poppler, a complete PDF reader, and its bytes are
// searched for what a reader would not show: metadata packets besides the
// document's own.
struct ReportPdf {
    enum class State {
        // The bytes do not begin as a PDF does.
        NotPdf,
        // A PDF whose cross-reference table or trailer is missing or broken: a
        // reader has to rebuild it, or cannot open the file at all.
        Damaged,
        // Opened whole, as written.
        Complete,
    };

    State state = State::NotPdf;
    // XMP packets anywhere in the bytes, comments included, and the first of them.
    int packetsInBytes = 0;
    QByteArray firstPacket;
    // The document's own metadata, the catalogue's /Metadata stream, as the
    // reader decodes it (its ASCII as written); empty when it has none.
    QByteArray documentMetadata;
    // The text of the first page, compatibility characters folded, runs of
    // white space made one space.
    QString firstPageText;

    // Reads the PDF `bytes`.
    static ReportPdf read(const QByteArray &bytes);
};
