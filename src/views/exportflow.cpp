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
#include <QPointer>
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

// A pool thread's writing of a report: whether the file was written, else why not.
struct WriteResult {
    bool written = false;
    QString error;
};

// The notice that ends an export to `path`. Only a written file is handed to
// the desktop: a viewer given a missing document would only complain of it.
QString finish(const QString &format, const QString &path, bool written, const QString &error,
               const ExportProduced &produced)
{
    if (produced)
        produced({format, path, written, error});
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

void writePdfReportInBackground(QWidget *container, const LoadedRecording &recording,
                                const QString &path, const PdfWritten &done,
                                const AuditHead &auditHead)
{
    const int samples = recording.samples.size();
    const int dataPages = dataPageCount(samples);
    const bool english = isEnglish();
    if (samples <= ReportDataPage::samplesPerPage) {
        QString error;
        const bool written = writePdfReport(path, recording, dataPages, english, &error, auditHead);
        done(written, error);
        return;
    }
    // The overlay covers the window, so nothing underneath takes a click, and
    // goes when the writer is done: the notice after it tells how it went.
    QPointer<WaitProgressDialog> overlay = new WaitProgressDialog(container->window());
    overlay->show();
    overlay->raise();
    auto *watcher = new QFutureWatcher<WriteResult>(container);
    QObject::connect(watcher, &QFutureWatcherBase::finished, container, [watcher, overlay, done] {
        watcher->deleteLater();
        delete overlay.data();
        const WriteResult result = watcher->result();
        done(result.written, result.error);
    });
    // The task holds its own copy of the recording: the view may show another meanwhile.
    watcher->setFuture(QtConcurrent::run([path, recording, dataPages, english, auditHead] {
        WriteResult result;
        result.written =
            writePdfReport(path, recording, dataPages, english, &result.error, auditHead);
        return result;
    }));
}

void exportPdfReport(QWidget *container, const LoadedRecording &recording, const QString &baseName,
                     const std::function<void(const QString &)> &done,
                     const ExportProduced &produced, const AuditHead &auditHead)
{
    const QString path = askForFile(container, baseName, ".PDF", QStringLiteral(" (*.PDF)"));
    if (path.isEmpty()) {
        done(QString());
        return;
    }
    writePdfReportInBackground(
        container, recording, path,
        [path, done, produced](bool written, const QString &error) {
            done(finish(QStringLiteral("pdf"), path, written, error, produced));
        },
        auditHead);
}

QString exportSpreadsheet(QWidget *container, const LoadedRecording &recording,
                          const QString &baseName, const ExportProduced &produced,
                          const AuditHead &auditHead)
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
    const bool written = workbook ? writeXlsxWorkbook(path, recording, isEnglish(), &error, auditHead)
                                  : writeSpreadsheet(path, recording, &error);
    return finish(workbook ? QStringLiteral("xlsx") : QStringLiteral("csv"), path, written, error,
                  produced);
}

QString exportComparisonReport(QWidget *container, const QVector<ComparedRecording> &recordings,
                               const ExportProduced &produced, const AuditHead &auditHead)
{
    const QString baseName = ComparisonReport::suggestedBaseName(recordings, QDate::currentDate());
    const QString path = askForFile(container, baseName, ".PDF", QStringLiteral(" (*.PDF)"));
    if (path.isEmpty())
        return QString();
    QString error;
    const bool written = ComparisonReport::write(path, recordings, isEnglish(), &error, auditHead);
    return finish(QStringLiteral("comparison"), path, written, error, produced);
}
