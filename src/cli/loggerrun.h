// SPDX-License-Identifier: GPL-3.0-or-later
// LoggerRun: a hygra-cli command's requests to one logger, on the program's single event loop.
#pragma once

#include "core/attachedlogger.h"
#include "device/loggersession.h"

#include <QObject>
#include <QTextStream>
#include <QVector>
#include <functional>

class QCommandLineParser;

// Which logger a command names: --model and --index among the attached loggers
// of that model, --port, --serial (the serial number is known only once a
// logger is open, so each candidate is opened and asked in turn).
struct LoggerChoice {
    QString model;
    int index = 0;
    QString port;
    QString serial;

    // Adds --model, --index, --port and --serial.
    static void addOptions(QCommandLineParser &parser);
    // Empty when the options are valid, else why not.
    static QString fromParser(const QCommandLineParser &parser, LoggerChoice *choice);
    // The attached loggers this choice may mean, in the order they are tried.
    QVector<AttachedLogger> candidates(const QVector<AttachedLogger> &attached) const;
};

// Runs the event loop once, from start() until finish(): each request's result
// arrives in a callback that makes the next one. Failures are printed as
// "hygra-cli: message" with their exit code.
class LoggerRun : public QObject
{
    Q_OBJECT
public:
    explicit LoggerRun(QTextStream &err, QObject *parent = nullptr);

    LoggerSession &session() { return logger; }

    // Opens the chosen logger and calls `opened`, which ends with finish() or
    // fail(), directly or in a later callback; returns the exit code given there.
    int exec(const LoggerChoice &choice, const std::function<void()> &opened);
    void finish(int code);
    void fail(int code, const QString &message);
    // fail() for a request that ended with `error`.
    void failed(LoggerError error, const QString &request);
    // Called with the message of the run's failure, once it failed; the
    // command records it in the audit trail.
    void onFailure(const std::function<void(const QString &message)> &hook) { failureHook = hook; }

    static int exitCodeOf(LoggerError error);

private:
    void tryNext();

    QTextStream &err;
    LoggerSession logger;
    LoggerChoice choice;
    QVector<AttachedLogger> candidates;
    std::function<void()> opened;
    std::function<void(int)> finishRun;
    std::function<void(const QString &)> failureHook;
    int exitCode = -1;
};

// Runs the program's event loop until `start`, called from it, calls the
// function it is given with the exit code; returns that code. The command's
// one loop: nothing else in hygra-cli runs one.
int runEventLoop(const std::function<void(const std::function<void(int)> &finish)> &start);
