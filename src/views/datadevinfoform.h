// SPDX-License-Identifier: GPL-3.0-or-later
// The summary panel's form: labels for device, configuration, statistics, evaluation and alarms.
#pragma once

#include "recording/recordingsummary.h"

#include <QList>
#include <QString>

class CheckButton;
class EvaluationEditor;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class ReviewPanel;
class QVBoxLayout;
class QWidget;

// One row of the alarm table.
struct DataDevInfoAlarmRow {
    QString key; // th3, th2, th1, tl1, tl2, tl3, hh or hl
    recordingsummary::AlarmRowLayout layout;
    QWidget *row = nullptr;
    CheckButton *checkBtn = nullptr;
    QLabel *name = nullptr;
    QLabel *value = nullptr;
    QLabel *type = nullptr;
    QLabel *delay = nullptr;
    QLabel *duration = nullptr;
    QLabel *times = nullptr;
    QLabel *state = nullptr;
};

// Builds the widget tree with its object names, like a generated form.
class DataDevInfoForm
{
public:
    void setupUi(QWidget *form);
    void retranslateUi(QWidget *form);

    QScrollArea *scrollArea = nullptr;
    QWidget *scrollAreaWidgetContents = nullptr;

    QLabel *devNameLabel = nullptr;
    QLabel *snLabel = nullptr;
    QLabel *idLabel = nullptr;
    // The note the logger holds, as the file has it.
    QLabel *deviceNoteLabel = nullptr;
    // Where a note about the recording is typed; Enter keeps it as a comment.
    QLineEdit *lineEdit = nullptr;

    QLabel *startModelLabel = nullptr;
    QLabel *configTimeLabel = nullptr;
    QLabel *stopModelLabel = nullptr;
    QLabel *recordIntervalLabel = nullptr;
    QLabel *startDelayLabel = nullptr;
    QLabel *recordModeLabel = nullptr;

    QLabel *startTimeLabel = nullptr;
    QLabel *maxValueLabel = nullptr;
    QLabel *endTimeLabel = nullptr;
    QLabel *minValueLabel = nullptr;
    QLabel *recordDuration = nullptr;
    QLabel *avgValueLabel = nullptr;
    QLabel *recordNum = nullptr;
    // The clock the shown times are read on.
    QLabel *timeZoneLabel = nullptr;

    // The evaluation against the level-1 range.
    QLabel *rangeLabel = nullptr;
    QLabel *timeAboveLabel = nullptr;
    QLabel *timeBelowLabel = nullptr;
    QLabel *mktLabel = nullptr;
    QLabel *excursionNum = nullptr;
    QLabel *longestExcursionLabel = nullptr;
    QLabel *longestStartLabel = nullptr;
    QLabel *activationEnergyLabel = nullptr;
    // Within or out of limits, at a glance.
    QLabel *verdictLabel = nullptr;
    // Read-only, so the fingerprint can be selected and copied.
    QLineEdit *fingerprintEdit = nullptr;
    // The range and activation energy chosen for the shown logger.
    EvaluationEditor *evaluationEditor = nullptr;
    // The signatures and comments, beside the evaluation.
    ReviewPanel *reviewPanel = nullptr;

    QWidget *hhWidget = nullptr;
    QWidget *hlWidget = nullptr;
    // Top to bottom: th3, th2, th1, tl1, tl2, tl3, hh, hl.
    QList<DataDevInfoAlarmRow> alarmRows;
    // The name labels whose width follows the language.
    QList<QLabel *> nameLabels;

private:
    struct Text {
        QLabel *label;
        const char *source;
    };
    QLabel *addLabel(QWidget *parent, const char *name, const char *source = nullptr);
    QWidget *infoRow(QWidget *parent, const char *nameObject, const char *nameText,
                     const char *valueObject, QLabel **value, int valueWidth);
    // A row of the name label and the colon; the caller adds the value.
    QHBoxLayout *nameRow(QWidget *parent, const char *nameObject, const char *nameText);
    QWidget *fingerprintRow(QWidget *parent);
    void addAlarmTable(QWidget *parent, QVBoxLayout *layout);

    QList<Text> mTexts;
};
