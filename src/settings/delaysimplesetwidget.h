// SPDX-License-Identifier: GPL-3.0-or-later
// DelaySimpleSetWidget: picks a start delay of 0 to 4 hours in whole minutes.
#pragma once

#include "settings/delaycombowidget.h"

class DelaySimpleSetWidget : public DelayComboWidget
{
    Q_OBJECT
public:
    explicit DelaySimpleSetWidget(QWidget *parent = nullptr);

    // Shows `minutes` and emits it; values beyond 4 h show and emit 240,
    // negative ones 0.
    void setDelayTime(int minutes);
};
