// SPDX-License-Identifier: GPL-3.0-or-later
// ArchiveSearch: the window's own connection to the archive, for the search and for opening
// archived recordings.
#pragma once

#include "archive/archiveentry.h"
#include "archive/archivelocation.h"
#include "archive/reviewsettings.h"
#include "recording/recordingreview.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>

class Archive;

// Used on the GUI thread only (the archive's connection belongs to the thread
// that opened it). The connection is opened at the first use and never
// retried: an archive that cannot be reached is reported once by the
// ArchiveKeeper, and the list then simply shows the recordings folder.
class ArchiveSearch
{
public:
    // The meanings a signature can have, by their key, as the archive titles them.
    using Meanings = QHash<QString, SignatureMeaning>;

    // What one search found: the newest entries and how many match in all.
    struct Result {
        QVector<ArchiveEntry> entries;
        int total = 0;
        // False when the archive cannot be used; the list then shows the folder.
        bool available = false;
        // The titles of the entries' signatures; empty when none is signed.
        Meanings meanings;
    };
    // The standing signatures of files in a folder.
    struct FolderSignatures {
        // The meaning key of each signed file's signature, by the file's path.
        QHash<QString, QString> meaningOf;
        Meanings meanings;
    };

    explicit ArchiveSearch(const ArchiveLocation &location);
    ~ArchiveSearch();
    ArchiveSearch(const ArchiveSearch &) = delete;
    ArchiveSearch &operator=(const ArchiveSearch &) = delete;

    // Opens the archive when that was not tried yet; false when it cannot be used.
    bool available();
    // At most `limit` entries, newest first; nothing when the archive is not available.
    Result find(ArchiveFilter filter, int limit);
    // A copy of an archived recording's bytes that the views can open, in
    // `cacheFolder` and named `baseName`.data so that the shown recording
    // carries that name; written once per fingerprint. Empty when the archive
    // does not have the bytes.
    QString cachedCopy(const QString &sha256, const QString &baseName, const QString &cacheFolder);
    // Whether the figures of `entry` that the list shows are those its own
    // bytes give; what the bytes give is kept per fingerprint, which fixes them.
    bool verify(const ArchiveEntry &entry);
    // The evaluation chosen for the logger `serial`; none when it has none
    // (its own limits apply) or the archive cannot be used.
    std::optional<ChosenEvaluation> chosenEvaluation(const QString &serial);
    // Remembers `evaluation` for `serial`, or forgets the choice for
    // std::nullopt; false with the reason in `why`.
    bool rememberEvaluation(const QString &serial, const std::optional<ChosenEvaluation> &evaluation,
                            QString *why);
    // The meaning key of each recording's standing signature (not withdrawn), by
    // fingerprint; empty when none stands or the archive cannot be used.
    QHash<QString, QString> standingSignatures();
    // signatureMeanings() by their key.
    Meanings meaningsByKey();
    // The logger's merged history; not ok() when it cannot be built. Sets
    // `downloads` to the number of recordings it merges.
    LoadedRecording history(const QString &serial, int *downloads);

    // The comments and signatures of the recording `sha256`; an empty review
    // (without its fingerprint) when the archive cannot be used.
    RecordingReview review(const QString &sha256);
    // What a review chooses from, as the archive's owner keeps it; empty
    // when the archive cannot be used.
    QVector<ReviewChoice> reviewChoices(ReviewChoice::List list);
    QVector<SignatureMeaning> signatureMeanings();
    // Whether who acts here may sign only the meanings allowed to readers.
    bool actsAsReader();
    // Who would sign: "Full Name (login)", or the login alone.
    QString signerText();

private:
    ArchiveLocation where;
    std::unique_ptr<Archive> archive;
    bool tried = false;
    bool usable = false;
    QHash<QString, ArchiveEntry> described;
};
