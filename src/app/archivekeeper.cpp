// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/archivekeeper.h"

#include "archive/archive.h"
#include "archive/auditlog.h"

#include <QFileInfo>
#include <QMutexLocker>

namespace
{
// How many skipped files a notice names; the rest are counted.
constexpr int namedInNotice = 3;
} // namespace

ArchiveKeeper::ArchiveKeeper(const QString &recordingsFolder, QObject *parent)
    : QObject(parent), folder(recordingsFolder)
{
    // One task at a time, in the order they came: an import and a new download
    // never race for the same file. The thread stays, and with it the
    // connection, which can be used only on the thread that opened it.
    pool.setMaxThreadCount(1);
    pool.setExpiryTimeout(-1);
    if (!ArchiveLocation::fromSettings(recordingsFolder, &where, &locationError))
        where = ArchiveLocation();
    // Entries an earlier run could not append are announced once the window listens.
    pool.start([this] { auditStateLater(nullptr); });
}

ArchiveKeeper::~ArchiveKeeper()
{
    pool.clear();
    // Entries whose task was dropped go in now, or wait for the next run.
    pool.start([this] {
        recordUnsent(archive && archive->isOpen() ? archive.get() : nullptr);
        archive.reset();
    });
    pool.waitForDone();
}

void ArchiveKeeper::syncFolder()
{
    const QString recordings = folder;
    run([this, recordings](Archive &archive) {
        QStringList skippedFiles;
        const auto progress = [&skippedFiles](const QString &path,
                                              const Archive::Outcome &outcome) {
            if (outcome.kind == Archive::Outcome::Skipped)
                skippedFiles << skippedText(path, outcome);
        };
        const bool failed = archive.importFolder(recordings, progress).failed > 0;
        if (failed)
            reportLater(archive.errorText());
        reportSkippedLater(skippedFiles);
        return !failed;
    });
}

void ArchiveKeeper::addFile(const QString &path)
{
    if (path.isEmpty())
        return;
    run([this, path](Archive &archive) { return reportOutcome(path, archive.addFile(path)); });
}

void ArchiveKeeper::addDownloaded(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return;
    run([this, path, bytes](Archive &archive) {
        return reportOutcome(path, archive.addFileBytes(path, bytes));
    });
}

bool ArchiveKeeper::reportOutcome(const QString &path, const Archive::Outcome &outcome)
{
    if (outcome.kind == Archive::Outcome::Failed) {
        reportLater(outcome.reason);
        return false;
    }
    if (outcome.kind == Archive::Outcome::Skipped)
        reportSkippedLater({skippedText(path, outcome)});
    return true;
}

void ArchiveKeeper::run(const std::function<bool(Archive &)> &task)
{
    if (!locationError.isEmpty()) {
        report(locationError);
        return;
    }
    // The destructor waits for the pool, so `this` outlives every task.
    pool.start([this, task] {
        Archive *open = openArchive();
        // Entries that waited go in before anything else the archive is asked to do.
        AuditLog log(where);
        if (open && log.waiting() > 0) {
            QString error;
            if (!log.appendWaiting(*open, &error))
                qWarning("audit: %s", qPrintable(error));
            auditStateLater(open);
        }
        // A connection that failed once, a server that went away, is not trusted again.
        if (open && !task(*open))
            archive.reset();
    });
}

void ArchiveKeeper::record(const AuditEntry &entry)
{
    if (!locationError.isEmpty())
        report(locationError);
    {
        QMutexLocker lock(&unsentLock);
        unsent.append(entry);
    }
    const bool usable = locationError.isEmpty();
    pool.start([this, usable] { recordUnsent(usable ? openArchive() : nullptr); });
}

void ArchiveKeeper::recordUnsent(Archive *open)
{
    QVector<AuditEntry> entries;
    {
        QMutexLocker lock(&unsentLock);
        entries.swap(unsent);
    }
    if (entries.isEmpty())
        return;
    AuditLog log(where);
    for (const AuditEntry &entry : qAsConst(entries)) {
        QString error;
        if (!log.record(open, entry, &error)) {
            qWarning("audit: %s", qPrintable(error));
            // A connection that failed once is not trusted again; the rest wait.
            if (open)
                archive.reset();
            open = nullptr;
        }
    }
    auditStateLater(open);
}

void ArchiveKeeper::sign(const SignRequest &request, const QByteArray &password,
                         const SignDone &done)
{
    const auto finish = [this, done](const ReviewSigner::Outcome &outcome) {
        QMetaObject::invokeMethod(
            this, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
    };
    if (!locationError.isEmpty()) {
        ReviewSigner::Outcome failed;
        failed.text = locationError;
        finish(failed);
        return;
    }
    pool.start([this, request, secret = QByteArray(password), finish]() mutable {
        ReviewSigner::Outcome outcome;
        // The entries recorded before went in by their own tasks, which ran first.
        if (Archive *open = openArchive()) {
            ReviewSigner signer(*open);
            outcome = signer.sign(request.sha256, request.serial, request.meaning, request.comment,
                                  secret, request.reason);
            auditStateLater(open);
        } else {
            outcome.text = tr("无法打开记录档案库");
        }
        secret.fill('\0');
        finish(outcome);
    });
}

void ArchiveKeeper::checkAudit()
{
    Archive *open = openArchive();
    if (!open)
        return;
    AuditLog log(where);
    QString error;
    if (!log.appendWaiting(*open, &error))
        qWarning("audit: %s", qPrintable(error));
    auditStateLater(open);
    const AuditVerdict verdict = log.verify(*open);
    QMetaObject::invokeMethod(
        this,
        [this, verdict] {
            if (!verdict.whole) {
                emit auditBroken(verdict.problem);
                return;
            }
            head = {verdict.lastSeq, verdict.lastHash};
            emit auditHeadChanged(head);
        },
        Qt::QueuedConnection);
}

void ArchiveKeeper::auditStateLater(Archive *open)
{
    const int waiting = AuditLog(where).waiting();
    AuditHead newest;
    const bool appended = open && open->auditHead(&newest) && newest.seq > 0;
    QMetaObject::invokeMethod(
        this,
        [this, waiting, appended, newest] {
            if (waiting != waitingCount) {
                waitingCount = waiting;
                emit auditWaiting(waiting);
            }
            if (appended) {
                head = newest;
                emit auditHeadChanged(head);
            }
        },
        Qt::QueuedConnection);
}

Archive *ArchiveKeeper::openArchive()
{
    if (archive && archive->isOpen())
        return archive.get();
    archive = std::make_unique<Archive>();
    if (archive->open(where)) {
        connectedLater(archive->security());
        // After the task that opened it: the trail is checked in a task of its own.
        if (!auditChecked) {
            auditChecked = true;
            pool.start([this] { checkAudit(); });
        }
        return archive.get();
    }
    const QString why = archive->errorText();
    archive.reset();
    if (archiveconnection::wantsPassword(why))
        askPasswordLater(why);
    else
        reportLater(why);
    return nullptr;
}

void ArchiveKeeper::connectedLater(const ArchiveSecurity &security)
{
    QMetaObject::invokeMethod(
        this,
        [this, security] {
            if (everConnected)
                return;
            everConnected = true;
            emit connected(security);
        },
        Qt::QueuedConnection);
}

void ArchiveKeeper::askPasswordLater(const QString &reason)
{
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            // Every task queued before the answer fails alike: one question.
            if (askingPassword)
                return;
            askingPassword = true;
            passwordReason = reason;
            emit passwordWanted();
        },
        Qt::QueuedConnection);
}

void ArchiveKeeper::usePassword(const QString &password)
{
    if (password.isEmpty()) {
        // Not asked again in this run: the window goes on from the folder.
        report(passwordReason);
        return;
    }
    askingPassword = false;
    archiveconnection::rememberPassword(where, password);
    syncFolder();
}

void ArchiveKeeper::reportLater(const QString &reason)
{
    QMetaObject::invokeMethod(
        this, [this, reason] { report(reason); }, Qt::QueuedConnection);
}

void ArchiveKeeper::report(const QString &reason)
{
    qWarning("archive: %s", qPrintable(reason));
    if (reported)
        return;
    reported = true;
    emit unavailable(reason);
}

QString ArchiveKeeper::reasonText(RecordingStatus status)
{
    switch (status) {
    case RecordingStatus::UnreadableName:
        return tr("文件名不是有效的 UTF-8");
    case RecordingStatus::NotRegularFile:
        return tr("不是普通文件");
    case RecordingStatus::TooLarge:
        return tr("文件过大，不是记录文件");
    case RecordingStatus::TooShort:
        return tr("文件过短，不是记录文件");
    case RecordingStatus::UnknownModel:
        return tr("未知的记录仪型号，不是记录文件");
    case RecordingStatus::BadJsonLength:
    case RecordingStatus::BadJson:
        return tr("文件头已损坏");
    default:
        return tr("无法读取");
    }
}

QString ArchiveKeeper::skippedText(const QString &path, const Archive::Outcome &outcome)
{
    const QString reason = reasonText(outcome.status);
    qWarning("archive: skipped %s: %s", qPrintable(path), qPrintable(outcome.reason));
    return tr("%1（%2）").arg(QFileInfo(path).fileName(), reason);
}

void ArchiveKeeper::reportSkippedLater(const QStringList &files)
{
    if (files.isEmpty())
        return;
    QString named = files.mid(0, namedInNotice).join(tr("；"));
    if (files.size() > namedInNotice)
        named = tr("%1 等").arg(named);
    const QString notice = files.size() == 1
                               ? tr("未存入记录档案库：%1").arg(named)
                               : tr("%1 个文件未存入记录档案库：%2").arg(files.size()).arg(named);
    QMetaObject::invokeMethod(
        this, [this, notice] { emit skipped(notice); }, Qt::QueuedConnection);
}
