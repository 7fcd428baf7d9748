// SPDX-License-Identifier: GPL-3.0-or-later
// ReportCheck: whether a PDF report was made from a recording file, for `hygra-cli verify`.
#include "cli/reportcheck.h"

#include "cli/cliexit.h"
#include "cli/reportpdf.h"
#include "core/utils.h"
#include "export/pdfsignature.h"
#include "export/reportmetadata.h"
#include "recording/recordingsummary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

// The first page's text without white space, which the layout puts between
// pieces of one value as it likes.
QString squeezed(const QString &text)
{
    QString s = text;
    s.remove(QLatin1Char(' '));
    return s;
}

// What the report's first page shows of `recording` and does not: the name of
// the first value missing, empty when all are there.
QString missingOnFirstPage(const QString &page, const LoadedRecording &recording)
{
    const ReadDevInfoJson &info = recording.recording;
    const QString text = squeezed(page);
    const auto shows = [&text](const QString &value) {
        return value.isEmpty() || text.contains(squeezed(value));
    };
    if (!shows(info.sn))
        return QStringLiteral("serial number %1").arg(info.sn);
    const QString start = recordingsummary::timeText(info.startRecordTime);
    if (!shows(start))
        return QStringLiteral("start time %1").arg(start);
    // A stop stored before the start is shown rebuilt from the start and the
    // samples by the window, and as stored by the command line.
    const bool stopAsStored =
        wallClockSecs(info.stopRecordTime) >= wallClockSecs(info.startRecordTime);
    const QString stop = recordingsummary::timeText(info.stopRecordTime);
    if (stopAsStored && !shows(stop))
        return QStringLiteral("stop time %1").arg(stop);
    // The samples the file holds; a number this short could hide in another,
    // so it stands on its own (the overwritten count may follow in brackets).
    const QString count = QString::number(recording.samples.size());
    const QRegularExpression countWord(QStringLiteral("(^|\\s)%1($|\\s|（|\\()").arg(count));
    if (!page.contains(countWord))
        return QStringLiteral("sample count %1").arg(count);
    return QString();
}

// "signed by NAME at TIME", and what the CA file says of it.
QString signatureLine(const PdfSignatureCheck &signature, const QString &caFile)
{
    QString line = QStringLiteral("digitally signed by %1").arg(signature.signer);
    if (signature.signedAt.isValid())
        line += QStringLiteral(" at %1").arg(signature.signedAt.toString(Qt::ISODate));
    if (!caFile.isEmpty())
        line += QStringLiteral("; certificate chains to %1").arg(QDir::toNativeSeparators(caFile));
    return line;
}

} // namespace

ReportCheck ReportCheck::compare(const QString &recordingPath, const LoadedRecording &recording,
                                 const QString &reportPath, const QString &caFile)
{
    const QString recordingName = QDir::toNativeSeparators(recordingPath);
    const QString reportName = QDir::toNativeSeparators(reportPath);
    QFile file(reportPath);
    // Only a regular file: a pipe would leave the check waiting for ever.
    if (!QFileInfo(reportPath).isFile() || !file.open(QIODevice::ReadOnly))
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
    const ReportPdf pdf =
        ReportPdf::read(QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), int(size)));

    const QString altered =
        QStringLiteral("%1 is incomplete, damaged or altered: ").arg(reportName);
    // A signature that does not hold explains whatever else differs, so it is asked first.
    const PdfSignatureCheck signature = checkPdfSignature(reportPath, caFile);
    if (signature.signedPdf && (!signature.intact || !signature.coversWholeFile))
        return failure(ExitReportAltered,
                       altered + QStringLiteral("its digital signature does not hold: %1")
                                     .arg(signature.problem));
    if (pdf.state != ReportPdf::State::Complete)
        return failure(ExitReportAltered,
                       altered + QStringLiteral("its cross-reference table or trailer is broken, "
                                                "as in a file cut short"));
    const QString noFingerprint =
        QStringLiteral("%1 carries no recording fingerprint: it was not written by hygra, or by "
                       "a version that did not record one")
            .arg(reportName);
    if (pdf.packetsInBytes == 0)
        return failure(ExitNoFingerprint, noFingerprint);
    // A second packet would let a reader that searches the bytes, as older
    // versions of this check did, take another file's fingerprint.
    if (pdf.packetsInBytes != 1)
        return failure(ExitReportAltered,
                       altered + QStringLiteral("it holds %1 metadata packets; a report holds "
                                                "one, the document's own")
                                     .arg(pdf.packetsInBytes));
    const std::optional<ReportMetadata> metadata = ReportMetadata::fromXmp(pdf.documentMetadata);
    if (!metadata)
        return failure(ExitNoFingerprint, noFingerprint);
    // The document's metadata might be a compressed stream beside the packet
    // that the bytes show; then the two must say the same.
    if (ReportMetadata::fromXmp(pdf.firstPacket) != metadata)
        return failure(ExitReportAltered,
                       altered + QStringLiteral("its document metadata is not the packet its "
                                                "bytes hold"));
    // The pages are what a reader sees: they must name what the metadata names.
    if (!squeezed(pdf.firstPageText).contains(QStringLiteral("SHA-256:") + metadata->sha256))
        return failure(ExitReportAltered,
                       altered + QStringLiteral("its first page does not show the SHA-256 its "
                                                "metadata names (%1)")
                                     .arg(metadata->sha256));

    QString named = recordingNamed(*metadata);
    if (!named.isEmpty())
        named = QStringLiteral(" (%1)").arg(named);
    const QString &fingerprint = recording.sha256;
    if (metadata->sha256.compare(fingerprint, Qt::CaseInsensitive) != 0)
        return failure(ExitReportMismatch,
                       QStringLiteral("%1%2 was not made from %3\n"
                                      "  report names SHA-256 %4\n"
                                      "  file has     SHA-256 %5")
                           .arg(reportName, named, recordingName, metadata->sha256, fingerprint));
    // The same fingerprint, so the same file: anything else the report states
    // about it that differs was changed after the report was written.
    ReportMetadata expected = ReportMetadata::of(recording);
    expected.sha256 = metadata->sha256;
    if (*metadata != expected)
        return failure(ExitReportAltered,
                       altered + QStringLiteral("its metadata names another logger or time span "
                                                "than %1 holds")
                                     .arg(recordingName));
    const QString missing = missingOnFirstPage(pdf.firstPageText, recording);
    if (!missing.isEmpty())
        return failure(ExitReportAltered,
                       altered + QStringLiteral("its first page does not show the %1 of %2")
                                     .arg(missing, recordingName));
    if (!caFile.isEmpty() && !signature.signedPdf)
        return failure(ExitReportAltered,
                       QStringLiteral("%1 carries no digital signature to check against %2")
                           .arg(reportName, QDir::toNativeSeparators(caFile)));
    if (!caFile.isEmpty() && !signature.chainsToCa)
        return failure(ExitReportAltered,
                       QStringLiteral("%1 is signed by %2, but %3")
                           .arg(reportName, signature.signer, signature.problem));
    ReportCheck check;
    check.exitCode = ExitOk;
    check.text = QStringLiteral("%1 was made from %2%3: SHA-256 %4")
                     .arg(reportName, recordingName, named, fingerprint);
    if (signature.signedPdf)
        check.text += QLatin1Char('\n') + signatureLine(signature, caFile);
    return check;
}
