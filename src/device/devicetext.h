// SPDX-License-Identifier: GPL-3.0-or-later
// The logger's name as text: the one way it is read from and stored in the configuration record.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QByteArray>
#include <QString>

// The logger holds its name as UTF-8, up to 20 bytes, in the record's 21-byte
// field. The note travels beside the record as GBK bytes: decodeNote and
// encodeNote (protocol.h) read and write it.
constexpr int deviceNameBytes = 20;

// The name in `config`: its UTF-8 bytes up to the first NUL.
QString deviceName(const OneConfigCmdStruct &config);
// Stores `name` in `config` as UTF-8, cut between characters to what the
// logger holds; the rest of the field is zeroed. Returns whether all of it fit.
bool setDeviceName(OneConfigCmdStruct &config, const QString &name);

// The longest start of `text` whose UTF-8 form fits in `maxBytes` without
// splitting a character.
QByteArray utf8Prefix(const QString &text, int maxBytes);
