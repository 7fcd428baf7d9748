// SPDX-License-Identifier: GPL-3.0-or-later
// The application's main window.
#pragma once

#include <QMainWindow>

class QTranslator;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Loads the English catalogue when `language` contains "English", the
    // Chinese one otherwise, and installs it so every widget re-translates.
    void applyLanguage(const QString &language);

private:
    QTranslator *translator = nullptr;
};
