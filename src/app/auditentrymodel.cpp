// SPDX-License-Identifier: GPL-3.0-or-later
// AuditEntryModel: the audit trail window's table, one entry a row.
#include "app/auditentrymodel.h"

#include "export/audittrailexport.h"

AuditEntryModel::AuditEntryModel(QObject *parent) : QAbstractTableModel(parent) {}

void AuditEntryModel::setEntries(const QVector<AuditEntry> &shown)
{
    beginResetModel();
    rows = shown;
    endResetModel();
}

void AuditEntryModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!rows.isEmpty())
        emit dataChanged(index(0, 0), index(rows.size() - 1, ColumnCount - 1));
}

int AuditEntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int AuditEntryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AuditEntryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const AuditEntry &e = rows.at(index.row());
    if (role == Qt::ToolTipRole) {
        // The whole entry, hash included, for the cells the table cuts short.
        if (index.column() == Details)
            return AuditTrailTexts::detailsText(e.details);
        return e.sha256.isEmpty() ? e.hash : QStringLiteral("SHA-256 %1\n%2").arg(e.sha256, e.hash);
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Seq:
        return e.seq;
    case Time:
        return AuditTrailTexts::localTime(e.time);
    case User:
        return e.user;
    case Computer:
        return e.computer;
    case Kind:
        return e.kind;
    case Serial:
        return e.serial;
    case Details:
        return AuditTrailTexts::detailsText(e.details);
    case Reason:
        return e.reason;
    default:
        return {};
    }
}

QVariant AuditEntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Seq:
        return tr("序号");
    case Time:
        return tr("时间");
    case User:
        return tr("用户");
    case Computer:
        return tr("计算机");
    case Kind:
        return tr("类型");
    case Serial:
        return tr("序列号");
    case Details:
        return tr("详情");
    case Reason:
        return tr("原因");
    default:
        return {};
    }
}
