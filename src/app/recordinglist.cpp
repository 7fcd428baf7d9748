// SPDX-License-Identifier: GPL-3.0-or-later
// The recording list of the main window.
#include "app/recordinglist.h"

#include "app/filebutton.h"
#include "app/mainwindowform.h"
#include "core/settinginfo.h"
#include "views/datashowwidget.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>

namespace
{
constexpr int entryPitch = 54;
constexpr int entryHeight = 50;
constexpr int listMargin = 4;

QString trMain(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

QString recordingPath(const QString &name)
{
    return dataDir() + QLatin1Char('/') + name + QStringLiteral(".data");
}

// Whether QFile::moveToTrash has a trash to move into. On freedesktop systems
// Qt 5.15 uses (and makes) the folder Trash in the user's data folder, and where
// it cannot, it moves the file into "files" under the current working folder
// instead; such a move must never happen to a recording.
bool hasTrash()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QFileInfo trash(dataHome + QStringLiteral("/Trash"));
    if (trash.exists())
        return trash.isDir();
    const QFileInfo home(dataHome);
    return !dataHome.isEmpty() && home.isDir() && home.isWritable();
#else
    return true;
#endif
}
} // namespace

RecordingList::RecordingList(MainWindowForm *form, DataShowWidget *view, QWidget *window)
    : QObject(window), form(form), view(view), window(window), buttons(new QButtonGroup(window))
{
    buttons->setExclusive(false);
    connect(buttons, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &RecordingList::entryClicked);
    form->delBtn->hide();
    retranslate();
}

void RecordingList::retranslate()
{
    form->delBtn->setText(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除")));
    form->selectBtn->setText(selectMode ? trMain(QT_TRANSLATE_NOOP("MainWindow", "取消"))
                                        : trMain(QT_TRANSLATE_NOOP("MainWindow", "编辑")));
}

FileButton *RecordingList::createEntry(const QString &filePath, int index)
{
    auto *entry = new FileButton(form->scrollAreaWidgetContents);
    entry->setFilePath(filePath);
    entry->setText(FileButton::entryText(filePath));
    entry->setGeometry(listMargin, listMargin + entryPitch * index,
                       form->scrollArea->width() - 2 * listMargin, entryHeight);
    connect(entry, &FileButton::fileBtnOptSignal, this, &RecordingList::delFileBtnOptSignal);
    connect(entry, &FileButton::updateRename, this, &RecordingList::delUpdateRename);
    return entry;
}

void RecordingList::setContentsHeight(int entries)
{
    form->scrollAreaWidgetContents->setFixedHeight(entryPitch * entries + listMargin);
}

void RecordingList::loadFileButtons()
{
    buttons->setExclusive(false);
    while (!buttons->buttons().isEmpty()) {
        QAbstractButton *last = buttons->buttons().constLast();
        buttons->removeButton(last);
        last->close();
        last->deleteLater();
    }
    const QFileInfoList files =
        QDir(dataDir()).entryInfoList({QStringLiteral("*.data")}, QDir::Files, QDir::Name);
    for (int i = 0; i < files.size(); ++i) {
        FileButton *entry = createEntry(files.at(i).filePath(), i);
        entry->show();
        buttons->addButton(entry, i);
    }
    setContentsHeight(files.size());
}

void RecordingList::addFileButton(const QString &filePath)
{
    const int n = buttons->buttons().size();
    FileButton *entry = createEntry(filePath, n);
    if (selectMode) {
        entry->setCheckable(true);
        entry->setSelectMode(1);
    } else {
        entry->setSelectMode(0);
    }
    entry->show();
    buttons->addButton(entry, -1);
    setContentsHeight(n + 1);
}

void RecordingList::layoutEntries()
{
    const QList<QAbstractButton *> entries = buttons->buttons();
    for (int i = 0; i < entries.size(); ++i)
        entries.at(i)->setGeometry(listMargin, listMargin + entryPitch * i,
                                   form->scrollArea->width() - 2 * listMargin, entryHeight);
}

void RecordingList::entryClicked(QAbstractButton *button)
{
    if (selectMode)
        return;
    auto *entry = static_cast<FileButton *>(button);
    if (entry->isCheckable()) {
        entry->setChecked(false);
        entry->setCheckable(false);
        view->clearRecording();
    } else {
        openDataFile(entry->filePath());
    }
}

bool RecordingList::openDataFile(const QString &filePath)
{
    if (!view->openRecording(filePath)) {
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "打开失败!")));
        return false;
    }
    markShownEntry();
    return true;
}

void RecordingList::markShownEntry()
{
    const QString shown = view->recordingBaseName();
    for (QAbstractButton *entry : buttons->buttons()) {
        const bool isShown = !shown.isEmpty() && entry->text() == shown;
        entry->setCheckable(isShown);
        entry->setChecked(isShown);
    }
}

FileButton *RecordingList::entryWithText(const QString &text) const
{
    for (QAbstractButton *entry : buttons->buttons()) {
        if (entry->text() == text)
            return static_cast<FileButton *>(entry);
    }
    return nullptr;
}

bool RecordingList::removeRecordingFile(const QString &path)
{
    // A recording may be the only record of a shipment: it goes to the desktop's
    // trash, and is deleted for good only where there is no trash to take it.
    if ((hasTrash() && QFile::moveToTrash(path)) || QFile::remove(path))
        return true;
    // A read-only file is made writable once and removed again.
    QFile::setPermissions(path, QFileDevice::ReadOther | QFileDevice::WriteOther |
                                    QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return QFile::remove(path) || !QFileInfo::exists(path);
}

void RecordingList::delFileBtnOptSignal(QString filePath, int optNum)
{
    const QString name = FileButton::entryText(filePath);
    switch (optNum) {
    case 0:
        openDataFile(filePath);
        break;
    case 1: {
        const bool removed = removeRecordingFile(filePath);
        if (FileButton *entry = entryWithText(name)) {
            buttons->removeButton(entry);
            entry->close();
            entry->deleteLater();
        }
        loadFileButtons();
        if (removed && name == view->recordingBaseName())
            view->clearRecording();
        else
            markShownEntry();
        if (!removed)
            emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除失败")));
        break;
    }
    case 2:
        if (FileButton *entry = entryWithText(name))
            entry->startRename(entry->isChecked());
        break;
    default:
        break;
    }
}

void RecordingList::delUpdateRename(QString newName, QString oldName)
{
    const QString newPath = recordingPath(newName);
    if (QFile::exists(newPath)) {
        QMessageBox::critical(window, trMain(QT_TRANSLATE_NOOP("MainWindow", "重命名")),
                              trMain(QT_TRANSLATE_NOOP("MainWindow", "命名已存在")) + "!");
        return;
    }
    if (!QFile::rename(recordingPath(oldName), newPath))
        return;
    if (oldName == view->recordingBaseName())
        view->setRecordingBaseName(newName);
    if (FileButton *entry = entryWithText(oldName)) {
        entry->setText(newName);
        entry->setFilePath(newPath);
    }
}

void RecordingList::switchDelFile()
{
    selectMode = !selectMode;
    for (QAbstractButton *button : buttons->buttons()) {
        auto *entry = static_cast<FileButton *>(button);
        if (selectMode) {
            entry->setCheckable(true);
            entry->setChecked(false);
        }
        entry->setSelectMode(selectMode ? 1 : 0);
    }
    if (!selectMode)
        markShownEntry();
    form->delBtn->setVisible(selectMode);
    retranslate();
}

void RecordingList::delDataFiles()
{
    const QString shown = view->recordingBaseName();
    QStringList names;
    for (QAbstractButton *entry : buttons->buttons()) {
        if (entry->isChecked())
            names << entry->text();
    }
    bool shownDeleted = false;
    bool allRemoved = true;
    for (const QString &name : qAsConst(names)) {
        const bool removed = removeRecordingFile(recordingPath(name));
        allRemoved = allRemoved && removed;
        shownDeleted = shownDeleted || (removed && !shown.isEmpty() && name == shown);
    }
    if (shownDeleted)
        view->clearRecording();
    loadFileButtons();
    switchDelFile();
    if (!allRemoved)
        emit sendMessage(trMain(QT_TRANSLATE_NOOP("MainWindow", "删除失败")));
}
