// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's horizontal-axis ticker: sample numbers labelled with their date and time.
#include "views/cpaxistickerdatetime.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double secondsPerYear = 31557600;
constexpr double secondsPerMonth = 2629800;
constexpr double secondsPerDay = 86400;

double closestOf(double target, const QVector<double> &candidates)
{
    const auto it = std::lower_bound(candidates.cbegin(), candidates.cend(), target);
    if (it == candidates.cend())
        return *(it - 1);
    if (it == candidates.cbegin())
        return *it;
    return target - *(it - 1) < *it - target ? *(it - 1) : *it;
}

} // namespace

CPAxisTickerDateTime::CPAxisTickerDateTime()
    : mDateTimeFormat(QStringLiteral("hh:mm:ss\nyyyy/MM/dd"))
{
}

void CPAxisTickerDateTime::setTimeZone(const QTimeZone &zone)
{
    mTimeZone = zone;
    mDateTimeSpec = Qt::TimeZone;
}

void CPAxisTickerDateTime::setTimeMapping(int intervalSecs, qint64 originMs)
{
    mIntervalSecs = intervalSecs;
    mOriginMs = originMs;
}

double CPAxisTickerDateTime::cleanMantissaStep(double input)
{
    if (!(input > 0))
        return input;
    const double magnitude = std::pow(10.0, std::floor(std::log10(input)));
    return closestOf(input / magnitude, {1.0, 2.0, 2.5, 5.0, 10.0}) * magnitude;
}

double CPAxisTickerDateTime::tickStepFor(double rangeSize, int tickCount, DateStrategy *strategy)
{
    static const QVector<double> steps{1,
                                       2.5,
                                       5,
                                       10,
                                       15,
                                       30,
                                       60,
                                       150,
                                       300,
                                       600,
                                       900,
                                       1800,
                                       3600,
                                       7200,
                                       10800,
                                       21600,
                                       43200,
                                       secondsPerDay,
                                       172800,
                                       432000,
                                       604800,
                                       1209600,
                                       secondsPerMonth,
                                       5259600,
                                       7889400,
                                       15778800,
                                       secondsPerYear};
    const double a = rangeSize / (tickCount + 1e-10);
    *strategy = NoDateStrategy;
    if (a < 1)
        return cleanMantissaStep(a);
    if (a < secondsPerYear) {
        const double step = closestOf(a, steps);
        if (step > secondsPerMonth - 1)
            *strategy = UniformDayInMonth;
        else if (step > secondsPerDay - 1)
            *strategy = UniformTimeInDay;
        return step;
    }
    *strategy = UniformDayInMonth;
    return cleanMantissaStep(a / secondsPerYear) * secondsPerYear;
}

std::optional<int> CPAxisTickerDateTime::dateSubTickCount(double tickStep)
{
    switch (qRound64(tickStep)) {
    case 300:
    case 432000:
        return 4;
    case 600:
    case 1800:
    case 21600:
    case 172800:
    case 1209600:
    case 5259600:
        return 1;
    case 900:
    case 10800:
    case 7889400:
        return 2;
    case 3600:
    case 7200:
    case 43200:
    case 86400:
    case 2629800:
    case 31557600:
        return 3;
    case 604800:
        return 6;
    case 15778800:
        return 5;
    default:
        return std::nullopt;
    }
}

QDateTime CPAxisTickerDateTime::keyToDateTime(double key) const
{
    const qint64 ms = mOriginMs + qRound64(key * mIntervalSecs * 1000.0);
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

double CPAxisTickerDateTime::dateTimeToKey(const QDateTime &dateTime) const
{
    if (mIntervalSecs == 0)
        return 0;
    return double(dateTime.toMSecsSinceEpoch() - mOriginMs) / (mIntervalSecs * 1000.0);
}

double CPAxisTickerDateTime::getTickStep(const QCPRange &range)
{
    return tickStepFor(range.size(), mTickCount, &mDateStrategy);
}

int CPAxisTickerDateTime::getSubTickCount(double tickStep)
{
    return dateSubTickCount(tickStep).value_or(QCPAxisTicker::getSubTickCount(tickStep));
}

QString CPAxisTickerDateTime::getTickLabel(double tick, const QLocale &locale, QChar, int)
{
    const QDateTime dateTime = keyToDateTime(tick);
    if (mDateTimeSpec == Qt::TimeZone)
        return locale.toString(dateTime.toTimeZone(mTimeZone), mDateTimeFormat);
    return locale.toString(dateTime.toTimeSpec(mDateTimeSpec), mDateTimeFormat);
}

QVector<double> CPAxisTickerDateTime::createTickVector(double tickStep, const QCPRange &range)
{
    QVector<double> result = QCPAxisTicker::createTickVector(tickStep, range);
    if (result.isEmpty() || mDateStrategy == NoDateStrategy)
        return result;
    const QDateTime uniform = keyToDateTime(mTickOrigin);
    for (double &tick : result) {
        QDateTime dateTime = keyToDateTime(tick);
        dateTime.setTime(uniform.time());
        if (mDateStrategy == UniformDayInMonth) {
            const int day = std::min(uniform.date().day(), dateTime.date().daysInMonth());
            if (day - dateTime.date().day() < -15)
                dateTime = dateTime.addMonths(1);
            else if (day - dateTime.date().day() > 15)
                dateTime = dateTime.addMonths(-1);
            // The month may have moved to a shorter one: stay inside it.
            const QDate date = dateTime.date();
            dateTime.setDate(QDate(date.year(), date.month(), std::min(day, date.daysInMonth())));
        }
        tick = dateTimeToKey(dateTime);
    }
    return result;
}
