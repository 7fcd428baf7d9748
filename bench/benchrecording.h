// SPDX-License-Identifier: GPL-3.0-or-later
// The recording file the figure groups open: a full HX20D memory or larger.
#pragma once

#include <QString>

// Writes an HX20D recording of `count` one-minute samples to `path`: a slow
// daily wave with alarm excursions above 30 °C, and a missing value now and
// then. False when the file cannot be written.
bool writeBenchRecording(const QString &path, int count);
