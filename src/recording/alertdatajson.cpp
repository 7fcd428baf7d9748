// SPDX-License-Identifier: GPL-3.0-or-later
// One alarm of a recording: its threshold setting and the logger's result.
#include "recording/alertdatajson.h"

#include "recording/jsonfield.h"

void AlertDataJson::toJson(QJsonObject &object) const
{
    object.insert(QStringLiteral("isOpen"), isOpen);
    object.insert(QStringLiteral("alertValue"), alertValue);
    object.insert(QStringLiteral("isAccumulate"), isAccumulate);
    object.insert(QStringLiteral("delayTime"), delayTime);
    object.insert(QStringLiteral("alertDuration"), alertDuration);
    object.insert(QStringLiteral("alertNum"), alertNum);
    object.insert(QStringLiteral("isAlertFlag"), isAlertFlag);
}

void AlertDataJson::fromJson(const QJsonObject &object)
{
    readJsonField(object, QStringLiteral("isOpen"), isOpen);
    readJsonField(object, QStringLiteral("alertValue"), alertValue);
    readJsonField(object, QStringLiteral("isAccumulate"), isAccumulate);
    readJsonField(object, QStringLiteral("delayTime"), delayTime);
    readJsonField(object, QStringLiteral("alertDuration"), alertDuration);
    readJsonField(object, QStringLiteral("alertNum"), alertNum);
    readJsonField(object, QStringLiteral("isAlertFlag"), isAlertFlag);
}
