// SPDX-License-Identifier: GPL-3.0-or-later
// AlertSettingJson: one alarm threshold of a preset and its JSON object.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QJsonObject>

class AlertSettingJson
{
public:
    bool isOpen = false;
    // Hundredths of °C for temperature thresholds, tenths of %RH for humidity.
    int alertValue = 0;
    bool isAccumulate = false;
    // Units of 5 seconds.
    int delayTime = 0;

    QJsonObject toJson() const;
    // Takes each member only when its key is present.
    void readJson(const QJsonObject &object);

    static AlertSettingJson fromSetting(const AlertSetting &setting);
    AlertSetting toSetting() const;
};
