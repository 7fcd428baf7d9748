// SPDX-License-Identifier: GPL-3.0-or-later
// WatchOutcome: what `hygra-cli watch` did with one logger, and its line of JSON.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Empty texts, a negative sample count and an unset alarm are printed as null:
// not known, or not asked for.
struct WatchOutcome {
    QString serial;
    int model = -1;
    // The recording file, the PDF report, the spreadsheet and the workbook beside it.
    QString file;
    QString pdf;
    QString csv;
    QString xlsx;
    // The samples in the file.
    int samples = -1;
    // Whether an alarm that was switched on was raised, as the report's badge tells.
    std::optional<bool> alarm;
    // Why the logger was left as it is: "no records" or "recording".
    QString skipped;
    // Why serving the logger failed.
    QString error;

    // One line of compact JSON with the keys serial, model, file, pdf, csv, xlsx,
    // samples and alarm in this order, then "skipped" or "error" when set;
    // ends in a line feed.
    QByteArray jsonLine() const;
};
