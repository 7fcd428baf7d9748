// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the attached loggers through libusb.
#include "platform/loggerenumeration.h"

#include "core/lgxdevtype.h"

#include <libusb.h>

namespace
{
int modelOfDescriptor(const libusb_device_descriptor &d)
{
    if (d.idVendor != loggerVendorId)
        return NoDevType;
    if (d.idProduct == hx10dProductId)
        return HX10D;
    if (d.idProduct == hx20dProductId)
        return HX20D;
    return NoDevType;
}

QString portPathOf(libusb_device *device)
{
    // USB 3 allows seven tiers of hubs below the root.
    uint8_t ports[7];
    const int depth = libusb_get_port_numbers(device, ports, int(sizeof ports));
    QString path = QString::number(libusb_get_bus_number(device));
    for (int i = 0; i < depth; ++i)
        path += (i == 0 ? QLatin1Char('-') : QLatin1Char('.')) + QString::number(ports[i]);
    return path;
}
} // namespace

AttachedLogger attachedLoggerOf(libusb_device *device)
{
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != 0)
        return {};
    const int model = modelOfDescriptor(descriptor);
    if (model == NoDevType)
        return {};
    return {model, libusb_get_bus_number(device), libusb_get_device_address(device),
            portPathOf(device)};
}

QVector<AttachedLogger> listAttachedLoggerDevices()
{
    QVector<AttachedLogger> attached;
    // An own context, so listing never disturbs the transport's default one.
    libusb_context *context = nullptr;
    if (libusb_init(&context) != 0)
        return attached;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < count; ++i) {
        const AttachedLogger logger = attachedLoggerOf(list[i]);
        if (logger.isValid())
            attached.append(logger);
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    libusb_exit(context);
    return attached;
}
