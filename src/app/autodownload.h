// SPDX-License-Identifier: GPL-3.0-or-later
// AutoDownload: the window's hands-free mode that connects, downloads and reports plugged-in
// loggers.
#pragma once

#include "core/attachedlogger.h"
#include "recording/loadedrecording.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

class MainWindow;

// While the settings switch is on, a logger plugged in while the window is free is
// connected, downloaded and opened through the window's own slots, with the usual dialog
// and notices, and its reports are written into the chosen folder. A logger plugged in
// while another is connected waits until the window is free again, that is until the
// connected one is unplugged. Loggers attached before, and connections made by hand, are
// left to the user; a logger that records or holds no records is connected, not downloaded.
// Each waiting logger is known by its place on the bus, so a removal takes out exactly the
// logger that left.
class AutoDownload : public QObject
{
    Q_OBJECT
public:
    explicit AutoDownload(MainWindow *window);

    int waitingCount() const { return waiting.size(); }
    // A download of this mode is under way: its result is an automatic download's.
    bool isDownloading() const { return step == Step::Downloading; }

private:
    enum class Step { Idle, Connecting, Downloading };

    void loggerArrived(const AttachedLogger &logger);
    void loggerRemoved(const AttachedLogger &logger);
    bool windowIsFree() const;
    // Connects the longest-waiting logger once the window is free.
    void serveNext();
    void firstState(bool isRecord);
    void startDownload();
    void downloadEnded(const QString &filePath);
    void recordingShown(const QString &path, RecordingStatus status);
    // One report: its format, where it went (or the name it could not be written as) and
    // the SHA-256 of the file written, empty when it was not.
    struct Report {
        QString format;
        QString path;
        QByteArray sha256;
    };
    struct WrittenReports {
        QStringList written;
        QStringList failed;
        QVector<Report> reports;
    };
    // Writes the chosen reports of the recording the window has just opened.
    void writeReports(const QString &recordingPath);
    void reportWritten(const QString &folder, const WrittenReports &reports,
                       const LoadedRecording &recording);
    void connectionLost();

    MainWindow *window;
    QVector<AttachedLogger> waiting;
    QTimer serveTimer;
    Step step = Step::Idle;
    // The open logger has reported its first state.
    bool stateSeen = false;
    // The download this mode asked for has begun writing its file.
    bool downloadStarted = false;
    bool writing = false;
    // The download of this mode whose recording the view is opening.
    QString reportPending;
};
