// SPDX-License-Identifier: GPL-3.0-or-later
// The verdict line: which sides it names, how it rounds times, and a range with nothing to judge.
#include "export/recordingverdict.h"

#include <QtTest>

Q_DECLARE_METATYPE(RecordingAnalysis)

namespace
{

RecordingAnalysis analysis(std::optional<double> low, std::optional<double> high, int excursions,
                           qint64 above, qint64 below, int validSamples = 100)
{
    RecordingAnalysis a;
    a.range = {low, high};
    a.validSamples = validSamples;
    a.excursions.resize(excursions);
    a.timeAboveSeconds = above;
    a.timeBelowSeconds = below;
    return a;
}

} // namespace

class TestRecordingVerdict : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data();
    void verdict();
};

void TestRecordingVerdict::verdict_data()
{
    QTest::addColumn<RecordingAnalysis>("analysis");
    QTest::addColumn<QString>("text");
    QTest::newRow("no valid sample") << analysis(2, 8, 0, 0, 0, 0) << "无有效样本，无法判定";
    QTest::newRow("one excursion, upper bound only")
        << analysis({}, 8, 1, 600, 0) << "超出限值：1 次超限，高于上限 0 小时 10 分";
    // 61 s is not "1 min": a time out of range is rounded up to the next minute.
    QTest::newRow("both sides, rounded up")
        << analysis(2, 8, 3, 90061, 61)
        << "超出限值：3 次超限，高于上限 25 小时 2 分，低于下限 0 小时 2 分";
    QTest::newRow("lower bound only")
        << analysis(2, {}, 2, 0, 7200) << "超出限值：2 次超限，低于下限 2 小时 0 分";
}

void TestRecordingVerdict::verdict()
{
    QFETCH(RecordingAnalysis, analysis);
    QFETCH(QString, text);
    QCOMPARE(RecordingVerdict::verdictText(analysis), text);
}

QTEST_GUILESS_MAIN(TestRecordingVerdict)
#include "tst_recordingverdict.moc"
