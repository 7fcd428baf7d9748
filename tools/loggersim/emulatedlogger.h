// SPDX-License-Identifier: GPL-3.0-or-later
// One emulated HX10D or HX20D logger: its state and its answers to request frames.
#pragma once

#include "loggerrecording.h"
#include "loggersim.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class EmulatedLogger
{
public:
    EmulatedLogger(const loggersim::LoggerSetup &description, const QString &sn);

    int model() const { return devModel; }
    QString sn() const { return serial; }

    // The bytes the logger sends back for one request frame; empty when it ignores the request.
    QByteArray answer(const QByteArray &request);

    bool isRecording();
    void setRecording(bool on);
    bool isAlarm() const { return alarm; }
    void setAlarm(bool on) { alarm = on; }
    OneConfigCmdStruct config() const { return cfg; }
    void setConfig(const OneConfigCmdStruct &config);
    QByteArray note() const { return noteBytes; }
    void setNote(const QByteArray &gbkNote) { noteBytes = gbkNote.left(104); }
    // The recording as of now (a running recording grows with real time).
    const LoggerRecording &recording();
    void setRecordNum(qint64 recordNum);

private:
    static OneConfigCmdStruct factoryConfig(int model, int sensorType);
    void catchUp();
    void eraseRecording();
    void startRecording();
    void stopRecording(int how);

    QByteArray identification() const;
    QByteArray configAnswer(uint8_t subCode, const QByteArray &request);
    QByteArray noteAnswer(uint8_t subCode, const QByteArray &request);
    QByteArray startStopAnswer(const QByteArray &request);
    QByteArray resetAnswer(const QByteArray &request);
    QByteArray recordInformation();
    QByteArray alarmStatistics() const;
    QByteArray dataBlock(int number) const;

    int devModel;
    QString serial;
    OneConfigCmdStruct cfg;
    QByteArray noteBytes;
    bool recordingOn = false;
    bool alarm = false;
    int language = 0;
    LoggerRecording rec;
    LoggerRecording reported; // what the last record-information answer described
    QDateTime configTime;
    QDateTime stopTime;
    int startOperation = 1; // by software
    int stopOperation = 4;  // by software
};
