// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing context shared by the report's page parts: painter, page geometry and fonts.
#pragma once

#include "export/glyphtextbatch.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <memory>

class QPainter;
class QPdfWriter;

// Sets the report pages up: PDF/A-1b, A4 portrait without margins, one device
// unit to a point.
void setUpReportPages(QPdfWriter &writer);

// One device unit is one point (72 dpi); every position of the report is an
// integer in these units, derived from the page width and height.
class ReportPainter
{
public:
    // The report's five fonts, by use.
    enum Font {
        Title,   // report title
        Section, // section titles, data page title
        Label,   // labels, values, chart texts, statistics, evaluation, page numbers
        Note,    // file note
        Table,   // data table, fingerprint
        FontCount
    };

    // Alignments of the report's texts.
    static constexpr int alignL = Qt::AlignLeft;
    static constexpr int alignLC = Qt::AlignLeft | Qt::AlignVCenter;
    static constexpr int alignC = Qt::AlignHCenter | Qt::AlignVCenter;
    static constexpr int alignRR = Qt::AlignRight;
    static constexpr int alignRC = Qt::AlignRight | Qt::AlignVCenter;

    // Derives the fonts from the painter's current font; the painter must be
    // active on the report's device.
    ReportPainter(QPainter &painter, int pageWidth, int pageHeight, bool english);

    QPainter &painter() const { return p; }

    int width() const { return w; }
    int height() const { return h; }
    // Right edge of full-width texts.
    int right() const { return w - 35; }
    // End of the section rules.
    int ruleEnd() const { return w - 34; }
    int contentWidth() const { return w - 68; }
    // Right edge of the section titles.
    int sectionRight() const { return contentWidth() / 2 + 35; }
    // Chart column width and plot width (seven whole columns).
    int chartColumn() const { return (w - 154) / 7; }
    int plotWidth() const { return chartColumn() * 7; }

    const QFont &font(Font which) const { return fonts[which]; }
    bool english() const { return isEnglish; }

    // The rectangle whose corners (x1, y1) and (x2, y2) both lie inside it.
    static QRect box(int x1, int y1, int x2, int y2) { return {QPoint(x1, y1), QPoint(x2, y2)}; }

    // Draws `text` in the pen's colour.
    void text(Font font, const QRect &rect, int flags, const QString &text) const;
    // Label font, left-aligned.
    void label(const QRect &rect, const QString &text) const;
    void line(int x1, int y1, int x2, int y2) const;

private:
    QPainter &p;
    int w;
    int h;
    bool isEnglish;
    QFont fonts[FontCount];
    // Texts are laid out from the fonts' character maps, one batch per font.
    std::unique_ptr<GlyphTextBatch> batches[FontCount];
};
