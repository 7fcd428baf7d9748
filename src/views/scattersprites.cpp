// SPDX-License-Identifier: GPL-3.0-or-later
// Draws many equal scatter points as copies of one pre-rendered image.
#include "views/scattersprites.h"

#include <cmath>

namespace
{

// Sub-pixel offsets rendered per axis.
constexpr int phases = 4;

} // namespace

bool ScatterSprites::Key::operator!=(const Key &other) const
{
    return shape != other.shape || size != other.size || pen != other.pen || brush != other.brush ||
           antialiased != other.antialiased || modes != other.modes || scale != other.scale;
}

bool ScatterSprites::draw(QCPPainter *painter, const QVector<QPointF> &points,
                          const QCPScatterStyle &style, const QPen &graphPen)
{
    const QTransform toDevice = painter->deviceTransform();
    if (painter->modes().testFlag(QCPPainter::pmVectorized) ||
        painter->paintEngine()->type() != QPaintEngine::Raster ||
        toDevice.type() > QTransform::TxScale || toDevice.m11() != toDevice.m22() ||
        style.shape() == QCPScatterStyle::ssPixmap || style.shape() == QCPScatterStyle::ssCustom)
        return false;

    Key key;
    key.shape = style.shape();
    key.size = style.size();
    key.pen = style.isPenDefined() ? style.pen() : graphPen;
    key.brush = style.brush();
    key.antialiased = painter->antialiasing();
    key.modes = painter->modes();
    key.scale = toDevice.m11();
    // The first key always differs: a drawn style is never the empty one.
    if (key != mKey)
        render(key, style);

    const QTransform toLogical = toDevice.inverted();
    const int half = mCell / 2;
    for (const QPointF &point : points) {
        const QPointF device = toDevice.map(point);
        const double quarterX = std::round(device.x() * phases);
        const double quarterY = std::round(device.y() * phases);
        const double pixelX = std::floor(quarterX / phases);
        const double pixelY = std::floor(quarterY / phases);
        const int phaseX = int(quarterX - pixelX * phases);
        const int phaseY = int(quarterY - pixelY * phases);
        const QRectF target = toLogical.mapRect(QRectF(pixelX - half, pixelY - half, mCell, mCell));
        painter->drawImage(target, mAtlas, QRectF(phaseX * mCell, phaseY * mCell, mCell, mCell));
    }
    return true;
}

void ScatterSprites::render(const Key &key, const QCPScatterStyle &style)
{
    mKey = key;
    const double extent = (key.size + key.pen.widthF() + 1) * key.scale;
    mCell = 2 * int(std::ceil(extent / 2)) + 2;
    mAtlas = QImage(mCell * phases, mCell * phases, QImage::Format_ARGB32_Premultiplied);
    mAtlas.fill(Qt::transparent);

    QCPPainter painter(&mAtlas);
    painter.setModes(key.modes);
    // The render hint alone: QCPPainter::setAntialiasing would also shift by
    // half a pixel, which the target painter's transform already carries.
    painter.setRenderHint(QPainter::Antialiasing, key.antialiased);
    painter.scale(key.scale, key.scale);
    style.applyTo(&painter, key.pen);
    const int half = mCell / 2;
    for (int phaseY = 0; phaseY < phases; ++phaseY) {
        for (int phaseX = 0; phaseX < phases; ++phaseX) {
            const double x = phaseX * mCell + half + double(phaseX) / phases;
            const double y = phaseY * mCell + half + double(phaseY) / phases;
            style.drawShape(&painter, x / key.scale, y / key.scale);
        }
    }
}
