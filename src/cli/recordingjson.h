// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingJson: a loaded recording as the JSON document that `hygra-cli show` prints.
#pragma once

#include "recording/loadedrecording.h"

#include <QJsonObject>

// "complete" tells whether the file holds every sample its header promises,
// "header" holds the recording's stored header without its statistics and
// alarms, "statistics" the logger's statistics (hundredths of °C, tenths of
// %RH, as stored) with the sample count, the count the header promises and
// the durations, "alarms" each
// alarm's setting and result by key with the "label" the summary and the
// report show for it ("th1" is labelled TH3), and with `withSamples` "samples" lists
// every sample with its time (the logger's local time), temperature in °C,
// humidity in %RH (null where the logger stored none) and alarm state.
class RecordingJson
{
public:
    static QJsonObject toJson(const LoadedRecording &recording, bool withSamples);
    // A sample's wall-clock seconds as the document shows them: the logger's
    // local time, "yyyy-MM-ddTHH:mm:ss"; empty for a time no date can hold.
    static QString timeText(qint64 wallClockSecs);
};
