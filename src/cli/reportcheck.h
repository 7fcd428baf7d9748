// SPDX-License-Identifier: GPL-3.0-or-later
// ReportCheck: whether a PDF report was made from a recording file, for `hygra-cli verify`.
#pragma once

#include "recording/loadedrecording.h"

#include <QString>

// A report names the SHA-256 of the recording file it was made from in its
// XMP metadata and at the foot of its pages. The check accepts a report only
// when it is a complete PDF with exactly one metadata packet, the document's
// own, whose fingerprint equals the file's, and when its first page shows that
// fingerprint and what the file says: the logger's serial number, the start
// and stop time and the sample count. A report signed digitally is accepted
// only when its signature is intact and covers the whole file; the verdict
// then names the signer and the signing time, and with a CA file whether the
// signer's certificate chains to it (a report that does not, or carries no
// signature, is refused then).
struct ReportCheck {
    // A report of a logger's whole memory is about a megabyte, so a larger
    // file than this is no report. Reports are mapped, never read into memory.
    static constexpr qint64 maximumReportSize = 1LL << 30;

    // A CliExit code.
    int exitCode = 0;
    // What to print: the verdict when exitCode is ExitOk, else the error.
    QString text;

    // `recording` is the file at `recordingPath` as read, with its SHA-256.
    static ReportCheck compare(const QString &recordingPath, const LoadedRecording &recording,
                               const QString &reportPath, const QString &caFile = QString());
};
