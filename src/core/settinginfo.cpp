// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file and the process-wide language and folder values.
#include "core/settinginfo.h"

#include "core/autodownloadsettings.h"
#include "core/qtcompat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

namespace {
QPointer<SettingInfo> theSettingInfo;
QString theLanguage;
QString theDataDir;
QString theConfigDir;

const char *const settingGroup = "setting";
} // namespace

SettingInfo::SettingInfo(const QString &path, QObject *parent)
    : QObject(parent), filePath(path), settings(new QSettings(path, QSettings::IniFormat, this))
{
    useUtf8IniCodec(*settings);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SettingInfo::keepPrivate()
{
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    if (fileExists() && QFile::permissions(filePath) != ownerOnly)
        QFile::setPermissions(filePath, ownerOnly);
}

bool SettingInfo::fileExists() const
{
    return QFileInfo(filePath).isFile();
}

void SettingInfo::writeInfo(const QString &groupName, const QString &settingName,
                            const QString &defaultV)
{
    if (!fileExists())
        return;
    settings->beginGroup(groupName);
    settings->setValue(settingName, defaultV);
    settings->endGroup();
    settings->sync();
    keepPrivate();
}

QString SettingInfo::readInfo(const QString &groupName, const QString &settingName,
                              const QString &defaultValue)
{
    QString result = defaultValue;
    const bool known = fileExists() && settings->childGroups().contains(groupName);
    settings->beginGroup(groupName);
    if (known && settings->childKeys().contains(settingName))
        result = settings->value(settingName).toString();
    else
        settings->setValue(settingName, defaultValue);
    settings->endGroup();
    settings->sync();
    keepPrivate();
    return result;
}

QString appFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/HYGRA");
}

namespace {
// A folder value left blank in an edited file would send recordings and presets
// into the current or the root folder; the default stands in for it.
QString readFolder(const char *key, const QString &defaultFolder)
{
    const QString folder = theSettingInfo->readInfo(settingGroup, key, defaultFolder);
    return folder.trimmed().isEmpty() ? defaultFolder : folder;
}
} // namespace

void initSettings(QObject *parent)
{
    const QString base = appFolder();
    delete theSettingInfo;
    theSettingInfo = new SettingInfo(base + QStringLiteral("/Setting/setting.ini"), parent);
    theLanguage = theSettingInfo->readInfo(settingGroup, "language", QStringLiteral("中文简体"));
    theDataDir = readFolder("datadir", base + QStringLiteral("/UserData"));
    theConfigDir = readFolder("configdir", base + QStringLiteral("/Config"));
    loadAutoDownloadSettings();
}

SettingInfo *settingInfo()
{
    return theSettingInfo;
}

QString currentLanguage()
{
    return theLanguage;
}

QString dataDir()
{
    return theDataDir;
}

QString configDir()
{
    return theConfigDir;
}

void setCurrentLanguage(const QString &value)
{
    if (theSettingInfo)
        theSettingInfo->writeInfo(settingGroup, "language", value);
    theLanguage = value;
}

bool isEnglish()
{
    return theLanguage == QLatin1String("English");
}
