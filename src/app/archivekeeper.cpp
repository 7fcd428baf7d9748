// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/archivekeeper.h"

#include "archive/archive.h"

ArchiveKeeper::ArchiveKeeper(const QString &recordingsFolder, QObject *parent)
    : QObject(parent), folder(recordingsFolder)
{
    // One task at a time, in the order they came: an import and a new download
    // never race for the same file.
    pool.setMaxThreadCount(1);
    if (!ArchiveLocation::fromSettings(recordingsFolder, &where, &locationError))
        where = ArchiveLocation();
}

ArchiveKeeper::~ArchiveKeeper()
{
    pool.clear();
    pool.waitForDone();
}

void ArchiveKeeper::syncFolder()
{
    const QString recordings = folder;
    run([this, recordings](Archive &archive) {
        if (archive.importFolder(recordings).failed > 0)
            reportLater(archive.errorText());
    });
}

void ArchiveKeeper::addFile(const QString &path)
{
    if (path.isEmpty())
        return;
    run([this, path](Archive &archive) {
        const Archive::Outcome outcome = archive.addFile(path);
        if (outcome.kind == Archive::Outcome::Failed)
            reportLater(outcome.reason);
    });
}

void ArchiveKeeper::run(const std::function<void(Archive &)> &task)
{
    if (!locationError.isEmpty()) {
        report(locationError);
        return;
    }
    // The destructor waits for the pool, so `this` outlives every task.
    pool.start([this, location = where, task] {
        Archive archive;
        if (archive.open(location)) {
            task(archive);
            return;
        }
        reportLater(archive.errorText());
    });
}

void ArchiveKeeper::reportLater(const QString &reason)
{
    QMetaObject::invokeMethod(this, [this, reason] { report(reason); }, Qt::QueuedConnection);
}

void ArchiveKeeper::report(const QString &reason)
{
    qWarning("archive: %s", qPrintable(reason));
    if (reported)
        return;
    reported = true;
    emit unavailable(reason);
}
