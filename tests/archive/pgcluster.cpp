// SPDX-License-Identifier: GPL-3.0-or-later
#include "pgcluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
constexpr int port = 54329;
// Unix sockets are per folder, so every cluster may use the same port number
// there; a loopback port must be free.
int freeLoopbackPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const bool bound = probe >= 0 &&
                       bind(probe, reinterpret_cast<sockaddr *>(&address), size) == 0 &&
                       getsockname(probe, reinterpret_cast<sockaddr *>(&address), &size) == 0;
    if (probe >= 0)
        close(probe);
    return bound ? ntohs(address.sin_port) : -1;
}
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
    const QString path = binaries + QLatin1Char('/') + program;
    if (asPostgresUser)
        return runTool(QStringLiteral("runuser"),
                       QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                   QStringLiteral("--"), path} +
                           arguments,
                       error);
    return runTool(path, arguments, error);
}

bool PgCluster::runTool(const QString &program, const QStringList &arguments, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(folder.path());
    process.start(program, arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    *error = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
    return false;
}

bool PgCluster::makeStrangerCa(const QString &path, QString *error)
{
    return runTool(QStringLiteral("openssl"),
                   {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                    "-nodes", "-keyout", path + ".key", "-out", path, "-days", "2", "-subj",
                    "/CN=stranger CA"},
                   error);
}

bool PgCluster::makeCertificates(QString *error)
{
    const QStringList ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    if (!runTool(QStringLiteral("openssl"),
                 QStringList{"req", "-x509"} + ec +
                     QStringList{"-keyout", "ca.key", "-out", "ca.crt", "-days", "2", "-subj",
                                 "/CN=hygra test CA"},
                 error) ||
        !runTool(QStringLiteral("openssl"),
                 QStringList{"req"} + ec +
                     QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj",
                                 "/CN=localhost"},
                 error))
        return false;
    QFile extensions(folder.filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly) ||
        extensions.write("subjectAltName=DNS:localhost,IP:127.0.0.1\n") < 0) {
        *error = QStringLiteral("cannot write server.ext");
        return false;
    }
    extensions.close();
    if (!runTool(QStringLiteral("openssl"),
                 {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                  "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "server.ext"},
                 error))
        return false;
    // The server refuses a key that others may read.
    QFile::setPermissions(folder.filePath(QStringLiteral("server.key")),
                          QFile::ReadOwner | QFile::WriteOwner);
    if (asPostgresUser) {
        const passwd *user = getpwnam("postgres");
        for (const char *name : {"server.key", "server.crt"}) {
            if (chown(folder.filePath(QLatin1String(name)).toLocal8Bit().constData(),
                      user->pw_uid, user->pw_gid) != 0) {
                *error = QStringLiteral("cannot hand %1 to postgres").arg(QLatin1String(name));
                return false;
            }
        }
    }
    return true;
}

bool PgCluster::start(QString *error, Network network)
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
              QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
             error))
        return false;
    QString options =
        QStringLiteral("-c unix_socket_directories='%1' -p %2 -F").arg(folder.path()).arg(port);
    if (network == SocketOnly) {
        options += QStringLiteral(" -c listen_addresses=''");
    } else {
        // The port is the one of the socket too; a second cluster listens on another.
        loopbackPort = freeLoopbackPort();
        options = QStringLiteral("-c unix_socket_directories='%1' -p %2 -F"
                                 " -c listen_addresses='127.0.0.1'")
                      .arg(folder.path())
                      .arg(loopbackPort);
        // The superuser keeps the socket without a password; everyone on the
        // port gives one.
        QFile hba(data + QStringLiteral("/pg_hba.conf"));
        if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            hba.write("local all all trust\nhost all all 127.0.0.1/32 scram-sha-256\n") < 0) {
            *error = QStringLiteral("cannot write pg_hba.conf");
            return false;
        }
        hba.close();
        if (network == LoopbackTls) {
            if (!makeCertificates(error))
                return false;
            options += QStringLiteral(" -c ssl=on -c ssl_cert_file='%1' -c ssl_key_file='%2'")
                           .arg(folder.filePath(QStringLiteral("server.crt")),
                                folder.filePath(QStringLiteral("server.key")));
        }
    }
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
    where.port = loopbackPort > 0 ? loopbackPort : port;
    where.user = QLatin1String(superuser);
    where.database = name;
    *location = where;
    return exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(name), error);
}

bool PgCluster::exec(const QString &sql, QString *error, const QString &database)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"),
                                                    QStringLiteral("pgcluster-exec"));
        db.setHostName(folder.path());
        db.setPort(loopbackPort > 0 ? loopbackPort : port);
        db.setUserName(QLatin1String(superuser));
        db.setDatabaseName(database);
        QSqlQuery query(db);
        ok = db.open() && query.exec(sql);
        if (!ok)
            *error = db.isOpen() ? query.lastError().text() : db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pgcluster-exec"));
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
