// SPDX-License-Identifier: GPL-3.0-or-later
// Where the recordings archive lies: a SQLite file beside the recordings, or a PostgreSQL server.
#pragma once

#include <QMap>
#include <QString>

struct ArchiveLocation {
    enum Engine { SQLite, PostgreSQL };

    Engine engine = SQLite;
    // SQLite: the database file.
    QString filePath;
    // PostgreSQL: a host name, or the folder of the server's Unix socket; empty
    // with a `service` that names it.
    QString host;
    // -1: the service's or libpq's default.
    int port = 5432;
    QString database;
    QString user;
    // Only in memory: given in the address, or typed when the server asked.
    QString password;
    // Every other connection parameter of libpq the address carries (sslmode,
    // sslrootcert, service, passfile, application_name, …), by keyword.
    QMap<QString, QString> parameters;
    // Read from the settings file, not given by the user.
    bool fromSettingsFile = false;

    // A team archive holds the files' bytes, so that every computer can open them.
    bool isTeamArchive() const { return engine == PostgreSQL; }
    // For messages: the file, or user@host:port/database?parameters without
    // the password or any other secret.
    QString displayText() const;
    // The libpq parameters for Qt's driver, besides host, port, database, user
    // and password: "keyword='value';…" with the values quoted.
    QString connectOptions() const;
    // Empty, or why a password written in the address should move to libpq's
    // password file.
    QString passwordWarning() const;
    // `url` as it may be shown: without a password, whatever its form.
    static QString withoutPassword(const QString &url);

    // `archive.sqlite` in the recordings folder.
    static ArchiveLocation local(const QString &recordingsFolder);
    // Reads "postgresql://[user[:password]@][host][:port]/database[?keyword=value&…]"
    // with any of libpq's connection parameters (host=/socket/folder, sslmode, …;
    // with service=NAME the host and database may come from pg_service.conf),
    // "sqlite:///path/file.sqlite" or a plain file path; on a malformed text or an
    // unknown parameter returns false and says why in `error`, without the password.
    static bool parse(const QString &url, ArchiveLocation *location, QString *error);
    // The `url` of the settings file's [archive] section when set, else the local archive.
    static bool fromSettings(const QString &recordingsFolder, ArchiveLocation *location,
                             QString *error);
    // parse(url) when `url` is given, else fromSettings().
    static bool choose(const QString &url, const QString &recordingsFolder,
                       ArchiveLocation *location, QString *error);
};
