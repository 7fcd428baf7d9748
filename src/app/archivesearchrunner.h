// SPDX-License-Identifier: GPL-3.0-or-later
// ArchiveSearchRunner: runs the list's archive searches on a thread of their own, the newest
// request winning.
#pragma once

#include "app/archivesearch.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QThread>
#include <memory>

// Typing never waits for the archive: a request returns at once, the query
// runs on the runner's thread with a connection of its own, and its result
// comes back through `found` on the thread that owns the runner. A request
// that a newer one overtook before it began is dropped unrun, and the result
// of one that a newer one overtook while it ran is dropped too, so the list
// only ever shows the newest search. After a result, its entries are checked
// against their own bytes on the same thread, and the ones that fail come
// through `verified`. The folder's files are asked for their signatures the
// same way, newest request winning.
class ArchiveSearchRunner : public QObject
{
    Q_OBJECT
public:
    explicit ArchiveSearchRunner(const ArchiveLocation &location, QObject *parent = nullptr);
    // Waits for a search under way and closes the connection on its own thread.
    ~ArchiveSearchRunner() override;

    // Asks for at most `limit` entries matching `filter`; returns the request's number.
    int request(const ArchiveFilter &filter, int limit);
    // Asks which of the files at `paths` carry a standing signature; returns
    // the request's number.
    int requestSignatures(const QStringList &paths);
    // The number of the newest request.
    int newest() const { return latest.loadAcquire(); }

signals:
    // The result of the newest request, `number`.
    void found(int number, const ArchiveSearch::Result &result);
    // After `found`: the entries of that result whose shown figures their own
    // bytes do not bear out, or whose bytes are not at hand.
    void verified(int number, const QStringList &unverified);
    // The signed files of the newest request, `number`; none when the archive cannot be used.
    void signaturesFound(int number, const ArchiveSearch::FolderSignatures &signatures);

private:
    void run(int number, const ArchiveFilter &filter, int limit);
    void runSignatures(int number, const QStringList &paths);
    // The SHA-256 of the file at `path`, read again only when its size or
    // modification time changed since (a recording file is never rewritten in place).
    QString fingerprintOf(const QString &path);

    QThread thread;
    // Lives on `thread`; requests run in its context.
    QObject *worker;
    // Used only on `thread`, where its connection is opened.
    std::unique_ptr<ArchiveSearch> search;
    // Used only on `thread`: the fingerprints of the folder's files as last read.
    struct KnownFile {
        qint64 size = -1;
        QDateTime modified;
        QString sha256;
    };
    QHash<QString, KnownFile> knownFiles;
    QAtomicInt latest = 0;
};
