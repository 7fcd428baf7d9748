// SPDX-License-Identifier: GPL-3.0-or-later
// One entry of the device controller's command queue.
#pragma once

#include "device/simplesendcmdunion.h"

#include <QDateTime>

struct QueuedCommand {
    QDateTime enqueuedAt; // UTC; a command's age counts from here, not from its sending
    SimpleSendCmdUnion cmd;
};
