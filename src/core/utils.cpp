// SPDX-License-Identifier: GPL-3.0-or-later
// Small shared functions used across the application.
#include "core/utils.h"

#include "core/lgxdevtype.h"
#include "core/units.h"

#include <QDir>
#include <QFileInfo>

namespace
{
const char *const stampFormat = "yyyyMMdd_hhmmss";
}

QString timeStampedName(const QString &suffix)
{
    return QDateTime::currentDateTime().toString(stampFormat) + suffix;
}

QString recordingFileName(int model, const QString &suffix)
{
    return modelName(model) + QLatin1Char('_') + timeStampedName(suffix);
}

QString freeFileName(const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    // A link to nothing holds its name too.
    const auto taken = [&dir](const QString &name) {
        const QFileInfo file(dir.filePath(name));
        return file.exists() || file.isSymLink();
    };
    if (!taken(fileName))
        return fileName;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? fileName : fileName.left(dot);
    const QString suffix = dot < 0 ? QString() : fileName.mid(dot);
    for (int i = 2;; ++i) {
        const QString candidate = QStringLiteral("%1_%2%3").arg(stem).arg(i).arg(suffix);
        if (!taken(candidate))
            return candidate;
    }
}

QString durationText(qint64 seconds)
{
    const qint64 d = seconds / 86400;
    const qint64 r = seconds % 86400;
    const qint64 h = r / 3600;
    const qint64 m = (r % 3600) / 60;
    const qint64 s = r % 60;
    if (d > 0)
        return QStringLiteral("%1d %2h %3m %4s").arg(d).arg(h).arg(m).arg(s);
    if (h > 0)
        return QStringLiteral("%1h %2m %3s").arg(h).arg(m).arg(s);
    if (m > 0)
        return QStringLiteral("%1m %2s").arg(m).arg(s);
    return QStringLiteral("%1s").arg(s);
}

QString temperatureText(double celsius, int unit)
{
    if (unit == Fahrenheit)
        return QString::number(fromCelsius(celsius, unit), 'f', 1) + QStringLiteral("°F");
    return QString::number(celsius, 'f', 1) + QStringLiteral("℃");
}

QString temperatureUnitSymbol(int unit)
{
    return unit == Fahrenheit ? QStringLiteral("℉") : QStringLiteral("℃");
}

qint64 wallClockMs(const QDateTime &dateTime)
{
    // From the date and time as they read: a logger's time may fall into a
    // daylight-saving gap of the local zone, where QDateTime is invalid but
    // still holds both.
    if (!dateTime.date().isValid() || !dateTime.time().isValid())
        return 0;
    return QDateTime(dateTime.date(), dateTime.time(), Qt::UTC).toMSecsSinceEpoch();
}

qint64 wallClockSecs(const QDateTime &dateTime)
{
    return wallClockMs(dateTime) / 1000;
}

void ensureFolder(const QString &path)
{
    if (QDir(path).exists())
        return;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return;
    const QString parent = path.left(slash);
    ensureFolder(parent);
    QDir().mkpath(parent);
}

int bitOf(uint8_t byte, int n)
{
    return (byte >> n) & 1;
}

void setBitOf(uint8_t &byte, int n, bool on)
{
    if (on)
        byte = static_cast<uint8_t>(byte | (1u << n));
    else
        byte = static_cast<uint8_t>(byte & ~(1u << n));
}

int readInt16LE(const char *bytes)
{
    const auto *b = reinterpret_cast<const uint8_t *>(bytes);
    return static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
}

int readInt32LE(const char *bytes)
{
    const auto *b = reinterpret_cast<const uint8_t *>(bytes);
    return static_cast<int32_t>(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                                (uint32_t(b[3]) << 24));
}
