// SPDX-License-Identifier: GPL-3.0-or-later
// The recording view area: loads a recording file and shows it as chart, table and summary.
#pragma once

#include "core/auditentry.h"
#include "recording/comparedrecording.h"
#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"
#include "views/exportflow.h"

#include <QWidget>
#include <functional>

template <typename T> class QFuture;
template <typename T> class QFutureWatcher;
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

    // Reads and evaluates the file on the global thread pool, then shows it;
    // recordingOpened tells how it went. A file that cannot be read leaves the
    // shown recording as it was. Each open, of a recording or a comparison,
    // replaces the one still pending, whose result is dropped without a signal.
    void openRecording(const QString &path);
    // Shows `recording`, already read from `path` (as a download hands it
    // over), like openRecording but without reading or hashing the file again;
    // only its evaluation runs on the pool.
    void showLoaded(const QString &path, const LoadedRecording &recording);
    // An open has been asked for and its result is not shown yet.
    bool isOpening() const { return pending != nullptr; }
    // Shows nothing any more, nor what a pending open would have shown.
    void clearRecording();

    // Shows several recordings on one chart in place of the shown recording,
    // which is closed, and of a pending open; the export menu then writes the
    // comparison's report.
    void showComparison(const QVector<ComparedRecording> &recordings);
    // Reads the files on the global thread pool, several at once, then shows
    // them compared, each named by its label; comparisonOpened tells how it
    // went. One that cannot be read leaves the view as it was. Replaces a
    // pending open as openRecording does.
    void openComparison(const QStringList &paths, const QStringList &labels);
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
    // The audit trail's newest entry, which every report and workbook exported from here names.
    const AuditHead &auditHead() const { return mAuditHead; }
    void setAuditHead(const AuditHead &head) { mAuditHead = head; }
    // Judges the shown recording by `evaluation` instead of its level-1 limits,
    // or by those again for std::nullopt.
    void setEvaluation(const std::optional<ChosenEvaluation> &evaluation);
    // Shows `review`, the archive's comments and signatures of the shown
    // recording, on the summary page and the chart; every export made from now
    // on prints it. A review of another recording is ignored; one without a
    // fingerprint means the archive cannot take a review of it.
    void setReview(const RecordingReview &review);
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
    // An open of `path` ended: shown for Loaded, else the reader's verdict on the file.
    void recordingOpened(const QString &path, RecordingStatus status);
    // An openComparison() ended: shown, or not because a file could not be read.
    void comparisonOpened(bool shown);
    // An export from the window's menu wrote `file`, or failed to, from `recording` (or
    // from the `compared` recordings of a comparison report).
    void fileExported(const ExportedFile &file, const LoadedRecording &recording,
                      const QVector<ComparedRecording> &compared);
    // A note about the shown recording was typed on the summary page.
    void noteTyped(const QString &note);
    // The summary page's review buttons: a comment, a signature of the shown recording.
    void commentRequested();
    void signRequested();

public slots:
    void delSelectTabIndex(int index);
    void delSendAlertFlagSignal(bool flag);
    void delSendRestoreSignal();
    // 1 writes the spreadsheet, anything else the PDF report.
    void delSendExportTypeSignal(int type);
    // Hands a note typed about the shown recording on as noteTyped; the file
    // and the logger's own note stay as they are.
    void updateNotes(QString note);

protected:
    void changeEvent(QEvent *event) override;

private:
    // What the pool thread hands over: the recording and the evaluation of its
    // samples, computed there so the window does not wait for it.
    struct OpenedRecording {
        LoadedRecording loaded;
        RecordingAnalysis analysis;
    };
    using OpenWatcher = QFutureWatcher<OpenedRecording>;

    static OpenedRecording analysed(const LoadedRecording &loaded);
    static OpenedRecording readAndAnalyse(const QString &path);
    // Makes `future` the pending open in place of any earlier one; `show`
    // receives its watcher once it has finished.
    void startOpen(const QFuture<OpenedRecording> &future,
                   const std::function<void(const OpenWatcher &)> &show);
    // The pending open's result is not wanted any more.
    void dropPending();
    void showOpened(const QString &path, OpenedRecording opened);
    void setupUi();
    // Fills the summary page from the shown recording and its evaluation.
    void fillSummary();
    // The review on the summary page and the chart's marks at commented excursions.
    void showReview();
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
    AuditHead mAuditHead;
    RecordingAnalysis mAnalysis;
    // The latest open's reader; the only one whose result is shown.
    OpenWatcher *pending = nullptr;
    QVector<ComparedRecording> mCompared;
};
