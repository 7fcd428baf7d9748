// SPDX-License-Identifier: GPL-3.0-or-later
// The recording list of the main window.
#include "app/recordinglist.h"

#include "app/archivekeeper.h"
#include "app/archivesearch.h"
#include "app/archivesearchbar.h"
#include "app/archivesearchrunner.h"
#include "app/filebutton.h"
#include "app/mainwindowform.h"
#include "app/recordingremoval.h"
#include "app/windowaudit.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "export/comparisonreport.h"
#include "recording/recordinganalysis.h"
#include "recording/recordingaudit.h"
#include "recording/recordingreader.h"
#include "recording/recordingreview.h"
#include "views/datashowwidget.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <algorithm>

namespace
{
constexpr int entryPitch = 54;
constexpr int entryHeight = 50;
constexpr int listMargin = 4;

QString trMain(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// When a recording file came to be: the time in a downloaded file's name
// (model, date, time and a number that keeps two downloads of one second
// apart), else its modification time, which the download set and a rename keeps.
qint64 folderOrderTime(const QFileInfo &file)
{
    static const QRegularExpression downloaded(
        QStringLiteral("^[A-Z0-9]+_(\\d{8}_\\d{6})(_\\d+)?$"));
    const QRegularExpressionMatch match = downloaded.match(file.completeBaseName());
    if (match.hasMatch()) {
        const QDateTime named =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd_hhmmss"));
        if (named.isValid())
            return named.toMSecsSinceEpoch();
    }
    return file.lastModified().toMSecsSinceEpoch();
}

// "Signed: <title>" by the archive's title of the meaning in the interface's
// language, or by its key when the archive has no such title.
QString signedMark(const QString &meaning, const ArchiveSearch::Meanings &meanings)
{
    const SignatureMeaning titled = meanings.value(meaning);
    const QString title = isEnglish() ? titled.title : titled.titleZh;
    return trMain(QT_TRANSLATE_NOOP("MainWindow", "已签署：%1"))
        .arg(title.isEmpty() ? meaning : title);
}
} // namespace

RecordingList::RecordingList(MainWindowForm *form, DataShowWidget *view, QWidget *window)
    : QObject(window), form(form), view(view), window(window), buttons(new QButtonGroup(window))
{
    buttons->setExclusive(false);
    connect(buttons, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &RecordingList::entryClicked);
    connect(view, &DataShowWidget::recordingOpened, this, &RecordingList::recordingOpened);
    connect(view, &DataShowWidget::comparisonOpened, this, [this](bool shown) {
        if (!shown)
            emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "打开失败!")));
    });
    form->delBtn->hide();
    form->compareBtn->hide();
    retranslate();
}

RecordingList::~RecordingList() = default;

void RecordingList::useArchive(const ArchiveLocation &location)
{
    search = std::make_unique<ArchiveSearch>(location);
    runner = std::make_unique<ArchiveSearchRunner>(location);
    connect(runner.get(), &ArchiveSearchRunner::found, this,
            [this](int, const ArchiveSearch::Result &found) { showSearchResult(found); });
    connect(runner.get(), &ArchiveSearchRunner::verified, this, &RecordingList::markUnverified);
    connect(runner.get(), &ArchiveSearchRunner::signaturesFound, this, &RecordingList::markSigned);
    connect(view, &DataShowWidget::evaluationChosen, this, &RecordingList::rememberEvaluation,
            Qt::UniqueConnection);
}

void RecordingList::markUnverified(int, const QStringList &unverified)
{
    const QString mark = trMain(QT_TRANSLATE_NOOP("MainWindow", "数据未核验"));
    for (QAbstractButton *button : buttons->buttons()) {
        auto *entry = static_cast<FileButton *>(button);
        if (unverified.contains(entry->sha256()) && !entry->detailLine().endsWith(mark))
            entry->setArchiveInfo(entry->sha256(), entry->serial(),
                                  entry->detailLine() + QStringLiteral(" · ") + mark,
                                  entry->isOutOfRange());
    }
    emit searchVerified();
}

void RecordingList::markSigned(int, const ArchiveSearch::FolderSignatures &signatures)
{
    for (QAbstractButton *button : buttons->buttons()) {
        auto *entry = static_cast<FileButton *>(button);
        const QString meaning = signatures.meaningOf.value(entry->filePath());
        if (!meaning.isEmpty())
            entry->setArchiveInfo(entry->sha256(), entry->serial(),
                                  signedMark(meaning, signatures.meanings), entry->isOutOfRange());
    }
    emit signaturesShown();
}

void RecordingList::retranslate()
{
    form->delBtn->setText(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除")));
    form->selectBtn->setText(selectMode ? trMain(QT_TRANSLATE_NOOP("MainWindow", "取消"))
                                        : trMain(QT_TRANSLATE_NOOP("MainWindow", "编辑")));
    form->compareBtn->setText(trMain(QT_TRANSLATE_NOOP("MainWindow", "对比")));
}

FileButton *RecordingList::createEntry(const QString &filePath, int index)
{
    FileButton *entry = nullptr;
    if (!spareEntries.isEmpty()) {
        entry = spareEntries.takeLast();
        entry->setArchiveInfo(QString(), QString(), QString(), false);
        entry->setChecked(false);
        entry->setCheckable(false);
        entry->setSelectMode(0);
    } else {
        entry = new FileButton(form->scrollAreaWidgetContents);
        connect(entry, &FileButton::fileBtnOptSignal, this, &RecordingList::delFileBtnOptSignal);
        connect(entry, &FileButton::updateRename, this, &RecordingList::delUpdateRename);
        connect(entry, &FileButton::historyRequested, this, &RecordingList::showHistory);
        connect(entry, &FileButton::auditTrailRequested, this, &RecordingList::showAuditTrail);
    }
    entry->setFilePath(filePath);
    entry->setText(FileButton::entryText(filePath));
    entry->setGeometry(listMargin, listMargin + entryPitch * index,
                       form->scrollArea->width() - 2 * listMargin, entryHeight);
    return entry;
}

void RecordingList::setContentsHeight(int entries)
{
    form->scrollAreaWidgetContents->setFixedHeight(entryPitch * entries + listMargin);
}

void RecordingList::removeEntries()
{
    buttons->setExclusive(false);
    // The entries wait hidden for the next rebuild: making hundreds of them
    // anew would be most of a keystroke's search.
    while (!buttons->buttons().isEmpty()) {
        auto *last = static_cast<FileButton *>(buttons->buttons().constLast());
        buttons->removeButton(last);
        last->close();
        // What is chosen in an open menu or typed into an open rename editor
        // still concerns the entry's own file: that entry is never reused.
        if (last->isInUse())
            last->deleteLater();
        else
            spareEntries.append(last);
    }
}

void RecordingList::setListNote(const QString &text)
{
    form->listNote->setText(text);
    form->listNote->setVisible(!text.isEmpty());
}

void RecordingList::loadFileButtons()
{
    // The archive's matches come later, from the search's own thread.
    if (form->searchBar->isActive() && runner) {
        runner->request(form->searchBar->filter(), maxSearchEntries);
        return;
    }
    removeEntries();
    const QStringList paths = loadFolderEntries();
    setListNote(QString());
    entriesRebuilt();
    // The folder is listed at once; its signatures come from the search's thread.
    if (runner)
        runner->requestSignatures(paths);
    emit searchShown();
}

void RecordingList::entriesRebuilt()
{
    for (QAbstractButton *button : buttons->buttons()) {
        auto *entry = static_cast<FileButton *>(button);
        entry->setSelectMode(selectMode ? 1 : 0);
        entry->setCheckable(selectMode);
    }
    if (!selectMode)
        markShownEntry();
    if (scrollToTop)
        form->scrollArea->verticalScrollBar()->setValue(0);
    scrollToTop = false;
}

void RecordingList::showSearchResult(const ArchiveSearch::Result &found)
{
    // A result that comes after the search was cleared is no longer asked for.
    if (!form->searchBar->isActive())
        return;
    removeEntries();
    // An archive that cannot be used leaves the folder's list; the keeper has
    // told the user about it once already.
    if (found.available) {
        loadSearchEntries(found);
    } else {
        loadFolderEntries();
        setListNote(QString());
    }
    entriesRebuilt();
    emit searchShown();
}

QStringList RecordingList::loadFolderEntries()
{
    QFileInfoList files =
        QDir(dataDir()).entryInfoList({QStringLiteral("*.data")}, QDir::Files, QDir::Name);
    // Newest first, as the search lists its matches; equal times keep the names' order.
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return folderOrderTime(a) > folderOrderTime(b);
    });
    QStringList paths;
    for (int i = 0; i < files.size(); ++i) {
        paths << files.at(i).filePath();
        FileButton *entry = createEntry(paths.last(), i);
        entry->show();
        buttons->addButton(entry, i);
    }
    setContentsHeight(files.size());
    return paths;
}

QString RecordingList::archivedName(const ArchiveEntry &entry)
{
    // The name a download of it would have had.
    return QStringLiteral("%1_%2").arg(modelName(entry.model),
                                       QDateTime::fromSecsSinceEpoch(entry.start, Qt::UTC)
                                           .toString(QStringLiteral("yyyyMMdd_hhmmss")));
}

void RecordingList::loadSearchEntries(const ArchiveSearch::Result &found)
{
    int index = 0;
    for (const ArchiveEntry &match : found.entries) {
        const bool remote = match.path.isEmpty();
        // A file that left this computer, without a copy in the archive, cannot be opened.
        if (remote && !match.hasContent)
            continue;
        FileButton *entry = createEntry(match.path, index);
        if (remote)
            entry->setText(archivedName(match));
        QStringList detail{modelName(match.model), match.serial};
        // Before the out-of-range mark, which the entry's dot repeats when the line is cut.
        if (!match.signedAs.isEmpty() && match.signedAs != review::revokeMeaning)
            detail << signedMark(match.signedAs, found.meanings);
        if (match.outOfRange)
            detail << trMain(QT_TRANSLATE_NOOP("MainWindow", "超限"));
        if (remote)
            detail << trMain(QT_TRANSLATE_NOOP("MainWindow", "不在本机"));
        entry->setArchiveInfo(match.sha256, match.serial, detail.join(QStringLiteral(" · ")),
                              match.outOfRange);
        entry->show();
        buttons->addButton(entry, index);
        ++index;
    }
    setContentsHeight(index);
    const int more = found.total - found.entries.size();
    if (more > 0)
        setListNote(
            trMain(QT_TRANSLATE_NOOP("MainWindow", "还有 %1 个记录，请细化搜索")).arg(more));
    else if (index > 0)
        setListNote(QString());
    else if (form->searchBar->isSpanReversed())
        setListNote(
            trMain(QT_TRANSLATE_NOOP("MainWindow",
                                     "没有匹配的记录（开始日期晚于结束日期，已按 %1 至 %2 搜索）"))
                .arg(form->searchBar->spanText(true), form->searchBar->spanText(false)));
    else
        setListNote(trMain(QT_TRANSLATE_NOOP("MainWindow", "没有匹配的记录")));
}

void RecordingList::searchChanged()
{
    scrollToTop = true;
    loadFileButtons();
}

void RecordingList::addFileButton(const QString &filePath)
{
    const int n = buttons->buttons().size();
    FileButton *entry = createEntry(filePath, n);
    if (selectMode) {
        entry->setCheckable(true);
        entry->setSelectMode(1);
    } else {
        entry->setSelectMode(0);
    }
    entry->show();
    buttons->addButton(entry, -1);
    setContentsHeight(n + 1);
}

void RecordingList::layoutEntries()
{
    const QList<QAbstractButton *> entries = buttons->buttons();
    for (int i = 0; i < entries.size(); ++i)
        entries.at(i)->setGeometry(listMargin, listMargin + entryPitch * i,
                                   form->scrollArea->width() - 2 * listMargin, entryHeight);
}

void RecordingList::entryClicked(QAbstractButton *button)
{
    if (selectMode)
        return;
    auto *entry = static_cast<FileButton *>(button);
    if (entry->isCheckable()) {
        entry->setChecked(false);
        entry->setCheckable(false);
        view->clearRecording();
    } else if (entry->isRemote()) {
        openArchived(entry);
    } else {
        openDataFile(entry->filePath());
    }
}

QString RecordingList::openablePath(FileButton *entry)
{
    if (!entry->isRemote())
        return entry->filePath();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                          QStringLiteral("/archive");
    return search ? search->cachedCopy(entry->sha256(), entry->text(), cache) : QString();
}

void RecordingList::openArchived(FileButton *entry)
{
    openDataFile(openablePath(entry));
}

void RecordingList::compareSelected()
{
    QList<FileButton *> marked;
    for (QAbstractButton *button : buttons->buttons()) {
        if (button->isChecked())
            marked << static_cast<FileButton *>(button);
    }
    if (marked.size() < 2 || marked.size() > ComparisonReport::maxRecordings) {
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "请选择 2 到 8 个记录进行对比")));
        return;
    }
    QStringList paths;
    QStringList labels;
    for (FileButton *entry : qAsConst(marked)) {
        const QString path = openablePath(entry);
        if (path.isEmpty()) {
            emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "打开失败!")));
            return;
        }
        paths << path;
        labels << entry->text();
    }
    switchDelFile();
    view->openComparison(paths, labels);
}

void RecordingList::showHistory(const QString &serial)
{
    ComparedRecording history;
    history.loaded = search ? search->history(serial, &history.downloads) : LoadedRecording();
    if (!history.loaded.ok()) {
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "无法读取历史记录")));
        return;
    }
    history.analysis = RecordingAnalysis::of(history.loaded);
    const QString name = history.loaded.recording.devName;
    history.label = (name.isEmpty() ? serial : name) + QLatin1Char(' ') +
                    trMain(QT_TRANSLATE_NOOP("MainWindow", "历史记录"));
    view->showComparison({history});
    markShownEntry();
}

void RecordingList::showAuditTrail(FileButton *entry)
{
    // An entry of the folder knows its file, not yet its fingerprint.
    const QString sha256 = entry->sha256().isEmpty()
                               ? QString::fromLatin1(recordingaudit::fileSha256(entry->filePath()))
                               : entry->sha256();
    if (sha256.isEmpty()) {
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "无法读取此记录")));
        return;
    }
    emit auditTrailRequested(sha256);
}

bool RecordingList::openDataFile(const QString &filePath)
{
    if (filePath.isEmpty()) {
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "打开失败!")));
        return false;
    }
    view->openRecording(filePath);
    return true;
}

void RecordingList::openDownloaded(const QString &path, const LoadedRecording &recording)
{
    view->showLoaded(path, recording);
}

void RecordingList::recordingOpened(const QString &, RecordingStatus status)
{
    if (status != RecordingStatus::Loaded) {
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "打开失败!")) + QLatin1Char(' ') +
                         ArchiveKeeper::reasonText(status));
        return;
    }
    // A logger's chosen evaluation follows it to every recording it made.
    if (search)
        view->setEvaluation(search->chosenEvaluation(view->loaded().recording.sn));
    showReview();
    markShownEntry();
}

void RecordingList::showReview()
{
    if (search && view->isShowing())
        view->setReview(search->review(view->loaded().sha256));
}

void RecordingList::rememberEvaluation(const QString &serial,
                                       const std::optional<ChosenEvaluation> &evaluation)
{
    QString why;
    if (!search->rememberEvaluation(serial, evaluation, &why))
        emit sendMessage(
            trMain(QT_TRANSLATE_NOOP("MainWindow", "评估设置未能存入记录档案库，只用于本次显示：%1"))
                .arg(why));
}

void RecordingList::markShownEntry()
{
    const QString shown = view->recordingBaseName();
    for (QAbstractButton *entry : buttons->buttons()) {
        const bool isShown = !shown.isEmpty() && entry->text() == shown;
        // Unchecked while still checkable: setCheckable(false) alone drops the
        // check without repainting, and the entry would still look open.
        if (isShown)
            entry->setCheckable(true);
        entry->setChecked(isShown);
        entry->setCheckable(isShown);
    }
}

FileButton *RecordingList::entryWithText(const QString &text) const
{
    for (QAbstractButton *entry : buttons->buttons()) {
        if (entry->text() == text)
            return static_cast<FileButton *>(entry);
    }
    return nullptr;
}

void RecordingList::delFileBtnOptSignal(QString filePath, int optNum)
{
    const QString name = FileButton::entryText(filePath);
    switch (optNum) {
    case 0:
        openDataFile(filePath);
        break;
    case 1: {
        RecordingRemoval::Outcome outcome;
        // Kept at the user's word: nothing changes.
        if (!removeFiles({filePath}, &outcome) || !outcome.kept.isEmpty())
            break;
        const bool removed = !outcome.removed.isEmpty();
        if (FileButton *entry = entryWithText(name)) {
            buttons->removeButton(entry);
            entry->close();
            entry->deleteLater();
        }
        loadFileButtons();
        if (removed && name == view->recordingBaseName())
            view->clearRecording();
        else
            markShownEntry();
        if (!removed)
            emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除失败")));
        break;
    }
    case 2:
        if (FileButton *entry = entryWithText(name))
            entry->startRename(entry->isChecked());
        break;
    default:
        break;
    }
}

void RecordingList::delUpdateRename(QString newName, QString oldName)
{
    // An archived entry may lie in another folder than the recordings folder.
    FileButton *renamed = entryWithText(oldName);
    const QString folder = renamed ? QFileInfo(renamed->filePath()).absolutePath() : dataDir();
    const QString oldPath = folder + QLatin1Char('/') + oldName + QStringLiteral(".data");
    const QString newPath = folder + QLatin1Char('/') + newName + QStringLiteral(".data");
    if (QFile::exists(newPath)) {
        QMessageBox::critical(window, trMain(QT_TRANSLATE_NOOP("MainWindow", "重命名")),
                              trMain(QT_TRANSLATE_NOOP("MainWindow", "命名已存在")) + "!");
        return;
    }
    QString reason;
    if (audit && !audit->askReason(trMain(QT_TRANSLATE_NOOP("MainWindow", "重命名")), &reason))
        return;
    if (!QFile::rename(oldPath, newPath)) {
        if (audit)
            audit->renameFailed(QFileInfo(oldPath).fileName(), QFileInfo(newPath).fileName(),
                                reason);
        return;
    }
    if (audit)
        audit->renamed(QFileInfo(oldPath).fileName(), QFileInfo(newPath).fileName(),
                       RecordingReader::read(newPath), reason);
    if (oldName == view->recordingBaseName())
        view->setRecordingBaseName(newName);
    if (renamed) {
        renamed->setText(newName);
        renamed->setFilePath(newPath);
    }
    emit recordingRenamed(newPath);
}

void RecordingList::switchDelFile()
{
    selectMode = !selectMode;
    for (QAbstractButton *button : buttons->buttons()) {
        auto *entry = static_cast<FileButton *>(button);
        if (selectMode) {
            entry->setCheckable(true);
            entry->setChecked(false);
        }
        entry->setSelectMode(selectMode ? 1 : 0);
    }
    if (!selectMode)
        markShownEntry();
    form->delBtn->setVisible(selectMode);
    form->compareBtn->setVisible(selectMode);
    retranslate();
}

void RecordingList::delDataFiles()
{
    const QString shown = view->recordingBaseName();
    QStringList names;
    QStringList paths;
    for (QAbstractButton *button : buttons->buttons()) {
        auto *entry = static_cast<FileButton *>(button);
        // Only files on this computer are deleted here, never the archive's copies.
        if (entry->isChecked() && !entry->isRemote()) {
            names << entry->text();
            paths << entry->filePath();
        }
    }
    RecordingRemoval::Outcome outcome;
    if (!paths.isEmpty() && !removeFiles(paths, &outcome))
        return;
    bool shownDeleted = false;
    for (int i = 0; i < names.size(); ++i)
        shownDeleted = shownDeleted || (!shown.isEmpty() && names.at(i) == shown &&
                                        outcome.removed.contains(paths.at(i)));
    if (shownDeleted)
        view->clearRecording();
    loadFileButtons();
    switchDelFile();
    if (!outcome.failed.isEmpty())
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除失败")));
}

bool RecordingList::removeFiles(const QStringList &paths, RecordingRemoval::Outcome *outcome)
{
    if (!audit) {
        *outcome = RecordingRemoval::remove(paths, window);
        return true;
    }
    QString reason;
    if (!audit->askReason(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除")), &reason))
        return false;
    // Read before they go: the entries name the recordings by their fingerprints.
    QHash<QString, LoadedRecording> recordings;
    for (const QString &path : paths)
        recordings.insert(path, RecordingReader::read(path));
    *outcome = RecordingRemoval::remove(paths, window);
    for (const QString &path : qAsConst(outcome->removed))
        audit->deleted(path, recordings.value(path), !outcome->deletedForGood.contains(path),
                       reason);
    for (const QString &path : qAsConst(outcome->failed))
        audit->deleteFailed(path, recordings.value(path), reason);
    return true;
}
