// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the recording files of a folder, with names the file name encoding cannot spell.
#include "recording/recordingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace
{

// The length of the UTF-8 sequence that `lead` begins, 0 for no lead byte.
int sequenceLength(uchar lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead >> 5) == 0x6)
        return 2;
    if ((lead >> 4) == 0xE)
        return 3;
    if ((lead >> 3) == 0x1E)
        return 4;
    return 0;
}

} // namespace

QString RecordingFolder::shownName(const QByteArray &bytes)
{
    QString shown;
    int i = 0;
    while (i < bytes.size()) {
        const int length = sequenceLength(uchar(bytes.at(i)));
        bool valid = length > 0 && i + length <= bytes.size();
        for (int k = 1; valid && k < length; ++k)
            valid = (uchar(bytes.at(i + k)) & 0xC0) == 0x80;
        const QString piece = valid ? QString::fromUtf8(bytes.constData() + i, length) : QString();
        // Overlong forms and surrogates decode to the replacement character.
        if (valid && !piece.contains(QChar::ReplacementCharacter)) {
            shown += piece;
            i += length;
        } else {
            shown += QString::asprintf("\\x%02X", uchar(bytes.at(i)));
            ++i;
        }
    }
    return shown;
}

QVector<RecordingFolder::Entry> RecordingFolder::list(const QString &folder)
{
    QVector<Entry> entries;
    const QDir base(folder);
#ifdef Q_OS_UNIX
    // The names' own bytes: Qt's listing leaves out those it cannot decode.
    DIR *dir = ::opendir(QFile::encodeName(base.path()).constData());
    if (!dir)
        return entries;
    while (const dirent *found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name.startsWith('.') || !name.toLower().endsWith(".data"))
            continue;
        struct stat status;
        if (::fstatat(::dirfd(dir), found->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode))
            continue;
        Entry entry;
        const QString decoded = QFile::decodeName(name);
        entry.decodable = QFile::encodeName(decoded) == name;
        entry.path = base.filePath(decoded);
        entry.shownPath = entry.decodable ? entry.path : base.filePath(shownName(name));
        entries.append(entry);
    }
    ::closedir(dir);
#else
    const QFileInfoList files =
        base.entryInfoList({QStringLiteral("*.data")}, QDir::Files | QDir::System, QDir::NoSort);
    for (const QFileInfo &file : files)
        entries.append({file.filePath(), file.filePath(), true});
#endif
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.path < b.path; });
    return entries;
}
