// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigFieldRanges: the values of each configuration field that the settings form writes.
#include "config/configfieldranges.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace
{

using Range = ConfigFieldRanges::Range;

// Whether the field type `T` holds every value of `range`.
template <typename T> constexpr bool fits(Range range)
{
    return range.low >= std::numeric_limits<T>::min() &&
           range.high <= std::numeric_limits<T>::max();
}

// A threshold travels as its low 16 bits, read back signed for temperatures.
static_assert(fits<int16_t>(ConfigFieldRanges::temperatureThreshold));
static_assert(fits<uint16_t>(ConfigFieldRanges::humidityThreshold));
static_assert(fits<decltype(AlertSetting::delayTime)>(ConfigFieldRanges::alarmDelay));
static_assert(
    fits<decltype(OneConfigCmdStruct::recordInterval)>(ConfigFieldRanges::recordInterval));
static_assert(fits<decltype(OneConfigCmdStruct::startDelayTime)>(ConfigFieldRanges::startDelay));
static_assert(fits<decltype(OneConfigCmdStruct::screenDisplayTime)>(ConfigFieldRanges::screenOff));
// The start mode travels as one byte.
static_assert(fits<uint8_t>(ConfigFieldRanges::startMode));
static_assert(fits<decltype(OneConfigCmdStruct::sensorType)>(ConfigFieldRanges::sensorType));

} // namespace

ConfigFieldRanges::Range ConfigFieldRanges::threshold(const char *key)
{
    const bool humidity = std::strcmp(key, "hh") == 0 || std::strcmp(key, "hl") == 0;
    return humidity ? humidityThreshold : temperatureThreshold;
}
