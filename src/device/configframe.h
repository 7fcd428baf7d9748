// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration record on the wire: the 0x13/0x01 write frame and the 0x13 answer.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QByteArray>

constexpr int minConfigAnswerLength = 71;

QByteArray encodeConfigFrame(const OneConfigCmdStruct &config, int model);
// `frame` is at least minConfigAnswerLength bytes.
OneConfigCmdStruct decodeConfigFrame(const QByteArray &frame, int model);
