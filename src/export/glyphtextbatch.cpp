// SPDX-License-Identifier: GPL-3.0-or-later
// Report texts laid out from the font's character map and drawn as glyph runs.
#include "export/glyphtextbatch.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

GlyphTextBatch::GlyphTextBatch(QPainter &painter, const QFont &textFont)
    : p(painter), font(textFont), rawFont(QRawFont::fromFont(textFont)),
      metrics(textFont, painter.device())
{
}

bool GlyphTextBatch::glyphOf(QChar ch, Glyph &glyph)
{
    const char16_t code = ch.unicode();
    if (code < asciiCount && asciiKnown[code]) {
        glyph = ascii[code];
        return glyph.index != 0;
    }
    const auto known = glyphs.constFind(code);
    if (known != glyphs.cend()) {
        glyph = *known;
        return glyph.index != 0;
    }
    glyph = Glyph();
    int count = 1;
    if (rawFont.isValid() && !ch.isSurrogate() &&
        rawFont.glyphIndexesForChars(&ch, 1, &glyph.index, &count) && count == 1 &&
        glyph.index != 0) {
        QPointF advance;
        rawFont.advancesForGlyphIndexes(&glyph.index, &advance, 1);
        glyph.advance = advance.x();
        // The outline's bounds: boundingRect() rounds out to whole pixels.
        glyph.ink = rawFont.pathForGlyph(glyph.index).boundingRect();
    } else {
        glyph.index = 0;
    }
    if (code < asciiCount) {
        ascii[code] = glyph;
        asciiKnown[code] = true;
    } else {
        glyphs.insert(code, glyph);
    }
    return glyph.index != 0;
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

void GlyphTextBatch::add(const QRect &rect, int flags, const QString &text, const QColor &color)
{
    if (text.isEmpty())
        return;
    // Lay the lines out as drawText does: leading before every line, each
    // line starting on a whole unit, ascent plus descent high.
    lines.clear();
    qreal height = 0;
    for (int from = 0; from <= text.size();) {
        int to = text.indexOf(QLatin1Char('\n'), from);
        if (to < 0)
            to = text.size();
        height = std::ceil(height + metrics.leading());
        qreal width = 0;
        for (int i = from; i < to; ++i) {
            Glyph glyph;
            if (!glyphOf(text[i], glyph)) {
                const QPen pen = p.pen();
                p.setPen(color);
                p.setFont(font);
                p.drawText(rect, flags, text);
                p.setPen(pen);
                return;
            }
            width += glyph.advance;
        }
        lines.append({from, to, width, height + metrics.ascent()});
        height += metrics.ascent() + metrics.descent();
        from = to + 1;
    }
    qreal top = rect.y();
    if (flags & Qt::AlignVCenter)
        top += (rect.height() - height) / 2;
    else if (flags & Qt::AlignBottom)
        top += rect.height() - height;

    placed.glyphs.clear();
    placed.positions.clear();
    QRectF ink;
    for (const Line &line : qAsConst(lines)) {
        qreal x = rect.x();
        if (flags & Qt::AlignHCenter)
            x += (rect.width() - line.width) / 2;
        else if (flags & Qt::AlignRight)
            x += rect.width() - line.width;
        for (int i = line.from; i < line.to; ++i) {
            Glyph glyph;
            glyphOf(text[i], glyph);
            const QPointF origin(x, top + line.baseline);
            placed.glyphs.append(glyph.index);
            placed.positions.append(origin);
            ink |= glyph.ink.translated(origin);
            x += glyph.advance;
        }
    }

    // drawText clips a text whose lines do not fit its rectangle. The clip
    // changes nothing where the glyphs themselves stay inside, as the data
    // pages' small texts do in their 7-unit-high cells, up to a slash reaching
    // 0.08 units below with whole-unit font metrics and 0.19 with fractional
    // ones (Qt 6 keeps the fractions); a quarter of a unit is far below what a
    // print or a screen shows. Only the other texts pay for a clip of their own.
    const qreal invisible = 0.25;
    if (!QRectF(rect).adjusted(-invisible, -invisible, invisible, invisible).contains(ink)) {
        placed.color = color;
        p.save();
        p.setClipRect(rect, Qt::IntersectClip);
        drawRun(placed);
        p.restore();
        return;
    }
    Run &run = runFor(color);
    run.glyphs += placed.glyphs;
    run.positions += placed.positions;
}

void GlyphTextBatch::drawRun(const Run &run)
{
    if (run.glyphs.isEmpty())
        return;
    QGlyphRun glyphRun;
    glyphRun.setRawFont(rawFont);
    glyphRun.setGlyphIndexes(run.glyphs);
    glyphRun.setPositions(run.positions);
    const QPen pen = p.pen();
    p.setPen(run.color);
    p.drawGlyphRun(QPointF(0, 0), glyphRun);
    p.setPen(pen);
}

void GlyphTextBatch::flush()
{
    for (const Run &run : qAsConst(runs))
        drawRun(run);
    runs.clear();
}
