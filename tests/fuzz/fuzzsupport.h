// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the fuzz targets.
#pragma once

#include <QDir>
#include <QString>
#include <cstdlib>

namespace fuzzsupport
{

// A broken promise is a finding: libFuzzer keeps the input that caused it.
inline void require(bool condition)
{
    if (!condition)
        abort();
}

// A QTemporaryDir template in memory where the system offers it, so that the
// targets that write files (and sync them, as saving a preset does) stay fast.
inline QString temporaryTemplate()
{
    const QString memory = QStringLiteral("/dev/shm");
    const QString base = QDir(memory).exists() ? memory : QDir::tempPath();
    return base + QStringLiteral("/hygra-fuzz-XXXXXX");
}

} // namespace fuzzsupport
