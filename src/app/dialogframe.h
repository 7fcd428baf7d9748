// SPDX-License-Identifier: GPL-3.0-or-later
// The look the window's small questions share: a white framed panel, a bold title, and
// "取消" / "确定" centred below.
#pragma once

class QDialog;
class QLabel;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

namespace dialogframe
{
// The panel that fills `dialog`, styled for line edits, combo boxes and buttons.
QWidget *frame(QDialog *dialog);
// A centred, wrapped, bold title.
QLabel *title(QWidget *panel, const QString &text);
// Adds "取消" (rejects) and "确定" (accepts, the default) to `column`;
// returns "确定".
QPushButton *addButtons(QDialog *dialog, QWidget *panel, QVBoxLayout *column);
} // namespace dialogframe
