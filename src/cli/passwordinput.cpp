// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a password for hygra-cli: from a file descriptor for scripts, else from the terminal.
#include "cli/passwordinput.h"

#include <QCommandLineParser>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace passwordinput
{
namespace
{
// Longer lines are no password anyone types.
constexpr int maximumLength = 4096;

// Reads up to the first newline or the end; false on a read failure.
bool readLine(int fd, QByteArray *line)
{
    line->clear();
    char c = 0;
    while (line->size() < maximumLength) {
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0 || c == '\n')
            break;
        line->append(c);
    }
    if (line->endsWith('\r'))
        line->chop(1);
    return true;
}
} // namespace

QCommandLineOption fdOption()
{
    return QCommandLineOption(
        QStringLiteral("password-fd"),
        QStringLiteral("Read the password from file descriptor N (up to a newline) instead of "
                       "asking on the terminal."),
        QStringLiteral("N"));
}

bool read(const QCommandLineParser &parser, const QString &prompt, QByteArray *password,
          QString *error)
{
    const QString fdText = parser.value(QStringLiteral("password-fd"));
    if (!fdText.isEmpty()) {
        bool ok = false;
        const int fd = fdText.toInt(&ok);
        if (!ok || fd < 0) {
            *error = QStringLiteral("--password-fd needs a file descriptor number, not %1")
                         .arg(fdText);
            return false;
        }
        if (!readLine(fd, password)) {
            *error = QStringLiteral("cannot read the password from file descriptor %1").arg(fd);
            return false;
        }
        return true;
    }
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0) {
        *error = QStringLiteral("no terminal to ask for the password: give --password-fd N");
        return false;
    }
    const QByteArray text = prompt.toLocal8Bit();
    bool ok = ::write(tty, text.constData(), size_t(text.size())) == text.size();
    termios saved{};
    const bool echoOff = ::tcgetattr(tty, &saved) == 0;
    if (echoOff) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    ok = ok && readLine(tty, password);
    if (echoOff)
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    ok = ::write(tty, "\n", 1) == 1 && ok;
    ::close(tty);
    if (!ok)
        *error = QStringLiteral("cannot read the password from the terminal");
    return ok;
}
} // namespace passwordinput
