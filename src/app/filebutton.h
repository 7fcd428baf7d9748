// SPDX-License-Identifier: GPL-3.0-or-later
// One entry of the recording list: a painted button with a context menu and an in-place rename
// editor.
#pragma once

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QPushButton>

class QAction;
class QLineEdit;
class QMenu;

class FileButton : public QPushButton
{
    Q_OBJECT
public:
    explicit FileButton(QWidget *parent = nullptr);

    int selectMode() const { return selectModeFlag; }
    void setSelectMode(int mode);
    QString filePath() const { return path; }
    void setFilePath(const QString &filePath) { path = filePath; }
    // Opens the rename editor; the shown recording's entry gets the dark look.
    void startRename(bool dark);
    // Its context menu or its rename editor is open.
    bool isInUse() const;

    // An entry found in the archive: its fingerprint, its logger's serial
    // number and a second line (model, serial number, marks). With an empty
    // path it is a recording that is not on this computer, which opens from
    // the archive and can be neither renamed nor deleted here.
    void setArchiveInfo(const QString &sha256, const QString &serial, const QString &detail,
                        bool outOfRange);
    QString sha256() const { return sha; }
    QString serial() const { return serialNumber; }
    // The archive's line under the name: model, serial number, marks.
    QString detailLine() const { return detail; }
    bool isOutOfRange() const { return outOfRangeMark; }
    bool isRemote() const { return path.isEmpty() && !sha.isEmpty(); }

    // The list shows a file by its name up to the last "."; entries are found by this text.
    static QString entryText(const QString &filePath);

signals:
    // optNum: 0 open, 1 delete, 2 rename; objname carries the file path.
    void fileBtnOptSignal(QString objname, int optNum);
    void updateRename(QString newName, QString oldName);
    // The context menu's history of the entry's logger.
    void historyRequested(QString serial);
    // The context menu's audit trail of the entry's recording.
    void auditTrailRequested(FileButton *entry);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void showMenu();
    void retranslateMenu();
    void finishRename();
    QRect editorGeometry() const;

    QFont font;
    int selectModeFlag = 0;
    QPixmap selectBox;
    QPixmap selectBoxDisabled;
    QPixmap unselectBox;
    QPixmap fileWhite;
    QPixmap fileBlack;
    QPixmap fileGrey;
    QMenu *menu = nullptr;
    QHash<QString, QAction *> actions;
    QString path;
    QLineEdit *editor;
    QString sha;
    QString serialNumber;
    QString detail;
    bool outOfRangeMark = false;
};
