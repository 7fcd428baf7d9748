// SPDX-License-Identifier: GPL-3.0-or-later
// Writing entries of the audit trail as a CSV file or a printable PDF, with their fingerprint.
#include "export/audittrailexport.h"

#include "export/exportfile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QStringList>
#include <algorithm>

namespace
{

QString valueText(const QJsonValue &value);

// A change, as the configuration and rename entries hold them.
bool isChange(const QJsonObject &object)
{
    return object.size() == 2 && object.contains(QStringLiteral("old")) &&
           object.contains(QStringLiteral("new"));
}

QString objectText(const QJsonObject &object, const QString &separator)
{
    if (isChange(object))
        return valueText(object.value(QStringLiteral("old"))) + QStringLiteral(" → ") +
               valueText(object.value(QStringLiteral("new")));
    QStringList keys = object.keys();
    std::sort(keys.begin(), keys.end());
    QStringList parts;
    for (const QString &key : qAsConst(keys))
        parts << key + QStringLiteral(": ") + valueText(object.value(key));
    return parts.join(separator);
}

QString valueText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool() ? AuditTrailTexts::tr("是") : AuditTrailTexts::tr("否");
    case QJsonValue::Double:
        return QString::number(value.toVariant().toLongLong());
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Array: {
        QStringList items;
        for (const QJsonValue &item : value.toArray())
            items << valueText(item);
        return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        const QString text = objectText(object, QStringLiteral(", "));
        return isChange(object) ? text : QLatin1Char('(') + text + QLatin1Char(')');
    }
    default:
        return QStringLiteral("—");
    }
}

// One CSV cell: quoted when it holds a separator, a quote or a line break.
QString csvCell(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvRow(const QStringList &cells)
{
    QStringList quoted;
    for (const QString &cell : cells)
        quoted << csvCell(cell);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

} // namespace

QString AuditTrailTexts::headText(const AuditHead &head)
{
    if (head.seq <= 0)
        return QString();
    return tr("审计追踪：第 %1 条，哈希 %2").arg(head.seq).arg(head.hash);
}

QString AuditTrailTexts::verdictText(const AuditVerdict &verdict)
{
    if (!verdict.readable)
        return tr("无法核验审计追踪：%1").arg(verdict.problem);
    if (!verdict.whole)
        return tr("审计追踪在第 %1 条处不完整：%2").arg(verdict.badSeq).arg(verdict.problem);
    if (verdict.entries == 0)
        return tr("已核验：审计追踪为空");
    return tr("已核验：%1 条，链条完整；最新条目 %2，哈希 %3")
        .arg(verdict.entries)
        .arg(verdict.lastSeq)
        .arg(verdict.lastHash);
}

QString AuditTrailTexts::fingerprintText(const QString &fingerprint)
{
    return tr("本导出的指纹 (SHA-256)：%1").arg(fingerprint);
}

QString AuditTrailTexts::detailsText(const QJsonObject &details)
{
    return objectText(details, QStringLiteral("; "));
}

QString AuditTrailTexts::localTime(const QString &utc)
{
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : utc;
}

namespace audittrailexport
{

QString fingerprint(const QVector<AuditEntry> &entries)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const AuditEntry &entry : entries) {
        hash.addData(audit::canonicalJson(audit::toJson(entry)));
        hash.addData("\n", 1);
    }
    return QString::fromLatin1(hash.result().toHex());
}

QStringList csvColumns()
{
    return {QStringLiteral("seq"),      QStringLiteral("time"),    QStringLiteral("user"),
            QStringLiteral("computer"), QStringLiteral("kind"),    QStringLiteral("sha256"),
            QStringLiteral("serial"),   QStringLiteral("details"), QStringLiteral("reason"),
            QStringLiteral("prev"),     QStringLiteral("hash")};
}

bool writeCsv(const QString &path, const AuditTrailExport &trail, QString *error)
{
    ExportFile file(path);
    if (!file.open())
        return file.fail(error);
    bool written = file.write("\xEF\xBB\xBF" + csvRow(csvColumns()).toUtf8());
    for (int i = 0; written && i < trail.entries.size(); ++i) {
        const AuditEntry &e = trail.entries.at(i);
        written = file.write(
            csvRow({QString::number(e.seq), e.time, e.user, e.computer, e.kind, e.sha256, e.serial,
                    QString::fromUtf8(audit::canonicalJson(e.details)), e.reason, e.prev, e.hash})
                .toUtf8());
    }
    if (written)
        file.write(csvRow({trail.verification}).toUtf8() +
                   csvRow({AuditTrailTexts::fingerprintText(fingerprint(trail.entries))}).toUtf8());
    return file.commit() || file.fail(error);
}

} // namespace audittrailexport
