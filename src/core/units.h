// SPDX-License-Identifier: GPL-3.0-or-later
// The logger's units and missing-value markers, as the protocol, the files and every view count
// them.
#pragma once

// Record intervals and alarm delays count units of this many seconds; the start
// delay counts minutes.
constexpr int intervalUnitSecs = 5;

// The temperature unit of a configuration or a recording (`tempUnit`).
// Temperatures are held as °C whatever the unit; only what is shown converts.
enum TempUnit : int { Celsius = 0, Fahrenheit = 1 };

constexpr double fromCelsius(double celsius, int unit)
{
    return unit == Fahrenheit ? celsius * 1.8 + 32 : celsius;
}

constexpr double toCelsius(double shown, int unit)
{
    return unit == Fahrenheit ? (shown - 32) / 1.8 : shown;
}

// The two bytes E0 E0 stand for a value the logger did not have. Read as a
// signed 16-bit number they give the marker of the temperature fields, read
// unsigned that of the humidity fields.
constexpr int noValueMarker = -7968;
constexpr int noValueMarkerUnsigned = 57568;

// What a decoded sample holds for a value the logger did not have.
constexpr float noSampleTemperature = -1000;
constexpr float noSampleHumidity = -10;
