// SPDX-License-Identifier: GPL-3.0-or-later
// Reading single members of a JSON object into record fields, present keys only.
#include "recording/jsonfield.h"

#include <cmath>
#include <limits>

void readJsonField(const QJsonObject &object, const QString &key, int &member)
{
    const auto it = object.constFind(key);
    if (it != object.constEnd())
        member = it.value().toInt();
}

void readJsonField(const QJsonObject &object, const QString &key, qint64 &member)
{
    const auto it = object.constFind(key);
    if (it != object.constEnd())
        member = jsonToInt64(it.value());
}

void readJsonField(const QJsonObject &object, const QString &key, bool &member)
{
    const auto it = object.constFind(key);
    if (it != object.constEnd())
        member = it.value().toBool();
}

void readJsonField(const QJsonObject &object, const QString &key, QString &member)
{
    const auto it = object.constFind(key);
    if (it != object.constEnd())
        member = it.value().toString();
}

qint64 jsonToInt64(const QJsonValue &value)
{
    const double d = value.toDouble();
    if (std::isnan(d))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double limit = 9223372036854775808.0;
    if (d >= limit)
        return std::numeric_limits<qint64>::max();
    if (d <= -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(d);
}
