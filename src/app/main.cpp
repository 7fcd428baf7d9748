// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: application, fonts, main window.
#include "app/commonstyle.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>

namespace {
// Font files shipped in fonts/ beside the program; missing ones are ignored
// and the fallback families of the application font are used instead.
void registerBundledFonts()
{
    const char *const files[] = {
        "SourceHanSansCN-Bold.ttf",   "SourceHanSansCN-Light.ttf", "SourceHanSansCN-Regular.ttf",
        "SourceHanSansCN-Normal.ttf", "SourceHanSansCN-Heavy.ttf", "SourceHanSansCN-Medium.ttf",
    };
    const QString folder = QCoreApplication::applicationDirPath() + QDir::separator() +
                           QStringLiteral("fonts") + QDir::separator();
    for (const char *file : files)
        QFontDatabase::addApplicationFont(QDir(folder + file).absolutePath());
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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
    window.show();
    return app.exec();
}
