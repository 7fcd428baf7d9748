// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmRules: the level rules of the alarm switches and the ordering of the thresholds.
#include "config/alarmrules.h"

#include "config/configfieldranges.h"
#include "core/units.h"

#include <QtGlobal>

namespace
{

double storedBound(const OneConfigCmdStruct &config, int row)
{
    return AlarmRules::alert(config, row).alertValue / 100.0;
}

bool isOn(const OneConfigCmdStruct &config, int row)
{
    return AlarmRules::alert(config, row).isOpen;
}

} // namespace

AlertSetting &AlarmRules::alert(OneConfigCmdStruct &config, int row)
{
    switch (row) {
    case Th3Row:
        return config.th3;
    case Th2Row:
        return config.th2;
    case Th1Row:
        return config.th1;
    case Tl1Row:
        return config.tl1;
    case Tl2Row:
        return config.tl2;
    case Tl3Row:
        return config.tl3;
    case HhRow:
        return config.hh;
    default:
        return config.hl;
    }
}

const AlertSetting &AlarmRules::alert(const OneConfigCmdStruct &config, int row)
{
    return alert(const_cast<OneConfigCmdStruct &>(config), row);
}

AlarmRules::OpenStates AlarmRules::openStates(const OneConfigCmdStruct &config)
{
    OpenStates open{};
    for (int row = 0; row < AlarmRowCount; ++row)
        open[size_t(row)] = alert(config, row).isOpen;
    return open;
}

const char *AlarmRules::key(int row)
{
    static const char *const keys[AlarmRowCount] = {"th3", "th2", "th1", "tl1",
                                                    "tl2", "tl3", "hh",  "hl"};
    return keys[qBound(0, row, AlarmRowCount - 1)];
}

AlarmRules::OpenStates AlarmRules::afterClick(OpenStates open, int row, bool checked)
{
    auto set = [&open](std::initializer_list<int> rows, bool on) {
        for (int r : rows)
            open[size_t(r)] = on;
    };
    switch (row) {
    case Th3Row:
    case Tl3Row:
        if (checked)
            set({Th2Row, Tl2Row, Th1Row, Tl1Row}, true);
        break;
    case Th2Row:
    case Tl2Row:
        if (checked)
            set({Th1Row, Tl1Row}, true);
        else
            set({Th3Row, Tl3Row}, false);
        break;
    case Th1Row:
    case Tl1Row:
        if (!checked)
            set({Th3Row, Tl3Row, Th2Row, Tl2Row}, false);
        break;
    default:
        break;
    }
    open[size_t(row)] = checked;
    return open;
}

double AlarmRules::boundedTemperature(const OneConfigCmdStruct &config, int row, double v)
{
    // Each row's upper and lower neighbour, and whether the bound only holds
    // while that neighbour is switched on.
    struct Bounds {
        int upper;
        bool upperWhenOn;
        int lower;
        bool lowerWhenOn;
    };
    static const Bounds bounds[6] = {
        {-1, false, Th2Row, false},    // th3
        {Th3Row, true, Th1Row, false}, // th2
        {Th2Row, true, Tl1Row, true},  // th1
        {Th1Row, true, Tl2Row, true},  // tl1
        {Tl1Row, true, Tl3Row, true},  // tl2
        {Tl2Row, true, -1, false},     // tl3
    };
    if (!isTemperature(row))
        return v;
    const Bounds &b = bounds[row];
    if (b.upper >= 0 && (!b.upperWhenOn || isOn(config, b.upper))) {
        const double upper = storedBound(config, b.upper);
        if (v > upper)
            v = upper;
    }
    if (b.lower >= 0 && (!b.lowerWhenOn || isOn(config, b.lower))) {
        const double lower = storedBound(config, b.lower);
        if (v < lower)
            v = lower;
    }
    return v;
}

double AlarmRules::boundedHumidity(const OneConfigCmdStruct &config, int row, double v)
{
    if (row == HhRow && config.hl.isOpen) {
        const double lower = config.hl.alertValue / 10.0;
        if (v < lower)
            v = lower;
    } else if (row == HlRow && config.hh.isOpen) {
        const double upper = config.hh.alertValue / 10.0;
        if (v > upper)
            v = upper;
    }
    return v;
}

double AlarmRules::celsiusOf(double shown, int unit)
{
    return toCelsius(shown, unit);
}

double AlarmRules::shownTemperature(int stored, int unit)
{
    return fromCelsius(stored / 100.0, unit);
}

double AlarmRules::offValue(int row, int unit)
{
    if (row == HhRow)
        return 100;
    if (row == HlRow)
        return 0;
    const ConfigFieldRanges::Range range = ConfigFieldRanges::temperatureThreshold;
    return shownTemperature(int(isHigh(row) ? range.high : range.low), unit);
}
