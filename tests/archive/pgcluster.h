// SPDX-License-Identifier: GPL-3.0-or-later
// A throwaway PostgreSQL server for the tests: its own folder and Unix socket,
// and on request a loopback port where roles log in with a password, with or
// without TLS under a throwaway certificate authority.
#pragma once

#include "archive/archivelocation.h"

#include <QString>
#include <QTemporaryDir>

// initdb and pg_ctl from Debian's server package, run as the unprivileged
// `postgres` user when the tests run as root (the server refuses root).
class PgCluster
{
public:
    PgCluster() = default;
    ~PgCluster();
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    enum Network { SocketOnly, Loopback, LoopbackTls };

    // Creates and starts the cluster; false with the reason in `error`.
    bool start(QString *error, Network network = SocketOnly);
    // Runs `sql` as the superuser in the database `database`.
    bool exec(const QString &sql, QString *error, const QString &database = "postgres");
    // The loopback port (Loopback, LoopbackTls).
    int tcpPort() const { return loopbackPort; }
    // The authority that signed the server's certificate for localhost (LoopbackTls).
    QString caFile() const { return folder.filePath(QStringLiteral("ca.crt")); }
    // Makes another authority, which signed nothing of this server, at `path`.
    bool makeStrangerCa(const QString &path, QString *error);
    QString path() const { return folder.path(); }
    // Creates an empty database and returns where it is.
    bool createDatabase(const QString &name, ArchiveLocation *location, QString *error);

private:
    bool run(const QString &program, const QStringList &arguments, QString *error);
    // A program of the system's, as this process's user.
    bool runTool(const QString &program, const QStringList &arguments, QString *error);
    bool makeCertificates(QString *error);
    void stop();

    QTemporaryDir folder;
    QString binaries;
    bool asPostgresUser = false;
    bool running = false;
    int loopbackPort = -1;
};
