// SPDX-License-Identifier: GPL-3.0-or-later
// DateTimeWidget: the date-time picker with a month calendar and hour, minute and second columns.
#include "settings/datetimewidget.h"

#include "widgets/materialscrollbar.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

const char *const itemStyle =
    "QPushButton{border:none;}QPushButton:hover{background-color: rgb(245, "
    "245, 245);}QPushButton:checked{background-color: rgb(255, 107, "
    "0);color:white;}";
const char *const navStyle = "QPushButton{border:none;border-radius:4px;color:rgb(32, 33, "
                             "36);font-size:16px;}QPushButton:hover{background-color:rgb(238, 238, "
                             "238);}";
const char *const bottomStyle =
    "QPushButton{border:none;border-radius:4px;background-color:rgb(246, "
    "247, 252);}QPushButton:hover{background-color:rgb(238, 238, "
    "238);}";

constexpr int pickerWidth = 482;
constexpr int pickerHeight = 358;
constexpr int itemHeight = 20;
constexpr int itemGap = 6;
constexpr int sideMargin = 4;
constexpr int itemWidth = 39 - sideMargin;
constexpr int dayCells = 42;

QDateTime nowToTheSecond()
{
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
}

QPushButton *navButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(28, 28);
    button->setStyleSheet(QLatin1String(navStyle));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void scrollTo(QScrollArea *area, int item)
{
    area->verticalScrollBar()->setValue(DateTimeWidget::itemTop(item));
}

} // namespace

DateTimeWidget::DateTimeWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DateTimeWidget"));
    setFixedSize(pickerWidth, pickerHeight);

    auto *dtMainWidget = new QWidget(this);
    dtMainWidget->setObjectName(QStringLiteral("dtMainWidget"));
    dtMainWidget->setGeometry(9, 9, pickerWidth - 18, pickerHeight - 18);
    dtMainWidget->setStyleSheet(
        QStringLiteral("#dtMainWidget{background-color:white;border-radius:4px;}"));
    auto *shadow = new QGraphicsDropShadowEffect(dtMainWidget);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(180, 180, 180));
    shadow->setBlurRadius(20);
    dtMainWidget->setGraphicsEffect(shadow);

    auto *mainLayout = new QVBoxLayout(dtMainWidget);
    mainLayout->setContentsMargins(8, 8, 8, 6);
    mainLayout->setSpacing(4);
    auto *upper = new QHBoxLayout;
    upper->setSpacing(6);
    auto *dateWidget = new QWidget(dtMainWidget);
    dateWidget->setObjectName(QStringLiteral("dateWidget"));
    auto *timeWidget = new QWidget(dtMainWidget);
    timeWidget->setObjectName(QStringLiteral("timeWidget"));
    timeWidget->setFixedWidth(148);
    upper->addWidget(dateWidget, 1);
    upper->addWidget(timeWidget);
    mainLayout->addLayout(upper, 1);

    auto *bottomWidget = new QWidget(dtMainWidget);
    bottomWidget->setObjectName(QStringLiteral("bottomWidget"));
    bottomWidget->setFixedHeight(40);
    auto *bottomLayout = new QHBoxLayout(bottomWidget);
    bottomLayout->setContentsMargins(0, 4, 0, 4);
    todayBtn = new QPushButton(bottomWidget);
    todayBtn->setObjectName(QStringLiteral("todayBtn"));
    okBtn = new QPushButton(bottomWidget);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    for (QPushButton *button : {todayBtn, okBtn}) {
        button->setFixedSize(80, 30);
        button->setStyleSheet(QLatin1String(bottomStyle));
        button->setCursor(Qt::PointingHandCursor);
    }
    bottomLayout->addWidget(todayBtn);
    bottomLayout->addStretch(1);
    bottomLayout->addWidget(okBtn);
    mainLayout->addWidget(bottomWidget);

    buildDateSide(dateWidget);
    buildTimeSide(timeWidget);
    retranslate();

    connect(hourGroup, &QButtonGroup::idClicked, this, &DateTimeWidget::setHour);
    connect(minuteGroup, &QButtonGroup::idClicked, this, &DateTimeWidget::setMinute);
    connect(secondGroup, &QButtonGroup::idClicked, this, &DateTimeWidget::setSecond);
    connect(dayGroup, &QButtonGroup::idClicked, this, &DateTimeWidget::setDay);
    QMetaObject::connectSlotsByName(this);

    showMonth(yearValue, monthValue);
    showTime();
}

void DateTimeWidget::buildDateSide(QWidget *dateWidget)
{
    auto *layout = new QVBoxLayout(dateWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *dateTitle = new QWidget(dateWidget);
    dateTitle->setObjectName(QStringLiteral("dateTitle"));
    dateTitle->setFixedHeight(36);
    auto *titleLayout = new QHBoxLayout(dateTitle);
    titleLayout->setContentsMargins(16, 4, 16, 4);
    titleLayout->addWidget(navButton(dateTitle, "lastYear", QStringLiteral("«")));
    titleLayout->addWidget(navButton(dateTitle, "lastMoth", QStringLiteral("‹")));
    titleLayout->addStretch(1);
    dateLabel = new QLabel(dateTitle);
    dateLabel->setObjectName(QStringLiteral("dateLabel"));
    dateLabel->setStyleSheet(QStringLiteral("font-size:16px;font-weight:bold;"));
    titleLayout->addWidget(dateLabel);
    titleLayout->addStretch(1);
    titleLayout->addWidget(navButton(dateTitle, "nextMonth", QStringLiteral("›")));
    titleLayout->addWidget(navButton(dateTitle, "nextYear", QStringLiteral("»")));
    layout->addWidget(dateTitle);

    dateTable = new QWidget(dateWidget);
    dateTable->setObjectName(QStringLiteral("dateTable"));
    dateTable->installEventFilter(this);
    layout->addWidget(dateTable, 1);
    for (int i = 0; i < 7; ++i) {
        auto *label = new QLabel(dateTable);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color:rgb(128, 128, 128);"));
        weekLabels.append(label);
    }
    dayGroup = new QButtonGroup(this);
    for (int i = 0; i < dayCells; ++i) {
        auto *cell = new QPushButton(dateTable);
        cell->setCheckable(true);
        cell->setStyleSheet(QLatin1String(itemStyle));
        dayGroup->addButton(cell, i);
    }
}

QScrollArea *DateTimeWidget::buildColumn(QWidget *timeWidget, const char *areaName,
                                         const char *contentName, int items, QButtonGroup *group)
{
    auto *area = new QScrollArea(timeWidget);
    area->setObjectName(QLatin1String(areaName));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBar(new MaterialScrollBar(area));
    area->setStyleSheet(QStringLiteral("background-color:white;"));
    auto *content = new QWidget;
    content->setObjectName(QLatin1String(contentName));
    content->setFixedSize(itemWidth + sideMargin, columnHeight(items, extraRows(height())));
    for (int n = 0; n < items; ++n) {
        auto *button = new QPushButton(QString::asprintf("%02d", n), content);
        button->setCheckable(true);
        button->setStyleSheet(QLatin1String(itemStyle));
        button->setGeometry(2, itemTop(n), itemWidth, itemHeight);
        group->addButton(button, n);
    }
    area->setWidget(content);
    return area;
}

void DateTimeWidget::buildTimeSide(QWidget *timeWidget)
{
    auto *layout = new QVBoxLayout(timeWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    timeLabel = new QLabel(timeWidget);
    timeLabel->setObjectName(QStringLiteral("timeLabel"));
    timeLabel->setFixedHeight(36);
    timeLabel->setAlignment(Qt::AlignCenter);
    timeLabel->setStyleSheet(QStringLiteral("font-size:16px;font-weight:bold;"));
    layout->addWidget(timeLabel);
    auto *columns = new QHBoxLayout;
    columns->setSpacing(2);
    hourGroup = new QButtonGroup(this);
    minuteGroup = new QButtonGroup(this);
    secondGroup = new QButtonGroup(this);
    hScrollArea = buildColumn(timeWidget, "hScrollArea", "hourWidget", 24, hourGroup);
    mScrollArea = buildColumn(timeWidget, "mScrollArea", "minuteWidget", 60, minuteGroup);
    sScrollArea = buildColumn(timeWidget, "sScrollArea", "secondWidget", 60, secondGroup);
    for (QScrollArea *area : {hScrollArea, mScrollArea, sScrollArea})
        columns->addWidget(area);
    layout->addLayout(columns, 1);
}

int DateTimeWidget::monthOffset(int year, int month)
{
    return QDate(year, month, 1).dayOfWeek() - 1;
}

int DateTimeWidget::columnHeight(int items, int extraRows)
{
    return (items + 1) * itemGap + items * itemHeight + (itemHeight + itemGap) * extraRows;
}

int DateTimeWidget::extraRows(int widgetHeight)
{
    return int((widgetHeight - 1 - 97) / 26.0 - 1);
}

int DateTimeWidget::itemTop(int n)
{
    return n * itemHeight + (n + 1) * itemGap;
}

QPushButton *DateTimeWidget::dayCell(int index) const
{
    return qobject_cast<QPushButton *>(dayGroup->button(index));
}

void DateTimeWidget::showMonth(int year, int month)
{
    yearValue = year;
    monthValue = month;
    const QDate first(year, month, 1);
    dateLabel->setText(first.toString(QStringLiteral("yyyy-MM")));
    offsetValue = monthOffset(year, month);

    dayGroup->setExclusive(false);
    for (QAbstractButton *cell : dayGroup->buttons())
        cell->setChecked(false);
    dayGroup->setExclusive(true);

    const int length = first.daysInMonth();
    const int previousLength = first.addMonths(-1).daysInMonth();
    for (int i = 0; i < dayCells; ++i) {
        int shown;
        bool inMonth = false;
        if (i < offsetValue) {
            shown = previousLength - offsetValue + 1 + i;
        } else if (i < offsetValue + length) {
            shown = i - offsetValue + 1;
            inMonth = true;
        } else {
            shown = i - offsetValue - length + 1;
        }
        QPushButton *cell = dayCell(i);
        cell->setText(QString::number(shown));
        cell->setEnabled(inMonth);
        cell->setCheckable(inMonth);
    }
}

void DateTimeWidget::placeDayCells()
{
    const int w = (dateTable->width() - 40) / 7;
    const int h = (dateTable->height() - 20) / 7;
    for (int col = 0; col < 7; ++col)
        weekLabels.at(col)->setGeometry(20 + col * w, 10, w, h);
    for (int i = 0; i < dayCells; ++i)
        dayCell(i)->setGeometry(20 + (i % 7) * w, 10 + (i / 7 + 1) * h, w, h);
}

void DateTimeWidget::showTime()
{
    timeLabel->setText(
        QTime(hourValue, minuteValue, secondValue).toString(QStringLiteral("hh:mm:ss")));
    hourGroup->button(hourValue)->setChecked(true);
    minuteGroup->button(minuteValue)->setChecked(true);
    secondGroup->button(secondValue)->setChecked(true);
    scrollColumns();
}

void DateTimeWidget::scrollColumns()
{
    scrollTo(hScrollArea, hourValue);
    scrollTo(mScrollArea, minuteValue);
    scrollTo(sScrollArea, secondValue);
}

void DateTimeWidget::setDateTime(const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    if (!date.isValid() || !time.isValid())
        return;
    showMonth(date.year(), date.month());
    dayValue = date.day();
    dayCell(offsetValue + dayValue - 1)->setChecked(true);
    hourValue = time.hour();
    minuteValue = time.minute();
    secondValue = time.second();
    showTime();
}

QDateTime DateTimeWidget::currentDateTime() const
{
    return QDateTime(QDate(yearValue, monthValue, dayValue),
                     QTime(hourValue, minuteValue, secondValue));
}

void DateTimeWidget::on_nextMonth_clicked()
{
    if (monthValue == 12)
        showMonth(yearValue + 1, 1);
    else
        showMonth(yearValue, monthValue + 1);
}

void DateTimeWidget::on_lastMoth_clicked()
{
    if (monthValue == 1)
        showMonth(yearValue - 1, 12);
    else
        showMonth(yearValue, monthValue - 1);
}

void DateTimeWidget::on_lastYear_clicked()
{
    if (yearValue >= 2001 && yearValue <= 2254)
        showMonth(yearValue - 1, monthValue);
}

void DateTimeWidget::on_nextYear_clicked()
{
    if (yearValue >= 2001 && yearValue <= 2254)
        showMonth(yearValue + 1, monthValue);
}

void DateTimeWidget::on_todayBtn_clicked()
{
    const QDateTime now = nowToTheSecond();
    setDateTime(now);
    emit dateTimeChanged(now);
}

void DateTimeWidget::on_okBtn_clicked()
{
    emit sendOk(currentDateTime());
}

void DateTimeWidget::setHour(int hour)
{
    hourValue = hour;
    showTime();
    emit dateTimeChanged(currentDateTime());
}

void DateTimeWidget::setMinute(int minute)
{
    minuteValue = minute;
    showTime();
    emit dateTimeChanged(currentDateTime());
}

void DateTimeWidget::setSecond(int second)
{
    secondValue = second;
    showTime();
    emit dateTimeChanged(currentDateTime());
}

void DateTimeWidget::setDay(int day)
{
    dayValue = day - offsetValue + 1;
    emit dateTimeChanged(currentDateTime());
}

bool DateTimeWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == dateTable && event->type() == QEvent::Resize)
        placeDayCells();
    return QWidget::eventFilter(watched, event);
}

void DateTimeWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The columns learn their scroll ranges only once laid out.
    QTimer::singleShot(0, this, &DateTimeWidget::scrollColumns);
}

void DateTimeWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void DateTimeWidget::retranslate()
{
    const QStringList names = {tr("一"), tr("二"), tr("三"), tr("四"),
                               tr("五"), tr("六"), tr("日")};
    for (int i = 0; i < 7; ++i)
        weekLabels.at(i)->setText(names.at(i));
    todayBtn->setText(tr("此刻"));
    okBtn->setText(tr("确定"));
}
