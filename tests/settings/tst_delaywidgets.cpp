// SPDX-License-Identifier: GPL-3.0-or-later
// The delay pickers: their combo lists at the edges of the range and their set operations.
#include "settings/delaysetwidget.h"
#include "settings/delaysetwidgetfrom10.h"
#include "settings/delaysimplesetwidget.h"
#include "widgets/combobox.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

QStringList texts(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

QStringList range(int from, int to, int step, const char *format)
{
    QStringList items;
    for (int v = from; v <= to; v += step)
        items.append(QString::asprintf(format, v));
    return items;
}

QString shown(const DelayComboWidget &w)
{
    QString text = w.hourCombo()->currentText() + QLatin1Char(' ') + w.minuteCombo()->currentText();
    if (w.secondCombo())
        text += QLatin1Char(' ') + w.secondCombo()->currentText();
    return text;
}

// Picks the item `text` in `combo` as a user would.
void choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

} // namespace

class TestDelayWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initialValues();
    void delaySet_data();
    void delaySet();
    void delayTopHourLists();
    void from10ListsFollowHoursAndMinutes();
    void from10IgnoresValuesOutOfRange_data();
    void from10IgnoresValuesOutOfRange();
    void from10Set();
    void simpleTopHourAndSet();
    void userChangesEmitTheWholeValue();
};

void TestDelayWidgets::initialValues()
{
    DelaySetWidget delay;
    DelaySetWidgetFrom10 interval;
    DelaySimpleSetWidget start;
    QCOMPARE(delay.value(), 0);
    QCOMPARE(interval.value(), 10);
    QCOMPARE(start.value(), 0);
    QCOMPARE(shown(interval), QStringLiteral("00h 00m 10s"));
    QCOMPARE(texts(delay.hourCombo()), range(0, 24, 1, "%02dh"));
    QCOMPARE(texts(delay.secondCombo()), range(0, 55, 5, "%02ds"));
    QCOMPARE(texts(start.hourCombo()), range(0, 4, 1, "%02dh"));
    QVERIFY(!start.secondCombo());
    QCOMPARE(delay.size(), QSize(290, 30));
    QCOMPARE(start.size(), QSize(190, 30));
    QCOMPARE(delay.minuteCombo()->geometry(), QRect(100, 0, 90, 30));
}

void TestDelayWidgets::delaySet_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("emitted");
    QTest::newRow("two hours") << 7200 << "02h 00m 00s" << 7200;
    QTest::newRow("mixed") << 3725 << "01h 02m 05s" << 3725;
    QTest::newRow("top") << 86400 << "24h 00m 00s" << 86400;
    QTest::newRow("beyond top") << 90000 << "00h 00m 00s" << 0;
    QTest::newRow("negative") << -5 << "00h 00m 00s" << 0;
}

void TestDelayWidgets::delaySet()
{
    QFETCH(int, value);
    QFETCH(QString, shown);
    QFETCH(int, emitted);
    DelaySetWidget w;
    QSignalSpy spy(&w, &DelayComboWidget::updateDelayTime);
    w.setDelayTime(value);
    QCOMPARE(::shown(w), shown);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), emitted);
}

void TestDelayWidgets::delayTopHourLists()
{
    DelaySetWidget w;
    w.setDelayTime(3600 + 30 * 60 + 15);
    choose(w.hourCombo(), "24h");
    QCOMPARE(texts(w.minuteCombo()), QStringList{"00m"});
    QCOMPARE(texts(w.secondCombo()), QStringList{"00s"});
    QCOMPARE(w.value(), 86400);
    choose(w.hourCombo(), "23h");
    QCOMPARE(texts(w.minuteCombo()), range(0, 59, 1, "%02dm"));
    QCOMPARE(texts(w.secondCombo()), range(0, 55, 5, "%02ds"));
    QCOMPARE(w.value(), 23 * 3600);
}

void TestDelayWidgets::from10ListsFollowHoursAndMinutes()
{
    DelaySetWidgetFrom10 w;
    QCOMPARE(texts(w.secondCombo()), range(10, 55, 5, "%02ds"));
    choose(w.minuteCombo(), "01m");
    QCOMPARE(texts(w.secondCombo()), range(0, 55, 5, "%02ds"));
    // The chosen seconds survive the list change.
    QCOMPARE(w.value(), 70);
    choose(w.secondCombo(), "00s");
    choose(w.minuteCombo(), "00m");
    QCOMPARE(texts(w.secondCombo()), range(10, 55, 5, "%02ds"));
    QCOMPARE(w.value(), 10);
    choose(w.hourCombo(), "24h");
    QCOMPARE(texts(w.secondCombo()), QStringList{"00s"});
    QCOMPARE(w.value(), 86400);
    choose(w.hourCombo(), "00h");
    QCOMPARE(texts(w.minuteCombo()), range(0, 59, 1, "%02dm"));
    QCOMPARE(texts(w.secondCombo()), range(10, 55, 5, "%02ds"));
    QVERIFY(w.value() >= 10);
}

void TestDelayWidgets::from10IgnoresValuesOutOfRange_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("5 s") << 5;
    QTest::newRow("0 s") << 0;
    QTest::newRow("beyond a day") << 86405;
}

void TestDelayWidgets::from10IgnoresValuesOutOfRange()
{
    QFETCH(int, value);
    DelaySetWidgetFrom10 w;
    w.setDelayTime(600);
    QSignalSpy spy(&w, &DelayComboWidget::updateDelayTime);
    w.setDelayTime(value);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(shown(w), QStringLiteral("00h 10m 00s"));
}

void TestDelayWidgets::from10Set()
{
    DelaySetWidgetFrom10 w;
    QSignalSpy spy(&w, &DelayComboWidget::updateDelayTime);
    w.setDelayTime(15);
    QCOMPARE(shown(w), QStringLiteral("00h 00m 15s"));
    QCOMPARE(w.secondCombo()->currentIndex(), 1);
    w.setDelayTime(86400);
    QCOMPARE(shown(w), QStringLiteral("24h 00m 00s"));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), 86400);
}

void TestDelayWidgets::simpleTopHourAndSet()
{
    DelaySimpleSetWidget w;
    QSignalSpy spy(&w, &DelayComboWidget::updateDelayTime);
    w.setDelayTime(75);
    QCOMPARE(shown(w), QStringLiteral("01h 15m"));
    QCOMPARE(spy.takeFirst().at(0).toInt(), 75);
    choose(w.hourCombo(), "04h");
    QCOMPARE(texts(w.minuteCombo()), QStringList{"00m"});
    QCOMPARE(spy.takeLast().at(0).toInt(), 240);
    // A byte beyond four hours shows the top instead of an empty minute combo.
    w.setDelayTime(250);
    QCOMPARE(shown(w), QStringLiteral("04h 00m"));
    QCOMPARE(spy.takeLast().at(0).toInt(), 240);
}

void TestDelayWidgets::userChangesEmitTheWholeValue()
{
    DelaySetWidget w;
    QSignalSpy spy(&w, &DelayComboWidget::updateDelayTime);
    choose(w.hourCombo(), "01h");
    choose(w.minuteCombo(), "30m");
    choose(w.secondCombo(), "45s");
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), 3600);
    QCOMPARE(spy.at(1).at(0).toInt(), 5400);
    QCOMPARE(spy.at(2).at(0).toInt(), 5445);
}

QTEST_MAIN(TestDelayWidgets)
#include "tst_delaywidgets.moc"
