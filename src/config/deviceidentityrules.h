// SPDX-License-Identifier: GPL-3.0-or-later
// DeviceIdentityRules: the logger names and identifiers the form and the command line accept.
#pragma once

#include <QString>

class DeviceIdentityRules
{
public:
    static constexpr int maxNameLength = 20;
    static constexpr int minId = 0;
    static constexpr int maxId = 100;

    // One to 20 ASCII letters, digits and underscores, unanchored as a validator takes it.
    static QString namePattern();
    // The identifiers minId to maxId in decimal without leading zeros.
    static QString idPattern();

    static bool isValidName(const QString &name);
    // What a name may hold, for a message that refuses one.
    static QString nameRuleText();
};
