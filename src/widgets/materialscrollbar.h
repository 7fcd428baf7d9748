// SPDX-License-Identifier: GPL-3.0-or-later
// MaterialScrollBar: a thin painted scroll bar that fades in under the pointer.
#pragma once

#include <QColor>
#include <QScrollBar>

class MaterialScrollBarStateMachine;

class MaterialScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit MaterialScrollBar(QWidget *parent = nullptr);
    ~MaterialScrollBar() override;

    QSize sizeHint() const override;

    QColor canvasColor() const { return canvas; }
    QColor backgroundColor() const { return background; }
    QColor sliderColor() const { return slider; }
    MaterialScrollBarStateMachine *stateMachine() const { return machine; }

    // The handle's extent along the bar for a bar `length` pixels long:
    // start and length, both in pixels; an empty range has no handle.
    static QPair<double, int> handleSpan(int length, int minimum, int maximum, int pageStep,
                                         int position);

public slots:
    void setCanvasColor(QColor color);
    void setBackgroundColor(QColor color);
    void setSliderColor(QColor color);
    void setHideOnMouseOut(bool value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor canvas{0, 0, 0, 0};
    QColor background{0, 0, 0, 0};
    QColor slider{26, 118, 186};
    bool hideWhenOut = true;
    MaterialScrollBarStateMachine *machine = nullptr;
};
