// SPDX-License-Identifier: GPL-3.0-or-later
// Where the files that ship with the program lie: catalogues, help documents, fonts.
#include "core/shippedfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString shippedFilePath(const QString &programDir, const QString &name)
{
    const QDir dir(programDir);
    const QString beside = dir.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/hygra/") + name));
    return QFileInfo::exists(installed) ? installed : beside;
}

QString shippedFilePath(const QString &name)
{
    return shippedFilePath(QCoreApplication::applicationDirPath(), name);
}
