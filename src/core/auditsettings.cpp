// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/auditsettings.h"

#include "core/settinginfo.h"

namespace
{
const char *const settingGroup = "setting";
const char *const askKey = "askreason";
} // namespace

bool askForReason()
{
    SettingInfo *info = settingInfo();
    if (!info)
        return false;
    // Only a clear "on" switches it on, as for the other switches of the file.
    const QString word =
        info->readInfo(settingGroup, askKey, QStringLiteral("false")).trimmed().toLower();
    return word == QLatin1String("true") || word == QLatin1String("1") ||
           word == QLatin1String("yes") || word == QLatin1String("on");
}

void setAskForReason(bool on)
{
    if (SettingInfo *info = settingInfo())
        info->writeInfo(settingGroup, askKey,
                        on ? QStringLiteral("true") : QStringLiteral("false"));
}
