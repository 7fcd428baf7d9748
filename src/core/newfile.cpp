// SPDX-License-Identifier: GPL-3.0-or-later
// NewFile: a new file that appears under its name only when it is complete, never over another.
#include "core/newfile.h"

#include "core/utils.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
const QLatin1String temporarySuffix(".part");
constexpr int randomLength = 6;
// Beyond this many names taken, something other than a busy folder is wrong.
constexpr int maxNameAttempts = 1000;
constexpr qint64 copyChunk = 1 << 20;

enum class Renamed { Done, Exists, CrossDevice, Failed };

QString temporaryName(const QString &fileName)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString random;
    for (int i = 0; i < randomLength; ++i)
        random +=
            QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return QLatin1Char('.') + fileName + QLatin1Char('.') + random + temporarySuffix;
}

#ifdef Q_OS_UNIX
QString systemError()
{
    return qt_error_string(errno);
}

bool sameFile(int fd, const QString &path)
{
    struct stat open = {};
    struct stat named = {};
    return fstat(fd, &open) == 0 && lstat(QFile::encodeName(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Gives `from` the name `to` unless `to` exists, in one step.
Renamed renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return Renamed::Done;
    if (errno == EEXIST)
        return Renamed::Exists;
    if (errno == EXDEV)
        return Renamed::CrossDevice;
    // File systems without the flag answer EINVAL; older kernels ENOSYS.
    if (errno != EINVAL && errno != ENOSYS)
        return Renamed::Failed;
#endif
    // A hard link is refused when the name exists, in one step as well.
    if (link(source.constData(), target.constData()) == 0) {
        unlink(source.constData());
        return Renamed::Done;
    }
    if (errno == EEXIST)
        return Renamed::Exists;
    if (errno == EXDEV)
        return Renamed::CrossDevice;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return Renamed::Failed;
    // No hard links here: the name is taken first by an empty file of our own,
    // which the rename then replaces.
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? Renamed::Exists : Renamed::Failed;
    ::close(fd);
    if (::rename(source.constData(), target.constData()) == 0)
        return Renamed::Done;
    const int failure = errno;
    unlink(target.constData());
    errno = failure;
    return failure == EXDEV ? Renamed::CrossDevice : Renamed::Failed;
}

bool syncToDisk(int fd)
{
    return fsync(fd) == 0;
}

// Makes the new name itself survive a crash.
void syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    ::close(fd);
}

bool lockExclusively(int fd)
{
    return flock(fd, LOCK_EX) == 0;
}

// Removes `path` when no program holds its lock.
bool removeUnlocked(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool removed = flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, path) &&
                         unlink(QFile::encodeName(path).constData()) == 0;
    ::close(fd);
    return removed;
}
#else
// Elsewhere Qt's rename refuses an existing target, a file open for writing
// cannot be removed, and Qt offers no call that syncs a file to the disk.
QString systemError()
{
    return QStringLiteral("the system refused");
}

bool sameFile(int, const QString &)
{
    return true;
}

Renamed renameNoReplace(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return Renamed::Exists;
    return QFile::rename(from, to) ? Renamed::Done : Renamed::Failed;
}

bool syncToDisk(int)
{
    return true;
}

void syncFolder(const QString &) {}

bool lockExclusively(int)
{
    return true;
}

bool removeUnlocked(const QString &path)
{
    return QFile::remove(path);
}
#endif
} // namespace

NewFile::NewFile(const QString &folder, const QString &fileName)
    : folder(QDir(folder).absolutePath()), fileName(fileName)
{
}

NewFile::~NewFile()
{
    discard();
}

bool NewFile::fail(const QString &why)
{
    error = why;
    return false;
}

bool NewFile::open()
{
    discard();
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        temporary.setFileName(QDir(folder).filePath(temporaryName(fileName)));
        if (!temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(temporary.fileName()))
                continue;
            return fail(QStringLiteral("cannot create a file in %1: %2")
                            .arg(QDir::toNativeSeparators(folder), temporary.errorString()));
        }
        if (!lockExclusively(temporary.handle())) {
            fail(systemError());
            discard();
            return false;
        }
        if (sameFile(temporary.handle(), temporary.fileName()))
            return true;
        // Removed as a leftover by another program before the lock was
        // taken: start again under another name.
        temporary.close();
    }
    return fail(
        QStringLiteral("no free temporary name in %1").arg(QDir::toNativeSeparators(folder)));
}

bool NewFile::write(const char *bytes, qint64 size)
{
    if (!temporary.isOpen())
        return fail(QStringLiteral("the file is not open"));
    if (temporary.write(bytes, size) != size || !temporary.flush())
        return fail(temporary.errorString());
    return true;
}

bool NewFile::adoptTemporaryPath()
{
    if (sameFile(temporary.handle(), temporary.fileName()))
        return true;
    temporary.close();
    if (!temporary.open(QIODevice::ReadOnly))
        return fail(temporary.errorString());
    if (!lockExclusively(temporary.handle()) ||
        !sameFile(temporary.handle(), temporary.fileName())) {
        temporary.close();
        return fail(QStringLiteral("the file was removed while it was written"));
    }
    return true;
}

QString NewFile::commit()
{
    if (!temporary.isOpen()) {
        fail(QStringLiteral("the file is not open"));
        return QString();
    }
    const bool flushed = !temporary.isWritable() || temporary.flush();
    if (!flushed || !syncToDisk(temporary.handle())) {
        fail(flushed ? systemError() : temporary.errorString());
        discard();
        return QString();
    }
    // Named while still locked, so no other program takes it for a leftover.
    const QString path = rename();
    temporary.close();
    if (path.isEmpty()) {
        QFile::remove(temporary.fileName());
        return QString();
    }
    syncFolder(folder);
    return path;
}

QString NewFile::rename()
{
    const QDir dir(folder);
    // A name another program took after it was found free is refused, and the
    // next free one is tried.
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        const QString target = dir.filePath(freeFileName(folder, fileName));
        switch (renameNoReplace(temporary.fileName(), target)) {
        case Renamed::Done:
            return target;
        case Renamed::Exists:
            continue;
        case Renamed::CrossDevice:
        case Renamed::Failed:
            fail(QStringLiteral("cannot name the file %1: %2")
                     .arg(QDir::toNativeSeparators(target), systemError()));
            return QString();
        }
    }
    fail(QStringLiteral("no free name for %1 in %2")
             .arg(fileName, QDir::toNativeSeparators(folder)));
    return QString();
}

void NewFile::discard()
{
    if (!temporary.isOpen())
        return;
    // Removed before it is closed, so its lock keeps others off until it is gone.
    QFile::remove(temporary.fileName());
    temporary.close();
}

bool NewFile::isTemporaryName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+\\.[A-Za-z0-9]{%1}\\.part$").arg(randomLength));
    return pattern.match(fileName).hasMatch();
}

int NewFile::removeLeftovers(const QString &folder)
{
    const QDir dir(folder);
    int removed = 0;
    const QStringList names =
        dir.entryList({QStringLiteral(".*") + temporarySuffix}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (isTemporaryName(name) && removeUnlocked(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

QString writeNewFile(const QString &folder, const QString &fileName,
                     const std::function<bool(const QString &)> &write, QString *error)
{
    NewFile file(folder, fileName);
    if (!file.open()) {
        if (error)
            *error = file.errorString();
        return QString();
    }
    const QString temporary = file.temporaryPath();
    QString path;
    QString why;
    if (!write(temporary))
        why = QStringLiteral("the file could not be written");
    else if (file.adoptTemporaryPath())
        path = file.commit();
    if (path.isEmpty()) {
        if (error)
            *error = why.isEmpty() ? file.errorString() : why;
        file.discard();
        // What a failed writer left there, in place of the file created here.
        QFile::remove(temporary);
    }
    return path;
}

QString moveInto(const QString &path, const QString &folder, QString *error)
{
    const auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return QString();
    };
    if (!QDir().mkpath(folder))
        return failed(
            QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    const QFileInfo source(path);
    const QDir target(folder);
    if (source.absoluteDir().canonicalPath() == target.canonicalPath())
        return source.absoluteFilePath();
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        const QString candidate =
            target.absoluteFilePath(freeFileName(target.absolutePath(), source.fileName()));
        const Renamed renamed = renameNoReplace(path, candidate);
        if (renamed == Renamed::Done) {
            syncFolder(target.absolutePath());
            return candidate;
        }
        if (renamed == Renamed::CrossDevice)
            break;
        if (renamed == Renamed::Failed)
            return failed(QStringLiteral("cannot move %1 into %2: %3")
                              .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder),
                                   systemError()));
    }
    // Another file system: a complete copy first, the original removed last.
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly))
        return failed(original.errorString());
    NewFile copy(folder, source.fileName());
    if (!copy.open())
        return failed(copy.errorString());
    while (!original.atEnd()) {
        const QByteArray chunk = original.read(copyChunk);
        if (chunk.isEmpty())
            return failed(original.errorString());
        if (!copy.write(chunk))
            return failed(QStringLiteral("cannot copy %1 into %2: %3")
                              .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder),
                                   copy.errorString()));
    }
    const QString moved = copy.commit();
    if (moved.isEmpty())
        return failed(copy.errorString());
    original.close();
    QFile::remove(path);
    return moved;
}
