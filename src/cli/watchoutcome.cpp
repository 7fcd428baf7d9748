// SPDX-License-Identifier: GPL-3.0-or-later
// WatchOutcome: what `hygra-cli watch` did with one logger, and its line of JSON.
#include "cli/watchoutcome.h"

#include "core/lgxdevtype.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace
{
QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue pathOrNull(const QString &path)
{
    return textOrNull(QDir::toNativeSeparators(path));
}

// QJsonObject sorts its keys; the line keeps the order a reader expects, so
// each value is written on its own.
QByteArray valueText(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}
} // namespace

QByteArray WatchOutcome::jsonLine() const
{
    QList<QPair<const char *, QJsonValue>> fields = {
        {"serial", textOrNull(serial)},
        {"model", textOrNull(modelName(model))},
        {"file", pathOrNull(file)},
        {"pdf", pathOrNull(pdf)},
        {"csv", pathOrNull(csv)},
        {"xlsx", pathOrNull(xlsx)},
        {"samples", samples < 0 ? QJsonValue() : QJsonValue(samples)},
        {"alarm", alarm ? QJsonValue(*alarm) : QJsonValue()},
    };
    if (!skipped.isEmpty())
        fields.append({"skipped", skipped});
    if (!error.isEmpty())
        fields.append({"error", error});
    QByteArray line = "{";
    for (const auto &field : fields) {
        if (line.size() > 1)
            line += ", ";
        line += '"' + QByteArray(field.first) + "\": " + valueText(field.second);
    }
    return line + "}\n";
}
