// SPDX-License-Identifier: GPL-3.0-or-later
// The recording list of the main window: entries for the files in the recordings folder.
#pragma once

#include <QObject>
#include <QString>

class DataShowWidget;
class FileButton;
class MainWindowForm;
class QAbstractButton;
class QButtonGroup;
class QWidget;

// Builds the entries in the form's scroll area, opens and closes recordings in
// the view container, deletes and renames files, and runs the selection mode.
// Entries know only their paths; everything that touches the disk is here.
class RecordingList : public QObject
{
    Q_OBJECT
public:
    RecordingList(MainWindowForm *form, DataShowWidget *view, QWidget *window);

    void loadFileButtons();
    void addFileButton(const QString &filePath);
    // Shows the recording and checks its entry; a notice tells of a failure.
    bool openDataFile(const QString &filePath);
    // Places the entries again after the window was resized.
    void layoutEntries();
    bool isSelectMode() const { return selectMode; }
    QButtonGroup *group() const { return buttons; }
    void retranslate();

public slots:
    void delFileBtnOptSignal(QString filePath, int optNum);
    void delUpdateRename(QString newName, QString oldName);
    void switchDelFile();
    void delDataFiles();

signals:
    void sendMessage(QString msg);

private:
    void entryClicked(QAbstractButton *button);
    FileButton *createEntry(const QString &filePath, int index);
    void setContentsHeight(int entries);
    // The entry of the shown recording checked, every other one plain.
    void markShownEntry();
    FileButton *entryWithText(const QString &text) const;
    // Moves the file to the trash, or deletes it where there is none; false
    // while the file is still there.
    static bool removeRecordingFile(const QString &path);

    MainWindowForm *form;
    DataShowWidget *view;
    QWidget *window;
    QButtonGroup *buttons;
    bool selectMode = false;
};
