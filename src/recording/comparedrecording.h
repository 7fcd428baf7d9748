// SPDX-License-Identifier: GPL-3.0-or-later
// One recording of a comparison: what it is called, its samples and their evaluation.
#pragma once

#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"

#include <QString>

// The comparison chart and its report show several of these side by side on
// one wall-clock time axis; a logger's merged history is one of them too.
struct ComparedRecording {
    // The name shown in the legend and the statistics table.
    QString label;
    LoadedRecording loaded;
    RecordingAnalysis analysis;
    // How many downloads a logger's merged history was built from; 0 for one recording.
    int downloads = 0;
};
