// SPDX-License-Identifier: GPL-3.0-or-later
// DateTimeLineEdit: a line edit that shows a date-time and asks for the picker on focus.
#include "settings/datetimelineedit.h"

#include <QRegularExpression>
#include <QSignalBlocker>

const QString DateTimeLineEdit::format = QStringLiteral("yyyy-MM-dd hh:mm:ss");

namespace
{
// The current date-time to the second, as the line edit shows it.
QDateTime now()
{
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
}
} // namespace

DateTimeLineEdit::DateTimeLineEdit(QWidget *parent) : QLineEdit(parent), value(now())
{
    setText(value.toString(format));
    connect(this, &QLineEdit::editingFinished, this, &DateTimeLineEdit::delEditingFinished);
}

void DateTimeLineEdit::setDateTime(const QDateTime &dateTime)
{
    value = dateTime;
    const QSignalBlocker blocker(this);
    setText(value.toString(format));
}

QDateTime DateTimeLineEdit::clampedDateTime(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (text.size() != 19 || !match.hasMatch())
        return now();
    const int year = qMax(2000, match.captured(1).toInt());
    const int month = qBound(1, match.captured(2).toInt(), 12);
    const int day = qBound(1, match.captured(3).toInt(), QDate(year, month, 1).daysInMonth());
    const int hour = qMin(23, match.captured(4).toInt());
    const int minute = qMin(59, match.captured(5).toInt());
    const int second = qMin(59, match.captured(6).toInt());
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void DateTimeLineEdit::delEditingFinished()
{
    setDateTime(clampedDateTime(text()));
}

void DateTimeLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const QDateTime parsed = QDateTime::fromString(text(), format);
    value = parsed.isValid() ? parsed : now();
    emit showDateTimeSet(objectName(), value);
}
