// SPDX-License-Identifier: GPL-3.0-or-later
// MaterialScrollBar: a thin painted scroll bar that fades in under the pointer.
#include "widgets/materialscrollbar.h"

#include "widgets/materialscrollbarstatemachine.h"

#include <QPainter>
#include <QPainterPath>

MaterialScrollBar::MaterialScrollBar(QWidget *parent) : QScrollBar(parent)
{
    machine = new MaterialScrollBarStateMachine(this);
    setMouseTracking(true);
    setStyleSheet(QStringLiteral("QScrollBar:vertical { margin: 0; }"
                                 "QScrollBar::add-line:vertical { height: 0; margin: 0; }"
                                 "QScrollBar::sub-line:vertical { height: 0; margin: 0; }"));
    machine->start();
}

MaterialScrollBar::~MaterialScrollBar()
{
    machine->stop();
    delete machine;
}

QSize MaterialScrollBar::sizeHint() const
{
    return orientation() == Qt::Horizontal ? QSize(1, 10) : QSize(10, 1);
}

QPair<double, int> MaterialScrollBar::handleSpan(int length, int minimum, int maximum, int pageStep,
                                                 int position)
{
    const int units = pageStep + maximum - minimum - 1;
    if (units <= 0)
        return {0.0, 0};
    const double scale = static_cast<double>(length) / units;
    return {scale * (position - minimum), static_cast<int>(pageStep * scale)};
}

void MaterialScrollBar::setCanvasColor(QColor color)
{
    canvas = color;
    update();
}

void MaterialScrollBar::setBackgroundColor(QColor color)
{
    background = color;
    update();
}

void MaterialScrollBar::setSliderColor(QColor color)
{
    slider = color;
    update();
}

void MaterialScrollBar::setHideOnMouseOut(bool value)
{
    hideWhenOut = value;
    update();
}

void MaterialScrollBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), canvas);

    if (hideWhenOut)
        painter.setOpacity(machine->opacity());

    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 3, 3);
    painter.setClipPath(clip);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRect(rect());

    const bool horizontal = orientation() == Qt::Horizontal;
    const auto span = handleSpan(horizontal ? width() : height(), minimum(), maximum(), pageStep(),
                                 sliderPosition());
    if (span.second <= 0)
        return;
    const QRectF handle = horizontal ? QRectF(span.first, 0, span.second, height())
                                     : QRectF(0, span.first, width(), span.second);
    painter.setBrush(slider);
    painter.drawRoundedRect(handle, 9, 9);
}
