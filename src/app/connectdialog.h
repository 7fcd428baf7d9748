// SPDX-License-Identifier: GPL-3.0-or-later
// ConnectDialog: the modal choice among the attached loggers, one DevButton each.
#pragma once

#include "core/attachedlogger.h"
#include "widgets/nativewindowtemplate.h"

#include <QDialog>
#include <QVector>

class QButtonGroup;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

class ConnectDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    explicit ConnectDialog(QWidget *parent = nullptr);

    // One button per logger, the first one listed at the bottom; the one at
    // `preferred` (the one used last, when attached) is chosen, else the first.
    // Each shows its port and what this computer knows of the logger there.
    void setLoggers(const QVector<AttachedLogger> &loggers,
                    const AttachedLogger &preferred = AttachedLogger());

    // The chosen logger; invalid when there is none.
    AttachedLogger selectedLogger() const { return chosen; }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void on_connectBtn_clicked();
    void on_cancelBtn_clicked();

private:
    void select(int id);
    void retranslate();
    QString detailOf(const AttachedLogger &logger) const;

    QWidget *conntentWidget;
    QVBoxLayout *conntentLayout;
    QPushButton *connectBtn;
    QPushButton *cancelBtn;
    QButtonGroup *group;
    QScrollArea *scrollArea;
    AttachedLogger chosen;
};
