// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a recording's comments and signatures, shared by the report, workbook and
// comparison.
#pragma once

#include "recording/loadedrecording.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

class ReviewTexts
{
    // The texts are the report's, in the context of the view container that runs the export.
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // Whether an export prints the recording's review: it has entries and
    // names the very file it is printed with, so that one recording's
    // signatures never stand on another's report.
    static bool shows(const LoadedRecording &recording);

    // A trail entry's UTC time in the computer's zone with its offset,
    // "2026-12-11 09:14:03 +01:00"; the text as given when it does not parse.
    static QString timeText(const QString &utc);
    // How a signature's meaning is printed: the archive owner's title in the
    // report's language (the other one when only that is set), else the
    // built-in title of a built-in meaning, else the meaning as stored.
    static QString meaningText(const ReviewSignature &signature, bool english);
    // The excursion a comment explains by its start as the report prints
    // sample times ("2023/11/30 17:00:00"), or "整个记录" for the whole recording.
    static QString excursionText(const QString &excursion);
    // The wall-clock seconds of an excursion's start, "2023-11-30T17:00:00";
    // empty for the whole recording or a text that does not parse.
    static std::optional<qint64> excursionSecs(const QString &excursion);
    // What a comment says: "原因：R" and "纠正措施：A" joined by "; ", or
    // "备注：N" for a note.
    static QString commentText(const ReviewComment &comment);
    // The separate paragraphs of commentText().
    static QStringList commentParagraphs(const ReviewComment &comment);
    // What a comment is about: excursionText(), or "备注" for a note.
    static QString subjectText(const ReviewComment &comment);
    static bool isNote(const ReviewComment &comment) { return !comment.note.isEmpty(); }
};
