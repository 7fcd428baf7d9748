// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a recording as an A4 PDF report: a first page with chart, then the data pages.
#include "export/pdfreport.h"

#include "export/audittrailexport.h"
#include "export/exportfile.h"
#include "export/reportchart.h"
#include "export/reportdatapage.h"
#include "export/reportevaluation.h"
#include "export/reportfirstpage.h"
#include "export/reportfooter.h"
#include "export/reportmetadata.h"
#include "export/reportpainter.h"
#include "export/reportreview.h"

#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace
{

// How often a report is begun again because the clock passed into the next
// second while the painter began; a second try starts early in a second.
constexpr int beginAttempts = 3;

// The clock to the second, as the PDF's document information states it.
QDateTime wholeSecondNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.addMSecs(-now.time().msec());
}

enum class Drawing { Done, Failed, ClockMoved };

QString documentTitle(const ReadDevInfoJson &info)
{
    const QString title = ReportFirstPage::tr("温度湿度记录报告");
    return info.sn.isEmpty() ? title : title + QLatin1Char(' ') + info.sn;
}

// The whole report; Failed when the painter could not begin or end the
// document. The XMP packet repeats what Qt writes into the document
// information, whose creation time Qt reads from the clock itself when the
// painter begins: the clock read before and after begin() brackets that
// reading. ClockMoved, with the document abandoned, when the two fall in
// different seconds and `mayRetry`.
Drawing drawReport(QPdfWriter &writer, const LoadedRecording &recording, int dataPages,
                   bool english, const AuditHead &auditHead, bool mayRetry)
{
    setUpReportPages(writer);

    const QString title = documentTitle(recording.recording);
    const QString creator = QStringLiteral("hygra " HYGRA_VERSION);
    const QDateTime created = wholeSecondNow();
    writer.setTitle(title);
    writer.setCreator(creator);
    ReportMetadata metadata = ReportMetadata::of(recording);
    if (auditHead.seq > 0) {
        metadata.auditEntry = QString::number(auditHead.seq);
        metadata.auditHash = auditHead.hash;
    }
    writer.setDocumentXmpMetadata(
        metadata.xmpPacket(title, creator, QStringLiteral("Qt " QT_VERSION_STR), created));

    QPainter painter;
    if (!painter.begin(&writer))
        return Drawing::Failed;
    if (mayRetry && wholeSecondNow() != created) {
        painter.end();
        return Drawing::ClockMoved;
    }
    const ReportPainter rp(painter, writer.width(), writer.height(), english);

    // A caller's page count beyond the samples would print pages without a
    // first sample to date them.
    const int pages = std::min(dataPages, dataPageCount(recording.samples.size()));
    const ReportReview review(rp, recording);
    const int reviewPages = review.pageCount();
    const ReportFooter footer(rp, 1 + reviewPages + pages, recording.sha256);

    ReportFirstPage(rp, recording).draw(created);
    // Above the title, in the fingerprint's small type.
    rp.text(ReportPainter::Table, ReportPainter::box(34, 10, rp.right(), 18), ReportPainter::alignC,
            AuditTrailTexts::headText(auditHead));
    review.drawSignatures();
    const ChartPlacement placement = review.chartPlacement();
    ReportChart(rp, recording, placement).draw();
    ReportEvaluation(rp, recording, placement.frameTop).draw();
    review.drawComments();
    footer.draw(1);

    // What the first page had no room for comes before the samples.
    for (int page = 0; page < reviewPages; ++page) {
        writer.newPage();
        review.drawPage(page);
        footer.draw(page + 2);
    }
    const ReportDataPage dataPage(rp, recording);
    for (int page = 1; page <= pages; ++page) {
        writer.newPage();
        dataPage.draw(page);
        footer.draw(1 + reviewPages + page);
    }
    return painter.end() ? Drawing::Done : Drawing::Failed;
}

} // namespace

int dataPageCount(int sampleCount)
{
    const int perPage = ReportDataPage::samplesPerPage;
    return sampleCount / perPage + (sampleCount % perPage != 0 ? 1 : 0);
}

bool writePdfReport(const QString &path, const LoadedRecording &recording, int dataPages,
                    bool english, QString *error, const AuditHead &auditHead)
{
    ExportFile file(path);
    if (!file.open())
        return file.fail(error);
    for (int attempt = 1;; ++attempt) {
        Drawing drawn = Drawing::Failed;
        {
            QPdfWriter writer(file.device());
            drawn = drawReport(writer, recording, dataPages, english, auditHead,
                               attempt < beginAttempts);
        }
        // An abandoned document is a header and an empty page, still in memory.
        if (drawn == Drawing::ClockMoved && file.rewind())
            continue;
        if (drawn != Drawing::Done) {
            file.cancel();
            if (error)
                *error = QStringLiteral("the PDF writer could not begin the document");
            return false;
        }
        return file.commit() || file.fail(error);
    }
}
