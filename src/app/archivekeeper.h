// SPDX-License-Identifier: GPL-3.0-or-later
// ArchiveKeeper: keeps the archive up to date with the window's recordings, off the GUI thread.
#pragma once

#include "archive/archive.h"
#include "archive/archivelocation.h"
#include "archive/reviewsigner.h"
#include "core/auditentry.h"

#include <QMutex>
#include <QObject>
#include <QVector>
#include <QThreadPool>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(AuditHead)

// Adds the recordings folder's files at start-up and every new download,
// one task after another on one thread of its own. That thread keeps one
// database connection for the keeper's life: the first task opens it, and a
// task opens it again only after a failure closed it. An archive that cannot
// be opened or reached is reported once; the window goes on working from the
// folder.
//
// It also appends the window's audit entries to the archive's trail, on the
// same thread: an entry made while the archive cannot be opened waits in this
// computer's queue and goes in, with its own time, once the archive opens.
// The first time the archive opens, the trail is verified.
class ArchiveKeeper : public QObject
{
    Q_OBJECT
public:
    // The archive is the settings file's, else the one beside `recordingsFolder`.
    explicit ArchiveKeeper(const QString &recordingsFolder, QObject *parent = nullptr);
    // Drops the tasks not begun and waits for the one in progress.
    ~ArchiveKeeper() override;

    const ArchiveLocation &location() const { return where; }
    // False when the settings file names no archive that can be used at all.
    bool hasLocation() const { return locationError.isEmpty(); }
    // Why a file is not a recording it can read, in the interface language.
    static QString reasonText(RecordingStatus status);
    // The trail's newest entry as last appended or verified; seq 0 before.
    AuditHead latestAuditHead() const { return head; }
    // How many entries wait for the archive, as last reported.
    int auditWaitingCount() const { return waitingCount; }

    // A signature the window asks for: the recording and what it means.
    struct SignRequest {
        QString sha256;
        QString serial;
        QString meaning;
        QString comment;
        // Why, when the settings ask for a reason.
        QString reason;
    };
    using SignDone = std::function<void(const ReviewSigner::Outcome &)>;
    // Signs on the keeper's thread, after the entries waiting, since checking
    // a password can take seconds; `done` gets the outcome on the GUI thread.
    // The keeper overwrites its copy of the password once it is checked.
    void sign(const SignRequest &request, const QByteArray &password, const SignDone &done);

public slots:
    // Adds the recording files of the folder that the archive does not know.
    void syncFolder();
    // The password the user typed when the server asked for one: kept in
    // memory for this run, and the folder synced again. An empty one gives up.
    void usePassword(const QString &password);
    // Adds one new recording file; an empty path is ignored.
    void addFile(const QString &path);
    // Adds the new recording file at `path` from `bytes`, its content that a
    // download holds in memory, without reading the file back; an empty path
    // is ignored.
    void addDownloaded(const QString &path, const QByteArray &bytes);
    // Appends `entry` to the audit trail, or queues it while the archive cannot be opened.
    void record(const AuditEntry &entry);

signals:
    // The first failure to open or write the archive, with its reason.
    void unavailable(const QString &reason);
    // The archive was opened for the first time; how its connection is secured.
    void connected(const ArchiveSecurity &security);
    // The team archive's server asks for a password that none of libpq's own
    // places gave; answered by usePassword().
    void passwordWanted();
    // A notice naming the files an import or a new file left out, and why.
    void skipped(const QString &notice);
    // The number of audit entries waiting for the archive changed (or some wait at start).
    void auditWaiting(int count);
    // The trail's newest entry after an append or a verification.
    void auditHeadChanged(const AuditHead &head);
    // The trail does not verify, and why.
    void auditBroken(const QString &problem);

private:
    // Runs `task` on the keeper's thread with the open archive; a task that
    // returns false failed, and the connection is opened anew for the next.
    void run(const std::function<bool(Archive &)> &task);
    // On the keeper's thread: the open archive, opened now when it is not;
    // null, with the failure reported, when it cannot be.
    Archive *openArchive();
    // On the keeper's thread: reports a file's failure or why it was left
    // out; false for a failure.
    bool reportOutcome(const QString &path, const Archive::Outcome &outcome);
    // On the GUI thread, from a task's.
    void connectedLater(const ArchiveSecurity &security);
    void askPasswordLater(const QString &reason);
    void report(const QString &reason);
    // report() from a task's thread.
    void reportLater(const QString &reason);
    // Emits `skipped` for `files` ("name（reason）") from a task's thread.
    void reportSkippedLater(const QStringList &files);
    static QString skippedText(const QString &path, const Archive::Outcome &outcome);
    // On the keeper's thread: appends the waiting entries and verifies the trail.
    void checkAudit();
    // On the keeper's thread: appends (or queues) the entries recorded and not yet sent.
    void recordUnsent(Archive *open);
    // From the keeper's thread: the queue's size and the trail's head, reported on the GUI thread.
    void auditStateLater(Archive *open);

    QString folder;
    ArchiveLocation where;
    QString locationError;
    QThreadPool pool;
    // Used only on the pool's one thread, which never expires.
    std::unique_ptr<Archive> archive;
    bool reported = false;
    bool everConnected = false;
    // Used only on the pool's thread: the trail was checked since the archive last opened.
    bool auditChecked = false;
    // Filled on the GUI thread, emptied on the keeper's.
    QMutex unsentLock;
    QVector<AuditEntry> unsent;
    // On the GUI thread.
    AuditHead head;
    int waitingCount = 0;
    bool askingPassword = false;
    // The server's words when it asked, reported if the user gives up.
    QString passwordReason;
};
