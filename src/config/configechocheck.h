// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigEchoCheck: compares the logger's echo of a configuration write with what was sent.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QString>

class ConfigEchoCheck
{
public:
    // The debug line naming the first field in which `echo` differs from
    // `sent` (for example "check devId err 5 6"), or an empty text when every
    // compared field matches. The clock, the sensor type and the firmware
    // version are not compared.
    static QString firstDifference(const OneConfigCmdStruct &sent, const OneConfigCmdStruct &echo);
};
