// SPDX-License-Identifier: GPL-3.0-or-later
// DelaySetWidget: picks a duration of 0 s to 24 h in steps of 5 seconds.
#pragma once

#include "settings/delaycombowidget.h"

class DelaySetWidget : public DelayComboWidget
{
    Q_OBJECT
public:
    explicit DelaySetWidget(QWidget *parent = nullptr);

    // Shows `seconds` (anything outside 0 to 86400 as 0) and emits it.
    void setDelayTime(int seconds);
};
