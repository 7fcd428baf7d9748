// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigJson: the logger's configuration record and note as a JSON object, and back.
#include "config/configjson.h"

#include "config/alertsettingjson.h"
#include "config/configfieldranges.h"
#include "config/deviceidentityrules.h"
#include "config/persettingjson.h"
#include "device/devicetext.h"
#include "device/protocol.h"
#include "device/simplesendcmdunion.h"

#include <QDateTime>
#include <QJsonValue>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace
{

// A whole number within [low, high], or nothing.
bool integerIn(const QJsonValue &value, double low, double high, long long *result)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (std::floor(number) != number || number < low || number > high)
        return false;
    *result = static_cast<long long>(number);
    return true;
}

// Empty for bytes that form no date-time, such as the zeros of an unset start time.
QString dateText(const uint8_t bytes[6])
{
    return PersettingJson::fromDateBytes(bytes).toString(Qt::ISODate);
}

struct AlarmField {
    const char *key;
    AlertSetting OneConfigCmdStruct::*member;
};

const AlarmField alarmFields[] = {
    {"th1", &OneConfigCmdStruct::th1}, {"th2", &OneConfigCmdStruct::th2},
    {"th3", &OneConfigCmdStruct::th3}, {"tl1", &OneConfigCmdStruct::tl1},
    {"tl2", &OneConfigCmdStruct::tl2}, {"tl3", &OneConfigCmdStruct::tl3},
    {"hh", &OneConfigCmdStruct::hh},   {"hl", &OneConfigCmdStruct::hl},
};

using Range = ConfigFieldRanges::Range;

// A whole number within `range` (or 0 when `zeroToo`), or nothing.
bool integerIn(const QJsonValue &value, Range range, long long *result, bool zeroToo = false)
{
    long long number = 0;
    if (!integerIn(value, double(std::numeric_limits<long long>::min()),
                   double(std::numeric_limits<long long>::max()), &number) ||
        !(range.contains(number) || (zeroToo && number == 0)))
        return false;
    *result = number;
    return true;
}

// "KEY: expected a whole number from LOW to HIGH".
QString rangeError(const QString &key, Range range, bool zeroToo = false)
{
    return QStringLiteral("%1: expected %2a whole number from %3 to %4")
        .arg(key, zeroToo ? QStringLiteral("0 or ") : QString())
        .arg(range.low)
        .arg(range.high);
}

// One whole-number member: its key, the values the form writes and how it is stored.
struct NumberField {
    const char *key;
    Range range;
    // 0 is allowed besides the range.
    bool zeroToo;
    std::function<long long(const OneConfigCmdStruct &)> get;
    std::function<void(OneConfigCmdStruct &, long long)> set;
};

template <typename T>
NumberField numberField(const char *key, Range range, T OneConfigCmdStruct::*member,
                        bool zeroToo = false)
{
    return {key, range, zeroToo,
            [member](const OneConfigCmdStruct &c) { return (long long)(c.*member); },
            [member](OneConfigCmdStruct &c, long long v) { c.*member = T(v); }};
}

const QList<NumberField> &numberFields()
{
    using R = ConfigFieldRanges;
    static const QList<NumberField> fields = {
        // The settings form offers identifiers 0 to 100.
        numberField("devId", {DeviceIdentityRules::minId, DeviceIdentityRules::maxId},
                    &OneConfigCmdStruct::devId),
        numberField("tempUnit", {0, 1}, &OneConfigCmdStruct::tempUnit),
        numberField("recordMode", {0, 1}, &OneConfigCmdStruct::recordMode),
        numberField("startMode", R::startMode, &OneConfigCmdStruct::startMode),
        numberField("startDelayTime", R::startDelay, &OneConfigCmdStruct::startDelayTime),
        numberField("screenDisplayTime", R::screenOff, &OneConfigCmdStruct::screenDisplayTime,
                    true),
        numberField("recordInterval", R::recordInterval, &OneConfigCmdStruct::recordInterval),
        numberField("sensorType", R::sensorType, &OneConfigCmdStruct::sensorType),
    };
    return fields;
}

struct FlagField {
    const char *key;
    bool OneConfigCmdStruct::*member;
};

const FlagField flagFields[] = {
    {"isOpenBacklight", &OneConfigCmdStruct::isOpenBacklight},
    {"isOpenBuzzer", &OneConfigCmdStruct::isOpenBuzzer},
    {"isOpenLed", &OneConfigCmdStruct::isOpenLed},
    {"isOpenPdf", &OneConfigCmdStruct::isOpenPdf},
    {"isKeyRetart", &OneConfigCmdStruct::isKeyRetart},
    {"isKeyStopRecord", &OneConfigCmdStruct::isKeyStopRecord},
    {"isDateTimeFlowSys", &OneConfigCmdStruct::isDateTimeFlowSys},
};

bool takeDate(const QJsonObject &object, const char *key, uint8_t bytes[6], QString *error)
{
    const QString name = QLatin1String(key);
    if (!object.contains(name))
        return true;
    const QJsonValue value = object.value(name);
    if (value.isNull() || (value.isString() && value.toString().isEmpty())) {
        std::memset(bytes, 0, 6);
        return true;
    }
    const QDateTime dateTime = QDateTime::fromString(value.toString(), Qt::ISODate);
    if (!dateTime.isValid() || dateTime.date().year() < 2000 || dateTime.date().year() > 2255) {
        *error = QStringLiteral("%1: expected a date-time like 2026-12-09T08:00:00").arg(name);
        return false;
    }
    PersettingJson::toDateBytes(dateTime, bytes);
    return true;
}

// An alarm member given in `object` under `name`: a value the logger holds
// already is taken as it is, as the form writes back what it loaded.
bool alarmNumberIn(const QJsonObject &object, const char *name, long long held, Range range,
                   const QString &key, QString *error)
{
    const QString member = QLatin1String(name);
    long long number = 0;
    if (!object.contains(member) || object.value(member) == QJsonValue(double(held)) ||
        integerIn(object.value(member), range, &number))
        return true;
    *error = rangeError(key + QLatin1Char('.') + member, range);
    return false;
}

bool takeAlarm(const QJsonValue &value, AlertSetting *alarm, const char *name, QString *error)
{
    const QString key = QLatin1String(name);
    const QJsonObject object = value.toObject();
    if (!value.isObject()) {
        *error = QStringLiteral("%1: expected an object").arg(key);
        return false;
    }
    if (object.contains(QLatin1String("isOpen")) &&
        !object.value(QLatin1String("isOpen")).isBool()) {
        *error = QStringLiteral("%1.isOpen: expected true or false").arg(key);
        return false;
    }
    if (object.contains(QLatin1String("isAccumulate")) &&
        !object.value(QLatin1String("isAccumulate")).isBool()) {
        *error = QStringLiteral("%1.isAccumulate: expected true or false").arg(key);
        return false;
    }
    if (!alarmNumberIn(object, "alertValue", alarm->alertValue, ConfigFieldRanges::threshold(name),
                       key, error) ||
        !alarmNumberIn(object, "delayTime", alarm->delayTime, ConfigFieldRanges::alarmDelay, key,
                       error))
        return false;
    AlertSettingJson setting = AlertSettingJson::fromSetting(*alarm);
    setting.readJson(object);
    *alarm = setting.toSetting();
    return true;
}

} // namespace

QJsonObject ConfigJson::toJson(const OneConfigCmdStruct &config, const QString &note)
{
    QJsonObject o;
    o.insert(QStringLiteral("devName"), deviceName(config));
    for (const NumberField &field : numberFields())
        o.insert(QLatin1String(field.key), double(field.get(config)));
    for (const FlagField &field : flagFields)
        o.insert(QLatin1String(field.key), config.*field.member);
    o.insert(QStringLiteral("perSetStartTime"), dateText(config.perSetStartTime));
    o.insert(QStringLiteral("devDateTime"), dateText(config.devDateTime));
    o.insert(QStringLiteral("firmwareVersion"), QStringLiteral("%1.%2.%3")
                                                    .arg(config.firmwareVersion[0])
                                                    .arg(config.firmwareVersion[1])
                                                    .arg(config.firmwareVersion[2]));
    for (const AlarmField &field : alarmFields)
        o.insert(QLatin1String(field.key),
                 AlertSettingJson::fromSetting(config.*field.member).toJson());
    o.insert(QStringLiteral("note"), note);
    return o;
}

bool ConfigJson::apply(const QJsonObject &object, OneConfigCmdStruct *config, QString *note,
                       QString *error)
{
    OneConfigCmdStruct c = *config;
    QString newNote = *note;
    if (object.contains(QLatin1String("devName"))) {
        const QJsonValue value = object.value(QLatin1String("devName"));
        // Like the form, which shows the logger's own name as it is: only a new name
        // must follow the rule.
        if (!value.isString() || (value.toString() != deviceName(c) &&
                                  !DeviceIdentityRules::isValidName(value.toString()))) {
            *error =
                QStringLiteral("devName: expected %1").arg(DeviceIdentityRules::nameRuleText());
            return false;
        }
        setDeviceName(c, value.toString());
    }
    for (const NumberField &field : numberFields()) {
        const QString key = QLatin1String(field.key);
        if (!object.contains(key))
            continue;
        // A value the logger already holds is written back as it is, as the form does.
        if (object.value(key) == QJsonValue(double(field.get(c))))
            continue;
        long long number = 0;
        if (!integerIn(object.value(key), field.range, &number, field.zeroToo)) {
            *error = rangeError(key, field.range, field.zeroToo);
            return false;
        }
        field.set(c, number);
    }
    for (const FlagField &field : flagFields) {
        const QString key = QLatin1String(field.key);
        if (!object.contains(key))
            continue;
        if (!object.value(key).isBool()) {
            *error = QStringLiteral("%1: expected true or false").arg(key);
            return false;
        }
        c.*field.member = object.value(key).toBool();
    }
    if (!takeDate(object, "perSetStartTime", c.perSetStartTime, error) ||
        !takeDate(object, "devDateTime", c.devDateTime, error))
        return false;
    for (const AlarmField &field : alarmFields) {
        const QString key = QLatin1String(field.key);
        if (object.contains(key) &&
            !takeAlarm(object.value(key), &(c.*field.member), field.key, error))
            return false;
    }
    if (object.contains(QLatin1String("note"))) {
        const QJsonValue value = object.value(QLatin1String("note"));
        const QString text = value.toString();
        const bool encodable = value.isString() && decodeNote(encodeNote(text)) == text;
        if (!encodable || encodeNote(text).size() > noteFieldBytes) {
            *error = QStringLiteral("note: expected a text of at most 104 GBK bytes");
            return false;
        }
        newNote = value.toString();
    }
    *config = c;
    *note = newNote;
    return true;
}
