// SPDX-License-Identifier: GPL-3.0-or-later
// ExportFile: one exported file written whole or not at all, with the reason when it could not be.
#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <memory>

// The writers write into a temporary file beside the target, which is flushed
// to the disk and renamed over the target only when every write succeeded: a
// full disk, a crash or a failed write leave either the complete new file or
// whatever was there before, never a cut one. A target that exists and is no
// regular file (a device such as /dev/stdout, a pipe) is written in place, as
// nothing can be renamed over it; its failures are reported all the same.
class ExportFile
{
public:
    explicit ExportFile(const QString &path);
    ~ExportFile();

    // False, with the reason in errorString(), when the file cannot be created.
    bool open();
    // Where the writer writes, once open. Every byte is checked to reach the
    // file; a failed write is remembered, so the writer may go on and leave the
    // verdict to commit().
    QIODevice *device();
    // Writes `bytes` whole; false, and nothing more is written, once a write failed.
    bool write(const QByteArray &bytes);
    // Forgets everything written so far, so the writer can start over, while
    // none of it has reached the file yet (the first 64 KiB are held back);
    // false, forgetting nothing, once some has.
    bool rewind();
    // Gives the file its name; false, leaving nothing of it behind, when any
    // write failed or the file could not be stored.
    bool commit();
    // Drops what was written; the target stays as it was.
    void cancel();

    // The system's words for the failure, as Qt gives them ("No space left on device").
    QString errorString() const { return reason; }
    // Hands errorString() to a writer's `error` parameter, which may be null; returns false.
    bool fail(QString *error) const;

private:
    class CheckedDevice;

    QFileDevice &file();
    bool failWith(const QString &why);

    QSaveFile replacing;
    QFile inPlace;
    bool writesInPlace = false;
    std::unique_ptr<CheckedDevice> checked;
    QString reason;
};
