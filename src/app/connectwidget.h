// SPDX-License-Identifier: GPL-3.0-or-later
// ConnectWidget: the connected-device panel that starts a connection and shows the logger's state.
#pragma once

#include <QWidget>

class QAction;
class QLabel;

class ConnectWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ConnectWidget(QWidget *parent = nullptr);

    // Shows the connected model's picture and name.
    void setDevType(int devType);
    // Back to "点击连接设备", ready for the next connection.
    void showDisconnected();
    // The start values that every toNoticeTbWidget carries.
    void setStartInfo(int startMode, bool isRestart);
    bool isConnected() const { return devType != -1; }
    // The connected logger's model (-1 when none) and serial number, as its state reports them.
    int connectedModel() const { return devType; }
    QString serialNumber() const;
    // A connection is under way, by a click or by the automatic download: presses are ignored.
    void beginConnection();
    // A connection was asked for or is established.
    bool isBusy() const { return busy; }
    // "断开连接": offered by a click on the panel (and its context menu) while connected.
    QAction *disconnectAction() const { return disconnectLogger; }

signals:
    void toConnect();
    void toDisconnect();
    void connectSuccessSignal(int devType);
    void toNoticeTbWidget(int startMode, bool isRestart, bool isRecord);

public slots:
    void delDevStateSignal(const QString &sn, bool isRecord, bool isAlert, int devType);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The state icons' tooltips in the interface's language.
    void retranslateIcons();

    QWidget *widget;
    QWidget *devWidget;
    QLabel *devNameLabel;
    QLabel *snNameLabel;
    QLabel *recordIcon;
    QLabel *alertIcon;
    QAction *disconnectLogger;
    bool lastIsRecord = false;
    bool lastIsAlert = false;
    bool firstState = true;
    bool isRestart = false;
    int startMode = -1;
    int devType = -1;
    bool hover = false;
    // A connection was asked for or is established; presses are ignored.
    bool busy = false;
};
