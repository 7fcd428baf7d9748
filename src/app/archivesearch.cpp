// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own connection to the archive.
#include "app/archivesearch.h"

#include "archive/archive.h"
#include "archive/reviewsigner.h"
#include "recording/recordingfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

ArchiveSearch::ArchiveSearch(const ArchiveLocation &location) : where(location) {}

ArchiveSearch::~ArchiveSearch() = default;

bool ArchiveSearch::available()
{
    if (!tried) {
        tried = true;
        archive = std::make_unique<Archive>();
        usable = archive->open(where);
        // Asked again once the window has the password the server wants.
        tried = usable || !archiveconnection::wantsPassword(archive->errorText());
    }
    return usable;
}

ArchiveSearch::Result ArchiveSearch::find(ArchiveFilter filter, int limit)
{
    Result result;
    if (!available())
        return result;
    result.available = true;
    filter.limit = limit;
    result.entries = archive->find(filter);
    // Only a full page needs counting: fewer entries than the limit are all.
    result.total = result.entries.size() < limit ? result.entries.size() : archive->count(filter);
    // Titles only when an entry needs one: the meanings are one more query.
    const bool anySigned =
        std::any_of(result.entries.cbegin(), result.entries.cend(), [](const ArchiveEntry &entry) {
            return !entry.signedAs.isEmpty() && entry.signedAs != review::revokeMeaning;
        });
    if (anySigned)
        result.meanings = meaningsByKey();
    return result;
}

QHash<QString, QString> ArchiveSearch::standingSignatures()
{
    QHash<QString, QString> signedAs;
    if (!available() || !archive->readSigned(&signedAs))
        return {};
    for (auto it = signedAs.begin(); it != signedAs.end();) {
        if (it.value() == review::revokeMeaning)
            it = signedAs.erase(it);
        else
            ++it;
    }
    return signedAs;
}

ArchiveSearch::Meanings ArchiveSearch::meaningsByKey()
{
    Meanings meanings;
    for (const SignatureMeaning &meaning : signatureMeanings())
        meanings.insert(meaning.meaning, meaning);
    return meanings;
}

bool ArchiveSearch::verify(const ArchiveEntry &entry)
{
    if (!available())
        return false;
    auto known = described.constFind(entry.sha256);
    if (known == described.constEnd()) {
        ArchiveEntry fromBytes;
        if (!archive->describeFromBytes(entry, &fromBytes))
            return false;
        known = described.insert(entry.sha256, fromBytes);
    }
    return Archive::disagreements(entry, *known).isEmpty();
}

std::optional<ChosenEvaluation> ArchiveSearch::chosenEvaluation(const QString &serial)
{
    if (serial.isEmpty() || !available())
        return std::nullopt;
    const EvaluationSettings stored = archive->evaluationSettings(serial);
    if (!stored.isSet())
        return std::nullopt;
    return ChosenEvaluation{stored.low, stored.high, stored.activationEnergyKJ};
}

bool ArchiveSearch::rememberEvaluation(const QString &serial,
                                       const std::optional<ChosenEvaluation> &evaluation,
                                       QString *why)
{
    if (!available()) {
        *why = archive->errorText();
        return false;
    }
    bool ok = false;
    if (evaluation) {
        EvaluationSettings settings;
        settings.serial = serial;
        settings.low = evaluation->low;
        settings.high = evaluation->high;
        settings.activationEnergyKJ = evaluation->activationEnergyKJ;
        settings.changedAt = QDateTime::currentSecsSinceEpoch();
        ok = archive->setEvaluationSettings(settings);
    } else {
        ok = archive->clearEvaluationSettings(serial);
    }
    if (!ok)
        *why = archive->errorText();
    return ok;
}

QString ArchiveSearch::cachedCopy(const QString &sha256, const QString &baseName,
                                  const QString &cacheFolder)
{
    if (!available())
        return QString();
    // One folder per fingerprint: two recordings of the same name never meet.
    const QString folder = cacheFolder + QLatin1Char('/') + sha256;
    const QString path = folder + QLatin1Char('/') + baseName + QStringLiteral(".data");
    // A copy is used again only while it still hashes to its key.
    QByteArray cached;
    if (RecordingFile::readAll(path, &cached) == RecordingStatus::Loaded &&
        RecordingAnalysis::fingerprint(cached) == sha256)
        return path;
    const QByteArray bytes = archive->fileBytes(sha256);
    if (bytes.isEmpty() || !QDir().mkpath(folder))
        return QString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QString();
    return path;
}

LoadedRecording ArchiveSearch::history(const QString &serial, int *downloads)
{
    *downloads = 0;
    if (!available())
        return LoadedRecording();
    LoadedRecording merged = archive->history(serial);
    ArchiveFilter ofLogger;
    ofLogger.serial = serial;
    *downloads = merged.ok() ? std::max(archive->count(ofLogger), 0) : 0;
    return merged;
}

RecordingReview ArchiveSearch::review(const QString &sha256)
{
    RecordingReview found;
    if (sha256.isEmpty() || !available() || !archive->review(sha256, &found))
        return RecordingReview();
    return found;
}

QVector<ReviewChoice> ArchiveSearch::reviewChoices(ReviewChoice::List list)
{
    return available() ? archive->reviewChoices(list) : QVector<ReviewChoice>();
}

QVector<SignatureMeaning> ArchiveSearch::signatureMeanings()
{
    return available() ? archive->signatureMeanings() : QVector<SignatureMeaning>();
}

bool ArchiveSearch::actsAsReader()
{
    return available() && archive->actsAsReader();
}

QString ArchiveSearch::signerText()
{
    if (!available())
        return QString();
    ReviewSigner signer(*archive);
    const QString login = signer.login();
    const QString name = signer.printedName();
    return name == login ? login : QStringLiteral("%1 (%2)").arg(name, login);
}
