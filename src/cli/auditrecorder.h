// SPDX-License-Identifier: GPL-3.0-or-later
// AuditRecorder: the audit entries of one hygra-cli command, appended to its archive's trail.
#pragma once

#include "archive/archivelocation.h"
#include "core/auditentry.h"

#include <QCommandLineOption>
#include <QString>
#include <QTextStream>

class Archive;
class QCommandLineParser;

// Every command that acts records its action (and its failure) in the trail
// of the archive it names with --archive, else of the settings file's. The
// reason of --reason goes into each entry. An archive that cannot be reached
// does not fail the command: the entry waits in this computer's queue and a
// warning says so.
class AuditRecorder
{
public:
    explicit AuditRecorder(QTextStream &err) : err(err) {}

    // --reason TEXT.
    static QCommandLineOption reasonOption();
    // Takes --archive and --reason from `parser`.
    void configure(const QCommandLineParser &parser);
    // The archive named on the command line; empty: the settings file's.
    void setArchiveUrl(const QString &url) { archiveUrl = url; }
    // When the settings ask for a reason and none was given: the usage
    // failure to print, else an empty text.
    QString missingReason(const QString &action) const;

    // Appends `entry` (its reason set from --reason unless it has one) to the
    // trail, through `archive` when it is open on the same location.
    void record(AuditEntry entry, Archive *archive = nullptr);
    // Where the trail stands now, for a report to print: its newest entry once
    // the entries waiting on this computer went in; seq 0 when the archive
    // cannot be read.
    AuditHead head();

private:
    // The archive of --archive or the settings file; false with a warning printed.
    bool chooseLocation(ArchiveLocation *location);

    QTextStream &err;
    QString archiveUrl;
    QString reason;
};
