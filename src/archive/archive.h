// SPDX-License-Identifier: GPL-3.0-or-later
// Archive: the index of every downloaded recording, on SQLite or a shared PostgreSQL server.
#pragma once

#include "archive/archiveconnection.h"
#include "archive/archiveentry.h"
#include "archive/archivelocation.h"
#include "archive/audittrail.h"
#include "archive/evaluationsettings.h"
#include "archive/reviewsettings.h"
#include "recording/recordingreview.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QSet>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <functional>

// The recording files stay the primary record: the archive can be rebuilt
// from them, and a file that is imported twice is one entry. A team archive
// (PostgreSQL) also holds the files' bytes, so any computer can open them.
//
// One object owns one database connection and must be used on the thread that
// opened it; open another Archive for another thread.
class QSqlQuery;

class Archive
{
public:
    // What adding one file came to.
    struct Outcome {
        enum Kind {
            Added,   // a new entry
            Known,   // the archive held it already (its place here is recorded)
            Skipped, // not a readable recording; `reason` says why
            Failed,  // the database refused it; `reason` says why
        };
        Kind kind = Failed;
        QString sha256;
        QString reason;
        // Why a file was skipped: the reader's verdict on it.
        RecordingStatus status = RecordingStatus::Loaded;
        // Of a file read: the samples it holds and those its header promises.
        int samples = 0;
        int expectedSamples = 0;
    };
    // The counts of a folder import.
    struct ImportSummary {
        int added = 0;
        int known = 0;
        int skipped = 0;
        int failed = 0;
    };
    // One entry whose file is not what the archive recorded.
    struct Problem {
        QString sha256;
        QString path;
        QString reason;
    };

    Archive();
    ~Archive();
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    // Connects and brings the schema up to date; false with errorText() when
    // the database cannot be opened, reached or migrated.
    bool open(const ArchiveLocation &location);
    bool isOpen() const;
    // How the open connection is secured.
    ArchiveSecurity security() const;
    const ArchiveLocation &location() const { return where; }
    QString errorText() const { return error; }

    // The name under which this computer records where its files lie;
    // the host name by default.
    void setComputerName(const QString &name) { computer = name; }
    QString computerName() const { return computer; }

    // Adds the recording file at `path`, in a transaction of its own.
    Outcome addFile(const QString &path);
    // Adds the recording file at `path` as addFile() does, from `bytes`, its
    // content already in memory (a fresh download), without reading it back.
    Outcome addFileBytes(const QString &path, const QByteArray &bytes);
    // Adds every recording file (*.data) of `folder`, a batch of files per
    // transaction. A file whose place, size and modification time the archive
    // knows is not read again; an entry whose file left the folder keeps its
    // entry but loses its place. `progress` hears of every file not known before.
    ImportSummary importFolder(const QString &folder,
                               const std::function<void(const QString &, const Outcome &)>
                                   &progress = {});

    // Matching entries, newest first (by their last sample), at most `filter.limit`.
    QVector<ArchiveEntry> find(const ArchiveFilter &filter);
    // How many entries match, whatever the limit; -1 with errorText() on a failure.
    int count(const ArchiveFilter &filter);
    // The entry, or one with an empty sha256.
    ArchiveEntry entry(const QString &sha256);
    // The file's bytes: from its place on this computer, else from a team archive.
    // Empty with errorText() when neither has them.
    QByteArray fileBytes(const QString &sha256);
    // The last fileBytes(), load() or history() failed because bytes did not
    // match their fingerprint.
    bool bytesMismatched() const { return mismatched; }
    // Reads the recording from fileBytes().
    LoadedRecording load(const QString &sha256);
    // The samples of every recording of the logger `serial`, merged in time order.
    // Not ok() with errorText() when it has none or one cannot be read.
    LoadedRecording history(const QString &serial);
    // Every entry's file on this computer and its stored content (team archive)
    // hashed and compared with its fingerprint, the entry's figures recomputed
    // from the bytes, and this computer's archived folders searched for
    // recordings that lost their entry.
    QVector<Problem> check();
    // The entry as its own bytes describe it, from fileBytes(): false when no
    // bytes that hash to its key are at hand. Columns that disagreements()
    // finds between the two are not to be trusted.
    bool describeFromBytes(const ArchiveEntry &entry, ArchiveEntry *described);
    // The columns of `stored` whose value differs from `computed` (figures
    // described from the bytes).
    static QStringList disagreements(const ArchiveEntry &stored, const ArchiveEntry &computed);
    // The evaluation chosen for the logger `serial`; not isSet() when none is
    // stored (the recording's own limits apply) or with errorText() on a failure.
    EvaluationSettings evaluationSettings(const QString &serial);
    // Stores `settings` for its serial, replacing an earlier choice; false with errorText().
    bool setEvaluationSettings(const EvaluationSettings &settings);
    // Forgets the choice for `serial`, so its recordings go back to their own limits.
    bool clearEvaluationSettings(const QString &serial);

    // Who acts through this connection, as the audit trail names them: the
    // operating-system account on a local archive, the role that logged in on
    // a team archive.
    QString auditUser();
    // The printed full name of who acts: the account's full name on a local
    // archive, the login role's comment on a team archive; empty without one.
    QString printedName();
    // Appends `entry` (its time, kind, fingerprint, serial, details and
    // reason set) as the trail's next entry, filling in its seq, user,
    // computer, prev and hash. False with errorText() when it cannot.
    bool appendAudit(AuditEntry &entry);
    // The matching entries of the trail, in its order.
    QVector<AuditEntry> auditEntries(const AuditFilter &filter);
    // The newest entry; false with errorText() when the trail cannot be read.
    bool auditHead(AuditHead *head);
    // The hash of entry `seq`, or an empty text when there is none (or with
    // errorText() when the trail cannot be read).
    QString auditHash(qint64 seq);
    // Recomputes every entry's hash and link, in the trail's order, and checks
    // that each of `pinned` (entries a report or this computer saw) is still
    // there with the same hash.
    AuditVerdict verifyAudit(const QVector<AuditHead> &pinned = {});

    // The comments and signatures of the recording `sha256`, each signature's
    // meaning titled as the archive names it; false with errorText().
    bool review(const QString &sha256, RecordingReview *review);
    // The texts a comment's reason or corrective action is chosen from, in order.
    QVector<ReviewChoice> reviewChoices(ReviewChoice::List list);
    // Replaces a list (only the archive's owner may); false with errorText().
    bool setReviewChoices(ReviewChoice::List list, const QVector<ReviewChoice> &choices);
    // The meanings a signature can have, in order.
    QVector<SignatureMeaning> signatureMeanings();
    // Replaces them (only the archive's owner may); false with errorText().
    bool setSignatureMeanings(const QVector<SignatureMeaning> &meanings);
    // Whether the login acting here may sign only the meanings allowed to
    // readers: a member of hygra_reader that is no operator or owner.
    bool actsAsReader();
    // The meaning of each signed recording's newest signature ("revoke" when
    // that withdrew one), by fingerprint, into `signedAs`; false with errorText().
    bool readSigned(QHash<QString, QString> *signedAs);

private:
    // The meaning of each signed recording's newest signature, by fingerprint.
    QHash<QString, QString> signedMeanings();
    // " AND …" leaving out the recordings a signature stands on, when the
    // filter asks for unsigned ones only; appends their fingerprints.
    static QString unsignedClause(const ArchiveFilter &filter,
                                  const QHash<QString, QString> &signedAs, QVariantList *values);
    // In one write transaction: `clear` with its values, then `insert` with each row's.
    bool replaceRows(const QString &clear, const QVariantList &clearValues, const QString &insert,
                     const QVector<QVariantList> &rows);
    // Calls `visit` with each entry's stored fields and hash in the trail's
    // order until it returns false; false with `error` when the trail cannot
    // be read (or without when `visit` stopped).
    bool readAuditRows(const std::function<bool(const AuditEntryText &, const QByteArray &)> &visit,
                       QString *error);
    Outcome addBytes(const QString &path, const QByteArray &bytes, qint64 size, qint64 mtime);
    // Runs `add` in a write transaction, again while the database asks to retry.
    Outcome addInTransaction(const std::function<Outcome()> &add);
    // Sets `isNew` false when the archive held the content already.
    bool insertEntry(const ArchiveEntry &entry, const QByteArray &bytes, bool *isNew);
    bool recordPlace(const QString &path, const QString &sha256, qint64 size, qint64 mtime);
    Outcome addFileUnlocked(const QString &path);
    // The file's bytes of an entry found on this connection; empty with errorText().
    QByteArray bytesOf(const ArchiveEntry &entry);
    // Reads a recording from its bytes; not ok() with errorText() when it is none.
    LoadedRecording parse(QByteArray bytes, const QString &sha256);
    bool fail(const QString &text);
    // fail() with the query's error, noting whether trying again may succeed.
    bool failWith(const QSqlQuery &query);
    // Names what the verified `bytes` of `stored` show that its columns do not.
    static void judgeBytes(const ArchiveEntry &stored, const QByteArray &bytes, const QString &path,
                           QVector<Problem> *problems);
    void checkPlaces(const QSet<QString> &archived, const QSet<QString> &places,
                     const QSet<QString> &folders, QVector<Problem> *problems);
    // " WHERE …" of the filter's conditions on `recordings r`; appends their values.
    static QString whereClause(const ArchiveFilter &filter, bool sqlite, QVariantList *values);

    ArchiveLocation where;
    QString connectionName;
    QString computer;
    QString error;
    bool mismatched = false;
    bool retryable = false;
    QString auditName;
};
