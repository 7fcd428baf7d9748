// SPDX-License-Identifier: GPL-3.0-or-later
// The export flows run by the view container: ask for a file, write it, open it, say how it went.
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
#include <QDir>
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
// keeps the GUI thread's events flowing; returns the writer's result. The overlay
// closes when the writer is done: the notice after it tells how it went.
bool writeWithWaitOverlay(QWidget *container, const QString &path, const LoadedRecording &recording,
                          int dataPages, QString *error)
{
    WaitProgressDialog wait(container ? container->window() : nullptr);
    QFutureWatcher<bool> watcher;
    QObject::connect(&watcher, &QFutureWatcher<bool>::finished, &wait, &QWidget::close);
    const bool english = isEnglish();
    watcher.setFuture(QtConcurrent::run([&path, &recording, dataPages, english, error] {
        return writePdfReport(path, recording, dataPages, english, error);
    }));
    wait.exec();
    // The overlay only closes after the writer has finished; waiting here
    // makes sure the file is complete even if something closed it earlier.
    watcher.waitForFinished();
    return watcher.result();
}

// The notice that ends an export to `path`. Only a written file is handed to
// the desktop: a viewer given a missing document would only complain of it.
QString finish(const QString &path, bool written, const QString &error)
{
    if (!written)
        // The reasons are Qt's own texts, which its catalogue translates.
        return QCoreApplication::translate("DataShowWidget", "无法导出 %1：%2")
            .arg(QDir::toNativeSeparators(path),
                 QCoreApplication::translate("QIODevice", error.toUtf8().constData()));
    const QFileInfo file(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const char *const text =
        QDesktopServices::openUrl(QUrl::fromLocalFile(path))
            ? QT_TRANSLATE_NOOP("DataShowWidget", "已导出 %1，保存在 %2")
            : QT_TRANSLATE_NOOP("DataShowWidget", "已导出 %1，保存在 %2；没有可以打开它的程序");
    return QCoreApplication::translate("DataShowWidget", text).arg(file.fileName(), folder);
}

} // namespace

bool writePdfReportFile(QWidget *container, const LoadedRecording &recording, const QString &path,
                        QString *error)
{
    const int samples = recording.samples.size();
    const int dataPages = dataPageCount(samples);
    return samples > ReportDataPage::samplesPerPage
               ? writeWithWaitOverlay(container, path, recording, dataPages, error)
               : writePdfReport(path, recording, dataPages, isEnglish(), error);
}

QString exportPdfReport(QWidget *container, const LoadedRecording &recording,
                        const QString &baseName)
{
    const QString path = askForFile(container, baseName, ".PDF", QStringLiteral(" (*.PDF)"));
    if (path.isEmpty())
        return QString();
    QString error;
    const bool written = writePdfReportFile(container, recording, path, &error);
    return finish(path, written, error);
}

QString exportSpreadsheet(QWidget *container, const LoadedRecording &recording,
                          const QString &baseName)
{
    const QString workbookFilter =
        QCoreApplication::translate("DataShowWidget", "Excel 工作簿 (*.xlsx)");
    QString chosenFilter;
    QString path = askForFile(container, baseName, ".csv",
                              QStringLiteral("(*.csv);;") + workbookFilter, &chosenFilter);
    if (path.isEmpty())
        return QString();
    const bool workbook = chosenFilter == workbookFilter ||
                          path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    if (workbook)
        path = workbookPath(path);
    QString error;
    const bool written = workbook ? writeXlsxWorkbook(path, recording, isEnglish(), &error)
                                  : writeSpreadsheet(path, recording, &error);
    return finish(path, written, error);
}

QString exportComparisonReport(QWidget *container, const QVector<ComparedRecording> &recordings)
{
    const QString baseName = ComparisonReport::suggestedBaseName(recordings, QDate::currentDate());
    const QString path = askForFile(container, baseName, ".PDF", QStringLiteral(" (*.PDF)"));
    if (path.isEmpty())
        return QString();
    QString error;
    const bool written = ComparisonReport::write(path, recordings, isEnglish(), &error);
    return finish(path, written, error);
}
