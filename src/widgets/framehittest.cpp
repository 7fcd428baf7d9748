// SPDX-License-Identifier: GPL-3.0-or-later
// frameHitTest: which part of a frameless window a screen point falls on.
#include "widgets/framehittest.h"

#include <QWidget>

#include <algorithm>

namespace
{
bool isBorderCode(int code)
{
    return code >= HitLeft && code <= HitBottomRight;
}
} // namespace

int frameHitTest(const FrameHitInput &input)
{
    const int b = input.borderWidth;
    const int x = input.pointer.x();
    const int y = input.pointer.y();
    const int left = input.frame.x();
    const int top = input.frame.y();
    const int right = left + input.frame.width();
    const int bottom = top + input.frame.height();

    int result = HitNowhere;
    if (input.resizeable && !input.maximized) {
        const bool inLeft = x >= left && x < left + b;
        const bool inRight = x >= right - b && x < right;
        const bool inBottom = y >= bottom - b && y < bottom;
        const bool inTop = y >= top && y < top + b;
        const bool horizontal = input.horizontallyResizable;
        const bool vertical = input.verticallyResizable;
        if (horizontal) {
            if (inLeft)
                result = HitLeft;
            if (inRight)
                result = HitRight;
        }
        if (vertical) {
            if (inBottom)
                result = HitBottom;
            if (inTop)
                result = HitTop;
        }
        if (horizontal && vertical) {
            if (inLeft && inBottom)
                result = HitBottomLeft;
            if (inRight && inBottom)
                result = HitBottomRight;
            if (inLeft && inTop)
                result = HitTopLeft;
            if (inRight && inTop)
                result = HitTopRight;
        }
    }
    if (result != HitNowhere)
        return result;

    result = input.platformResult;
    if (input.maximized && isBorderCode(result))
        result = HitNowhere;
    if (!input.titleBar)
        return result;

    const double ratio = input.devicePixelRatio > 0 ? input.devicePixelRatio : 1.0;
    const QPoint logical(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
    const QPoint local = input.titleBar->mapFromGlobal(logical);
    if (!input.titleBar->rect().contains(local))
        return result;
    QWidget *child = input.titleBar->childAt(local);
    if (child && !input.whiteList.contains(child))
        return result;
    return HitCaption;
}

Qt::Edges edgesOfHit(int code)
{
    switch (code) {
    case HitLeft:
        return Qt::LeftEdge;
    case HitRight:
        return Qt::RightEdge;
    case HitTop:
        return Qt::TopEdge;
    case HitBottom:
        return Qt::BottomEdge;
    case HitTopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case HitTopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case HitBottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HitBottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

QRect resizedFrame(const QRect &start, Qt::Edges edges, const QPoint &delta, const QSize &minimum,
                   const QSize &maximum)
{
    QRect frame = start;
    const auto clampWidth = [&](int w) {
        return std::clamp(w, minimum.width(), std::max(minimum.width(), maximum.width()));
    };
    const auto clampHeight = [&](int h) {
        return std::clamp(h, minimum.height(), std::max(minimum.height(), maximum.height()));
    };
    if (edges & Qt::LeftEdge) {
        const int w = clampWidth(start.width() - delta.x());
        frame.setLeft(start.x() + start.width() - w);
    } else if (edges & Qt::RightEdge) {
        frame.setWidth(clampWidth(start.width() + delta.x()));
    }
    if (edges & Qt::TopEdge) {
        const int h = clampHeight(start.height() - delta.y());
        frame.setTop(start.y() + start.height() - h);
    } else if (edges & Qt::BottomEdge) {
        frame.setHeight(clampHeight(start.height() + delta.y()));
    }
    return frame;
}
