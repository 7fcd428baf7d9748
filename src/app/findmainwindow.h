// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the application's main window from anywhere.
#pragma once

class QMainWindow;

// The first top-level widget that is a QMainWindow, or null.
QMainWindow *findMainWindow();
