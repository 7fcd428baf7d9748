// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the logger through libusb, the read loop and the writes.
#include "device/usbthread.h"

#include <libusb.h>

namespace
{
constexpr int loggerInterface = 0;
constexpr unsigned char inEndpoint = 0x84;
constexpr unsigned char outEndpoint = 0x04;
constexpr unsigned int readTimeoutMs = 1000;
constexpr unsigned int writeTimeoutMs = 20;
} // namespace

UsbThread::UsbThread(QObject *parent)
    : QThread(parent), readBuffer(new unsigned char[readBufferSize]),
      libusbReady(libusb_init(nullptr) == LIBUSB_SUCCESS)
{
}

UsbThread::~UsbThread()
{
    closeDevice();
}

bool UsbThread::openDevice(uint16_t vendorId, uint16_t productId, int bus, int address)
{
    if (!libusbReady)
        return false;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(nullptr, &list);
    if (count < 0)
        return false;
    libusb_device *found = nullptr;
    for (ssize_t i = 0; i < count && !found; ++i) {
        libusb_device_descriptor desc;
        if (libusb_get_bus_number(list[i]) != bus ||
            libusb_get_device_address(list[i]) != address ||
            libusb_get_device_descriptor(list[i], &desc) != LIBUSB_SUCCESS)
            continue;
        if (desc.idVendor == vendorId && desc.idProduct == productId)
            found = list[i];
    }
    if (!found) {
        libusb_free_device_list(list, 1);
        return false;
    }
    if (libusb_open(found, &handle) != LIBUSB_SUCCESS)
        handle = nullptr;
    if (!handle) {
        libusb_free_device_list(list, 1);
        return false;
    }
    libusb_free_device_list(list, 1);
    if (libusb_claim_interface(handle, loggerInterface) == LIBUSB_SUCCESS)
        return true;
    // A kernel driver bound to the logger keeps the interface from us until it is
    // detached; every transfer needs the interface claimed, so claim it then.
    if (libusb_detach_kernel_driver(handle, loggerInterface) == LIBUSB_SUCCESS &&
        libusb_claim_interface(handle, loggerInterface) == LIBUSB_SUCCESS)
        return true;
    // The handle stays open until closeDevice releases it.
    return false;
}

bool UsbThread::writeData(const char *bytes, int length)
{
    if (stopFlag.load() || !handle)
        return false;
    int transferred = 0;
    auto *data = reinterpret_cast<unsigned char *>(const_cast<char *>(bytes));
    const int ret =
        libusb_bulk_transfer(handle, outEndpoint, data, length, &transferred, writeTimeoutMs);
    return ret == LIBUSB_SUCCESS && transferred > 0;
}

void UsbThread::setStop(bool stop)
{
    stopFlag.store(stop);
}

void UsbThread::closeDevice()
{
    if (handle) {
        libusb_release_interface(handle, loggerInterface);
        libusb_close(handle);
        handle = nullptr;
    }
    // Every UsbThread took one reference on libusb's default context, whether
    // or not a device ever opened.
    if (libusbReady) {
        libusb_exit(nullptr);
        libusbReady = false;
    }
    delete[] readBuffer;
    readBuffer = nullptr;
}

void UsbThread::run()
{
    for (;;) {
        if (stopFlag.load())
            return;
        if (!handle || !readBuffer) {
            stopFlag.store(true);
            return;
        }
        int transferred = 0;
        const int ret = libusb_bulk_transfer(handle, inEndpoint, readBuffer, readBufferSize,
                                             &transferred, readTimeoutMs);
        if (ret == LIBUSB_SUCCESS) {
            if (transferred >= 1)
                emit readyRead(QByteArray(reinterpret_cast<const char *>(readBuffer), transferred));
        } else if (ret == LIBUSB_ERROR_TIMEOUT) {
            emit readTimeOut();
        } else if (ret == LIBUSB_ERROR_NO_DEVICE || ret == LIBUSB_ERROR_IO) {
            emit disRtConnect();
            stopFlag.store(true);
        }
    }
}
