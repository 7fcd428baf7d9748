// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the chart: one zoom or drag step while a full HX20D memory (64,512 samples) is shown.
#include "benchrecording.h"
#include "benchregistry.h"
#include "recording/recordingreader.h"
#include "views/cpaxistickerdatetime.h"
#include "views/datachartwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <qcustomplot.h>

namespace
{

constexpr int steps = 40;
// Steps before the timed ones, so caches and the heap have settled.
constexpr int warmUps = 4;
// One wheel notch.
constexpr int notch = 120;
// How far one mouse move drags, in pixels.
constexpr int dragStep = 12;

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }
    int paints() const { return mPaints; }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++mPaints;
        return false;
    }

private:
    int mPaints = 0;
};

// Milliseconds from handing `event` to the plot until the plot has painted
// what it changed, or -1 when it did not paint.
double timeUntilPainted(QCustomPlot *plot, const PaintCounter &counter, QEvent *event)
{
    const int before = counter.paints();
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(plot, event);
    while (counter.paints() == before && timer.elapsed() < 1000)
        QApplication::processEvents();
    return counter.paints() == before ? -1 : timer.nsecsElapsed() / 1e6;
}

// A wheel notch in, a drag move, a notch out and a drag move back, as the
// user does them, each timed until it is painted: the range change, the
// replot and the paint. The view stays around the whole recording, where the
// most samples are drawn.
double medianStepMs(QCustomPlot *plot)
{
    PaintCounter counter(plot);
    const QPoint centre = plot->axisRect()->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, plot->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &press);
    QVector<double> times;
    for (int i = 0; i < warmUps + steps; ++i) {
        double ms = 0;
        if (i % 2 == 0) {
            QWheelEvent wheel(centre, plot->mapToGlobal(centre), QPoint(),
                              QPoint(0, i % 4 == 0 ? notch : -notch), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            ms = timeUntilPainted(plot, counter, &wheel);
        } else {
            const QPoint at = centre + QPoint(i % 4 == 1 ? dragStep : 0, 0);
            QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            ms = timeUntilPainted(plot, counter, &move);
        }
        if (ms < 0)
            return -1;
        if (i >= warmUps)
            times.append(ms);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, centre, plot->mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &release);
    return median(times);
}

// The chart's graphs drawn by plain QCPGraphs of QCustomPlot with the same
// data, pens, scatter styles and interactions in a plot of the same size:
// the way the library draws them by itself.
void copyChart(DataChartWidget &chart, QCustomPlot &plain)
{
    QCustomPlot *plot = chart.plot();
    plain.resize(plot->size());
    plain.yAxis2->setVisible(true);
    plain.xAxis->setTicker(chart.ticker());
    for (int i = 0; i < plot->graphCount(); ++i) {
        const QCPGraph *from = plot->graph(i);
        const bool humidity = from->valueAxis() == plot->yAxis2;
        auto *graph = new QCPGraph(humidity ? plain.xAxis2 : plain.xAxis,
                                   humidity ? plain.yAxis2 : plain.yAxis);
        graph->setData(from->data());
        graph->setPen(from->pen());
        graph->setLineStyle(from->lineStyle());
        graph->setScatterStyle(from->scatterStyle());
    }
    for (QCPAxis *axis : plot->axisRect()->axes())
        plain.axisRect()->axis(axis->axisType())->setRange(axis->range());
    plain.setInteractions(plot->interactions());
    plain.axisRect()->setRangeZoomAxes(plain.xAxis, nullptr);
    plain.axisRect()->setRangeDragAxes(plain.xAxis, plain.yAxis);
}

void chartFigures(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HX20D_64512.data"));
    if (!writeBenchRecording(path, 64512))
        return;
    const LoadedRecording loaded = RecordingReader::read(path);
    if (!loaded.ok())
        return;

    // The chart page alone in the main window's default size: a larger plot
    // than the window gives it, so the figure errs on the slow side.
    DataChartWidget chart;
    chart.resize(1280, 720);
    chart.show();
    chart.showRecording(loaded.samples, loaded.recording, true);
    chart.restoreView();
    QApplication::processEvents();

    QCustomPlot plain;
    copyChart(chart, plain);
    plain.show();
    QApplication::processEvents();

    print(QStringLiteral("replot_64512_ms"), medianStepMs(chart.plot()), QStringLiteral("ms"));
    print(QStringLiteral("replot_64512_plain_qcustomplot_baseline_ms"), medianStepMs(&plain),
          QStringLiteral("ms"));
}

const bool registered = registerFigureGroup("chart", &chartFigures);

} // namespace
