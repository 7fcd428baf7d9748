// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of opening a recording: read, decode, classify, table, chart series and summary.
#include "benchrecording.h"
#include "benchregistry.h"
#include "core/utils.h"
#include "recording/recordingreader.h"
#include "views/datachartwidget.h"
#include "views/datadevinfowidget.h"
#include "views/datashowwidget.h"
#include "views/datatablemodel.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <unistd.h>

namespace
{

constexpr int runs = 11;
// Opens before the timed ones, so thread pool, fonts and the heap have settled.
constexpr int warmUps = 3;

// The row-by-row approach: every sample becomes a row of QStrings inserted
// with its own beginInsertRows/endInsertRows.
class LiteralTableModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : mRows.size();
    }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return QVariant();
        return mRows.at(index.row()).cells.value(index.column());
    }
    void clear()
    {
        beginResetModel();
        mRows.clear();
        endResetModel();
    }
    void addRow(int position, const QStringList &cells, bool alarm)
    {
        beginInsertRows(QModelIndex(), position, position);
        mRows.insert(position, {alarm, cells});
        endInsertRows();
    }

private:
    struct Row {
        bool alarm;
        QStringList cells;
    };
    QVector<Row> mRows;
};

void fillLiteral(LiteralTableModel &model, const LoadedRecording &loaded)
{
    const int unit = loaded.recording.tempUnit;
    for (int i = 0; i < loaded.samples.size(); ++i) {
        const SamplePoint &s = loaded.samples.at(i);
        QStringList cells{DataTableModel::numberText(i), DataTableModel::timeText(s.time),
                          DataTableModel::temperatureCellText(s.temperature, unit),
                          DataTableModel::humidityCellText(s.humidity)};
        model.addRow(i, cells, s.isAlarm && s.temperature != -1000 && s.humidity != -10);
    }
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

// Opens `path` and waits until the view shows it; false when it could not.
bool openAndWait(DataShowWidget &view, const QString &path)
{
    QEventLoop shown;
    bool ok = false;
    QObject::connect(&view, &DataShowWidget::recordingOpened, &shown,
                     [&](const QString &, RecordingStatus status) {
                         ok = status == RecordingStatus::Loaded;
                         shown.quit();
                     });
    view.openRecording(path);
    shown.exec();
    return ok;
}

// Opens `path` in place of the shown recording, as picking one file after
// another in the list does.
double timeOpen(DataShowWidget &view, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const bool ok = openAndWait(view, path);
    return ok ? timer.nsecsElapsed() / 1e6 : -1;
}

void openFigures(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("HX20D_64512.data"));
    const QString large = dir.filePath(QStringLiteral("HX20D_1000000.data"));
    if (!writeBenchRecording(small, 64512) || !writeBenchRecording(large, 1000000))
        return;

    // Both approaches draw into shown widgets of the window's size, as a user
    // opening a recording sees them.
    DataShowWidget view;
    view.resize(1200, 800);
    view.show();

    DataChartWidget chart;
    chart.resize(1200, 500);
    chart.show();
    DataDevInfoWidget summary;
    QTableView table;
    LiteralTableModel model;
    table.setModel(&model);
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(40);
    table.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    table.resize(1200, 300);
    table.show();
    QCoreApplication::processEvents();

    for (int i = 0; i < warmUps; ++i)
        timeOpen(view, small);

    QVector<double> lazy;
    QVector<double> literal;
    for (int i = 0; i < runs; ++i) {
        lazy.append(timeOpen(view, small));

        QElapsedTimer timer;
        timer.start();
        model.clear();
        const LoadedRecording loaded = RecordingReader::read(small);
        fillLiteral(model, loaded);
        chart.showRecording(loaded.samples, loaded.recording, true);
        summary.fillFromRecording(loaded.recording);
        literal.append(timer.nsecsElapsed() / 1e6);
    }
    print(QStringLiteral("open_64512_ms"), median(lazy), QStringLiteral("ms"));
    print(QStringLiteral("open_64512_literal_ms"), median(literal), QStringLiteral("ms"));

    // The memory growth of the first large open from an empty view, then the
    // time of later ones.
    view.clearRecording();
    const double before = residentMb();
    if (!openAndWait(view, large))
        return;
    const double growth = residentMb() - before;
    QVector<double> largeTimes;
    for (int i = 0; i < 5; ++i)
        largeTimes.append(timeOpen(view, large));
    print(QStringLiteral("open_1000000_ms"), median(largeTimes), QStringLiteral("ms"));
    print(QStringLiteral("open_1000000_rss_mb"), growth, QStringLiteral("MB"));
}

const bool registered = registerFigureGroup("open", &openFigures);

} // namespace
