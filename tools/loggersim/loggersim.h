// SPDX-License-Identifier: GPL-3.0-or-later
// Control interface of the emulated loggers that stand behind the libusb functions.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

namespace loggersim
{

// Misbehaviour of one logger, for tests; LOGGERSIM sets them too (README).
struct Faults {
    int latencyMs = 0;        // an answer becomes readable this long after its request
    int chunks = 1;           // every answer is split over this many IN transfers
    QByteArray garbage;       // bytes sent before every answer
    int dropAnswers = 0;      // the next this many answers are never sent
    bool silent = false;      // no answer of its own (queued raw answers still go out)
    bool refuseOpen = false;  // libusb_open fails with LIBUSB_ERROR_ACCESS
    int wrongBlockNumber = 0; // the data block with this number carries the next number (once)
    int unplugAfterTransfers =
        -1; // the logger is unplugged right after this many more OUT transfers
    // A kernel driver holds the interface: claiming it fails with
    // LIBUSB_ERROR_BUSY until libusb_detach_kernel_driver, which succeeds,
    // releases it (and clears this flag).
    bool kernelDriver = false;
};

// What a logger holds when it is created.
struct LoggerSetup {
    int model = 1; // 0 HX10D, 1 HX20D
    QString sn;    // up to 10 characters; empty: made from the model and the position
    int sensorType =
        2; // HX20D: 0 internal, 1 external temperature probe, 2 temperature and humidity
    qint64 samples = 3000;  // samples recorded since the start, overwritten ones included
    int interval = 12;      // sample interval in units of 5 s
    int startDelay = 0;     // minutes between the start and the first sample
    bool loop = true;       // loop recording: the memory keeps the newest samples
    bool recording = false; // still recording: the count grows with real time
    quint32 seed = 1;       // seeds the sample generator
    QDateTime start;        // start of the recording; invalid: chosen so the last sample is now
    QString name;           // the logger's name, UTF-8 up to 20 bytes; empty: "HX20D Logger"
    QString note;           // the note the logger holds, stored as GBK bytes
    Faults faults;          // how it misbehaves from the start
};

// One sample held in the logger's memory.
struct Sample {
    qint64 time;        // wall-clock seconds: the logger's local time read as UTC
    qint16 temperature; // hundredths of °C; -7968 (E0 E0) when missing
    qint16 humidity;    // tenths of %RH; -7968 when missing
};

constexpr int memoryCapacity = 64512;
constexpr qint16 noValue = -7968;

// Replaces every logger by the ones described in `description` (the LOGGERSIM syntax of the
// README).
void configure(const QString &description);
// Creates a logger and plugs it in; returns its id.
int addLogger(const LoggerSetup &description);
// Ids of every logger, plugged or not, in creation order.
QList<int> loggerIds();

void unplug(int id);
// Plugs an unplugged logger in again as a new USB device at the end of the device list.
void plug(int id);
// Plugs an unplugged logger in again at the front of the device list, ahead of every other.
void plugAhead(int id);
bool isPlugged(int id);
// Number of open handles on any emulated device.
int openHandleCount();
// libusb_init calls on the default context not yet balanced by libusb_exit.
int defaultContextUsers();
// How often the logger has been opened successfully.
int openCount(int id);
// Caps every blocking IN transfer at this many milliseconds (0: its own timeout), so that
// test suites that connect and disconnect often need not wait out whole silent seconds.
void setReadWaitLimit(int ms);
// Whether libusb_has_capability reports hotplug support (true by default).
void setHotplugCapability(bool available);

void setFaults(int id, const Faults &faults);
Faults faults(int id);
// The next request is answered with exactly these bytes (the request still takes effect).
void queueRawAnswer(int id, const QByteArray &bytes);

// Every OUT transfer made to the logger, in order.
QList<QByteArray> writtenTransfers(int id);
void clearWrittenTransfers(int id);

bool isRecording(int id);
void setRecording(int id, bool recording);
bool isAlarm(int id);
void setAlarm(int id, bool alarm);
OneConfigCmdStruct config(int id);
// Replaces the configuration without erasing the recording.
void setConfig(int id, const OneConfigCmdStruct &config);
QByteArray note(int id);
void setNote(int id, const QByteArray &gbkNote);

// Samples recorded since the start of the current recording, overwritten ones included.
qint64 recordNum(int id);
// Sets that count; a logger without a recording starts one so the last sample is now.
void setRecordNum(int id, qint64 recordNum);
// The samples the memory holds, oldest first.
QVector<Sample> heldSamples(int id);
QDateTime recordingStart(int id);

} // namespace loggersim
