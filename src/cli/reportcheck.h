// SPDX-License-Identifier: GPL-3.0-or-later
// ReportCheck: whether a PDF report was made from a recording file, for `hygra-cli verify`.
#pragma once

#include <QString>

// A report names the SHA-256 of the recording file it was made from in its
// XMP metadata; the check compares that with the file's own.
struct ReportCheck {
    // A report of a logger's whole memory is about a megabyte, so a larger
    // file than this is no report. Reports are mapped, never read into memory.
    static constexpr qint64 maximumReportSize = 1LL << 30;

    // A CliExit code.
    int exitCode = 0;
    // What to print: the verdict when exitCode is ExitOk, else the error.
    QString text;

    // `fingerprint` is the recording file's SHA-256 in hex.
    static ReportCheck compare(const QString &recordingPath, const QString &fingerprint,
                               const QString &reportPath);
};
