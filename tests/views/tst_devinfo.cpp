// SPDX-License-Identifier: GPL-3.0-or-later
// The summary panel: device, configuration, statistics, evaluation and alarm texts, the empty
// state and the note.
#include "recording/recordinganalysis.h"
#include "recordingfixture.h"
#include "views/datadevinfowidget.h"
#include "widgets/checkbutton.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace
{

const DataDevInfoAlarmRow &row(const DataDevInfoWidget &panel, const QString &key)
{
    for (const DataDevInfoAlarmRow &r : panel.form().alarmRows)
        if (r.key == key)
            return r;
    qFatal("no alarm row %s", qPrintable(key));
}

QStringList rowTexts(const DataDevInfoAlarmRow &r)
{
    return {r.value->text(),    r.type->text(),  r.delay->text(),
            r.duration->text(), r.times->text(), r.state->text()};
}

AlertDataJson alarm(bool open, int value, bool accumulate = false, int delay = 0,
                    qint64 duration = 0, int count = 0, bool raised = false)
{
    AlertDataJson a;
    a.isOpen = open;
    a.alertValue = value;
    a.isAccumulate = accumulate;
    a.delayTime = delay;
    a.alertDuration = duration;
    a.alertNum = count;
    a.isAlertFlag = raised;
    return a;
}

QStringList evaluationTexts(const DataDevInfoForm &ui)
{
    return {ui.rangeLabel->text(),        ui.timeAboveLabel->text(),
            ui.timeBelowLabel->text(),    ui.mktLabel->text(),
            ui.excursionNum->text(),      ui.longestExcursionLabel->text(),
            ui.longestStartLabel->text(), ui.activationEnergyLabel->text(),
            ui.fingerprintEdit->text()};
}

} // namespace

class TestDevInfo : public QObject
{
    Q_OBJECT
private slots:
    void fillsEveryLabel();
    void statistics_data();
    void statistics();
    void sampleCountShowsHeldAndOverwritten_data();
    void sampleCountShowsHeldAndOverwritten();
    void startAndStopTimes_data();
    void startAndStopTimes();
    void operations_data();
    void operations();
    void alarmRowsShowTheirFileKeys();
    void humidityRowsFollowTheRecording();
    void clearInfoRestoresTheEmptyState();
    void evaluation_data();
    void evaluation();
    void noteEditsAreSignalled();
};

void TestDevInfo::fillsEveryLabel()
{
    DataDevInfoWidget panel;
    ReadDevInfoJson info = fixture::header();
    info.recordNum = 1441;
    info.numofReport = 1441;
    info.totalDuration = 86400;
    info.startDelay = 30;
    panel.fillFromRecording(info);
    const DataDevInfoForm &ui = panel.form();
    QCOMPARE(ui.devNameLabel->text(), QStringLiteral("Cold room 2"));
    QCOMPARE(ui.snLabel->text(), QStringLiteral("2311000042"));
    QCOMPARE(ui.idLabel->text(), QStringLiteral("17"));
    QCOMPARE(ui.deviceNoteLabel->text(), QStringLiteral("Batch 7"));
    QVERIFY(ui.lineEdit->text().isEmpty());
    QCOMPARE(ui.configTimeLabel->text(), QStringLiteral("2024/02/29 17:30:05"));
    QCOMPARE(ui.recordIntervalLabel->text(), QStringLiteral("1m 0s"));
    QCOMPARE(ui.startDelayLabel->text(), QStringLiteral("30 min"));
    QCOMPARE(ui.recordModeLabel->text(), QStringLiteral("循环记录"));
    QCOMPARE(ui.recordDuration->text(), QStringLiteral("1d 0h 0m 0s"));
    QCOMPARE(ui.recordNum->text(), QStringLiteral("1441"));
    QCOMPARE(ui.maxValueLabel->text(), QStringLiteral("25.1℃  65.5%RH"));
    QCOMPARE(ui.minValueLabel->text(), QStringLiteral("18.9℃  40.2%RH"));
    QCOMPARE(ui.avgValueLabel->text(), QStringLiteral("22.0℃  53.1%RH"));

    info.recordMode = 0;
    info.tempUnit = 1;
    info.isContainHum = false;
    panel.fillFromRecording(info);
    QCOMPARE(ui.recordModeLabel->text(), QStringLiteral("记录满停止"));
    QCOMPARE(ui.maxValueLabel->text(), QStringLiteral("77.2°F"));
}

void TestDevInfo::statistics_data()
{
    QTest::addColumn<int>("temperature");
    QTest::addColumn<int>("humidity");
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("both") << 2510 << 655 << true << 0 << "25.1℃  65.5%RH";
    QTest::newRow("fahrenheit") << -1000 << 1000 << true << 1 << "14.0°F  100.0%RH";
    QTest::newRow("no temperature") << -7968 << 655 << true << 0 << "---  ---";
    QTest::newRow("no humidity") << 2510 << -7968 << true << 0 << "---  ---";
    QTest::newRow("humidity missing as the logger stores it")
        << 2510 << 57568 << true << 0 << "---  ---";
    QTest::newRow("temperature only") << -7968 << 655 << false << 0 << "---";
    QTest::newRow("temperature only, humidity ignored") << 2510 << -7968 << false << 0 << "25.1℃";
}

void TestDevInfo::statistics()
{
    QFETCH(int, temperature);
    QFETCH(int, humidity);
    QFETCH(bool, withHumidity);
    QFETCH(int, unit);
    QFETCH(QString, text);
    QCOMPARE(DataDevInfoWidget::statisticText(temperature, humidity, withHumidity, unit), text);
}

// The samples the recording holds, never a count capped below a full memory,
// and those the logger overwrote beside them.
void TestDevInfo::sampleCountShowsHeldAndOverwritten_data()
{
    QTest::addColumn<qint64>("recorded");
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("text");
    QTest::newRow("below") << qint64(63999) << 63999 << "63999";
    QTest::newRow("full memory") << qint64(64512) << 64512 << "64512";
    QTest::newRow("loop recording")
        << qint64(3000000000) << 64512 << "64512（另有 2999935488 条已被覆盖）";
}

void TestDevInfo::sampleCountShowsHeldAndOverwritten()
{
    QFETCH(qint64, recorded);
    QFETCH(int, held);
    QFETCH(QString, text);
    DataDevInfoWidget panel;
    ReadDevInfoJson info = fixture::header();
    info.recordNum = recorded;
    info.numofReport = held;
    info.overWirteRecordNum = recorded - held;
    panel.fillFromRecording(info);
    QCOMPARE(panel.form().recordNum->text(), text);
}

void TestDevInfo::startAndStopTimes_data()
{
    QTest::addColumn<int>("devType");
    QTest::addColumn<int>("startTemp");
    QTest::addColumn<int>("stopTemp");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::newRow("HX20D with both") << 1 << 2150 << -250 << "2024/03/01 08:00:00 (21.5℃)"
                                     << "2024/03/02 08:00:00 (-2.5℃)";
    QTest::newRow("HX20D without start temperature") << 1 << -7968 << 1800 << "2024/03/01 08:00:00"
                                                     << "2024/03/02 08:00:00 (18.0℃)";
    QTest::newRow("HX10D never shows them") << 0 << 2150 << 1800 << "2024/03/01 08:00:00"
                                            << "2024/03/02 08:00:00";
    QTest::newRow("unknown model leaves the labels") << 7 << 2150 << 1800 << "before"
                                                     << "before";
}

void TestDevInfo::startAndStopTimes()
{
    QFETCH(int, devType);
    QFETCH(int, startTemp);
    QFETCH(int, stopTemp);
    QFETCH(QString, start);
    QFETCH(QString, stop);
    DataDevInfoWidget panel;
    panel.form().startTimeLabel->setText("before");
    panel.form().endTimeLabel->setText("before");
    ReadDevInfoJson info = fixture::header();
    info.devType = devType;
    info.startTemp = startTemp;
    info.stopTemp = stopTemp;
    panel.fillFromRecording(info);
    QCOMPARE(panel.form().startTimeLabel->text(), start);
    QCOMPARE(panel.form().endTimeLabel->text(), stop);
}

void TestDevInfo::operations_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::newRow("0") << 0 << "按键"
                       << "无";
    QTest::newRow("1") << 1 << "软件"
                       << "按键";
    QTest::newRow("2") << 2 << "预约"
                       << "满记录";
    QTest::newRow("3") << 3 << "按键"
                       << "记录中";
    QTest::newRow("4") << 4 << "按键"
                       << "软件";
    QTest::newRow("5") << 5 << "按键"
                       << "低电";
    QTest::newRow("6") << 6 << "按键"
                       << "无";
}

void TestDevInfo::operations()
{
    QFETCH(int, code);
    QFETCH(QString, start);
    QFETCH(QString, stop);
    DataDevInfoWidget panel;
    ReadDevInfoJson info = fixture::header();
    info.startOperation = code;
    info.stopOperation = code;
    panel.fillFromRecording(info);
    QCOMPARE(panel.form().startModelLabel->text(), start);
    QCOMPARE(panel.form().stopModelLabel->text(), stop);
}

void TestDevInfo::alarmRowsShowTheirFileKeys()
{
    DataDevInfoWidget panel;
    ReadDevInfoJson info = fixture::header();
    // The file's th1 is the logger's TH3, its tl1 the TL3.
    info.th1 = alarm(true, 3000, true, 12, 12, 3, true);
    info.th3 = alarm(false, 2500);
    info.tl1 = alarm(true, -1000, false, 1, 0, 0, false);
    info.tl3 = alarm(false, 0);
    info.hh = alarm(true, 800, true, 720, 3, 1, true);
    info.hl = alarm(false, 805);
    panel.fillFromRecording(info);

    QVERIFY(row(panel, "th3").checkBtn->isChecked());
    QCOMPARE(rowTexts(row(panel, "th3")),
             (QStringList{"≥30.0℃", "累计", "1m 0s", "12m 0s", "3", "报警"}));
    // An alarm that is off still shows its threshold, with an empty box.
    QVERIFY(!row(panel, "th1").checkBtn->isChecked());
    QCOMPARE(row(panel, "th1").value->text(), QStringLiteral("≥25.0℃"));
    QCOMPARE(rowTexts(row(panel, "tl3")),
             (QStringList{"≤-10.0℃", "单一", "5s", "0s", "0", "正常"}));
    QCOMPARE(row(panel, "tl1").value->text(), QStringLiteral("≤0.0℃"));
    QCOMPARE(rowTexts(row(panel, "hh")),
             (QStringList{"≥80%RH", "累计", "1h 0m 0s", "3m 0s", "1", "报警"}));
    QCOMPARE(row(panel, "hl").value->text(), QStringLiteral("≤80.5%RH"));
    QVERIFY(!row(panel, "th3").checkBtn->isEnabled());

    info.tempUnit = 1;
    panel.fillFromRecording(info);
    QCOMPARE(row(panel, "th3").value->text(), QStringLiteral("≥86.0°F"));
    QCOMPARE(row(panel, "tl3").value->text(), QStringLiteral("≤14.0°F"));
    QCOMPARE(row(panel, "hh").value->text(), QStringLiteral("≥80%RH"));
}

void TestDevInfo::humidityRowsFollowTheRecording()
{
    DataDevInfoWidget panel;
    ReadDevInfoJson info = fixture::header();
    info.isContainHum = false;
    panel.fillFromRecording(info);
    QVERIFY(panel.form().hhWidget->isHidden());
    QVERIFY(panel.form().hlWidget->isHidden());
    QVERIFY(!row(panel, "th3").row->isHidden());
    info.isContainHum = true;
    panel.fillFromRecording(info);
    QVERIFY(!panel.form().hhWidget->isHidden());
    QVERIFY(!panel.form().hlWidget->isHidden());
}

void TestDevInfo::clearInfoRestoresTheEmptyState()
{
    DataDevInfoWidget panel;
    ReadDevInfoJson info = fixture::header();
    info.th1 = alarm(true, 3000, true, 12, 12, 3, true);
    panel.fillFromRecording(info);
    QSignalSpy notes(&panel, &DataDevInfoWidget::updateNotes);
    panel.clearInfo();
    const DataDevInfoForm &ui = panel.form();
    for (QLabel *label : {ui.devNameLabel, ui.startTimeLabel, ui.recordNum, ui.maxValueLabel,
                          ui.stopModelLabel, ui.recordIntervalLabel, ui.configTimeLabel})
        QVERIFY2(label->text().isEmpty(), qPrintable(label->objectName()));
    QCOMPARE(notes.count(), 0);
    QVERIFY(ui.deviceNoteLabel->text().isEmpty());
    QVERIFY(!row(panel, "th3").checkBtn->isChecked());
    QCOMPARE(rowTexts(row(panel, "th3")), (QStringList{"≥85.0℃", "单一", "0s", "0s", "0", "正常"}));
    QCOMPARE(row(panel, "tl2").value->text(), QStringLiteral("≤-40.0℃"));
    QCOMPARE(row(panel, "hh").value->text(), QStringLiteral("≥100%"));
    QCOMPARE(row(panel, "hl").value->text(), QStringLiteral("≤0%"));
}

void TestDevInfo::evaluation_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("upperOn");
    QTest::addColumn<QVector<double>>("celsius");
    QTest::addColumn<QString>("fingerprint");
    QTest::addColumn<QStringList>("texts");
    const QVector<double> excursions{5, 9, 9.5, 5, 1, 5};
    const QString sha =
        QStringLiteral("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    QTest::newRow("above and below")
        << 0 << true << excursions << sha
        << QStringList{"TL1 2.0℃ … TH1 8.0℃", "2m 0s",         "1m 0s", "6.2℃", "2", "2m 0s",
                       "2024/03/01 08:01:00", "83.144 kJ/mol", sha};
    QTest::newRow("fahrenheit")
        << 1 << true << excursions << sha
        << QStringList{"TL1 35.6°F … TH1 46.4°F", "2m 0s",         "1m 0s", "43.2°F", "2", "2m 0s",
                       "2024/03/01 08:01:00",     "83.144 kJ/mol", sha};
    QTest::newRow("upper limit off: no time above is counted")
        << 0 << false << excursions << QString()
        << QStringList{"TL1 2.0℃ … 无上限",   "---",           "1m 0s", "6.2℃", "1", "1m 0s",
                       "2024/03/01 08:04:00", "83.144 kJ/mol", "---"};
    QTest::newRow("no valid sample: nothing was judged")
        << 0 << true << QVector<double>{-1000, -1000} << sha
        << QStringList{"TL1 2.0℃ … TH1 8.0℃", "---", "---", "---", "---", "---", "---",
                       "83.144 kJ/mol",       sha};
}

// A one-minute recording judged against TL1 2.0 ℃ and TH1 8.0 ℃ (stored under
// tl3 and th3); the panel shows its evaluation and forgets it when cleared.
void TestDevInfo::evaluation()
{
    QFETCH(int, unit);
    QFETCH(bool, upperOn);
    QFETCH(QVector<double>, celsius);
    QFETCH(QString, fingerprint);
    QFETCH(QStringList, texts);
    LoadedRecording loaded;
    loaded.recording = fixture::header();
    loaded.recording.tempUnit = unit;
    loaded.recording.tl3 = alarm(true, 200);
    loaded.recording.th3 = alarm(upperOn, 800);
    loaded.interval = 60;
    const qint64 start = QDateTime(QDate(2024, 3, 1), QTime(8, 0), Qt::UTC).toSecsSinceEpoch();
    for (int i = 0; i < celsius.size(); ++i)
        loaded.samples.append(fixture::point(start + i * 60, float(celsius[i]), 50));

    DataDevInfoWidget panel;
    const DataDevInfoForm &ui = panel.form();
    panel.fillEvaluation(RecordingAnalysis::of(loaded), fingerprint, unit);
    QCOMPARE(evaluationTexts(ui), texts);

    // The fingerprint is copied whole from the keyboard, not only what the box shows.
    ui.fingerprintEdit->setFocus();
    QTest::keyClick(ui.fingerprintEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(ui.fingerprintEdit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), texts.last());

    panel.clearInfo();
    for (const QString &text : evaluationTexts(ui))
        QVERIFY2(text.isEmpty(), qPrintable(text));
}

void TestDevInfo::noteEditsAreSignalled()
{
    DataDevInfoWidget panel;
    QSignalSpy notes(&panel, &DataDevInfoWidget::updateNotes);
    QLineEdit *line = panel.form().lineEdit;
    QTest::keyClicks(line, "  ");
    QTest::keyClick(line, Qt::Key_Return);
    QTest::keyClicks(line, "ab ");
    QCOMPARE(notes.count(), 0);
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(notes.count(), 1);
    QCOMPARE(notes.last().first().toString(), QStringLiteral("ab"));
    // Nothing can keep it without a recording of the archive: the line keeps it.
    QCOMPARE(line->text(), QStringLiteral("  ab "));
    QCOMPARE(line->placeholderText(), QStringLiteral("输入对此记录的备注，按回车保存"));
}

QTEST_MAIN(TestDevInfo)
#include "tst_devinfo.moc"
