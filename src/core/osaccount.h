// SPDX-License-Identifier: GPL-3.0-or-later
// The operating-system account this program runs under.
#pragma once

#include <QString>

// The login name, followed by the full name in parentheses when the account's
// GECOS field holds one: "alice (Alice Meier)".
QString osAccountName();
// The login name alone.
QString osLoginName();
