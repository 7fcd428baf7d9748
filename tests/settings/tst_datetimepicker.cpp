// SPDX-License-Identifier: GPL-3.0-or-later
// The date-time picker: calendar grid, navigation limits, line-edit clamping and the overlay.
#include "settings/datetimedialog.h"
#include "settings/datetimelineedit.h"
#include "settings/datetimewidget.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TestDateTimePicker : public QObject
{
    Q_OBJECT
private slots:
    void march2024Grid();
    void monthNavigationWrapsTheYear();
    void yearNavigationLimits();
    void navigationKeepsTheDayAndStaysQuiet();
    void clicksEmitThePickedValue();
    void columnsScrollToTheChosenItem();
    void lineEditClamping_data();
    void lineEditClamping();
    void lineEditAsksForThePickerOnFocus();
    void pickerPlacement_data();
    void pickerPlacement();
    void dialogRunsUntilOkAndRelaysChanges();
};

void TestDateTimePicker::march2024Grid()
{
    DateTimeWidget w;
    w.setDateTime(QDateTime(QDate(2024, 3, 15), QTime(8, 30, 0)));
    QCOMPARE(w.offset(), 4);
    QCOMPARE(w.findChild<QLabel *>("dateLabel")->text(), QStringLiteral("2024-03"));
    const QStringList before = {"26", "27", "28", "29"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.dayCell(i)->text(), before.at(i));
        QVERIFY(!w.dayCell(i)->isEnabled());
    }
    QCOMPARE(w.dayCell(4)->text(), QStringLiteral("1"));
    QVERIFY(w.dayCell(4)->isEnabled());
    QCOMPARE(w.dayCell(34)->text(), QStringLiteral("31"));
    QCOMPARE(w.dayCell(35)->text(), QStringLiteral("1"));
    QVERIFY(!w.dayCell(35)->isEnabled());
    QCOMPARE(w.dayCell(41)->text(), QStringLiteral("7"));
    QVERIFY(w.dayCell(4 + 14)->isChecked());
    QCOMPARE(w.findChild<QLabel *>("timeLabel")->text(), QStringLiteral("08:30:00"));
}

void TestDateTimePicker::monthNavigationWrapsTheYear()
{
    DateTimeWidget w;
    w.setDateTime(QDateTime(QDate(2024, 1, 10), QTime(0, 0)));
    w.on_lastMoth_clicked();
    QCOMPARE(w.year(), 2023);
    QCOMPARE(w.month(), 12);
    w.setDateTime(QDateTime(QDate(2024, 12, 10), QTime(0, 0)));
    w.on_nextMonth_clicked();
    QCOMPARE(w.year(), 2025);
    QCOMPARE(w.month(), 1);
    QCOMPARE(w.findChild<QLabel *>("dateLabel")->text(), QStringLiteral("2025-01"));
    // A month that starts on a Monday has no leading cells.
    w.setDateTime(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    QCOMPARE(w.offset(), 0);
    QCOMPARE(w.dayCell(0)->text(), QStringLiteral("1"));
}

void TestDateTimePicker::yearNavigationLimits()
{
    DateTimeWidget w;
    w.setDateTime(QDateTime(QDate(2000, 6, 1), QTime(0, 0)));
    w.on_lastYear_clicked();
    QCOMPARE(w.year(), 2000);
    w.on_nextYear_clicked();
    QCOMPARE(w.year(), 2000);
    w.setDateTime(QDateTime(QDate(2001, 6, 1), QTime(0, 0)));
    w.on_lastYear_clicked();
    QCOMPARE(w.year(), 2000);
    w.setDateTime(QDateTime(QDate(2254, 6, 1), QTime(0, 0)));
    w.on_nextYear_clicked();
    QCOMPARE(w.year(), 2255);
    w.on_nextYear_clicked();
    QCOMPARE(w.year(), 2255);
}

void TestDateTimePicker::navigationKeepsTheDayAndStaysQuiet()
{
    DateTimeWidget w;
    w.setDateTime(QDateTime(QDate(2024, 1, 31), QTime(1, 2, 3)));
    QSignalSpy changed(&w, &DateTimeWidget::dateTimeChanged);
    w.on_nextMonth_clicked();
    QCOMPARE(changed.count(), 0);
    for (int i = 0; i < 42; ++i)
        QVERIFY(!w.dayCell(i)->isChecked());
    // February has no 31st: the picked value is no valid date until a day is chosen.
    QVERIFY(!w.currentDateTime().isValid());
    w.dayCell(w.offset() + 28)->click();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toDateTime(), QDateTime(QDate(2024, 2, 29), QTime(1, 2, 3)));
}

void TestDateTimePicker::clicksEmitThePickedValue()
{
    DateTimeWidget w;
    w.setDateTime(QDateTime(QDate(2024, 3, 15), QTime(8, 30, 0)));
    QSignalSpy changed(&w, &DateTimeWidget::dateTimeChanged);
    QSignalSpy ok(&w, &DateTimeWidget::sendOk);
    w.findChild<QWidget *>("hourWidget")->findChildren<QPushButton *>().at(23)->click();
    w.findChild<QWidget *>("minuteWidget")->findChildren<QPushButton *>().at(59)->click();
    w.findChild<QWidget *>("secondWidget")->findChildren<QPushButton *>().at(7)->click();
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.last().at(0).toDateTime(), QDateTime(QDate(2024, 3, 15), QTime(23, 59, 7)));
    QCOMPARE(w.findChild<QLabel *>("timeLabel")->text(), QStringLiteral("23:59:07"));
    w.findChild<QPushButton *>("okBtn")->click();
    QCOMPARE(ok.count(), 1);
    QCOMPARE(ok.at(0).at(0).toDateTime(), QDateTime(QDate(2024, 3, 15), QTime(23, 59, 7)));
    w.findChild<QPushButton *>("todayBtn")->click();
    QCOMPARE(changed.count(), 4);
    QVERIFY(qAbs(changed.last().at(0).toDateTime().secsTo(QDateTime::currentDateTime())) <= 2);
}

void TestDateTimePicker::columnsScrollToTheChosenItem()
{
    QCOMPARE(DateTimeWidget::itemTop(0), 6);
    QCOMPARE(DateTimeWidget::itemTop(23), 24 * 6 + 23 * 20);
    QCOMPARE(DateTimeWidget::extraRows(358), 9);
    QCOMPARE(DateTimeWidget::columnHeight(24, 9), 25 * 6 + 24 * 20 + 26 * 9);

    DateTimeWidget w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.setDateTime(QDateTime(QDate(2024, 3, 15), QTime(23, 59, 30)));
    QCOMPARE(w.findChild<QScrollArea *>("hScrollArea")->verticalScrollBar()->value(),
             DateTimeWidget::itemTop(23));
    QCOMPARE(w.findChild<QScrollArea *>("mScrollArea")->verticalScrollBar()->value(),
             DateTimeWidget::itemTop(59));
    QCOMPARE(w.findChild<QScrollArea *>("sScrollArea")->verticalScrollBar()->value(),
             DateTimeWidget::itemTop(30));
}

void TestDateTimePicker::lineEditClamping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("day, hour, minute, second") << "2023-02-30 25:61:61"
                                               << "2023-02-28 23:59:59";
    QTest::newRow("leap February") << "2024-02-30 10:00:00"
                                   << "2024-02-29 10:00:00";
    QTest::newRow("century not leap") << "2100-02-29 10:00:00"
                                      << "2100-02-28 10:00:00";
    QTest::newRow("month") << "2024-13-05 10:00:00"
                           << "2024-12-05 10:00:00";
    QTest::newRow("year") << "1999-05-05 10:00:00"
                          << "2000-05-05 10:00:00";
    QTest::newRow("zero month and day") << "2024-00-00 00:00:00"
                                        << "2024-01-01 00:00:00";
}

void TestDateTimePicker::lineEditClamping()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    DateTimeLineEdit edit;
    edit.setText(typed);
    edit.delEditingFinished();
    QCOMPARE(edit.text(), kept);
    QCOMPARE(edit.dateTime().toString(DateTimeLineEdit::format), kept);
}

void TestDateTimePicker::lineEditAsksForThePickerOnFocus()
{
    QWidget window;
    auto *other = new QPushButton(&window);
    auto *edit = new DateTimeLineEdit(&window);
    edit->setObjectName("dateTimeLE");
    edit->move(0, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy asked(edit, &DateTimeLineEdit::showDateTimeSet);
    edit->setText("2024-05-06 07:08:09");
    other->setFocus();
    edit->setFocus();
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.at(0).at(0).toString(), QStringLiteral("dateTimeLE"));
    QCOMPARE(asked.at(0).at(1).toDateTime(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    // Text of another shape turns into the current date-time.
    other->setFocus();
    edit->setText("garbage");
    edit->setFocus();
    QCOMPARE(asked.count(), 2);
    QVERIFY(qAbs(asked.at(1).at(1).toDateTime().secsTo(QDateTime::currentDateTime())) <= 2);
}

void TestDateTimePicker::pickerPlacement_data()
{
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QPoint>("position");
    const QSize overlay(1000, 800);
    QTest::newRow("above the line edit") << QRect(100, 500, 200, 30) << QPoint(100, 500 - 358 + 4);
    QTest::newRow("kept from the right edge")
        << QRect(700, 500, 200, 30) << QPoint(1000 - 482 - 30, 146);
    QTest::newRow("no room above") << QRect(100, 60, 200, 30) << QPoint(100, 60 + 29 - 3);
}

void TestDateTimePicker::pickerPlacement()
{
    QFETCH(QRect, target);
    QFETCH(QPoint, position);
    QCOMPARE(DateTimeDialog::pickerPosition(target, QSize(1000, 800), QSize(482, 358)), position);
}

void TestDateTimePicker::dialogRunsUntilOkAndRelaysChanges()
{
    QWidget form;
    form.resize(1000, 800);
    DateTimeDialog dialog(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(dialog.geometry(), form.rect());
    dialog.setTargetName("startTimeLE");
    QSignalSpy changed(&dialog, &DateTimeDialog::dateTimeChanged);
    QSignalSpy closed(&dialog, &DateTimeDialog::closed);
    dialog.showPicker(QRect(100, 500, 200, 30), QDateTime(QDate(2024, 3, 15), QTime(8, 30, 0)));
    // Shown without waiting for the answer.
    QVERIFY(dialog.isVisible());
    QCOMPARE(closed.count(), 0);
    dialog.picker()->setHour(5);
    dialog.picker()->findChild<QPushButton *>("okBtn")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toString(), QStringLiteral("startTimeLE"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("startTimeLE"));
    QCOMPARE(dialog.okDateTime(), QDateTime(QDate(2024, 3, 15), QTime(5, 30, 0)));
    QCOMPARE(dialog.picker()->pos(), QPoint(100, 146));

    // A press outside the picker closes it as well.
    dialog.showPicker(QRect(100, 500, 200, 30), QDateTime(QDate(2024, 3, 15), QTime(8, 30, 0)));
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(closed.count(), 2);
    form.resize(1200, 900);
    QCOMPARE(dialog.geometry(), form.rect());
}

QTEST_MAIN(TestDateTimePicker)
#include "tst_datetimepicker.moc"
