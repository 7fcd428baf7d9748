// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's review in the archive: its comments and signatures, and the lists they choose from.
#include "archive/archive.h"

#include "archive/archiveschema.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace
{
QString listName(ReviewChoice::List list)
{
    return QLatin1String(list == ReviewChoice::Reason ? "reason" : "action");
}
} // namespace

bool Archive::review(const QString &sha256, RecordingReview *review)
{
    error.clear();
    AuditFilter filter;
    filter.sha256 = sha256;
    const QVector<AuditEntry> entries = auditEntries(filter);
    if (!error.isEmpty())
        return false;
    *review = RecordingReview::fromTrail(sha256, entries);
    if (review->signatures.isEmpty())
        return true;
    QHash<QString, SignatureMeaning> titled;
    for (const SignatureMeaning &meaning : signatureMeanings())
        titled.insert(meaning.meaning, meaning);
    if (!error.isEmpty())
        return false;
    for (ReviewSignature &signature : review->signatures) {
        const auto found = titled.constFind(signature.meaning);
        if (found != titled.constEnd()) {
            signature.title = found->title;
            signature.titleZh = found->titleZh;
        }
    }
    return true;
}

QVector<ReviewChoice> Archive::reviewChoices(ReviewChoice::List list)
{
    error.clear();
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral(
        "SELECT text, text_zh FROM review_choices WHERE list = ? ORDER BY position"));
    q.addBindValue(listName(list));
    QVector<ReviewChoice> choices;
    if (!q.exec()) {
        fail(q.lastError().text());
        return choices;
    }
    while (q.next())
        choices.append({q.value(0).toString(), q.value(1).toString()});
    return choices;
}

QVector<SignatureMeaning> Archive::signatureMeanings()
{
    error.clear();
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    QVector<SignatureMeaning> meanings;
    if (!q.exec(QStringLiteral("SELECT meaning, title, title_zh, reader_may_sign, is_final"
                               " FROM signature_meanings ORDER BY position"))) {
        fail(q.lastError().text());
        return meanings;
    }
    while (q.next()) {
        meanings.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                         q.value(3).toInt() != 0, q.value(4).toInt() != 0});
    }
    return meanings;
}

bool Archive::replaceRows(const QString &clear, const QVariantList &clearValues,
                          const QString &insert, const QVector<QVariantList> &rows)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QString why;
    if (!archiveschema::beginWrite(db, &why))
        return fail(why);
    QSqlQuery q(db);
    bool ok = q.prepare(clear);
    for (const QVariant &value : clearValues)
        q.addBindValue(value);
    ok = ok && q.exec();
    for (int i = 0; ok && i < rows.size(); ++i) {
        ok = q.prepare(insert);
        for (const QVariant &value : rows.at(i))
            q.addBindValue(value);
        ok = ok && q.exec();
    }
    if (ok && db.commit())
        return true;
    const QString reason = q.lastError().isValid() ? q.lastError().text() : db.lastError().text();
    db.rollback();
    return fail(reason);
}

bool Archive::setReviewChoices(ReviewChoice::List list, const QVector<ReviewChoice> &choices)
{
    QVector<QVariantList> rows;
    for (const ReviewChoice &choice : choices) {
        if (choice.text.trimmed().isEmpty() || choice.textZh.trimmed().isEmpty())
            return fail(QStringLiteral("every choice needs its English and its Chinese text"));
        rows.append({listName(list), rows.size() + 1, choice.text, choice.textZh});
    }
    return replaceRows(QStringLiteral("DELETE FROM review_choices WHERE list = ?"),
                       {listName(list)},
                       QStringLiteral("INSERT INTO review_choices (list, position, text, text_zh)"
                                      " VALUES (?, ?, ?, ?)"),
                       rows);
}

bool Archive::setSignatureMeanings(const QVector<SignatureMeaning> &meanings)
{
    QVector<QVariantList> rows;
    QSet<QString> keys;
    for (const SignatureMeaning &meaning : meanings) {
        if (meaning.meaning.isEmpty() || meaning.meaning == review::revokeMeaning ||
            meaning.title.trimmed().isEmpty() || meaning.titleZh.trimmed().isEmpty())
            return fail(QStringLiteral("a meaning needs a key other than \"revoke\" and its "
                                       "English and Chinese titles"));
        if (keys.contains(meaning.meaning))
            return fail(QStringLiteral("the meaning \"%1\" is listed twice").arg(meaning.meaning));
        keys.insert(meaning.meaning);
        rows.append({meaning.meaning, rows.size() + 1, meaning.title, meaning.titleZh,
                     int(meaning.readerMaySign), int(meaning.final)});
    }
    return replaceRows(QStringLiteral("DELETE FROM signature_meanings"), {},
                       QStringLiteral("INSERT INTO signature_meanings (meaning, position, title,"
                                      " title_zh, reader_may_sign, is_final)"
                                      " VALUES (?, ?, ?, ?, ?, ?)"),
                       rows);
}

QString Archive::printedName()
{
    if (!where.isTeamArchive()) {
        const QString user = auditUser();
        const int open = user.indexOf(QLatin1String(" ("));
        return open < 0 || !user.endsWith(u')') ? QString() : user.mid(open + 2).chopped(1);
    }
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    if (q.exec(QStringLiteral("SELECT pg_catalog.shobj_description(oid, 'pg_authid')"
                              " FROM pg_catalog.pg_roles WHERE rolname = session_user")) &&
        q.next())
        return q.value(0).toString().trimmed();
    return {};
}

bool Archive::actsAsReader()
{
    if (!where.isTeamArchive())
        return false;
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    const bool read =
        q.exec(QStringLiteral(
            "SELECT COALESCE((SELECT pg_has_role(session_user, oid, 'MEMBER')"
            " FROM pg_catalog.pg_roles WHERE rolname = 'hygra_reader'), false)"
            " AND NOT COALESCE((SELECT pg_has_role(session_user, oid, 'MEMBER')"
            " FROM pg_catalog.pg_roles WHERE rolname = 'hygra_operator'), false)"
            " AND NOT pg_has_role(session_user, (SELECT relowner FROM pg_catalog.pg_class"
            " WHERE oid = 'audit_trail'::regclass), 'MEMBER')")) &&
        q.next();
    if (!read)
        fail(q.lastError().text());
    // Unsure is the stricter answer.
    return !read || q.value(0).toBool();
}

QHash<QString, QString> Archive::signedMeanings()
{
    QHash<QString, QString> meanings;
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT sha256, details FROM audit_trail"
                               " WHERE kind = 'signature' AND sha256 IS NOT NULL ORDER BY seq"))) {
        fail(q.lastError().text());
        return meanings;
    }
    while (q.next()) {
        const QJsonObject details =
            QJsonDocument::fromJson(q.value(1).toString().toUtf8()).object();
        meanings.insert(q.value(0).toString(), details.value(QLatin1String("meaning")).toString());
    }
    return meanings;
}
