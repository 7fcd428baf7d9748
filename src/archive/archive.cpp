// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archive.h"

#include "archive/archiveschema.h"
#include "archive/recordinghistory.h"
#include "recording/recordingfile.h"
#include "recording/recordingfolder.h"
#include "recording/recordingreader.h"

#include <QAtomicInt>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <algorithm>

namespace
{
// Files per transaction of a folder import: few enough that a killed import
// loses little work, enough that SQLite does not sync after every file.
constexpr int importBatch = 64;

QAtomicInt connectionCounter;

// An empty value binds as NULL on both engines.
QVariant optionalValue(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

QString likePattern(const QString &text)
{
    QString escaped = text.toLower();
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString canonicalPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString incompleteText(int samples, int expectedSamples)
{
    return QStringLiteral("incomplete recording: %1 of %2 samples")
        .arg(samples)
        .arg(expectedSamples);
}
} // namespace

Archive::Archive()
    : connectionName(QStringLiteral("hygra-archive-%1").arg(connectionCounter.fetchAndAddOrdered(1))),
      computer(QSysInfo::machineHostName())
{
}

Archive::~Archive()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool Archive::fail(const QString &text)
{
    error = text;
    return false;
}

bool Archive::isOpen() const
{
    return QSqlDatabase::database(connectionName, false).isOpen();
}

bool Archive::open(const ArchiveLocation &location)
{
    where = location;
    const bool postgres = location.engine == ArchiveLocation::PostgreSQL;
    const QString driver = QLatin1String(postgres ? "QPSQL" : "QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(QStringLiteral("the Qt SQL driver %1 is not installed").arg(driver));
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(driver, connectionName);
    if (postgres) {
        db.setHostName(location.host);
        db.setPort(location.port);
        db.setDatabaseName(location.database);
        db.setUserName(location.user);
        db.setPassword(location.password);
        // An unreachable server must not hold the window or a script for minutes.
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    } else {
        const QFileInfo file(location.filePath);
        if (!QDir().mkpath(file.absolutePath()))
            return fail(QStringLiteral("cannot create the folder %1").arg(file.absolutePath()));
        db.setDatabaseName(location.filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db.open())
        return fail(QStringLiteral("cannot open the archive %1: %2")
                        .arg(location.displayText(), db.lastError().text().trimmed()));
    if (!postgres) {
        // The write-ahead log lets the window read while a command imports.
        QSqlQuery(QStringLiteral("PRAGMA journal_mode=WAL"), db);
        QSqlQuery(QStringLiteral("PRAGMA synchronous=NORMAL"), db);
        QSqlQuery(QStringLiteral("PRAGMA foreign_keys=ON"), db);
    }
    QString why;
    if (!archiveschema::migrate(db, &why)) {
        db.close();
        return fail(QStringLiteral("cannot prepare the archive %1: %2")
                        .arg(location.displayText(), why));
    }
    error.clear();
    return true;
}

Archive::Outcome Archive::addFile(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!archiveschema::beginWrite(db)) {
        fail(db.lastError().text());
        return {Outcome::Failed, QString(), error};
    }
    const Outcome outcome = addFileUnlocked(path);
    if (outcome.kind == Outcome::Failed || !db.commit()) {
        db.rollback();
        return {Outcome::Failed, outcome.sha256, outcome.reason.isEmpty() ? error : outcome.reason};
    }
    return outcome;
}

Archive::Outcome Archive::addFileUnlocked(const QString &path)
{
    QByteArray bytes;
    const RecordingStatus read = RecordingFile::readAll(path, &bytes);
    if (read == RecordingStatus::CannotOpen)
        return {Outcome::Skipped, QString(), QStringLiteral("cannot be read"), read};
    if (read != RecordingStatus::Loaded)
        return {Outcome::Skipped, QString(), recordingStatusText(read), read};
    const QFileInfo info(path);
    return addBytes(canonicalPath(path), bytes, info.size(),
                    info.lastModified().toMSecsSinceEpoch());
}

Archive::Outcome Archive::addBytes(const QString &path, const QByteArray &bytes, qint64 size,
                                   qint64 mtime)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LoadedRecording recording = RecordingReader::readFrom(&buffer);
    if (!recording.ok())
        return {Outcome::Skipped, QString(), recordingStatusText(recording.status),
                recording.status};
    recording.sha256 = RecordingAnalysis::fingerprint(bytes);

    ArchiveEntry entry = ArchiveEntry::describe(recording);
    entry.addedAt = QDateTime::currentDateTimeUtc();
    entry.addedBy = computer;
    QSqlQuery known(QSqlDatabase::database(connectionName, false));
    known.prepare(QStringLiteral("SELECT 1 FROM recordings WHERE sha256 = ?"));
    known.addBindValue(entry.sha256);
    if (!known.exec())
        return {Outcome::Failed, entry.sha256, known.lastError().text()};
    const bool isNew = !known.next();
    if (isNew && !insertEntry(entry, bytes))
        return {Outcome::Failed, entry.sha256, error};
    if (!recordPlace(path, entry.sha256, size, mtime))
        return {Outcome::Failed, entry.sha256, error};
    return {isNew ? Outcome::Added : Outcome::Known,
            entry.sha256,
            QString(),
            RecordingStatus::Loaded,
            entry.samples,
            entry.expectedSamples};
}

bool Archive::insertEntry(const ArchiveEntry &e, const QByteArray &bytes)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral(
        "INSERT INTO recordings (sha256, model, serial, name, note, start_time, stop_time,"
        " interval_s, samples, temp_unit, has_humidity, alarm, out_of_range, mkt, time_above,"
        " time_below, temp_min, temp_max, temp_mean, hum_min, hum_max, hum_mean, added_at,"
        " added_by, content, expected_samples) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
        " ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QVariantList values = {
        e.sha256,
        e.model,
        e.serial,
        e.name,
        e.note,
        e.start,
        e.stop,
        e.intervalSeconds,
        e.samples,
        e.tempUnit,
        int(e.hasHumidity),
        int(e.alarm),
        int(e.outOfRange),
        optionalValue(e.mktCelsius),
        e.timeAboveSeconds,
        e.timeBelowSeconds,
        optionalValue(e.temperatureMin),
        optionalValue(e.temperatureMax),
        optionalValue(e.temperatureMean),
        optionalValue(e.humidityMin),
        optionalValue(e.humidityMax),
        optionalValue(e.humidityMean),
        e.addedAt.toSecsSinceEpoch(),
        e.addedBy,
        where.isTeamArchive() ? QVariant(bytes) : QVariant(),
        e.expectedSamples,
    };
    for (const QVariant &value : values)
        q.addBindValue(value);
    return q.exec() || fail(q.lastError().text());
}

bool Archive::recordPlace(const QString &path, const QString &sha256, qint64 size, qint64 mtime)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral(
        "INSERT INTO locations (host, path, sha256, size, mtime) VALUES (?, ?, ?, ?, ?)"
        " ON CONFLICT (host, path) DO UPDATE SET sha256 = excluded.sha256,"
        " size = excluded.size, mtime = excluded.mtime"));
    for (const QVariant &value : QVariantList{computer, path, sha256, size, mtime})
        q.addBindValue(value);
    return q.exec() || fail(q.lastError().text());
}

Archive::ImportSummary Archive::importFolder(
    const QString &folder, const std::function<void(const QString &, const Outcome &)> &progress)
{
    ImportSummary summary;
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    const QString base = canonicalPath(folder);

    // Size and modification time of every file this computer has recorded.
    QHash<QString, QPair<qint64, qint64>> places;
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT path, size, mtime FROM locations WHERE host = ?"));
        q.addBindValue(computer);
        if (!q.exec()) {
            fail(q.lastError().text());
            summary.failed = 1;
            return summary;
        }
        while (q.next()) {
            const QString path = q.value(0).toString();
            if (QFileInfo(path).absolutePath() == base)
                places.insert(path, {q.value(1).toLongLong(), q.value(2).toLongLong()});
        }
    }

    QSet<QString> present;
    QStringList batch;
    auto commitBatch = [&] {
        if (batch.isEmpty())
            return true;
        if (!archiveschema::beginWrite(db))
            return fail(db.lastError().text());
        QVector<Outcome> outcomes;
        for (const QString &path : batch) {
            outcomes << addFileUnlocked(path);
            if (outcomes.last().kind == Outcome::Failed)
                break;
        }
        const bool ok = outcomes.last().kind != Outcome::Failed && db.commit();
        if (!ok) {
            if (outcomes.last().kind != Outcome::Failed)
                fail(db.lastError().text());
            db.rollback();
            summary.failed += batch.size();
            batch.clear();
            return false;
        }
        for (int i = 0; i < batch.size(); ++i) {
            const Outcome &o = outcomes.at(i);
            summary.added += o.kind == Outcome::Added;
            summary.known += o.kind == Outcome::Known;
            summary.skipped += o.kind == Outcome::Skipped;
            if (progress)
                progress(batch.at(i), o);
        }
        batch.clear();
        return true;
    };
    for (const RecordingFolder::Entry &listed : RecordingFolder::list(base)) {
        // No call can open a file by a name its encoding cannot spell.
        if (!listed.decodable) {
            const RecordingStatus status = RecordingStatus::UnreadableName;
            ++summary.skipped;
            if (progress)
                progress(listed.shownPath,
                         {Outcome::Skipped, QString(), recordingStatusText(status), status});
            continue;
        }
        const QString path = canonicalPath(listed.path);
        const QFileInfo file(path);
        present.insert(path);
        const auto known = places.constFind(path);
        if (known != places.constEnd() && known->first == file.size() &&
            known->second == file.lastModified().toMSecsSinceEpoch()) {
            ++summary.known;
            continue;
        }
        batch << path;
        if (batch.size() >= importBatch && !commitBatch())
            return summary;
    }
    if (!commitBatch())
        return summary;

    // Files that left the folder: their entries stay, their places go.
    for (auto it = places.constBegin(); it != places.constEnd(); ++it) {
        if (present.contains(it.key()))
            continue;
        QSqlQuery q(db);
        q.prepare(QStringLiteral("DELETE FROM locations WHERE host = ? AND path = ?"));
        q.addBindValue(computer);
        q.addBindValue(it.key());
        if (!q.exec())
            fail(q.lastError().text());
    }
    return summary;
}

QString Archive::whereClause(const ArchiveFilter &filter, QVariantList *values)
{
    QString sql = QStringLiteral(" WHERE 1 = 1");
    if (!filter.sha256.isEmpty()) {
        sql += QLatin1String(" AND r.sha256 = ?");
        *values << filter.sha256.toLower();
    }
    if (!filter.serial.isEmpty()) {
        sql += QLatin1String(" AND r.serial = ?");
        *values << filter.serial;
    }
    if (filter.from) {
        sql += QLatin1String(" AND r.stop_time >= ?");
        *values << *filter.from;
    }
    if (filter.to) {
        sql += QLatin1String(" AND r.start_time <= ?");
        *values << *filter.to;
    }
    if (filter.outOfRangeOnly)
        sql += QLatin1String(" AND r.out_of_range = 1");
    if (!filter.text.isEmpty()) {
        sql += QLatin1String(" AND (LOWER(r.name) LIKE ? ESCAPE '\\' OR LOWER(r.note) LIKE ?"
                             " ESCAPE '\\' OR LOWER(r.serial) LIKE ? ESCAPE '\\')");
        const QString pattern = likePattern(filter.text);
        *values << pattern << pattern << pattern;
    }
    return sql;
}

int Archive::count(const ArchiveFilter &filter)
{
    error.clear();
    QVariantList values;
    const QString sql =
        QStringLiteral("SELECT COUNT(*) FROM recordings r") + whereClause(filter, &values);
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &value : qAsConst(values))
        q.addBindValue(value);
    if (!q.exec() || !q.next()) {
        fail(q.lastError().text());
        return -1;
    }
    return q.value(0).toInt();
}

QVector<ArchiveEntry> Archive::find(const ArchiveFilter &filter)
{
    error.clear();
    QVariantList values{computer};
    QString sql = QStringLiteral("SELECT %1, l.path FROM recordings r LEFT JOIN locations l"
                                 " ON l.sha256 = r.sha256 AND l.host = ?")
                      .arg(QLatin1String(ArchiveEntry::columns)) +
                  whereClause(filter, &values);
    sql += QLatin1String(" ORDER BY r.stop_time DESC, r.sha256");

    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    QVector<ArchiveEntry> entries;
    if (!q.exec()) {
        fail(q.lastError().text());
        return entries;
    }
    // One row per place of a file on this computer: an entry takes the first that exists.
    QHash<QString, int> rowOf;
    while (q.next()) {
        const QString sha256 = q.value(0).toString();
        const QString path = q.value(26).toString();
        auto row = rowOf.constFind(sha256);
        if (row == rowOf.constEnd()) {
            // The rows of one entry are adjacent: the next entry beyond the limit ends the read.
            if (filter.limit > 0 && entries.size() == filter.limit)
                break;
            row = rowOf.insert(sha256, entries.size());
            entries << ArchiveEntry::fromRow(q);
        }
        ArchiveEntry &entry = entries[*row];
        if (entry.path.isEmpty() && !path.isEmpty() && QFileInfo::exists(path))
            entry.path = path;
    }
    for (ArchiveEntry &entry : entries)
        entry.fileGone = entry.path.isEmpty() && !entry.hasContent;
    return entries;
}

ArchiveEntry Archive::entry(const QString &sha256)
{
    ArchiveFilter filter;
    filter.sha256 = sha256;
    const QVector<ArchiveEntry> found = find(filter);
    return found.isEmpty() ? ArchiveEntry() : found.constFirst();
}

QByteArray Archive::fileBytes(const QString &sha256)
{
    const ArchiveEntry found = entry(sha256);
    if (found.sha256.isEmpty()) {
        fail(QStringLiteral("the archive holds no recording %1").arg(sha256));
        return QByteArray();
    }
    return bytesOf(found);
}

QByteArray Archive::bytesOf(const ArchiveEntry &found)
{
    QByteArray bytes;
    if (!found.path.isEmpty() &&
        RecordingFile::readAll(found.path, &bytes) == RecordingStatus::Loaded)
        return bytes;
    if (found.hasContent) {
        QSqlQuery q(QSqlDatabase::database(connectionName, false));
        q.prepare(QStringLiteral("SELECT content FROM recordings WHERE sha256 = ?"));
        q.addBindValue(found.sha256);
        if (q.exec() && q.next())
            return q.value(0).toByteArray();
        fail(q.lastError().text());
        return QByteArray();
    }
    fail(QStringLiteral("the file of recording %1 is not on this computer").arg(found.sha256));
    return QByteArray();
}

LoadedRecording Archive::parse(QByteArray bytes, const QString &sha256)
{
    if (bytes.isEmpty())
        return LoadedRecording();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadedRecording recording = RecordingReader::readFrom(&buffer);
    if (!recording.ok())
        fail(QStringLiteral("recording %1 cannot be read: %2")
                 .arg(sha256, recordingStatusText(recording.status)));
    return recording;
}

LoadedRecording Archive::load(const QString &sha256)
{
    const QByteArray bytes = fileBytes(sha256);
    LoadedRecording recording = parse(bytes, sha256);
    if (recording.ok())
        recording.sha256 = RecordingAnalysis::fingerprint(bytes);
    return recording;
}

LoadedRecording Archive::history(const QString &serial)
{
    ArchiveFilter filter;
    filter.serial = serial;
    QVector<ArchiveEntry> entries = find(filter);
    if (entries.isEmpty()) {
        fail(QStringLiteral("the archive holds no recording of logger %1").arg(serial));
        return LoadedRecording();
    }
    std::sort(entries.begin(), entries.end(),
              [](const ArchiveEntry &a, const ArchiveEntry &b) { return a.start < b.start; });
    // The merged series is no file and carries no fingerprint, so none is taken.
    QVector<LoadedRecording> recordings;
    recordings.reserve(entries.size());
    for (const ArchiveEntry &e : qAsConst(entries)) {
        recordings << parse(bytesOf(e), e.sha256);
        if (!recordings.last().ok())
            return LoadedRecording();
    }
    return mergeHistory(recordings);
}

QVector<Archive::Problem> Archive::check()
{
    QVector<Problem> problems;
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral("SELECT r.sha256, l.path, r.content IS NOT NULL, r.samples,"
                             " r.expected_samples FROM recordings r"
                             " LEFT JOIN locations l ON l.sha256 = r.sha256 AND l.host = ?"
                             " ORDER BY r.sha256, l.path"));
    q.addBindValue(computer);
    if (!q.exec()) {
        fail(q.lastError().text());
        problems.append({QString(), QString(), error});
        return problems;
    }
    while (q.next()) {
        const QString sha256 = q.value(0).toString();
        const QString path = q.value(1).toString();
        if (path.isEmpty()) {
            const int samples = q.value(3).toInt();
            const int expected = q.value(4).toInt();
            if (!q.value(2).toBool())
                problems.append({sha256, path, QStringLiteral("no file on this computer")});
            else if (samples < expected)
                problems.append({sha256, path, incompleteText(samples, expected)});
            continue;
        }
        QByteArray bytes;
        const RecordingStatus read = RecordingFile::readAll(path, &bytes);
        if (read == RecordingStatus::CannotOpen) {
            problems.append({sha256, path, QStringLiteral("the file is missing")});
            continue;
        }
        if (read != RecordingStatus::Loaded) {
            problems.append({sha256, path, recordingStatusText(read)});
            continue;
        }
        if (RecordingAnalysis::fingerprint(bytes) != sha256) {
            problems.append({sha256, path, QStringLiteral("the file has changed")});
            continue;
        }
        // Judged from the bytes, so entries an older program added are judged too.
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const LoadedRecording recording = RecordingReader::readFrom(&buffer);
        if (recording.ok() && !recording.complete())
            problems.append({sha256, path,
                             incompleteText(recording.samples.size(), recording.expectedSamples)});
    }
    return problems;
}
