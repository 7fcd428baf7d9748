// SPDX-License-Identifier: GPL-3.0-or-later
// DateTimeDialog: the transparent overlay that hosts the date-time picker over its parent.
#pragma once

#include <QDateTime>
#include <QWidget>

class DateTimeWidget;

class DateTimeDialog : public QWidget
{
    Q_OBJECT
public:
    explicit DateTimeDialog(QWidget *parent);

    // Object name of the line edit being edited.
    void setTargetName(const QString &name) { target = name; }
    // The value last confirmed with OK.
    QDateTime okDateTime() const { return confirmed; }
    DateTimeWidget *picker() const { return widget; }

    // Places the picker above `target` (a rectangle in the parent's
    // coordinates) and shows `dateTime`; closed() tells when it goes.
    void showPicker(const QRect &targetRect, const QDateTime &dateTime);
    // Where the picker goes for a line edit at `targetRect` on an overlay of
    // size `overlay`: its bottom edge 3 px below the line edit's top, or
    // below the line edit when there is no room above.
    static QPoint pickerPosition(const QRect &targetRect, const QSize &overlay,
                                 const QSize &picker);

signals:
    void dateTimeChanged(QString objname, QDateTime dateTime);
    // The picker for the line edit `objname` was closed, by OK or by a press beside it.
    void closed(QString objname);

public slots:
    void delOk(QDateTime dateTime);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void coverParent();

    QString target;
    QDateTime confirmed;
    DateTimeWidget *widget = nullptr;
};
