// SPDX-License-Identifier: GPL-3.0-or-later
// The device controller: connection, command queue, answer decoding, heartbeat and download.
#pragma once

#include "core/attachedlogger.h"
#include "device/oneconfigcmdstruct.h"
#include "device/queuedcommand.h"
#include "device/recorddownload.h"
#include "device/simplesendcmdunion.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class UsbThread;

// Why a download ended without a recording: the argument of dataDownloadErr
// and stopDataDownload.
enum DownloadError : int {
    // A step got no answer in time, or the logger was lost.
    DownloadTimedOut = -5,
    DownloadNoRecords = -6,
    // The recording file could not be created.
    DownloadFileError = -7,
    // A block could not be stored in the recording file (a full disk).
    DownloadNotSaved = -8,
};

class UsbControl : public QObject
{
    Q_OBJECT
public:
    // Downloads create their files in `recordingsFolder` until setRecordingsFolder
    // names another.
    explicit UsbControl(const QString &recordingsFolder, QObject *parent = nullptr);
    ~UsbControl() override;

    QString recordingsFolder() const { return folder; }
    // Where the next download creates its file: the caller's choice, per download.
    void setRecordingsFolder(const QString &recordingsFolder) { folder = recordingsFolder; }
    // The logger that is open, or waiting to be reopened after lost heartbeats;
    // invalid when none is.
    AttachedLogger openLogger() const { return connected; }
    // The configuration the logger last answered with.
    OneConfigCmdStruct lastReadConfig() const { return lastConfig; }

    // Opens exactly this logger (by its bus and address) and starts its read loop.
    bool connectDevice(const AttachedLogger &logger);
    void disconnectDevice();
    // Where the last download that completed was saved: the file gets its name
    // only once its last block is written and synced, just before the last
    // dataDownloadProgress. startDataDownload names the file while it is
    // written, under a temporary name that no listing takes.
    QString savedFilePath() const { return download.savedPath(); }
    // The bytes of that file and their SHA-256 (hex), taken while it was written.
    QByteArray savedBytes() const { return download.savedBytes(); }
    QString savedFingerprint() const { return download.savedFingerprint(); }
    // Abandons the download the user cancelled and deletes its file, partial or
    // complete: a cancelled download leaves nothing behind.
    void cancelDownload();

public slots:
    void addSendSimpleCmd(SimpleSendCmdUnion cmdStruct);
    void delRevDataSlot(QByteArray data);
    void delReadTimeOut();

signals:
    void devConfigSignal(OneConfigCmdStruct config, int connectDevType);
    void devReadNoteSignal(QString note);
    void devWriteReturnConfig(OneConfigCmdStruct config, QString wNote);
    void initReadConfigState(bool flag, int startMode, bool isAlowReStart);
    void devStateSignal(QString sn, bool isRecord, bool isAlert, int devType);
    void dataDownloadErr(int errType);
    void startDataDownload(int total, QString filePath);
    void stopDataDownload(int errType);
    void dataDownloadProgress(int cur, int total);
    void stopStartRecordResult(bool isSuccess, bool isStop);
    void otherCmdErrTip(int type, int cmdOptType);
    void resetCmdResult(bool isSuccess);
    void setLangueResult(bool isSuccess);
    void closeDevSignal();
    // The answer to a RecordCountCmd, or false with zeros when it got none.
    void recordCountResult(bool isSuccess, qint64 recordNum, int numofReport);

private:
    void enqueue(const SimpleSendCmdUnion &cmd);
    void sendQueueHead();
    void sendCommand(const SimpleSendCmdUnion &cmd);
    void removeHead();
    // Whether a whole frame holds enough bytes for its command.
    bool isComplete(const QByteArray &frame) const;
    void dispatchFrame(const QByteArray &frame);
    void handleNoteAnswer(const QByteArray &frame);
    void handleIdentification(const QByteArray &frame);
    void handleRecordCount(const QByteArray &frame);
    void handleRecordInfo(const QByteArray &frame);
    void handleAlarmStatistics(const QByteArray &frame);
    void handleDataBlocks();
    void handleTimedOut(const SimpleSendCmdUnion &cmd);
    // Ends a download whose file is being written as failed and deletes the partial file.
    void abandonDownload(int errType);
    void delTransportLost();
    // Closes the transport after lost heartbeats and reopens the same logger once
    // the pause has passed; closeDevSignal when it cannot.
    void closeForReconnect();
    void reconnect();

    QString folder;
    UsbThread *usbThread = nullptr;
    QByteArray frameHead;
    QByteArray rxBuffer;
    int lastFrameLength = 0;
    OneConfigCmdStruct lastConfig{};
    QString snText;
    QString noteText;
    QList<QueuedCommand> cmdQueue;
    int connectedModel = -1;
    AttachedLogger connected;
    QTimer reconnectTimer;
    bool isDownloading = false;
    bool needHead = true;
    // How often a queue head went out: tells whether a handler sent one.
    quint64 headSends = 0;
    bool initialReadPending = false;
    int checkFailCount = -1;
    RecordDownload download;
};
