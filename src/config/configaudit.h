// SPDX-License-Identifier: GPL-3.0-or-later
// What an audit entry records of a configuration write: each changed field's old and new value.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QJsonObject>
#include <QString>

namespace configaudit
{
// {"field": {"old": …, "new": …}, …} for every field of the configuration
// (by its key in ConfigJson; an alarm's members as "th1.alertValue") whose
// value differs; temperatures in hundredths of °C. The note is left out: it
// is written, and recorded, on its own.
QJsonObject changes(const OneConfigCmdStruct &before, const OneConfigCmdStruct &after);

// The details of a `config-write` entry: the changes, and whether the write
// erased the recording the logger held.
QJsonObject writeDetails(const OneConfigCmdStruct &before, const OneConfigCmdStruct &after,
                         bool erasedRecording);
// The details of a `note-write` entry.
QJsonObject noteDetails(const QString &before, const QString &after);
} // namespace configaudit
