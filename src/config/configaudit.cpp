// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configaudit.h"

#include "config/configjson.h"

namespace configaudit
{
namespace
{
QJsonObject change(const QJsonValue &before, const QJsonValue &after)
{
    return {{QStringLiteral("old"), before}, {QStringLiteral("new"), after}};
}
} // namespace

QJsonObject changes(const OneConfigCmdStruct &before, const OneConfigCmdStruct &after)
{
    const QJsonObject old = ConfigJson::toJson(before, QString());
    const QJsonObject now = ConfigJson::toJson(after, QString());
    QJsonObject result;
    for (auto it = now.begin(); it != now.end(); ++it) {
        const QJsonValue was = old.value(it.key());
        if (it.key() == QLatin1String("note") || was == it.value())
            continue;
        if (!it.value().isObject()) {
            result.insert(it.key(), change(was, it.value()));
            continue;
        }
        const QJsonObject wasMembers = was.toObject();
        const QJsonObject members = it.value().toObject();
        for (auto member = members.begin(); member != members.end(); ++member) {
            if (wasMembers.value(member.key()) != member.value())
                result.insert(it.key() + QLatin1Char('.') + member.key(),
                              change(wasMembers.value(member.key()), member.value()));
        }
    }
    return result;
}

QJsonObject writeDetails(const OneConfigCmdStruct &before, const OneConfigCmdStruct &after,
                         bool erasedRecording)
{
    return {{QStringLiteral("changes"), changes(before, after)},
            {QStringLiteral("erasedRecording"), erasedRecording}};
}

QJsonObject noteDetails(const QString &before, const QString &after)
{
    return {{QStringLiteral("old"), before}, {QStringLiteral("new"), after}};
}
} // namespace configaudit
