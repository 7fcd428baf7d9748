// SPDX-License-Identifier: GPL-3.0-or-later
// The two export flows run by the view container: ask for a file, write it, open it.
#include "views/exportflow.h"

#include "core/settinginfo.h"
#include "export/comparisonreport.h"
#include "export/pdfreport.h"
#include "export/reportdatapage.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "widgets/waitprogressdialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QUrl>
#include <QtConcurrent>

namespace
{

QString askForFile(QWidget *container, const QString &baseName, const char *suffix,
                   const QString &filter, QString *chosenFilter = nullptr)
{
    return QFileDialog::getSaveFileName(
        container, QCoreApplication::translate("DataShowWidget", "导出"),
        dataDir() + QLatin1Char('/') + baseName + QLatin1String(suffix), filter, chosenFilter);
}

// The dialog keeps the name's ".csv" when the user switches to the workbook type;
// the file written then is the workbook beside it, never an .xlsx named .csv.
QString workbookPath(const QString &path)
{
    const QString suffix = QStringLiteral(".xlsx");
    if (path.endsWith(suffix, Qt::CaseInsensitive))
        return path;
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return path.left(path.size() - 4) + suffix;
    return path + suffix;
}

// Writes on a pool thread while the wait overlay covers the container's window and
// keeps the GUI thread's events flowing; returns the writer's result.
bool writeWithWaitOverlay(QWidget *container, const QString &path, const LoadedRecording &recording,
                          int dataPages)
{
    WaitProgressDialog wait(container ? container->window() : nullptr);
    QFutureWatcher<bool> watcher;
    QObject::connect(&watcher, &QFutureWatcher<bool>::finished, &wait,
                     &WaitProgressDialog::delSuccess);
    watcher.setFuture(QtConcurrent::run(writePdfReport, path, recording, dataPages, isEnglish()));
    wait.exec();
    // The overlay only closes after the writer has finished; waiting here
    // makes sure the file is complete even if something closed it earlier.
    watcher.waitForFinished();
    return watcher.result();
}

} // namespace

bool writePdfReportFile(QWidget *container, const LoadedRecording &recording, const QString &path)
{
    const int samples = recording.samples.size();
    const int dataPages = dataPageCount(samples);
    return samples > ReportDataPage::samplesPerPage
               ? writeWithWaitOverlay(container, path, recording, dataPages)
               : writePdfReport(path, recording, dataPages, isEnglish());
}

void exportPdfReport(QWidget *container, const LoadedRecording &recording, const QString &baseName)
{
    const QString path = askForFile(container, baseName, ".PDF", QStringLiteral(" (*.PDF)"));
    if (path.isEmpty())
        return;
    // Handing a file that was never written to the viewer would only make it
    // complain about a missing document.
    if (writePdfReportFile(container, recording, path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void exportSpreadsheet(QWidget *container, const LoadedRecording &recording,
                       const QString &baseName)
{
    const QString workbookFilter =
        QCoreApplication::translate("DataShowWidget", "Excel 工作簿 (*.xlsx)");
    QString chosenFilter;
    QString path = askForFile(container, baseName, ".csv",
                              QStringLiteral("(*.csv);;") + workbookFilter, &chosenFilter);
    if (path.isEmpty())
        return;
    const bool workbook = chosenFilter == workbookFilter ||
                          path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    if (workbook)
        path = workbookPath(path);
    const bool written = workbook ? writeXlsxWorkbook(path, recording, isEnglish())
                                  : writeSpreadsheet(path, recording);
    if (written)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void exportComparisonReport(QWidget *container, const QVector<ComparedRecording> &recordings)
{
    const QString baseName = ComparisonReport::suggestedBaseName(recordings, QDate::currentDate());
    const QString path = askForFile(container, baseName, ".PDF", QStringLiteral(" (*.PDF)"));
    if (path.isEmpty())
        return;
    if (ComparisonReport::write(path, recordings, isEnglish()))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
