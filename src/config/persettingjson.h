// SPDX-License-Identifier: GPL-3.0-or-later
// PersettingJson: one stored preset, its file and its conversions to and from a configuration.
#pragma once

#include "config/alertsettingjson.h"
#include "device/oneconfigcmdstruct.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

class PersettingJson
{
public:
    QString configName;
    QString devName;
    QString devId;
    QString devNote;
    int tempUnit = 0;
    int screenCloseMode = 0;
    int screenCloseTime = 0;
    bool isDateTimeFlowSys = false;
    bool isOpenBacklight = false;
    bool isOpenBuzzer = false;
    bool isOpenLed = false;
    bool isOpenPdf = false;
    int recordMode = 0;
    int startMode = 0;
    int keyStopMode = 0;
    int keyRestartMode = 0;
    QDateTime devDateTime;
    QDateTime perStartDateTime;
    AlertSettingJson th1, th2, th3, tl1, tl2, tl3, hh, hl;
    int sensorType = 0;
    int lgxDevType = 0;

    QJsonObject toJson() const;
    // Takes each member only when its key is present.
    void readJson(const QJsonObject &object);

    // The preset of the form's working record and note, named `name`, saved
    // while `model` was connected.
    static PersettingJson fromConfig(const OneConfigCmdStruct &config, const QString &note,
                                     const QString &name, int model);
    // The record this preset writes; the note travels beside it in `note`.
    // Start delay and record interval are no part of a preset and stay zero.
    OneConfigCmdStruct toConfig(QString *note) const;

    // Reads the preset in `path`; false when the file cannot be opened or holds
    // no JSON object.
    static bool readFile(const QString &path, PersettingJson *preset);
    // Writes the compact JSON to a new file in `folder` named after the current
    // date-time, never over an existing file, also when another program saves
    // one in the same second; the file appears only complete. Returns its
    // name, empty on failure.
    QString writeNewFile(const QString &folder) const;
    // Gives the preset in `path` the name `name`; the file keeps its name and
    // its old content survives a failed write.
    static bool renameFile(const QString &path, const QString &name);

    // The six-byte date-time of the record (year − 2000 first) and back.
    static QDateTime fromDateBytes(const uint8_t bytes[6]);
    static void toDateBytes(const QDateTime &dateTime, uint8_t bytes[6]);
};
