// SPDX-License-Identifier: GPL-3.0-or-later
// Fast date and time texts of wall-clock sample times for the export writers.
#pragma once

#include <QString>

// Sample times are wall-clock seconds (the logger's local time read as UTC).
// These produce the same texts as QDateTime::fromSecsSinceEpoch(secs, Qt::UTC)
// formatted with the named pattern, without a QDateTime per sample: exports
// format tens of thousands of them.
namespace wallclocktext
{

// "yyyy/MM/dd"
QString date(qint64 secs);
// "yy/MM/dd"
QString shortDate(qint64 secs);
// "hh:mm:ss"
QString time(qint64 secs);

} // namespace wallclocktext
