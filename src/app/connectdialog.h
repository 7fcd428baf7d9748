// SPDX-License-Identifier: GPL-3.0-or-later
// ConnectDialog: the modal choice among the attached loggers, one DevButton each.
#pragma once

#include "widgets/nativewindowtemplate.h"

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QPushButton;
class QVBoxLayout;

class ConnectDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    explicit ConnectDialog(QWidget *parent = nullptr);

    // One button per model name, the first one listed at the bottom and chosen;
    // names of no known model are left out.
    void setDevices(const QStringList &names);

    // The chosen logger's model, or -1 when there is none.
    int selectedDevType() const { return devType; }
    // The chosen logger's position among the attached loggers of its model.
    int selectedIndex() const { return index; }

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_connectBtn_clicked();
    void on_cancelBtn_clicked();

private:
    void select(int id);
    void retranslate();

    QWidget *conntentWidget;
    QVBoxLayout *conntentLayout;
    QPushButton *connectBtn;
    QPushButton *cancelBtn;
    QButtonGroup *group;
    int devType = -1;
    int index = -1;
};
