// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivelocation.h"

#include "core/settinginfo.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>
#include <libpq-fe.h>

namespace
{
// Parameters whose value is a secret: never shown.
bool isSecret(const QString &keyword)
{
    return keyword == QLatin1String("password") || keyword == QLatin1String("sslpassword");
}

// libpq's own list of the connection parameters it knows.
bool isConnectionParameter(const QString &keyword)
{
    PQconninfoOption *options = PQconndefaults();
    bool known = false;
    for (const PQconninfoOption *option = options; option && option->keyword; ++option)
        known = known || keyword == QLatin1String(option->keyword);
    PQconninfoFree(options);
    return known;
}

// A value in libpq's quoting: between apostrophes, with \ and \' escaped.
QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}
// Takes one keyword=value of an address's query into `location`; false with
// `why` for a keyword libpq does not know or a value that cannot be passed on.
bool takeParameter(ArchiveLocation *location, const QString &keyword, const QString &value,
                   QString *why)
{
    // Qt's driver joins its options with ';'.
    if (value.contains(QLatin1Char(';'))) {
        *why = QStringLiteral("the value of '%1' cannot hold ';'").arg(keyword);
        return false;
    }
    bool ok = true;
    if (keyword == QLatin1String("host"))
        location->host = value;
    else if (keyword == QLatin1String("port"))
        location->port = value.toInt(&ok);
    else if (keyword == QLatin1String("dbname"))
        location->database = value;
    else if (keyword == QLatin1String("user"))
        location->user = value;
    else if (keyword == QLatin1String("password"))
        location->password = value;
    else if (isConnectionParameter(keyword))
        location->parameters.insert(keyword, value);
    else
        *why = QStringLiteral("'%1' is no connection parameter of PostgreSQL").arg(keyword);
    if (!ok)
        *why = QStringLiteral("the port '%1' is no number").arg(value);
    return why->isEmpty();
}
} // namespace

QString ArchiveLocation::displayText() const
{
    if (engine == SQLite)
        return QDir::toNativeSeparators(filePath);
    const QString who = user.isEmpty() ? QString() : user + QLatin1Char('@');
    const QString at = port < 0 ? host : QStringLiteral("%1:%2").arg(host).arg(port);
    QStringList shown;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        if (!isSecret(it.key()))
            shown << it.key() + QLatin1Char('=') + it.value();
    }
    const QString query = shown.isEmpty() ? QString() : QLatin1Char('?') + shown.join('&');
    return QStringLiteral("%1%2/%3%4").arg(who, at, database, query);
}

QString ArchiveLocation::connectOptions() const
{
    QStringList options;
    // An unreachable server must not hold the window or a script for minutes.
    if (!parameters.contains(QStringLiteral("connect_timeout")))
        options << QStringLiteral("connect_timeout=5");
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        options << it.key() + QLatin1Char('=') + quoted(it.value());
    return options.join(QLatin1Char(';'));
}

QString ArchiveLocation::passwordWarning() const
{
    if (password.isEmpty())
        return QString();
    if (fromSettingsFile)
        return QStringLiteral("setting.ini holds the archive's password: move it to ~/.pgpass "
                              "(host:port:database:user:password, mode 0600) and remove it from "
                              "the address");
    return QStringLiteral("a password in the archive address can be read by every user of this "
                          "computer while the command runs: keep it in ~/.pgpass "
                          "(host:port:database:user:password, mode 0600) instead");
}

QString ArchiveLocation::withoutPassword(const QString &url)
{
    QUrl address(url.trimmed());
    if (address.isValid() && !address.scheme().isEmpty()) {
        address.setPassword(QString());
        QUrlQuery query(address);
        for (const char *secret : {"password", "sslpassword"})
            query.removeAllQueryItems(QLatin1String(secret));
        address.setQuery(query);
        return address.toString();
    }
    // Not even a URL: cut what may be a password between "user:" and "@",
    // and any password=… parameter.
    QString text = url.trimmed();
    text.replace(QRegularExpression(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://[^/:@]*):[^@]*@")),
                 QStringLiteral("\\1@"));
    text.replace(QRegularExpression(QStringLiteral("(password=)[^&]*")), QStringLiteral("\\1…"));
    return text;
}

ArchiveLocation ArchiveLocation::local(const QString &recordingsFolder)
{
    ArchiveLocation location;
    location.filePath = QDir(recordingsFolder).filePath(QStringLiteral("archive.sqlite"));
    return location;
}

bool ArchiveLocation::parse(const QString &url, ArchiveLocation *location, QString *error)
{
    const QString text = url.trimmed();
    ArchiveLocation parsed;
    if (text.isEmpty()) {
        *error = QStringLiteral("the archive address is empty");
        return false;
    }
    const QUrl address(text, QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (scheme == QLatin1String("postgresql") || scheme == QLatin1String("postgres")) {
        parsed.engine = PostgreSQL;
        parsed.host = address.host();
        parsed.port = address.port(-1);
        parsed.database = address.path(QUrl::FullyDecoded).mid(1);
        parsed.user = address.userName(QUrl::FullyDecoded);
        parsed.password = address.password(QUrl::FullyDecoded);
        const auto items = QUrlQuery(address).queryItems(QUrl::FullyDecoded);
        for (const auto &item : items) {
            QString why;
            if (!takeParameter(&parsed, item.first, item.second, &why)) {
                *error = QStringLiteral("'%1': %2").arg(withoutPassword(text), why);
                return false;
            }
        }
        // A service names its own host, port and database.
        const bool service = parsed.parameters.contains(QStringLiteral("service"));
        if (parsed.host.isEmpty() && !service)
            parsed.host = QStringLiteral("localhost");
        if (parsed.port < 0 && !service)
            parsed.port = 5432;
        if (!address.isValid() || (parsed.database.isEmpty() && !service) ||
            parsed.database.contains('/')) {
            *error = QStringLiteral("'%1' names no database: use "
                                    "postgresql://user@host:port/database")
                         .arg(withoutPassword(text));
            return false;
        }
    } else if (scheme == QLatin1String("sqlite")) {
        parsed.filePath = address.path(QUrl::FullyDecoded);
        if (parsed.filePath.isEmpty()) {
            *error = QStringLiteral("'%1' names no database file").arg(withoutPassword(text));
            return false;
        }
    } else if (scheme.size() > 1) {
        *error = QStringLiteral("'%1': the archive is a postgresql:// address or a SQLite file")
                     .arg(withoutPassword(text));
        return false;
    } else {
        // A plain path (a one-letter "scheme" is a Windows drive).
        parsed.filePath = QDir::cleanPath(text);
    }
    *location = parsed;
    return true;
}

bool ArchiveLocation::fromSettings(const QString &recordingsFolder, ArchiveLocation *location,
                                   QString *error)
{
    const QString url = settingInfo() ? settingInfo()->readInfo(QStringLiteral("archive"),
                                                                QStringLiteral("url"), QString())
                                      : QString();
    if (url.trimmed().isEmpty()) {
        *location = local(recordingsFolder);
        return true;
    }
    if (!parse(url, location, error))
        return false;
    location->fromSettingsFile = true;
    return true;
}

bool ArchiveLocation::choose(const QString &url, const QString &recordingsFolder,
                             ArchiveLocation *location, QString *error)
{
    return url.isEmpty() ? fromSettings(recordingsFolder, location, error)
                         : parse(url, location, error);
}
