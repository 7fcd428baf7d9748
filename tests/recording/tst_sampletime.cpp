// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of sample times and durations of a read recording, in a zone with daylight saving.
#include "core/utils.h"
#include "recording/qdatetimeposfjson.h"
#include "recording/recordingsummary.h"
#include "recordingfiles.h"

#include <QtTest>
#include <ctime>

using namespace recordingfiles;

namespace
{

// Wall-clock seconds of a text like "2024-03-31 12:00:00".
qint64 wall(const char *text)
{
    const QString s = QLatin1String(text);
    return QDateTime(QDate::fromString(s.left(10), Qt::ISODate),
                     QTime::fromString(s.mid(11), Qt::ISODate), Qt::UTC)
        .toSecsSinceEpoch();
}

QDateTime local(const char *text)
{
    return QDateTime::fromString(QLatin1String(text), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QByteArray fileWithSamples(const ReadDevInfoJson &info, int count)
{
    QByteArray bytes = header(info);
    for (int i = 0; i < count; ++i)
        bytes += sample(2000, 500);
    return bytes;
}

} // namespace

class TestSampleTime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void timeBase_data();
    void timeBase();
    void startInsideTheSpringGap();
    void headerTimesInsideTheSpringGapAreShown_data();
    void headerTimesInsideTheSpringGapAreShown();
    void durations_data();
    void durations();
};

void TestSampleTime::initTestCase()
{
    const int winter = QDateTime(QDate(2024, 1, 15), QTime(12, 0)).offsetFromUtc();
    const int summer = QDateTime(QDate(2024, 7, 15), QTime(12, 0)).offsetFromUtc();
    if (winter == summer)
        QSKIP("The Europe/Berlin zone is not available");
}

void TestSampleTime::timeBase_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("recordInterval");
    QTest::addColumn<qint64>("overwritten");
    QTest::addColumn<int>("startDelay");
    QTest::addColumn<qint64>("firstTime");

    QTest::newRow("plain") << local("2024-01-15 10:00:00") << 12 << qint64(0) << 0
                           << wall("2024-01-15 10:00:00");
    QTest::newRow("start delay") << local("2024-01-15 10:00:00") << 12 << qint64(0) << 90
                                 << wall("2024-01-15 11:30:00");
    // A day of one-minute samples lost to loop recording, across the change.
    QTest::newRow("overwritten across spring")
        << local("2024-03-30 12:00:00") << 12 << qint64(1440) << 0 << wall("2024-03-31 12:00:00");
    QTest::newRow("overwritten across autumn")
        << local("2024-10-26 12:00:00") << 12 << qint64(1440) << 0 << wall("2024-10-27 12:00:00");
    QTest::newRow("delay into the spring gap")
        << local("2024-03-31 01:30:00") << 12 << qint64(0) << 60 << wall("2024-03-31 02:30:00");
    QTest::newRow("both, autumn") << local("2024-10-27 01:00:00") << 60 << qint64(12) << 30
                                  << wall("2024-10-27 02:30:00");
}

void TestSampleTime::timeBase()
{
    QFETCH(QDateTime, start);
    QFETCH(int, recordInterval);
    QFETCH(qint64, overwritten);
    QFETCH(int, startDelay);
    QFETCH(qint64, firstTime);

    ReadDevInfoJson info = basicRecord();
    info.startRecordTime = start;
    info.recordInterval = recordInterval;
    info.overWirteRecordNum = overwritten;
    info.startDelay = startDelay;
    // Four hours of samples: the recorded span crosses the change as well.
    const int count = 4 * 3600 / (recordInterval * 5) + 1;
    const LoadedRecording result = readBytes(fileWithSamples(info, count));
    QVERIFY(result.ok());
    QCOMPARE(result.samples.size(), count);
    const qint64 interval = recordInterval * 5;
    for (int i = 0; i < count; ++i)
        QCOMPARE(result.samples.at(i).time, firstTime + i * interval);
}

void TestSampleTime::startInsideTheSpringGap()
{
    // The logger knows no daylight saving: 02:30 on the day clocks skip that hour
    // is a real start time and survives writing and reading.
    ReadDevInfoJson info = basicRecord();
    info.startRecordTime = QDateTimePosFJson::fromJson(QJsonObject{
        {"year", 2024}, {"month", 3}, {"day", 31}, {"hour", 2}, {"minute", 30}, {"second", 0}});
    QCOMPARE(QDateTimePosFJson::toJson(info.startRecordTime).value("hour").toInt(), 2);

    const LoadedRecording result = readBytes(fileWithSamples(info, 3));
    QVERIFY(result.ok());
    QCOMPARE(result.samples.at(0).time, wall("2024-03-31 02:30:00"));
    QCOMPARE(result.samples.at(2).time, wall("2024-03-31 02:32:00"));
}

void TestSampleTime::headerTimesInsideTheSpringGapAreShown_data()
{
    QTest::addColumn<QString>("member");
    QTest::newRow("start") << QStringLiteral("startRecordTime");
    QTest::newRow("stop") << QStringLiteral("stopRecordTime");
    QTest::newRow("configuration") << QStringLiteral("configTime");
}

// The summary and the report show a header time as the logger recorded it,
// also at 02:30 on the day the local clocks skip that hour.
void TestSampleTime::headerTimesInsideTheSpringGapAreShown()
{
    QFETCH(QString, member);
    ReadDevInfoJson info = basicRecord();
    QJsonObject json;
    info.toJson(json);
    json.insert(
        member,
        QJsonObject{
            {"year", 2024}, {"month", 3}, {"day", 31}, {"hour", 2}, {"minute", 30}, {"second", 0}});
    info.fromJson(json);
    const LoadedRecording result = readBytes(fileWithSamples(info, 3));
    QVERIFY(result.ok());
    const ReadDevInfoJson &read = result.recording;
    const QDateTime time = member == QLatin1String("startRecordTime")  ? read.startRecordTime
                           : member == QLatin1String("stopRecordTime") ? read.stopRecordTime
                                                                       : read.configTime;
    QCOMPARE(recordingsummary::timeText(time), QStringLiteral("2024/03/31 02:30:00"));
    QCOMPARE(wallClockSecs(time), wall("2024-03-31 02:30:00"));
}

void TestSampleTime::durations_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("overwritten");
    QTest::addColumn<qint64>("shown");
    QTest::addColumn<qint64>("total");

    QTest::newRow("no samples") << 0 << qint64(100) << qint64(0) << qint64(0);
    QTest::newRow("one sample") << 1 << qint64(100) << qint64(0) << qint64(6000);
    QTest::newRow("five samples") << 5 << qint64(100) << qint64(240) << qint64(6240);
    QTest::newRow("nothing overwritten") << 5 << qint64(0) << qint64(240) << qint64(240);
}

void TestSampleTime::durations()
{
    QFETCH(int, count);
    QFETCH(qint64, overwritten);
    QFETCH(qint64, shown);
    QFETCH(qint64, total);

    ReadDevInfoJson info = withHeaderSize(basicRecord(), 1600);
    info.startRecordTime = local("2024-01-15 10:00:00");
    info.overWirteRecordNum = overwritten;
    const LoadedRecording result = readBytes(fileWithSamples(info, count));
    QVERIFY(result.ok());
    QCOMPARE(result.recording.shownDuration, shown);
    QCOMPARE(result.recording.totalDuration, total);
}

int main(int argc, char *argv[])
{
    // A zone with daylight saving, set before anything reads the local zone.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCoreApplication app(argc, argv);
    TestSampleTime test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sampletime.moc"
