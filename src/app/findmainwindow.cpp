// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the application's main window from anywhere.
#include "app/findmainwindow.h"

#include <QApplication>
#include <QMainWindow>

QMainWindow *findMainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *mainWindow = qobject_cast<QMainWindow *>(w))
            return mainWindow;
    }
    return nullptr;
}
