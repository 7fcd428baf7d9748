// SPDX-License-Identifier: GPL-3.0-or-later
// SignalBridge: SIGINT and SIGTERM delivered as a Qt signal in the event loop.
#include "cli/signalbridge.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
constexpr int bridgedSignals[] = {SIGINT, SIGTERM};
// The pair's write end is all the handler touches; -1 while no bridge exists.
int socketPair[2] = {-1, -1};
struct sigaction replaced[2];

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    // Nothing but write() is safe here. A full socket drops the byte, and the
    // bytes already waiting say the same.
    [[maybe_unused]] const ssize_t written = write(socketPair[1], &byte, 1);
    errno = savedErrno;
}
} // namespace

SignalBridge::SignalBridge(QObject *parent) : QObject(parent)
{
    if (socketPair[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM, 0, socketPair) != 0)
        return;
    for (int fd : socketPair) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    notifier = new QSocketNotifier(socketPair[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SignalBridge::readSignals);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 2; ++i)
        sigaction(bridgedSignals[i], &action, &replaced[i]);
}

SignalBridge::~SignalBridge()
{
    if (!notifier)
        return;
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (int i = 0; i < 2; ++i)
        sigaction(bridgedSignals[i], ignoring ? &ignore : &replaced[i], nullptr);
    delete notifier;
    for (int &fd : socketPair) {
        close(fd);
        fd = -1;
    }
}

void SignalBridge::keepIgnoring()
{
    ignoring = true;
}

void SignalBridge::readSignals()
{
    char bytes[16];
    ssize_t n;
    while ((n = read(socketPair[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i)
            emit received(bytes[i]);
    }
}

#else

SignalBridge::SignalBridge(QObject *parent) : QObject(parent) {}

SignalBridge::~SignalBridge() = default;

void SignalBridge::keepIgnoring() {}

void SignalBridge::readSignals() {}

#endif
