// SPDX-License-Identifier: GPL-3.0-or-later
// LoggerRun: choosing the named logger, opening it and ending the command with its exit code.
#include "cli/loggerrun.h"

#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "core/lgxdevtype.h"
#include "platform/loggerenumeration.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

namespace
{
const QCommandLineOption modelOption(QStringLiteral("model"),
                                     QStringLiteral("Logger model, HX10D or HX20D (default: "
                                                    "any)."),
                                     QStringLiteral("M"));
const QCommandLineOption indexOption(QStringLiteral("index"),
                                     QStringLiteral("Index among the attached loggers of that "
                                                    "model, as 'list' counts them (default 0)."),
                                     QStringLiteral("I"), QStringLiteral("0"));
const QCommandLineOption portOption(QStringLiteral("port"),
                                    QStringLiteral("The logger at this port path, as 'list' "
                                                   "prints it (e.g. 1-4.2)."),
                                    QStringLiteral("PATH"));
const QCommandLineOption serialOption(QStringLiteral("serial"),
                                      QStringLiteral("The logger with this serial number."),
                                      QStringLiteral("SN"));
} // namespace

void LoggerChoice::addOptions(QCommandLineParser &parser)
{
    parser.addOptions({modelOption, indexOption, portOption, serialOption});
}

QString LoggerChoice::fromParser(const QCommandLineParser &parser, LoggerChoice *choice)
{
    bool isNumber = false;
    choice->index = parser.value(indexOption).toInt(&isNumber);
    choice->model = parser.value(modelOption);
    choice->port = parser.value(portOption);
    choice->serial = parser.value(serialOption);
    if (!isNumber || choice->index < 0)
        return QStringLiteral("--index expects a number from 0");
    if (!choice->model.isEmpty() && modelFromName(choice->model) < 0)
        return QStringLiteral("unknown model '%1' (HX10D or HX20D)").arg(choice->model);
    return QString();
}

QVector<AttachedLogger> LoggerChoice::candidates(const QVector<AttachedLogger> &attached) const
{
    QVector<AttachedLogger> matching;
    const int wanted = model.isEmpty() ? -1 : modelFromName(model);
    for (const AttachedLogger &logger : attached) {
        if ((wanted < 0 || logger.model == wanted) && (port.isEmpty() || logger.portPath == port))
            matching.append(logger);
    }
    // The serial number picks among all of them; without one, --index does.
    if (!serial.isEmpty())
        return matching;
    if (wanted < 0 && port.isEmpty() && !matching.isEmpty()) {
        // No model named: the first attached logger's model, as before.
        const int first = matching.first().model;
        matching.erase(std::remove_if(matching.begin(), matching.end(),
                                      [first](const AttachedLogger &l) { return l.model != first; }),
                       matching.end());
    }
    if (index >= matching.size())
        return {};
    return {matching.at(index)};
}

LoggerRun::LoggerRun(QTextStream &err, QObject *parent) : QObject(parent), err(err) {}

int LoggerRun::exec(const LoggerChoice &wanted, const std::function<void()> &whenOpen)
{
    choice = wanted;
    opened = whenOpen;
    return runEventLoop([this](const std::function<void(int)> &end) {
        exitCode = -1;
        finishRun = end;
        const QVector<AttachedLogger> attached = listAttachedLoggerDevices();
        if (attached.isEmpty()) {
            fail(ExitNoLogger, QStringLiteral("no logger is attached"));
            return;
        }
        candidates = choice.candidates(attached);
        if (candidates.isEmpty()) {
            QString what = QStringLiteral("logger");
            if (!choice.model.isEmpty() || choice.port.isEmpty())
                what += QLatin1Char(' ') + (choice.model.isEmpty()
                                                ? modelName(attached.first().model)
                                                : choice.model);
            if (!choice.port.isEmpty())
                what += QStringLiteral(" at port ") + choice.port;
            if (!choice.serial.isEmpty())
                fail(ExitNoLogger, QStringLiteral("no attached %1 has the serial number %2")
                                       .arg(what, choice.serial));
            else
                fail(ExitNoLogger,
                     QStringLiteral("no attached %1 with index %2").arg(what).arg(choice.index));
            return;
        }
        tryNext();
    });
}

void LoggerRun::tryNext()
{
    if (candidates.isEmpty()) {
        fail(ExitNoLogger,
             QStringLiteral("no attached logger has the serial number %1").arg(choice.serial));
        return;
    }
    const AttachedLogger next = candidates.takeFirst();
    logger.open(next, [this, next](const LoggerResult<LoggerIdentity> &result) {
        if (!result.ok()) {
            // Looking for a serial number, a logger that cannot be asked is passed over.
            if (!choice.serial.isEmpty() && !candidates.isEmpty()) {
                tryNext();
                return;
            }
            if (result.error == LoggerError::OpenFailed)
                fail(ExitOpenFailed, QStringLiteral("the logger %1 at port %2 could not be opened")
                                         .arg(modelName(next.model), next.portPath));
            else
                failed(result.error, QStringLiteral("the initial read"));
            return;
        }
        if (!choice.serial.isEmpty() && result.value.sn != choice.serial) {
            logger.close();
            tryNext();
            return;
        }
        opened();
    });
}

void LoggerRun::finish(int code)
{
    if (exitCode >= 0)
        return;
    exitCode = code;
    if (finishRun)
        finishRun(code);
}

void LoggerRun::fail(int code, const QString &message)
{
    if (exitCode >= 0)
        return;
    printFailure(err, code, message);
    if (failureHook)
        failureHook(message);
    finish(code);
}

void LoggerRun::failed(LoggerError error, const QString &request)
{
    fail(exitCodeOf(error), loggerErrorText(error, request));
}

int LoggerRun::exitCodeOf(LoggerError error)
{
    switch (error) {
    case LoggerError::None:
        return ExitOk;
    case LoggerError::OpenFailed:
        return ExitOpenFailed;
    case LoggerError::NoRecords:
        return ExitNoRecords;
    case LoggerError::CannotCreateFile:
    case LoggerError::CannotStore:
        return ExitCannotWrite;
    case LoggerError::Cancelled:
    case LoggerError::ConnectionLost:
    case LoggerError::NotOpen:
        return ExitNoLogger;
    case LoggerError::NoAnswer:
    case LoggerError::Busy:
        break;
    }
    return ExitTimeout;
}

int runEventLoop(const std::function<void(const std::function<void(int)> &finish)> &start)
{
    int code = -1;
    const std::function<void(int)> finish = [&code](int c) {
        if (code >= 0)
            return;
        code = c;
        QCoreApplication::exit(c);
    };
    QTimer::singleShot(0, QCoreApplication::instance(), [&start, &finish] { start(finish); });
    QCoreApplication::exec();
    return code;
}
