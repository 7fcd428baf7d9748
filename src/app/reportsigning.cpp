// SPDX-License-Identifier: GPL-3.0-or-later
// ReportSigning: the window's flow that signs a PDF report digitally with the user's PKCS#12 key.
#include "app/reportsigning.h"

#include "app/archivekeeper.h"
#include "app/mainwindow.h"
#include "app/windowaudit.h"
#include "core/auditentry.h"
#include "core/settinginfo.h"
#include "export/pdfsignature.h"
#include "recording/recordingaudit.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QJsonObject>

namespace
{

const QString kind = QStringLiteral("report-signature");

void record(MainWindow *window, AuditEntry entry, const QString &reason)
{
    entry.reason = reason;
    window->keeper()->record(entry);
}

} // namespace

void ReportSigning::run(MainWindow *window)
{
    const QString report = QFileDialog::getOpenFileName(window, tr("选择要签名的 PDF 报告"),
                                                        dataDir(), tr("PDF 文件 (*.pdf)"));
    if (report.isEmpty())
        return;
    SettingInfo *settings = settingInfo();
    const QString remembered =
        settings ? settings->readInfo(settingsGroup(), settingsKey(), QString()) : QString();
    const QString p12 = QFileDialog::getOpenFileName(
        window, tr("选择签名证书"), remembered.isEmpty() ? QDir::homePath() : remembered,
        tr("PKCS#12 证书 (*.p12 *.pfx)"));
    if (p12.isEmpty())
        return;
    if (settings)
        settings->writeInfo(settingsGroup(), settingsKey(), p12);
    QString reason;
    if (!window->windowAudit()->askReason(tr("签名报告"), &reason))
        return;
    bool given = false;
    QByteArray password = QInputDialog::getText(window, tr("签名报告"),
                                                tr("%1 的密码：").arg(QFileInfo(p12).fileName()),
                                                QLineEdit::Password, QString(), &given)
                              .toUtf8();
    if (!given)
        return;

    const QString name = QFileInfo(report).fileName();
    const QJsonObject details{{QStringLiteral("file"), name}};
    SigningKey key;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = loadPkcs12(p12, password, &key, &error);
    password.fill('\0');
    // Signing a report takes a fraction of a second: no progress to show.
    const bool signedReport = loaded && signPdf(report, report, key, &error);
    QApplication::restoreOverrideCursor();
    if (!signedReport) {
        record(window, audit::failed(kind, error, details), reason);
        window->delSendMessage(loaded ? tr("无法签名 %1：%2").arg(name, error)
                               : QFileInfo(p12).isReadable()
                                   ? tr("无法使用证书 %1：密码错误，或不是 PKCS#12 文件")
                                         .arg(QDir::toNativeSeparators(p12))
                                   : tr("无法读取证书 %1").arg(QDir::toNativeSeparators(p12)));
        return;
    }
    record(window,
           audit::event(kind, {{QStringLiteral("file"), name},
                               {QStringLiteral("sha256"),
                                QString::fromLatin1(recordingaudit::fileSha256(report))},
                               {QStringLiteral("signer"), key.signer}}),
           reason);
    window->delSendMessage(tr("已签名 %1（签名人：%2）").arg(name, key.signer));
}
