// SPDX-License-Identifier: GPL-3.0-or-later
// NewFile: a new file that appears under its name only when it is complete, never over another.
#pragma once

#include <QFile>
#include <QString>
#include <functional>

// A new file is written under a hidden temporary name in its folder
// (".NAME.XXXXXX.part", which no listing of recordings, presets or reports
// takes), flushed to the disk, and then renamed to NAME or, when that name is
// taken, to the first free variant ("X_2.data", "X_3.data", ...). The rename
// never replaces a file, so programs writing at the same moment each keep
// their own file, and a program killed half-way leaves nothing under a real
// name. While it is written the temporary file is locked, so that
// removeLeftovers() of another program clears only what nobody writes.
class NewFile
{
public:
    // A file to be named `fileName` in `folder`.
    NewFile(const QString &folder, const QString &fileName);
    // An uncommitted file is discarded.
    ~NewFile();
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    // Creates the temporary file in the folder, which must exist.
    bool open();
    bool isOpen() const { return temporary.isOpen(); }
    QString temporaryPath() const { return temporary.fileName(); }
    // Appends all of `bytes` and hands them to the system: false when they
    // could not all be written (a full disk, a file gone).
    bool write(const char *bytes, qint64 size);
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }
    // Syncs the content to the disk and gives the file its name. Returns the
    // final path, or an empty string when that failed, the temporary file
    // being removed then.
    QString commit();
    // Closes and removes the temporary file.
    void discard();
    // Why the last step failed.
    QString errorString() const { return error; }
    // Takes hold of the file at the temporary path after another writer has
    // written it there (and perhaps replaced the one open() created).
    bool adoptTemporaryPath();

    // Whether `fileName` names the temporary file of a file being written.
    static bool isTemporaryName(const QString &fileName);
    // Removes the temporary files in `folder` that no running program holds:
    // the leftovers of programs that were killed. Returns how many.
    static int removeLeftovers(const QString &folder);

private:
    QString rename();
    bool fail(const QString &why);

    const QString folder;
    const QString fileName;
    QFile temporary;
    QString error;
};

// Writes a new file named `fileName` (or a free variant) in `folder` through
// `write`, which gets the temporary path to write, or replace, and returns
// whether it succeeded. Returns the final path; empty, with nothing left
// behind and the reason in `error`, when the write or the naming failed.
QString writeNewFile(const QString &folder, const QString &fileName,
                     const std::function<bool(const QString &path)> &write,
                     QString *error = nullptr);

// Moves the file `path` into `folder` (created when missing) under its name or
// a free variant, never over another file. Across file systems the file is
// copied to a temporary name there, synced and renamed, and the original is
// removed only then; a copy that fails (a full disk) is removed, and the
// original stays. Returns the new path, or empty with the reason in `error`.
QString moveInto(const QString &path, const QString &folder, QString *error = nullptr);
