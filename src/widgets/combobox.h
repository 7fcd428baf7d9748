// SPDX-License-Identifier: GPL-3.0-or-later
// ComboBox: a combo box whose drop-down list follows the item rules of style sheets.
#pragma once

#include <QComboBox>

class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);
};
