// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the attached loggers through libusb.
#pragma once

#include <QStringList>

// The model names of the attached loggers, one per USB device with the loggers'
// vendor id and one of their product ids, in libusb's device-list order: the
// order in which the transport counts devices when it opens one by index.
QStringList listAttachedLoggers();
