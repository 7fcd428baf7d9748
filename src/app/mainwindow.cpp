// SPDX-License-Identifier: GPL-3.0-or-later
// The application's main window.
#include "app/mainwindow.h"

#include "app/settinginfo.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTranslator>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    initSettings(this);
    applyLanguage(currentLanguage());
    setWindowTitle(QStringLiteral("hygra"));
    resize(1280, 800);
}

void MainWindow::applyLanguage(const QString &language)
{
    if (!translator)
        translator = new QTranslator(this);
    const QString file = language.contains(QLatin1String("English")) ? "main_en.qm" : "main_zh.qm";
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/lgxtranslation/");
    if (!translator->load(folder + file))
        qDebug() << "translation catalogue not loaded:" << folder + file;
    QCoreApplication::installTranslator(translator);
}
