// SPDX-License-Identifier: GPL-3.0-or-later
// AutoDownload: the window's hands-free mode that connects, downloads and reports plugged-in
// loggers.
#include "app/autodownload.h"

#include "app/connectwidget.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/tbwidget.h"
#include "app/windowaudit.h"
#include "core/autodownloadsettings.h"
#include "core/lgxdevtype.h"
#include "core/newfile.h"
#include "core/settinginfo.h"
#include "device/usbcontrol.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "platform/loggerenumeration.h"
#include "platform/loggerwatcher.h"
#include "recording/recordingaudit.h"
#include "export/pdfreport.h"
#include "views/datashowwidget.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>
#include <functional>

namespace
{
// A logger is served a moment after it arrived or the window became free: the system may
// still be setting up a device that has just been plugged in.
constexpr int serveDelayMs = 500;
} // namespace

AutoDownload::AutoDownload(MainWindow *window) : QObject(window), window(window)
{
    serveTimer.setSingleShot(true);
    serveTimer.setInterval(serveDelayMs);
    connect(&serveTimer, &QTimer::timeout, this, &AutoDownload::serveNext);

    LoggerWatcher *watcher = window->loggerWatcher();
    connect(watcher, &LoggerWatcher::loggerArrived, this, &AutoDownload::loggerArrived);
    connect(watcher, &LoggerWatcher::loggerRemoved, this, &AutoDownload::loggerRemoved);

    UsbControl *usb = window->controller();
    connect(usb, &UsbControl::devStateSignal, this,
            [this](const QString &, bool isRecord) { firstState(isRecord); });
    connect(window, &MainWindow::loggerOpened, this, [this](bool ok) {
        if (ok)
            return;
        connectionLost();
        if (!waiting.isEmpty())
            serveTimer.start();
    });
    connect(usb, &UsbControl::closeDevSignal, this, &AutoDownload::connectionLost);
    // Direct: noted before the window's queued handler runs the dialog.
    connect(usb, &UsbControl::startDataDownload, this, [this] {
        if (step == Step::Downloading)
            downloadStarted = true;
    });
    connect(window, &MainWindow::downloadEnded, this, &AutoDownload::downloadEnded);
    connect(window->form()->dataShow, &DataShowWidget::recordingOpened, this,
            &AutoDownload::recordingShown);
}

void AutoDownload::loggerArrived(const AttachedLogger &logger)
{
    if (!autoDownloadSettings().enabled)
        return;
    waiting.append(logger);
    if (window->form()->connectWidget->isBusy() || waiting.size() > 1)
        window->delSendMessage(tr("另一台记录仪已接入，等待中"));
    serveTimer.start();
}

void AutoDownload::loggerRemoved(const AttachedLogger &logger)
{
    waiting.removeAll(logger);
    // The connected logger's removal resets the window (its own handler, which may have run
    // already), which ends what this mode was doing; another one's changes nothing.
    const AttachedLogger open = window->controller()->openLogger();
    if (!open.isValid() || logger == open)
        connectionLost();
    if (!waiting.isEmpty())
        serveTimer.start();
}

void AutoDownload::connectionLost()
{
    stateSeen = false;
    step = Step::Idle;
}

bool AutoDownload::windowIsFree() const
{
    return step == Step::Idle && !writing && !window->form()->connectWidget->isBusy() &&
           !QApplication::activeModalWidget();
}

void AutoDownload::serveNext()
{
    if (waiting.isEmpty())
        return;
    if (!autoDownloadSettings().enabled) {
        waiting.clear();
        return;
    }
    if (!windowIsFree()) {
        serveTimer.start();
        return;
    }
    const AttachedLogger next = waiting.takeFirst();
    if (!listAttachedLoggerDevices().contains(next)) {
        serveTimer.start();
        return;
    }
    step = Step::Connecting;
    window->connectLogger(next);
}

void AutoDownload::firstState(bool isRecord)
{
    if (stateSeen)
        return;
    // The first state of a connection, by hand or by this mode: where the open logger sits.
    stateSeen = true;
    if (step != Step::Connecting)
        return;
    if (!autoDownloadSettings().enabled) {
        step = Step::Idle;
        return;
    }
    if (isRecord) {
        step = Step::Idle;
        window->delSendMessage(tr("记录仪正在记录，未自动下载"));
        return;
    }
    step = Step::Downloading;
    // Not inside the controller's handling of the state answer that got here.
    QTimer::singleShot(0, this, &AutoDownload::startDownload);
}

void AutoDownload::startDownload()
{
    if (step == Step::Downloading && !window->form()->tbWidget->startDownload())
        step = Step::Idle;
}

void AutoDownload::downloadEnded(const QString &filePath)
{
    const bool mine = downloadStarted && !filePath.isEmpty();
    downloadStarted = false;
    if (step == Step::Downloading)
        step = Step::Idle;
    // The reports follow once the view shows the recording.
    if (mine)
        reportPending = filePath;
}

void AutoDownload::recordingShown(const QString &path, RecordingStatus status)
{
    if (path != reportPending)
        return;
    reportPending.clear();
    // A recording that could not be opened has had its notice from the list.
    if (status == RecordingStatus::Loaded)
        writeReports(path);
}

void AutoDownload::writeReports(const QString &recordingPath)
{
    const AutoDownloadSettings settings = autoDownloadSettings();
    DataShowWidget *view = window->form()->dataShow;
    const QString baseName = QFileInfo(recordingPath).completeBaseName();
    if ((!settings.pdf && !settings.spreadsheet && !settings.workbook) || !view->isShowing() ||
        view->recordingBaseName() != baseName)
        return;
    const QString folder = autoReportFolder(settings);
    const LoadedRecording recording = view->loaded();
    const AuditHead head = view->auditHead();
    const bool english = isEnglish();
    writing = true;
    // On a pool thread: a long recording's report takes a second or two, and the window
    // goes on handling the logger and the user meanwhile.
    auto *watcher = new QFutureWatcher<WrittenReports>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, folder, recording] {
        watcher->deleteLater();
        writing = false;
        reportWritten(folder, watcher->result(), recording);
    });
    watcher->setFuture(QtConcurrent::run([settings, folder, baseName, recording, english, head] {
        WrittenReports reports;
        const bool folderReady = QDir().mkpath(folder);
        // Each report appears in the folder only complete, under a name of its own.
        const auto write = [&](const char *format, const char *suffix,
                               const std::function<bool(const QString &)> &writer) {
            const QString name = baseName + QLatin1String(suffix);
            const QString path = folderReady ? writeNewFile(folder, name, writer) : QString();
            if (path.isEmpty()) {
                reports.failed << name;
                reports.reports.append({QLatin1String(format), name, QByteArray()});
            } else {
                reports.written << QFileInfo(path).fileName();
                reports.reports.append(
                    {QLatin1String(format), path, recordingaudit::fileSha256(path)});
            }
        };
        if (settings.pdf)
            write("pdf", ".PDF", [&](const QString &path) {
                return writePdfReport(path, recording, dataPageCount(recording.samples.size()),
                                      english, nullptr, head);
            });
        if (settings.spreadsheet)
            write("csv", ".csv",
                  [&](const QString &path) { return writeSpreadsheet(path, recording); });
        if (settings.workbook)
            write("xlsx", ".xlsx",
                  [&](const QString &path) {
                      return writeXlsxWorkbook(path, recording, english, nullptr, head);
                  });
        return reports;
    }));
}

void AutoDownload::reportWritten(const QString &folder, const WrittenReports &reports,
                                 const LoadedRecording &recording)
{
    for (const Report &report : reports.reports) {
        if (report.sha256.isEmpty())
            window->windowAudit()->reportFailed(report.format, report.path, recording);
        else
            window->windowAudit()->reportWritten(report.format, report.path, report.sha256,
                                                 recording);
    }
    // The folder is named: it is set once in the menu and easily forgotten.
    const QString where = QDir::toNativeSeparators(folder);
    if (!reports.failed.isEmpty())
        window->delSendMessage(
            tr("无法保存报告：%1（位于 %2）").arg(reports.failed.join(QStringLiteral(", ")), where));
    else
        window->delSendMessage(
            tr("已保存报告：%1（位于 %2）").arg(reports.written.join(QStringLiteral(", ")), where));
    if (!waiting.isEmpty())
        serveTimer.start();
}
