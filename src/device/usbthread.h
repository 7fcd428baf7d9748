// SPDX-License-Identifier: GPL-3.0-or-later
// The USB transport: opens one logger and runs a blocking read loop on its own thread.
#pragma once

#include <QByteArray>
#include <QThread>
#include <atomic>

struct libusb_device_handle;

class UsbThread : public QThread
{
    Q_OBJECT
public:
    explicit UsbThread(QObject *parent = nullptr);
    ~UsbThread() override;

    // Opens the device with these ids at this bus and address, and claims interface 0.
    bool openDevice(uint16_t vendorId, uint16_t productId, int bus, int address);
    // One bulk OUT transfer; true when it went out whole or in part.
    bool writeData(const char *bytes, int length);
    void setStop(bool stop);
    // Releases the device and libusb; the object is spent afterwards.
    void closeDevice();

signals:
    void readyRead(QByteArray rev);
    void disRtConnect();
    void readTimeOut();

protected:
    void run() override;

private:
    static constexpr int readBufferSize = 10240;

    std::atomic<bool> stopFlag{false};
    unsigned char *readBuffer = nullptr;
    libusb_device_handle *handle = nullptr;
    // libusb_init succeeded and libusb_exit is still owed.
    bool libusbReady = false;
};
