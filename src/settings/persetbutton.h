// SPDX-License-Identifier: GPL-3.0-or-later
// PersetButton: one entry of the preset list, with its apply button and context menu.
#pragma once

#include <QMap>
#include <QPixmap>
#include <QPushButton>

class QAction;
class QMenu;

class PersetButton : public QPushButton
{
    Q_OBJECT
public:
    // The object name carries the preset's file name and list position:
    // "<file name>__<position>".
    PersetButton(const QString &text, const QString &objectName, QWidget *parent = nullptr);

    bool isSelectMode() const { return selectMode; }
    // In select mode the entry shows a check box instead of its apply button.
    void setSelectMode(bool on);
    QPushButton *applyButton() const { return applyBtn; }
    // The menu actions under the keys "open", "del" and "rename".
    QAction *action(const QString &key) const { return actions.value(key); }

    // File name and list position carried in an entry's object name; the
    // position is -1 when the name has no "__".
    static QPair<QString, int> splitName(const QString &objectName);

signals:
    void perSetOptSignal(QString objname, int optNum);
    void applyConfigSignal(QString objname);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QPixmap selectBox;
    QPixmap unselectBox;
    bool selectMode = false;
    QPushButton *applyBtn = nullptr;
    QMenu *menu = nullptr;
    QMap<QString, QAction *> actions;
};
