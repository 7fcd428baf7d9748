// SPDX-License-Identifier: GPL-3.0-or-later
// The tab bar above the recording pages, with the alarm-marks and restore buttons.
#pragma once

#include <QWidget>

class QButtonGroup;
class QPropertyAnimation;
class QToolButton;

// Two tabs ("数据", "设备信息") under an animated indicator bar; the alarm-marks
// and restore buttons act on the chart and are disabled on the second tab.
class DataInfoTbWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DataInfoTbWidget(QWidget *parent = nullptr);

    int currentIndex() const { return mIndex; }
    bool alarmMarks() const { return mAlarmFlag; }
    QWidget *indicator() const { return mIndicator; }

    // The indicator's place under the tab `id`.
    QRect indicatorRect(int id) const;

signals:
    void selectTabIndex(int index);
    void sendAlertFlagSignal(bool flag);
    void sendRestoreSignal();

public slots:
    void buttonClickResponse(int id);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void toggleAlarmMarks();

    QToolButton *dToolButton;
    QToolButton *iToolButton;
    QToolButton *alertButton;
    QToolButton *restoreButton;
    QWidget *mIndicator;
    QButtonGroup *mGroup;
    QPropertyAnimation *mAnimation;
    bool mAlarmFlag = true;
    int mIndex = 0;
};
