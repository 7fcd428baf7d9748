// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that judge a recording at a glance: whole or cut, samples held, within limits or not.
#pragma once

#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"

#include <QCoreApplication>
#include <QString>

// Shared by the summary page, the report, the workbook and the spreadsheet,
// so that each says the same in the same words.
class RecordingVerdict
{
    // The texts belong to the view container, which shows and exports recordings.
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // "记录不完整：N / M 个样本" for a recording with fewer samples than its
    // header promises; empty for a complete one.
    static QString incompleteText(const LoadedRecording &recording);
    // The samples a recording holds, with the overwritten ones beside them
    // when the logger overwrote any: "300", "300（另有 35488 条已被覆盖）".
    static QString sampleCountText(int held, qint64 overwritten);
    // "符合限值", "超出限值：N 次超限，高于上限 H 小时 M 分，低于下限 …" (a side
    // only when the range bounds it), or why nothing could be judged.
    static QString verdictText(const RecordingAnalysis &analysis);
    // A temperature left the range.
    static bool isOutOfLimits(const RecordingAnalysis &analysis)
    {
        return !analysis.excursions.isEmpty();
    }
    // The clock of every time shown: the logger's own, without a zone.
    static QString timeZoneText();
    // "H 小时 M 分", minutes rounded up, so that a short time out of range
    // never reads as none.
    static QString hoursMinutesText(qint64 seconds);
};
