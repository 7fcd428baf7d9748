// SPDX-License-Identifier: GPL-3.0-or-later
// DelaySimpleSetWidget: picks a start delay of 0 to 4 hours in whole minutes.
#include "settings/delaysimplesetwidget.h"

#include <QtGlobal>

DelaySimpleSetWidget::DelaySimpleSetWidget(QWidget *parent)
    : DelayComboWidget(4, false, false, parent)
{
}

void DelaySimpleSetWidget::setDelayTime(int minutes)
{
    // The combos cannot show more than 04h 00m; a larger byte from the logger
    // would otherwise leave the minute combo without a selection.
    minutes = qBound(0, minutes, 240);
    showTime(minutes / 60, minutes % 60, 0, minutes);
}
