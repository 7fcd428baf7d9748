// SPDX-License-Identifier: GPL-3.0-or-later
// OkWidget: a green disc with a white tick that marks a finished export.
#pragma once

#include <QWidget>

class OkWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OkWidget(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
