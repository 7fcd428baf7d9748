// SPDX-License-Identifier: GPL-3.0-or-later
// The header record of a recording file: device, configuration snapshot, statistics and alarms.
#pragma once

#include "core/units.h"
#include "recording/alertdatajson.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMetaType>
#include <QString>

// A plain value type. Temperatures are hundredths of °C, humidity tenths of %RH;
// -7968 (the bytes E0 E0 read as signed) marks a temperature the logger did not
// have, 57568 a missing humidity. Every stored member is written under a JSON
// key equal to its name.
class ReadDevInfoJson
{
public:
    // Samples recorded since the start, overwritten ones included.
    qint64 recordNum = 0;
    // Samples held by the logger at download time.
    int numofReport = 0;
    QDateTime startRecordTime;
    QDateTime stopRecordTime;
    QDateTime configTime;
    int maxTemp = 0;
    int minTemp = 0;
    int avgTemp = 0;
    int maxHumidity = 0;
    int minHumidity = 0;
    int avgHumidity = 0;
    int startOperation = 0;
    int stopOperation = 0;
    // In a recording the temperature levels run opposite to the configuration's.
    AlertDataJson th3;
    AlertDataJson th2;
    AlertDataJson th1;
    AlertDataJson tl3;
    AlertDataJson tl2;
    AlertDataJson tl1;
    AlertDataJson hh;
    AlertDataJson hl;
    // Sample interval in units of 5 seconds.
    int recordInterval = 0;
    // Samples lost to loop recording: recordNum - numofReport when positive.
    qint64 overWirteRecordNum = 0;
    QString devName;
    QString sn;
    QString id;
    QString note;
    bool isOpenBacklight = false;
    bool isOpenBuzzer = false;
    bool isOpenLed = false;
    bool isOpenPdf = false;
    // 1 loop recording, 0 stop when full.
    int recordMode = 0;
    // Minutes.
    int startDelay = 0;
    // 0 °C, 1 °F.
    int tempUnit = 0;
    // LgxDevType of the logger.
    int devType = 0;
    int startTemp = noValueMarker;
    int stopTemp = noValueMarker;
    int sensorType = 0;
    bool isContainHum = true;

    // Not stored in the file.
    int blockCount = 0;
    qint64 shownDuration = 0;
    qint64 totalDuration = 0;

    void toJson(QJsonObject &object) const;
    // Sets the members whose keys are present; the others keep their values and
    // nothing is derived afterwards.
    void fromJson(const QJsonObject &object);
};

Q_DECLARE_METATYPE(ReadDevInfoJson)
