// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the attached loggers through libusb.
#pragma once

#include <QStringList>
#include <QVector>

// One attached logger: its model and its place on the bus, which stays the
// same while it stays plugged in (a replugged logger gets a new address).
struct AttachedLogger {
    int model;
    int bus;
    int address;
    bool operator==(const AttachedLogger &other) const
    {
        return model == other.model && bus == other.bus && address == other.address;
    }
};

// Every USB device with the loggers' vendor id and one of their product ids, in
// libusb's device-list order: the order in which the transport counts devices
// when it opens one by index.
QVector<AttachedLogger> listAttachedLoggerDevices();
// The model names of the same devices, in the same order.
QStringList listAttachedLoggers();
