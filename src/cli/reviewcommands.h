// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewCommands: `hygra-cli comment`, `review` and `signatures`, a recording's review.
#pragma once

#include "export/reportmetadata.h"
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
    // `review-lists`: prints the archive's reasons, actions and meanings, and
    // with --set FILE.json replaces those the file names (the owner's right).
    int lists(const QStringList &arguments);

    // Fills the recording's review from the archive of `url` (the settings
    // file's when empty), so that its report shows it; a warning on `err`
    // when the archive cannot be read.
    static void attachReview(const QString &url, LoadedRecording *recording, QTextStream &err);
    // Checks the signatures a report of the recording `sha256` names against
    // the archive's trail: each must be a signature entry of that recording
    // with the same hash, and every signature of it up to the report's trail
    // head must be named. A CliExit code; `problem` says what is wrong.
    static int checkReportSignatures(const QString &url, const QString &sha256,
                                     const ReportMetadata &report, QString *problem);

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
