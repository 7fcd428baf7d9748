// SPDX-License-Identifier: GPL-3.0-or-later
// AuditTrailDialog: the archive's audit trail as a filtered table, its check and its export.
#include "app/audittraildialog.h"

#include "app/auditentrymodel.h"
#include "app/audittrailfilterbar.h"
#include "archive/archive.h"
#include "archive/auditlog.h"
#include "core/settinginfo.h"
#include "export/audittrailexport.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent>

AuditTrailDialog::AuditTrailDialog(const ArchiveLocation &location, const QString &sha256,
                                   QWidget *parent)
    : QDialog(parent), where(location), sha(sha256)
{
    setObjectName(QStringLiteral("AuditTrailDialog"));
    resize(1120, 620);
    filters = new AuditTrailFilterBar(this);
    model = new AuditEntryModel(this);
    table = new QTableView(this);
    table->setObjectName(QStringLiteral("auditTable"));
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {50, 170, 130, 100, 110, 110, 230};
    for (int c = 0; c < int(sizeof widths / sizeof *widths); ++c)
        table->setColumnWidth(c, widths[c]);
    verification = new QLabel(this);
    verification->setObjectName(QStringLiteral("verification"));
    verification->setWordWrap(true);
    verification->setTextInteractionFlags(Qt::TextSelectableByMouse);
    exportNote = new QLabel(this);
    exportNote->setObjectName(QStringLiteral("exportNote"));
    exportNote->setWordWrap(true);
    csvButton = new QPushButton(this);
    csvButton->setObjectName(QStringLiteral("csvButton"));
    pdfButton = new QPushButton(this);
    pdfButton->setObjectName(QStringLiteral("pdfButton"));
    csvButton->setEnabled(false);
    pdfButton->setEnabled(false);

    auto *foot = new QHBoxLayout;
    foot->addWidget(exportNote, 1);
    foot->addWidget(csvButton);
    foot->addWidget(pdfButton);
    auto *column = new QVBoxLayout(this);
    column->addWidget(filters);
    column->addWidget(table, 1);
    column->addWidget(verification);
    column->addLayout(foot);
    retranslate();

    connect(filters, &AuditTrailFilterBar::changed, this, &AuditTrailDialog::applyFilters);
    connect(csvButton, &QPushButton::clicked, this, [this] { chooseExport(false); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { chooseExport(true); });
    connect(this, &AuditTrailDialog::exported, this,
            [this](const QString &path, bool written, const QString &error) {
                exportState = written ? ExportState::Written : ExportState::Failed;
                exportPath = path;
                exportError = error;
                showExportState();
            });

    auto *watcher = new QFutureWatcher<Reading>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        showReading(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(&AuditTrailDialog::read, location, sha256));
}

AuditTrailDialog::Reading AuditTrailDialog::read(const ArchiveLocation &location,
                                                 const QString &sha256)
{
    Reading reading;
    Archive archive;
    if (!archive.open(location)) {
        reading.error = archive.errorText();
        return reading;
    }
    AuditFilter filter;
    filter.sha256 = sha256;
    reading.entries = archive.auditEntries(filter);
    if (!archive.auditHead(&reading.head))
        reading.error = archive.errorText();
    reading.verdict = AuditLog(location).verify(archive);
    return reading;
}

void AuditTrailDialog::showReading(const Reading &reading)
{
    trail = reading;
    isLoaded = true;
    QSet<QString> kinds;
    for (const AuditEntry &entry : trail.entries)
        kinds.insert(entry.kind);
    filters->setKinds(kinds.values());
    verification->setText(verificationText());
    applyFilters();
    // The short columns as wide as their texts, in the window's font.
    for (const int column : {AuditEntryModel::Time, AuditEntryModel::Kind, AuditEntryModel::Serial})
        table->resizeColumnToContents(column);
    emit loaded();
}

void AuditTrailDialog::applyFilters()
{
    QVector<AuditEntry> shown;
    for (const AuditEntry &entry : qAsConst(trail.entries)) {
        if (filters->matches(entry))
            shown.append(entry);
    }
    model->setEntries(shown);
    csvButton->setEnabled(isLoaded && !shown.isEmpty());
    pdfButton->setEnabled(isLoaded && !shown.isEmpty());
}

const QVector<AuditEntry> &AuditTrailDialog::shownEntries() const
{
    return model->entries();
}

QString AuditTrailDialog::verificationText() const
{
    if (!isLoaded)
        return tr("正在读取审计追踪…");
    if (!trail.error.isEmpty())
        return tr("无法读取审计追踪：%1").arg(trail.error);
    return AuditTrailTexts::verdictText(trail.verdict);
}

void AuditTrailDialog::chooseExport(bool pdf)
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("导出审计追踪"),
                                     QDir::home().filePath(pdf ? QStringLiteral("audit-trail.pdf")
                                                               : QStringLiteral("audit-trail.csv")),
                                     pdf ? tr("PDF 文件 (*.pdf)") : tr("CSV 文件 (*.csv)"));
    if (!path.isEmpty())
        exportTo(path, pdf);
}

void AuditTrailDialog::exportTo(const QString &path, bool pdf)
{
    AuditTrailExport document;
    document.entries = shownEntries();
    QStringList shown;
    if (!sha.isEmpty())
        shown << tr("记录 %1").arg(sha);
    if (!filters->description().isEmpty())
        shown << filters->description();
    document.filter = shown.isEmpty() ? tr("全部条目") : shown.join(QStringLiteral("; "));
    document.verification = verificationText();
    document.head = trail.head;
    const bool english = isEnglish();
    exportState = ExportState::Running;
    showExportState();
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        // The writers always say why they failed.
        const QString error = watcher->result();
        emit exported(path, error.isEmpty(), error);
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([document, path, pdf, english] {
        QString error;
        const bool written = pdf ? audittrailexport::writePdf(path, document, english, &error)
                                 : audittrailexport::writeCsv(path, document, &error);
        return written ? QString() : error;
    }));
}

void AuditTrailDialog::showExportState()
{
    switch (exportState) {
    case ExportState::None:
        exportNote->clear();
        break;
    case ExportState::Running:
        exportNote->setText(tr("正在导出…"));
        break;
    case ExportState::Written:
        exportNote->setText(tr("已导出到 %1").arg(QDir::toNativeSeparators(exportPath)));
        break;
    case ExportState::Failed:
        exportNote->setText(tr("导出失败：%1").arg(exportError));
        break;
    }
}

void AuditTrailDialog::retranslate()
{
    setWindowTitle(sha.isEmpty() ? tr("审计追踪")
                                 : tr("此记录的审计追踪") + QStringLiteral(" ") + sha.left(12));
    csvButton->setText(tr("导出 CSV"));
    pdfButton->setText(tr("导出 PDF"));
    verification->setText(verificationText());
    showExportState();
    model->retranslate();
}

void AuditTrailDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
