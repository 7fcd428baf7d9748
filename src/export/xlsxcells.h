// SPDX-License-Identifier: GPL-3.0-or-later
// Cell helpers shared by the workbook's sheets: texts from QString, wall-clock date-times.
#pragma once

#include <QByteArray>
#include <QString>
#include <xlsxwriter.h>

namespace xlsxcells
{

// 1970-01-01 as an Excel serial day (days since 1899-12-30).
constexpr double unixEpochDay = 25569;

// The serial date-time that shows wall-clock seconds as they read: sample
// times are the logger's local time read as UTC, free of daylight saving, so
// no zone enters here.
constexpr double dateTime(qint64 wallClockSecs)
{
    return unixEpochDay + double(wallClockSecs) / 86400;
}

inline void text(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, const QString &value,
                 lxw_format *format = nullptr)
{
    // An empty text would still make a cell; leave it blank instead.
    if (!value.isEmpty())
        worksheet_write_string(sheet, row, col, value.toUtf8().constData(), format);
}

} // namespace xlsxcells
