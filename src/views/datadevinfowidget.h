// SPDX-License-Identifier: GPL-3.0-or-later
// The summary page: device, configuration, statistics, evaluation and alarm results of a
// recording.
#pragma once

#include "views/datadevinfoform.h"

#include <QWidget>

class ReadDevInfoJson;
class AlertDataJson;
struct LoadedRecording;
struct RecordingAnalysis;

// Every text is rebuilt from the recording header on each fill; the statistics
// are the logger's own, never recomputed from samples. The note line is the
// one editable field: what is typed there becomes a comment of the recording,
// apart from the logger's own note, which is shown as the file holds it.
class DataDevInfoWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DataDevInfoWidget(QWidget *parent = nullptr);

    // The sample count is the one the header says the logger held.
    void fillFromRecording(const ReadDevInfoJson &recording);
    // The same, with the count of samples the file holds.
    void fillFromRecording(const LoadedRecording &recording);
    // The evaluation section: the analysis of the recording's samples with its
    // verdict, and the file's fingerprint ("---" when empty); `chosen` when the
    // range was chosen for the logger rather than its level-1 limits.
    void fillEvaluation(const RecordingAnalysis &analysis, const QString &fingerprint,
                        int tempUnit, bool chosen = false);
    // The empty state: blank texts, closed alarms at their default thresholds.
    void clearInfo();

    const DataDevInfoForm &form() const { return ui; }

    // The statistic texts: with humidity "<temperature>  <humidity>%RH" or
    // "---  ---"; without, the temperature or "---".
    static QString statisticText(int temperature, int humidity, bool withHumidity, int tempUnit);

signals:
    // A note typed about the recording and confirmed with Enter, trimmed;
    // the line is emptied when the review panel can keep it.
    void updateNotes(QString note);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_lineEdit_returnPressed();

private:
    void fillAlarmRow(const DataDevInfoAlarmRow &row, const AlertDataJson &alarm,
                      int recordInterval, int tempUnit);

    DataDevInfoForm ui;
};
