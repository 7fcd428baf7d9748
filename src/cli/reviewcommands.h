// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewCommands: `hygra-cli comment`, `review` and `signatures`, a recording's review.
#pragma once

#include "recording/loadedrecording.h"

#include <QStringList>
#include <QTextStream>

class Archive;
class QCommandLineParser;

// A recording is named by its file, which is added to the archive when it is
// not there yet, or by the fingerprint of an archived one.
class ReviewCommands
{
public:
    // Results go to `out`, failures to `err`.
    ReviewCommands(QTextStream &out, QTextStream &err);

    // `arguments`: the program and command ("hygra-cli comment"), then the
    // command's own. Each returns a CliExit code.
    int comment(const QStringList &arguments);
    int review(const QStringList &arguments);
    int signatures(const QStringList &arguments);

private:
    int parse(QCommandLineParser &parser, const QStringList &arguments);
    // Opens the archive and finds the recording FILE|SHA256 names in it: -1
    // to go on, else the exit code of a failure printed.
    int openRecording(const QCommandLineParser &parser, Archive &archive,
                      LoadedRecording *recording);
    int fail(int code, const QString &message);

    QTextStream &out;
    QTextStream &err;
};
