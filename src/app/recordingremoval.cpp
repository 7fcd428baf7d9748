// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingRemoval: deleting recording files into the desktop's trash, or for good only after
// asking.
#include "app/recordingremoval.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace
{
QString trMain(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}
} // namespace

bool RecordingRemoval::ensureTrash()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt moves into $XDG_DATA_HOME/Trash, and where it finds none it would move
    // the file into "files" under the current working folder: that must never
    // happen to a recording. A missing home trash is made, readable by its
    // owner only, with its two folders.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return false;
    const QString trash = dataHome + QStringLiteral("/Trash");
    const bool existed = QFileInfo::exists(trash);
    if (!QDir().mkpath(trash + QStringLiteral("/files")) ||
        !QDir().mkpath(trash + QStringLiteral("/info")))
        return false;
    if (!existed)
        QFile::setPermissions(trash, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);
    return QFileInfo(trash).isDir();
#else
    return true;
#endif
}

bool RecordingRemoval::deleteForGood(const QString &path)
{
    if (QFile::remove(path))
        return true;
    // A read-only file is made writable once and removed again.
    QFile::setPermissions(path, QFileDevice::ReadOther | QFileDevice::WriteOther |
                                    QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return QFile::remove(path) || !QFileInfo::exists(path);
}

RecordingRemoval::Outcome RecordingRemoval::remove(const QStringList &paths, QWidget *window)
{
    Outcome outcome;
    QStringList untrashed;
    const bool trash = ensureTrash();
    for (const QString &path : paths) {
        if ((trash && QFile::moveToTrash(path)) || !QFileInfo::exists(path))
            outcome.removed << path;
        else
            untrashed << path;
    }
    if (untrashed.isEmpty())
        return outcome;

    QStringList names;
    for (const QString &path : qAsConst(untrashed))
        names << QFileInfo(path).fileName();
    QMessageBox question(
        QMessageBox::Warning, trMain(QT_TRANSLATE_NOOP("MainWindow", "删除")),
        trMain(
            QT_TRANSLATE_NOOP("MainWindow", "无法移到回收站，删除后将无法恢复：%1\n是否永久删除？"))
            .arg(names.join(QStringLiteral(", "))),
        QMessageBox::NoButton, window);
    QPushButton *forGood = question.addButton(trMain(QT_TRANSLATE_NOOP("MainWindow", "永久删除")),
                                              QMessageBox::DestructiveRole);
    question.setDefaultButton(question.addButton(trMain(QT_TRANSLATE_NOOP("MainWindow", "取消")),
                                                 QMessageBox::RejectRole));
    question.exec();
    if (question.clickedButton() != forGood) {
        outcome.kept = untrashed;
        return outcome;
    }
    for (const QString &path : qAsConst(untrashed)) {
        const bool gone = deleteForGood(path);
        (gone ? outcome.removed : outcome.failed) << path;
        if (gone)
            outcome.deletedForGood << path;
    }
    return outcome;
}
