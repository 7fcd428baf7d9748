// SPDX-License-Identifier: GPL-3.0-or-later
// LimitLine: an alarm limit in force, drawn across a chart as a labelled line.
#pragma once

#include "recording/readdevinfojson.h"

#include <QString>
#include <QVector>

struct LimitLine {
    // "TH1", "TL1", "HH" or "HL".
    QString name;
    // °C for temperature, %RH for humidity.
    double value = 0;
    bool humidity = false;
    bool high = false;

    // The recording's level-1 temperature limits (TH1, TL1: the range its
    // evaluation uses) and, with humidity, HH and HL, each where it is switched on.
    static QVector<LimitLine> ofRecording(const ReadDevInfoJson &recording);
    // The lines of several recordings, each distinct name and value once.
    static QVector<LimitLine> distinct(const QVector<QVector<LimitLine>> &sets);

    // "TH1 30.0℃" in the temperature unit `tempUnit`, "HH 80.0%RH".
    QString label(int tempUnit) const;
    // The value in the temperature unit `tempUnit`; humidity as it is.
    double shownValue(int tempUnit) const;

    bool operator==(const LimitLine &other) const
    {
        return name == other.name && value == other.value && humidity == other.humidity;
    }
};
