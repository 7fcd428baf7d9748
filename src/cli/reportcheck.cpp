// SPDX-License-Identifier: GPL-3.0-or-later
// ReportCheck: whether a PDF report was made from a recording file, for `hygra-cli verify`.
#include "cli/reportcheck.h"

#include "cli/cliexit.h"
#include "export/reportmetadata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace
{

ReportCheck failure(int exitCode, const QString &text)
{
    ReportCheck check;
    check.exitCode = exitCode;
    check.text = text;
    return check;
}

// "logger H2B0012345, 2026-03-01T08:00:00 to 2026-03-02T08:00:00", leaving out
// what the report does not name.
QString recordingNamed(const ReportMetadata &metadata)
{
    QStringList parts;
    if (!metadata.serialNumber.isEmpty())
        parts << QStringLiteral("logger %1").arg(metadata.serialNumber);
    if (!metadata.recordingStart.isEmpty() || !metadata.recordingStop.isEmpty())
        parts << QStringLiteral("%1 to %2").arg(metadata.recordingStart, metadata.recordingStop);
    return parts.join(QStringLiteral(", "));
}

} // namespace

ReportCheck ReportCheck::compare(const QString &recordingPath, const QString &fingerprint,
                                 const QString &reportPath)
{
    const QString recordingName = QDir::toNativeSeparators(recordingPath);
    const QString reportName = QDir::toNativeSeparators(reportPath);
    QFile file(reportPath);
    if (QFileInfo(reportPath).isDir() || !file.open(QIODevice::ReadOnly))
        return failure(ExitFileNotReadable, QStringLiteral("cannot read %1").arg(reportName));
    if (file.read(5) != "%PDF-")
        return failure(ExitNoFingerprint, QStringLiteral("%1 is not a PDF file").arg(reportName));
    const qint64 size = file.size();
    if (size > maximumReportSize)
        return failure(ExitNoFingerprint,
                       QStringLiteral("%1 is larger than any report").arg(reportName));
    const uchar *mapped = file.map(0, size);
    if (!mapped)
        return failure(ExitFileNotReadable, QStringLiteral("cannot read %1").arg(reportName));

    const std::optional<ReportMetadata> metadata = ReportMetadata::fromPdf(
        QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), int(size)));
    if (!metadata)
        return failure(ExitNoFingerprint,
                       QStringLiteral("%1 carries no recording fingerprint: it was not written "
                                      "by hygra, or by a version that did not record one")
                           .arg(reportName));

    QString named = recordingNamed(*metadata);
    if (!named.isEmpty())
        named = QStringLiteral(" (%1)").arg(named);
    if (metadata->sha256.compare(fingerprint, Qt::CaseInsensitive) != 0)
        return failure(ExitReportMismatch,
                       QStringLiteral("%1%2 was not made from %3\n"
                                      "  report names SHA-256 %4\n"
                                      "  file has     SHA-256 %5")
                           .arg(reportName, named, recordingName, metadata->sha256, fingerprint));
    ReportCheck check;
    check.exitCode = ExitOk;
    check.text = QStringLiteral("%1 was made from %2%3: SHA-256 %4")
                     .arg(reportName, recordingName, named, fingerprint);
    return check;
}
