// SPDX-License-Identifier: GPL-3.0-or-later
// DeviceIdentityRules: the logger names and identifiers the form and the command line accept.
#include "config/deviceidentityrules.h"

#include <QRegularExpression>

QString DeviceIdentityRules::namePattern()
{
    return QStringLiteral("[a-zA-Z0-9_]{1,%1}").arg(maxNameLength);
}

QString DeviceIdentityRules::idPattern()
{
    static_assert(minId == 0 && maxId == 100, "the pattern spells out 0 to 100");
    return QStringLiteral("^(100|[1-9]?[0-9])$");
}

bool DeviceIdentityRules::isValidName(const QString &name)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(namePattern()));
    return pattern.match(name).hasMatch();
}

QString DeviceIdentityRules::nameRuleText()
{
    return QStringLiteral("1 to %1 letters a-z or A-Z, digits and underscores").arg(maxNameLength);
}
