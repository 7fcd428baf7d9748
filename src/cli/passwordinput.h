// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a password for hygra-cli: from a file descriptor for scripts, else from the terminal.
#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;

namespace passwordinput
{
// --password-fd N.
QCommandLineOption fdOption();
// The password up to the first newline of --password-fd's descriptor, or
// typed on the terminal after `prompt` without echo. False with `error` when
// neither can be read.
bool read(const QCommandLineParser &parser, const QString &prompt, QByteArray *password,
          QString *error);
} // namespace passwordinput
