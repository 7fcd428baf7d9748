// SPDX-License-Identifier: GPL-3.0-or-later
// DelaySetWidgetFrom10: picks a record interval of 10 s to 24 h in steps of 5 seconds.
#pragma once

#include "settings/delaycombowidget.h"

class DelaySetWidgetFrom10 : public DelayComboWidget
{
    Q_OBJECT
public:
    explicit DelaySetWidgetFrom10(QWidget *parent = nullptr);

    // Shows `seconds` and emits it; a value outside 10 to 86400 changes nothing.
    void setDelayTime(int seconds);
};
