// SPDX-License-Identifier: GPL-3.0-or-later
// The view container: opening recording files, classification, stop-time repair, durations, tabs
// and exports.
#include "core/utils.h"
#include "recording/recordingreader.h"
#include "recordingfixture.h"
#include "testsupport.h"
#include "views/datachartwidget.h"
#include "views/datadevinfowidget.h"
#include "views/datainfotbwidget.h"
#include "views/datashowwidget.h"
#include "views/datatablewidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <qcustomplot.h>

namespace
{

// A file whose JSON is only "{}": the header takes 16 bytes, so the samples
// decide the size.
QByteArray tinyFile(int sampleBytes)
{
    QByteArray bytes("HX10D", 5);
    bytes.append(QByteArray(5, '\0'));
    bytes.append(testsupport::hex("02 00 00 00"));
    bytes.append("{}");
    QByteArray samples;
    while (samples.size() < sampleBytes)
        samples.append(fixture::sample(2100, 600));
    bytes.append(samples.left(sampleBytes));
    return bytes;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Opens `file` and waits until the view tells how it went; true when it is shown.
bool opened(DataShowWidget &view, const QString &file)
{
    QSignalSpy done(&view, &DataShowWidget::recordingOpened);
    view.openRecording(file);
    return done.wait(5000) && done.first().at(0).toString() == file &&
           done.first().at(1).value<RecordingStatus>() == RecordingStatus::Loaded;
}

} // namespace

class TestDataShow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void modelName_data();
    void modelName();
    void classification_data();
    void classification();
    void stopTimeRebuiltWhenBeforeStart();
    void durations_data();
    void durations();
    void failedOpenKeepsTheShownRecording();
    void laterOpenWins_data();
    void laterOpenWins();
    void showLoadedNeedsNoFile();
    void clearAndRename();
    void tabsAndAlarmMarks();
    void notesAndExportWithoutRecording();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }
    QTemporaryDir mDir;
};

void TestDataShow::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    QVERIFY(mDir.isValid());
}

void TestDataShow::fileSizeLimit_data()
{
    QTest::addColumn<int>("sampleBytes");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("samples");
    QTest::newRow("1023 bytes") << 1007 << false << 0;
    QTest::newRow("1024 bytes") << 1008 << true << 252;
    QTest::newRow("1026 bytes: partial sample ignored") << 1010 << true << 252;
}

void TestDataShow::fileSizeLimit()
{
    QFETCH(int, sampleBytes);
    QFETCH(bool, opens);
    QFETCH(int, samples);
    const QString file = path(QStringLiteral("HX10D_size.data"));
    QVERIFY(writeBytes(file, tinyFile(sampleBytes)));
    DataShowWidget view;
    QCOMPARE(opened(view, file), opens);
    QCOMPARE(view.isShowing(), opens);
    QCOMPARE(view.loaded().samples.size(), samples);
    QCOMPARE(view.chartPage()->table()->model()->rowCount(), samples);
    if (opens) {
        // Older files without these keys read as a humidity HX10D recording.
        QCOMPARE(view.loaded().recording.devType, 0);
        QVERIFY(view.loaded().recording.isContainHum);
        QCOMPARE(view.loaded().samples.first().temperature, 21.0f);
        QCOMPARE(view.loaded().samples.first().humidity, 60.0f);
    }
}

void TestDataShow::modelName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("HX20D") << QByteArray("HX20D\0\0\0\0\0", 10) << true;
    QTest::newRow("HX10D") << QByteArray("HX10D\0\0\0\0\0", 10) << true;
    QTest::newRow("other model") << QByteArray("HX30D\0\0\0\0\0", 10) << false;
    QTest::newRow("lower case") << QByteArray("hx20d\0\0\0\0\0", 10) << false;
    QTest::newRow("trailing garbage") << QByteArray("HX20DX\0\0\0\0", 10) << false;
    QTest::newRow("empty") << QByteArray(10, '\0') << false;
}

void TestDataShow::modelName()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, opens);
    QByteArray bytes = tinyFile(1200);
    bytes.replace(0, 10, name);
    const QString file = path(QStringLiteral("model.data"));
    QVERIFY(writeBytes(file, bytes));
    DataShowWidget view;
    QCOMPARE(opened(view, file), opens);
}

void TestDataShow::classification_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("humidity");
    QTest::addColumn<float>("temperature");
    QTest::addColumn<int>("state");
    QTest::newRow("no values") << testsupport::hex("E0 E0 E0 E0") << true << -1000.0f << 1;
    QTest::newRow("85.9 is normal") << fixture::sample(8590, 500) << true << 85.9f << 0;
    QTest::newRow("86.0 is high") << fixture::sample(8600, 500) << true << 86.0f << 2;
    QTest::newRow("-40.9 is normal") << fixture::sample(-4090, 500) << true << -40.9f << 0;
    QTest::newRow("-41.0 is low") << fixture::sample(-4100, 500) << true << -41.0f << 1;
    QTest::newRow("no humidity value is low") << fixture::sample(2000, -7968) << true << 20.0f << 1;
    QTest::newRow("no humidity value, temperature only")
        << fixture::sample(2000, -7968) << false << 20.0f << 0;
    QTest::newRow("100.0 %RH is normal") << fixture::sample(2000, 1000) << true << 20.0f << 0;
}

void TestDataShow::classification()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, humidity);
    QFETCH(float, temperature);
    QFETCH(int, state);
    ReadDevInfoJson info = fixture::header();
    info.isContainHum = humidity;
    const QString file = path(QStringLiteral("HX20D_classes.data"));
    QVERIFY(fixture::writeFile(file, info, bytes));
    DataShowWidget view;
    QVERIFY(opened(view, file));
    QCOMPARE(view.loaded().samples.size(), 1);
    const SamplePoint &sample = view.loaded().samples.first();
    QCOMPARE(sample.temperature, temperature);
    QCOMPARE(sample.alarmState, state);
    QCOMPARE(sample.isAlarm, state != 0);
}

void TestDataShow::stopTimeRebuiltWhenBeforeStart()
{
    ReadDevInfoJson info = fixture::header();
    info.stopRecordTime = info.startRecordTime.addSecs(-3600);
    info.startDelay = 10;
    info.overWirteRecordNum = 5;
    const QString file = path(QStringLiteral("HX20D_stop.data"));
    QByteArray samples;
    for (int i = 0; i < 4; ++i)
        samples.append(fixture::sample(2000 + i, 500));
    QVERIFY(fixture::writeFile(file, info, samples));
    DataShowWidget view;
    QVERIFY(opened(view, file));
    // start 08:00 + 10 min delay + 5 overwritten minutes + 3 shown minutes.
    QCOMPARE(view.loaded().recording.stopRecordTime, QDateTime(QDate(2024, 3, 1), QTime(8, 18)));
    QCOMPARE(view.infoPage()->form().endTimeLabel->text(), QStringLiteral("2024/03/01 08:18:00"));
    // The chart's first key is the first sample's time, after delay and overwrite.
    QCOMPARE(view.loaded().samples.first().time,
             wallClockSecs(QDateTime(QDate(2024, 3, 1), QTime(8, 15))));

    // A stop time after the start is kept.
    info.stopRecordTime = info.startRecordTime.addSecs(60);
    QVERIFY(fixture::writeFile(file, info, samples));
    QVERIFY(opened(view, file));
    QCOMPARE(view.loaded().recording.stopRecordTime, info.stopRecordTime);
}

void TestDataShow::durations_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<qint64>("overwritten");
    QTest::addColumn<qint64>("shown");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("no samples") << 0 << qint64(0) << qint64(0) << qint64(0) << "0s";
    QTest::newRow("one sample") << 1 << qint64(0) << qint64(0) << qint64(0) << "0s";
    QTest::newRow("one sample after overwrite")
        << 1 << qint64(7) << qint64(0) << qint64(420) << "7m 0s";
    QTest::newRow("13 samples") << 13 << qint64(0) << qint64(720) << qint64(720) << "12m 0s";
}

void TestDataShow::durations()
{
    QFETCH(int, samples);
    QFETCH(qint64, overwritten);
    QFETCH(qint64, shown);
    QFETCH(qint64, total);
    QFETCH(QString, text);
    ReadDevInfoJson info = fixture::header();
    info.overWirteRecordNum = overwritten;
    QByteArray bytes;
    for (int i = 0; i < samples; ++i)
        bytes.append(fixture::sample(2000, 500));
    const QString file = path(QStringLiteral("HX20D_durations.data"));
    QVERIFY(fixture::writeFile(file, info, bytes));
    DataShowWidget view;
    QVERIFY(opened(view, file));
    QCOMPARE(view.loaded().recording.shownDuration, shown);
    QCOMPARE(view.loaded().recording.totalDuration, total);
    QCOMPARE(view.infoPage()->form().recordDuration->text(), text);
}

void TestDataShow::failedOpenKeepsTheShownRecording()
{
    const QString good = path(QStringLiteral("HX20D_20240301_080000.data"));
    QVERIFY(fixture::writeFile(good, fixture::header(), fixture::sample(2100, 500)));
    QByteArray broken = tinyFile(1200);
    broken.replace(14, 2, "{x"); // JSON that does not parse
    const QString bad = path(QStringLiteral("broken.data"));
    QVERIFY(writeBytes(bad, broken));

    DataShowWidget view;
    QVERIFY(opened(view, good));
    QVERIFY(!opened(view, bad));
    QVERIFY(!opened(view, path(QStringLiteral("missing.data"))));
    QCOMPARE(view.recordingBaseName(), QStringLiteral("HX20D_20240301_080000"));
    QCOMPARE(view.loaded().samples.size(), 1);
    QCOMPARE(view.infoPage()->form().devNameLabel->text(), QStringLiteral("Cold room 2"));
    // The evaluation shown is the good file's, with the fingerprint of its bytes.
    QFile goodFile(good);
    QVERIFY(goodFile.open(QIODevice::ReadOnly));
    QCOMPARE(view.infoPage()->form().fingerprintEdit->text(),
             QString::fromLatin1(
                 QCryptographicHash::hash(goodFile.readAll(), QCryptographicHash::Sha256).toHex()));
    QCOMPARE(view.infoPage()->form().mktLabel->text(), QStringLiteral("21.0℃"));
}

void TestDataShow::laterOpenWins_data()
{
    // What is asked for before the recording: nothing else, another file, a
    // comparison, or a file that cannot be read.
    QTest::addColumn<QString>("before");
    QTest::newRow("recording after recording") << "file";
    QTest::newRow("recording after comparison") << "comparison";
    QTest::newRow("recording after unreadable file") << "missing";
}

// Several opens in quick succession show the last one asked for; the earlier
// ones end without a word, however their readers finish.
void TestDataShow::laterOpenWins()
{
    QFETCH(QString, before);
    const QString first = path(QStringLiteral("HX20D_first.data"));
    const QString second = path(QStringLiteral("HX20D_second.data"));
    QVERIFY(fixture::writeFile(first, fixture::header(), fixture::sample(2100, 500)));
    QVERIFY(fixture::writeFile(second, fixture::header(),
                               fixture::sample(2200, 500) + fixture::sample(2300, 500)));
    DataShowWidget view;
    QSignalSpy recordings(&view, &DataShowWidget::recordingOpened);
    QSignalSpy comparisons(&view, &DataShowWidget::comparisonOpened);
    if (before == QLatin1String("comparison"))
        view.openComparison({first, first}, {QStringLiteral("a"), QStringLiteral("b")});
    else
        view.openRecording(before == QLatin1String("file") ? first
                                                           : path(QStringLiteral("missing.data")));
    QVERIFY(view.isOpening());
    view.openRecording(second);
    QVERIFY(recordings.wait(5000));
    // Anything still on its way would come with the next events.
    QTest::qWait(50);
    QCOMPARE(recordings.count(), 1);
    QCOMPARE(recordings.first().at(0).toString(), second);
    QCOMPARE(comparisons.count(), 0);
    QVERIFY(!view.isOpening());
    QVERIFY(!view.isComparing());
    QCOMPARE(view.recordingBaseName(), QStringLiteral("HX20D_second"));
    QCOMPARE(view.loaded().samples.size(), 2);
    QCOMPARE(view.chartPage()->table()->model()->rowCount(), 2);
}

// A recording read elsewhere is shown as a read file is, without its file.
void TestDataShow::showLoadedNeedsNoFile()
{
    const QString file = path(QStringLiteral("HX20D_20240301_090000.data"));
    QVERIFY(fixture::writeFile(file, fixture::header(), fixture::sample(2100, 500)));
    LoadedRecording recording = RecordingReader::read(file);
    QVERIFY(recording.ok());
    QVERIFY(QFile::remove(file));
    DataShowWidget view;
    QSignalSpy done(&view, &DataShowWidget::recordingOpened);
    view.showLoaded(file, recording);
    QVERIFY(done.wait(5000));
    QCOMPARE(done.first().at(1).value<RecordingStatus>(), RecordingStatus::Loaded);
    QCOMPARE(view.recordingBaseName(), QStringLiteral("HX20D_20240301_090000"));
    QCOMPARE(view.infoPage()->form().fingerprintEdit->text(), recording.sha256);
    QCOMPARE(view.infoPage()->form().mktLabel->text(), QStringLiteral("21.0℃"));

    // One that could not be read is refused with the reader's verdict.
    recording.status = RecordingStatus::BadJson;
    view.showLoaded(path(QStringLiteral("other.data")), recording);
    QVERIFY(done.wait(5000));
    QCOMPARE(done.last().at(1).value<RecordingStatus>(), RecordingStatus::BadJson);
    QCOMPARE(view.recordingBaseName(), QStringLiteral("HX20D_20240301_090000"));

    // Closing the view drops an open still on its way.
    view.openRecording(path(QStringLiteral("HX20D_20240301_090000.data")));
    view.clearRecording();
    QTest::qWait(50);
    QCOMPARE(done.count(), 2);
    QVERIFY(!view.isShowing());
}

void TestDataShow::clearAndRename()
{
    const QString file = path(QStringLiteral("HX20D.2024.data"));
    QVERIFY(fixture::writeFile(file, fixture::header(), fixture::sample(2100, 500)));
    DataShowWidget view;
    QVERIFY(opened(view, file));
    // Cut before the last dot only.
    QCOMPARE(view.recordingBaseName(), QStringLiteral("HX20D.2024"));
    view.setRecordingBaseName(QStringLiteral("renamed"));
    QCOMPARE(view.recordingBaseName(), QStringLiteral("renamed"));
    QVERIFY(view.isShowing());

    view.clearRecording();
    QVERIFY(!view.isShowing());
    QCOMPARE(view.recordingBaseName(), QString());
    QCOMPARE(view.chartPage()->table()->model()->rowCount(), 0);
    QCOMPARE(view.infoPage()->form().devNameLabel->text(), QString());
    // Switching the alarm marks with nothing shown brings nothing back.
    view.delSendAlertFlagSignal(false);
    QCOMPARE(view.chartPage()->table()->model()->rowCount(), 0);
    QVERIFY(!view.chartPage()->alarmMarks());
}

void TestDataShow::tabsAndAlarmMarks()
{
    ReadDevInfoJson info = fixture::header();
    info.th1 = AlertDataJson();
    info.th1.isOpen = true;
    info.th1.alertValue = 2500;
    const QString file = path(QStringLiteral("HX20D_alarm.data"));
    QVERIFY(
        fixture::writeFile(file, info, fixture::sample(2000, 500) + fixture::sample(2600, 500)));
    DataShowWidget view;
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(opened(view, file));
    QVERIFY(view.loaded().samples.at(1).isAlarm);

    DataInfoTbWidget *tabs = view.tabBar();
    auto *alert = tabs->findChild<QToolButton *>(QStringLiteral("alertButton"));
    auto *restore = tabs->findChild<QToolButton *>(QStringLiteral("restoreButton"));
    auto *info2 = tabs->findChild<QToolButton *>(QStringLiteral("iToolButton"));
    QVERIFY(alert && restore && info2);
    QCOMPARE(tabs->indicator()->geometry(), tabs->indicatorRect(0));

    info2->click();
    QCOMPARE(view.pages()->currentIndex(), 1);
    QVERIFY(!alert->isEnabled() && !restore->isEnabled());
    QTRY_COMPARE(tabs->indicator()->geometry(), tabs->indicatorRect(1));
    QCOMPARE(tabs->indicatorRect(1).size(), QSize(104, 4));
    tabs->buttonClickResponse(0);
    QCOMPARE(view.pages()->currentIndex(), 0);
    QVERIFY(alert->isEnabled() && restore->isEnabled());

    QAbstractItemModel *table = view.chartPage()->table()->model();
    QVERIFY(table->index(1, 0).data(Qt::UserRole).toBool());
    QCOMPARE(alert->toolTip(), QStringLiteral("隐藏报警标记"));
    alert->click();
    QVERIFY(!tabs->alarmMarks());
    QCOMPARE(alert->toolTip(), QStringLiteral("显示报警标记"));
    QVERIFY(!table->index(1, 0).data(Qt::UserRole).toBool());
    // The flag outlives the file: the next open shows no marks either.
    QVERIFY(opened(view, file));
    QVERIFY(!view.chartPage()->table()->model()->index(1, 0).data(Qt::UserRole).toBool());
    alert->click();
    QVERIFY(view.chartPage()->table()->model()->index(1, 0).data(Qt::UserRole).toBool());

    view.chartPage()->plot()->xAxis->setRange(1, 2);
    restore->click();
    QCOMPARE(view.chartPage()->plot()->xAxis->range(), QCPRange(0, 3));
}

void TestDataShow::notesAndExportWithoutRecording()
{
    DataShowWidget view;
    QSignalSpy messages(&view, &DataShowWidget::sendMessage);
    view.delSendExportTypeSignal(0);
    view.delSendExportTypeSignal(1);
    QCOMPARE(messages.count(), 2);
    QCOMPARE(messages.first().first().toString(),
             QStringLiteral("无法导出，请先下载数据文件并打开它"));

    const QString file = path(QStringLiteral("HX20D_note.data"));
    QVERIFY(fixture::writeFile(file, fixture::header(), fixture::sample(2100, 500)));
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QVERIFY(opened(view, file));
    QSignalSpy typed(&view, &DataShowWidget::noteTyped);
    QTest::keyClicks(view.infoPage()->form().lineEdit, "checked");
    QTest::keyClick(view.infoPage()->form().lineEdit, Qt::Key_Return);
    QCOMPARE(typed.count(), 1);
    QCOMPARE(typed.first().first().toString(), QStringLiteral("checked"));
    // The logger's own note stays as the file holds it; the typed one becomes a comment.
    QCOMPARE(view.loaded().recording.note, QStringLiteral("Batch 7"));
    QFile after(file);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);
}

QTEST_MAIN(TestDataShow)
#include "tst_datashow.moc"
