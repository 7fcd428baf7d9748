// SPDX-License-Identifier: GPL-3.0-or-later
// DateTimeLineEdit: a line edit that shows a date-time and asks for the picker on focus.
#pragma once

#include <QDateTime>
#include <QLineEdit>

class DateTimeLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateTimeLineEdit(QWidget *parent = nullptr);

    QDateTime dateTime() const { return value; }
    // Shows `dateTime` as "yyyy-MM-dd hh:mm:ss" without emitting anything.
    void setDateTime(const QDateTime &dateTime);

    // The date-time of a "yyyy-MM-dd hh:mm:ss" text with every field clamped
    // into its range (year from 2000, the day within its month); the current
    // date-time when the text has another shape.
    static QDateTime clampedDateTime(const QString &text);

    static const QString format;

signals:
    void showDateTimeSet(QString objName, QDateTime dateTime);

public slots:
    void delEditingFinished();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QDateTime value;
};
