// SPDX-License-Identifier: GPL-3.0-or-later
// DateTimeDialog: the transparent overlay that hosts the date-time picker over its parent.
#include "settings/datetimedialog.h"

#include "settings/datetimewidget.h"

#include <QMouseEvent>

DateTimeDialog::DateTimeDialog(QWidget *parent) : QWidget(parent), widget(new DateTimeWidget(this))
{
    setObjectName(QStringLiteral("DateTimeDialog"));
    if (parent)
        parent->installEventFilter(this);
    connect(widget, &DateTimeWidget::sendOk, this, &DateTimeDialog::delOk);
    connect(widget, &DateTimeWidget::dateTimeChanged, this, [this](const QDateTime &dateTime) {
        if (isVisible())
            emit dateTimeChanged(target, dateTime);
    });
    coverParent();
    hide();
}

QPoint DateTimeDialog::pickerPosition(const QRect &targetRect, const QSize &overlay,
                                      const QSize &picker)
{
    const int x = qMin(targetRect.left(), overlay.width() - picker.width() - 30);
    int y = targetRect.top() - picker.height() + 4;
    // A line edit near the top of the page would push the picker out of
    // sight; it then opens below the line edit, kept inside the overlay.
    if (y < 0)
        y = qMax(0, qMin(targetRect.bottom() - 3, overlay.height() - picker.height()));
    return QPoint(x, y);
}

void DateTimeDialog::showPicker(const QRect &targetRect, const QDateTime &dateTime)
{
    coverParent();
    widget->move(pickerPosition(targetRect, size(), widget->size()));
    widget->setDateTime(dateTime);
    show();
    raise();
}

void DateTimeDialog::delOk(QDateTime dateTime)
{
    confirmed = dateTime;
    hide();
}

bool DateTimeDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        coverParent();
    return QWidget::eventFilter(watched, event);
}

bool DateTimeDialog::event(QEvent *event)
{
    if (event->type() == QEvent::ParentAboutToChange && parentWidget()) {
        parentWidget()->removeEventFilter(this);
    } else if (event->type() == QEvent::ParentChange && parentWidget()) {
        parentWidget()->installEventFilter(this);
        coverParent();
    }
    return QWidget::event(event);
}

void DateTimeDialog::mousePressEvent(QMouseEvent *event)
{
    if (!widget->geometry().contains(event->pos()))
        hide();
    QWidget::mousePressEvent(event);
}

void DateTimeDialog::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit closed(target);
}

void DateTimeDialog::coverParent()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
}
