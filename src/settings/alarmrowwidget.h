// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmRowWidget: one alarm threshold row with its switch, value, type and delay.
#pragma once

#include <QWidget>

class CheckButton;
class ComboBox;
class DelaySetWidget;
class QDoubleSpinBox;
class QLabel;

class AlarmRowWidget : public QWidget
{
    Q_OBJECT
public:
    // `row` is an AlarmRow; the controls are named after its key ("th3CheckBtn" …).
    AlarmRowWidget(int row, QWidget *parent = nullptr);

    int row() const { return rowIndex; }
    CheckButton *checkBtn() const { return check; }
    QDoubleSpinBox *spinBox() const { return spin; }
    ComboBox *typeCB() const { return type; }
    DelaySetWidget *delayWidget() const { return delay; }

    // Enables or disables the value, type and delay controls.
    void setControlsEnabled(bool on);
    // Suffix and range for the temperature unit `unit` (0 °C, 1 °F).
    void setTemperatureUnit(int unit);
    // Shows `value` without emitting.
    void showValue(double value);
    void retranslate();

private:
    int rowIndex;
    CheckButton *check = nullptr;
    QLabel *name = nullptr;
    QDoubleSpinBox *spin = nullptr;
    ComboBox *type = nullptr;
    DelaySetWidget *delay = nullptr;
};
