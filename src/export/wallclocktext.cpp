// SPDX-License-Identifier: GPL-3.0-or-later
// Fast date and time texts of wall-clock sample times for the export writers.
#include "export/wallclocktext.h"

#include <QDate>
#include <QDateTime>
#include <limits>

namespace
{

constexpr qint64 secsPerDay = 86400;
// Julian day of 1970-01-01.
constexpr qint64 epochJulianDay = 2440588;

qint64 dayOf(qint64 secs)
{
    return secs >= 0 ? secs / secsPerDay : -((-secs + secsPerDay - 1) / secsPerDay);
}

void putDigits(QChar *at, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        at[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
}

// Samples follow each other by seconds or minutes, so most share the
// previous sample's day; each thread keeps the last day's texts.
struct DayTexts {
    qint64 day = std::numeric_limits<qint64>::min();
    QString date;
    QString shortDate;
};
thread_local DayTexts lastDay;

QString slowText(qint64 secs, const char *format)
{
    return QDateTime::fromSecsSinceEpoch(secs, Qt::UTC).toString(QLatin1String(format));
}

} // namespace

namespace wallclocktext
{

QString date(qint64 secs)
{
    if (dayOf(secs) == lastDay.day && !lastDay.date.isEmpty())
        return lastDay.date;
    const QDate day = QDate::fromJulianDay(epochJulianDay + dayOf(secs));
    if (day.year() < 1 || day.year() > 9999)
        return slowText(secs, "yyyy/MM/dd");
    QString text(10, Qt::Uninitialized);
    QChar *c = text.data();
    putDigits(c, day.year(), 4);
    c[4] = u'/';
    putDigits(c + 5, day.month(), 2);
    c[7] = u'/';
    putDigits(c + 8, day.day(), 2);
    if (dayOf(secs) != lastDay.day)
        lastDay = {dayOf(secs), text, QString()};
    else
        lastDay.date = text;
    return text;
}

QString shortDate(qint64 secs)
{
    if (dayOf(secs) == lastDay.day && !lastDay.shortDate.isEmpty())
        return lastDay.shortDate;
    const QDate day = QDate::fromJulianDay(epochJulianDay + dayOf(secs));
    if (day.year() < 1 || day.year() > 9999)
        return slowText(secs, "yy/MM/dd");
    QString text(8, Qt::Uninitialized);
    QChar *c = text.data();
    putDigits(c, day.year() % 100, 2);
    c[2] = u'/';
    putDigits(c + 3, day.month(), 2);
    c[5] = u'/';
    putDigits(c + 6, day.day(), 2);
    if (dayOf(secs) != lastDay.day)
        lastDay = {dayOf(secs), QString(), text};
    else
        lastDay.shortDate = text;
    return text;
}

QString time(qint64 secs)
{
    const int ofDay = int(secs - dayOf(secs) * secsPerDay);
    QString text(8, Qt::Uninitialized);
    QChar *c = text.data();
    putDigits(c, ofDay / 3600, 2);
    c[2] = u':';
    putDigits(c + 3, ofDay % 3600 / 60, 2);
    c[5] = u':';
    putDigits(c + 6, ofDay % 60, 2);
    return text;
}

} // namespace wallclocktext
