// SPDX-License-Identifier: GPL-3.0-or-later
// A logger's history: the samples of several recordings of one logger merged into one.
#pragma once

#include "recording/loadedrecording.h"

#include <QVector>

// Merges the samples of `recordings` in time order. A sample that several of
// them hold (the same wall-clock time) is taken once, from the first recording
// in the list that holds it; time that none covers stays a gap. The header is
// the last recording's (its logger, configuration and limits), with the span,
// counts, statistics and alarm results recomputed over the merged samples.
// The result carries no fingerprint: it is no file.
LoadedRecording mergeHistory(const QVector<LoadedRecording> &recordings);
