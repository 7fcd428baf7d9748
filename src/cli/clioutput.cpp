// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/clioutput.h"

#include "cli/cliexit.h"

#include "core/newfile.h"
#include "core/settinginfo.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

int parseCommand(QCommandLineParser &parser, const QStringList &arguments, int positionals,
                 QTextStream &out, QTextStream &err)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments))
        return printFailure(err, ExitUsage, parser.errorText());
    if (parser.isSet(help)) {
        out << parser.helpText();
        out.flush();
        return ExitOk;
    }
    if (parser.positionalArguments().size() != positionals)
        return printFailure(err, ExitUsage,
                            positionals == 0
                                ? QStringLiteral("unexpected argument '%1'")
                                      .arg(parser.positionalArguments().value(0))
                                : QStringLiteral("expected %1 argument(s)").arg(positionals));
    return -1;
}

int printFailure(QTextStream &err, int code, const QString &message)
{
    err << "hygra-cli: " << message << '\n';
    err.flush();
    return code;
}

QString cannotWriteText(const QString &path, const QString &reason)
{
    const QString text = QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path));
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

void removeLeftovers(const QString &dir)
{
    NewFile::removeLeftovers(dataDir());
    if (!dir.isEmpty())
        NewFile::removeLeftovers(dir);
}

QByteArray jsonText(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}
