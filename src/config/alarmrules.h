// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmRules: the level rules of the alarm switches and the ordering of the thresholds.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QtGlobal>
#include <array>

// Rows top to bottom, also the ids of the switches in their button group.
enum AlarmRow { Th3Row, Th2Row, Th1Row, Tl1Row, Tl2Row, Tl3Row, HhRow, HlRow, AlarmRowCount };

class AlarmRules
{
public:
    using OpenStates = std::array<bool, AlarmRowCount>;

    // The alarm setting of `row` in `config`.
    static AlertSetting &alert(OneConfigCmdStruct &config, int row);
    static const AlertSetting &alert(const OneConfigCmdStruct &config, int row);
    static OpenStates openStates(const OneConfigCmdStruct &config);

    static bool isTemperature(int row) { return row >= Th3Row && row <= Tl3Row; }
    static bool isHigh(int row) { return row <= Th1Row || row == HhRow; }
    // Object-name stem of a row: "th3" … "hl".
    static const char *key(int row);

    // The switch states after a click that set `row` to `checked`: a level-3
    // threshold only goes with both level-2 and level-1 ones, a level-2 one
    // only with both level-1 ones.
    static OpenStates afterClick(OpenStates open, int row, bool checked);

    // A temperature threshold of `row` entered as `celsius`, moved onto the
    // stored neighbour it would cross (upper bound first).
    static double boundedTemperature(const OneConfigCmdStruct &config, int row, double celsius);
    // The same for the humidity rows, in %RH.
    static double boundedHumidity(const OneConfigCmdStruct &config, int row, double value);

    // A displayed temperature in `unit` as °C.
    static double celsiusOf(double shown, int unit);
    // °C as stored hundredths, rounded to the nearest: truncating would store
    // 36.6 as 3659, since 36.6 has no exact binary form.
    static int hundredths(double celsius) { return qRound(celsius * 100.0); }
    // Hundredths of °C as shown in `unit`.
    static double shownTemperature(int stored, int unit);
    // What a switched-off row shows, in its display unit.
    static double offValue(int row, int unit);
};
