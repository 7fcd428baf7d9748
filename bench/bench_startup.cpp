// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of starting the program: hygra-demo without a logger up to its first painted window.
#include "benchregistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

namespace
{

constexpr int starts = 7;
// A start before the timed ones creates the program's folders in the fresh
// home, as any start after the first finds them.
constexpr int warmUps = 1;
constexpr int timeoutMs = 20000;

struct Start {
    // From starting the process to its line about the first paint.
    double paintedMs = -1;
    // The same as the program measures it, from entering main.
    double fromMainMs = -1;
    // From starting the process to its exit.
    double runMs = -1;
};

// hygra-demo prints "first_paint_ms <ms>" after painting its main window for
// the first time and quits, when HYGRA_QUIT_AFTER_FIRST_PAINT is set.
Start startOnce(const QString &program, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    Start start;
    QElapsedTimer timer;
    timer.start();
    process.start(program, QStringList());
    QByteArray out;
    while (!out.contains('\n') && process.waitForReadyRead(timeoutMs))
        out += process.readAllStandardOutput();
    if (out.contains('\n'))
        start.paintedMs = timer.nsecsElapsed() / 1e6;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return Start();
    }
    start.runMs = timer.nsecsElapsed() / 1e6;
    const QList<QByteArray> fields = out.trimmed().split(' ');
    if (fields.value(0) == "first_paint_ms")
        start.fromMainMs = fields.value(1).toDouble();
    return start;
}

void startupFigures(const FigurePrinter &print)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.insert(QStringLiteral("LOGGERSIM"), QStringLiteral("none"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HYGRA_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/hygra-demo");

    QVector<double> painted;
    QVector<double> fromMain;
    QVector<double> runs;
    for (int i = 0; i < warmUps + starts; ++i) {
        const Start start = startOnce(program, environment);
        if (start.paintedMs < 0 || start.fromMainMs < 0)
            return;
        if (i < warmUps)
            continue;
        painted.append(start.paintedMs);
        fromMain.append(start.fromMainMs);
        runs.append(start.runMs);
    }
    print(QStringLiteral("cold_start_ms"), median(painted), QStringLiteral("ms"));
    print(QStringLiteral("cold_start_from_main_ms"), median(fromMain), QStringLiteral("ms"));
    print(QStringLiteral("cold_start_process_run_ms"), median(runs), QStringLiteral("ms"));
}

const bool registered = registerFigureGroup("startup", &startupFigures);

} // namespace
