// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that judge a recording at a glance: whole or cut, samples held, within limits or not.
#include "export/recordingverdict.h"

#include <QStringList>

QString RecordingVerdict::incompleteText(const LoadedRecording &recording)
{
    if (recording.complete())
        return QString();
    return tr("记录不完整：%1 / %2 个样本")
        .arg(recording.samples.size())
        .arg(recording.expectedSamples);
}

QString RecordingVerdict::sampleCountText(int held, qint64 overwritten)
{
    if (overwritten <= 0)
        return QString::number(held);
    return tr("%1（另有 %2 条已被覆盖）").arg(held).arg(overwritten);
}

QString RecordingVerdict::hoursMinutesText(qint64 seconds)
{
    const qint64 minutes = (qMax<qint64>(0, seconds) + 59) / 60;
    return tr("%1 小时 %2 分").arg(minutes / 60).arg(minutes % 60);
}

QString RecordingVerdict::verdictText(const RecordingAnalysis &analysis)
{
    const TemperatureRange &range = analysis.range;
    if (!range.low && !range.high)
        return tr("无判定限值");
    if (analysis.validSamples == 0)
        return tr("无有效样本，无法判定");
    if (!isOutOfLimits(analysis))
        return tr("符合限值");
    const int count = analysis.excursions.size();
    QStringList parts{count == 1 ? tr("1 次超限") : tr("%1 次超限").arg(count)};
    if (range.high)
        parts << tr("高于上限 %1").arg(hoursMinutesText(analysis.timeAboveSeconds));
    if (range.low)
        parts << tr("低于下限 %1").arg(hoursMinutesText(analysis.timeBelowSeconds));
    return tr("超出限值：%1").arg(parts.join(tr("，")));
}

QString RecordingVerdict::timeZoneText()
{
    return tr("记录仪本地时间");
}
