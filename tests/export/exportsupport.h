// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings built in memory and PDF inspection helpers for the export suites.
#pragma once

#include "core/utils.h"
#include "recording/loadedrecording.h"

#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace exporttest
{

// 2023-11-30 16:49:00 on the logger's clock.
inline qint64 firstSampleTime()
{
    return wallClockSecs(QDateTime(QDate(2023, 11, 30), QTime(16, 49, 0)));
}

inline AlertDataJson alarm(bool open, int value, bool raised = false)
{
    AlertDataJson alert;
    alert.isOpen = open;
    alert.alertValue = value;
    alert.isAccumulate = false;
    alert.delayTime = 2;
    alert.alertDuration = 3;
    alert.alertNum = 1;
    alert.isAlertFlag = raised;
    return alert;
}

// Samples every 5 s from firstSampleTime(), temperatures rising by 0.01 °C
// from 20 °C and humidity 50 %RH, classified as the loader does.
inline LoadedRecording recording(int samples, bool withHumidity = true, int tempUnit = 0)
{
    LoadedRecording r;
    r.status = RecordingStatus::Loaded;
    ReadDevInfoJson &info = r.recording;
    info.devName = QStringLiteral("Cold room 3");
    info.sn = QStringLiteral("SN20230001");
    info.id = QStringLiteral("42");
    info.note = QStringLiteral("冷库备注");
    info.devType = 1;
    info.tempUnit = tempUnit;
    info.isContainHum = withHumidity;
    info.recordInterval = 1;
    info.recordNum = samples;
    info.numofReport = samples;
    info.startRecordTime = QDateTime(QDate(2023, 11, 30), QTime(16, 49, 0));
    info.stopRecordTime = info.startRecordTime.addSecs(qint64(qMax(samples - 1, 0)) * 5);
    info.configTime = QDateTime(QDate(2023, 11, 29), QTime(9, 0, 0));
    info.maxTemp = 3000;
    info.minTemp = 1500;
    info.avgTemp = 2250;
    info.maxHumidity = 650;
    info.minHumidity = 400;
    info.avgHumidity = 520;
    info.startOperation = 1;
    info.stopOperation = 4;
    info.th1 = alarm(true, 3000);
    info.th2 = alarm(false, 0);
    info.th3 = alarm(false, 0);
    info.tl1 = alarm(true, -500);
    info.tl2 = alarm(false, 0);
    info.tl3 = alarm(false, 0);
    info.hh = alarm(true, 800);
    info.hl = alarm(false, 0);
    r.interval = 5;
    r.limits = AlarmLimits::fromRecording(info);
    const qint64 base = firstSampleTime();
    r.samples.reserve(samples);
    for (int i = 0; i < samples; ++i) {
        SamplePoint s;
        s.time = base + qint64(i) * r.interval;
        s.temperature = 20 + (i % 1000) / 100.0f;
        s.humidity = 50;
        r.samples.append(s);
    }
    info.shownDuration = samples > 0 ? qint64(samples - 1) * r.interval : 0;
    info.totalDuration = info.shownDuration;
    return r;
}

// A signature entry of a review.
inline ReviewSignature signature(qint64 seq, const QString &login, const QString &name,
                                 const QString &meaning, const QString &comment = QString())
{
    ReviewSignature s;
    s.seq = seq;
    s.hash = QStringLiteral("%1").arg(seq, 64, 10, QLatin1Char('a'));
    s.time = QStringLiteral("2026-12-11T08:%1:03.000Z").arg(seq % 60, 2, 10, QLatin1Char('0'));
    s.login = login;
    s.printedName = name;
    s.meaning = meaning;
    s.comment = comment;
    return s;
}

// A comment on an excursion ("2023-11-30T17:00:00"), the whole recording
// (empty), or a note when `note` is given.
inline ReviewComment comment(qint64 seq, const QString &user, const QString &excursion,
                             const QString &reason, const QString &action,
                             const QString &note = QString())
{
    ReviewComment c;
    c.seq = seq;
    c.time = QStringLiteral("2026-12-10T15:%1:00.000Z").arg(seq % 60, 2, 10, QLatin1Char('0'));
    c.user = user;
    c.excursion = excursion;
    c.reason = reason;
    c.action = action;
    c.note = note;
    return c;
}

// Sets every sample's alarm state from the recording's limits.
inline void classify(LoadedRecording &r)
{
    for (SamplePoint &s : r.samples) {
        s.alarmState = r.limits.classify(s.temperature, s.humidity, r.recording.isContainHum);
        s.isAlarm = s.alarmState != 0;
    }
}

// Runs a poppler tool and returns its standard output; fails the test when
// the tool is missing or fails.
inline QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning() << program << "failed:" << process.errorString()
                   << process.readAllStandardError();
        return {};
    }
    return process.readAllStandardOutput();
}

// The PDF's text, page by page, laid out as on the page.
inline QStringList pdfPages(const QString &pdf)
{
    const QString text = QString::fromUtf8(runTool(
        QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
    QStringList pages = text.split(QLatin1Char('\f'));
    // pdftotext ends every page, the last one included, with a form feed.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

inline int pdfPageCount(const QString &pdf)
{
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// One page rendered with `scale` pixels a report unit (72 dpi for 1).
inline QImage renderPage(const QString &pdf, int page, const QString &folder, int scale = 1)
{
    const QString prefix = folder + QStringLiteral("/page");
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(72 * scale), QStringLiteral("-f"),
             QString::number(page), QStringLiteral("-l"), QString::number(page),
             QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// Pixels in `area` whose colour is close to `color`.
inline int pixelsNear(const QImage &image, const QRect &area, const QColor &color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - color.red()) < 60 && qAbs(c.green() - color.green()) < 60 &&
                qAbs(c.blue() - color.blue()) < 60)
                ++count;
        }
    }
    return count;
}

} // namespace exporttest
