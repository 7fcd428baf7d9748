// SPDX-License-Identifier: GPL-3.0-or-later
// Placing the command line's output files: moved into a folder, or written whole or not at all.
#pragma once

#include <QString>
#include <functional>

// Moves `path` into `folder` (created when missing) under a name no other file
// there has; returns the new path, or an empty string when it could not.
QString moveInto(const QString &path, const QString &folder);

// Writes a new file in `folder` named `fileName`, or a free variant of it when
// that exists. `write` is given a hidden temporary path beside it, and the file
// gets its name only when `write` returned true, so a failed or interrupted
// write never leaves a file that looks complete. Returns the new path, or an
// empty string, having left nothing behind, when the write failed.
QString writeNewFile(const QString &folder, const QString &fileName,
                     const std::function<bool(const QString &path)> &write);
