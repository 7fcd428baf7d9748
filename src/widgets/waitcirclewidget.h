// SPDX-License-Identifier: GPL-3.0-or-later
// WaitCircleWidget: a ring of white dots whose largest dot runs clockwise.
#pragma once

#include <QVector>
#include <QWidget>

class QTimer;

class WaitCircleWidget : public QWidget
{
    Q_OBJECT
public:
    explicit WaitCircleWidget(QWidget *parent = nullptr);

    // Index of the leading dot; moves one dot clockwise every 150 ms.
    int head() const { return leading; }
    // Dot offsets from the ring's centre, clockwise from the top.
    QVector<QPoint> points() const { return dots; }

    // Rectangle of the dot at `point` for a widget of `size`; `rank` 0 is the
    // leading dot (18 px), 1 the one behind it (16 px), others are 14 px.
    static QRect dotRect(const QSize &size, const QPoint &point, int rank);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void advance();

    QTimer *timer = nullptr;
    int leading = 4;
    QVector<QPoint> dots;
    int radius = 30;
    int count = 8;
};
