// SPDX-License-Identifier: GPL-3.0-or-later
// ArchiveCommands: `hygra-cli archive …`, the recordings archive from the command line.
#pragma once

#include <QStringList>
#include <QTextStream>

class Archive;
class ArchiveRoles;
struct ArchiveLocation;
class QCommandLineOption;
class QCommandLineParser;

class ArchiveCommands
{
public:
    // Results go to `out`, skipped files and errors to `err`.
    ArchiveCommands(QTextStream &out, QTextStream &err);

    // `arguments`: the program and command ("hygra-cli archive"), the
    // subcommand, then its own arguments. Returns a CliExit code.
    int run(const QStringList &arguments);

    // The --archive option that every command writing to the archive takes.
    static QCommandLineOption archiveOption();
    // The archive named by `url`, else the settings file's; false with `why`.
    static bool locate(const QString &url, ArchiveLocation *location, QString *why);
    // Adds the recording file at `path` to the archive named by `url` (the
    // settings file's when empty); returns why it could not, or an empty text.
    static QString addDownloaded(const QString &path, const QString &url);
    // Whether the arguments ask for a PDF (the report paints).
    static bool needsGui(const QStringList &arguments);

private:
    int importFolder(const QStringList &arguments);
    int list(const QStringList &arguments);
    int get(const QStringList &arguments);
    int history(const QStringList &arguments);
    int check(const QStringList &arguments);
    int setup(const QStringList &arguments);
    int grant(const QStringList &arguments);

    // Parses, as CliCommands does: -1 to go on, else the exit code once help
    // or a usage error was printed.
    int parse(QCommandLineParser &parser, const QStringList &arguments, int positionals);
    int open(QCommandLineParser &parser, Archive &archive);
    // The --admin-url of `setup` and `grant`, and the connection to it.
    static QCommandLineOption adminUrlOption();
    int openAdmin(QCommandLineParser &parser, ArchiveRoles &roles);
    int fail(int code, const QString &message);

    QTextStream &out;
    QTextStream &err;
};
