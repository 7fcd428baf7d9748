// SPDX-License-Identifier: GPL-3.0-or-later
// KnownLoggers: which logger this computer last met at each port, and which one it used last.
#pragma once

#include "core/attachedlogger.h"

#include <QString>

// Kept in group "loggers" of the settings file, so that the connect dialog can
// name a logger by its serial number and name before it is opened (a logger
// stays in its socket) and choose the one used last.
namespace KnownLoggers {
struct Known {
    QString sn;
    QString name;
};

// What was met at the logger's port; empty when nothing was.
Known at(const AttachedLogger &logger);
// The logger opened at this port reported this serial number and name.
void remember(const AttachedLogger &logger, const QString &sn, const QString &name);
// Whether `logger` sits where the logger opened last did.
bool isLast(const AttachedLogger &logger);
} // namespace KnownLoggers
