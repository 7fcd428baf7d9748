// SPDX-License-Identifier: GPL-3.0-or-later
#include "pgcluster.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <pwd.h>
#include <unistd.h>

namespace
{
constexpr int port = 54329;
const char *const superuser = "hygra";

QString findBinaries()
{
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const QString bin = versions.filePath(*it + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    return QString();
}
} // namespace

PgCluster::~PgCluster()
{
    stop();
}

bool PgCluster::run(const QString &program, const QStringList &arguments, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(folder.path());
    if (asPostgresUser)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--"), binaries + QLatin1Char('/') + program} +
                          arguments);
    else
        process.start(binaries + QLatin1Char('/') + program, arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    *error = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
    return false;
}

bool PgCluster::start(QString *error)
{
    binaries = findBinaries();
    if (binaries.isEmpty()) {
        *error = QStringLiteral("no PostgreSQL server under /usr/lib/postgresql (scripts/setup "
                                "installs it)");
        return false;
    }
    if (!folder.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    if (geteuid() == 0) {
        const passwd *user = getpwnam("postgres");
        if (!user || chown(folder.path().toLocal8Bit().constData(), user->pw_uid, user->pw_gid)) {
            *error = QStringLiteral("running as root needs the user postgres to own the cluster");
            return false;
        }
        asPostgresUser = true;
    }
    const QString data = folder.filePath(QStringLiteral("data"));
    if (!run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), data, QStringLiteral("-U"), QLatin1String(superuser),
              QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
              QStringLiteral("UTF8"), QStringLiteral("--no-sync")},
             error))
        return false;
    const QString options =
        QStringLiteral("-c listen_addresses='' -c unix_socket_directories='%1' -p %2 -F")
            .arg(folder.path())
            .arg(port);
    if (!run(QStringLiteral("pg_ctl"),
             {QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
              folder.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
              QStringLiteral("start")},
             error))
        return false;
    running = true;
    return true;
}

bool PgCluster::createDatabase(const QString &name, ArchiveLocation *location, QString *error)
{
    ArchiveLocation where;
    where.engine = ArchiveLocation::PostgreSQL;
    where.host = folder.path();
    where.port = port;
    where.user = QLatin1String(superuser);
    where.database = QStringLiteral("postgres");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"),
                                                    QStringLiteral("pgcluster"));
        db.setHostName(where.host);
        db.setPort(where.port);
        db.setUserName(where.user);
        db.setDatabaseName(where.database);
        QSqlQuery query(db);
        ok = db.open() && query.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
        if (!ok)
            *error = db.isOpen() ? query.lastError().text() : db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pgcluster"));
    where.database = name;
    *location = where;
    return ok;
}

void PgCluster::stop()
{
    if (!running)
        return;
    QString ignored;
    run(QStringLiteral("pg_ctl"),
        {QStringLiteral("-D"), folder.filePath(QStringLiteral("data")), QStringLiteral("-m"),
         QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")},
        &ignored);
    running = false;
}
