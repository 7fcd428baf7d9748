// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's tooltip item: time and value of the sample under the mouse.
#pragma once

#include <QMargins>
#include <QPointer>
#include <qcustomplot.h>

class DataGraph;

// Lives on the "overlay" layer and never takes clicks. Only a pointer move
// over the plot aims it: the move looks for a sample point under the pointer,
// testing the graphs from the last added to the first so the alarm points win
// over the series they sit on. It goes when the pointer leaves the plot, while
// a button drags the view, and when a replot (resize, zoom, drag, new data)
// has moved its sample away from the pointer; a replot never aims it at
// another sample.
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
    // with one decimal and the unit; for an alarm point (`alarmSide` 1 below,
    // 2 above) the limit it passed.
    static QString tipText(qint64 originMs, int intervalSecs, double key, double value,
                           const QString &unit, int alarmSide = 0);
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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hitTest(const QPointF &pos);
    // Whether the highlighted sample is still shown under the stored pointer
    // position; moves the highlight to where the sample is drawn now.
    bool sampleStillUnderPointer();
    // Hides the tooltip and gives the plot its arrow cursor back.
    void withdraw();
    // Withdraws a shown tooltip and redraws the overlay without it.
    void dismiss();
    void drawBox(QCPPainter *painter, const QSize &box);

    QString mText;
    Qt::Alignment mTextAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QFont mFont;
    QPen mBorderPen = Qt::NoPen;
    QBrush mBrush;
    QSizeF mRadius{6, 6};
    QPoint mOffset{20, 20};
    QMargins mPadding{6, 6, 6, 6};
    QPointer<QCPGraph> mHighlightGraph;
    QCPGraphData mHighlightData;
    QPointF mHighlightPoint;
};
