// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a recording as an Excel workbook: typed sample rows, a summary and native charts.
#pragma once

#include "core/auditentry.h"
#include "recording/loadedrecording.h"

#include <QString>

// Writes `recording` to the workbook `path`, replacing any earlier file.
//
// Sheet 1 has a frozen title row with a filter, then one row per sample: its
// number, its wall-clock time as a date-time cell, the temperature in the
// recording's unit and, with humidity, the humidity as numbers shown with one
// decimal (blank when the logger had no value), and the alarm state as text
// where it is not normal. Sheet 2 summarises the recording as the report's
// first page does, with the evaluation and every excursion. Sheet 3 holds
// charts of temperature and humidity over time that read sheet 1's cells, so
// the spreadsheet program draws and zooms them itself.
//
// Texts come from the installed catalogue; `english` widens the summary's name
// column for the longer English names. Reentrant. The file replaces an earlier
// one only once it is complete. Returns false, with the reason in `error` when
// given, when it could not be written whole or the samples exceed a
// worksheet's rows; an earlier file at `path` is then left as it was. With an
// `auditHead` of seq > 0, the summary names the audit trail's newest entry
// under its title.
bool writeXlsxWorkbook(const QString &path, const LoadedRecording &recording, bool english,
                       QString *error = nullptr, const AuditHead &auditHead = {});
