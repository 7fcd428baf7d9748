// SPDX-License-Identifier: GPL-3.0-or-later
// PasswordInput: a password for hygra-cli, from a file descriptor or typed on the terminal unseen.
#include "cli/passwordinput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

// A password longer than this is no typing mistake but a file given by error.
constexpr int longestPassword = 4096;

bool failWith(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// Reads `fd` byte by byte up to the newline, so nothing after it is taken
// from a pipe that carries more.
bool readLine(int fd, QByteArray *line, QString *error)
{
    line->clear();
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failWith(error, QString::fromLocal8Bit(std::strerror(errno)));
        if (n == 0 || c == '\n')
            break;
        if (line->size() >= longestPassword)
            return failWith(
                error, QStringLiteral("the password is longer than %1 bytes").arg(longestPassword));
        line->append(c);
    }
    if (line->endsWith('\r'))
        line->chop(1);
    return true;
}

} // namespace

namespace passwordinput
{

bool fromDescriptor(int fd, QByteArray *password, QString *error)
{
    QString why;
    if (fd < 0 || !readLine(fd, password, &why))
        return failWith(error, QStringLiteral("cannot read the password from file descriptor "
                                              "%1%2")
                                   .arg(fd)
                                   .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    return true;
}

bool fromTerminal(const QString &prompt, QByteArray *password, QString *error)
{
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios saved{};
    if (tty < 0 || ::tcgetattr(tty, &saved) != 0) {
        if (tty >= 0)
            ::close(tty);
        return failWith(error, QStringLiteral("no terminal to ask the password on; give it with "
                                              "--password-fd N"));
    }
    const QByteArray asked = prompt.toLocal8Bit();
    bool ok = ::write(tty, asked.constData(), size_t(asked.size())) == asked.size();
    termios silent = saved;
    silent.c_lflag &= ~tcflag_t(ECHO);
    silent.c_lflag |= ECHONL;
    ok = ok && ::tcsetattr(tty, TCSAFLUSH, &silent) == 0;
    QString why;
    ok = ok && readLine(tty, password, &why);
    ::tcsetattr(tty, TCSAFLUSH, &saved);
    ::close(tty);
    if (!ok)
        return failWith(error, QStringLiteral("cannot read the password on the terminal%1")
                                   .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    return true;
}

} // namespace passwordinput
