// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion of a local date-time to and from the date-time object of a recording file.
#pragma once

#include <QDateTime>
#include <QJsonObject>

// The object carries "year", "month", "day", "hour", "minute" and "second" as
// JSON numbers; a date-time without a valid date and time of day is written
// as an empty object.
class QDateTimePosFJson
{
public:
    static QJsonObject toJson(const QDateTime &dateTime);
    // Missing or non-numeric members read as 2000-01-01 00:00:00; numbers that
    // form no valid date or time give an invalid date-time.
    static QDateTime fromJson(const QJsonObject &object);
};
