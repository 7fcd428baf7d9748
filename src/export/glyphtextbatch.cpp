// SPDX-License-Identifier: GPL-3.0-or-later
// Centred single-line texts collected into one glyph run per colour and drawn at once.
#include "export/glyphtextbatch.h"

#include <QGlyphRun>
#include <QPainter>

GlyphTextBatch::GlyphTextBatch(QPainter &painter, const QFont &textFont)
    : p(painter), font(textFont), rawFont(QRawFont::fromFont(textFont)),
      metrics(textFont, painter.device())
{
    if (!rawFont.isValid())
        return;
    for (int i = 0; i < charCount; ++i) {
        const QChar ch(char16_t(firstChar + i));
        int count = 1;
        if (!rawFont.glyphIndexesForChars(&ch, 1, &glyphOf[i], &count) || count != 1)
            glyphOf[i] = 0;
        QPointF advance;
        rawFont.advancesForGlyphIndexes(&glyphOf[i], &advance, 1);
        advanceOf[i] = advance.x();
    }
}

GlyphTextBatch::Run &GlyphTextBatch::runFor(const QColor &color)
{
    for (Run &run : runs) {
        if (run.color == color)
            return run;
    }
    runs.append({color, {}, {}});
    return runs.last();
}

void GlyphTextBatch::addCentred(const QRect &rect, const QString &text, const QColor &color)
{
    qreal width = 0;
    for (const QChar ch : text) {
        const int i = ch.unicode() - firstChar;
        // Glyph 0 means the font lacks the character.
        if (!rawFont.isValid() || i < 0 || i >= charCount || glyphOf[i] == 0) {
            p.setPen(color);
            p.setFont(font);
            p.drawText(rect, Qt::AlignCenter, text);
            return;
        }
        width += advanceOf[i];
    }
    Run &run = runFor(color);
    qreal x = rect.x() + (rect.width() - width) / 2;
    const qreal baseline = rect.y() + (rect.height() - metrics.height()) / 2 + metrics.ascent();
    for (const QChar ch : text) {
        const int i = ch.unicode() - firstChar;
        run.glyphs.append(glyphOf[i]);
        run.positions.append(QPointF(x, baseline));
        x += advanceOf[i];
    }
}

void GlyphTextBatch::flush()
{
    for (const Run &run : qAsConst(runs)) {
        if (run.glyphs.isEmpty())
            continue;
        QGlyphRun glyphRun;
        glyphRun.setRawFont(rawFont);
        glyphRun.setGlyphIndexes(run.glyphs);
        glyphRun.setPositions(run.positions);
        p.setPen(run.color);
        p.drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    runs.clear();
}
