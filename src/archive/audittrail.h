// SPDX-License-Identifier: GPL-3.0-or-later
// What the archive's audit trail is asked for: a filter of entries.
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

