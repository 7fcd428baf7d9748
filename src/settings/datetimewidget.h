// SPDX-License-Identifier: GPL-3.0-or-later
// DateTimeWidget: the date-time picker with a month calendar and hour, minute and second columns.
#pragma once

#include <QDateTime>
#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;
class QScrollArea;

class DateTimeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DateTimeWidget(QWidget *parent = nullptr);

    // Shows `dateTime` with its day and time checked, without emitting.
    void setDateTime(const QDateTime &dateTime);
    // The picked date and time; not a valid date after navigating to a month
    // shorter than the stored day.
    QDateTime currentDateTime() const;

    int year() const { return yearValue; }
    int month() const { return monthValue; }
    // Grid cell of the first day of the shown month (0 = Monday).
    int offset() const { return offsetValue; }
    QPushButton *dayCell(int index) const;

    // Monday-based grid column of the first day of `month` in `year`.
    static int monthOffset(int year, int month);
    // Height of a time column of `items` buttons with `extraRows` blank rows below.
    static int columnHeight(int items, int extraRows);
    // Blank rows below the last item that let it scroll to the top.
    static int extraRows(int widgetHeight);
    // Scroll position that brings item `n` to the top of its column.
    static int itemTop(int n);

signals:
    void sendOk(QDateTime dateTime);
    void dateTimeChanged(QDateTime dateTime);

public slots:
    void on_nextMonth_clicked();
    void on_lastMoth_clicked();
    void on_lastYear_clicked();
    void on_nextYear_clicked();
    void on_todayBtn_clicked();
    void on_okBtn_clicked();
    void setHour(int hour);
    void setMinute(int minute);
    void setSecond(int second);
    void setDay(int day);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildDateSide(QWidget *dateWidget);
    void buildTimeSide(QWidget *timeWidget);
    QScrollArea *buildColumn(QWidget *timeWidget, const char *areaName, const char *contentName,
                             int items, QButtonGroup *group);
    void showMonth(int year, int month);
    void placeDayCells();
    void showTime();
    void scrollColumns();
    void retranslate();

    int yearValue = 2024;
    int monthValue = 1;
    int dayValue = 1;
    int hourValue = 0;
    int minuteValue = 0;
    int secondValue = 0;
    int offsetValue = 0;

    QWidget *dateTable = nullptr;
    QLabel *dateLabel = nullptr;
    QLabel *timeLabel = nullptr;
    QPushButton *todayBtn = nullptr;
    QPushButton *okBtn = nullptr;
    QList<QLabel *> weekLabels;
    QButtonGroup *hourGroup = nullptr;
    QButtonGroup *minuteGroup = nullptr;
    QButtonGroup *secondGroup = nullptr;
    QButtonGroup *dayGroup = nullptr;
    QScrollArea *hScrollArea = nullptr;
    QScrollArea *mScrollArea = nullptr;
    QScrollArea *sScrollArea = nullptr;
};
