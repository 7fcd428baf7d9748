// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table below the chart: one row per sample with alarm rows in red.
#include "views/datatablewidget.h"

#include "views/dataheaderview.h"
#include "views/datatablemodel.h"
#include "views/datatablemodeldelegate.h"

#include <QScrollBar>

DataTableWidget::DataTableWidget(QWidget *parent)
    : QTableView(parent), mHeader(new DataHeaderView(Qt::Horizontal, this)),
      mModel(new DataTableModel(5, this)), mDelegate(new DataTableModelDelegate(this))
{
    setModel(mModel);
    setItemDelegate(mDelegate);
    mHeader->setFixedHeight(40);
    setHorizontalHeader(mHeader);
    // A stretched last section never shrinks below the size it had when the
    // stretching began; starting it at the minimum lets it fill only what the
    // other columns leave, without a scroll bar while they fit.
    mHeader->resizeSection(mModel->columnCount() - 1, mHeader->minimumSectionSize());
    mHeader->setStretchLastSection(true);
    setShowGrid(false);
    mHeader->setHighlightSections(false);
    verticalHeader()->hide();
    setStyleSheet(QStringLiteral("QTableView{border:none;}"));
}

void DataTableWidget::setHeaderLabels(const QStringList &labels)
{
    for (int i = 0; i < labels.size(); ++i)
        mModel->setHeaderData(i, Qt::Horizontal, labels.at(i), Qt::DisplayRole);
}

void DataTableWidget::showSamples(const QVector<SamplePoint> &samples, int tempUnit,
                                  bool withHumidity, bool alarmMarks, const AlarmLimits &limits)
{
    mModel->setSamples(samples, tempUnit, withHumidity, alarmMarks, limits);
}

void DataTableWidget::clearRows()
{
    clearSelection();
    mModel->clear();
}

void DataTableWidget::makeRowCurrent(int row)
{
    setCurrentIndex(mModel->index(row, 0));
}

void DataTableWidget::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

void DataTableWidget::fitColumns()
{
    // The room the vertical scroll bar takes once there are enough rows is
    // kept free, so that it never pushes the last column out of view.
    const int dataColumns = mModel->columnCount() - 1;
    const int room = viewport()->width() - mHeader->minimumSectionSize() -
                     (verticalScrollBar()->isVisible() ? 0 : verticalScrollBar()->sizeHint().width());
    const int width = qBound(narrowestColumn, room / dataColumns, widestColumn);
    for (int column = 0; column < dataColumns; ++column)
        setColumnWidth(column, width);
}
