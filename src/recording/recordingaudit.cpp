// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/recordingaudit.h"

#include "core/lgxdevtype.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace recordingaudit
{
QString sampleTimeText(qint64 wallClockSecs)
{
    return QDateTime::fromSecsSinceEpoch(wallClockSecs, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

AuditEntry about(const QString &kind, const LoadedRecording &recording, const QJsonObject &details)
{
    AuditEntry entry = audit::event(kind, details);
    if (!recording.sha256.isEmpty())
        entry.sha256 = recording.sha256;
    if (!recording.recording.sn.isEmpty())
        entry.serial = recording.recording.sn;
    return entry;
}

AuditEntry download(const QString &path, const LoadedRecording &recording, const QString &kind)
{
    QJsonObject details{
        {QStringLiteral("model"), modelName(recording.recording.devType)},
        {QStringLiteral("serial"), recording.recording.sn},
        {QStringLiteral("file"), QFileInfo(path).fileName()},
        {QStringLiteral("samples"), recording.samples.size()},
    };
    details.insert(QStringLiteral("firstSample"),
                   recording.samples.isEmpty()
                       ? QJsonValue(QJsonValue::Null)
                       : QJsonValue(sampleTimeText(recording.samples.constFirst().time)));
    details.insert(QStringLiteral("lastSample"),
                   recording.samples.isEmpty()
                       ? QJsonValue(QJsonValue::Null)
                       : QJsonValue(sampleTimeText(recording.samples.constLast().time)));
    return about(kind, recording, details);
}

AuditEntry exported(const QString &format, const QString &target, const QByteArray &producedSha256,
                    const LoadedRecording &recording)
{
    return about(QStringLiteral("export"), recording,
                 {{QStringLiteral("format"), format},
                  {QStringLiteral("file"), QFileInfo(target).fileName()},
                  {QStringLiteral("fileSha256"), QString::fromLatin1(producedSha256)}});
}

AuditEntry comment(const LoadedRecording &recording, const QString &excursion,
                   const QString &reason, const QString &action)
{
    const auto nullable = [](const QString &text) {
        return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
    };
    return about(review::commentKind, recording,
                 {{QStringLiteral("excursion"), nullable(excursion)},
                  {QStringLiteral("reason"), reason},
                  {QStringLiteral("action"), nullable(action)}});
}

AuditEntry note(const LoadedRecording &recording, const QString &note)
{
    return about(review::commentKind, recording, {{QStringLiteral("note"), note}});
}

QByteArray fileSha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}
} // namespace recordingaudit
