// SPDX-License-Identifier: GPL-3.0-or-later
// AnalysisJson: the "analysis" object of `hygra-cli show` and the option values that shape it.
#include "cli/analysisjson.h"

#include "cli/recordingjson.h"

#include <QJsonArray>
#include <QtMath>

namespace
{

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

// A finite number as text in C notation; nothing for anything else ("nan" and
// "inf" parse as numbers but bound nothing).
std::optional<double> finiteNumber(const QString &text)
{
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    if (!isNumber || !qIsFinite(value))
        return std::nullopt;
    return value;
}

QJsonObject excursionJson(const Excursion &excursion)
{
    QJsonObject o;
    o.insert(QStringLiteral("side"), excursion.side == Excursion::Above ? QStringLiteral("above")
                                                                        : QStringLiteral("below"));
    o.insert(QStringLiteral("start"), RecordingJson::timeText(excursion.start));
    o.insert(QStringLiteral("durationSeconds"), excursion.durationSeconds);
    o.insert(QStringLiteral("peakCelsius"), excursion.peakCelsius);
    return o;
}

} // namespace

QJsonObject AnalysisJson::toJson(const RecordingAnalysis &analysis, const QString &sha256)
{
    QJsonArray excursions;
    for (const Excursion &excursion : analysis.excursions)
        excursions.append(excursionJson(excursion));

    // With an activation energy far below any physical one every term of the
    // mean rounds to 1 and the figure comes out infinite: no temperature.
    std::optional<double> mkt;
    if (analysis.mktCelsius && qIsFinite(*analysis.mktCelsius))
        mkt = qRound64(*analysis.mktCelsius * 100) / 100.0;

    QJsonObject o;
    o.insert(QStringLiteral("mktCelsius"), optionalNumber(mkt));
    o.insert(QStringLiteral("activationEnergyKJ"), analysis.activationEnergyKJ);
    o.insert(QStringLiteral("rangeLow"), optionalNumber(analysis.range.low));
    o.insert(QStringLiteral("rangeHigh"), optionalNumber(analysis.range.high));
    o.insert(QStringLiteral("timeAboveSeconds"), analysis.timeAboveSeconds);
    o.insert(QStringLiteral("timeBelowSeconds"), analysis.timeBelowSeconds);
    o.insert(QStringLiteral("excursions"), excursions);
    o.insert(QStringLiteral("validSamples"), analysis.validSamples);
    o.insert(QStringLiteral("sha256"), sha256.isEmpty() ? QJsonValue() : QJsonValue(sha256));
    return o;
}

std::optional<TemperatureRange> AnalysisJson::parseRange(const QString &text)
{
    const QStringList sides = text.split(QLatin1Char(':'));
    if (sides.size() != 2)
        return std::nullopt;
    const QString low = sides.at(0).trimmed();
    const QString high = sides.at(1).trimmed();
    TemperatureRange range;
    if (!low.isEmpty() && !(range.low = finiteNumber(low)))
        return std::nullopt;
    if (!high.isEmpty() && !(range.high = finiteNumber(high)))
        return std::nullopt;
    if (range.low && range.high && *range.low > *range.high)
        return std::nullopt;
    return range;
}

std::optional<double> AnalysisJson::parseActivationEnergy(const QString &text)
{
    const std::optional<double> value = finiteNumber(text.trimmed());
    if (!value || *value <= 0)
        return std::nullopt;
    return value;
}
