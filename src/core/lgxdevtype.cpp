// SPDX-License-Identifier: GPL-3.0-or-later
// Model names and USB product ids.
#include "core/lgxdevtype.h"

uint16_t productIdOf(int model)
{
    switch (model) {
    case HX10D:
        return hx10dProductId;
    case HX20D:
        return hx20dProductId;
    default:
        return 0;
    }
}

QString modelName(int model)
{
    switch (model) {
    case HX10D:
        return QStringLiteral("HX10D");
    case HX20D:
        return QStringLiteral("HX20D");
    default:
        return QString();
    }
}

int modelFromName(const QString &name)
{
    if (name == QLatin1String("HX10D"))
        return HX10D;
    if (name == QLatin1String("HX20D"))
        return HX20D;
    return NoDevType;
}
