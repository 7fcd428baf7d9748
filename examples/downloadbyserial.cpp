// SPDX-License-Identifier: GPL-3.0-or-later
// What a program built on hygra's libraries looks like: list the attached loggers, download
// the one with a given serial number into a folder, print its mean kinetic temperature and
// its time out of range. Usage: downloadbyserial SERIAL FOLDER
#include "device/loggersession.h"
#include "platform/loggerenumeration.h"
#include "recording/recordinganalysis.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    QTextStream out(stdout);
    QVector<AttachedLogger> loggers = listAttachedLoggerDevices();
    for (const AttachedLogger &logger : loggers)
        out << "attached at port " << logger.portPath << Qt::endl;

    LoggerSession session;
    // Each logger is opened in turn until one reports the serial number asked for.
    std::function<void()> tryNext = [&] {
        if (loggers.isEmpty()) {
            out << "no logger " << args[1] << Qt::endl;
            app.exit(1);
            return;
        }
        session.open(loggers.takeFirst(), [&](const LoggerResult<LoggerIdentity> &opened) {
            if (!opened.ok() || opened.value.sn != args[1]) {
                tryNext();
                return;
            }
            session.download(args[2], nullptr, [&](const LoggerResult<DownloadedRecording> &got) {
                if (!got.ok()) {
                    out << "download failed" << Qt::endl;
                    app.exit(1);
                    return;
                }
                const RecordingAnalysis analysis = RecordingAnalysis::of(got.value.recording);
                out << got.value.path << Qt::endl
                    << "MKT " << analysis.mktCelsius.value_or(qQNaN()) << QStringLiteral(" °C, out of range ")
                    << analysis.timeAboveSeconds + analysis.timeBelowSeconds << " s" << Qt::endl;
                app.exit(0);
            });
        });
    };
    tryNext();
    return app.exec();
}
