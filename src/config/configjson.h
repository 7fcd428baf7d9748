// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigJson: the logger's configuration record and note as a JSON object, and back.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QJsonObject>
#include <QString>

// Keys are the record's member names, plus "note"; date-times are ISO texts
// ("2026-12-09T08:00:00", the logger's local time; empty for the zeros of an
// unset time), the firmware version a dotted text and each alarm an object
// with isOpen, alertValue, isAccumulate and delayTime.
class ConfigJson
{
public:
    static QJsonObject toJson(const OneConfigCmdStruct &config, const QString &note);

    // Sets the members whose keys are present in `object` and leaves the others,
    // so a file may change a single field of the configuration just read. Values
    // of the wrong type or outside what the settings form writes (ConfigFieldRanges),
    // a name the form would refuse and a note longer than 104 GBK bytes or with
    // characters GBK lacks are refused: false, with `error` naming the key and
    // the range, and nothing changed.
    // A name or number equal to the one in `config` is taken as it is, as the
    // form writes back what it loaded. The firmware version and the controller's
    // own fields are never taken.
    static bool apply(const QJsonObject &object, OneConfigCmdStruct *config, QString *note,
                      QString *error);

};
