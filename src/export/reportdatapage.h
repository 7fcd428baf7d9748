// SPDX-License-Identifier: GPL-3.0-or-later
// One data page of the report: up to 576 samples in six columns with the page's statistics.
#pragma once

#include "recording/loadedrecording.h"

#include <QCoreApplication>

class ReportPainter;

class ReportDataPage
{
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    static constexpr int samplesPerPage = 576;
    static constexpr int linesPerColumn = 96;

    ReportDataPage(const ReportPainter &painter, const LoadedRecording &recording);

    // Draws data page `page` (from 1; page page + 1 of the report) on the
    // current page, without its foot, holding the samples
    // [576 (page - 1), 576 page). The page must hold at least one sample.
    void draw(int page) const;

private:
    void drawGrid() const;
    void drawSamples(int first, int end) const;
    void drawStatistics(int first, int end) const;

    const ReportPainter &rp;
    const LoadedRecording &data;
    bool withHumidity;
    int columnWidth;
    int left;
};
