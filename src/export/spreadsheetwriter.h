// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the samples of a recording as a comma-separated spreadsheet file.
#pragma once

#include "recording/loadedrecording.h"

#include <QString>

// The titles of the temperature and humidity columns: "AT(°C)" or "AT(℉)", and "RH%".
QString temperatureColumnTitle(int tempUnit);
QString humidityColumnTitle();
// The line before the header that says a recording lacks samples its header
// promises, with its line feed; empty for a complete recording, whose file
// starts with the header as it always did.
QString spreadsheetNotice(const LoadedRecording &recording);
// The header line, by humidity flag and unit, with its line feed.
QString spreadsheetHeader(bool withHumidity, int tempUnit);
// One sample: date, time, temperature in the recording's unit and, with
// humidity, the humidity; "---" for a missing value; ends in a line feed.
QString spreadsheetLine(const SamplePoint &sample, bool withHumidity, int tempUnit);

// Writes the header and one line per sample to `path`, each line in the local
// 8-bit encoding; the file replaces an earlier one only once it is complete.
// Returns false, with the system's reason in `error` when given, when the file
// could not be written whole; an earlier file at `path` is then left as it was.
bool writeSpreadsheet(const QString &path, const LoadedRecording &recording,
                      QString *error = nullptr);
