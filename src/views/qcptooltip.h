// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's tooltip item: time and value of the sample under the mouse.
#pragma once

#include <QMargins>
#include <QPointer>
#include <qcustomplot.h>

class DataGraph;

// Lives on the "overlay" layer and never takes clicks. Each mouse move (and,
// with auto-track, each redraw) looks for a sample point under the position,
// testing the graphs from the last added to the first so the alarm points win
// over the series they sit on.
class QCPToolTip : public QCPAbstractItem
{
    Q_OBJECT
public:
    explicit QCPToolTip(QCustomPlot *parentPlot);

    QCPItemPosition *const position;

    QString text() const { return mText; }
    QCPGraph *highlightedGraph() const { return mHighlightGraph.data(); }

    double selectTest(const QPointF &pos, bool onlySelectable,
                      QVariant *details = nullptr) const override;

    // "MM/dd hh:mm:ss\n" of the key's wall-clock time, two spaces, the value
    // with one decimal and the unit.
    static QString tipText(qint64 originMs, int intervalSecs, double key, double value,
                           const QString &unit);
    // Where the box's top-left goes relative to the mouse-plus-offset point:
    // to the left of the mouse when it would reach the viewport's right edge,
    // above it when it would reach the bottom.
    static QPointF flipShift(const QPointF &origin, const QSize &box, const QPoint &offset,
                             const QRect &viewport);

signals:
    void posChanged(int pos);

public slots:
    void handleTriggerEvent(QMouseEvent *event);

protected:
    void draw(QCPPainter *painter) override;

private:
    // From a redraw, the overlay is not replotted and posChanged is emitted
    // only when the hovered sample changed.
    void hitTest(const QPointF &pos, bool fromRedraw);
    void drawBox(QCPPainter *painter, const QSize &box);

    const bool mAutoTrack = true;
    QString mText;
    Qt::Alignment mTextAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QFont mFont;
    QPen mBorderPen = Qt::NoPen;
    QBrush mBrush;
    QSizeF mRadius{6, 6};
    QPoint mOffset{20, 20};
    QMargins mPadding{6, 6, 6, 6};
    QPointer<QCPGraph> mHighlightGraph;
    QPointF mHighlightPoint;
    int mLastKey = -1;
};
