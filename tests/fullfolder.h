// SPDX-License-Identifier: GPL-3.0-or-later
// A folder on a file system of its own, 64 KiB large and filled up, for tests of full disks.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <sys/mount.h>
#include <unistd.h>

namespace testsupport
{

// Mounts a 64 KiB tmpfs on a temporary folder, writes `olderFiles` into it and
// fills what is left with a filler file until `leaveFree` bytes remain, so a
// writer that puts more than that into it meets a full disk. Mounting needs
// root; elsewhere isReady() is false and skipReason() says why.
class FullFolder
{
public:
    explicit FullFolder(const QStringList &olderFiles = {}, qint64 leaveFree = 4096)
    {
        if (geteuid() != 0) {
            reason = QStringLiteral("mounting a small file system needs root");
            return;
        }
        if (!base.isValid() || ::mount("tmpfs", QFile::encodeName(base.path()).constData(), "tmpfs",
                                       0, "size=64k") != 0) {
            reason = QStringLiteral("could not mount a tmpfs: %1").arg(qt_error_string(errno));
            return;
        }
        mounted = true;
        for (const QString &name : olderFiles) {
            QFile older(filePath(name));
            if (!older.open(QIODevice::WriteOnly) || older.write(olderContent(name)) < 0) {
                reason = QStringLiteral("could not write %1").arg(name);
                return;
            }
        }
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            reason = QStringLiteral("could not create the filler");
            return;
        }
        const QByteArray block(1024, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.resize(qMax<qint64>(0, filler.size() - leaveFree));
    }

    ~FullFolder()
    {
        if (mounted)
            ::umount2(QFile::encodeName(base.path()).constData(), MNT_DETACH);
    }

    bool isReady() const { return mounted && reason.isEmpty(); }
    QString skipReason() const { return reason; }
    QString path() const { return base.path(); }
    QString filePath(const QString &name) const { return base.filePath(name); }

    // What the older file `name` holds.
    static QByteArray olderContent(const QString &name)
    {
        return "older " + name.toUtf8() + " that must survive a failed export\n";
    }

    // The folder's entries other than the filler and the older files.
    QStringList leftovers(const QStringList &olderFiles = {}) const
    {
        QStringList entries =
            QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        entries.removeAll(QStringLiteral("filler"));
        for (const QString &older : olderFiles)
            entries.removeAll(older);
        return entries;
    }

private:
    QTemporaryDir base;
    bool mounted = false;
    QString reason;
};

} // namespace testsupport
