// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program from a test and collecting what it printed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsupport
{
struct ProcessRun {
    // -1 when it did not end within a minute (it is killed), -2 when it crashed.
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `program` with `arguments` in `environment`, `input` on its standard input.
inline ProcessRun runProcess(
    const QString &program, const QStringList &arguments, const QByteArray &input = {},
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    ProcessRun result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
} // namespace testsupport
