// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a password is the signer's own: the operating-system account's, or a team role's.
#include "archive/signerpassword.h"

#include <libpq-fe.h>
#include <security/pam_appl.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace signerpassword
{
namespace
{
// Answers every prompt that hides its input with the password; PAM frees the answers.
int converse(int count, const pam_message **messages, pam_response **responses, void *data)
{
    const QByteArray &password = *static_cast<const QByteArray *>(data);
    auto *answers = static_cast<pam_response *>(calloc(size_t(count), sizeof(pam_response)));
    if (!answers)
        return PAM_BUF_ERR;
    for (int i = 0; i < count; ++i) {
        if (messages[i]->msg_style == PAM_PROMPT_ECHO_OFF)
            answers[i].resp = strndup(password.constData(), size_t(password.size()));
    }
    *responses = answers;
    return PAM_SUCCESS;
}

struct PgConnDeleter {
    void operator()(PGconn *connection) const { PQfinish(connection); }
};
} // namespace

Verdict checkAccount(const QString &login, const QByteArray &password, QString *error)
{
    const pam_conv conversation{converse, const_cast<QByteArray *>(&password)};
    pam_handle_t *handle = nullptr;
    int status = pam_start(pamService, login.toLocal8Bit().constData(), &conversation, &handle);
    if (status != PAM_SUCCESS) {
        *error = QStringLiteral("PAM could not start: %1")
                     .arg(QString::fromLocal8Bit(pam_strerror(handle, status)));
        pam_end(handle, status);
        return Verdict::CannotCheck;
    }
    status = pam_authenticate(handle, PAM_DISALLOW_NULL_AUTHTOK);
    // An expired or locked account may not sign either.
    if (status == PAM_SUCCESS)
        status = pam_acct_mgmt(handle, PAM_DISALLOW_NULL_AUTHTOK);
    const QString why = QString::fromLocal8Bit(pam_strerror(handle, status));
    pam_end(handle, status);
    switch (status) {
    case PAM_SUCCESS:
        return Verdict::Correct;
    case PAM_AUTH_ERR:
    case PAM_USER_UNKNOWN:
    case PAM_MAXTRIES:
        *error = why;
        return Verdict::Wrong;
    default:
        *error = QStringLiteral("PAM could not check the password: %1").arg(why);
        return Verdict::CannotCheck;
    }
}

Verdict checkTeamRole(const ArchiveLocation &location, const QString &login,
                      const QByteArray &password, QString *error)
{
    std::vector<QByteArray> keys;
    std::vector<QByteArray> values;
    const auto add = [&](const char *key, const QString &value) {
        if (!value.isEmpty()) {
            keys.emplace_back(key);
            values.push_back(value.toUtf8());
        }
    };
    for (auto it = location.parameters.cbegin(); it != location.parameters.cend(); ++it)
        add(it.key().toUtf8().constData(), it.value());
    add("host", location.host);
    if (location.port > 0)
        add("port", QString::number(location.port));
    add("dbname", location.database);
    add("user", login);
    keys.emplace_back("password");
    values.push_back(password);
    std::vector<const char *> keyPointers;
    std::vector<const char *> valuePointers;
    for (size_t i = 0; i < keys.size(); ++i) {
        keyPointers.push_back(keys[i].constData());
        valuePointers.push_back(values[i].constData());
    }
    keyPointers.push_back(nullptr);
    valuePointers.push_back(nullptr);
    const std::unique_ptr<PGconn, PgConnDeleter> connection(
        PQconnectdbParams(keyPointers.data(), valuePointers.data(), 0));
    if (!connection) {
        *error = QStringLiteral("out of memory");
        return Verdict::CannotCheck;
    }
    if (PQstatus(connection.get()) != CONNECTION_OK) {
        *error = QString::fromUtf8(PQerrorMessage(connection.get())).trimmed();
        // The server's words for a wrong password, whatever the method.
        return error->contains(QLatin1String("password authentication failed"))
                   ? Verdict::Wrong
                   : Verdict::CannotCheck;
    }
    if (!PQconnectionUsedPassword(connection.get())) {
        *error = QStringLiteral("the server lets %1 in without a password, so it cannot confirm "
                                "who signs: signing needs a server that asks for the password")
                     .arg(login);
        return Verdict::CannotCheck;
    }
    return Verdict::Correct;
}
} // namespace signerpassword
