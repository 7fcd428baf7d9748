// SPDX-License-Identifier: GPL-3.0-or-later
// SettingFormMapper: shows a configuration record in the settings controls and takes their edits
// back.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QObject>

class AlarmSection;
class DevSettingUi;

// Covers every control but the clock, the note and the record interval, which
// the page handles itself.
class SettingFormMapper : public QObject
{
    Q_OBJECT
public:
    // The controls edit `working`; `ui`, `alarms` and `working` outlive the mapper.
    SettingFormMapper(DevSettingUi &ui, AlarmSection *alarms, OneConfigCmdStruct *working,
                      QObject *parent);

    // Shows `source` for a logger of `model` and copies the shown fields into
    // the working record.
    void fill(const OneConfigCmdStruct &source, int model);

signals:
    // A user edit, which marks the page modified.
    void edited();

private:
    void connectControls();
    void fillScreen(const OneConfigCmdStruct &source);
    void fillStart(const OneConfigCmdStruct &source);
    void fillSensor(const OneConfigCmdStruct &source, int model);
    void storeName(const QString &text);

    DevSettingUi &ui;
    AlarmSection *alarms;
    OneConfigCmdStruct *working;
};
