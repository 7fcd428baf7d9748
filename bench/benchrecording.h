// SPDX-License-Identifier: GPL-3.0-or-later
// The recording file the figure groups open: a full HX20D memory or larger.
#pragma once

#include <QString>

// Writes an HX20D recording of `count` one-minute samples to `path`: a slow
// daily wave with alarm excursions above 30 °C, and a missing value now and
// then. The first sample lies `startMinute` minutes after 2024-01-01 00:00,
// and the wave follows the time, so overlapping recordings agree. False when
// the file cannot be written.
bool writeBenchRecording(const QString &path, int count,
                         const QString &serial = QStringLiteral("2311000001"),
                         int startMinute = 0);
