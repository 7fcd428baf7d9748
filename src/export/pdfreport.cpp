// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a recording as an A4 PDF report: a first page with chart, then the data pages.
#include "export/pdfreport.h"

#include "export/reportchart.h"
#include "export/reportdatapage.h"
#include "export/reportfirstpage.h"
#include "export/reportpainter.h"

#include <QDateTime>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

int dataPageCount(int sampleCount)
{
    const int perPage = ReportDataPage::samplesPerPage;
    return sampleCount / perPage + (sampleCount % perPage != 0 ? 1 : 0);
}

bool writePdfReport(const QString &path, const LoadedRecording &recording, int dataPages,
                    bool english)
{
    // One device unit is one point on a full A4 page without margins.
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(72);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const ReportPainter rp(painter, printer.width(), printer.height(), english);

    ReportFirstPage(rp, recording).draw(QDateTime::currentDateTime());
    ReportChart(rp, recording).draw();

    // A caller's page count beyond the samples would print pages without a
    // first sample to date them.
    const int pages = std::min(dataPages, dataPageCount(recording.samples.size()));
    const ReportDataPage dataPage(rp, recording);
    for (int page = 1; page <= pages; ++page) {
        printer.newPage();
        dataPage.draw(page);
    }
    return painter.end();
}
