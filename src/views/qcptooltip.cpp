// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's tooltip item: time and value of the sample under the mouse.
#include "views/qcptooltip.h"

#include "views/datagraph.h"

namespace
{

// A brush or pen draws something when it has a style and a visible colour.
bool paints(const QBrush &brush)
{
    return brush.style() != Qt::NoBrush && brush.color().alpha() != 0;
}

bool paints(const QPen &pen)
{
    return pen.style() != Qt::NoPen && pen.color().alpha() != 0;
}

// How far from a drawn point the pointer still hovers it: the graph's pen
// width and the larger of the selection tolerance and the scatter size.
struct Reach {
    double pen;
    double size;

    QRectF around(const QPointF &p) const
    {
        return QRectF(p.x() - size / 2 - pen, p.y() - size / 2 - pen, size + 2 * pen,
                      size + 2 * pen);
    }
};

Reach reachOf(const QCPGraph *graph, int selectionTolerance)
{
    const QCPScatterStyle scatter = graph->scatterStyle();
    return {scatter.isPenDefined() ? scatter.pen().widthF() : graph->pen().widthF(),
            qMax(double(selectionTolerance), scatter.size())};
}

} // namespace

QCPToolTip::QCPToolTip(QCustomPlot *parentPlot)
    : QCPAbstractItem(parentPlot), position(createPosition(QStringLiteral("position"))),
      mBrush(QColor(220, 220, 220))
{
    position->setType(QCPItemPosition::ptAbsolute);
    setLayer(QStringLiteral("overlay"));
    // The box may reach past the axis rect near its edges.
    setClipToAxisRect(false);
    setVisible(false);
    connect(parentPlot, &QCustomPlot::mouseMove, this, &QCPToolTip::handleTriggerEvent);
    // QCustomPlot has no signal for the pointer leaving it.
    parentPlot->installEventFilter(this);
}

double QCPToolTip::selectTest(const QPointF &, bool, QVariant *) const
{
    return -1;
}

QString QCPToolTip::tipText(qint64 originMs, int intervalSecs, double key, double value,
                            const QString &unit, int alarmSide)
{
    const qint64 ms = originMs + qRound64(double(intervalSecs) * key * 1000.0);
    const QString time =
        QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("MM/dd hh:mm:ss\n"));
    const QString text = QStringLiteral("%1  %2%3").arg(time, QString::number(value, 'f', 1), unit);
    if (alarmSide == 1)
        return text + QStringLiteral("  ") + tr("低于下限");
    if (alarmSide == 2)
        return text + QStringLiteral("  ") + tr("高于上限");
    return text;
}

QPointF QCPToolTip::flipShift(const QPointF &origin, const QSize &box, const QPoint &offset,
                              const QRect &viewport)
{
    QPointF shift;
    if (origin.x() + box.width() + 1 >= viewport.right())
        shift.rx() -= 2 * offset.x() + box.width() + 1;
    if (origin.y() + 2 * (box.height() + 1) >= viewport.bottom())
        shift.ry() -= 2 * offset.y() + box.height() + 1;
    return shift;
}

void QCPToolTip::handleTriggerEvent(QMouseEvent *event)
{
    // A move with a button held drags the view, which shifts only after this
    // signal: a sample found now would not be the one under the pointer.
    if (event->buttons() != Qt::NoButton)
        dismiss();
    else
        hitTest(event->pos());
}

bool QCPToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mParentPlot && event->type() == QEvent::Leave)
        dismiss();
    return QCPAbstractItem::eventFilter(watched, event);
}

void QCPToolTip::hitTest(const QPointF &pos)
{
    for (int i = mParentPlot->graphCount() - 1; i >= 0; --i) {
        QCPGraph *graph = mParentPlot->graph(i);
        if (!graph->realVisibility() || graph->scatterStyle().shape() == QCPScatterStyle::ssNone)
            continue;
        const Reach reach = reachOf(graph, mParentPlot->selectionTolerance());
        QVariant details;
        const double d = graph->selectTest(pos, false, &details);
        if (!(d >= 0 && d < reach.pen + reach.size))
            continue;
        const QCPDataRange range = details.value<QCPDataSelection>().dataRange();
        if (range.isEmpty())
            continue;
        const auto point = graph->data()->at(range.begin());
        const QPointF p = graph->coordsToPixels(point->key, point->value);
        if (!reach.around(p).contains(pos))
            continue;

        const auto *annotated = qobject_cast<DataGraph *>(graph);
        mText = annotated
                    ? tipText(annotated->originMs(), annotated->intervalSecs(), point->key,
                              point->value, annotated->unit(), annotated->alarmSide(point->value))
                    : tipText(0, 0, point->key, point->value, QString());
        mHighlightGraph = graph;
        mHighlightData = *point;
        mHighlightPoint = p;
        mParentPlot->setCursor(Qt::PointingHandCursor);
        position->setPixelPosition(pos);
        setVisible(true);
        layer()->replot();
        emit posChanged(int(point->key));
        return;
    }
    dismiss();
}

bool QCPToolTip::sampleStillUnderPointer()
{
    const QCPGraph *graph = mHighlightGraph.data();
    if (!graph || !graph->realVisibility())
        return false;
    const auto point = graph->data()->findBegin(mHighlightData.key, false);
    if (point == graph->data()->constEnd() || point->key != mHighlightData.key ||
        point->value != mHighlightData.value)
        return false;
    mHighlightPoint = graph->coordsToPixels(point->key, point->value);
    return reachOf(graph, mParentPlot->selectionTolerance())
        .around(mHighlightPoint)
        .contains(position->pixelPosition());
}

void QCPToolTip::withdraw()
{
    mHighlightGraph.clear();
    mParentPlot->setCursor(Qt::ArrowCursor);
    setVisible(false);
}

void QCPToolTip::dismiss()
{
    if (!visible())
        return;
    withdraw();
    layer()->replot();
}

void QCPToolTip::draw(QCPPainter *painter)
{
    // A replot after a resize, zoom, drag or new data may draw another sample
    // at the pointer's last position; only a pointer move may aim at that one.
    // This pass is drawing the overlay already, so hiding needs no replot.
    if (!sampleStillUnderPointer()) {
        withdraw();
        return;
    }
    QCPScatterStyle scatter = mHighlightGraph->scatterStyle();
    scatter.setSize(scatter.size() * 1.2);
    scatter.applyTo(painter, mHighlightGraph->pen());
    scatter.drawShape(painter, mHighlightPoint);

    const QPointF origin = position->pixelPosition() + mOffset;
    painter->translate(origin);
    const QFontMetrics metrics(mFont);
    const QRect textRect =
        metrics.boundingRect(0, 0, 0, 0, int(mTextAlignment | Qt::TextDontClip), mText);
    const QSize box(textRect.width() - 1 + mPadding.left() + mPadding.right(),
                    textRect.height() - 1 + mPadding.top() + mPadding.bottom());
    painter->translate(flipShift(origin, box, mOffset, mParentPlot->viewport()));
    drawBox(painter, box);
}

void QCPToolTip::drawBox(QCPPainter *painter, const QSize &box)
{
    const int q = int(mBorderPen.widthF());
    const QRect frame(-q, -q, box.width() + 2 * q + 1, box.height() + 2 * q + 1);
    if (paints(mBrush) || paints(mBorderPen)) {
        painter->setPen(mBorderPen);
        painter->setBrush(mBrush);
        painter->drawRoundedRect(frame, mRadius.width(), mRadius.height(), Qt::AbsoluteSize);
    }
    const QRect area = frame.adjusted(4, 4, -4, -4);
    const QStringList lines = mText.split(QLatin1Char('\n'));
    painter->setPen(Qt::black);
    if (lines.size() != 2) {
        painter->setFont(mFont);
        painter->drawText(area, int(mTextAlignment), mText);
        return;
    }
    const int half = area.height() / 2;
    painter->setFont(mFont);
    painter->drawText(QRect(area.x(), area.y(), area.width(), half), Qt::AlignCenter, lines.at(0));
    QFont bold = mFont;
    bold.setWeight(QFont::Bold);
    painter->setFont(bold);
    painter->drawText(QRect(area.x(), area.y() + half, area.width(), half), Qt::AlignCenter,
                      lines.at(1));
}
