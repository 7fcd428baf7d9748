// SPDX-License-Identifier: GPL-3.0-or-later
// Centred single-line texts collected into one glyph run per colour and drawn at once.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QVector>

class QPainter;

// A data page holds over two thousand short texts (dates, times, numbers).
// Drawing each with QPainter::drawText shapes it and opens a text object of
// its own; this batch maps printable ASCII straight to the font's glyphs and
// draws every text of one colour as a single glyph run, several times faster
// and with the same placement as a centred drawText. Texts with other
// characters are drawn right away with drawText.
class GlyphTextBatch
{
public:
    GlyphTextBatch(QPainter &painter, const QFont &font);

    // Queues `text` centred in `rect`, drawn in `color` at the next flush.
    void addCentred(const QRect &rect, const QString &text, const QColor &color);
    // Draws and forgets everything queued.
    void flush();

private:
    struct Run {
        QColor color;
        QVector<quint32> glyphs;
        QVector<QPointF> positions;
    };
    static constexpr int firstChar = 32;
    static constexpr int charCount = 95;

    Run &runFor(const QColor &color);

    QPainter &p;
    QFont font;
    QRawFont rawFont;
    QFontMetricsF metrics;
    quint32 glyphOf[charCount] = {};
    qreal advanceOf[charCount] = {};
    QVector<Run> runs;
};
