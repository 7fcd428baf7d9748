// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivelocation.h"

#include "core/settinginfo.h"

#include <QDir>
#include <QUrl>
#include <QUrlQuery>

QString ArchiveLocation::displayText() const
{
    if (engine == SQLite)
        return QDir::toNativeSeparators(filePath);
    const QString who = user.isEmpty() ? QString() : user + QLatin1Char('@');
    return QStringLiteral("%1%2:%3/%4").arg(who, host).arg(port).arg(database);
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
        const QString socketFolder = QUrlQuery(address).queryItemValue(QStringLiteral("host"),
                                                                       QUrl::FullyDecoded);
        if (!socketFolder.isEmpty())
            parsed.host = socketFolder;
        if (parsed.host.isEmpty())
            parsed.host = QStringLiteral("localhost");
        parsed.port = address.port(5432);
        parsed.database = address.path(QUrl::FullyDecoded).mid(1);
        parsed.user = address.userName(QUrl::FullyDecoded);
        parsed.password = address.password(QUrl::FullyDecoded);
        if (!address.isValid() || parsed.database.isEmpty() || parsed.database.contains('/')) {
            *error = QStringLiteral("'%1' names no database: use "
                                    "postgresql://user@host:port/database")
                         .arg(text);
            return false;
        }
    } else if (scheme == QLatin1String("sqlite")) {
        parsed.filePath = address.path(QUrl::FullyDecoded);
        if (parsed.filePath.isEmpty()) {
            *error = QStringLiteral("'%1' names no database file").arg(text);
            return false;
        }
    } else if (scheme.size() > 1) {
        *error = QStringLiteral("'%1': the archive is a postgresql:// address or a SQLite file")
                     .arg(text);
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
    return parse(url, location, error);
}

bool ArchiveLocation::choose(const QString &url, const QString &recordingsFolder,
                             ArchiveLocation *location, QString *error)
{
    return url.isEmpty() ? fromSettings(recordingsFolder, location, error)
                         : parse(url, location, error);
}
