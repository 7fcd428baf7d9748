// SPDX-License-Identifier: GPL-3.0-or-later
// WindowAudit: turns what the user does in the window into entries of the archive's audit trail.
#pragma once

#include "core/autodownloadsettings.h"
#include "device/loggersession.h"
#include "recording/comparedrecording.h"
#include "recording/loadedrecording.h"

#include <QJsonObject>
#include <QObject>
#include <QStringList>

struct AuditEntry;
struct ConfigWrite;
struct ExportedFile;
class ArchiveKeeper;
class MainWindow;

// Listens to the confirmations of the window's actions (the logger's answers,
// the write's echo, the files written) and hands each entry to the archive
// keeper, which appends it on its own thread. Device entries carry the
// connected logger's serial, entries about a recording its fingerprint.
// Failure reasons are written in English: the trail is read by auditors,
// whatever language the window spoke.
class WindowAudit : public QObject
{
    Q_OBJECT
public:
    WindowAudit(MainWindow *window, ArchiveKeeper *keeper);

    // Asks for the reason of `action` when "Ask for a reason" is on: false when
    // the user cancelled; `reason` stays a null text when none was asked.
    bool askReason(const QString &action, QString *reason);

    void downloaded(const QString &path, const LoadedRecording &recording, bool automatic);
    void downloadFailed(LoggerError error, bool automatic);
    // A report of the automatic download, written (with the file's SHA-256) or not.
    void reportWritten(const QString &format, const QString &path, const QByteArray &sha256,
                       const LoadedRecording &recording);
    void reportFailed(const QString &format, const QString &path, const LoadedRecording &recording);
    void deleted(const QString &path, const LoadedRecording &recording, bool toTrash,
                 const QString &reason);
    void deleteFailed(const QString &path, const LoadedRecording &recording, const QString &reason);
    void renamed(const QString &oldName, const QString &newName, const LoadedRecording &recording,
                 const QString &reason);
    void renameFailed(const QString &oldName, const QString &newName, const QString &reason);
    // A comment or note about a recording (recordingaudit::comment or note).
    void commented(const AuditEntry &entry) { send(entry); }
    // A factory reset was sent, with its reason; its entry follows the logger's answer.
    void resetSent(const QString &reason) { resetReason = reason; }
    // A language command was sent: by the user (`language` "English" or "Chinese"), or by
    // the window itself on connecting (empty), which is no entry.
    void languageSent(const QString &language) { languages.append(language); }
    // The logger went: answers still awaited never come.
    void loggerClosed() { languages.clear(); }

    // The details of the settings-change entries for a change of the automatic download's
    // settings: one {setting: {old, new}} for each value that changed.
    static QVector<QJsonObject> autoDownloadChanges(const AutoDownloadSettings &before,
                                                    const AutoDownloadSettings &after);
    // The text of a logger request's failure.
    static QString errorText(LoggerError error);

private:
    void send(AuditEntry entry, const QString &reason = QString());
    // An entry of `kind` about the connected logger: `kind`, or `kind`-failed with `error`.
    void device(const QString &kind, bool ok, const QString &error, const QJsonObject &details = {},
                const QString &reason = QString());
    void configWritten(const ConfigWrite &write, bool configOk, bool noteOk);
    void writeFailed(int type, int opt);
    void exported(const ExportedFile &file, const LoadedRecording &recording,
                  const QVector<ComparedRecording> &compared);
    void setting(const QString &name, const QJsonValue &before, const QJsonValue &after);
    void languageResult(bool ok);
    QString serial() const;

    MainWindow *window;
    ArchiveKeeper *keeper;
    QString resetReason;
    QStringList languages;
    // The last write sent still awaits the entry of its configuration, of its note.
    bool configPending = false;
    bool notePending = false;
};
