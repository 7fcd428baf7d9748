// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion of a local date-time to and from the date-time object of a recording file.
#include "recording/qdatetimeposfjson.h"

namespace
{

int numberOr(const QJsonObject &object, const QString &key, int fallback)
{
    const QJsonValue value = object.value(key);
    return value.isDouble() ? value.toInt() : fallback;
}

} // namespace

QJsonObject QDateTimePosFJson::toJson(const QDateTime &dateTime)
{
    // A local time inside a daylight-saving gap makes QDateTime invalid, yet a
    // logger without daylight saving records such times; its parts are kept.
    QJsonObject object;
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    if (!date.isValid() || !time.isValid())
        return object;
    object.insert(QStringLiteral("year"), date.year());
    object.insert(QStringLiteral("month"), date.month());
    object.insert(QStringLiteral("day"), date.day());
    object.insert(QStringLiteral("hour"), time.hour());
    object.insert(QStringLiteral("minute"), time.minute());
    object.insert(QStringLiteral("second"), time.second());
    return object;
}

QDateTime QDateTimePosFJson::fromJson(const QJsonObject &object)
{
    const QDate date(numberOr(object, QStringLiteral("year"), 2000),
                     numberOr(object, QStringLiteral("month"), 1),
                     numberOr(object, QStringLiteral("day"), 1));
    const QTime time(numberOr(object, QStringLiteral("hour"), 0),
                     numberOr(object, QStringLiteral("minute"), 0),
                     numberOr(object, QStringLiteral("second"), 0));
    // QDateTime would quietly turn an invalid time into midnight.
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::LocalTime);
}
