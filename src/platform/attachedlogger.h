// SPDX-License-Identifier: GPL-3.0-or-later
// One attached logger as offered for connecting: its model and its index among that model's devices.
#pragma once

#include <QList>
#include <QMetaType>

struct AttachedLogger {
    int model = -1; // LgxDevType
    int index = 0;  // position among the attached loggers of the same model, in libusb's order
};

Q_DECLARE_METATYPE(AttachedLogger)
