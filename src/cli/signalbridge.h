// SPDX-License-Identifier: GPL-3.0-or-later
// SignalBridge: SIGINT and SIGTERM delivered as a Qt signal in the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

// While it exists, SIGINT and SIGTERM no longer end the process: the handler
// only writes the signal's number into a socket pair, and a socket notifier
// turns it into `received` once the event loop runs again, where stopping
// cleanly is safe. The handlers it replaced come back when it is destroyed.
// One bridge at a time. Where there are no POSIX signals it does nothing.
class SignalBridge : public QObject
{
    Q_OBJECT
public:
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

    // From now on the two signals stop nothing, also once the bridge is gone:
    // what they would have stopped is done, and the program only finishes.
    void keepIgnoring();

signals:
    void received(int signalNumber);

private:
    void readSignals();

    QSocketNotifier *notifier = nullptr;
    bool ignoring = false;
};
