// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: application, fonts, main window.
#include "app/commonstyle.h"
#include "app/mainwindow.h"
#include "core/shippedfiles.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QFontDatabase>
#include <QTimer>
#include <cstdio>

namespace {
// Font files shipped in fonts/ (beside the program, or in share/hygra when
// installed); missing ones are ignored and the fallback families of the
// application font are used instead.
void registerBundledFonts()
{
    const char *const files[] = {
        "SourceHanSansCN-Bold.ttf",   "SourceHanSansCN-Light.ttf", "SourceHanSansCN-Regular.ttf",
        "SourceHanSansCN-Normal.ttf", "SourceHanSansCN-Heavy.ttf", "SourceHanSansCN-Medium.ttf",
    };
    const QDir folder(shippedFilePath(QStringLiteral("fonts")));
    for (const char *file : files)
        QFontDatabase::addApplicationFont(folder.absoluteFilePath(QLatin1String(file)));
}

// With HYGRA_QUIT_AFTER_FIRST_PAINT set, the program prints "first_paint_ms <ms>", the
// milliseconds from entering main to the end of the main window's first paint, and quits:
// hygra-bench times cold starts with it.
class FirstPaintReporter : public QObject
{
public:
    FirstPaintReporter(const QElapsedTimer &sinceStart, QWidget *window)
        : QObject(window), mSinceStart(sinceStart)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The children paint after the window in the same pass; a queued
            // call runs once the whole window is painted.
            QTimer::singleShot(0, this, [this] {
                std::printf("first_paint_ms %.1f\n", mSinceStart.nsecsElapsed() / 1e6);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    const QElapsedTimer mSinceStart;
};
} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(HYGRA_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configure HX10D and HX20D temperature and humidity loggers, download "
                       "their recordings and look at them. hygra-cli does the same from a "
                       "terminal."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    QApplication::setStyle(new CommonStyle);
    Q_INIT_RESOURCE(resources);
    registerBundledFonts();
    QFont font;
    font.setFamily(QStringLiteral("思源黑体 CN, Microsoft YaHei, sans-serif"));
    // Where the bundled family is missing, Linux desktops carry Noto Sans CJK.
    font.setFamilies({QStringLiteral("思源黑体 CN"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("sans-serif")});
    font.setPointSize(10);
    QApplication::setFont(font);

    MainWindow window;
    if (qEnvironmentVariableIsSet("HYGRA_QUIT_AFTER_FIRST_PAINT"))
        new FirstPaintReporter(sinceStart, &window);
    window.show();
    return app.exec();
}
