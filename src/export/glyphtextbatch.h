// SPDX-License-Identifier: GPL-3.0-or-later
// Report texts laid out from the font's character map and drawn as glyph runs.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QVector>

class QPainter;

// The report's texts are single words, numbers and dates; they need no
// shaping. Shaping them with QPainter::drawText lets the font swap the digits
// next to Latin letters for alternate glyphs that the PDF's text layer cannot
// map back to characters, so "S/N 2023" would copy and search as "S/N ".
// This class maps every character through the font's character map instead
// and places the glyphs as drawText would (alignment in a rectangle, one line
// per "\n", clipped when the glyphs reach outside the rectangle). Texts of one
// colour queued before a flush become a single glyph run, which also makes the
// data pages, with over two thousand texts each, several times faster to
// write. A text with a character the font lacks is drawn with drawText at once.
class GlyphTextBatch
{
public:
    GlyphTextBatch(QPainter &painter, const QFont &font);

    // Queues `text` in `rect` with the alignment `flags`, drawn in `color`
    // at the next flush.
    void add(const QRect &rect, int flags, const QString &text, const QColor &color);
    // Draws and forgets everything queued.
    void flush();

private:
    struct Glyph {
        quint32 index = 0;
        qreal advance = 0;
        // The inked area relative to the glyph's origin on the baseline.
        QRectF ink;
    };
    // One line of the text being laid out: characters [from, to).
    struct Line {
        int from;
        int to;
        qreal width;
        qreal baseline;
    };
    struct Run {
        QColor color;
        QVector<quint32> glyphs;
        QVector<QPointF> positions;
    };

    // False when the font has no glyph for `ch`.
    bool glyphOf(QChar ch, Glyph &glyph);
    Run &runFor(const QColor &color);
    void drawRun(const Run &run);

    QPainter &p;
    QFont font;
    QRawFont rawFont;
    QFontMetricsF metrics;
    static constexpr int asciiCount = 128;
    Glyph ascii[asciiCount];
    bool asciiKnown[asciiCount] = {};
    QHash<char16_t, Glyph> glyphs;
    QVector<Run> runs;
    QVector<Line> lines;
    Run placed;
};
