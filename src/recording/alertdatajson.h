// SPDX-License-Identifier: GPL-3.0-or-later
// One alarm of a recording: its threshold setting and the logger's result.
#pragma once

#include <QJsonObject>

class AlertDataJson
{
public:
    bool isOpen = false;
    // Hundredths of °C, or tenths of %RH for the humidity alarms.
    int alertValue = 0;
    // false: a single excursion raises the alarm; true: accumulated time does.
    bool isAccumulate = false;
    // Alarm delay in units of 5 seconds.
    int delayTime = 0;
    // Time in alarm, counted in samples.
    qint64 alertDuration = 0;
    int alertNum = 0;
    bool isAlertFlag = false;

    void toJson(QJsonObject &object) const;
    // Sets the members whose keys are present; the others keep their values.
    void fromJson(const QJsonObject &object);
};
