// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a recording file for reading: regular files within the size bound only, never blocking.
#include "recording/recordingfile.h"

#include "recording/recordingfolder.h"
#include "recording/recordingreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

#ifdef Q_OS_UNIX
RecordingStatus kindOf(const struct stat &status)
{
    if (S_ISDIR(status.st_mode))
        return RecordingStatus::CannotOpen;
    if (!S_ISREG(status.st_mode))
        return RecordingStatus::NotRegularFile;
    if (status.st_size > RecordingReader::maximumFileSize)
        return RecordingStatus::TooLarge;
    return RecordingStatus::Loaded;
}
#endif

} // namespace

RecordingStatus RecordingFile::open(const QString &path, QFile *file)
{
#ifdef Q_OS_UNIX
    // Judged by what the name points to before anything is opened: opening a
    // pipe waits for a writer, and opening a device may act on it.
    const QByteArray native = QFile::encodeName(path);
    struct stat status;
    if (path.isEmpty() || ::stat(native.constData(), &status) != 0)
        return isUndecodableName(path) ? RecordingStatus::UnreadableName
                                       : RecordingStatus::CannotOpen;
    RecordingStatus kind = kindOf(status);
    if (kind != RecordingStatus::Loaded)
        return kind;
    // Opened without waiting and judged again, in case the name was given to
    // something else in between.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return RecordingStatus::CannotOpen;
    kind = ::fstat(fd, &status) == 0 ? kindOf(status) : RecordingStatus::CannotOpen;
    const int flags = ::fcntl(fd, F_GETFL);
    if (kind == RecordingStatus::Loaded &&
        (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0))
        kind = RecordingStatus::CannotOpen;
    if (kind == RecordingStatus::Loaded &&
        !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        kind = RecordingStatus::CannotOpen;
    if (kind != RecordingStatus::Loaded)
        ::close(fd);
    return kind;
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return RecordingStatus::CannotOpen;
    if (!info.isFile())
        return RecordingStatus::NotRegularFile;
    if (info.size() > RecordingReader::maximumFileSize)
        return RecordingStatus::TooLarge;
    file->setFileName(path);
    return file->open(QIODevice::ReadOnly) ? RecordingStatus::Loaded : RecordingStatus::CannotOpen;
#endif
}

RecordingStatus RecordingFile::readAll(const QString &path, QByteArray *bytes)
{
    QFile file;
    const RecordingStatus status = open(path, &file);
    if (status != RecordingStatus::Loaded)
        return status;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? status : RecordingStatus::CannotOpen;
}

QByteArray RecordingFile::undecodableSpelling(const QString &path)
{
#ifdef Q_OS_UNIX
    // Only a name decoded with replacement characters can have lost bytes.
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!name.contains(QChar::ReplacementCharacter))
        return QByteArray();
    DIR *folder = ::opendir(QFile::encodeName(info.absolutePath()).constData());
    if (!folder)
        return QByteArray();
    const QByteArray spelt = QFile::encodeName(name);
    QByteArray found;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray bytes(entry->d_name);
        if (bytes != spelt && QFile::decodeName(bytes) == name) {
            found = bytes;
            break;
        }
    }
    ::closedir(folder);
    return found;
#else
    Q_UNUSED(path)
    return QByteArray();
#endif
}

bool RecordingFile::isUndecodableName(const QString &path)
{
    return !undecodableSpelling(path).isEmpty();
}

QString RecordingFile::shownPath(const QString &path)
{
    const QByteArray spelling = undecodableSpelling(path);
    if (spelling.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    return path.left(path.size() - name.size()) + RecordingFolder::shownName(spelling);
}
