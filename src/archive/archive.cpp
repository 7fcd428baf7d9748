// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archive.h"

#include "archive/archiveschema.h"
#include "archive/recordinghistory.h"
#include "recording/recordingfile.h"
#include "recording/recordingfolder.h"
#include "recording/recordingreader.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace
{
// Files per transaction of a folder import: few enough that a killed import
// loses little work, enough that SQLite does not sync after every file.
constexpr int importBatch = 64;
// Tries of a transaction that lost a deadlock to another writer.
constexpr int writeAttempts = 5;

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

bool Archive::failWith(const QSqlQuery &query)
{
    const QString code = query.lastError().nativeErrorCode();
    // Deadlock and serialisation failures of two writers: the loser may try again.
    retryable = code == QLatin1String("40P01") || code == QLatin1String("40001");
    fail(query.lastError().text());
    // PostgreSQL refuses all else in a transaction after a failure: end it while
    // `query` still holds its prepared statement, or freeing that fails with
    // "current transaction is aborted". The caller's rollback ends an empty one.
    if (where.isTeamArchive()) {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        QSqlQuery(QStringLiteral("ROLLBACK"), db);
        QSqlQuery(QStringLiteral("BEGIN"), db);
    }
    return false;
}

bool Archive::isOpen() const
{
    return QSqlDatabase::database(connectionName, false).isOpen();
}

ArchiveSecurity Archive::security() const
{
    return archiveconnection::securityOf(QSqlDatabase::database(connectionName, false));
}

bool Archive::open(const ArchiveLocation &location)
{
    where = location;
    auditName.clear();
    const bool postgres = location.engine == ArchiveLocation::PostgreSQL;
    const QString driver = QLatin1String(postgres ? "QPSQL" : "QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(QStringLiteral("the Qt SQL driver %1 is not installed").arg(driver));
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(driver, connectionName);
    if (postgres) {
        archiveconnection::configure(db, location);
    } else {
        const QFileInfo file(location.filePath);
        if (!QDir().mkpath(file.absolutePath()))
            return fail(QStringLiteral("cannot create the folder %1").arg(file.absolutePath()));
        // A file this user may not write is opened for reading: it can be
        // listed and checked. Where it may not even create the log's
        // shared-memory file beside it, SQLite reads the archive only as
        // immutable; writes its owner has in progress are then not seen.
        const bool readOnly = file.exists() && !file.isWritable();
        const bool immutable = readOnly && !QFileInfo(file.absolutePath()).isWritable();
        db.setDatabaseName(immutable ? QUrl::fromLocalFile(file.absoluteFilePath()).toString() +
                                           QStringLiteral("?immutable=1")
                                     : location.filePath);
        db.setConnectOptions(QLatin1String(
            immutable  ? "QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"
            : readOnly ? "QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY"
                       : "QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db.open())
        return fail(QStringLiteral("cannot open the archive %1: %2")
                        .arg(location.displayText(), db.lastError().text().trimmed()));
    if (!postgres) {
        // The write-ahead log lets the window read while a command imports.
        QSqlQuery(QStringLiteral("PRAGMA journal_mode=WAL"), db);
        QSqlQuery(QStringLiteral("PRAGMA synchronous=NORMAL"), db);
        QSqlQuery(QStringLiteral("PRAGMA foreign_keys=ON"), db);
        if (!archiveconnection::lendLowerCase(db))
            qWarning("archive: searches ignore the case of A to Z only");
    }
    QString why;
    if (!archiveschema::prepare(db, &why)) {
        db.close();
        return fail(QStringLiteral("cannot prepare the archive %1: %2")
                        .arg(location.displayText(), why.trimmed()));
    }
    error.clear();
    return true;
}

Archive::Outcome Archive::addFile(const QString &path)
{
    return addInTransaction([this, &path] { return addFileUnlocked(path); });
}

Archive::Outcome Archive::addFileBytes(const QString &path, const QByteArray &bytes)
{
    return addInTransaction([this, &path, &bytes] {
        return addBytes(canonicalPath(path), bytes, bytes.size(),
                        QFileInfo(path).lastModified().toMSecsSinceEpoch());
    });
}

Archive::Outcome Archive::addInTransaction(const std::function<Outcome()> &add)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    for (int attempt = 1;; ++attempt) {
        QString why;
        if (!archiveschema::beginWrite(db, &why)) {
            fail(why);
            return {Outcome::Failed, QString(), error};
        }
        retryable = false;
        const Outcome outcome = add();
        if (outcome.kind != Outcome::Failed && db.commit())
            return outcome;
        db.rollback();
        if (!retryable || attempt == writeAttempts)
            return {Outcome::Failed, outcome.sha256,
                    outcome.reason.isEmpty() ? error : outcome.reason};
    }
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
    LoadedRecording recording = RecordingReader::readBytes(bytes);
    if (!recording.ok())
        return {Outcome::Skipped, QString(), recordingStatusText(recording.status),
                recording.status};
    recording.sha256 = RecordingAnalysis::fingerprint(bytes);

    ArchiveEntry entry = ArchiveEntry::describe(recording);
    entry.addedAt = QDateTime::currentDateTimeUtc();
    entry.addedBy = computer;
    // Another computer may add the same content at this moment: the insert
    // that finds it there does nothing, and the content is known.
    bool isNew = false;
    if (!insertEntry(entry, bytes, &isNew))
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

bool Archive::insertEntry(const ArchiveEntry &e, const QByteArray &bytes, bool *isNew)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral(
        "INSERT INTO recordings (sha256, model, serial, name, note, start_time, stop_time,"
        " interval_s, samples, temp_unit, has_humidity, alarm, out_of_range, mkt, time_above,"
        " time_below, temp_min, temp_max, temp_mean, hum_min, hum_max, hum_mean, added_at,"
        " added_by, content, expected_samples) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
        " ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (sha256) DO NOTHING"));
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
    if (!q.exec())
        return failWith(q);
    *isNew = q.numRowsAffected() > 0;
    return true;
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
    return q.exec() || failWith(q);
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
        QVector<Outcome> outcomes;
        bool ok = false;
        for (int attempt = 1; !ok; ++attempt) {
            QString why;
            if (!archiveschema::beginWrite(db, &why))
                return fail(why);
            retryable = false;
            outcomes.clear();
            for (const QString &path : batch) {
                outcomes << addFileUnlocked(path);
                if (outcomes.last().kind == Outcome::Failed)
                    break;
            }
            ok = outcomes.last().kind != Outcome::Failed && db.commit();
            if (!ok && retryable && attempt < writeAttempts)
                db.rollback();
            else
                break;
        }
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

QString Archive::whereClause(const ArchiveFilter &filter, bool sqlite, QVariantList *values)
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
        const QString pattern = likePattern(filter.text);
        // SQLite's LIKE ignores the case of A to Z itself; only other letters
        // need every row lowered.
        const bool ascii = std::all_of(pattern.cbegin(), pattern.cend(),
                                       [](QChar c) { return c.unicode() < 0x80; });
        sql += QLatin1String(sqlite && ascii
                                 ? " AND (r.name LIKE ? ESCAPE '\\' OR r.note LIKE ? ESCAPE '\\'"
                                   " OR r.serial LIKE ? ESCAPE '\\')"
                                 : " AND (LOWER(r.name) LIKE ? ESCAPE '\\' OR LOWER(r.note) LIKE ?"
                                   " ESCAPE '\\' OR LOWER(r.serial) LIKE ? ESCAPE '\\')");
        *values << pattern << pattern << pattern;
    }
    return sql;
}

bool Archive::readSigned(QHash<QString, QString> *signedAs)
{
    error.clear();
    *signedAs = signedMeanings();
    return error.isEmpty();
}

QString Archive::unsignedClause(const ArchiveFilter &filter, const QHash<QString, QString> &signedAs,
                                QVariantList *values)
{
    if (!filter.unsignedOnly)
        return {};
    QStringList marks;
    for (auto it = signedAs.cbegin(); it != signedAs.cend(); ++it) {
        if (it.value() != review::revokeMeaning) {
            marks << QStringLiteral("?");
            *values << it.key();
        }
    }
    return marks.isEmpty() ? QString()
                           : QStringLiteral(" AND r.sha256 NOT IN (%1)").arg(marks.join(u','));
}

int Archive::count(const ArchiveFilter &filter)
{
    error.clear();
    QVariantList values;
    QHash<QString, QString> signedAs;
    if (filter.unsignedOnly && !readSigned(&signedAs))
        return -1;
    // One statement each: the clauses append their values in the order the placeholders stand.
    const QString conditions = whereClause(filter, !where.isTeamArchive(), &values);
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM recordings r") + conditions +
                        unsignedClause(filter, signedAs, &values);
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
    QHash<QString, QString> signedAs;
    if (!readSigned(&signedAs))
        return {};
    QString sql = QStringLiteral("SELECT %1, l.path FROM recordings r LEFT JOIN locations l"
                                 " ON l.sha256 = r.sha256 AND l.host = ?")
                      .arg(QLatin1String(ArchiveEntry::columns));
    // One statement each: the clauses append their values in the order the placeholders stand.
    sql += whereClause(filter, !where.isTeamArchive(), &values);
    sql += unsignedClause(filter, signedAs, &values);
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
    for (ArchiveEntry &entry : entries) {
        entry.fileGone = entry.path.isEmpty() && !entry.hasContent;
        entry.signedAs = signedAs.value(entry.sha256);
    }
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
    // Bytes are only handed out under the key they hash to: a changed file or
    // a replaced stored content must not pass as the recording it names.
    bool &mismatch = mismatched;
    mismatch = false;
    QByteArray bytes;
    if (!found.path.isEmpty() &&
        RecordingFile::readAll(found.path, &bytes) == RecordingStatus::Loaded) {
        if (RecordingAnalysis::fingerprint(bytes) == found.sha256)
            return bytes;
        mismatch = true;
    }
    if (found.hasContent) {
        QSqlQuery q(QSqlDatabase::database(connectionName, false));
        q.prepare(QStringLiteral("SELECT content FROM recordings WHERE sha256 = ?"));
        q.addBindValue(found.sha256);
        if (!q.exec() || !q.next()) {
            fail(q.lastError().text());
            return QByteArray();
        }
        bytes = q.value(0).toByteArray();
        if (RecordingAnalysis::fingerprint(bytes) == found.sha256)
            return bytes;
        mismatch = true;
    }
    if (mismatch)
        fail(QStringLiteral("the bytes of recording %1 do not match its fingerprint")
                 .arg(found.sha256));
    else
        fail(QStringLiteral("the file of recording %1 is not on this computer").arg(found.sha256));
    return QByteArray();
}

LoadedRecording Archive::parse(QByteArray bytes, const QString &sha256)
{
    if (bytes.isEmpty())
        return LoadedRecording();
    LoadedRecording recording = RecordingReader::readBytes(bytes);
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
        recording.sha256 = sha256;
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

QStringList Archive::disagreements(const ArchiveEntry &stored, const ArchiveEntry &computed)
{
    const auto same = [](const std::optional<double> &a, const std::optional<double> &b) {
        return a.has_value() == b.has_value() &&
               (!a || std::abs(*a - *b) <= 1e-9 * std::max(1.0, std::abs(*a)));
    };
    const struct {
        const char *column;
        bool agrees;
    } columns[] = {
        {"model", stored.model == computed.model},
        {"serial", stored.serial == computed.serial},
        {"name", stored.name == computed.name},
        {"note", stored.note == computed.note},
        {"start_time", stored.start == computed.start},
        {"stop_time", stored.stop == computed.stop},
        {"interval_s", stored.intervalSeconds == computed.intervalSeconds},
        {"samples", stored.samples == computed.samples},
        // Entries of older programs carry no expected count and read as complete.
        {"expected_samples",
         stored.expectedSamples == 0 || stored.expectedSamples == computed.expectedSamples},
        {"temp_unit", stored.tempUnit == computed.tempUnit},
        {"has_humidity", stored.hasHumidity == computed.hasHumidity},
        {"alarm", stored.alarm == computed.alarm},
        {"out_of_range", stored.outOfRange == computed.outOfRange},
        {"mkt", same(stored.mktCelsius, computed.mktCelsius)},
        {"time_above", stored.timeAboveSeconds == computed.timeAboveSeconds},
        {"time_below", stored.timeBelowSeconds == computed.timeBelowSeconds},
        {"temp_min", same(stored.temperatureMin, computed.temperatureMin)},
        {"temp_max", same(stored.temperatureMax, computed.temperatureMax)},
        {"temp_mean", same(stored.temperatureMean, computed.temperatureMean)},
        {"hum_min", same(stored.humidityMin, computed.humidityMin)},
        {"hum_max", same(stored.humidityMax, computed.humidityMax)},
        {"hum_mean", same(stored.humidityMean, computed.humidityMean)},
    };
    QStringList names;
    for (const auto &c : columns) {
        if (!c.agrees)
            names << QLatin1String(c.column);
    }
    return names;
}

void Archive::judgeBytes(const ArchiveEntry &stored, const QByteArray &bytes, const QString &path,
                         QVector<Problem> *problems)
{
    LoadedRecording recording = RecordingReader::readBytes(bytes);
    if (!recording.ok()) {
        problems->append({stored.sha256, path, recordingStatusText(recording.status)});
        return;
    }
    recording.sha256 = stored.sha256;
    const QStringList differ = disagreements(stored, ArchiveEntry::describe(recording));
    if (!differ.isEmpty())
        problems->append({stored.sha256, path,
                          QStringLiteral("the archive's figures disagree with the recording: %1")
                              .arg(differ.join(QLatin1String(", ")))});
    if (!recording.complete())
        problems->append({stored.sha256, path,
                          incompleteText(recording.samples.size(), recording.expectedSamples)});
}

bool Archive::describeFromBytes(const ArchiveEntry &entry, ArchiveEntry *described)
{
    LoadedRecording recording = parse(bytesOf(entry), entry.sha256);
    if (!recording.ok())
        return false;
    recording.sha256 = entry.sha256;
    *described = ArchiveEntry::describe(recording);
    return true;
}

QVector<Archive::Problem> Archive::check()
{
    QVector<Problem> problems;
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    const auto failed = [&](const QSqlQuery &q) {
        fail(q.lastError().text());
        problems.append({QString(), QString(), error});
        return problems;
    };
    if (!where.isTeamArchive()) {
        // A damaged page would otherwise read as missing rows.
        QSqlQuery integrity(db);
        if (!integrity.exec(QStringLiteral("PRAGMA quick_check")))
            return failed(integrity);
        if (integrity.next() && integrity.value(0).toString() != QLatin1String("ok")) {
            problems.append({QString(), QString(),
                             QStringLiteral("the archive file is damaged: %1")
                                 .arg(integrity.value(0).toString())});
            return problems;
        }
    }
    // Not forward-only: the stored contents are read while it is open.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT %1, l.path FROM recordings r"
                             " LEFT JOIN locations l ON l.sha256 = r.sha256 AND l.host = ?"
                             " ORDER BY r.sha256, l.path")
                  .arg(QLatin1String(ArchiveEntry::columns)));
    q.addBindValue(computer);
    if (!q.exec())
        return failed(q);

    QSet<QString> archived;
    QSet<QString> places;
    QSet<QString> folders;
    ArchiveEntry current;
    QStringList paths;
    const auto judge = [&] {
        if (current.sha256.isEmpty())
            return;
        QByteArray verified;
        for (const QString &path : qAsConst(paths)) {
            QByteArray bytes;
            const RecordingStatus read = RecordingFile::readAll(path, &bytes);
            if (read == RecordingStatus::CannotOpen)
                problems.append({current.sha256, path, QStringLiteral("the file is missing")});
            else if (read != RecordingStatus::Loaded)
                problems.append({current.sha256, path, recordingStatusText(read)});
            else if (RecordingAnalysis::fingerprint(bytes) != current.sha256)
                problems.append({current.sha256, path, QStringLiteral("the file has changed")});
            else if (verified.isEmpty())
                judgeBytes(current, verified = bytes, path, &problems);
        }
        if (current.hasContent) {
            QSqlQuery content(db);
            content.prepare(QStringLiteral("SELECT content FROM recordings WHERE sha256 = ?"));
            content.addBindValue(current.sha256);
            if (!content.exec() || !content.next()) {
                failed(content);
                return;
            }
            const QByteArray bytes = content.value(0).toByteArray();
            if (RecordingAnalysis::fingerprint(bytes) != current.sha256)
                problems.append({current.sha256, QString(),
                                 QStringLiteral("the stored content does not match its fingerprint")});
            else if (verified.isEmpty())
                judgeBytes(current, bytes, QString(), &problems);
        } else if (paths.isEmpty()) {
            problems.append({current.sha256, QString(), QStringLiteral("no file on this computer")});
        }
    };
    while (q.next()) {
        const QString sha256 = q.value(0).toString();
        if (sha256 != current.sha256) {
            judge();
            current = ArchiveEntry::fromRow(q);
            paths.clear();
            archived.insert(sha256);
        }
        const QString path = q.value(26).toString();
        if (!path.isEmpty()) {
            paths << path;
            places.insert(path);
            folders.insert(QFileInfo(path).absolutePath());
        }
    }
    if (q.lastError().isValid())
        return failed(q);
    judge();
    checkPlaces(archived, places, folders, &problems);
    return problems;
}

void Archive::checkPlaces(const QSet<QString> &archived, const QSet<QString> &places,
                          const QSet<QString> &folders, QVector<Problem> *problems)
{
    // A place whose entry was deleted under it (only possible with the
    // references switched off, but cheap to ask).
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral("SELECT l.sha256, l.path FROM locations l"
                             " LEFT JOIN recordings r ON r.sha256 = l.sha256"
                             " WHERE l.host = ? AND r.sha256 IS NULL ORDER BY l.path"));
    q.addBindValue(computer);
    if (!q.exec()) {
        fail(q.lastError().text());
        problems->append({QString(), QString(), error});
        return;
    }
    while (q.next())
        problems->append({q.value(0).toString(), q.value(1).toString(),
                          QStringLiteral("the archive holds no entry for this place")});
    // A recording in one of this computer's archived folders whose content has
    // no entry: its entry was deleted, or it was never imported.
    for (const QString &folder : folders) {
        for (const RecordingFolder::Entry &listed : RecordingFolder::list(folder)) {
            const QString path = canonicalPath(listed.path);
            if (!listed.decodable || places.contains(path))
                continue;
            QByteArray bytes;
            if (RecordingFile::readAll(path, &bytes) != RecordingStatus::Loaded)
                continue;
            // Files the import skipped as no recording never had an entry.
            if (!RecordingReader::readBytes(bytes).ok())
                continue;
            const QString sha256 = RecordingAnalysis::fingerprint(bytes);
            if (!archived.contains(sha256))
                problems->append({sha256, path, QStringLiteral("the recording has no entry in the archive")});
        }
    }
}
