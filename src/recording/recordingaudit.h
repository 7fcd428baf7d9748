// SPDX-License-Identifier: GPL-3.0-or-later
// The audit entries that name a recording: its download and the files exported from it.
#pragma once

#include "core/auditentry.h"
#include "recording/loadedrecording.h"

namespace recordingaudit
{
// The wall-clock time of a sample as the entries write it: "2026-12-09T08:00:00".
QString sampleTimeText(qint64 wallClockSecs);
// The entry's fingerprint and serial set from `recording`.
AuditEntry about(const QString &kind, const LoadedRecording &recording,
                 const QJsonObject &details = {});
// `download` of the file at `path`: model, serial, file name, sample count,
// first and last sample time.
AuditEntry download(const QString &path, const LoadedRecording &recording,
                    const QString &kind = QStringLiteral("download"));
// `export` of `recording` into `target` as `format` ("pdf", "csv", "xlsx"), with
// the SHA-256 of the file produced.
AuditEntry exported(const QString &format, const QString &target, const QByteArray &producedSha256,
                    const LoadedRecording &recording);
// The `comment` of `recording` with a reason and a corrective action, for the
// excursion starting at `excursion` (sampleTimeText) or, when it is empty,
// for the whole recording.
AuditEntry comment(const LoadedRecording &recording, const QString &excursion,
                   const QString &reason, const QString &action);
// The `comment` of `recording` holding a note typed about it.
AuditEntry note(const LoadedRecording &recording, const QString &note);
// The SHA-256 of the file at `path` in lower-case hex; empty when it cannot be read.
QByteArray fileSha256(const QString &path);
} // namespace recordingaudit
