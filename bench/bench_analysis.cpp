// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the evaluation: MKT, range, excursions and statistics of a million samples.
#include "benchrecording.h"
#include "benchregistry.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingreader.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace
{
constexpr int runs = 7;
constexpr int sampleCount = 1000000;

void analysisFigures(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.data"));
    if (!writeBenchRecording(path, sampleCount))
        return;
    const LoadedRecording recording = RecordingReader::read(path);
    // The recording's waves cross 2 and 30 °C, so the run finds excursions on both sides.
    const TemperatureRange range{2.0, 30.0};
    QVector<double> times;
    int excursions = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        excursions = RecordingAnalysis::of(recording, range).excursions.size();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    print(QStringLiteral("analysis_1000000_ms"), median(times), QStringLiteral("ms"));
    print(QStringLiteral("analysis_1000000_excursions"), excursions, QStringLiteral("count"));
}

const bool registered = registerFigureGroup("analysis", &analysisFigures);
} // namespace
