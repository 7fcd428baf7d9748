// SPDX-License-Identifier: GPL-3.0-or-later
// AlertSettingJson: one alarm threshold of a preset and its JSON object.
#include "config/alertsettingjson.h"

namespace
{
const QString isOpenKey = QStringLiteral("isOpen");
const QString alertValueKey = QStringLiteral("alertValue");
const QString isAccumulateKey = QStringLiteral("isAccumulate");
const QString delayTimeKey = QStringLiteral("delayTime");
} // namespace

QJsonObject AlertSettingJson::toJson() const
{
    QJsonObject object;
    object.insert(isOpenKey, isOpen);
    object.insert(alertValueKey, alertValue);
    object.insert(isAccumulateKey, isAccumulate);
    object.insert(delayTimeKey, delayTime);
    return object;
}

void AlertSettingJson::readJson(const QJsonObject &object)
{
    if (object.contains(isOpenKey))
        isOpen = object.value(isOpenKey).toBool(false);
    if (object.contains(alertValueKey))
        alertValue = object.value(alertValueKey).toInt(0);
    if (object.contains(isAccumulateKey))
        isAccumulate = object.value(isAccumulateKey).toBool(false);
    if (object.contains(delayTimeKey))
        delayTime = object.value(delayTimeKey).toInt(0);
}

AlertSettingJson AlertSettingJson::fromSetting(const AlertSetting &setting)
{
    AlertSettingJson json;
    json.isOpen = setting.isOpen;
    json.alertValue = setting.alertValue;
    json.isAccumulate = setting.isAccumulate;
    json.delayTime = setting.delayTime;
    return json;
}

AlertSetting AlertSettingJson::toSetting() const
{
    AlertSetting setting{};
    setting.isOpen = isOpen;
    setting.alertValue = alertValue;
    setting.isAccumulate = isAccumulate;
    setting.delayTime = static_cast<uint16_t>(delayTime);
    return setting;
}
