// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file and the process-wide values read from it.
#pragma once

#include <QObject>
#include <QSettings>
#include <QString>

class SettingInfo : public QObject
{
    Q_OBJECT
public:
    SettingInfo(const QString &path, QObject *parent = nullptr);

    QString readInfo(const QString &groupName, const QString &settingName,
                     const QString &defaultValue);
    QString path() const { return filePath; }

public slots:
    // Writes only while the settings file exists as a file.
    void writeInfo(const QString &groupName, const QString &settingName,
                   const QString &defaultV = QString());

private:
    // The file may hold an archive's address: only its owner reads it.
    void keepPrivate();
    bool fileExists() const;

    QString filePath;
    QSettings *settings;
};

// Creates the one SettingInfo (owned by `parent`) and fills the process-wide values.
void initSettings(QObject *parent);
// The one SettingInfo, or null before initSettings.
SettingInfo *settingInfo();

QString currentLanguage();
QString dataDir();
QString configDir();
// Stores the language in the settings file and makes it current.
void setCurrentLanguage(const QString &value);
// True when the current language is English; any other value means Chinese.
bool isEnglish();
QString appFolder();
