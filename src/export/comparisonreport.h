// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a comparison of recordings as a one-page A4 PDF: chart, legend and statistics.
#pragma once

#include "core/auditentry.h"
#include "recording/comparedrecording.h"
#include "recording/limitline.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QVector>
#include <functional>

class QDate;
class ReportPainter;

// The chart draws every recording's temperature as a solid curve and its
// humidity, where it has one, as a dashed curve in the same colour, all on
// the wall-clock time span of the whole set, broken where samples are further
// apart than their interval. The alarm limits in force are labelled dashed
// lines. The window's comparison chart uses the same colours, so a printed
// comparison reads like the screen.
class ComparisonReport
{
    Q_DECLARE_TR_FUNCTIONS(ComparisonReport)

public:
    // The most recordings one comparison shows.
    static constexpr int maxRecordings = 8;

    // The colour of the comparison's `index`-th recording.
    static QColor colour(int index);
    // The wall-clock seconds of the first and the last sample of the set.
    static bool timeSpan(const QVector<ComparedRecording> &recordings, qint64 *first, qint64 *last);
    // The lowest and the highest valid temperature of the set, in °C; false without any.
    static bool temperatureExtent(const QVector<ComparedRecording> &recordings, double *low,
                                  double *high);
    // The legend's name of a recording: its label and its logger's serial number.
    static QString legendText(const ComparedRecording &recording);
    // Whether the set is one logger's merged history.
    static bool isHistory(const QVector<ComparedRecording> &recordings);
    // The history's title: the logger's serial number and how many downloads it merges.
    static QString historyTitle(const ComparedRecording &history);
    // The report's title: the history's, or that of a comparison.
    static QString title(const QVector<ComparedRecording> &recordings);
    // The name (without suffix) offered for the report written on `today`.
    static QString suggestedBaseName(const QVector<ComparedRecording> &recordings,
                                     const QDate &today);
    // The alarm limits in force of the set, each distinct one once.
    static QVector<LimitLine> limitLines(const QVector<ComparedRecording> &recordings);
    // Whether a curve joins two samples `steps` samples apart, taken at
    // `from` and `to` (wall-clock seconds) by a recording of `interval`
    // seconds: not across a gap, where they are further apart than that.
    static bool joins(qint64 from, qint64 to, qint64 steps, qint64 interval)
    {
        return interval <= 0 || to - from <= steps * interval;
    }

    // Draws the page into the PDF/A-1b file `path`, laid out for English texts
    // when `english` is set; temperatures in the unit of the first recording.
    // Below the statistics, the signatures of every recording whose review
    // names its fingerprint, continued on further pages when they need them.
    // With an `auditHead` of seq > 0 the page names the audit trail's newest entry.
    // Reentrant. The file replaces an earlier one only once it is complete.
    // False, with the reason in `error` when given, when nothing is given or
    // the file could not be written whole; an earlier file is then left as it was.
    static bool write(const QString &path, const QVector<ComparedRecording> &recordings,
                      bool english, QString *error = nullptr, const AuditHead &auditHead = {});

private:
    ComparisonReport(const ReportPainter &painter, const QVector<ComparedRecording> &recordings);
    void draw() const;
    void drawChart() const;
    void drawLimitLines(double scaleTop, double scaleRange) const;
    void drawLegend() const;
    void drawStatistics() const;
    // The first line below the statistics' notes.
    int statisticsBottom() const;
    // Calls `newPage` before a line that would reach into the page's bottom margin.
    void drawSignatures(const std::function<void()> &newPage) const;

    const ReportPainter &rp;
    const QVector<ComparedRecording> &items;
    int unit;
    bool withHumidity = false;
};
