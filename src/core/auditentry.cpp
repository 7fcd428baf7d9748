// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/auditentry.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

namespace audit
{
namespace
{
// Writes UTF-8 `text` as a JSON string. Only the quote, the backslash and control
// characters need escaping; every other byte, of ASCII or not, is copied.
void appendUtf8String(QByteArray &out, const QByteArray &utf8)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const char *begin = utf8.constData();
    const char *end = begin + utf8.size();
    const char *run = begin;
    for (const char *p = begin; p != end; ++p) {
        const auto u = static_cast<unsigned char>(*p);
        if (u >= 0x20 && u != '"' && u != '\\')
            continue;
        out.append(run, int(p - run));
        run = p + 1;
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xf];
        }
    }
    out.append(run, int(end - run));
    out += '"';
}

void appendString(QByteArray &out, const QString &text)
{
    appendUtf8String(out, text.toUtf8());
}

void appendNullable(QByteArray &out, const QByteArray &utf8)
{
    if (utf8.isNull())
        out += "null";
    else
        appendUtf8String(out, utf8);
}

QByteArray utf8OrNull(const QString &text)
{
    return text.isNull() ? QByteArray() : text.isEmpty() ? QByteArray("") : text.toUtf8();
}

void appendValue(QByteArray &out, const QJsonValue &value);

void appendObject(QByteArray &out, const QJsonObject &object)
{
    // Python sorts by code point; UTF-8 bytes sort the same way. The values
    // are taken while iterating: looking a key beyond the basic plane up
    // again does not find it in Qt 5.
    struct Member {
        QByteArray utf8Key;
        QString key;
        QJsonValue value;
    };
    QVector<Member> members;
    members.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it)
        members.append({it.key().toUtf8(), it.key(), it.value()});
    std::sort(members.begin(), members.end(),
              [](const Member &a, const Member &b) { return a.utf8Key < b.utf8Key; });
    out += '{';
    for (int i = 0; i < members.size(); ++i) {
        if (i)
            out += ',';
        appendString(out, members.at(i).key);
        out += ':';
        appendValue(out, members.at(i).value);
    }
    out += '}';
}

void appendValue(QByteArray &out, const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out += "null";
        break;
    case QJsonValue::Bool:
        out += value.toBool() ? "true" : "false";
        break;
    case QJsonValue::Double:
        out += QByteArray::number(value.toVariant().toLongLong());
        break;
    case QJsonValue::String:
        appendString(out, value.toString());
        break;
    case QJsonValue::Array: {
        out += '[';
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) {
            if (i)
                out += ',';
            appendValue(out, array.at(i));
        }
        out += ']';
        break;
    }
    case QJsonValue::Object:
        appendObject(out, value.toObject());
        break;
    }
}

QString valueProblem(const QJsonValue &value, const QString &where)
{
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::floor(number) != number || std::fabs(number) > 9007199254740992.0)
            return QStringLiteral("%1 is not an integer").arg(where);
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) {
            const QString problem =
                valueProblem(array.at(i), QStringLiteral("%1[%2]").arg(where).arg(i));
            if (!problem.isEmpty())
                return problem;
        }
    } else if (value.isObject()) {
        return detailsProblem(value.toObject());
    }
    return QString();
}
} // namespace

QString firstPrev()
{
    return QString(64, QLatin1Char('0'));
}

QString timeText(const QDateTime &utc)
{
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QString now()
{
    return timeText(QDateTime::currentDateTimeUtc());
}

AuditEntry event(const QString &kind, const QJsonObject &details)
{
    AuditEntry entry;
    entry.time = now();
    entry.kind = kind;
    entry.details = details;
    return entry;
}

AuditEntry failed(const QString &kind, const QString &error, const QJsonObject &details)
{
    QJsonObject withError = details;
    withError.insert(QStringLiteral("error"), error);
    return event(kind + QStringLiteral("-failed"), withError);
}

QByteArray canonicalJson(const QJsonValue &value)
{
    QByteArray out;
    appendValue(out, value);
    return out;
}

QByteArray canonicalEntry(const AuditEntryText &entry)
{
    QByteArray out;
    out.reserve(320 + entry.details.size());
    appendCanonicalEntry(out, entry);
    return out;
}

void appendCanonicalEntry(QByteArray &out, const AuditEntryText &entry)
{
    // The keys in the order of their UTF-8 bytes, as canonicalJson() sorts them.
    out += "{\"computer\":";
    appendUtf8String(out, entry.computer);
    out += ",\"details\":";
    out += entry.details;
    out += ",\"kind\":";
    appendUtf8String(out, entry.kind);
    out += ",\"prev\":";
    appendUtf8String(out, entry.prev);
    out += ",\"reason\":";
    appendNullable(out, entry.reason);
    out += ",\"seq\":";
    out += QByteArray::number(entry.seq);
    out += ",\"serial\":";
    appendNullable(out, entry.serial);
    out += ",\"sha256\":";
    appendNullable(out, entry.sha256);
    out += ",\"time\":";
    appendUtf8String(out, entry.time);
    out += ",\"user\":";
    appendUtf8String(out, entry.user);
    out += '}';
}

QByteArray canonicalEntry(const AuditEntry &entry, const QByteArray &detailsJson)
{
    AuditEntryText text;
    text.seq = entry.seq;
    text.time = entry.time.toUtf8();
    text.user = entry.user.toUtf8();
    text.computer = entry.computer.toUtf8();
    text.kind = entry.kind.toUtf8();
    text.sha256 = utf8OrNull(entry.sha256);
    text.serial = utf8OrNull(entry.serial);
    text.details = detailsJson;
    text.reason = utf8OrNull(entry.reason);
    text.prev = entry.prev.toUtf8();
    return canonicalEntry(text);
}

QByteArray canonicalEntry(const AuditEntry &entry)
{
    return canonicalEntry(entry, canonicalJson(entry.details));
}

QString hashOf(const QByteArray &canonical)
{
    return QString::fromLatin1(hexHashOf(canonical));
}

QByteArray hexHashOf(const QByteArray &canonical)
{
    return QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).toHex();
}

QJsonObject toJson(const AuditEntry &entry)
{
    const auto nullable = [](const QString &text) {
        return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
    };
    return {
        {QStringLiteral("seq"), entry.seq},
        {QStringLiteral("time"), entry.time},
        {QStringLiteral("user"), entry.user},
        {QStringLiteral("computer"), entry.computer},
        {QStringLiteral("kind"), entry.kind},
        {QStringLiteral("sha256"), nullable(entry.sha256)},
        {QStringLiteral("serial"), nullable(entry.serial)},
        {QStringLiteral("details"), entry.details},
        {QStringLiteral("reason"), nullable(entry.reason)},
        {QStringLiteral("prev"), entry.prev},
        {QStringLiteral("hash"), entry.hash},
    };
}

QString detailsProblem(const QJsonObject &details)
{
    for (auto it = details.begin(); it != details.end(); ++it) {
        const QString problem = valueProblem(it.value(), it.key());
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}
} // namespace audit
