// SPDX-License-Identifier: GPL-3.0-or-later
// DelaySetWidgetFrom10: picks a record interval of 10 s to 24 h in steps of 5 seconds.
#include "settings/delaysetwidgetfrom10.h"

DelaySetWidgetFrom10::DelaySetWidgetFrom10(QWidget *parent)
    : DelayComboWidget(24, true, true, parent)
{
}

void DelaySetWidgetFrom10::setDelayTime(int seconds)
{
    if (seconds < 10 || seconds > 86400)
        return;
    showTime(seconds / 3600, (seconds % 3600) / 60, seconds % 60 / 5 * 5, seconds);
}
