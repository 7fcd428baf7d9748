// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmSection: the eight alarm rows of the settings form and how they edit the working record.
#pragma once

#include "config/alarmrules.h"
#include "device/oneconfigcmdstruct.h"

#include <QObject>
#include <array>

class AlarmRowWidget;
class QAbstractButton;
class QButtonGroup;

class AlarmSection : public QObject
{
    Q_OBJECT
public:
    using Rows = std::array<AlarmRowWidget *, AlarmRowCount>;

    // The rows edit the alarm settings of `working`, which outlives the section.
    AlarmSection(const Rows &rows, OneConfigCmdStruct *working, QObject *parent);

    AlarmRowWidget *row(int row) const { return rows[size_t(row)]; }
    int unit() const { return shownUnit; }

    // Shows the alarm settings of `source` and copies them into the working
    // record; the temperature values follow with applyUnit.
    void load(const OneConfigCmdStruct &source);
    // Switches the temperature rows to °C (0) or °F (1); the stored values
    // stay in hundredths of °C.
    void applyUnit(int unit);
    // Takes the value the user entered in `row`, kept in order with its neighbours.
    void takeValue(int row);
    // Stores a delay of `seconds` for `row`.
    void setDelay(int row, int seconds);
    void setHumidityRowsVisible(bool visible);

signals:
    // A user change that marks the form modified.
    void changed();
    // An entered threshold crossed a neighbour and was moved onto it; `text` says so.
    void clamped(const QString &text);

private slots:
    void delCheckClicked(QAbstractButton *button);

private:
    // Switches `row` on or off: its controls, its switch, its working isOpen
    // and the value it shows.
    void switchRow(int row, bool on);
    void showValue(int row);
    // "TL1 不能高于 TH1，已改为 20.0℃": `row` was moved down (`lowered`) or up onto its
    // neighbour, and shows the value it now holds.
    QString clampText(int row, bool lowered) const;

    Rows rows;
    OneConfigCmdStruct *working;
    QButtonGroup *group;
    int shownUnit = 0;
};
