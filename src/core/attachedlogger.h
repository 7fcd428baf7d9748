// SPDX-License-Identifier: GPL-3.0-or-later
// AttachedLogger: one logger on the USB bus, as the listing found it and the transport opens it.
#pragma once

#include <QMetaType>
#include <QString>

// A logger's place on the bus stays the same while it stays plugged in; a
// replugged logger gets a new address (and keeps its port path when it goes
// into the same socket). Opening a logger opens exactly this device, never
// "the n-th of a model", so a logger plugged in or out in the meantime cannot
// take its place.
struct AttachedLogger {
    int model = -1;
    int bus = 0;
    int address = 0;
    // The ports from the root hub down, "1-4.2" as the system names them.
    QString portPath;

    bool isValid() const { return model >= 0; }
    bool operator==(const AttachedLogger &other) const
    {
        return model == other.model && bus == other.bus && address == other.address;
    }
    bool operator!=(const AttachedLogger &other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(AttachedLogger)
