// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the test suites.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

namespace testsupport {

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

} // namespace testsupport
