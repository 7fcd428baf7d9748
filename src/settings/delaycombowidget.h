// SPDX-License-Identifier: GPL-3.0-or-later
// DelayComboWidget: the hour, minute and second combos shared by the delay pickers.
#pragma once

#include <QList>
#include <QWidget>

class ComboBox;

class DelayComboWidget : public QWidget
{
    Q_OBJECT
public:
    int hours() const { return hourValue; }
    int minutes() const { return minuteValue; }
    int seconds() const { return secondValue; }
    // What updateDelayTime carries: seconds, or minutes for the minute picker.
    int value() const;

    ComboBox *hourCombo() const { return timeH; }
    ComboBox *minuteCombo() const { return timeM; }
    // Null for the pickers without seconds.
    ComboBox *secondCombo() const { return timeS; }

    // The item values of the lower combos for the hour `h` and minute `m`:
    // only 0 at the top hour; seconds run 0–55 in steps of 5, from 10 when
    // `from10` and both h and m are 0.
    static QList<int> minuteValues(int h, int topHour);
    static QList<int> secondValues(int h, int m, int topHour, bool from10);

    // The flat combo look shared by the settings page's combo boxes.
    static const char *const comboStyle;

signals:
    void updateDelayTime(int delayTime);

public slots:
    void on_timeH_currentIndexChanged(int index);
    void on_timeM_currentIndexChanged(int index);
    void on_timeS_currentIndexChanged(int index);

protected:
    // `withSeconds` false gives a picker of minutes whose value is h × 60 + m.
    DelayComboWidget(int topHour, bool withSeconds, bool from10, QWidget *parent);

    // Shows h, m and s without passing through the change handlers, then
    // emits `value` once.
    void showTime(int h, int m, int s, int value);

private:
    // Refills the minute and second combos for the stored hour and minute,
    // keeping the stored values where the new lists hold them.
    void rebuildLowerLists();
    void emitValue();

    int topHourValue;
    bool secondsFrom10;
    int hourValue = 0;
    int minuteValue = 0;
    int secondValue = 0;
    bool withSeconds;
    ComboBox *timeH = nullptr;
    ComboBox *timeM = nullptr;
    ComboBox *timeS = nullptr;
};
