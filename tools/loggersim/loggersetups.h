// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the LOGGERSIM description of the emulated loggers.
#pragma once

#include "loggersim.h"

#include <QList>
#include <QString>

// The loggers present when LOGGERSIM is not set.
QString defaultLoggerSetupText();
// Parses the compact list or, when `text` names a .json file, the file. Unknown keys
// and unreadable entries are skipped with a warning; "none" gives no logger.
QList<loggersim::LoggerSetup> parseLoggerSetups(const QString &text);
