// SPDX-License-Identifier: GPL-3.0-or-later
// PasswordInput: a password for hygra-cli, from a file descriptor or typed on the terminal unseen.
#pragma once

#include <QByteArray>
#include <QString>

namespace passwordinput
{
// Reads `fd` up to its first newline (or its end), which is not part of the
// password; a carriage return before it is dropped too. False, with the
// reason in `error`, when `fd` cannot be read.
bool fromDescriptor(int fd, QByteArray *password, QString *error);
// Writes `prompt` to the controlling terminal and reads a line from it with
// echo off. False, with the reason in `error`, when the process has no
// terminal.
bool fromTerminal(const QString &prompt, QByteArray *password, QString *error);
} // namespace passwordinput
