// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's signatures and comments in the PDF report: first-page blocks and the review pages.
#pragma once

#include "export/reportchart.h"
#include "recording/loadedrecording.h"

#include <QCoreApplication>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QVector>

class ReportPainter;

// The first page holds up to three rows of signatures above the chart and
// three rows of comments in the evaluation band, the chart shrinking to make
// room. When the review needs more rows or wider columns, its blocks show
// the first two entries and a row that points to the review pages, which
// follow the first page and hold the whole review, nothing cut.
class ReportReview
{
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    static constexpr int firstPageRows = 3;
    static constexpr int rowPitch = 13;

    // One line of a table: texts between fixed left and right edges.
    struct Cell {
        int left;
        int right;
        QString text;
    };
    using Row = QVector<Cell>;

    ReportReview(const ReportPainter &painter, const LoadedRecording &recording);

    // Where the chart stands below the signatures, its plot lowered below
    // the comment rows.
    ChartPlacement chartPlacement() const { return placement; }
    // The review pages after the first page; 0 when the first page shows all.
    int pageCount() const { return pages.size(); }

    // The signature block above the chart.
    void drawSignatures() const;
    // The comment rows below the evaluation's rows.
    void drawComments() const;
    // The review page `index` (from 0), without its foot.
    void drawPage(int index) const;

    // A signature as a row between `left` and `right`: printed name, login,
    // time, meaning and comment.
    static Row signatureRow(const ReviewSignature &signature, int left, int right, bool english);
    // A comment as a row: time, author, what it explains, and its text, a
    // paragraph a line.
    static Row commentRow(const ReviewComment &comment, int left, int right);
    // `row` with every cell's text cut to its first line and its width,
    // ending in "…"; `cut` tells whether any was.
    static Row elided(const Row &row, const QFont &font, bool *cut);
    // `row` as lines, each cell's text wrapped in its width.
    static QVector<Row> wrapped(const Row &row, const QFont &font);
    // `text` broken into lines no wider than `width`: at "\n", after the last
    // space that keeps a line within the width, else between two characters.
    static QStringList wrap(const QString &text, const QFont &font, int width);
    // Draws `row` in the label font with its top at `y`.
    static void drawRow(const ReportPainter &painter, int y, const Row &row);

private:
    enum class Kind { Section, Row };
    struct Item {
        Kind kind;
        int y;
        QString title;
        Row row;
    };

    // The first page's rows of `rows`: all of them when they fit, else two and a pointer.
    QVector<Row> firstPageBlock(const QVector<Row> &rows, bool *overflows) const;
    void layOutPages(const QVector<Row> &signatureRows, const QVector<Row> &commentRows);

    const ReportPainter &rp;
    const RecordingReview *review;
    const QString serial;
    QVector<Row> firstSignatures;
    QVector<Row> firstComments;
    ChartPlacement placement;
    QVector<QVector<Item>> pages;
};
