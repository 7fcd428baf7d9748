// SPDX-License-Identifier: GPL-3.0-or-later
// The working alarm limits of a recording and the classification of one sample against them.
#include "recording/alarmlimits.h"

#include "recording/readdevinfojson.h"

namespace
{

float limitOf(const AlertDataJson &alert, float scale, float closedLimit)
{
    return alert.isOpen ? float(alert.alertValue) / scale : closedLimit;
}

} // namespace

AlarmLimits AlarmLimits::fromRecording(const ReadDevInfoJson &recording)
{
    const AlarmLimits closed;
    AlarmLimits limits;
    limits.th1 = limitOf(recording.th1, 100, closed.th1);
    limits.th2 = limitOf(recording.th2, 100, closed.th2);
    limits.th3 = limitOf(recording.th3, 100, closed.th3);
    limits.tl1 = limitOf(recording.tl1, 100, closed.tl1);
    limits.tl2 = limitOf(recording.tl2, 100, closed.tl2);
    limits.tl3 = limitOf(recording.tl3, 100, closed.tl3);
    limits.hh = limitOf(recording.hh, 10, closed.hh);
    limits.hl = limitOf(recording.hl, 10, closed.hl);
    return limits;
}
