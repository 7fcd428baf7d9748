// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table's model: one row per sample, texts made when a cell is shown.
#include "views/datatablemodel.h"

#include "core/units.h"
#include "core/utils.h"

#include <QDateTime>

namespace
{

qint64 cellKey(int row, int column)
{
    return (qint64(row) << 8) | column;
}

} // namespace

DataTableModel::DataTableModel(int columnCount, QObject *parent)
    : QAbstractTableModel(parent), mHeaders(QVector<QString>(qMax(0, columnCount)).toList())
{
}

int DataTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mSamples.size();
}

int DataTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mHeaders.size();
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= mHeaders.size())
        return QVariant();
    return mHeaders.at(section);
}

bool DataTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                   int role)
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section > mHeaders.size())
        return false;
    if (section == mHeaders.size()) {
        beginInsertColumns(QModelIndex(), section, section);
        mHeaders.append(value.toString());
        endInsertColumns();
    } else {
        mHeaders[section] = value.toString();
    }
    emit headerDataChanged(orientation, section, section);
    return true;
}

QVariant DataTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mSamples.size())
        return QVariant();
    if (role == Qt::UserRole)
        return alarmFlag(index.row(), index.column());
    if (role != Qt::DisplayRole || index.column() >= cellCount())
        return QVariant();
    return cellText(index.row(), index.column());
}

bool DataTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= mSamples.size())
        return false;
    if (role == Qt::DisplayRole && index.column() < cellCount()) {
        mEditedTexts.insert(cellKey(index.row(), index.column()), value.toString());
    } else if (role == Qt::UserRole) {
        mEditedFlags.insert(index.row(), value.toBool());
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

void DataTableModel::clear()
{
    beginResetModel();
    // Assigned, not cleared: the samples are shared with the recording and
    // clearing a shared QVector copies it first.
    mSamples = QVector<SamplePoint>();
    mEditedTexts.clear();
    mEditedFlags.clear();
    endResetModel();
}

void DataTableModel::setSamples(const QVector<SamplePoint> &samples, int tempUnit,
                                bool withHumidity, bool alarmMarks, const AlarmLimits &limits)
{
    beginResetModel();
    mSamples = samples;
    mTempUnit = tempUnit;
    mWithHumidity = withHumidity;
    mAlarmMarks = alarmMarks;
    mLimits = limits;
    mEditedTexts.clear();
    mEditedFlags.clear();
    endResetModel();
}

QString DataTableModel::numberText(int row)
{
    return QString::number(row + 1);
}

QString DataTableModel::timeText(qint64 wallClockSecs)
{
    return QDateTime::fromSecsSinceEpoch(wallClockSecs, Qt::UTC)
        .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QString DataTableModel::temperatureCellText(float celsius, int tempUnit)
{
    const QString unit = temperatureUnitSymbol(tempUnit);
    if (celsius == noSampleTemperature)
        return QStringLiteral("---") + unit;
    return QString::number(fromCelsius(celsius, tempUnit), 'f', 1) + unit;
}

QString DataTableModel::humidityCellText(float humidity)
{
    if (humidity == noSampleHumidity)
        return QStringLiteral("---%RH");
    return QString::number(humidity, 'f', 1) + QStringLiteral("%RH");
}

QString DataTableModel::cellText(int row, int column) const
{
    if (!mEditedTexts.isEmpty()) {
        const auto edited = mEditedTexts.constFind(cellKey(row, column));
        if (edited != mEditedTexts.constEnd())
            return *edited;
    }
    const SamplePoint &sample = mSamples.at(row);
    switch (column) {
    case 0:
        return numberText(row);
    case 1:
        return timeText(sample.time);
    case 2:
        return temperatureCellText(sample.temperature, mTempUnit);
    default:
        return humidityCellText(sample.humidity);
    }
}

bool DataTableModel::alarmFlag(int row, int column) const
{
    if (!mEditedFlags.isEmpty()) {
        const auto edited = mEditedFlags.constFind(row);
        if (edited != mEditedFlags.constEnd())
            return *edited;
    }
    if (!mAlarmMarks)
        return false;
    const SamplePoint &sample = mSamples.at(row);
    const bool temperature = mLimits.temperatureState(sample.temperature) != 0;
    const bool humidity = mWithHumidity && mLimits.humidityState(sample.humidity) != 0;
    switch (column) {
    case 2:
        return temperature;
    case 3:
        return humidity;
    default:
        return temperature || humidity;
    }
}
