// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic download's settings: the switch, the report folder and the report formats.
#pragma once

#include <QString>

struct AutoDownloadSettings {
    bool enabled = false;
    // Where the reports of automatic downloads go; blank means the recordings folder.
    QString reportFolder;
    bool pdf = true;
    bool spreadsheet = false;
    bool workbook = false;
};

// The folder the reports go to: the chosen one, or the recordings folder.
QString autoReportFolder(const AutoDownloadSettings &settings);

// Reads the process-wide values from the settings file, storing the defaults of missing
// keys; called by initSettings. Only "true", "1", "yes" and "on" (in any case) switch a
// value on, so a value edited into something else reads as off.
void loadAutoDownloadSettings();
AutoDownloadSettings autoDownloadSettings();
// Stores the values in the settings file and makes them current.
void setAutoDownloadSettings(const AutoDownloadSettings &settings);
