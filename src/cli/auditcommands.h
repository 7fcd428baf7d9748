// SPDX-License-Identifier: GPL-3.0-or-later
// AuditCommands: `hygra-cli audit …`, the archive's audit trail from the command line.
#pragma once

#include "core/auditentry.h"

#include <QStringList>
#include <QTextStream>
#include <QVector>

class Archive;
class QCommandLineParser;
struct AuditFilter;

class AuditCommands
{
public:
    // Results go to `out`, failures to `err`.
    AuditCommands(QTextStream &out, QTextStream &err);

    // `arguments`: the program and command ("hygra-cli audit"), the
    // subcommand, then its own arguments. Returns a CliExit code.
    int run(const QStringList &arguments);
    // Whether the arguments ask for a PDF (the export paints).
    static bool needsGui(const QStringList &arguments);

private:
    int list(const QStringList &arguments);
    int verify(const QStringList &arguments);
    int exportTrail(const QStringList &arguments);

    // The filter options of `list` and `export`.
    static void addFilterOptions(QCommandLineParser &parser);
    // -1 with `filter` set, else the exit code of a usage error printed.
    int readFilter(const QCommandLineParser &parser, AuditFilter *filter);
    // Opens the archive and reads the entries the filter options ask for: -1
    // to go on, else the exit code of a failure printed.
    int readEntries(const QCommandLineParser &parser, Archive &archive,
                    QVector<AuditEntry> *entries);
    int parse(QCommandLineParser &parser, const QStringList &arguments);
    int open(const QCommandLineParser &parser, Archive &archive);
    int fail(int code, const QString &message);

    QTextStream &out;
    QTextStream &err;
};
