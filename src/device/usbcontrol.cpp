// SPDX-License-Identifier: GPL-3.0-or-later
// Connection, command queue, frame reassembly, answer dispatch and heartbeat of the controller.
#include "device/usbcontrol.h"

#include "core/lgxdevtype.h"
#include "device/configframe.h"
#include "device/protocol.h"
#include "device/usbthread.h"

#include <QTimer>

namespace
{
// A frame needs at least this many bytes from its head before its length is trusted.
constexpr int minBufferedFrame = 8;
// Missed heartbeats in a row that trigger the automatic reconnect.
constexpr int heartbeatLimit = 3;
constexpr int reconnectPauseMs = 1200;
// A command older than this at a tick of the clock has timed out.
constexpr qint64 commandTimeoutMs = 2000;
} // namespace

UsbControl::UsbControl(const QString &recordingsFolder, QObject *parent)
    : QObject(parent), folder(recordingsFolder), frameHead(::frameHead())
{
    qRegisterMetaType<SimpleSendCmdUnion>("SimpleSendCmdUnion");
    qRegisterMetaType<OneConfigCmdStruct>("OneConfigCmdStruct");
    reconnectTimer.setSingleShot(true);
    reconnectTimer.setInterval(reconnectPauseMs);
    connect(&reconnectTimer, &QTimer::timeout, this, &UsbControl::reconnect);
}

UsbControl::~UsbControl()
{
    disconnectDevice();
}

bool UsbControl::connectDevice(const AttachedLogger &logger)
{
    const uint16_t product = productIdOf(logger.model);
    if (product == 0)
        return false;
    if (usbThread || reconnectTimer.isActive())
        disconnectDevice();
    usbThread = new UsbThread(this);
    if (!usbThread->openDevice(loggerVendorId, product, logger.bus, logger.address))
        return false;
    connect(usbThread, &UsbThread::readyRead, this, &UsbControl::delRevDataSlot);
    connect(usbThread, &UsbThread::readTimeOut, this, &UsbControl::delReadTimeOut);
    connect(usbThread, &UsbThread::disRtConnect, this, &UsbControl::delTransportLost);
    usbThread->start();
    connectedModel = logger.model;
    connected = logger;
    needHead = true;
    lastConfig.initReadDone = false;
    checkFailCount = 0;
    return true;
}

void UsbControl::disconnectDevice()
{
    reconnectTimer.stop();
    // A logger lost in the middle of a download ends it as failed.
    if (download.hasFile())
        abandonDownload(DownloadTimedOut);
    if (usbThread) {
        usbThread->blockSignals(true);
        usbThread->setStop(true);
        usbThread->wait();
        // Release the interface now: a connect that follows at once must be able to claim it.
        usbThread->closeDevice();
        usbThread->deleteLater();
        usbThread = nullptr;
        cmdQueue.clear();
    }
    connectedModel = NoDevType;
    connected = AttachedLogger();
    lastConfig.initReadDone = false;
    isDownloading = false;
}

void UsbControl::cancelDownload()
{
    download.cancel();
    rxBuffer.clear();
    cmdQueue.clear();
    isDownloading = false;
}

void UsbControl::addSendSimpleCmd(SimpleSendCmdUnion cmdStruct)
{
    if (!usbThread)
        return;
    if (cmdStruct.common.cmdType == InitialReadCmd) {
        const bool wasEmpty = cmdQueue.isEmpty();
        enqueue(makeSimpleCmd(ConfigCmd, 0, ReadOpt));
        enqueue(makeSimpleCmd(NoteCmd, 0, ReadOpt));
        initialReadPending = true;
        if (wasEmpty)
            sendQueueHead();
        return;
    }
    enqueue(cmdStruct);
    if (cmdQueue.size() == 1)
        sendQueueHead();
}

void UsbControl::enqueue(const SimpleSendCmdUnion &cmd)
{
    QueuedCommand entry{QElapsedTimer(), cmd};
    entry.age.start();
    cmdQueue.append(entry);
}

void UsbControl::sendQueueHead()
{
    if (cmdQueue.isEmpty())
        return;
    const SimpleSendCmdUnion cmd = cmdQueue.first().cmd;
    sendCommand(cmd);
    ++headSends;
}

void UsbControl::sendCommand(const SimpleSendCmdUnion &cmd)
{
    if (!usbThread)
        return;
    if (needHead) {
        usbThread->writeData(frameHead.constData(), frameHead.size());
        needHead = false;
    }
    const QByteArray bytes = encodeCommand(cmd, connectedModel);
    if (!bytes.isEmpty())
        usbThread->writeData(bytes.constData(), bytes.size());
}

void UsbControl::removeHead()
{
    if (!cmdQueue.isEmpty())
        cmdQueue.removeFirst();
}

void UsbControl::delRevDataSlot(QByteArray data)
{
    rxBuffer.append(data);
    if (isDownloading) {
        handleDataBlocks();
        return;
    }
    while (!isDownloading) {
        const int head = rxBuffer.indexOf(frameHead);
        if (head < 0 || rxBuffer.size() - head < minBufferedFrame)
            return;
        lastFrameLength = static_cast<uint8_t>(rxBuffer.at(head + FrameLayout::lenOffset)) +
                          FrameLayout::overhead;
        if (rxBuffer.size() - head < lastFrameLength)
            return;
        const QByteArray frame = rxBuffer.mid(head, lastFrameLength);
        if (!isComplete(frame))
            return;
        rxBuffer.remove(0, head + lastFrameLength);
        // A handler that queued a command into an empty queue has sent it already.
        const quint64 sendsBefore = headSends;
        dispatchFrame(frame);
        if (headSends == sendsBefore && !cmdQueue.isEmpty() && usbThread)
            sendQueueHead();
    }
}

bool UsbControl::isComplete(const QByteArray &frame) const
{
    const auto code = static_cast<uint8_t>(frame.at(FrameLayout::codeOffset));
    if (code == CmdCode::RecordInfo && productIdOf(connectedModel) == 0)
        return false;
    return frame.size() >= minimumAnswerLength(code, connectedModel);
}

void UsbControl::dispatchFrame(const QByteArray &frame)
{
    const auto code = static_cast<uint8_t>(frame.at(FrameLayout::codeOffset));
    const auto subCode = static_cast<uint8_t>(frame.at(FrameLayout::subCodeOffset));
    switch (code) {
    case CmdCode::StartStop:
        removeHead();
        emit stopStartRecordResult(true, decodeStartStopIsStop(frame));
        break;
    case CmdCode::Reset:
        removeHead();
        emit resetCmdResult(decodeResetSuccess(frame));
        break;
    case CmdCode::Config:
        lastConfig = decodeConfigFrame(frame, connectedModel);
        removeHead();
        if (subCode == 0 && !initialReadPending)
            emit devConfigSignal(lastConfig, connectedModel);
        break;
    case CmdCode::Note:
        handleNoteAnswer(frame);
        break;
    case CmdCode::Language:
        removeHead();
        emit setLangueResult(true);
        break;
    case CmdCode::Check:
        if (subCode == 0)
            handleIdentification(frame);
        break;
    case CmdCode::RecordInfo:
        if (!cmdQueue.isEmpty() && cmdQueue.first().cmd.common.cmdType == RecordCountCmd)
            handleRecordCount(frame);
        else
            handleRecordInfo(frame);
        break;
    case CmdCode::AlarmInfo:
        handleAlarmStatistics(frame);
        break;
    default:
        break;
    }
}

void UsbControl::handleRecordCount(const QByteArray &frame)
{
    const RecordCounts counts = decodeRecordCounts(frame);
    removeHead();
    emit recordCountResult(true, counts.recordNum, counts.numofReport);
}

void UsbControl::handleRecordInfo(const QByteArray &frame)
{
    const bool hasRecords = download.takeRecordInfo(frame, connectedModel, lastConfig);
    removeHead();
    if (!hasRecords) {
        emit dataDownloadErr(DownloadNoRecords);
        return;
    }
    enqueue(makeSimpleCmd(AlarmInfoCmd));
}

void UsbControl::handleAlarmStatistics(const QByteArray &frame)
{
    download.takeAlarmStatistics(frame, lastConfig, snText, noteText);
    removeHead();
    if (!download.createFile(folder, connectedModel)) {
        emit dataDownloadErr(DownloadFileError);
        return;
    }
    isDownloading = true;
    enqueue(makeSimpleCmd(ReadBlockCmd, 1));
    sendQueueHead();
    emit startDataDownload(download.recordInfo.blockCount, download.filePath());
}

void UsbControl::handleDataBlocks()
{
    const bool headIsBlock =
        !cmdQueue.isEmpty() && cmdQueue.first().cmd.common.cmdType == ReadBlockCmd;
    const int expected = headIsBlock ? cmdQueue.first().cmd.simple.value : 0;
    int number = 0;
    const RecordDownload::BlockResult result = download.takeBlock(rxBuffer, expected, &number);
    if (result == RecordDownload::BlockResult::WriteFailed) {
        // A recording missing samples must not be reported as downloaded.
        emit dataDownloadErr(DownloadNotSaved);
        abandonDownload(DownloadNotSaved);
        return;
    }
    if (result != RecordDownload::BlockResult::Appended)
        return;
    const int total = download.recordInfo.blockCount;
    if (number < total) {
        emit dataDownloadProgress(number, total);
        cmdQueue.clear();
        enqueue(makeSimpleCmd(ReadBlockCmd, number + 1));
        if (usbThread)
            sendQueueHead();
        return;
    }
    // The last block is reported once the file is complete under its name.
    cmdQueue.clear();
    isDownloading = false;
    if (!download.finish()) {
        emit dataDownloadErr(DownloadNotSaved);
        abandonDownload(DownloadNotSaved);
        return;
    }
    emit dataDownloadProgress(number, total);
}

void UsbControl::handleNoteAnswer(const QByteArray &frame)
{
    noteText = decodeNote(noteBytesOfAnswer(frame));
    removeHead();
    if (frame.at(FrameLayout::subCodeOffset) != 0) {
        emit devWriteReturnConfig(lastConfig, noteText);
    } else if (initialReadPending) {
        lastConfig.initReadDone = true;
        initialReadPending = false;
        emit initReadConfigState(true, lastConfig.startMode, lastConfig.isKeyRetart);
    } else {
        emit devReadNoteSignal(noteText);
    }
}

void UsbControl::handleIdentification(const QByteArray &frame)
{
    const IdentificationAnswer answer = decodeIdentification(frame);
    snText = answer.sn;
    if (!cmdQueue.isEmpty()) {
        removeHead();
        if (checkFailCount > 0)
            --checkFailCount;
    }
    emit devStateSignal(snText, answer.isRecord, answer.isAlert, connectedModel);
}

void UsbControl::delReadTimeOut()
{
    if (initialReadPending && !lastConfig.initReadDone) {
        initialReadPending = false;
        emit initReadConfigState(false, 0, false);
        return;
    }
    if (cmdQueue.isEmpty())
        return;
    // Queued at most one whole second ago: not yet timed out.
    if (cmdQueue.first().age.elapsed() < commandTimeoutMs)
        return;
    const SimpleSendCmdUnion cmd = cmdQueue.first().cmd;
    rxBuffer.clear();
    removeHead();
    isDownloading = false;
    handleTimedOut(cmd);
}

void UsbControl::handleTimedOut(const SimpleSendCmdUnion &cmd)
{
    switch (cmd.common.cmdType) {
    case RecordCountCmd:
        // No download step: nothing to end but the question.
        emit recordCountResult(false, 0, 0);
        return;
    case CheckCmd:
        if (checkFailCount < 0)
            return;
        if (++checkFailCount >= heartbeatLimit) {
            checkFailCount = -1;
            closeForReconnect();
        }
        return;
    case ConfigCmd:
        emit otherCmdErrTip(ConfigCmd, cmd.common.cmdOptType);
        return;
    case StartStopCmd:
        emit stopStartRecordResult(false, cmd.simple.value == 0);
        return;
    case ReadBlockCmd:
    case RecordInfoCmd:
    case AlarmInfoCmd: {
        // A step without answer ends the download dialog too, instead of leaving it open.
        const bool dialogOpen = download.hasFile();
        download.discard();
        cmdQueue.clear();
        emit dataDownloadErr(DownloadTimedOut);
        if (dialogOpen)
            emit stopDataDownload(DownloadTimedOut);
        return;
    }
    case LanguageCmd:
        emit setLangueResult(false);
        return;
    case NoteCmd:
        emit otherCmdErrTip(NoteCmd, cmd.common.cmdOptType);
        return;
    case ResetCmd:
        emit resetCmdResult(false);
        return;
    default:
        return;
    }
}

void UsbControl::closeForReconnect()
{
    if (usbThread) {
        usbThread->blockSignals(true);
        usbThread->setStop(true);
        usbThread->wait();
        usbThread->closeDevice();
        usbThread->deleteLater();
        usbThread = nullptr;
    }
    cmdQueue.clear();
    rxBuffer.clear();
    isDownloading = false;
    // Commands queued during the pause find no transport and are dropped, as
    // they were while the logger was closed.
    reconnectTimer.start();
}

void UsbControl::reconnect()
{
    const AttachedLogger logger = connected;
    if (!connectDevice(logger)) {
        disconnectDevice();
        emit closeDevSignal();
    }
}

void UsbControl::abandonDownload(int errType)
{
    download.discard();
    rxBuffer.clear();
    cmdQueue.clear();
    isDownloading = false;
    emit stopDataDownload(errType);
}

void UsbControl::delTransportLost()
{
    if (download.hasFile())
        abandonDownload(DownloadTimedOut);
}
