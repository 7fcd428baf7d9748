// SPDX-License-Identifier: GPL-3.0-or-later
// ExportFile: one exported file written whole or not at all, with the reason when it could not be.
#include "export/exportfile.h"

#include <QFileInfo>

// Collects the writer's bytes and hands them on to the unbuffered file in
// large pieces, each to its last byte. A file device returns a short count,
// without an error, when the disk takes only part of a write; a writer that
// does not check counts (the PDF writer does not) would otherwise end up with
// a cut file that commits cleanly. The next write then fails with the reason,
// which Qt's file device states only at that moment.
class ExportFile::CheckedDevice : public QIODevice
{
public:
    explicit CheckedDevice(QFileDevice &file) : file(file) {}

    bool isSequential() const override { return true; }

    // Writes what is collected; false once anything could not be written.
    bool flushCollected()
    {
        if (!why.isEmpty())
            return false;
        for (qint64 done = 0; done < collected.size();) {
            const qint64 written =
                file.write(collected.constData() + done, collected.size() - done);
            if (written <= 0) {
                why = file.error() != QFileDevice::NoError
                          ? file.errorString()
                          : QStringLiteral("the disk took only part of a write");
                return false;
            }
            done += written;
            handedOn = true;
        }
        collected.clear();
        return true;
    }
    // Drops the collected bytes while none were handed to the file.
    bool dropCollected()
    {
        if (handedOn || !why.isEmpty())
            return false;
        collected.clear();
        return true;
    }
    // Why a write failed; empty while none did.
    QString failure() const { return why; }

protected:
    qint64 readData(char *, qint64) override { return -1; }

    qint64 writeData(const char *data, qint64 size) override
    {
        if (!why.isEmpty())
            return -1;
        collected.append(data, int(size));
        if (collected.size() >= collectLimit && !flushCollected())
            return -1;
        return size;
    }

private:
    static constexpr int collectLimit = 1 << 16;

    QFileDevice &file;
    QByteArray collected;
    QString why;
    bool handedOn = false;
};

ExportFile::ExportFile(const QString &path) : replacing(path), inPlace(path)
{
    const QFileInfo target(path);
    writesInPlace = target.exists() && !target.isFile() && !target.isDir();
}

ExportFile::~ExportFile() = default;

QFileDevice &ExportFile::file()
{
    if (writesInPlace)
        return inPlace;
    return replacing;
}

bool ExportFile::open()
{
    // Without this a target that cannot have a temporary file beside it would
    // be truncated and written directly.
    replacing.setDirectWriteFallback(false);
    if (!file().open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWith(file().errorString());
    checked = std::make_unique<CheckedDevice>(file());
    checked->open(QIODevice::WriteOnly);
    return true;
}

QIODevice *ExportFile::device()
{
    return checked.get();
}

bool ExportFile::write(const QByteArray &bytes)
{
    return checked->write(bytes) == bytes.size();
}

bool ExportFile::rewind()
{
    return checked->dropCollected();
}

bool ExportFile::commit()
{
    const bool written = checked->flushCollected();
    if (writesInPlace) {
        inPlace.close();
        return written || failWith(checked->failure());
    }
    if (!written) {
        cancel();
        return failWith(checked->failure());
    }
    // Syncs to the disk and renames, or removes the temporary file.
    if (!replacing.commit())
        return failWith(replacing.errorString());
    return true;
}

void ExportFile::cancel()
{
    if (writesInPlace) {
        inPlace.close();
        return;
    }
    replacing.cancelWriting();
    replacing.commit();
}

bool ExportFile::fail(QString *error) const
{
    if (error)
        *error = reason;
    return false;
}

bool ExportFile::failWith(const QString &why)
{
    if (reason.isEmpty())
        reason = why;
    return false;
}
