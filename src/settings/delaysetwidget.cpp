// SPDX-License-Identifier: GPL-3.0-or-later
// DelaySetWidget: picks a duration of 0 s to 24 h in steps of 5 seconds.
#include "settings/delaysetwidget.h"

DelaySetWidget::DelaySetWidget(QWidget *parent) : DelayComboWidget(24, true, false, parent) {}

void DelaySetWidget::setDelayTime(int seconds)
{
    if (seconds < 0 || seconds > 86400)
        seconds = 0;
    showTime(seconds / 3600, (seconds % 3600) / 60, seconds % 60 / 5 * 5, seconds);
}
