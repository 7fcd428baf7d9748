// SPDX-License-Identifier: GPL-3.0-or-later
// The recording list of the main window: entries for the files in the recordings folder.
#pragma once

#include "app/archivesearch.h"
#include "app/recordingremoval.h"
#include "archive/archivelocation.h"
#include "recording/loadedrecording.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class ArchiveSearchRunner;
class DataShowWidget;
class FileButton;
class MainWindowForm;
class QAbstractButton;
class QButtonGroup;
class QWidget;
class WindowAudit;

// Builds the entries in the form's scroll area, opens and closes recordings in
// the view container, deletes and renames files, and runs the selection mode.
// Entries know only their paths; everything that touches the disk is here.
// While the search above the list is in use, the entries are the archive's
// matches instead of the folder's files; recordings that are not on this
// computer open from a copy of the archive's bytes. The search runs off the
// GUI thread, the newest request winning; the list is rebuilt when its result
// comes, with a line above it when the search left entries out or found none.
// The folder's files are listed newest first, as the search lists them.
// Signed recordings say so, with their signature's meaning, in their second
// line; the folder's entries learn it from the search's thread after listing.
class RecordingList : public QObject
{
    Q_OBJECT
public:
    // The most entries one search builds, so that a keystroke stays fast.
    static constexpr int maxSearchEntries = 200;

    RecordingList(MainWindowForm *form, DataShowWidget *view, QWidget *window);
    ~RecordingList() override;

    // Searches `location` from now on (opened at the first search).
    void useArchive(const ArchiveLocation &location);
    // Deletes and renames ask `audit` for a reason and report to it.
    void useAudit(WindowAudit *windowAudit) { audit = windowAudit; }

    void loadFileButtons();
    void addFileButton(const QString &filePath);
    // Starts showing the recording; once it is shown its entry is checked and
    // its logger's chosen evaluation applied, a notice tells of a failure.
    // False, with that notice at once, when there is no path to open.
    bool openDataFile(const QString &filePath);
    // Shows the recording a download just read into memory from `path`, as
    // openDataFile does without reading the file again.
    void openDownloaded(const QString &path, const LoadedRecording &recording);
    // Places the entries again after the window was resized.
    void layoutEntries();
    bool isSelectMode() const { return selectMode; }
    // The window's own connection to the archive; null without an archive.
    ArchiveSearch *archiveSearch() const { return search.get(); }
    QButtonGroup *group() const { return buttons; }
    void retranslate();

public slots:
    void delFileBtnOptSignal(QString filePath, int optNum);
    void delUpdateRename(QString newName, QString oldName);
    void switchDelFile();
    void delDataFiles();
    // The search changed: the archive's matches (when they come), or the
    // folder again at once when it was cleared; the list starts from its top.
    void searchChanged();
    // Shows the marked entries (2 to 8) on one chart.
    void compareSelected();
    // Shows every archived recording of the logger merged into one series.
    void showHistory(const QString &serial);
    // Reads the shown recording's comments and signatures from the archive
    // into the view.
    void showReview();
    // Asks for the audit trail of the entry's recording, by its fingerprint.
    void showAuditTrail(FileButton *entry);

signals:
    void sendMessage(QString msg);
    // A recording file now lies at `path` under its new name; the archive is told.
    void recordingRenamed(const QString &path);
    // The entries for the search as it stands are in place: the archive's
    // matches, or the folder's files when the search is off or cannot be used.
    void searchShown();
    // The shown search's entries were checked against their bytes; those that
    // failed are marked.
    void searchVerified();
    // The folder's entries were asked for their signatures; the signed ones are marked.
    void signaturesShown();
    // The audit trail of the recording whose fingerprint is `sha256` is wanted.
    void auditTrailRequested(const QString &sha256);

private:
    void entryClicked(QAbstractButton *button);
    // The view's verdict on an open: the follow-up of a shown recording, or the notice.
    void recordingOpened(const QString &path, RecordingStatus status);
    FileButton *createEntry(const QString &filePath, int index);
    void removeEntries();
    // Lists the folder's files; returns their paths in the list's order.
    QStringList loadFolderEntries();
    void showSearchResult(const ArchiveSearch::Result &found);
    void markUnverified(int number, const QStringList &unverified);
    // The folder's signed entries get their signature's title as their second line.
    void markSigned(int number, const ArchiveSearch::FolderSignatures &signatures);
    // Keeps a choice made on the summary page in the archive for the logger.
    void rememberEvaluation(const QString &serial, const std::optional<ChosenEvaluation> &evaluation);
    void loadSearchEntries(const ArchiveSearch::Result &found);
    // What the search above the list left out, or why it found nothing; empty for the folder.
    void setListNote(const QString &text);
    // New entries take the selection mode and the shown recording's mark.
    void entriesRebuilt();
    void openArchived(FileButton *entry);
    // A path the views can open for the entry; empty when there is none.
    QString openablePath(FileButton *entry);
    static QString archivedName(const ArchiveEntry &entry);
    void setContentsHeight(int entries);
    // The entry of the shown recording checked, every other one plain.
    void markShownEntry();
    FileButton *entryWithText(const QString &text) const;
    // Removes `paths` after asking for a reason, and reports each file's end; false when the
    // user cancelled.
    bool removeFiles(const QStringList &paths, RecordingRemoval::Outcome *outcome);

    MainWindowForm *form;
    DataShowWidget *view;
    QWidget *window;
    QButtonGroup *buttons;
    bool selectMode = false;
    // On the GUI thread: opening archived recordings and a logger's history.
    std::unique_ptr<ArchiveSearch> search;
    std::unique_ptr<ArchiveSearchRunner> runner;
    // The next rebuild shows the list from its top: the filter changed.
    bool scrollToTop = false;
    // Hidden entries of earlier rebuilds, used again by the next one.
    QVector<FileButton *> spareEntries;
    WindowAudit *audit = nullptr;
};
