// SPDX-License-Identifier: GPL-3.0-or-later
// AuditLog: how the program's actions reach the audit trail of their archive.
#pragma once

#include "archive/archivelocation.h"
#include "archive/audittrail.h"

#include <QString>
#include <QVector>

class Archive;

// Appends an action's entry to the archive's trail. When the archive cannot
// be opened or written, the entry waits in a queue file of this computer's
// (with its original time) and goes in before the next entry that can be
// appended. It also remembers the newest entry this computer appended or
// verified, so that a trail cut and restarted since then does not verify.
//
// The files lie in the user's data folder, one pair per archive; a lock file
// keeps two programs of this computer from appending one waiting entry twice.
class AuditLog
{
public:
    explicit AuditLog(const ArchiveLocation &location);

    // Appends the waiting entries and then `entry` to `archive` (when it is
    // open), or queues `entry`. False with `error` when the entry could not be
    // appended; `queued` says whether it waits instead of being lost.
    bool record(Archive *archive, const AuditEntry &entry, QString *error, bool *queued = nullptr);
    // Appends the waiting entries, oldest first; false with `error` at the
    // first that cannot be, which waits on with those after it.
    bool appendWaiting(Archive &archive, QString *error);
    // How many entries wait.
    int waiting() const;
    // The newest entry this computer appended or saw verified; seq 0 when none.
    AuditHead seen() const;
    // verifyAudit() with this computer's pin and `pins`; a whole trail moves the pin to its end.
    AuditVerdict verify(Archive &archive, const QVector<AuditHead> &pins = {});

private:
    bool append(Archive &archive, AuditEntry entry, QString *error);
    // Moves the pin to `head` when the pinned entry is still the same.
    void remember(Archive &archive, const AuditHead &head);
    bool enqueue(const AuditEntry &entry, QString *error);

    QString queuePath;
    QString seenPath;
    QString lockPath;
};
