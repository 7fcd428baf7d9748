// SPDX-License-Identifier: GPL-3.0-or-later
// Writing entries of the audit trail as a CSV file or a printable PDF, with their fingerprint.
#pragma once

#include "core/auditentry.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// What an export of the trail shows: the entries, in the trail's order, with
// the words of the check that read them and where the trail stood then.
struct AuditTrailExport {
    QVector<AuditEntry> entries;
    // Which entries these are, in words ("all entries", "serial SN1, from …").
    QString filter;
    // The verdict of recomputing the chain, in words.
    QString verification;
    AuditHead head;
};

class AuditTrailTexts
{
    Q_DECLARE_TR_FUNCTIONS(AuditTrail)

public:
    // "Audit trail: entry S, hash H"; empty for an empty trail (seq 0).
    static QString headText(const AuditHead &head);
    // The verdict of a check in words: verified with the count and the newest
    // entry, or where and why the chain breaks, or why it could not be read.
    static QString verdictText(const AuditVerdict &verdict);
    // "Fingerprint of this export (SHA-256): H".
    static QString fingerprintText(const QString &fingerprint);
    // The entry's details as a reader takes them in: "key: value" by sorted
    // key, joined by "; ", an {old, new} pair as "old → new", null as "—".
    static QString detailsText(const QJsonObject &details);
    // The entry's UTC time in the computer's zone, "yyyy-MM-dd HH:mm:ss".
    static QString localTime(const QString &utc);
};

namespace audittrailexport
{
// The SHA-256 (lower-case hex) of the entries' canonical JSON lines, one
// line per entry ending in "\n", as `hygra-cli audit list` prints them.
QString fingerprint(const QVector<AuditEntry> &entries);

// The columns of the CSV file.
QStringList csvColumns();

// UTF-8 with a byte order mark: a header of csvColumns(), one row per entry
// (details as canonical JSON, a null text as an empty cell), then the
// verification and the fingerprint, each a row of its own. The file replaces
// an earlier one only once it is complete; false with the reason in `error`.
bool writeCsv(const QString &path, const AuditTrailExport &trail, QString *error = nullptr);

// A4 pages in the report's fonts: title, filter, one row per entry, page
// numbers, and on the last page the verification and the fingerprint, which
// the PDF's metadata repeats. Reentrant, so it may run on a pool thread.
bool writePdf(const QString &path, const AuditTrailExport &trail, bool english,
              QString *error = nullptr);
} // namespace audittrailexport
