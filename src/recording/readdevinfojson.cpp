// SPDX-License-Identifier: GPL-3.0-or-later
// The header record of a recording file: device, configuration snapshot, statistics and alarms.
#include "recording/readdevinfojson.h"

#include "recording/jsonfield.h"
#include "recording/qdatetimeposfjson.h"

namespace
{

QJsonObject alertObject(const AlertDataJson &alert)
{
    QJsonObject object;
    alert.toJson(object);
    return object;
}

void readDateTime(const QJsonObject &object, const QString &key, QDateTime &member)
{
    const auto it = object.constFind(key);
    if (it != object.constEnd())
        member = QDateTimePosFJson::fromJson(it.value().toObject());
}

void readAlert(const QJsonObject &object, const QString &key, AlertDataJson &member)
{
    const auto it = object.constFind(key);
    if (it != object.constEnd())
        member.fromJson(it.value().toObject());
}

} // namespace

void ReadDevInfoJson::toJson(QJsonObject &object) const
{
    object.insert(QStringLiteral("recordNum"), recordNum);
    object.insert(QStringLiteral("numofReport"), numofReport);
    object.insert(QStringLiteral("startRecordTime"), QDateTimePosFJson::toJson(startRecordTime));
    object.insert(QStringLiteral("stopRecordTime"), QDateTimePosFJson::toJson(stopRecordTime));
    object.insert(QStringLiteral("configTime"), QDateTimePosFJson::toJson(configTime));
    object.insert(QStringLiteral("maxTemp"), maxTemp);
    object.insert(QStringLiteral("minTemp"), minTemp);
    object.insert(QStringLiteral("avgTemp"), avgTemp);
    object.insert(QStringLiteral("maxHumidity"), maxHumidity);
    object.insert(QStringLiteral("minHumidity"), minHumidity);
    object.insert(QStringLiteral("avgHumidity"), avgHumidity);
    object.insert(QStringLiteral("startOperation"), startOperation);
    object.insert(QStringLiteral("stopOperation"), stopOperation);
    object.insert(QStringLiteral("th3"), alertObject(th3));
    object.insert(QStringLiteral("th2"), alertObject(th2));
    object.insert(QStringLiteral("th1"), alertObject(th1));
    object.insert(QStringLiteral("tl3"), alertObject(tl3));
    object.insert(QStringLiteral("tl2"), alertObject(tl2));
    object.insert(QStringLiteral("tl1"), alertObject(tl1));
    object.insert(QStringLiteral("hh"), alertObject(hh));
    object.insert(QStringLiteral("hl"), alertObject(hl));
    object.insert(QStringLiteral("recordInterval"), recordInterval);
    object.insert(QStringLiteral("overWirteRecordNum"), overWirteRecordNum);
    object.insert(QStringLiteral("devName"), devName);
    object.insert(QStringLiteral("sn"), sn);
    object.insert(QStringLiteral("id"), id);
    object.insert(QStringLiteral("note"), note);
    object.insert(QStringLiteral("isOpenBacklight"), isOpenBacklight);
    object.insert(QStringLiteral("isOpenBuzzer"), isOpenBuzzer);
    object.insert(QStringLiteral("isOpenLed"), isOpenLed);
    object.insert(QStringLiteral("isOpenPdf"), isOpenPdf);
    object.insert(QStringLiteral("recordMode"), recordMode);
    object.insert(QStringLiteral("startDelay"), startDelay);
    object.insert(QStringLiteral("tempUnit"), tempUnit);
    object.insert(QStringLiteral("devType"), devType);
    object.insert(QStringLiteral("startTemp"), startTemp);
    object.insert(QStringLiteral("stopTemp"), stopTemp);
    object.insert(QStringLiteral("sensorType"), sensorType);
    object.insert(QStringLiteral("isContainHum"), isContainHum);
}

void ReadDevInfoJson::fromJson(const QJsonObject &object)
{
    readJsonField(object, QStringLiteral("recordNum"), recordNum);
    readJsonField(object, QStringLiteral("numofReport"), numofReport);
    readDateTime(object, QStringLiteral("startRecordTime"), startRecordTime);
    readDateTime(object, QStringLiteral("stopRecordTime"), stopRecordTime);
    readDateTime(object, QStringLiteral("configTime"), configTime);
    readJsonField(object, QStringLiteral("maxTemp"), maxTemp);
    readJsonField(object, QStringLiteral("minTemp"), minTemp);
    readJsonField(object, QStringLiteral("avgTemp"), avgTemp);
    readJsonField(object, QStringLiteral("maxHumidity"), maxHumidity);
    readJsonField(object, QStringLiteral("minHumidity"), minHumidity);
    readJsonField(object, QStringLiteral("avgHumidity"), avgHumidity);
    readJsonField(object, QStringLiteral("startOperation"), startOperation);
    readJsonField(object, QStringLiteral("stopOperation"), stopOperation);
    readAlert(object, QStringLiteral("th3"), th3);
    readAlert(object, QStringLiteral("th2"), th2);
    readAlert(object, QStringLiteral("th1"), th1);
    readAlert(object, QStringLiteral("tl3"), tl3);
    readAlert(object, QStringLiteral("tl2"), tl2);
    readAlert(object, QStringLiteral("tl1"), tl1);
    readAlert(object, QStringLiteral("hh"), hh);
    readAlert(object, QStringLiteral("hl"), hl);
    readJsonField(object, QStringLiteral("recordInterval"), recordInterval);
    readJsonField(object, QStringLiteral("overWirteRecordNum"), overWirteRecordNum);
    readJsonField(object, QStringLiteral("devName"), devName);
    readJsonField(object, QStringLiteral("sn"), sn);
    readJsonField(object, QStringLiteral("id"), id);
    readJsonField(object, QStringLiteral("note"), note);
    readJsonField(object, QStringLiteral("isOpenBacklight"), isOpenBacklight);
    readJsonField(object, QStringLiteral("isOpenBuzzer"), isOpenBuzzer);
    readJsonField(object, QStringLiteral("isOpenLed"), isOpenLed);
    readJsonField(object, QStringLiteral("isOpenPdf"), isOpenPdf);
    readJsonField(object, QStringLiteral("recordMode"), recordMode);
    readJsonField(object, QStringLiteral("startDelay"), startDelay);
    readJsonField(object, QStringLiteral("tempUnit"), tempUnit);
    readJsonField(object, QStringLiteral("devType"), devType);
    readJsonField(object, QStringLiteral("startTemp"), startTemp);
    readJsonField(object, QStringLiteral("stopTemp"), stopTemp);
    readJsonField(object, QStringLiteral("sensorType"), sensorType);
    readJsonField(object, QStringLiteral("isContainHum"), isContainHum);
}
