// SPDX-License-Identifier: GPL-3.0-or-later
// AnalysisJson: the "analysis" object of `hygra-cli show` and the option values that shape it.
#pragma once

#include "recording/recordinganalysis.h"

#include <QJsonObject>
#include <optional>

class AnalysisJson
{
public:
    // "mktCelsius" (two decimals, null without a valid sample),
    // "activationEnergyKJ", "rangeLow" and "rangeHigh" (°C, null for a side
    // without bound), "timeAboveSeconds", "timeBelowSeconds", "excursions"
    // (side, start, durationSeconds, peakCelsius), "validSamples" and the
    // file's "sha256".
    static QJsonObject toJson(const RecordingAnalysis &analysis, const QString &sha256);

    // "LOW:HIGH" in °C, either side empty for no bound ("2:8", ":8", "2:", ":");
    // nothing when the text is no such range or LOW lies above HIGH.
    static std::optional<TemperatureRange> parseRange(const QString &text);
    // A positive number of kJ/mol; nothing otherwise.
    static std::optional<double> parseActivationEnergy(const QString &text);
};
