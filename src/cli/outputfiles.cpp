// SPDX-License-Identifier: GPL-3.0-or-later
// Placing the command line's output files: moved into a folder, or written whole or not at all.
#include "cli/outputfiles.h"

#include "core/utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString moveInto(const QString &path, const QString &folder)
{
    if (!QDir().mkpath(folder))
        return QString();
    const QString target =
        QDir(folder).absoluteFilePath(freeFileName(folder, QFileInfo(path).fileName()));
    if (QFile::rename(path, target))
        return target;
    // Across file systems a rename fails; copy, then remove the original.
    if (!QFile::copy(path, target))
        return QString();
    QFile::remove(path);
    return target;
}

QString writeNewFile(const QString &folder, const QString &fileName,
                     const std::function<bool(const QString &)> &write)
{
    const QDir dir(folder);
    const QString target = dir.absoluteFilePath(freeFileName(folder, fileName));
    const QString temporary =
        dir.absoluteFilePath(QLatin1Char('.') + QFileInfo(target).fileName() + ".part");
    // A leftover of a run that was killed outright.
    QFile::remove(temporary);
    if (write(temporary) && QFile::rename(temporary, target))
        return target;
    QFile::remove(temporary);
    return QString();
}
