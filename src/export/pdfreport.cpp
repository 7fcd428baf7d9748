// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a recording as an A4 PDF report: a first page with chart, then the data pages.
#include "export/pdfreport.h"

#include "export/exportfile.h"
#include "export/reportchart.h"
#include "export/reportdatapage.h"
#include "export/reportevaluation.h"
#include "export/reportfirstpage.h"
#include "export/reportfooter.h"
#include "export/reportmetadata.h"
#include "export/reportpainter.h"

#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>
#include <QThread>
#include <algorithm>

namespace
{

// The time the PDF's document information states. Qt reads the clock itself
// for it when the painter begins; the XMP packet, written before, must state
// the same second, so a time in the last tenth of a second waits for the next.
QDateTime creationTime()
{
    QDateTime now = QDateTime::currentDateTime();
    if (now.time().msec() > 900) {
        QThread::msleep(1001 - now.time().msec());
        now = QDateTime::currentDateTime();
    }
    return now.addMSecs(-now.time().msec());
}

QString documentTitle(const ReadDevInfoJson &info)
{
    const QString title = ReportFirstPage::tr("温度湿度记录报告");
    return info.sn.isEmpty() ? title : title + QLatin1Char(' ') + info.sn;
}

// The whole report; false when the painter could not begin or end the document.
bool drawReport(QPdfWriter &writer, const LoadedRecording &recording, int dataPages, bool english)
{
    setUpReportPages(writer);

    // The XMP packet repeats what Qt writes into the document information.
    const QString title = documentTitle(recording.recording);
    const QString creator = QStringLiteral("hygra " HYGRA_VERSION);
    const QDateTime created = creationTime();
    writer.setTitle(title);
    writer.setCreator(creator);
    writer.setDocumentXmpMetadata(ReportMetadata::of(recording).xmpPacket(
        title, creator, QStringLiteral("Qt " QT_VERSION_STR), created));

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const ReportPainter rp(painter, writer.width(), writer.height(), english);

    // A caller's page count beyond the samples would print pages without a
    // first sample to date them.
    const int pages = std::min(dataPages, dataPageCount(recording.samples.size()));
    const ReportFooter footer(rp, 1 + pages, recording.sha256);

    ReportFirstPage(rp, recording).draw(created);
    ReportChart(rp, recording).draw();
    ReportEvaluation(rp, recording).draw();
    footer.draw(1);

    const ReportDataPage dataPage(rp, recording);
    for (int page = 1; page <= pages; ++page) {
        writer.newPage();
        dataPage.draw(page);
        footer.draw(page + 1);
    }
    return painter.end();
}

} // namespace

int dataPageCount(int sampleCount)
{
    const int perPage = ReportDataPage::samplesPerPage;
    return sampleCount / perPage + (sampleCount % perPage != 0 ? 1 : 0);
}

bool writePdfReport(const QString &path, const LoadedRecording &recording, int dataPages,
                    bool english, QString *error)
{
    ExportFile file(path);
    if (!file.open())
        return file.fail(error);
    bool drawn = false;
    {
        QPdfWriter writer(file.device());
        drawn = drawReport(writer, recording, dataPages, english);
    }
    if (!drawn) {
        file.cancel();
        if (error)
            *error = QStringLiteral("the PDF writer could not begin the document");
        return false;
    }
    return file.commit() || file.fail(error);
}
