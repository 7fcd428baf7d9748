// SPDX-License-Identifier: GPL-3.0-or-later
// EvaluationSettings: the temperature range and activation energy a user chose for one logger.
#pragma once

#include <QString>
#include <QtGlobal>

struct EvaluationSettings {
    // The logger's serial number; empty when none is stored for it.
    QString serial;
    // °C; low < high.
    double low = 0;
    double high = 0;
    double activationEnergyKJ = 0;
    // Wall-clock seconds of the last change.
    qint64 changedAt = 0;

    bool isSet() const { return !serial.isEmpty(); }
};
