// SPDX-License-Identifier: GPL-3.0-or-later
// The few places where Qt 5.15 and Qt 6 need different calls for the same
// behaviour; everything else in the tree is written once for both.
#pragma once

#include <QSettings>
#include <QtGlobal>

// INI files are read and written as UTF-8, so folder paths and the language
// survive hand edits with non-ASCII text. Qt 6 always does this; Qt 5 must be told.
inline void useUtf8IniCodec(QSettings &settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec("UTF-8");
#else
    Q_UNUSED(settings)
#endif
}
