// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the header of a recording file: model name and device information.
#pragma once

#include "recording/readdevinfojson.h"

class QIODevice;

// The number of bytes before the JSON length: the zero-padded model name.
constexpr int recordingModelNameSize = 10;

// Writes the ten model-name bytes (model taken from `info.devType`, zero-padded)
// and then the compact JSON text of `info` as a little-endian length-prefixed
// byte array to `device`, which must be open for writing. The sample bytes are
// appended after it. Returns false, having written nothing, when `devType` is
// no known model, and false when the device refuses a write.
bool writeRecordingHeader(QIODevice *device, const ReadDevInfoJson &info);
