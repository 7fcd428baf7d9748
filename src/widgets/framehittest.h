// SPDX-License-Identifier: GPL-3.0-or-later
// frameHitTest: which part of a frameless window a screen point falls on.
#pragma once

#include <QRect>
#include <QSet>

class QWidget;

// The part of a window under the pointer, with the codes the Windows window
// manager uses for them.
enum HitCode {
    HitNowhere = 0,
    HitCaption = 2,
    HitLeft = 10,
    HitRight = 11,
    HitTop = 12,
    HitTopLeft = 13,
    HitTopRight = 14,
    HitBottom = 15,
    HitBottomLeft = 16,
    HitBottomRight = 17,
};

struct FrameHitInput {
    // Window rectangle and pointer on the screen, in device pixels; the
    // rectangle's right and bottom edges (x + width, y + height) lie outside it.
    QRect frame;
    QPoint pointer;
    int borderWidth = 5;
    bool resizeable = true;
    bool maximized = false;
    bool horizontallyResizable = true; // minimum width differs from maximum width
    bool verticallyResizable = true;   // minimum height differs from maximum height
    // What the platform's own hit test answers for the point; 0 where there is none.
    int platformResult = HitNowhere;
    double devicePixelRatio = 1.0;
    // The drag area and the children of it that drag too; without a title bar
    // the window cannot be dragged.
    const QWidget *titleBar = nullptr;
    QSet<QWidget *> whiteList;
};

// Resize bands win over everything; a maximised window reports no band at all,
// and a press on the title bar drags unless a child that is not white-listed
// (a button) lies under it.
int frameHitTest(const FrameHitInput &input);

// The edges a border code resizes; none for any other code.
Qt::Edges edgesOfHit(int code);

// A window rectangle dragged at `edges` by `delta` from `start`, kept within
// the minimum and maximum sizes with the opposite edges held in place; used
// where the platform cannot resize a window itself.
QRect resizedFrame(const QRect &start, Qt::Edges edges, const QPoint &delta, const QSize &minimum,
                   const QSize &maximum);
