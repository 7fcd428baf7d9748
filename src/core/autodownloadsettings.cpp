// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic download's settings in group "setting" of the settings file.
#include "core/autodownloadsettings.h"

#include "core/settinginfo.h"

namespace
{
AutoDownloadSettings theSettings;

const char *const settingGroup = "setting";
const char *const enabledKey = "autodownload";
const char *const folderKey = "autoreportdir";
const char *const pdfKey = "autopdf";
const char *const spreadsheetKey = "autocsv";
const char *const workbookKey = "autoxlsx";

QString onOffText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

bool readSwitch(SettingInfo *info, const char *key, bool defaultValue)
{
    const QString value = info->readInfo(settingGroup, key, onOffText(defaultValue));
    const QString word = value.trimmed().toLower();
    return word == QLatin1String("true") || word == QLatin1String("1") ||
           word == QLatin1String("yes") || word == QLatin1String("on");
}
} // namespace

QString autoReportFolder(const AutoDownloadSettings &settings)
{
    return settings.reportFolder.trimmed().isEmpty() ? dataDir() : settings.reportFolder;
}

void loadAutoDownloadSettings()
{
    SettingInfo *info = settingInfo();
    if (!info)
        return;
    const AutoDownloadSettings defaults;
    theSettings.enabled = readSwitch(info, enabledKey, defaults.enabled);
    theSettings.reportFolder = info->readInfo(settingGroup, folderKey, dataDir());
    theSettings.pdf = readSwitch(info, pdfKey, defaults.pdf);
    theSettings.spreadsheet = readSwitch(info, spreadsheetKey, defaults.spreadsheet);
    theSettings.workbook = readSwitch(info, workbookKey, defaults.workbook);
}

AutoDownloadSettings autoDownloadSettings()
{
    return theSettings;
}

void setAutoDownloadSettings(const AutoDownloadSettings &settings)
{
    theSettings = settings;
    SettingInfo *info = settingInfo();
    if (!info)
        return;
    info->writeInfo(settingGroup, enabledKey, onOffText(settings.enabled));
    info->writeInfo(settingGroup, folderKey, autoReportFolder(settings));
    info->writeInfo(settingGroup, pdfKey, onOffText(settings.pdf));
    info->writeInfo(settingGroup, spreadsheetKey, onOffText(settings.spreadsheet));
    info->writeInfo(settingGroup, workbookKey, onOffText(settings.workbook));
}
