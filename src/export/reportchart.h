// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-drawn chart of the report's first page: frame, scales, curves, zone bars and legends.
#pragma once

#include "recording/loadedrecording.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

class ReportPainter;

// Where the chart stands on the first page. The plot's bottom and the
// time labels below it stay put; a chart moved down to make room above
// it keeps its ten grid rows, each lower by the same whole number of points.
struct ChartPlacement {
    // The frame's top; the axis titles and the evaluation hang from it.
    int frameTop = 434;
    // The highest the top grid line may stand.
    int plotTop = 490;

    static constexpr int plotBottom = 730;
    int gridPitch() const { return (plotBottom - plotTop) / 10; }
    // The top grid line, at a whole pitch above the bottom.
    int gridTop() const { return plotBottom - 10 * gridPitch(); }
};

class ReportChart
{
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // Eight time labels at start + k × step; the curves span seven steps.
    struct TimeScale {
        qint64 start = 0;
        qint64 step = 0;
        qint64 span() const { return 7 * step; }
    };
    // Temperature labels from `top` down by `step`, in the recording's unit;
    // `bottom` maps to the lowest grid line.
    struct TemperatureScale {
        float bottom = 0;
        float step = 0;
        float top = 0;
    };

    // An alarm limit in force drawn across the plot.
    struct LimitLine {
        // "TH1 30.0℃", "HH 80%RH".
        QString label;
        double y = 0;
        bool humidity = false;
    };

    // Whole-second steps: a duration that is no multiple of seven rounds the
    // step up and starts one second before the first sample.
    static TimeScale timeScale(qint64 shownDuration, qint64 firstTime);
    // From the recording's statistics (hundredths of °C), widened by 10 °C on
    // both sides before conversion to `tempUnit`.
    static TemperatureScale temperatureScale(int maxTemp, int minTemp, int tempUnit);


    // The switched-on level-1 temperature limits (TH1, TL1) and, with
    // humidity, HH and HL, each at its height on the plot; limits beyond the
    // scale are left out.
    static QVector<LimitLine> limitLines(const ReadDevInfoJson &info,
                                         const TemperatureScale &temperature,
                                         const ChartPlacement &placement = {});

    ReportChart(const ReportPainter &painter, const LoadedRecording &recording,
                const ChartPlacement &placement = {});

    void draw() const;

private:
    void drawFrame() const;
    void drawScales(const TimeScale &time, const TemperatureScale &temperature) const;
    void drawCurves(const TimeScale &time, const TemperatureScale &temperature) const;
    void drawLimits(const TemperatureScale &temperature) const;
    void drawZoneBars() const;
    void drawLegend() const;

    const ReportPainter &rp;
    const LoadedRecording &data;
    bool withHumidity;
    const int frameTop;
    const int plotTop;
    const int pitch;
    const int plotHeight;
};
