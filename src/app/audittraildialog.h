// SPDX-License-Identifier: GPL-3.0-or-later
// AuditTrailDialog: the archive's audit trail as a filtered table, its check and its export.
#pragma once

#include "archive/archivelocation.h"
#include "archive/audittrail.h"

#include <QDialog>
#include <QVector>

class AuditEntryModel;
class AuditTrailFilterBar;
class QLabel;
class QPushButton;
class QTableView;

// Reads the trail with an archive connection of its own on a pool thread, so
// a large trail or a slow server never holds the window up, and checks the
// whole chain there too. The table shows the entries that pass the filters;
// an export writes exactly those, also off the window's thread.
class AuditTrailDialog : public QDialog
{
    Q_OBJECT
public:
    // The trail of the archive at `location`; with `sha256`, only the entries
    // about that recording.
    explicit AuditTrailDialog(const ArchiveLocation &location, const QString &sha256 = {},
                              QWidget *parent = nullptr);

    const QString &recordingSha256() const { return sha; }
    AuditTrailFilterBar *filterBar() const { return filters; }
    // The entries the table shows, in the trail's order.
    const QVector<AuditEntry> &shownEntries() const;
    // The line at the foot: the check's verdict, or why the trail could not be read.
    QString verificationText() const;
    // Writes the shown entries to `path`, as a PDF or a CSV file, on a pool thread.
    void exportTo(const QString &path, bool pdf);

signals:
    // The archive was read (or could not be) and the table filled.
    void loaded();
    // An export ended; `error` says why it failed.
    void exported(const QString &path, bool written, const QString &error);

protected:
    void changeEvent(QEvent *event) override;

private:
    struct Reading {
        QVector<AuditEntry> entries;
        AuditVerdict verdict;
        AuditHead head;
        QString error;
    };
    static Reading read(const ArchiveLocation &location, const QString &sha256);
    void showReading(const Reading &reading);
    void applyFilters();
    void chooseExport(bool pdf);
    // The note beside the export buttons, in the current language.
    void showExportState();
    void retranslate();

    ArchiveLocation where;
    QString sha;
    Reading trail;
    bool isLoaded = false;
    AuditTrailFilterBar *filters;
    AuditEntryModel *model;
    QTableView *table;
    QLabel *verification;
    QLabel *exportNote;
    enum class ExportState { None, Running, Written, Failed };
    ExportState exportState = ExportState::None;
    QString exportPath;
    QString exportError;
    QPushButton *csvButton;
    QPushButton *pdfButton;
};
