// SPDX-License-Identifier: GPL-3.0-or-later
// A throwaway PostgreSQL server for the tests: its own folder, its own Unix socket, no TCP.
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

    // Creates and starts the cluster; false with the reason in `error`.
    bool start(QString *error);
    // Creates an empty database and returns where it is.
    bool createDatabase(const QString &name, ArchiveLocation *location, QString *error);

private:
    bool run(const QString &program, const QStringList &arguments, QString *error);
    void stop();

    QTemporaryDir folder;
    QString binaries;
    bool asPostgresUser = false;
    bool running = false;
};
