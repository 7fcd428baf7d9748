// SPDX-License-Identifier: GPL-3.0-or-later
// ClearLineEdit: a line edit with a built-in button that clears it.
#pragma once

#include <QLineEdit>

class QPushButton;

class ClearLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ClearLineEdit(QWidget *parent = nullptr);

    QPushButton *clearButton() const { return clearBtn; }

    // Where the clear button sits on an edit of `size`: a 22 px square whose
    // right edge lies 8 px inside the edit's, vertically centred.
    static QRect clearButtonRect(const QSize &size);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPushButton *clearBtn = nullptr;
};
