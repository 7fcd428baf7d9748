// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/auditlog.h"

#include "archive/archive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>

namespace
{
// Which archive: its file, or its server and database, whoever logs in.
QString archiveKey(const ArchiveLocation &location)
{
    const QString identity = location.isTeamArchive()
                                 ? QStringLiteral("postgresql://%1:%2/%3")
                                       .arg(location.host)
                                       .arg(location.port)
                                       .arg(location.database)
                                 : QDir::cleanPath(QFileInfo(location.filePath).absoluteFilePath());
    return QString::fromLatin1(
        QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
}

QString stateFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/hygra/audit");
}

QString nullableString(const QJsonValue &value)
{
    return value.isString() ? value.toString() : QString();
}

// A queued line back as the entry an action reported.
bool entryOfLine(const QByteArray &line, AuditEntry *entry)
{
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    if (!object.value(QStringLiteral("kind")).isString())
        return false;
    entry->time = object.value(QStringLiteral("time")).toString();
    entry->kind = object.value(QStringLiteral("kind")).toString();
    entry->sha256 = nullableString(object.value(QStringLiteral("sha256")));
    entry->serial = nullableString(object.value(QStringLiteral("serial")));
    entry->details = object.value(QStringLiteral("details")).toObject();
    entry->reason = nullableString(object.value(QStringLiteral("reason")));
    return true;
}

QByteArray lineOf(const AuditEntry &entry)
{
    QJsonObject object = audit::toJson(entry);
    for (const char *key : {"seq", "user", "computer", "prev", "hash"})
        object.remove(QLatin1String(key));
    return audit::canonicalJson(object) + '\n';
}

QList<QByteArray> readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeAll(QByteArray());
    return lines;
}
} // namespace

AuditLog::AuditLog(const ArchiveLocation &location)
{
    const QString base = stateFolder() + QLatin1Char('/') + archiveKey(location);
    queuePath = base + QStringLiteral(".queue");
    seenPath = base + QStringLiteral(".seen");
    lockPath = base + QStringLiteral(".lock");
}

bool AuditLog::record(Archive *archive, const AuditEntry &entry, QString *error, bool *queued)
{
    if (queued)
        *queued = false;
    QString why;
    if (archive && archive->isOpen() && appendWaiting(*archive, &why) &&
        append(*archive, entry, &why))
        return true;
    if (why.isEmpty())
        why = archive && !archive->errorText().isEmpty()
                  ? archive->errorText()
                  : QStringLiteral("the archive is not open");
    QString queueWhy;
    const bool kept = enqueue(entry, &queueWhy);
    if (queued)
        *queued = kept;
    *error = kept ? why
                  : QStringLiteral("%1; nor could it wait in %2: %3").arg(why, queuePath, queueWhy);
    return false;
}

bool AuditLog::append(Archive &archive, AuditEntry entry, QString *error)
{
    if (!archive.appendAudit(entry)) {
        *error = archive.errorText();
        return false;
    }
    remember(archive, {entry.seq, entry.hash});
    return true;
}

bool AuditLog::appendWaiting(Archive &archive, QString *error)
{
    if (!QFile::exists(queuePath))
        return true;
    QLockFile lock(lockPath);
    if (!lock.tryLock(10000)) {
        *error = QStringLiteral("the queue of waiting audit entries %1 is locked").arg(queuePath);
        return false;
    }
    const QList<QByteArray> lines = readLines(queuePath);
    int done = 0;
    bool ok = true;
    for (; done < lines.size(); ++done) {
        AuditEntry entry;
        // A line that is no entry (a write cut short) cannot be appended: it stays for a person to
        // read.
        if (!entryOfLine(lines.at(done), &entry) || !append(archive, entry, error)) {
            if (error->isEmpty())
                *error =
                    QStringLiteral("a waiting audit entry in %1 cannot be read").arg(queuePath);
            ok = false;
            break;
        }
    }
    if (done == lines.size()) {
        QFile::remove(queuePath);
        return true;
    }
    // The entries appended must leave the queue, or they would go in twice.
    QSaveFile rest(queuePath);
    bool kept = rest.open(QIODevice::WriteOnly);
    for (int i = done; kept && i < lines.size(); ++i)
        kept = rest.write(lines.at(i) + '\n') >= 0;
    if (!(kept && rest.commit())) {
        *error = QStringLiteral("the queue of waiting audit entries %1 could not be rewritten: %2")
                     .arg(queuePath, rest.errorString());
        return false;
    }
    return ok;
}

int AuditLog::waiting() const
{
    return readLines(queuePath).size();
}

bool AuditLog::enqueue(const AuditEntry &entry, QString *error)
{
    QDir().mkpath(stateFolder());
    QLockFile lock(lockPath);
    lock.tryLock(10000);
    QFile file(queuePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(lineOf(entry)) < 0 ||
        !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

AuditHead AuditLog::seen() const
{
    QFile file(seenPath);
    AuditHead head;
    if (!file.open(QIODevice::ReadOnly))
        return head;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    head.seq = object.value(QStringLiteral("seq")).toVariant().toLongLong();
    head.hash = object.value(QStringLiteral("hash")).toString();
    return head;
}

void AuditLog::remember(Archive &archive, const AuditHead &head)
{
    const AuditHead pinned = seen();
    if (pinned.seq >= head.seq && pinned.seq > 0)
        return;
    // A pin whose entry changed is evidence: it stays until a person looks.
    if (pinned.seq > 0 && archive.auditHash(pinned.seq) != pinned.hash)
        return;
    // Replaced whole by a rename, but not synced to the disk: a pin lost to a
    // power cut only makes the next check trust a little less, while a sync
    // on every action would cost more than the action's own append.
    QDir().mkpath(stateFolder());
    const QString temporary = seenPath + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(audit::canonicalJson(
        QJsonObject{{QStringLiteral("seq"), head.seq}, {QStringLiteral("hash"), head.hash}}));
    file.close();
    if (file.error() == QFileDevice::NoError)
        std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(seenPath).constData());
}

AuditVerdict AuditLog::verify(Archive &archive, const QVector<AuditHead> &pins)
{
    QVector<AuditHead> all = pins;
    const AuditHead pinned = seen();
    if (pinned.seq > 0)
        all.append(pinned);
    const AuditVerdict verdict = archive.verifyAudit(all);
    if (verdict.whole && verdict.lastSeq > 0)
        remember(archive, {verdict.lastSeq, verdict.lastHash});
    return verdict;
}
