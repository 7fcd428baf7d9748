// SPDX-License-Identifier: GPL-3.0-or-later
// LimitLine: an alarm limit in force, drawn across a chart as a labelled line.
#include "recording/limitline.h"

#include "core/units.h"
#include "core/utils.h"
#include "recording/recordingsummary.h"

QVector<LimitLine> LimitLine::ofRecording(const ReadDevInfoJson &recording)
{
    using recordingsummary::AlarmKind;
    QVector<LimitLine> lines;
    for (const recordingsummary::AlarmRowLayout &row :
         recordingsummary::alarmRowLayouts(recording.isContainHum)) {
        const AlertDataJson &alarm = recordingsummary::alarmOf(recording, row);
        const bool humidity =
            row.kind == AlarmKind::HighHumidity || row.kind == AlarmKind::LowHumidity;
        const bool levelOne =
            row.label == QLatin1String("TH1") || row.label == QLatin1String("TL1") || humidity;
        if (!alarm.isOpen || !levelOne)
            continue;
        LimitLine line;
        line.name = row.label;
        line.humidity = humidity;
        line.high = row.kind == AlarmKind::HighTemperature || row.kind == AlarmKind::HighHumidity;
        line.value = alarm.alertValue / (humidity ? 10.0 : 100.0);
        lines.append(line);
    }
    return lines;
}

QVector<LimitLine> LimitLine::distinct(const QVector<QVector<LimitLine>> &sets)
{
    QVector<LimitLine> lines;
    for (const QVector<LimitLine> &set : sets)
        for (const LimitLine &line : set)
            if (!lines.contains(line))
                lines.append(line);
    return lines;
}

double LimitLine::shownValue(int tempUnit) const
{
    return humidity ? value : fromCelsius(value, tempUnit);
}

QString LimitLine::label(int tempUnit) const
{
    const QString shown = humidity ? QString::number(value, 'f', 1) + QStringLiteral("%RH")
                                   : temperatureText(value, tempUnit);
    return name + QLatin1Char(' ') + shown;
}
