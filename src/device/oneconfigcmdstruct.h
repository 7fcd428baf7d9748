// SPDX-License-Identifier: GPL-3.0-or-later
// The logger's configuration record as the application holds it.
#pragma once

#include <QMetaType>
#include <cstdint>

// One alarm threshold. Temperatures are hundredths of °C whatever the display
// unit, humidity tenths of %RH; the delay counts units of 5 seconds.
struct AlertSetting {
    bool isOpen;
    int32_t alertValue;
    bool isAccumulate;
    uint16_t delayTime;
};

// A plain value record: it is copied through queued signals and shares its first
// two fields with every member of SimpleSendCmdUnion, so it stays trivial.
// Value-initialise it (`OneConfigCmdStruct c{};`) to start from zeros.
struct OneConfigCmdStruct {
    int32_t cmdType;
    int32_t cmdOptType;
    uint8_t devId;
    int32_t tempUnit;
    bool isOpenBacklight;
    bool isOpenBuzzer;
    bool isOpenLed;
    bool isOpenPdf;
    int32_t recordMode;
    int32_t startMode;
    bool isKeyRetart;
    bool isKeyStopRecord;
    uint8_t startDelayTime;
    uint16_t screenDisplayTime;
    uint16_t recordInterval;
    uint8_t perSetStartTime[6];
    uint8_t devDateTime[6];
    bool isDateTimeFlowSys;
    uint8_t firmwareVersion[3];
    AlertSetting th1, th2, th3;
    AlertSetting tl1, tl2, tl3;
    AlertSetting hh, hl;
    char devName[21];
    uint8_t sensorType;
    bool initReadDone;
};

Q_DECLARE_METATYPE(OneConfigCmdStruct)
