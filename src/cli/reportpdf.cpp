// SPDX-License-Identifier: GPL-3.0-or-later
// ReportPdf: what a PDF report holds as a PDF reader sees it, for `hygra-cli verify`.
#include "cli/reportpdf.h"

#include <QRectF>
#include <memory>

#if QT_VERSION_MAJOR >= 6
#include <poppler-qt6.h>
#else
#include <poppler-qt5.h>
#endif

namespace
{

int occurrences(const QByteArray &bytes, const QByteArray &what)
{
    int count = 0;
    for (int at = bytes.indexOf(what); at >= 0; at = bytes.indexOf(what, at + what.size()))
        ++count;
    return count;
}

} // namespace

ReportPdf ReportPdf::read(const QByteArray &bytes)
{
    ReportPdf pdf;
    if (!bytes.startsWith("%PDF-"))
        return pdf;
    pdf.state = State::Damaged;
    // Qt 5's binding hands out raw pointers, Qt 6's unique ones; both end here.
    const std::unique_ptr<Poppler::Document> document(Poppler::Document::loadFromData(bytes));
    if (!document || document->isLocked() || document->numPages() < 1)
        return pdf;
    const QByteArray begin("<?xpacket begin=");
    const QByteArray end("<?xpacket end=");
    pdf.packetsInBytes = occurrences(bytes, begin);
    const int from = bytes.indexOf(begin);
    const int to = from < 0 ? -1 : bytes.indexOf(end, from);
    if (to > 0)
        pdf.firstPacket = bytes.mid(from, to - from);
    // The reader decodes the stream as a PDF text string, which keeps ASCII
    // as it is but not the UTF-8 of a title.
    pdf.documentMetadata = document->metadata().toUtf8();
    const std::unique_ptr<Poppler::Page> first(document->page(0));
    if (first)
        pdf.firstPageText =
            first->text(QRectF()).normalized(QString::NormalizationForm_KC).simplified();
    // The reader rebuilds a broken table as it goes, so this is asked last.
    if (first && !document->xrefWasReconstructed())
        pdf.state = State::Complete;
    return pdf;
}
