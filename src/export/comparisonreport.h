// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a comparison of recordings as a one-page A4 PDF: chart, legend and statistics.
#pragma once

#include "recording/comparedrecording.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QVector>

class ReportPainter;

// The chart draws every recording's temperature as a solid curve and its
// humidity, where it has one, as a dashed curve in the same colour, all on
// the wall-clock time span of the whole set. The window's comparison chart
// uses the same colours, so a printed comparison reads like the screen.
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

    // Draws the page into the PDF/A-1b file `path`, laid out for English texts
    // when `english` is set; temperatures in the unit of the first recording.
    // Reentrant. The file replaces an earlier one only once it is complete.
    // False, with the reason in `error` when given, when nothing is given or
    // the file could not be written whole; an earlier file is then left as it was.
    static bool write(const QString &path, const QVector<ComparedRecording> &recordings,
                      bool english, QString *error = nullptr);

private:
    ComparisonReport(const ReportPainter &painter, const QVector<ComparedRecording> &recordings);
    void draw() const;
    void drawChart() const;
    void drawLegend() const;
    void drawStatistics() const;

    const ReportPainter &rp;
    const QVector<ComparedRecording> &items;
    int unit;
    bool withHumidity = false;
};
