// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigEchoCheck: compares the logger's echo of a configuration write with what was sent.
#include "config/configechocheck.h"

#include "config/alarmrules.h"
#include "device/devicetext.h"

#include <cstring>

namespace
{

QString valueDifference(const char *message, long long sent, long long echo)
{
    if (sent == echo)
        return QString();
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(message)).arg(sent).arg(echo);
}

bool sameAlert(const AlertSetting &a, const AlertSetting &b)
{
    return a.isOpen == b.isOpen && a.alertValue == b.alertValue &&
           a.isAccumulate == b.isAccumulate && a.delayTime == b.delayTime;
}

} // namespace

QString ConfigEchoCheck::firstDifference(const OneConfigCmdStruct &sent,
                                         const OneConfigCmdStruct &echo)
{
    const QString sentName = deviceName(sent);
    const QString echoName = deviceName(echo);
    if (sentName != echoName)
        return QStringLiteral("check devName err %1 %2").arg(sentName, echoName);

    const struct {
        const char *message;
        long long sent;
        long long echo;
    } values[] = {
        {"check devId err", sent.devId, echo.devId},
        {"check tempUnit err", sent.tempUnit, echo.tempUnit},
        {"check isOpenBacklight err", sent.isOpenBacklight, echo.isOpenBacklight},
        {"check isOpenBuzzer err", sent.isOpenBuzzer, echo.isOpenBuzzer},
        {"check isOpenLed err", sent.isOpenLed, echo.isOpenLed},
        {"check isOpenPdf err", sent.isOpenPdf, echo.isOpenPdf},
        {"check recordMode err", sent.recordMode, echo.recordMode},
        {"check startMode err", sent.startMode, echo.startMode},
        {"check isKeyRetart err", sent.isKeyRetart, echo.isKeyRetart},
        {"check isKeyStopRecord err", sent.isKeyStopRecord, echo.isKeyStopRecord},
        {"check startDelayTime err", sent.startDelayTime, echo.startDelayTime},
        {"check screenDisplayTime err", sent.screenDisplayTime, echo.screenDisplayTime},
        {"check recordInterval err", sent.recordInterval, echo.recordInterval},
        {"check isDateTimeFlowSys err", sent.isDateTimeFlowSys, echo.isDateTimeFlowSys},
    };
    for (const auto &v : values) {
        const QString difference = valueDifference(v.message, v.sent, v.echo);
        if (!difference.isEmpty())
            return difference;
    }
    if (std::memcmp(sent.perSetStartTime, echo.perSetStartTime, sizeof sent.perSetStartTime) != 0)
        return QStringLiteral("check perSetStartTime err");

    // The alarms in the order th1, th2, th3, tl1, tl2, tl3, hh, hl.
    const int alarmOrder[] = {Th1Row, Th2Row, Th3Row, Tl1Row, Tl2Row, Tl3Row, HhRow, HlRow};
    for (int row : alarmOrder) {
        if (!sameAlert(AlarmRules::alert(sent, row), AlarmRules::alert(echo, row)))
            return QStringLiteral("check %1 err").arg(QLatin1String(AlarmRules::key(row)));
    }
    return QString();
}
