// SPDX-License-Identifier: GPL-3.0-or-later
// AuditEntryModel: the audit trail window's table, one entry a row.
#pragma once

#include "core/auditentry.h"

#include <QAbstractTableModel>
#include <QVector>

class AuditEntryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Seq, Time, User, Computer, Kind, Serial, Details, Reason, ColumnCount };

    explicit AuditEntryModel(QObject *parent = nullptr);

    void setEntries(const QVector<AuditEntry> &shown);
    const QVector<AuditEntry> &entries() const { return rows; }
    // The language changed: the view asks for the titles and texts again.
    void retranslate();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<AuditEntry> rows;
};
