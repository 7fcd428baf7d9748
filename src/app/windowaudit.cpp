// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowaudit.h"

#include "app/archivekeeper.h"
#include "app/connectwidget.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/reasondialog.h"
#include "app/tbwidget.h"
#include "config/configaudit.h"
#include "config/persettingjson.h"
#include "core/auditentry.h"
#include "device/protocol.h"
#include "device/usbcontrol.h"
#include "recording/recordingaudit.h"
#include "settings/devsettinginfo.h"
#include "views/datashowwidget.h"
#include "views/exportflow.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace
{
QJsonObject change(const QString &setting, const QJsonValue &before, const QJsonValue &after)
{
    return {
        {setting, QJsonObject{{QStringLiteral("old"), before}, {QStringLiteral("new"), after}}}};
}

QJsonObject fileDetails(const QString &format, const QString &path)
{
    return {{QStringLiteral("format"), format},
            {QStringLiteral("file"), QFileInfo(path).fileName()}};
}

// `kind`-failed about `recording`: its fingerprint and serial.
AuditEntry failedAbout(const QString &kind, const QString &error, const QJsonObject &details,
                       const LoadedRecording &recording)
{
    AuditEntry entry = audit::failed(kind, error, details);
    const AuditEntry about = recordingaudit::about(kind, recording);
    entry.sha256 = about.sha256;
    entry.serial = about.serial;
    return entry;
}
} // namespace

WindowAudit::WindowAudit(MainWindow *window, ArchiveKeeper *keeper)
    : QObject(window), window(window), keeper(keeper)
{
    UsbControl *controller = window->controller();
    connect(controller, &UsbControl::stopStartRecordResult, this, [this](bool ok, bool isStop) {
        device(isStop ? QStringLiteral("stop-recording") : QStringLiteral("start-recording"), ok,
               errorText(LoggerError::NoAnswer));
    });
    connect(controller, &UsbControl::resetCmdResult, this, [this](bool ok) {
        device(QStringLiteral("factory-reset"), ok, QStringLiteral("the logger did not reset"), {},
               resetReason);
        resetReason.clear();
    });
    connect(controller, &UsbControl::setLangueResult, this, &WindowAudit::languageResult);
    connect(controller, &UsbControl::otherCmdErrTip, this, &WindowAudit::writeFailed);

    DevSettingInfo *settings = window->form()->devSetting;
    settings->setReasonAsker(
        [this](const QString &action, QString *reason) { return askReason(action, reason); });
    connect(settings, &DevSettingInfo::toWriteConfigToDev, this, [this] {
        configPending = true;
        notePending = true;
    });
    connect(settings, &DevSettingInfo::configWriteEnded, this, &WindowAudit::configWritten);
    connect(settings, &DevSettingInfo::presetSaved, this, [this](const QString &name) {
        send(audit::event(QStringLiteral("preset-save"), {{QStringLiteral("name"), name}}));
    });
    connect(settings, &DevSettingInfo::presetRenamed, this,
            [this](const QString &oldName, const QString &newName) {
                send(audit::event(
                    QStringLiteral("preset-rename"),
                    {{QStringLiteral("old"), oldName}, {QStringLiteral("new"), newName}}));
            });
    connect(settings, &DevSettingInfo::presetDeleted, this, [this](const QString &name) {
        send(audit::event(QStringLiteral("preset-delete"), {{QStringLiteral("name"), name}}));
    });

    TbWidget *toolbar = window->form()->tbWidget;
    connect(toolbar, &TbWidget::autoDownloadChanged, this,
            [this](const AutoDownloadSettings &before, const AutoDownloadSettings &after) {
                for (const QJsonObject &details : autoDownloadChanges(before, after))
                    send(audit::event(QStringLiteral("settings-change"), details));
            });
    connect(toolbar, &TbWidget::askForReasonSwitched, this,
            [this](bool on) { setting(QStringLiteral("askForReason"), !on, on); });
    connect(window->form()->dataShow, &DataShowWidget::fileExported, this, &WindowAudit::exported);
}

bool WindowAudit::askReason(const QString &action, QString *reason)
{
    return ReasonDialog::ask(action, window, reason);
}

void WindowAudit::send(AuditEntry entry, const QString &reason)
{
    entry.reason = reason;
    keeper->record(entry);
}

QString WindowAudit::serial() const
{
    return window->form()->connectWidget->serialNumber();
}

void WindowAudit::device(const QString &kind, bool ok, const QString &error,
                         const QJsonObject &details, const QString &reason)
{
    AuditEntry entry = ok ? audit::event(kind, details) : audit::failed(kind, error, details);
    entry.serial = serial();
    send(entry, reason);
}

void WindowAudit::downloaded(const QString &path, const LoadedRecording &recording, bool automatic)
{
    send(recordingaudit::download(
        path, recording, automatic ? QStringLiteral("auto-download") : QStringLiteral("download")));
}

void WindowAudit::downloadFailed(LoggerError error, bool automatic)
{
    device(automatic ? QStringLiteral("auto-download") : QStringLiteral("download"), false,
           errorText(error));
}

void WindowAudit::reportWritten(const QString &format, const QString &path,
                                const QByteArray &sha256, const LoadedRecording &recording)
{
    send(recordingaudit::exported(format, path, sha256, recording));
}

void WindowAudit::reportFailed(const QString &format, const QString &path,
                               const LoadedRecording &recording)
{
    send(failedAbout(QStringLiteral("export"), QStringLiteral("the file could not be written"),
                     fileDetails(format, path), recording));
}

void WindowAudit::exported(const ExportedFile &file, const LoadedRecording &recording,
                           const QVector<ComparedRecording> &compared)
{
    if (!file.written) {
        send(failedAbout(QStringLiteral("export"), file.error, fileDetails(file.format, file.path),
                         compared.isEmpty() ? recording : LoadedRecording()));
        return;
    }
    const QByteArray sha256 = recordingaudit::fileSha256(file.path);
    if (compared.isEmpty()) {
        send(recordingaudit::exported(file.format, file.path, sha256, recording));
        return;
    }
    // A comparison names no one recording: the fingerprints of all of them.
    QJsonObject details = fileDetails(file.format, file.path);
    details.insert(QStringLiteral("fileSha256"), QString::fromLatin1(sha256));
    QJsonArray recordings;
    for (const ComparedRecording &one : compared)
        recordings.append(one.loaded.sha256);
    details.insert(QStringLiteral("recordings"), recordings);
    send(audit::event(QStringLiteral("export"), details));
}

void WindowAudit::deleted(const QString &path, const LoadedRecording &recording, bool toTrash,
                          const QString &reason)
{
    send(recordingaudit::about(QStringLiteral("delete"), recording,
                               {{QStringLiteral("file"), QFileInfo(path).fileName()},
                                {QStringLiteral("toTrash"), toTrash}}),
         reason);
}

void WindowAudit::deleteFailed(const QString &path, const LoadedRecording &recording,
                               const QString &reason)
{
    send(failedAbout(QStringLiteral("delete"), QStringLiteral("the file could not be removed"),
                     {{QStringLiteral("file"), QFileInfo(path).fileName()}}, recording),
         reason);
}

void WindowAudit::renamed(const QString &oldName, const QString &newName,
                          const LoadedRecording &recording, const QString &reason)
{
    send(
        recordingaudit::about(QStringLiteral("rename"), recording,
                              {{QStringLiteral("old"), oldName}, {QStringLiteral("new"), newName}}),
        reason);
}

void WindowAudit::renameFailed(const QString &oldName, const QString &newName,
                               const QString &reason)
{
    send(audit::failed(QStringLiteral("rename"), QStringLiteral("the file could not be renamed"),
                       {{QStringLiteral("old"), oldName}, {QStringLiteral("new"), newName}}),
         reason);
}

void WindowAudit::configWritten(const ConfigWrite &write, bool configOk, bool noteOk)
{
    if (configPending) {
        configPending = false;
        device(QStringLiteral("config-write"), configOk,
               QStringLiteral("the logger holds another configuration than the one written"),
               configaudit::writeDetails(write.before, write.after, write.erasedRecording),
               write.reason);
        if (configOk) {
            // The write sets the logger's clock too.
            const QString time = PersettingJson::fromDateBytes(write.after.devDateTime)
                                     .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
            device(QStringLiteral("clock-set"), true, QString(),
                   {{QStringLiteral("time"), time},
                    {QStringLiteral("followsComputer"), write.after.isDateTimeFlowSys}},
                   write.reason);
        }
    }
    if (notePending) {
        notePending = false;
        if (write.noteBefore != write.noteAfter)
            device(QStringLiteral("note-write"), noteOk,
                   QStringLiteral("the logger holds another note than the one written"),
                   configaudit::noteDetails(write.noteBefore, write.noteAfter), write.reason);
    }
}

void WindowAudit::writeFailed(int type, int opt)
{
    if (opt != WriteOpt || (type != ConfigCmd && type != NoteCmd))
        return;
    const ConfigWrite &write = window->form()->devSetting->sentWrite();
    // The note goes after the configuration, whose echo comes with the note's answer: without
    // that answer the configuration is not confirmed either.
    if (configPending) {
        configPending = false;
        device(QStringLiteral("config-write"), false,
               type == ConfigCmd
                   ? errorText(LoggerError::NoAnswer)
                   : QStringLiteral("not confirmed: the logger did not answer the note's write"),
               configaudit::writeDetails(write.before, write.after, write.erasedRecording),
               write.reason);
    }
    if (type == NoteCmd && notePending) {
        notePending = false;
        if (write.noteBefore != write.noteAfter)
            device(QStringLiteral("note-write"), false, errorText(LoggerError::NoAnswer),
                   configaudit::noteDetails(write.noteBefore, write.noteAfter), write.reason);
    }
}

void WindowAudit::languageResult(bool ok)
{
    if (languages.isEmpty())
        return;
    const QString language = languages.takeFirst();
    if (!language.isEmpty())
        device(QStringLiteral("logger-language"), ok, errorText(LoggerError::NoAnswer),
               {{QStringLiteral("language"), language}});
}

void WindowAudit::setting(const QString &name, const QJsonValue &before, const QJsonValue &after)
{
    send(audit::event(QStringLiteral("settings-change"), change(name, before, after)));
}

QVector<QJsonObject> WindowAudit::autoDownloadChanges(const AutoDownloadSettings &before,
                                                      const AutoDownloadSettings &after)
{
    QVector<QJsonObject> changes;
    const auto compare = [&changes](const char *name, const QJsonValue &was,
                                    const QJsonValue &now) {
        if (was != now)
            changes.append(change(QLatin1String(name), was, now));
    };
    compare("autoDownload.enabled", before.enabled, after.enabled);
    compare("autoDownload.reportFolder", QDir::toNativeSeparators(autoReportFolder(before)),
            QDir::toNativeSeparators(autoReportFolder(after)));
    compare("autoDownload.pdf", before.pdf, after.pdf);
    compare("autoDownload.csv", before.spreadsheet, after.spreadsheet);
    compare("autoDownload.xlsx", before.workbook, after.workbook);
    return changes;
}

QString WindowAudit::errorText(LoggerError error)
{
    return loggerErrorText(error, QStringLiteral("the request"));
}
