// SPDX-License-Identifier: GPL-3.0-or-later
// AuditEntry: one entry of the audit trail, its canonical JSON and its hash.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Who did what and when, chained to the entry before it by `prev`. A null
// QString in `sha256`, `serial` or `reason` is JSON null; an empty one is "".
// An action reports an entry with only `time`, `kind`, `sha256`, `serial`,
// `details` and `reason` set; the trail fills in the rest when it appends it.
struct AuditEntry {
    qint64 seq = 0;
    // UTC, "yyyy-MM-ddTHH:mm:ss.zzzZ".
    QString time;
    QString user;
    QString computer;
    QString kind;
    QString sha256;
    QString serial;
    // Strings, integers, booleans, null, and arrays or objects of those.
    QJsonObject details;
    QString reason;
    QString prev;
    // The lower-case hex SHA-256 of canonicalJson(); not part of it.
    QString hash;
};

// An entry's hashed fields as UTF-8 bytes, as the trail stores them: a null
// QByteArray is JSON null, `details` is already canonical JSON.
struct AuditEntryText {
    qint64 seq = 0;
    QByteArray time;
    QByteArray user;
    QByteArray computer;
    QByteArray kind;
    QByteArray sha256;
    QByteArray serial;
    QByteArray details;
    QByteArray reason;
    QByteArray prev;
};

// Where a trail stands: its newest entry (seq 0 when it is empty). A report
// prints it, pinning the trail as it was at that moment.
struct AuditHead {
    qint64 seq = 0;
    QString hash;
};

// The outcome of recomputing every hash and link of the trail.
struct AuditVerdict {
    // The check could run; false with `problem` when the trail could not be read.
    bool readable = true;
    bool whole = true;
    qint64 entries = 0;
    // The first entry that breaks the chain, or the first seq that is missing.
    qint64 badSeq = 0;
    // What is wrong, in words.
    QString problem;
    // The newest entry read.
    qint64 lastSeq = 0;
    QString lastHash;
};

namespace audit
{
// The `prev` of the first entry: 64 zeros.
QString firstPrev();
// `utc` as an entry's time.
QString timeText(const QDateTime &utc);
// The time of an action happening now.
QString now();

// An entry of `kind` happening now.
AuditEntry event(const QString &kind, const QJsonObject &details = {});
// `kind` + "-failed", with the failure's reason in details["error"].
AuditEntry failed(const QString &kind, const QString &error, const QJsonObject &details = {});

// The JSON text of `value` with sorted keys, no white space, non-ASCII
// characters as themselves and the shortest escapes, as Python's
// json.dumps(value, sort_keys=True, separators=(",", ":"), ensure_ascii=False)
// writes it. Numbers are written as integers.
QByteArray canonicalJson(const QJsonValue &value);
// The entry's keys without `hash`, in canonical form, from `details` already
// in canonical form: the bytes that are hashed.
QByteArray canonicalEntry(const AuditEntry &entry, const QByteArray &detailsJson);
QByteArray canonicalEntry(const AuditEntry &entry);
QByteArray canonicalEntry(const AuditEntryText &entry);
// canonicalEntry() appended to `out`, for a caller that reuses one buffer.
void appendCanonicalEntry(QByteArray &out, const AuditEntryText &entry);
QString hashOf(const QByteArray &canonical);
QByteArray hexHashOf(const QByteArray &canonical);
// The entry as the JSON object that `audit list` prints, with its hash.
QJsonObject toJson(const AuditEntry &entry);

// Why `details` cannot be part of an entry (a floating-point number in it),
// or an empty text.
QString detailsProblem(const QJsonObject &details);
} // namespace audit
