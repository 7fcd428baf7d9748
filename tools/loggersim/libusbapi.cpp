// SPDX-License-Identifier: GPL-3.0-or-later
// The libusb functions the application calls, with libusb's C signatures, served by the emulator.
#include "emulator.h"

#include "core/lgxdevtype.h"

#include <libusb.h>

extern "C" {

int LIBUSB_CALL libusb_init(libusb_context **ctx)
{
    return Emulator::instance().init(ctx);
}

void LIBUSB_CALL libusb_exit(libusb_context *ctx)
{
    Emulator::instance().exit(ctx);
}

int LIBUSB_CALL libusb_has_capability(uint32_t capability)
{
    switch (capability) {
    case LIBUSB_CAP_HAS_CAPABILITY:
        return 1;
    case LIBUSB_CAP_HAS_HOTPLUG:
        return Emulator::instance().hasHotplug() ? 1 : 0;
    default:
        return 0;
    }
}

const char *LIBUSB_CALL libusb_error_name(int errcode)
{
    switch (errcode) {
    case LIBUSB_SUCCESS:
        return "LIBUSB_SUCCESS";
    case LIBUSB_ERROR_IO:
        return "LIBUSB_ERROR_IO";
    case LIBUSB_ERROR_INVALID_PARAM:
        return "LIBUSB_ERROR_INVALID_PARAM";
    case LIBUSB_ERROR_ACCESS:
        return "LIBUSB_ERROR_ACCESS";
    case LIBUSB_ERROR_NO_DEVICE:
        return "LIBUSB_ERROR_NO_DEVICE";
    case LIBUSB_ERROR_NOT_FOUND:
        return "LIBUSB_ERROR_NOT_FOUND";
    case LIBUSB_ERROR_BUSY:
        return "LIBUSB_ERROR_BUSY";
    case LIBUSB_ERROR_TIMEOUT:
        return "LIBUSB_ERROR_TIMEOUT";
    case LIBUSB_ERROR_OVERFLOW:
        return "LIBUSB_ERROR_OVERFLOW";
    case LIBUSB_ERROR_PIPE:
        return "LIBUSB_ERROR_PIPE";
    case LIBUSB_ERROR_INTERRUPTED:
        return "LIBUSB_ERROR_INTERRUPTED";
    case LIBUSB_ERROR_NO_MEM:
        return "LIBUSB_ERROR_NO_MEM";
    case LIBUSB_ERROR_NOT_SUPPORTED:
        return "LIBUSB_ERROR_NOT_SUPPORTED";
    default:
        return "LIBUSB_ERROR_OTHER";
    }
}

const char *LIBUSB_CALL libusb_strerror(int errcode)
{
    return libusb_error_name(errcode);
}

ssize_t LIBUSB_CALL libusb_get_device_list(libusb_context *, libusb_device ***list)
{
    return Emulator::instance().deviceList(list);
}

void LIBUSB_CALL libusb_free_device_list(libusb_device **list, int unref_devices)
{
    Emulator::instance().freeDeviceList(list, unref_devices != 0);
}

libusb_device *LIBUSB_CALL libusb_ref_device(libusb_device *dev)
{
    Emulator::instance().ref(dev);
    return dev;
}

void LIBUSB_CALL libusb_unref_device(libusb_device *dev)
{
    if (dev)
        Emulator::instance().unref(dev);
}

int LIBUSB_CALL libusb_get_device_descriptor(libusb_device *dev,
                                             struct libusb_device_descriptor *desc)
{
    *desc = {};
    desc->bLength = LIBUSB_DT_DEVICE_SIZE;
    desc->bDescriptorType = LIBUSB_DT_DEVICE;
    desc->bcdUSB = 0x0200;
    desc->bMaxPacketSize0 = 64;
    desc->idVendor = loggerVendorId;
    desc->idProduct = dev->productId;
    desc->bcdDevice = 0x0100;
    desc->iManufacturer = 1;
    desc->iProduct = 2;
    desc->iSerialNumber = 3;
    desc->bNumConfigurations = 1;
    return LIBUSB_SUCCESS;
}

uint8_t LIBUSB_CALL libusb_get_bus_number(libusb_device *)
{
    return 1;
}

uint8_t LIBUSB_CALL libusb_get_device_address(libusb_device *dev)
{
    return dev->address;
}

uint8_t LIBUSB_CALL libusb_get_port_number(libusb_device *dev)
{
    return dev->port;
}

int LIBUSB_CALL libusb_get_port_numbers(libusb_device *dev, uint8_t *port_numbers,
                                        int port_numbers_len)
{
    if (port_numbers_len < 1)
        return LIBUSB_ERROR_OVERFLOW;
    port_numbers[0] = dev->port;
    return 1;
}

int LIBUSB_CALL libusb_open(libusb_device *dev, libusb_device_handle **dev_handle)
{
    return Emulator::instance().open(dev, dev_handle);
}

void LIBUSB_CALL libusb_close(libusb_device_handle *dev_handle)
{
    Emulator::instance().close(dev_handle);
}

libusb_device *LIBUSB_CALL libusb_get_device(libusb_device_handle *dev_handle)
{
    return dev_handle->device;
}

int LIBUSB_CALL libusb_claim_interface(libusb_device_handle *dev_handle, int interface_number)
{
    return Emulator::instance().claim(dev_handle, interface_number);
}

int LIBUSB_CALL libusb_release_interface(libusb_device_handle *dev_handle, int interface_number)
{
    return Emulator::instance().release(dev_handle, interface_number);
}

// No kernel driver binds to an emulated logger unless its fault says so.
int LIBUSB_CALL libusb_kernel_driver_active(libusb_device_handle *dev_handle, int interface_number)
{
    return Emulator::instance().kernelDriverActive(dev_handle, interface_number);
}

int LIBUSB_CALL libusb_detach_kernel_driver(libusb_device_handle *dev_handle, int interface_number)
{
    return Emulator::instance().detachKernelDriver(dev_handle, interface_number);
}

int LIBUSB_CALL libusb_bulk_transfer(libusb_device_handle *dev_handle, unsigned char endpoint,
                                     unsigned char *data, int length, int *actual_length,
                                     unsigned int timeout)
{
    return Emulator::instance().bulkTransfer(dev_handle, endpoint, data, length, actual_length,
                                             timeout);
}

int LIBUSB_CALL libusb_hotplug_register_callback(libusb_context *ctx, int events, int flags,
                                                 int vendor_id, int product_id, int,
                                                 libusb_hotplug_callback_fn cb_fn, void *user_data,
                                                 libusb_hotplug_callback_handle *callback_handle)
{
    return Emulator::instance().registerHotplug(ctx, events, flags, vendor_id, product_id, cb_fn,
                                                user_data, callback_handle);
}

void LIBUSB_CALL libusb_hotplug_deregister_callback(libusb_context *ctx,
                                                    libusb_hotplug_callback_handle callback_handle)
{
    Emulator::instance().deregisterHotplug(ctx, callback_handle);
}

int LIBUSB_CALL libusb_handle_events_timeout_completed(libusb_context *ctx, struct timeval *tv,
                                                       int *completed)
{
    return Emulator::instance().handleEvents(ctx, tv, completed);
}

int LIBUSB_CALL libusb_handle_events_timeout(libusb_context *ctx, struct timeval *tv)
{
    return Emulator::instance().handleEvents(ctx, tv, nullptr);
}

int LIBUSB_CALL libusb_handle_events_completed(libusb_context *ctx, int *completed)
{
    return Emulator::instance().handleEvents(ctx, nullptr, completed);
}

int LIBUSB_CALL libusb_handle_events(libusb_context *ctx)
{
    return Emulator::instance().handleEvents(ctx, nullptr, nullptr);
}

void LIBUSB_CALL libusb_interrupt_event_handler(libusb_context *ctx)
{
    Emulator::instance().interrupt(ctx);
}

} // extern "C"
