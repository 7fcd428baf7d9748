// SPDX-License-Identifier: GPL-3.0-or-later
// The recording view area: loads a recording file and shows it as chart, table and summary.
#include "views/datashowwidget.h"

#include "core/utils.h"
#include "export/recordingverdict.h"
#include "export/reviewtexts.h"
#include "recording/recordingreader.h"
#include "views/comparisonwidget.h"
#include "views/datachartwidget.h"
#include "views/datadevinfowidget.h"
#include "views/datainfotbwidget.h"
#include "views/evaluationeditor.h"
#include "views/exportflow.h"
#include "views/reviewpanel.h"

#include <QEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

DataShowWidget::DataShowWidget(QWidget *parent) : QWidget(parent)
{
    setupUi();
    connect(tableTitle, &DataInfoTbWidget::selectTabIndex, this,
            &DataShowWidget::delSelectTabIndex);
    connect(tableTitle, &DataInfoTbWidget::sendAlertFlagSignal, this,
            &DataShowWidget::delSendAlertFlagSignal);
    connect(tableTitle, &DataInfoTbWidget::sendRestoreSignal, this,
            &DataShowWidget::delSendRestoreSignal);
    connect(dataInfo, &DataDevInfoWidget::updateNotes, this, &DataShowWidget::updateNotes);
    connect(dataInfo->form().reviewPanel, &ReviewPanel::commentRequested, this,
            &DataShowWidget::commentRequested);
    connect(dataInfo->form().reviewPanel, &ReviewPanel::signRequested, this,
            &DataShowWidget::signRequested);
    connect(comparison, &ComparisonWidget::closeRequested, this, &DataShowWidget::endComparison);
    connect(dataInfo->form().evaluationEditor, &EvaluationEditor::evaluationChosen, this,
            [this](const std::optional<ChosenEvaluation> &evaluation) {
                setEvaluation(evaluation);
                if (isShowing())
                    emit evaluationChosen(mLoaded.recording.sn, evaluation);
            });
}

void DataShowWidget::setupUi()
{
    resize(594, 555);
    setWindowTitle(tr("Form"));
    auto *verticalLayout = new QVBoxLayout(this);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    cwidget = new QWidget(this);
    cwidget->setObjectName(QStringLiteral("cwidget"));
    cwidget->setStyleSheet(
        QStringLiteral("QWidget#cwidget{\n\tbackground-color: rgb(255, 255, 255);\n}"));
    auto *verticalLayout_2 = new QVBoxLayout(cwidget);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setSpacing(0);
    tableTitle = new DataInfoTbWidget(cwidget);
    tableTitle->setObjectName(QStringLiteral("tableTitle"));
    tableTitle->setMinimumHeight(50);
    tableTitle->setMaximumHeight(50);
    incompleteBanner = new QLabel(cwidget);
    incompleteBanner->setObjectName(QStringLiteral("incompleteBanner"));
    incompleteBanner->setWordWrap(true);
    incompleteBanner->setStyleSheet(
        QStringLiteral("QLabel#incompleteBanner{\n\tbackground-color: rgb(255, 236, 229);\n"
                       "\tcolor: rgb(176, 42, 0);\n\tborder-left: 4px solid rgb(255, 107, 0);\n"
                       "\tpadding: 6px 12px;\n\tfont-size: 14px;\n}"));
    incompleteBanner->hide();
    stackedWidget = new QStackedWidget(cwidget);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    chartData = new DataChartWidget(stackedWidget);
    chartData->setObjectName(QStringLiteral("chartData"));
    dataInfo = new DataDevInfoWidget(stackedWidget);
    dataInfo->setObjectName(QStringLiteral("dataInfo"));
    comparison = new ComparisonWidget(stackedWidget);
    comparison->setObjectName(QStringLiteral("comparison"));
    stackedWidget->addWidget(chartData);
    stackedWidget->addWidget(dataInfo);
    stackedWidget->addWidget(comparison);
    verticalLayout_2->addWidget(tableTitle);
    verticalLayout_2->addWidget(incompleteBanner);
    verticalLayout_2->addWidget(stackedWidget);
    verticalLayout->addWidget(cwidget);
}

QDateTime DataShowWidget::rebuiltStopTime(const ReadDevInfoJson &recording, qint64 interval)
{
    const qint64 span = recording.shownDuration + qint64(recording.startDelay) * 60 +
                        recording.overWirteRecordNum * interval;
    const QDateTime wallClock =
        QDateTime::fromSecsSinceEpoch(wallClockSecs(recording.startRecordTime) + span, Qt::UTC);
    return QDateTime(wallClock.date(), wallClock.time(), recording.startRecordTime.timeSpec());
}

DataShowWidget::OpenedRecording DataShowWidget::analysed(const LoadedRecording &loaded)
{
    OpenedRecording opened{loaded, RecordingAnalysis()};
    if (opened.loaded.ok())
        opened.analysis = RecordingAnalysis::of(opened.loaded);
    return opened;
}

DataShowWidget::OpenedRecording DataShowWidget::readAndAnalyse(const QString &path)
{
    return analysed(RecordingReader::read(path));
}

void DataShowWidget::startOpen(const QFuture<OpenedRecording> &future,
                               const std::function<void(const OpenWatcher &)> &show)
{
    dropPending();
    pending = new OpenWatcher(this);
    connect(pending, &QFutureWatcherBase::finished, this, [this, show] {
        OpenWatcher *done = pending;
        pending = nullptr;
        done->deleteLater();
        show(*done);
    });
    pending->setFuture(future);
}

void DataShowWidget::dropPending()
{
    if (!pending)
        return;
    // Its reader may go on, but nothing hears of its result any more.
    pending->disconnect(this);
    pending->cancel();
    pending->deleteLater();
    pending = nullptr;
}

void DataShowWidget::openRecording(const QString &path)
{
    startOpen(QtConcurrent::run(&DataShowWidget::readAndAnalyse, path),
              [this, path](const OpenWatcher &done) { showOpened(path, done.result()); });
}

void DataShowWidget::showLoaded(const QString &path, const LoadedRecording &recording)
{
    startOpen(QtConcurrent::run(&DataShowWidget::analysed, recording),
              [this, path](const OpenWatcher &done) { showOpened(path, done.result()); });
}

void DataShowWidget::showOpened(const QString &path, OpenedRecording opened)
{
    LoadedRecording &loaded = opened.loaded;
    if (!loaded.ok()) {
        emit recordingOpened(path, loaded.status);
        return;
    }

    ReadDevInfoJson &recording = loaded.recording;
    // Compared as wall-clock times, which a daylight-saving gap leaves intact.
    const QDate startDate = recording.startRecordTime.date();
    const QDate stopDate = recording.stopRecordTime.date();
    if (startDate.isValid() && stopDate.isValid() &&
        wallClockSecs(recording.stopRecordTime) < wallClockSecs(recording.startRecordTime))
        recording.stopRecordTime = rebuiltStopTime(recording, loaded.interval);
    mLoaded = std::move(loaded);
    mAnalysis = std::move(opened.analysis);
    if (isComparing())
        endComparison();

    chartData->showRecording(mLoaded.samples, mLoaded.recording, true);
    fillSummary();
    updateIncompleteBanner();
    mPath = path;
    const QString fileName = QFileInfo(path).fileName();
    mBaseName = fileName.left(fileName.lastIndexOf(QLatin1Char('.')));
    if (!mLoaded.complete())
        emit sendMessage(RecordingVerdict::incompleteText(mLoaded));
    emit recordingOpened(path, RecordingStatus::Loaded);
}

void DataShowWidget::clearRecording()
{
    dropPending();
    mPath.clear();
    mBaseName.clear();
    chartData->clearChart();
    dataInfo->clearInfo();
    // Nothing can reach the samples any more; give their memory back.
    mLoaded = LoadedRecording();
    mAnalysis = RecordingAnalysis();
    updateIncompleteBanner();
}

void DataShowWidget::openComparison(const QStringList &paths, const QStringList &labels)
{
    const int count = paths.size();
    startOpen(QtConcurrent::mapped(paths, &DataShowWidget::readAndAnalyse),
              [this, labels, count](const OpenWatcher &done) {
                  QVector<ComparedRecording> recordings;
                  for (int i = 0; i < count; ++i) {
                      OpenedRecording opened = done.resultAt(i);
                      if (!opened.loaded.ok()) {
                          emit comparisonOpened(false);
                          return;
                      }
                      recordings.append(
                          {labels.value(i), std::move(opened.loaded), std::move(opened.analysis)});
                  }
                  showComparison(recordings);
                  emit comparisonOpened(true);
              });
}

void DataShowWidget::showComparison(const QVector<ComparedRecording> &recordings)
{
    clearRecording();
    mCompared = recordings;
    // The tab bar's alarm marks, restore button and summary belong to one
    // recording; the comparison page brings its own restore and close.
    tableTitle->hide();
    comparison->showComparison(mCompared);
    stackedWidget->setCurrentWidget(comparison);
}

void DataShowWidget::endComparison()
{
    mCompared.clear();
    comparison->clear();
    tableTitle->show();
    stackedWidget->setCurrentIndex(tableTitle->currentIndex());
}

void DataShowWidget::updateIncompleteBanner()
{
    const QString notice = RecordingVerdict::incompleteText(mLoaded);
    incompleteBanner->setText(notice.isEmpty()
                                  ? notice
                                  : notice + tr("。文件中的样本少于其文件头所记，下载或复制未完成；"
                                                "缺少的样本不在图表、表格和导出中。"));
    incompleteBanner->setVisible(!notice.isEmpty());
}

void DataShowWidget::fillSummary()
{
    dataInfo->fillFromRecording(mLoaded);
    dataInfo->fillEvaluation(mAnalysis, mLoaded.sha256, mLoaded.recording.tempUnit,
                             mLoaded.evaluation.has_value());
    dataInfo->form().evaluationEditor->showEvaluation(
        mAnalysis.range.low, mAnalysis.range.high, mAnalysis.activationEnergyKJ,
        mLoaded.recording.tempUnit, mLoaded.evaluation.has_value());
    showReview();
}

void DataShowWidget::setEvaluation(const std::optional<ChosenEvaluation> &evaluation)
{
    // Opening a recording of a logger without a choice changes nothing: its
    // analysis came with it from the pool.
    if (!isShowing() || (!evaluation && !mLoaded.evaluation))
        return;
    // The summary, and every export made from now on, judge by the choice.
    mLoaded.evaluation = evaluation;
    mAnalysis = RecordingAnalysis::of(mLoaded);
    fillSummary();
}

void DataShowWidget::delSelectTabIndex(int index)
{
    stackedWidget->setCurrentIndex(index);
}

void DataShowWidget::delSendAlertFlagSignal(bool flag)
{
    if (isShowing())
        chartData->setAlarmMarks(flag, mLoaded.samples, mLoaded.recording);
    else
        chartData->setAlarmMarks(flag);
}

void DataShowWidget::delSendRestoreSignal()
{
    chartData->restoreView();
}

void DataShowWidget::delSendExportTypeSignal(int type)
{
    if (isComparing() && type == 1) {
        emit sendMessage(tr("对比只能导出为PDF"));
        return;
    }
    if (!isComparing() && !isShowing()) {
        emit sendMessage(tr("无法导出，请先下载数据文件并打开它"));
        return;
    }
    const auto tell = [this](const QString &notice) {
        if (!notice.isEmpty())
            emit sendMessage(notice);
    };
    // The recordings as they were exported: the view may show others by the time a PDF is written.
    const LoadedRecording recording = mLoaded;
    const QVector<ComparedRecording> compared = mCompared;
    const auto produced = [this, recording, compared](const ExportedFile &file) {
        emit fileExported(file, recording, compared);
    };
    if (isComparing())
        tell(exportComparisonReport(this, mCompared, produced, mAuditHead));
    else if (type == 1)
        tell(exportSpreadsheet(this, mLoaded, mBaseName, produced, mAuditHead));
    else
        exportPdfReport(this, mLoaded, mBaseName, tell, produced, mAuditHead);
}

void DataShowWidget::updateNotes(QString note)
{
    if (isShowing())
        emit noteTyped(note);
}

void DataShowWidget::setReview(const RecordingReview &review)
{
    if (!isShowing() || (!review.sha256.isEmpty() && review.sha256 != mLoaded.sha256))
        return;
    mLoaded.review = review;
    showReview();
}

void DataShowWidget::showReview()
{
    const bool own = !mLoaded.sha256.isEmpty() && mLoaded.review.sha256 == mLoaded.sha256;
    dataInfo->form().reviewPanel->showReview(mLoaded.review, own);
    QVector<qint64> commented;
    for (const ReviewComment &comment : mLoaded.review.comments) {
        const std::optional<qint64> start = ReviewTexts::excursionSecs(comment.excursion);
        if (own && start && !commented.contains(*start))
            commented.append(*start);
    }
    chartData->setCommentMarks(commented);
}

void DataShowWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Form"));
        updateIncompleteBanner();
        if (isShowing())
            fillSummary();
        else
            dataInfo->clearInfo();
    }
    QWidget::changeEvent(event);
}
