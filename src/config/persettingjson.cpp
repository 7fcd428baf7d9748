// SPDX-License-Identifier: GPL-3.0-or-later
// PersettingJson: one stored preset, its file and its conversions to and from a configuration.
#include "config/persettingjson.h"

#include "core/newfile.h"
#include "core/utils.h"
#include "device/devicetext.h"
#include "recording/qdatetimeposfjson.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace
{

void readString(const QJsonObject &object, const char *key, QString &member)
{
    const QString name = QLatin1String(key);
    if (object.contains(name))
        member = object.value(name).toString();
}

void readInt(const QJsonObject &object, const char *key, int &member)
{
    const QString name = QLatin1String(key);
    if (object.contains(name))
        member = object.value(name).toInt(0);
}

void readBool(const QJsonObject &object, const char *key, bool &member)
{
    const QString name = QLatin1String(key);
    if (object.contains(name))
        member = object.value(name).toBool(false);
}

void readDateTime(const QJsonObject &object, const char *key, QDateTime &member)
{
    const QString name = QLatin1String(key);
    if (object.contains(name))
        member = QDateTimePosFJson::fromJson(object.value(name).toObject());
}

void readAlert(const QJsonObject &object, const char *key, AlertSettingJson &member)
{
    const QString name = QLatin1String(key);
    if (object.contains(name))
        member.readJson(object.value(name).toObject());
}

// The JSON object of `path`, or an empty object when the file cannot be read
// or holds anything else.
QJsonObject readObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    const QByteArray content = file.readAll();
    file.close();
    return QJsonDocument::fromJson(content).object();
}

} // namespace

QJsonObject PersettingJson::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("configName"), configName);
    o.insert(QStringLiteral("devName"), devName);
    o.insert(QStringLiteral("devId"), devId);
    o.insert(QStringLiteral("devNote"), devNote);
    o.insert(QStringLiteral("tempUnit"), tempUnit);
    o.insert(QStringLiteral("screenCloseMode"), screenCloseMode);
    o.insert(QStringLiteral("screenCloseTime"), screenCloseTime);
    o.insert(QStringLiteral("isOpenBacklight"), isOpenBacklight);
    o.insert(QStringLiteral("isOpenBuzzer"), isOpenBuzzer);
    o.insert(QStringLiteral("isOpenLed"), isOpenLed);
    o.insert(QStringLiteral("isOpenPdf"), isOpenPdf);
    o.insert(QStringLiteral("recordMode"), recordMode);
    o.insert(QStringLiteral("startMode"), startMode);
    o.insert(QStringLiteral("keyStopMode"), keyStopMode);
    o.insert(QStringLiteral("keyRestartMode"), keyRestartMode);
    o.insert(QStringLiteral("devDateTime"), QDateTimePosFJson::toJson(devDateTime));
    o.insert(QStringLiteral("perStartDateTime"), QDateTimePosFJson::toJson(perStartDateTime));
    o.insert(QStringLiteral("th1"), th1.toJson());
    o.insert(QStringLiteral("th2"), th2.toJson());
    o.insert(QStringLiteral("th3"), th3.toJson());
    o.insert(QStringLiteral("tl1"), tl1.toJson());
    o.insert(QStringLiteral("tl2"), tl2.toJson());
    o.insert(QStringLiteral("tl3"), tl3.toJson());
    o.insert(QStringLiteral("hh"), hh.toJson());
    o.insert(QStringLiteral("hl"), hl.toJson());
    o.insert(QStringLiteral("isDateTimeFlowSys"), isDateTimeFlowSys);
    o.insert(QStringLiteral("lgxDevType"), lgxDevType);
    o.insert(QStringLiteral("sensorType"), sensorType);
    return o;
}

void PersettingJson::readJson(const QJsonObject &o)
{
    readString(o, "configName", configName);
    readString(o, "devName", devName);
    readString(o, "devId", devId);
    readString(o, "devNote", devNote);
    readInt(o, "tempUnit", tempUnit);
    readInt(o, "screenCloseMode", screenCloseMode);
    readInt(o, "screenCloseTime", screenCloseTime);
    readBool(o, "isOpenBacklight", isOpenBacklight);
    readBool(o, "isOpenBuzzer", isOpenBuzzer);
    readBool(o, "isOpenLed", isOpenLed);
    readBool(o, "isOpenPdf", isOpenPdf);
    readInt(o, "recordMode", recordMode);
    readInt(o, "startMode", startMode);
    readInt(o, "keyStopMode", keyStopMode);
    readInt(o, "keyRestartMode", keyRestartMode);
    readDateTime(o, "devDateTime", devDateTime);
    readDateTime(o, "perStartDateTime", perStartDateTime);
    readAlert(o, "th1", th1);
    readAlert(o, "th2", th2);
    readAlert(o, "th3", th3);
    readAlert(o, "tl1", tl1);
    readAlert(o, "tl2", tl2);
    readAlert(o, "tl3", tl3);
    readAlert(o, "hh", hh);
    readAlert(o, "hl", hl);
    readBool(o, "isDateTimeFlowSys", isDateTimeFlowSys);
    readInt(o, "lgxDevType", lgxDevType);
    readInt(o, "sensorType", sensorType);
}

PersettingJson PersettingJson::fromConfig(const OneConfigCmdStruct &config, const QString &note,
                                          const QString &name, int model)
{
    PersettingJson p;
    p.configName = name;
    p.devName = deviceName(config);
    p.devId = QString::number(config.devId);
    p.devNote = note;
    p.tempUnit = config.tempUnit;
    const bool autoOff = config.screenDisplayTime >= 10 && config.screenDisplayTime <= 300;
    p.screenCloseMode = autoOff ? 1 : 0;
    p.screenCloseTime = autoOff ? config.screenDisplayTime : 0;
    p.isOpenBacklight = config.isOpenBacklight;
    p.isOpenBuzzer = config.isOpenBuzzer;
    p.isOpenLed = config.isOpenLed;
    p.isOpenPdf = config.isOpenPdf;
    p.recordMode = config.recordMode;
    p.startMode = config.startMode;
    p.keyStopMode = config.isKeyStopRecord ? 1 : 0;
    p.keyRestartMode = config.isKeyRetart ? 1 : 0;
    p.isDateTimeFlowSys = config.isDateTimeFlowSys;
    p.sensorType = config.sensorType;
    p.devDateTime = fromDateBytes(config.devDateTime);
    p.perStartDateTime = fromDateBytes(config.perSetStartTime);
    p.th1 = AlertSettingJson::fromSetting(config.th1);
    p.th2 = AlertSettingJson::fromSetting(config.th2);
    p.th3 = AlertSettingJson::fromSetting(config.th3);
    p.tl1 = AlertSettingJson::fromSetting(config.tl1);
    p.tl2 = AlertSettingJson::fromSetting(config.tl2);
    p.tl3 = AlertSettingJson::fromSetting(config.tl3);
    p.hh = AlertSettingJson::fromSetting(config.hh);
    p.hl = AlertSettingJson::fromSetting(config.hl);
    p.lgxDevType = model;
    return p;
}

OneConfigCmdStruct PersettingJson::toConfig(QString *note) const
{
    OneConfigCmdStruct c{};
    setDeviceName(c, devName);
    // The form offers 0 to 100; anything else in a hand-edited file reads as 0
    // rather than wrapping around in the one-byte field.
    bool isNumber = false;
    const int id = devId.toInt(&isNumber);
    c.devId = isNumber && id >= 0 && id <= 100 ? uint8_t(id) : 0;
    if (note)
        *note = devNote;
    c.tempUnit = tempUnit;
    c.screenDisplayTime = uint16_t(screenCloseMode != 0 ? screenCloseTime : 0);
    c.isOpenBacklight = isOpenBacklight;
    c.isOpenBuzzer = isOpenBuzzer;
    c.isOpenLed = isOpenLed;
    c.isOpenPdf = isOpenPdf;
    c.recordMode = recordMode;
    c.startMode = startMode;
    c.isDateTimeFlowSys = isDateTimeFlowSys;
    c.sensorType = uint8_t(sensorType);
    c.isKeyRetart = keyRestartMode != 0;
    c.isKeyStopRecord = keyStopMode != 0;
    toDateBytes(devDateTime, c.devDateTime);
    toDateBytes(perStartDateTime, c.perSetStartTime);
    c.th1 = th1.toSetting();
    c.th2 = th2.toSetting();
    c.th3 = th3.toSetting();
    c.tl1 = tl1.toSetting();
    c.tl2 = tl2.toSetting();
    c.tl3 = tl3.toSetting();
    c.hh = hh.toSetting();
    c.hl = hl.toSetting();
    return c;
}

bool PersettingJson::readFile(const QString &path, PersettingJson *preset)
{
    const QJsonObject object = readObject(path);
    if (object.isEmpty())
        return false;
    preset->readJson(object);
    return true;
}

QString PersettingJson::writeNewFile(const QString &folder) const
{
    NewFile file(folder, timeStampedName(QStringLiteral(".conf")));
    if (!file.open() || !file.write(QJsonDocument(toJson()).toJson(QJsonDocument::Compact)))
        return QString();
    return QFileInfo(file.commit()).fileName();
}

bool PersettingJson::renameFile(const QString &path, const QString &name)
{
    PersettingJson preset;
    if (!readFile(path, &preset))
        return false;
    preset.configName = name;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(preset.toJson()).toJson(QJsonDocument::Compact));
    return file.commit();
}

QDateTime PersettingJson::fromDateBytes(const uint8_t bytes[6])
{
    return QDateTime(QDate(2000 + bytes[0], bytes[1], bytes[2]),
                     QTime(bytes[3], bytes[4], bytes[5]), Qt::LocalTime);
}

void PersettingJson::toDateBytes(const QDateTime &dateTime, uint8_t bytes[6])
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    const int fields[6] = {date.year() - 2000, date.month(),  date.day(),
                           time.hour(),        time.minute(), time.second()};
    for (int i = 0; i < 6; ++i)
        bytes[i] = uint8_t(qBound(0, fields[i], 255));
}
