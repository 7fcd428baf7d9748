// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table's model: one row per sample, texts made when a cell is shown.
#pragma once

#include "recording/alarmlimits.h"
#include "recording/samplepoint.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QVector>

// Rows are the samples of a recording. A cell's text is formatted on demand
// from its sample, so opening a recording costs nothing per row; cells
// replaced through setData are kept aside and win over the formatted text.
// Qt::UserRole is the alarm flag: of the row for the number and the time, of
// the value itself for the temperature and the humidity, so a humid spell
// does not colour the temperature.
class DataTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataTableModel(int columnCount, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::DisplayRole) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Drops every row.
    void clear();
    // Replaces the rows by one row per sample: number, date and time,
    // temperature in `tempUnit` and, with humidity, humidity. While
    // `alarmMarks` is on, a value beyond its own quantity's `limits` is
    // flagged, and its row with it; a missing value never is.
    void setSamples(const QVector<SamplePoint> &samples, int tempUnit, bool withHumidity,
                    bool alarmMarks, const AlarmLimits &limits);

    // The cell texts: row number (1-based), UTC date and time of wall-clock
    // seconds, temperature ("---" when missing) and humidity.
    static QString numberText(int row);
    static QString timeText(qint64 wallClockSecs);
    static QString temperatureCellText(float celsius, int tempUnit);
    static QString humidityCellText(float humidity);

private:
    int cellCount() const { return mWithHumidity ? 4 : 3; }
    QString cellText(int row, int column) const;
    bool alarmFlag(int row, int column) const;

    QStringList mHeaders;
    QVector<SamplePoint> mSamples;
    int mTempUnit = 0;
    bool mWithHumidity = true;
    bool mAlarmMarks = true;
    AlarmLimits mLimits;
    QHash<qint64, QString> mEditedTexts;
    QHash<int, bool> mEditedFlags;
};
