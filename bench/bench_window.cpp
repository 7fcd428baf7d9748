// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the archive in the window: one keystroke's search and list rebuild over 10,000
// archived recordings, and opening a comparison of eight full recordings.
#include "app/archivesearchbar.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "archive/archive.h"
#include "benchrecording.h"
#include "benchregistry.h"
#include "views/datashowwidget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMainWindow>
#include <QTemporaryDir>

// The entries' pictures, as the window has them.
static void loadResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace
{
constexpr int archivedFiles = 10000;
// The search reads the index only, so short recordings make the archive quicker to build.
constexpr int archivedSamples = 100;
constexpr int fullMemory = 64512;
constexpr int compared = 8;

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// Lets the old entries go and the new ones lay out and paint, as after a real keystroke.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void search(const FigurePrinter &print)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recordings"));
    QDir().mkpath(folder);
    for (int i = 0; i < archivedFiles; ++i) {
        const QString serial = QStringLiteral("B%1").arg(i % 500, 4, 10, QLatin1Char('0'));
        if (!writeBenchRecording(
                QStringLiteral("%1/%2.data").arg(folder).arg(i, 5, 10, QLatin1Char('0')),
                archivedSamples, serial, i * 60))
            return;
    }
    const ArchiveLocation location = ArchiveLocation::local(folder);
    {
        Archive archive;
        if (!archive.open(location) || archive.importFolder(folder).added != archivedFiles)
            return;
    }
    loadResources();
    QMainWindow window;
    MainWindowForm form;
    form.setupUi(&window);
    RecordingList list(&form, form.dataShow, &window);
    list.useArchive(location);
    window.show();
    settle();

    // Typing a serial number: every recording matches the first letter, 200 the last one.
    const QStringList keystrokes{QStringLiteral("b"), QStringLiteral("b0"), QStringLiteral("b00"),
                                 QStringLiteral("b004")};
    QVector<double> times;
    int entries = 0;
    for (int round = 0; round < 6; ++round) {
        for (const QString &text : keystrokes) {
            form.searchBar->textEdit()->setText(text);
            QElapsedTimer timer;
            timer.start();
            // The query runs on the search's own thread; the figure is the
            // time until the rebuilt list is painted.
            QEventLoop answered;
            const QMetaObject::Connection done =
                QObject::connect(&list, &RecordingList::searchShown, &answered, &QEventLoop::quit);
            list.searchChanged();
            answered.exec();
            QObject::disconnect(done);
            settle();
            // The first round opens the archive and warms its caches.
            if (round > 0)
                times << elapsedMs(timer);
            entries = list.group()->buttons().size();
        }
    }
    print(QStringLiteral("search_10000_ms"), median(times), QStringLiteral("ms"));
    print(QStringLiteral("search_10000_entries"), entries, QStringLiteral("count"));
}

void comparison(const FigurePrinter &print)
{
    QTemporaryDir dir;
    QStringList paths;
    QStringList labels;
    for (int i = 0; i < compared; ++i) {
        paths << dir.filePath(QStringLiteral("c%1.data").arg(i));
        labels << QStringLiteral("c%1").arg(i);
        if (!writeBenchRecording(paths.last(), fullMemory,
                                 QStringLiteral("C%1").arg(i, 9, 10, QLatin1Char('0')), i * 1440))
            return;
    }
    DataShowWidget view;
    view.resize(940, 640);
    view.show();
    QVector<double> times;
    for (int i = 0; i < 6; ++i) {
        view.endComparison();
        settle();
        QElapsedTimer timer;
        timer.start();
        QEventLoop shown;
        bool ok = false;
        QObject::connect(&view, &DataShowWidget::comparisonOpened, &shown, [&](bool done) {
            ok = done;
            shown.quit();
        });
        view.openComparison(paths, labels);
        shown.exec();
        if (!ok)
            return;
        settle();
        // The first opening is a warm-up: the pool's threads start, fonts load.
        if (i > 0)
            times << elapsedMs(timer);
    }
    print(QStringLiteral("compare_8x64512_ms"), median(times), QStringLiteral("ms"));
}

void windowFigures(const FigurePrinter &print)
{
    search(print);
    comparison(print);
}

const bool registered = registerFigureGroup("window", &windowFigures);
} // namespace
