// SPDX-License-Identifier: GPL-3.0-or-later
// Where the recordings archive lies: a SQLite file beside the recordings, or a PostgreSQL server.
#pragma once

#include <QString>

struct ArchiveLocation {
    enum Engine { SQLite, PostgreSQL };

    Engine engine = SQLite;
    // SQLite: the database file.
    QString filePath;
    // PostgreSQL: a host name, or the folder of the server's Unix socket.
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    // A team archive holds the files' bytes, so that every computer can open them.
    bool isTeamArchive() const { return engine == PostgreSQL; }
    // For messages: the file, or user@host:port/database without the password.
    QString displayText() const;

    // `archive.sqlite` in the recordings folder.
    static ArchiveLocation local(const QString &recordingsFolder);
    // Reads "postgresql://[user[:password]@][host][:port]/database[?host=/socket/folder]",
    // "sqlite:///path/file.sqlite" or a plain file path; on a malformed text returns false
    // and says why in `error`.
    static bool parse(const QString &url, ArchiveLocation *location, QString *error);
    // The `url` of the settings file's [archive] section when set, else the local archive.
    static bool fromSettings(const QString &recordingsFolder, ArchiveLocation *location,
                             QString *error);
    // parse(url) when `url` is given, else fromSettings().
    static bool choose(const QString &url, const QString &recordingsFolder,
                       ArchiveLocation *location, QString *error);
};
