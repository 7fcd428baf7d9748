// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's horizontal-axis ticker: sample numbers labelled with their date and time.
#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <optional>
#include <qcustomplot.h>

// Keys on the horizontal axis are 1-based sample numbers. A key x stands for
// the wall-clock time origin + x × interval seconds; tick steps, sub-ticks and
// tick positions are chosen from time-like steps taken in keys.
class CPAxisTickerDateTime : public QCPAxisTicker
{
public:
    enum DateStrategy { NoDateStrategy, UniformTimeInDay, UniformDayInMonth };

    CPAxisTickerDateTime();

    // Switches the labels to `zone` (their date-times then use Qt::TimeZone).
    void setTimeZone(const QTimeZone &zone);
    // The time mapping shared with the tooltip: seconds per sample and the
    // wall-clock milliseconds of key 0.
    void setTimeMapping(int intervalSecs, qint64 originMs);

    int intervalSecs() const { return mIntervalSecs; }
    qint64 originMs() const { return mOriginMs; }
    DateStrategy dateStrategy() const { return mDateStrategy; }

    // The tick step for a key range of `rangeSize` with `tickCount` ticks, and
    // the date strategy that goes with it.
    static double tickStepFor(double rangeSize, int tickCount, DateStrategy *strategy);
    // The sub-tick count of the time-like steps, or nothing for other steps.
    static std::optional<int> dateSubTickCount(double tickStep);
    // The readable step of QCPAxisTicker (mantissa 1, 2, 2.5, 5 or 10).
    static double cleanMantissaStep(double input);

    QDateTime keyToDateTime(double key) const;
    double dateTimeToKey(const QDateTime &dateTime) const;

protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar,
                         int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;

private:
    QString mDateTimeFormat;
    Qt::TimeSpec mDateTimeSpec = Qt::LocalTime;
    QTimeZone mTimeZone;
    DateStrategy mDateStrategy = NoDateStrategy;
    int mIntervalSecs = 5;
    qint64 mOriginMs = 0;
};
