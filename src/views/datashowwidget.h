// SPDX-License-Identifier: GPL-3.0-or-later
// The recording view area: loads a recording file and shows it as chart, table and summary.
#pragma once

#include "recording/comparedrecording.h"
#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"

#include <QWidget>

class ComparisonWidget;
class DataChartWidget;
class DataDevInfoWidget;
class DataInfoTbWidget;
class QLabel;
class QStackedWidget;

// Page 0 is the chart with the sample table, page 1 the summary. The container
// holds the shown recording and runs the exports on it.
class DataShowWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DataShowWidget(QWidget *parent = nullptr);

    // Reads the file on the global thread pool while a local event loop keeps
    // the window responsive, then shows it. Returns false, leaving the shown
    // recording as it was, when the file cannot be read or when a later open
    // request overtook this one.
    bool openRecording(const QString &path);
    // Why the last open request failed: the reader's verdict on its file;
    // Loaded when it succeeded or a later request overtook it.
    RecordingStatus lastOpenStatus() const { return mLastOpenStatus; }
    // Shows nothing any more.
    void clearRecording();

    // Shows several recordings on one chart in place of the shown recording,
    // which is closed; the export menu then writes the comparison's report.
    void showComparison(const QVector<ComparedRecording> &recordings);
    // Reads the files on the global thread pool, several at once, while a
    // local event loop keeps the window responsive, then shows them compared,
    // each named by its label. False, leaving the view as it was, when one of
    // them cannot be read.
    bool openComparison(const QStringList &paths, const QStringList &labels);
    // Back to the single recording's pages, empty.
    void endComparison();
    bool isComparing() const { return !mCompared.isEmpty(); }
    const QVector<ComparedRecording> &compared() const { return mCompared; }
    ComparisonWidget *comparisonPage() const { return comparison; }

    QString recordingBaseName() const { return mBaseName; }
    // The shown file was given a new name; later exports propose it.
    void setRecordingBaseName(const QString &name) { mBaseName = name; }

    bool isShowing() const { return !mPath.isEmpty(); }
    const LoadedRecording &loaded() const { return mLoaded; }
    // Judges the shown recording by `evaluation` instead of its level-1 limits,
    // or by those again for std::nullopt.
    void setEvaluation(const std::optional<ChosenEvaluation> &evaluation);
    // The evaluation of the shown samples against the chosen range, else the
    // recording's level-1 range.
    const RecordingAnalysis &analysis() const { return mAnalysis; }
    DataInfoTbWidget *tabBar() const { return tableTitle; }
    DataChartWidget *chartPage() const { return chartData; }
    DataDevInfoWidget *infoPage() const { return dataInfo; }
    QStackedWidget *pages() const { return stackedWidget; }

    // The stop time shown for a recording whose stored stop precedes its
    // start: start + delay + overwritten samples + shown samples, counted in
    // wall-clock time.
    static QDateTime rebuiltStopTime(const ReadDevInfoJson &recording, qint64 interval);

signals:
    void sendMessage(QString msg);
    // The user chose how the logger `serial` is evaluated on the summary page
    // (std::nullopt: by its own limits); the shown recording follows already.
    void evaluationChosen(const QString &serial, const std::optional<ChosenEvaluation> &evaluation);

public slots:
    void delSelectTabIndex(int index);
    void delSendAlertFlagSignal(bool flag);
    void delSendRestoreSignal();
    // 1 writes the spreadsheet, anything else the PDF report.
    void delSendExportTypeSignal(int type);
    // Keeps an edited note in memory for the exports; the file stays as it is.
    void updateNotes(QString note);

protected:
    void changeEvent(QEvent *event) override;

private:
    void setupUi();
    // Fills the summary page from the shown recording and its evaluation.
    void fillSummary();
    // Shows the lasting notice of a recording cut short, or hides it.
    void updateIncompleteBanner();

    QWidget *cwidget;
    DataInfoTbWidget *tableTitle;
    // Above both pages while the shown recording lacks samples its header promises.
    QLabel *incompleteBanner;
    QStackedWidget *stackedWidget;
    DataChartWidget *chartData;
    DataDevInfoWidget *dataInfo;
    ComparisonWidget *comparison;

    QString mPath;
    QString mBaseName;
    LoadedRecording mLoaded;
    RecordingAnalysis mAnalysis;
    int mLoadGeneration = 0;
    RecordingStatus mLastOpenStatus = RecordingStatus::Loaded;
    QVector<ComparedRecording> mCompared;
};
