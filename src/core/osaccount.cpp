// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/osaccount.h"

#include <pwd.h>
#include <unistd.h>

namespace
{
struct Account {
    QString login;
    QString fullName;
};

Account currentAccount()
{
    Account account;
    // The reentrant form: the archive keeper asks from a thread of its own.
    passwd record{};
    passwd *entry = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &record, buffer, sizeof buffer, &entry) != 0 || !entry)
        return account;
    account.login = QString::fromLocal8Bit(entry->pw_name);
    // The GECOS field's first comma-separated part is the full name.
    if (entry->pw_gecos)
        account.fullName =
            QString::fromLocal8Bit(entry->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
    return account;
}
} // namespace

QString osLoginName()
{
    const Account account = currentAccount();
    return account.login.isEmpty() ? QString::number(geteuid()) : account.login;
}

QString osAccountName()
{
    const Account account = currentAccount();
    if (account.fullName.isEmpty() || account.fullName == account.login)
        return osLoginName();
    return QStringLiteral("%1 (%2)").arg(account.login, account.fullName);
}
