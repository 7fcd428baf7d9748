// SPDX-License-Identifier: GPL-3.0-or-later
// The export flows run by the view container (ask for a file, write it, open it, say how it
// went), and the report writing they share with the automatic download.
#pragma once

#include "core/auditentry.h"
#include "recording/comparedrecording.h"
#include "recording/loadedrecording.h"

#include <QString>
#include <functional>

class QWidget;

// What writePdfReportInBackground() reports: whether the file was written and, when not,
// the system's reason.
using PdfWritten = std::function<void(bool written, const QString &error)>;

// Writes the PDF report of `recording` to `path` in the interface language. Long recordings are written on a pool
// thread while the export wait overlay covers the window of `container` (not null), which
// goes on handling its events; `done` comes once the writer has finished, after this
// returns, and not at all when `container` is gone by then. Short ones are written on the
// calling thread and `done` comes before this returns.
void writePdfReportInBackground(QWidget *container, const LoadedRecording &recording,
                                const QString &path, const PdfWritten &done,
                                const AuditHead &auditHead = {});

// A file an export wrote, or failed to: its format ("pdf", "csv", "xlsx" or
// "comparison"), its path and, when not written, the system's reason.
struct ExportedFile {
    QString format;
    QString path;
    bool written = false;
    QString error;
};
// Told of the file once it is written or failed, before the notice; not for a cancelled dialog.
using ExportProduced = std::function<void(const ExportedFile &)>;

// Each export below asks for a file name, writes the file in the interface
// language and opens it with the desktop's program for its type. It returns
// the one notice that ends it: the file's name and folder, with a word when no
// program could open it, or, when the file could not be written, its path and
// the reason (an earlier file there is then left as it was). A cancelled
// dialog ends it without a file and without a notice: an empty text. A report or
// workbook names `auditHead`, the audit trail's newest entry, when its seq is above 0.

// The PDF report; the dialog proposes the recordings folder, `baseName` and ".PDF". It is
// written by writePdfReportInBackground(), and `done` receives the notice when that ends.
void exportPdfReport(QWidget *container, const LoadedRecording &recording, const QString &baseName,
                     const std::function<void(const QString &)> &done,
                     const ExportProduced &produced = {}, const AuditHead &auditHead = {});

// The samples as a comma-separated file; the dialog proposes the recordings
// folder, `baseName` and ".csv". The dialog's second file type, or a name
// ending in ".xlsx", writes the Excel workbook instead, under the name with ".xlsx".
QString exportSpreadsheet(QWidget *container, const LoadedRecording &recording,
                          const QString &baseName, const ExportProduced &produced = {},
                          const AuditHead &auditHead = {});

// The one-page comparison report in the interface language; the dialog proposes
// the recordings folder and "对比" with the date, or for a logger's history
// "历史记录", its serial number and the date.
QString exportComparisonReport(QWidget *container, const QVector<ComparedRecording> &recordings,
                               const ExportProduced &produced = {},
                               const AuditHead &auditHead = {});
