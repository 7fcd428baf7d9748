// SPDX-License-Identifier: GPL-3.0-or-later
// Entry of hygra-cli: the application object, settings, then the command.
#include "cli/clicommands.h"
#include "core/settinginfo.h"
#include "core/shippedfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTranslator>
#include <memory>

namespace
{
// The report's fonts, shipped in fonts/ as for hygra; missing ones are
// ignored and the system's fallback families are used.
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
} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // The controller's debug lines would mix with the command's own messages.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    std::unique_ptr<QCoreApplication> app;
    if (CliCommands::needsGui(arguments)) {
        // The report paints with QPainter; without a display that needs the offscreen platform.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        registerBundledFonts();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    initSettings(app.get());
    // The reports and workbooks are written in the interface language, as the window writes them.
    QTranslator translator;
    if (isEnglish() &&
        translator.load(shippedFilePath(QStringLiteral("lgxtranslation/main_en.qm"))))
        QCoreApplication::installTranslator(&translator);
    return CliCommands().run(arguments);
}
