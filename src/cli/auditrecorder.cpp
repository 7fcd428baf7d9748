// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/auditrecorder.h"

#include "archive/archive.h"
#include "archive/auditlog.h"
#include "core/auditsettings.h"
#include "core/settinginfo.h"

#include <QCommandLineParser>

QCommandLineOption AuditRecorder::reasonOption()
{
    return QCommandLineOption(QStringLiteral("reason"),
                              QStringLiteral("Why: kept in the audit trail's entry of this action "
                                             "(required for configuration writes when the "
                                             "settings ask for a reason)."),
                              QStringLiteral("TEXT"));
}

void AuditRecorder::configure(const QCommandLineParser &parser)
{
    archiveUrl = parser.value(QStringLiteral("archive"));
    if (parser.isSet(QStringLiteral("reason")))
        reason = parser.value(QStringLiteral("reason")).trimmed();
}

QString AuditRecorder::missingReason(const QString &action) const
{
    if (!askForReason() || !reason.isEmpty())
        return QString();
    return QStringLiteral("the settings ask for a reason for %1: give --reason TEXT").arg(action);
}

void AuditRecorder::record(AuditEntry entry, Archive *archive)
{
    if (entry.reason.isNull() && !reason.isEmpty())
        entry.reason = reason;
    ArchiveLocation location;
    QString why;
    if (archive && archive->isOpen())
        location = archive->location();
    else if (!chooseLocation(&location))
        return;
    Archive own;
    if (!archive || !archive->isOpen()) {
        archive = &own;
        own.open(location);
    }
    bool queued = false;
    if (AuditLog(location).record(archive, entry, &why, &queued))
        return;
    if (queued)
        err << "hygra-cli: warning: the archive cannot take the audit entry of this action (" << why
            << "); it waits on this computer and goes in once the archive can be "
            << "reached\n";
    else
        err << "hygra-cli: warning: the audit entry of this action was lost: " << why << '\n';
}

bool AuditRecorder::chooseLocation(ArchiveLocation *location)
{
    QString why;
    if (ArchiveLocation::choose(archiveUrl, dataDir(), location, &why))
        return true;
    err << "hygra-cli: warning: the audit trail's archive cannot be used: " << why << '\n';
    return false;
}

AuditHead AuditRecorder::head()
{
    ArchiveLocation location;
    AuditHead head;
    if (!chooseLocation(&location))
        return head;
    Archive archive;
    QString why;
    if (!archive.open(location) || !AuditLog(location).appendWaiting(archive, &why) ||
        !archive.auditHead(&head)) {
        err << "hygra-cli: warning: the report cannot name the audit trail's newest entry: "
            << (why.isEmpty() ? archive.errorText() : why) << '\n';
        return AuditHead();
    }
    return head;
}
