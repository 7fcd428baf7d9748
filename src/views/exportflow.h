// SPDX-License-Identifier: GPL-3.0-or-later
// The two export flows run by the view container (ask for a file, write it, open it), and
// the report writing they share with the automatic download.
#pragma once

#include "recording/comparedrecording.h"
#include "recording/loadedrecording.h"

#include <QString>

class QWidget;

// Writes the PDF report of `recording` to `path` in the interface language. Long recordings
// are written on a pool thread while the export wait overlay covers the container's window;
// short ones on the calling (GUI) thread. Returns whether the file was written.
bool writePdfReportFile(QWidget *container, const LoadedRecording &recording, const QString &path);

// Asks for a PDF file name (default: the recordings folder, `baseName` and
// ".PDF"), writes the report in the interface language and opens it with the
// desktop's viewer. A cancelled dialog or a file that cannot be written ends the
// export without output.
void exportPdfReport(QWidget *container, const LoadedRecording &recording, const QString &baseName);

// Asks for a CSV file name (default: the recordings folder, `baseName` and
// ".csv"), writes the samples and opens the file with the desktop's program.
// The dialog's second file type, or a name ending in ".xlsx", writes the Excel
// workbook in the interface language instead, under the name with ".xlsx".
// A cancelled dialog or a file that cannot be written ends the export silently.
void exportSpreadsheet(QWidget *container, const LoadedRecording &recording,
                       const QString &baseName);

// Asks for a PDF file name (default: the recordings folder and "对比" with the
// date, or for a logger's history "历史记录", its serial number and the date), writes the one-page
// comparison report in the interface language and opens it with the desktop's viewer.
void exportComparisonReport(QWidget *container, const QVector<ComparedRecording> &recordings);
