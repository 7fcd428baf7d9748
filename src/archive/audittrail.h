// SPDX-License-Identifier: GPL-3.0-or-later
// What the archive's audit trail is asked for: a filter of entries and the verdict of a check.
#pragma once

#include "core/auditentry.h"

#include <QDateTime>
#include <QString>

// Entries that match every condition set; in the order of the trail.
struct AuditFilter {
    QString sha256;
    QString serial;
    // The login name, or the whole recorded user text.
    QString user;
    QString kind;
    // Entries at or after `from` and before `to` (UTC), when valid.
    QDateTime from;
    QDateTime to;
    // At most this many of the newest matching entries; 0 for all.
    int limit = 0;
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
