// SPDX-License-Identifier: GPL-3.0-or-later
// What every hygra-cli command does alike: parsing its arguments, printing a failure.
#pragma once

#include <QStringList>
#include <QTextStream>

class QCommandLineParser;
class QJsonObject;

// Parses `arguments` with `parser`, to which a help option is added, and
// expects `positionals` positional arguments. Returns -1 to go on, or the
// exit code once the help (to `out`) or a usage error (to `err`) was printed.
int parseCommand(QCommandLineParser &parser, const QStringList &arguments, int positionals,
                 QTextStream &out, QTextStream &err);

// Prints "hygra-cli: message" to `err` and returns `code`.
int printFailure(QTextStream &err, int code, const QString &message);

// "cannot write PATH: REASON", the reason left out when there is none.
QString cannotWriteText(const QString &path, const QString &reason);

// Clears what runs killed half-way left in the recordings folder and in `dir`.
void removeLeftovers(const QString &dir);

// The object as indented JSON text.
QByteArray jsonText(const QJsonObject &object);
