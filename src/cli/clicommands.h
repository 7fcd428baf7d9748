// SPDX-License-Identifier: GPL-3.0-or-later
// CliCommands: the commands of hygra-cli, from their arguments to their output.
#pragma once

#include <QStringList>
#include <QTextStream>

struct LoadedRecording;
struct LoggerChoice;
class QIODevice;
class QCommandLineParser;

// Results go to standard output, progress and errors to standard error; every
// command returns a CliExit code.
class CliCommands
{
public:
    // Standard output and error, or the given devices instead.
    explicit CliCommands(QIODevice *outDevice = nullptr, QIODevice *errDevice = nullptr);

    // `arguments` as QCoreApplication::arguments(): the program, the command,
    // then the command's own arguments.
    int run(const QStringList &arguments);

    // Whether the command needs a QGuiApplication (the PDF report paints).
    static bool needsGui(const QStringList &arguments);

private:
    int runCommand(const QStringList &arguments);
    int list(const QStringList &arguments);
    int info(const QStringList &arguments);
    int download(const QStringList &arguments);
    int watch(const QStringList &arguments);
    int show(const QStringList &arguments);
    int exportFile(const QStringList &arguments);
    int verify(const QStringList &arguments);
    int sign(const QStringList &arguments);
    int config(const QStringList &arguments);
    int startStop(const QStringList &arguments, bool start);

    // Parses `arguments` with `parser`, to which a help option is added;
    // returns -1 to go on, or the exit code once help or a usage error was printed.
    int parse(QCommandLineParser &parser, const QStringList &arguments, int positionals);
    // The logger --model, --index, --port and --serial name; ExitOk, or the
    // code once a usage error was printed.
    int chooseLogger(QCommandLineParser &parser, LoggerChoice *choice);
    // Reads the recording file at `path`; ExitOk, or the code once the
    // failure was printed.
    int readRecording(const QString &path, LoadedRecording *recording);
    int fail(int code, const QString &message);
    void printOverview(QTextStream &stream);

    QTextStream out;
    QTextStream err;
};
