// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the test suites.
#pragma once

#include "core/attachedlogger.h"
#include "platform/loggerenumeration.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace testsupport
{

// The index-th attached logger of `model` in the device list's order; invalid when none is.
inline AttachedLogger attachedLogger(int model, int index = 0)
{
    for (const AttachedLogger &logger : listAttachedLoggerDevices()) {
        if (logger.model == model && index-- == 0)
            return logger;
    }
    return {};
}

// Hex text like "5A A5 02 13 00" as bytes; spaces are ignored.
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Points HOME at a fresh temporary folder so the documents folder, and with it
// the settings file and the recordings and presets folders, start empty.
// Call before the application object exists; keep the returned folder alive.
inline QTemporaryDir *useTemporaryHome()
{
    auto *home = new QTemporaryDir;
    qputenv("HOME", home->path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    return home;
}

#ifdef Q_OS_UNIX
// While it exists, no file of this process can grow beyond `bytes`: writes
// past it fail as on a full disk (EFBIG instead of the signal SIGXFSZ).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = previous;
        limit.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    struct rlimit previous = {};
    void (*previousHandler)(int) = nullptr;
};
#endif

} // namespace testsupport
