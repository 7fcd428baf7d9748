// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation on the report's first page: mean kinetic temperature, range and excursions.
#pragma once

#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"

#include <QCoreApplication>
#include <QString>

class ReportPainter;

// Three rows of two name-value pairs in the chart's heading band, between the
// axis titles above the plot: the only free band of the first page wide
// enough for them, and next to the curve the figures describe. The verdict
// stands at the top of the page, beside the badge.
class ReportEvaluation
{
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // `frameTop` is the top of the chart's frame.
    ReportEvaluation(const ReportPainter &painter, const LoadedRecording &recording,
                     int frameTop = 434);

    void draw() const;
    // The rows draw() fills below the frame's top.
    static constexpr int rowsBelowFrame = 42;

    // "TL1 … TH1" in the recording's unit, "无" for a side without a bound.
    static QString rangeText(const TemperatureRange &range, int tempUnit);

private:
    void drawVerdict() const;
    void pair(int x, int nameWidth, int valueRight, int y1, const QString &name,
              const QString &value) const;

    const ReportPainter &rp;
    const LoadedRecording &data;
    const RecordingAnalysis analysis;
    const int frameTop;
};
