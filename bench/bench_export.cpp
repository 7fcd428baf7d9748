// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the exports: PDF report, spreadsheet and workbook of a full logger memory.
#include "benchregistry.h"
#include "core/utils.h"
#include "export/pdfreport.h"
#include "export/pdfsignature.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "recording/loadedrecording.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace
{
constexpr int runs = 5;
constexpr int sampleCount = 64512;

// A humidity recording with a slow wave, a few gaps and alarm excursions.
LoadedRecording fullRecording()
{
    LoadedRecording r;
    r.status = RecordingStatus::Loaded;
    ReadDevInfoJson &info = r.recording;
    info.devType = 1;
    info.devName = QStringLiteral("bench");
    info.recordInterval = 12;
    info.recordNum = sampleCount;
    info.startRecordTime = QDateTime(QDate(2024, 1, 1), QTime(0, 0));
    info.stopRecordTime = info.startRecordTime.addSecs(qint64(sampleCount - 1) * 60);
    info.maxTemp = 3500;
    info.minTemp = -500;
    info.th1.isOpen = true;
    info.th1.alertValue = 3000;
    info.tl1.isOpen = true;
    info.tl1.alertValue = 0;
    r.interval = 60;
    r.limits = AlarmLimits::fromRecording(info);
    const qint64 base = wallClockSecs(info.startRecordTime);
    r.samples.resize(sampleCount);
    for (int i = 0; i < sampleCount; ++i) {
        SamplePoint &s = r.samples[i];
        s.time = base + qint64(i) * r.interval;
        s.temperature = i % 997 == 0 ? -1000 : float(15 + 18 * std::sin(i / 500.0));
        s.humidity = float(50 + 30 * std::cos(i / 700.0));
        s.alarmState = r.limits.classify(s.temperature, s.humidity, true);
        s.isAlarm = s.alarmState != 0;
    }
    info.shownDuration = qint64(sampleCount - 1) * r.interval;
    info.totalDuration = info.shownDuration;
    return r;
}

// The straightforward way to draw the data pages, for comparison: one
// QPainter::drawText per cell with QDateTime texts.
void writeDataPagesWithDrawText(const QString &path, const LoadedRecording &r)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&writer);
    QFont font = p.font();
    font.setFamilies({QStringLiteral("思源黑体 CN"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(6);
    p.setFont(font);
    for (int i = 0; i < r.samples.size(); ++i) {
        const int j = i % 576;
        if (j == 0 && i > 0)
            writer.newPage();
        const SamplePoint &s = r.samples[i];
        const int x0 = 36 + 87 * (j / 96);
        const int y = 127 + 7 * (j % 96);
        const QDateTime at = QDateTime::fromSecsSinceEpoch(s.time, Qt::UTC);
        p.setPen(s.alarmState == 1 ? Qt::blue : s.alarmState == 2 ? Qt::red : Qt::black);
        p.drawText(QRect(x0, y, 26, 7), Qt::AlignCenter, at.toString(QStringLiteral("yy/MM/dd")));
        p.drawText(QRect(x0 + 27, y, 24, 7), Qt::AlignCenter,
                   at.toString(QStringLiteral("hh:mm:ss")));
        p.drawText(QRect(x0 + 52, y, 18, 7), Qt::AlignCenter,
                   QString::number(s.temperature, 'f', 1));
        p.drawText(QRect(x0 + 70, y, 18, 7), Qt::AlignCenter, QString::number(s.humidity, 'f', 1));
    }
}

// The straightforward spreadsheet, for comparison: QDateTime texts per line.
void writeSpreadsheetWithQDateTime(const QString &path, const LoadedRecording &r)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(spreadsheetHeader(true, 0).toLocal8Bit());
    for (const SamplePoint &s : r.samples) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(s.time, Qt::UTC);
        const QString line = at.toString(QStringLiteral("yyyy/MM/dd,hh:mm:ss,")) +
                             QString::number(s.temperature, 'f', 1) + QLatin1Char(',') +
                             QString::number(s.humidity, 'f', 1) + QLatin1Char('\n');
        file.write(line.toLocal8Bit());
    }
}

template <typename Work> double medianMs(int count, Work work)
{
    QVector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

void exportFigures(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const LoadedRecording r = fullRecording();
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const QString csv = dir.filePath(QStringLiteral("samples.csv"));
    const QString xlsx = dir.filePath(QStringLiteral("samples.xlsx"));
    const int pages = dataPageCount(r.samples.size());

    print(QStringLiteral("pdf_64512_ms"), medianMs(runs, [&] { writePdfReport(pdf, r, pages, false); }),
          QStringLiteral("ms"));
    print(QStringLiteral("pdf_64512_drawtext_baseline_ms"),
          medianMs(1, [&] { writeDataPagesWithDrawText(pdf, r); }), QStringLiteral("ms"));
    print(QStringLiteral("csv_64512_ms"), medianMs(runs, [&] { writeSpreadsheet(csv, r); }),
          QStringLiteral("ms"));
    print(QStringLiteral("csv_64512_qdatetime_baseline_ms"),
          medianMs(runs, [&] { writeSpreadsheetWithQDateTime(csv, r); }), QStringLiteral("ms"));
    print(QStringLiteral("xlsx_64512_ms"),
          medianMs(runs, [&] { writeXlsxWorkbook(xlsx, r, false); }), QStringLiteral("ms"));
}

// A throwaway self-signed RSA-2048 key and certificate in `dir`/signer.p12
// under the password "bench", made with the openssl command; false without it.
bool makeSigningKey(const QString &dir)
{
    const QStringList steps[] = {
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "signer.key", "-out",
         "signer.pem", "-days", "2", "-subj", "/CN=Bench Signer"},
        {"pkcs12", "-export", "-inkey", "signer.key", "-in", "signer.pem", "-out", "signer.p12",
         "-passout", "pass:bench"},
    };
    for (const QStringList &step : steps) {
        QProcess openssl;
        openssl.setWorkingDirectory(dir);
        openssl.start(QStringLiteral("openssl"), step);
        if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit ||
            openssl.exitCode() != 0)
            return false;
    }
    return true;
}

// Signing the full report as `hygra-cli sign` does once: loading the key
// from the .p12, then signing into a file beside it.
void signingFigures(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const LoadedRecording r = fullRecording();
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const QString signedPdf = dir.filePath(QStringLiteral("signed.pdf"));
    if (!writePdfReport(pdf, r, dataPageCount(r.samples.size()), false) ||
        !makeSigningKey(dir.path()))
        return;
    const QString p12 = dir.filePath(QStringLiteral("signer.p12"));
    print(QStringLiteral("sign_report_ms"), medianMs(runs, [&] {
              SigningKey key;
              loadPkcs12(p12, "bench", &key);
              signPdf(pdf, signedPdf, key);
          }),
          QStringLiteral("ms"));
}

const bool registered = registerFigureGroup("export", &exportFigures);
const bool signingRegistered = registerFigureGroup("signing", &signingFigures);
} // namespace
