// SPDX-License-Identifier: GPL-3.0-or-later
// KnownLoggers: serial number and name per port path, in the settings file.
#include "app/knownloggers.h"

#include "core/lgxdevtype.h"
#include "core/settinginfo.h"

namespace
{
const QString group = QStringLiteral("loggers");
const QString lastKey = QStringLiteral("last");

// One key per model and port: another model in the same socket is another logger.
QString keyOf(const AttachedLogger &logger)
{
    return modelName(logger.model) + QLatin1Char('@') + logger.portPath;
}
} // namespace

KnownLoggers::Known KnownLoggers::at(const AttachedLogger &logger)
{
    SettingInfo *info = settingInfo();
    if (!info || logger.portPath.isEmpty())
        return {};
    // "SN|name": a serial number holds no '|', a name may.
    const QString value = info->readInfo(group, keyOf(logger), QString());
    const int bar = value.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {value, QString()};
    return {value.left(bar), value.mid(bar + 1)};
}

void KnownLoggers::remember(const AttachedLogger &logger, const QString &sn, const QString &name)
{
    SettingInfo *info = settingInfo();
    if (!info || logger.portPath.isEmpty())
        return;
    info->writeInfo(group, keyOf(logger), sn + QLatin1Char('|') + name);
    info->writeInfo(group, lastKey, keyOf(logger));
}

bool KnownLoggers::isLast(const AttachedLogger &logger)
{
    SettingInfo *info = settingInfo();
    return info && !logger.portPath.isEmpty() &&
           info->readInfo(group, lastKey, QString()) == keyOf(logger);
}
