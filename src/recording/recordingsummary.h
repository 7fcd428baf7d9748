// SPDX-License-Identifier: GPL-3.0-or-later
// What the summary panel and the report's first page both derive from a recording header.
#pragma once

#include "recording/readdevinfojson.h"

#include <QString>
#include <QVector>

class QDateTime;

namespace recordingsummary
{

enum class AlarmKind { HighTemperature, LowTemperature, HighHumidity, LowHumidity };

// One row of the alarm table: its label and the header member it shows.
struct AlarmRowLayout {
    // "TH3", "TH2", "TH1", "TL1", "TL2", "TL3", "HH", "HL".
    QString label;
    AlarmKind kind;
    const AlertDataJson ReadDevInfoJson::*alarm;
};

// The rows in the order both show them. A recording keeps the temperature
// levels in the opposite order to the configuration under the same keys, so
// the row labelled TH3 shows the member `th1` and TL1 the member `tl3`. The
// humidity rows come last and only with humidity.
QVector<AlarmRowLayout> alarmRowLayouts(bool withHumidity);

inline const AlertDataJson &alarmOf(const ReadDevInfoJson &recording, const AlarmRowLayout &row)
{
    return recording.*row.alarm;
}

// A statistic or start/stop temperature the logger did not have (E0 E0).
bool isTemperatureMissing(int temperature);
// Humidity statistics are stored signed or unsigned, so both markers occur.
bool isHumidityMissing(int humidity);

// "yyyy/MM/dd hh:mm:ss" of a header time as the logger recorded it, also when
// it falls into a daylight-saving gap of the computer's zone.
QString timeText(const QDateTime &time);

// A statistic: with humidity "<temperature>  <humidity>%RH", or `missingPair`
// when either value is missing; without, the temperature or "---".
QString statisticText(int temperature, int humidity, bool withHumidity, int tempUnit,
                      const QString &missingPair = QStringLiteral("---  ---"));

} // namespace recordingsummary
