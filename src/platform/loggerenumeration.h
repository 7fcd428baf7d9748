// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the attached loggers through libusb.
#pragma once

#include "core/attachedlogger.h"

#include <QVector>

struct libusb_device;

// The logger that `device` is; invalid (model -1) for any other device.
AttachedLogger attachedLoggerOf(libusb_device *device);

// Every USB device with the loggers' vendor id and one of their product ids, in
// libusb's device-list order, each with its model, bus, address and port path.
QVector<AttachedLogger> listAttachedLoggerDevices();
