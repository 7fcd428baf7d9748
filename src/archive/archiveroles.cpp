// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveroles.h"

#include "archive/archiveconnection.h"

#include "archive/archiveschema.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringView>
#include <QVariant>

// The resources of a static library are registered by name, outside any namespace.
static void registerRolesScript()
{
    Q_INIT_RESOURCE(archive);
}

namespace
{
QAtomicInt connectionCounter;

const QLatin1String groupRoles("('hygra_operator', 'hygra_reader')");

QString serverReason(const QSqlQuery &query)
{
    return query.lastError().text().trimmed();
}

bool isTagCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}
} // namespace

ArchiveRoles::ArchiveRoles()
    : connectionName(
          QStringLiteral("hygra-archive-roles-%1").arg(connectionCounter.fetchAndAddOrdered(1)))
{
}

ArchiveRoles::~ArchiveRoles()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QString ArchiveRoles::roleName(Role role)
{
    return QLatin1String(role == Operator ? "hygra_operator" : "hygra_reader");
}

QString ArchiveRoles::script()
{
    registerRolesScript();
    QFile file(QStringLiteral(":/archive/roles.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList ArchiveRoles::statements(const QString &script)
{
    QStringList result;
    QString current;
    QString dollarTag; // the closing "$tag$" while inside a dollar-quoted body
    QChar quote;       // the closing ' or " while inside a quoted text
    const QStringView text(script);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!dollarTag.isEmpty()) {
            if (text.mid(i).startsWith(dollarTag)) {
                current += dollarTag;
                i += dollarTag.size() - 1;
                dollarTag.clear();
            } else {
                current += c;
            }
            continue;
        }
        if (!quote.isNull()) {
            // A doubled quote closes and opens again: the text goes on.
            current += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (text.mid(i).startsWith(QLatin1String("--"))) {
            while (i + 1 < text.size() && text.at(i + 1) != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('$')) {
            int end = i + 1;
            while (end < text.size() && isTagCharacter(text.at(end)))
                ++end;
            // "$1" is a parameter, not a tag.
            const bool tag = end < text.size() && text.at(end) == QLatin1Char('$') &&
                             (end == i + 1 || !text.at(i + 1).isDigit());
            if (tag) {
                dollarTag = text.mid(i, end - i + 1).toString();
                current += dollarTag;
                i = end;
                continue;
            }
        } else if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                result << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        result << current.trimmed();
    return result;
}

QSqlDatabase ArchiveRoles::database() const
{
    return QSqlDatabase::database(connectionName, false);
}

bool ArchiveRoles::fail(const QString &text)
{
    error = text;
    return false;
}

bool ArchiveRoles::exec(const QString &sql)
{
    QSqlQuery query(database());
    return query.exec(sql) || fail(serverReason(query));
}

bool ArchiveRoles::open(const ArchiveLocation &location)
{
    where = location;
    if (!location.isTeamArchive())
        return fail(QStringLiteral("%1 is a SQLite file: roles are set up for a team archive "
                                   "on PostgreSQL, give its postgresql:// address")
                        .arg(location.displayText()));
    const QString driver = QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(QStringLiteral("the Qt SQL driver %1 is not installed").arg(driver));
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? database()
                          : QSqlDatabase::addDatabase(driver, connectionName);
    archiveconnection::configure(db, location);
    if (!db.open())
        return fail(QStringLiteral("cannot open the archive %1: %2")
                        .arg(location.displayText(), db.lastError().text().trimmed()));
    // Asked first, so that a role of fewer rights changes nothing at all.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT r.rolsuper OR pg_catalog.pg_has_role(current_user, d.datdba, 'USAGE'),"
            " current_user FROM pg_catalog.pg_database d, pg_catalog.pg_roles r"
            " WHERE d.datname = current_database() AND r.rolname = current_user")) ||
        !query.next())
        return fail(serverReason(query));
    if (!query.value(0).toBool())
        return fail(QStringLiteral("the role %1 is neither the owner of the database %2 nor a "
                                   "superuser: give the owner's address as --admin-url")
                        .arg(query.value(1).toString(), location.database));
    // The server's notices of what was already there ("… does not exist, skipping")
    // would only clutter the output; what was done is read back afterwards.
    if (!exec(QStringLiteral("SET client_min_messages = error")))
        return false;
    error.clear();
    return true;
}

bool ArchiveRoles::setUp(Setup *done)
{
    QSqlDatabase db = database();
    {
        QSqlQuery query(db);
        if (!query.exec(
                QStringLiteral("SELECT pg_catalog.to_regclass('schema_version') IS NULL")) ||
            !query.next())
            return fail(serverReason(query));
        if (!query.value(0).toBool()) {
            if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) ||
                !query.next())
                return fail(serverReason(query));
            done->versionBefore = query.value(0).toInt();
        }
    }
    QString why;
    if (!archiveschema::migrate(db, &why))
        return fail(QStringLiteral("cannot prepare the archive %1: %2")
                        .arg(where.displayText(), why.trimmed()));

    const QStringList steps = statements(script());
    if (steps.isEmpty())
        return fail(QStringLiteral("the program carries no statements for the roles"));
    if (!archiveschema::beginWrite(db, &why))
        return fail(why);
    QStringList existing;
    QSqlQuery query(db);
    // The same lock as a migration's: two set-ups at once wait for each other.
    bool ok = exec(QStringLiteral("SELECT pg_advisory_xact_lock(4849)")) &&
              (query.exec(QStringLiteral("SELECT rolname FROM pg_catalog.pg_roles"
                                         " WHERE rolname IN ") +
                          groupRoles) ||
               fail(serverReason(query)));
    while (ok && query.next())
        existing << query.value(0).toString();
    for (const QString &statement : steps)
        ok = ok && exec(statement);
    if (!ok || !db.commit()) {
        if (ok)
            fail(db.lastError().text().trimmed());
        db.rollback();
        return false;
    }
    for (const Role role : {Operator, Reader}) {
        if (!existing.contains(roleName(role)))
            done->createdRoles << roleName(role);
    }
    return readState(done);
}

bool ArchiveRoles::readState(Setup *done)
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !query.next())
        return fail(serverReason(query));
    done->version = query.value(0).toInt();
    if (!query.exec(QStringLiteral(
                        "SELECT g.rolname, c.relname, a.privilege_type FROM pg_catalog.pg_class c"
                        " CROSS JOIN LATERAL pg_catalog.aclexplode(c.relacl) a"
                        " JOIN pg_catalog.pg_roles g ON g.oid = a.grantee"
                        " WHERE c.relnamespace = (SELECT oid FROM pg_catalog.pg_namespace"
                        " WHERE nspname = current_schema())"
                        " AND c.relname IN ('recordings', 'locations', 'schema_version',"
                        " 'evaluation_settings', 'audit_trail', 'review_choices',"
                        " 'signature_meanings')"
                        " AND g.rolname IN ") +
                    groupRoles + QLatin1String(" ORDER BY 1, 2, 3")))
        return fail(serverReason(query));
    while (query.next())
        done->rights[query.value(0).toString()][query.value(1).toString()]
            << query.value(2).toString();
    if (!query.exec(QStringLiteral("SELECT relrowsecurity FROM pg_catalog.pg_class"
                                   " WHERE oid = 'locations'::regclass")) ||
        !query.next())
        return fail(serverReason(query));
    done->rowLevelSecurity = query.value(0).toBool();
    if (!query.exec(QStringLiteral("SELECT policyname FROM pg_catalog.pg_policies"
                                   " WHERE schemaname = current_schema()"
                                   " AND tablename = 'locations' ORDER BY 1")))
        return fail(serverReason(query));
    while (query.next())
        done->policies << query.value(0).toString();
    return true;
}

bool ArchiveRoles::grant(const QString &login, Role role)
{
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // The server quotes the name: no text of it reaches a statement unquoted.
    query.prepare(QStringLiteral("SELECT pg_catalog.quote_ident(?),"
                                 " (SELECT rolcanlogin FROM pg_catalog.pg_roles WHERE rolname = ?),"
                                 " (SELECT COUNT(*) FROM pg_catalog.pg_roles WHERE rolname IN ") +
                  groupRoles + QLatin1Char(')'));
    query.addBindValue(login);
    query.addBindValue(login);
    if (!query.exec() || !query.next())
        return fail(serverReason(query));
    const QString quoted = query.value(0).toString();
    // An unknown role is left to the server, which names it.
    if (!query.value(1).isNull() && !query.value(1).toBool())
        return fail(QStringLiteral("%1 is not a login role: grant a person's own role").arg(login));
    if (query.value(2).toInt() < 2)
        return fail(QStringLiteral("the archive's roles do not exist yet: run 'hygra-cli archive "
                                   "setup' first"));
    const Role other = role == Operator ? Reader : Operator;
    QString why;
    if (!archiveschema::beginWrite(db, &why))
        return fail(why);
    const bool ok = exec(QStringLiteral("GRANT %1 TO %2").arg(roleName(role), quoted)) &&
                    exec(QStringLiteral("REVOKE %1 FROM %2").arg(roleName(other), quoted));
    if (ok && db.commit())
        return true;
    if (ok)
        fail(db.lastError().text().trimmed());
    db.rollback();
    return false;
}
