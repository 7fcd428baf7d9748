// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table below the chart: one row per sample with alarm rows in red.
#pragma once

#include "recording/alarmlimits.h"
#include "recording/samplepoint.h"

#include <QTableView>
#include <QVector>

class DataHeaderView;
class DataTableModel;
class DataTableModelDelegate;

class DataTableWidget : public QTableView
{
    Q_OBJECT
public:
    explicit DataTableWidget(QWidget *parent = nullptr);

    // setHeaderData(i, Horizontal, labels[i]) for each label in order.
    void setHeaderLabels(const QStringList &labels);
    // One row per sample; see DataTableModel::setSamples.
    void showSamples(const QVector<SamplePoint> &samples, int tempUnit, bool withHumidity,
                     bool alarmMarks, const AlarmLimits &limits);
    // Clears the selection, then every row.
    void clearRows();
    // Makes the cell (row, 0) current.
    void makeRowCurrent(int row);

    // Each of the four data columns is this wide at most, and narrows down to
    // the minimum when the table is narrower, before it scrolls sideways.
    static constexpr int widestColumn = 200;
    static constexpr int narrowestColumn = 136;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitColumns();

    DataHeaderView *mHeader;
    DataTableModel *mModel;
    DataTableModelDelegate *mDelegate;
};
