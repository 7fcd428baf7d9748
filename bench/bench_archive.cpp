// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the archive: importing ten thousand recordings into SQLite, a filtered search
// over them, checking them from their bytes, and a logger's history of fifty overlapping
// full recordings.
#include "archive/archive.h"
#include "benchrecording.h"
#include "benchregistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace
{
constexpr int importedFiles = 10000;
constexpr int importedSamples = 1000;
constexpr int historyFiles = 50;
constexpr int fullMemory = 64512;
// Each history recording begins this many minutes after the one before, so
// neighbours share most of their samples, as weekly downloads of a logger in
// loop mode do.
constexpr int historyStep = 10080;

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void importAndQuery(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recordings"));
    QDir().mkpath(folder);
    for (int i = 0; i < importedFiles; ++i) {
        const QString path = QStringLiteral("%1/%2.data").arg(folder).arg(i, 5, 10, QLatin1Char('0'));
        if (!writeBenchRecording(path, importedSamples, QStringLiteral("B%1").arg(i % 500, 4, 10,
                                                                                   QLatin1Char('0')),
                                 i * 60))
            return;
    }
    Archive archive;
    if (!archive.open(ArchiveLocation::local(folder)))
        return;
    QElapsedTimer timer;
    timer.start();
    const Archive::ImportSummary summary = archive.importFolder(folder);
    print(QStringLiteral("archive_import_10000_ms"), elapsedMs(timer), QStringLiteral("ms"));
    print(QStringLiteral("archive_import_10000_added"), summary.added, QStringLiteral("count"));

    timer.restart();
    archive.importFolder(folder);
    print(QStringLiteral("archive_reimport_10000_ms"), elapsedMs(timer), QStringLiteral("ms"));

    // One logger's recordings of a year, as a quality manager asks.
    ArchiveFilter filter;
    filter.serial = QStringLiteral("B0042");
    filter.from = QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    filter.to = QDateTime(QDate(2024, 12, 31), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    QVector<double> times;
    int found = 0;
    for (int i = 0; i < 21; ++i) {
        timer.restart();
        found = archive.find(filter).size();
        times << elapsedMs(timer);
    }
    print(QStringLiteral("archive_query_ms"), median(times), QStringLiteral("ms"));
    print(QStringLiteral("archive_query_found"), found, QStringLiteral("count"));
    ArchiveFilter text;
    text.text = QStringLiteral("b004");
    times.clear();
    for (int i = 0; i < 21; ++i) {
        timer.restart();
        found = archive.find(text).size();
        times << elapsedMs(timer);
    }
    print(QStringLiteral("archive_query_text_ms"), median(times), QStringLiteral("ms"));
    print(QStringLiteral("archive_query_text_found"), found, QStringLiteral("count"));

    // Every file read and hashed, every entry's figures recomputed from its bytes.
    timer.restart();
    const int problems = archive.check().size();
    print(QStringLiteral("archive_check_10000_ms"), elapsedMs(timer), QStringLiteral("ms"));
    print(QStringLiteral("archive_check_10000_problems"), problems, QStringLiteral("count"));
}

void history(const FigurePrinter &print)
{
    QTemporaryDir dir;
    for (int i = 0; i < historyFiles; ++i) {
        if (!writeBenchRecording(dir.filePath(QStringLiteral("h%1.data").arg(i)), fullMemory,
                                 QStringLiteral("H2HISTORY1"), i * historyStep))
            return;
    }
    Archive archive;
    if (!archive.open(ArchiveLocation::local(dir.path())) ||
        archive.importFolder(dir.path()).added != historyFiles)
        return;
    QVector<double> times;
    int samples = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        samples = archive.history(QStringLiteral("H2HISTORY1")).samples.size();
        times << elapsedMs(timer);
    }
    print(QStringLiteral("history_50_ms"), median(times), QStringLiteral("ms"));
    print(QStringLiteral("history_50_samples"), samples, QStringLiteral("count"));
}

void archiveFigures(const FigurePrinter &print)
{
    importAndQuery(print);
    history(print);
}

const bool registered = registerFigureGroup("archive", &archiveFigures);
} // namespace
