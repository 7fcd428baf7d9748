// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveconnection.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QVariant>
#include <algorithm>
#include <initializer_list>
#include <libpq-fe.h>
#include <openssl/bio.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <sqlite3.h>

namespace archiveconnection
{
namespace
{
QMutex passwordsLock;
QHash<QString, QString> &passwords()
{
    static QHash<QString, QString> typed;
    return typed;
}

// The driver's own handle, when its type is one of `typeNames` (Qt 5 and 6
// name the same pointer differently).
template <typename Handle>
Handle *handleOf(const QSqlDatabase &db, std::initializer_list<const char *> typeNames)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() ||
        std::none_of(typeNames.begin(), typeNames.end(),
                     [&handle](const char *name) { return qstrcmp(handle.typeName(), name) == 0; }))
        return nullptr;
    return *static_cast<Handle *const *>(handle.constData());
}

QString subjectOf(X509 *certificate)
{
    BIO *text = BIO_new(BIO_s_mem());
    X509_NAME_print_ex(text, X509_get_subject_name(certificate), 0, XN_FLAG_RFC2253);
    char *data = nullptr;
    const long size = BIO_get_mem_data(text, &data);
    const QString subject = QString::fromUtf8(data, static_cast<int>(size));
    BIO_free(text);
    return subject;
}

void lower(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(arguments[0]));
    const int size = sqlite3_value_bytes(arguments[0]);
    QByteArray lowered(text, size);
    // Every row of a search passes here: plain ASCII, the common case, needs no QString.
    bool ascii = true;
    for (char &c : lowered) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if (!ascii)
        lowered = QString::fromUtf8(text, size).toLower().toUtf8();
    sqlite3_result_text(context, lowered.constData(), lowered.size(), SQLITE_TRANSIENT);
}
} // namespace

void configure(QSqlDatabase &db, const ArchiveLocation &location)
{
    db.setHostName(location.host);
    db.setPort(location.port);
    db.setDatabaseName(location.database);
    db.setUserName(location.user);
    db.setPassword(location.password.isEmpty() ? rememberedPassword(location) : location.password);
    db.setConnectOptions(location.connectOptions());
}

ArchiveSecurity securityOf(const QSqlDatabase &db)
{
    ArchiveSecurity security;
    PGconn *connection = handleOf<PGconn>(db, {"PGconn*", "pg_conn*"});
    if (!connection)
        return security;
    security.team = true;
    security.encrypted = PQsslInUse(connection) == 1;
    if (!security.encrypted)
        return security;
    security.protocol = QString::fromUtf8(PQsslAttribute(connection, "protocol"));
    if (auto *ssl = static_cast<SSL *>(PQsslStruct(connection, "OpenSSL"))) {
        if (X509 *certificate = SSL_get0_peer_certificate(ssl))
            security.certificate = subjectOf(certificate);
    }
    // libpq's settings as it used them, environment and service included.
    PQconninfoOption *options = PQconninfo(connection);
    for (const PQconninfoOption *option = options; option && option->keyword; ++option) {
        const QString value = QString::fromUtf8(option->val ? option->val : "");
        if (qstrcmp(option->keyword, "sslmode") == 0) {
            security.caChecked = value.startsWith(QLatin1String("verify-"));
            security.hostChecked = value == QLatin1String("verify-full");
        } else if (qstrcmp(option->keyword, "sslrootcert") == 0) {
            security.caFile = value;
        }
    }
    PQconninfoFree(options);
    return security;
}

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    return handleOf<sqlite3>(db, {"sqlite3*"});
}

bool lendLowerCase(const QSqlDatabase &db)
{
    sqlite3 *connection = handleOf<sqlite3>(db, {"sqlite3*"});
    return connection && sqlite3_create_function(connection, "lower", 1,
                                                 SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                                 lower, nullptr, nullptr) == SQLITE_OK;
}

void rememberPassword(const ArchiveLocation &location, const QString &password)
{
    const QMutexLocker locked(&passwordsLock);
    passwords().insert(location.displayText(), password);
}

QString rememberedPassword(const ArchiveLocation &location)
{
    const QMutexLocker locked(&passwordsLock);
    return passwords().value(location.displayText());
}

bool wantsPassword(const QString &reason)
{
    // libpq's words when the server asks for a password that none of its
    // places (the address, PGPASSWORD, ~/.pgpass, a service) gave.
    return reason.contains(QLatin1String("no password supplied"));
}
} // namespace archiveconnection
