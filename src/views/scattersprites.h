// SPDX-License-Identifier: GPL-3.0-or-later
// Draws many equal scatter points as copies of one pre-rendered image.
#pragma once

#include <qcustomplot.h>

#include <QImage>

// Antialiased shapes are drawn through the path rasteriser, about 1.5 µs per
// point; a recording of tens of thousands of samples leaves thousands of
// points after QCustomPlot's thinning. Copying a rendered point is several
// times faster and looks the same: each shape is rendered once for every
// quarter-pixel offset, so a copy sits within 1/8 pixel of the exact spot.
class ScatterSprites
{
public:
    // Draws `points` with `style` (its own pen, or `graphPen` when it has
    // none) as the style would. Returns false without drawing when the
    // painter is not a pixel painter with a plain scale, where copies would
    // not match.
    bool draw(QCPPainter *painter, const QVector<QPointF> &points, const QCPScatterStyle &style,
              const QPen &graphPen);

private:
    struct Key {
        QCPScatterStyle::ScatterShape shape = QCPScatterStyle::ssNone;
        double size = 0;
        QPen pen;
        QBrush brush;
        bool antialiased = false;
        QCPPainter::PainterModes modes;
        double scale = 0;
        bool operator!=(const Key &other) const;
    };

    void render(const Key &key, const QCPScatterStyle &style);

    Key mKey;
    QImage mAtlas;
    int mCell = 0;
};
