// SPDX-License-Identifier: GPL-3.0-or-later
// The search above the recording list: text, a date span, "out of range only" and "not yet
// reviewed".
#include "app/archivesearchbar.h"

#include "core/settinginfo.h"
#include "widgets/wheelguard.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace
{
const char *const editStyle = "QLineEdit{border:1px solid #DDD;border-radius:4px;padding:2px 6px;"
                              "font-size:14px;background:white;}";
const char *const dateStyle = "QDateEdit{border:1px solid #DDD;border-radius:4px;padding:1px 4px;"
                              "font-size:13px;background:white;}";
const char *const checkStyle = "QCheckBox{font-size:13px;color:#333;}";
// The calendar's header is a plain widget, which the white background of the
// window's left column would otherwise reach, hiding its white month and year.
const char *const calendarStyle =
    "QWidget#qt_calendar_navigationbar{background-color: rgb(32, 33, 36);}"
    "QWidget#qt_calendar_navigationbar QToolButton{color: white; font-size: 13px;}"
    "QWidget#qt_calendar_navigationbar QSpinBox{color: white; background: rgb(32, 33, 36);}";

qint64 dayStart(const QDate &date)
{
    return QDateTime(date, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
}
} // namespace

ArchiveSearchBar::ArchiveSearchBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("archiveSearchBar"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);

    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    searchEdit->setClearButtonEnabled(true);
    searchEdit->setStyleSheet(editStyle);
    searchEdit->setFixedHeight(28);
    layout->addWidget(searchEdit);

    auto *secondRow = new QHBoxLayout;
    dateBox = new QCheckBox(this);
    dateBox->setObjectName(QStringLiteral("dateBox"));
    dateBox->setStyleSheet(checkStyle);
    // The last month by default: what a user who switches the span on most
    // likely wants.
    const QDate today = QDate::currentDate();
    fromEdit = new QDateEdit(today.addMonths(-1), this);
    fromEdit->setObjectName(QStringLiteral("fromEdit"));
    toEdit = new QDateEdit(today, this);
    toEdit->setObjectName(QStringLiteral("toEdit"));
    for (QDateEdit *edit : {fromEdit, toEdit}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendarPopup(true);
        edit->setStyleSheet(dateStyle);
        edit->calendarWidget()->setStyleSheet(calendarStyle);
    }
    secondRow->addWidget(dateBox);
    secondRow->addWidget(fromEdit, 1);
    secondRow->addWidget(toEdit, 1);
    layout->addLayout(secondRow);

    // The switches have a row of their own: beside the text or the days
    // their English names would leave those too little room.
    auto *thirdRow = new QHBoxLayout;
    outOfRangeBox = new QCheckBox(this);
    outOfRangeBox->setObjectName(QStringLiteral("outOfRangeBox"));
    unsignedBox = new QCheckBox(this);
    unsignedBox->setObjectName(QStringLiteral("unsignedBox"));
    for (QCheckBox *box : {outOfRangeBox, unsignedBox}) {
        box->setStyleSheet(checkStyle);
        thirdRow->addWidget(box);
    }
    thirdRow->addStretch();
    layout->addLayout(thirdRow);

    debounce = new QTimer(this);
    debounce->setSingleShot(true);
    debounce->setInterval(debounceMs);
    connect(debounce, &QTimer::timeout, this, &ArchiveSearchBar::searchChanged);
    const auto restart = [this] { debounce->start(); };
    // The fields stay open to typing: a day typed or picked switches the span on.
    const auto dateEdited = [this, restart] {
        dateBox->setChecked(true);
        restart();
    };
    connect(searchEdit, &QLineEdit::textChanged, this, restart);
    connect(fromEdit, &QDateEdit::dateChanged, this, dateEdited);
    connect(toEdit, &QDateEdit::dateChanged, this, dateEdited);
    connect(outOfRangeBox, &QCheckBox::toggled, this, restart);
    connect(unsignedBox, &QCheckBox::toggled, this, restart);
    connect(dateBox, &QCheckBox::toggled, this, restart);
    // A wheel passing over a date field scrolls the list's column, not the day.
    WheelGuard::install(this);
    retranslate();
}

ArchiveFilter ArchiveSearchBar::filter() const
{
    ArchiveFilter filter;
    filter.text = searchEdit->text().trimmed();
    filter.outOfRangeOnly = outOfRangeBox->isChecked();
    filter.unsignedOnly = unsignedBox->isChecked();
    if (dateBox->isChecked()) {
        // The whole of both days, whichever way round they were entered.
        const QDate first = std::min(fromEdit->date(), toEdit->date());
        const QDate last = std::max(fromEdit->date(), toEdit->date());
        filter.from = dayStart(first);
        filter.to = dayStart(last.addDays(1)) - 1;
    }
    return filter;
}

bool ArchiveSearchBar::isSpanReversed() const
{
    return dateBox->isChecked() && fromEdit->date() > toEdit->date();
}

QString ArchiveSearchBar::spanText(bool first) const
{
    const QDate day = first ? std::min(fromEdit->date(), toEdit->date())
                            : std::max(fromEdit->date(), toEdit->date());
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

bool ArchiveSearchBar::isActive() const
{
    return !searchEdit->text().trimmed().isEmpty() || dateBox->isChecked() ||
           outOfRangeBox->isChecked() || unsignedBox->isChecked();
}

void ArchiveSearchBar::clearSearch()
{
    searchEdit->clear();
    dateBox->setChecked(false);
    outOfRangeBox->setChecked(false);
    unsignedBox->setChecked(false);
}

void ArchiveSearchBar::retranslate()
{
    searchEdit->setPlaceholderText(tr("搜索名称、备注或序列号"));
    outOfRangeBox->setText(tr("仅超限"));
    unsignedBox->setText(tr("未审核"));
    dateBox->setText(tr("日期"));
    // Month and weekday names of the calendar in the interface's language.
    const QLocale locale = isEnglish() ? QLocale(QLocale::English, QLocale::UnitedStates)
                                       : QLocale(QLocale::Chinese, QLocale::China);
    for (QDateEdit *edit : {fromEdit, toEdit}) {
        edit->setLocale(locale);
        edit->calendarWidget()->setLocale(locale);
    }
}

void ArchiveSearchBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
