// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/reviewlists.h"

#include <QJsonArray>

namespace
{
const QString textKey = QStringLiteral("text");
const QString textZhKey = QStringLiteral("text_zh");
const QString meaningKey = QStringLiteral("meaning");
const QString titleKey = QStringLiteral("title");
const QString titleZhKey = QStringLiteral("title_zh");
const QString readerKey = QStringLiteral("reader_may_sign");
const QString finalKey = QStringLiteral("final");

QJsonArray choicesJson(const QVector<ReviewChoice> &choices)
{
    QJsonArray array;
    for (const ReviewChoice &choice : choices)
        array.append(QJsonObject{{textKey, choice.text}, {textZhKey, choice.textZh}});
    return array;
}

// The objects of the array `json` holds under `key`; false with `why` for anything else.
bool objectsOf(const QJsonObject &json, const QString &key, QVector<QJsonObject> *objects,
               QString *why)
{
    const QJsonValue value = json.value(key);
    if (!value.isArray()) {
        *why = QStringLiteral("\"%1\" must be an array").arg(key);
        return false;
    }
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isObject()) {
            *why = QStringLiteral("every item of \"%1\" must be an object").arg(key);
            return false;
        }
        objects->append(item.toObject());
    }
    return true;
}

bool choicesFrom(const QJsonObject &json, const QString &key, QVector<ReviewChoice> *choices,
                 QString *why)
{
    if (!json.contains(key))
        return true;
    QVector<QJsonObject> objects;
    if (!objectsOf(json, key, &objects, why))
        return false;
    choices->clear();
    for (const QJsonObject &object : objects)
        choices->append({object.value(textKey).toString(), object.value(textZhKey).toString()});
    return true;
}
} // namespace

namespace reviewlists
{

QJsonObject toJson(const ReviewLists &lists)
{
    QJsonArray meanings;
    for (const SignatureMeaning &m : lists.meanings)
        meanings.append(QJsonObject{{meaningKey, m.meaning},
                                    {titleKey, m.title},
                                    {titleZhKey, m.titleZh},
                                    {readerKey, m.readerMaySign},
                                    {finalKey, m.final}});
    return {{QStringLiteral("reasons"), choicesJson(lists.reasons)},
            {QStringLiteral("actions"), choicesJson(lists.actions)},
            {QStringLiteral("meanings"), meanings}};
}

bool fromJson(const QJsonObject &json, ReviewLists *lists, QString *why)
{
    if (!choicesFrom(json, QStringLiteral("reasons"), &lists->reasons, why) ||
        !choicesFrom(json, QStringLiteral("actions"), &lists->actions, why))
        return false;
    const QString meaningsKey = QStringLiteral("meanings");
    if (!json.contains(meaningsKey))
        return true;
    QVector<QJsonObject> objects;
    if (!objectsOf(json, meaningsKey, &objects, why))
        return false;
    lists->meanings.clear();
    for (const QJsonObject &o : objects)
        lists->meanings.append({o.value(meaningKey).toString(), o.value(titleKey).toString(),
                                o.value(titleZhKey).toString(), o.value(readerKey).toBool(),
                                o.value(finalKey).toBool()});
    return true;
}

} // namespace reviewlists
