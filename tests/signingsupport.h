// SPDX-License-Identifier: GPL-3.0-or-later
// A throwaway certificate authority and signer made with the openssl command, and pdfsig's verdict.
#pragma once

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace signingsupport
{

// The files of one made-up public key infrastructure, all in one folder.
struct Pki {
    QString caCertificate;
    // A second CA that signed nothing of ours.
    QString otherCaCertificate;
    // The signer's key and certificate issued by the first CA, and the CA
    // certificate as its chain, under `password`.
    QString p12;
    QByteArray password;
    QString signerName;
    QString error;
};

// Runs `tool` with `arguments` in `dir`; the tool's complaint, or empty when it succeeded.
inline QString runTool(const QString &tool, const QStringList &arguments, const QString &dir,
                       QByteArray *out = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(tool, arguments);
    if (!process.waitForFinished(60000))
        return tool + QStringLiteral(" did not finish");
    if (out)
        *out = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return tool + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") +
               QString::fromLocal8Bit(process.readAllStandardError());
    return QString();
}

// The first of `tools` not on the PATH, or empty.
inline QString missingTool(const QStringList &tools)
{
    for (const QString &tool : tools)
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool;
    return QString();
}

// Makes two CAs and a signer with a certificate of the first, packed into a
// password-protected .p12, in `dir`.
inline Pki makePki(const QString &dir)
{
    Pki pki;
    pki.signerName = QStringLiteral("Quality Officer Test");
    pki.password = "s3cret pass";
    const QString openssl = QStringLiteral("openssl");
    const QStringList steps[] = {
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
         "-days", "30", "-subj", "/CN=Test Root CA"},
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "other.key", "-out",
         "other.pem", "-days", "30", "-subj", "/CN=Other Root CA"},
        {"genpkey", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048", "-out", "signer.key"},
        {"req", "-new", "-key", "signer.key", "-out", "signer.csr", "-subj",
         "/O=Cold Chain Lab/CN=" + pki.signerName},
        {"x509", "-req", "-in", "signer.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
         "-CAcreateserial", "-out", "signer.pem", "-days", "30"},
        {"pkcs12", "-export", "-inkey", "signer.key", "-in", "signer.pem", "-certfile", "ca.pem",
         "-out", "signer.p12", "-passout", "pass:" + QString::fromLatin1(pki.password)},
    };
    for (const QStringList &step : steps) {
        pki.error = runTool(openssl, step, dir);
        if (!pki.error.isEmpty())
            return pki;
    }
    const QDir folder(dir);
    pki.caCertificate = folder.filePath(QStringLiteral("ca.pem"));
    pki.otherCaCertificate = folder.filePath(QStringLiteral("other.pem"));
    pki.p12 = folder.filePath(QStringLiteral("signer.p12"));
    return pki;
}

// What `pdfsig` prints about the signatures of `pdf`.
inline QString pdfsig(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfsig"), {pdf});
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
}

} // namespace signingsupport
