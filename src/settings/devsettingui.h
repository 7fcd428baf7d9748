// SPDX-License-Identifier: GPL-3.0-or-later
// DevSettingUi: builds and names the controls of the device settings page.
#pragma once

#include "config/alarmrules.h"

#include <QList>
#include <array>

class AlarmRowWidget;
class ComboBox;
class DateTimeLineEdit;
class DelaySetWidgetFrom10;
class DelaySimpleSetWidget;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QWidget;
class Toggle;

class DevSettingUi
{
public:
    // The strip above the scrolling rows that holds the page's buttons (at
    // y 20 to 60) and its preset panel's top edge.
    static constexpr int buttonStripHeight = 66;

    // Creates every control inside `form`, with the object names the form's
    // slots are connected by.
    void setupUi(QWidget *form);
    void retranslateUi();
    // Row label and radio button widths for English (wider texts) or Chinese.
    void applyLanguageWidths(bool english);
    // Marks the name hint after a refused keystroke, or clears the mark.
    void markNameRefused(bool refused);

    QScrollArea *scrollArea = nullptr;
    QWidget *content = nullptr;

    QLineEdit *devNameLE = nullptr;
    // Beside the name: which characters a name takes; marked while a keystroke was refused.
    QLabel *devNameHint = nullptr;
    QLineEdit *devIdLE = nullptr;
    QLabel *devVersionLabel = nullptr;
    QLabel *devSNLabel = nullptr;
    QLineEdit *lineEdit = nullptr;

    QWidget *sensorWidget = nullptr;
    QRadioButton *innerTempSensorRB = nullptr;
    QRadioButton *exterTempSensorRB = nullptr;
    QRadioButton *exterHumSensorRB = nullptr;
    QRadioButton *centigradeRB = nullptr;
    QRadioButton *fdegreeRB = nullptr;
    QRadioButton *flowSysTimeRB = nullptr;
    QRadioButton *manualTimeRB = nullptr;
    DateTimeLineEdit *dateTimeLE = nullptr;
    QRadioButton *allLightRB = nullptr;
    QRadioButton *autoLightRB = nullptr;
    ComboBox *autoLightCB = nullptr;
    Toggle *backlightToggle = nullptr;
    Toggle *buzzerToggle = nullptr;
    Toggle *ledToggle = nullptr;
    Toggle *tempPdfToggle = nullptr;

    QRadioButton *loopRecordRB = nullptr;
    QRadioButton *fullRecordRB = nullptr;
    QRadioButton *softStartRB = nullptr;
    QRadioButton *keyStartRB = nullptr;
    QRadioButton *subStartRB = nullptr;
    DateTimeLineEdit *startTimeLE = nullptr;
    DelaySimpleSetWidget *startDelayWidget = nullptr;
    DelaySetWidgetFrom10 *recordInterval = nullptr;
    QWidget *keyStopW = nullptr;
    QRadioButton *disableKeyRB = nullptr;
    QRadioButton *allowKeyRB = nullptr;
    QWidget *keyRestartW = nullptr;
    QRadioButton *disabelReStartRB = nullptr;
    QRadioButton *allowRestartRB = nullptr;

    std::array<AlarmRowWidget *, AlarmRowCount> alarmRows{};

    QButtonGroup *unitGroup = nullptr;
    QButtonGroup *screenGroup = nullptr;
    QButtonGroup *clockGroup = nullptr;
    QButtonGroup *recordModeGroup = nullptr;
    QButtonGroup *startModeGroup = nullptr;
    QButtonGroup *keyStopGroup = nullptr;
    QButtonGroup *keyRestartGroup = nullptr;
    QButtonGroup *sensorGroup = nullptr;

private:
    QWidget *addRow(const char *name = nullptr);
    QLabel *addTitle();
    // Adds `control` to the end of `row`, before its closing stretch.
    static void put(QWidget *row, QWidget *control);
    QRadioButton *addRadio(QWidget *row, const char *name, QButtonGroup *group, int id);
    Toggle *addToggle(const char *name);

    QWidget *rows = nullptr;
    QList<QLabel *> rowLabels;
    QList<QLabel *> titles;
    QList<QLabel *> columnTitles;
    QList<QRadioButton *> radios;
};
