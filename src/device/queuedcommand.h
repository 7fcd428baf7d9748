// SPDX-License-Identifier: GPL-3.0-or-later
// One entry of the device controller's command queue.
#pragma once

#include "device/simplesendcmdunion.h"

#include <QElapsedTimer>

struct QueuedCommand {
    // Started when the command was queued: its age counts from there, not from
    // its sending, on a monotonic clock that no change of the time of day moves.
    QElapsedTimer age;
    SimpleSendCmdUnion cmd;
};
