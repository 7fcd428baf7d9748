// SPDX-License-Identifier: GPL-3.0-or-later
// Small shared functions: file names, duration and temperature texts, unit
// conversion, wall-clock time, bit and byte decoding, folder creation.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

QString timeStampedName(const QString &suffix);
QString recordingFileName(int model, const QString &suffix);
// `fileName` when no such file (or link) exists in `folder`, otherwise the
// first free name with "_2", "_3", ... before the suffix. Another program may
// take it the next moment: NewFile names new files without that race.
QString freeFileName(const QString &folder, const QString &fileName);

QString durationText(qint64 seconds);
QString temperatureText(double celsius, int unit);
// "℃" or "℉", the unit symbol the views and reports write after a temperature.
QString temperatureUnitSymbol(int unit);

// The local reading of a date-time taken as if it were UTC. Loggers keep local
// wall-clock time without daylight saving, so sample times are compared and
// shown in this space. A time inside a daylight-saving gap counts as it reads;
// a null date-time gives 0.
qint64 wallClockMs(const QDateTime &dateTime);
qint64 wallClockSecs(const QDateTime &dateTime);

// Makes sure the parent folder of `path` exists; the caller creates `path`.
void ensureFolder(const QString &path);

int bitOf(uint8_t byte, int n);
void setBitOf(uint8_t &byte, int n, bool on);

int readInt16LE(const char *bytes);
int readInt32LE(const char *bytes);
