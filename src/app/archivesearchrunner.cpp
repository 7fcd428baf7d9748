// SPDX-License-Identifier: GPL-3.0-or-later
// ArchiveSearchRunner: runs the list's archive searches on a thread of their own.
#include "app/archivesearchrunner.h"

#include "recording/recordingaudit.h"

#include <QFileInfo>

ArchiveSearchRunner::ArchiveSearchRunner(const ArchiveLocation &location, QObject *parent)
    : QObject(parent), worker(new QObject), search(std::make_unique<ArchiveSearch>(location))
{
    thread.setObjectName(QStringLiteral("archive search"));
    worker->moveToThread(&thread);
    thread.start();
}

ArchiveSearchRunner::~ArchiveSearchRunner()
{
    // Nothing newer may start; the one running finishes and the archive's
    // connection closes on the thread that opened it.
    latest.fetchAndAddOrdered(1);
    QMetaObject::invokeMethod(
        worker, [this] { search.reset(); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    delete worker;
}

int ArchiveSearchRunner::request(const ArchiveFilter &filter, int limit)
{
    const int number = latest.fetchAndAddOrdered(1) + 1;
    QMetaObject::invokeMethod(
        worker, [this, number, filter, limit] { run(number, filter, limit); },
        Qt::QueuedConnection);
    return number;
}

int ArchiveSearchRunner::requestSignatures(const QStringList &paths)
{
    const int number = latest.fetchAndAddOrdered(1) + 1;
    QMetaObject::invokeMethod(
        worker, [this, number, paths] { runSignatures(number, paths); }, Qt::QueuedConnection);
    return number;
}

void ArchiveSearchRunner::runSignatures(int number, const QStringList &paths)
{
    if (number != newest() || !search)
        return;
    ArchiveSearch::FolderSignatures result;
    const QHash<QString, QString> standing = search->standingSignatures();
    // The files are read for their fingerprints only when any signature stands.
    if (!standing.isEmpty()) {
        result.meanings = search->meaningsByKey();
        for (const QString &path : paths) {
            if (number != newest())
                return;
            const QString meaning = standing.value(fingerprintOf(path));
            if (!meaning.isEmpty())
                result.meaningOf.insert(path, meaning);
        }
    }
    QMetaObject::invokeMethod(
        this,
        [this, number, result] {
            if (number == newest())
                emit signaturesFound(number, result);
        },
        Qt::QueuedConnection);
}

QString ArchiveSearchRunner::fingerprintOf(const QString &path)
{
    const QFileInfo file(path);
    const auto known = knownFiles.constFind(path);
    if (known != knownFiles.constEnd() && known->size == file.size() &&
        known->modified == file.lastModified())
        return known->sha256;
    const QString sha256 = QString::fromLatin1(recordingaudit::fileSha256(path));
    knownFiles.insert(path, {file.size(), file.lastModified(), sha256});
    return sha256;
}

void ArchiveSearchRunner::run(int number, const ArchiveFilter &filter, int limit)
{
    if (number != newest() || !search)
        return;
    const ArchiveSearch::Result result = search->find(filter, limit);
    // Back on the runner's own thread; a result overtaken meanwhile is not shown.
    QMetaObject::invokeMethod(
        this,
        [this, number, result] {
            if (number == newest())
                emit found(number, result);
        },
        Qt::QueuedConnection);
    QStringList unverified;
    for (const ArchiveEntry &entry : result.entries) {
        // A newer search makes this one's marks moot.
        if (number != newest())
            return;
        if (!search->verify(entry))
            unverified << entry.sha256;
    }
    QMetaObject::invokeMethod(
        this,
        [this, number, unverified] {
            if (number == newest())
                emit verified(number, unverified);
        },
        Qt::QueuedConnection);
}
