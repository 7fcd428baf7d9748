// SPDX-License-Identifier: GPL-3.0-or-later
// What the summary panel and the report's first page both derive from a recording header.
#include "recording/recordingsummary.h"

#include "core/units.h"
#include "core/utils.h"

#include <QDateTime>

namespace recordingsummary
{

QVector<AlarmRowLayout> alarmRowLayouts(bool withHumidity)
{
    QVector<AlarmRowLayout> rows = {
        {QStringLiteral("TH3"), AlarmKind::HighTemperature, &ReadDevInfoJson::th1},
        {QStringLiteral("TH2"), AlarmKind::HighTemperature, &ReadDevInfoJson::th2},
        {QStringLiteral("TH1"), AlarmKind::HighTemperature, &ReadDevInfoJson::th3},
        {QStringLiteral("TL1"), AlarmKind::LowTemperature, &ReadDevInfoJson::tl3},
        {QStringLiteral("TL2"), AlarmKind::LowTemperature, &ReadDevInfoJson::tl2},
        {QStringLiteral("TL3"), AlarmKind::LowTemperature, &ReadDevInfoJson::tl1},
    };
    if (withHumidity) {
        rows.append({QStringLiteral("HH"), AlarmKind::HighHumidity, &ReadDevInfoJson::hh});
        rows.append({QStringLiteral("HL"), AlarmKind::LowHumidity, &ReadDevInfoJson::hl});
    }
    return rows;
}

bool isTemperatureMissing(int temperature)
{
    return temperature == noValueMarker;
}

bool isHumidityMissing(int humidity)
{
    return humidity == noValueMarker || humidity == noValueMarkerUnsigned;
}

QString timeText(const QDateTime &time)
{
    // Formatted from the date and time as they read: in a daylight-saving gap
    // of the local zone QDateTime is invalid and would format as nothing.
    if (!time.date().isValid())
        return QString();
    return QDateTime(time.date(), time.time(), Qt::UTC)
        .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QString statisticText(int temperature, int humidity, bool withHumidity, int tempUnit,
                      const QString &missingPair)
{
    if (!withHumidity)
        return isTemperatureMissing(temperature) ? QStringLiteral("---")
                                                 : temperatureText(temperature / 100.0, tempUnit);
    if (isTemperatureMissing(temperature) || isHumidityMissing(humidity))
        return missingPair;
    return QStringLiteral("%1  %2%RH")
        .arg(temperatureText(temperature / 100.0, tempUnit),
             QString::number(humidity / 10.0, 'f', 1));
}

} // namespace recordingsummary
