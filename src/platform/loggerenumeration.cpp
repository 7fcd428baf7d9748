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
} // namespace

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
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != 0)
            continue;
        const int model = modelOfDescriptor(descriptor);
        if (model != NoDevType)
            attached.append(
                {model, libusb_get_bus_number(list[i]), libusb_get_device_address(list[i])});
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    libusb_exit(context);
    return attached;
}

QStringList listAttachedLoggers()
{
    QStringList names;
    for (const AttachedLogger &logger : listAttachedLoggerDevices())
        names << modelName(logger.model);
    return names;
}
