// SPDX-License-Identifier: GPL-3.0-or-later
// ComboBox: a combo box whose drop-down list follows the item rules of style sheets.
#include "widgets/combobox.h"

#include <QListView>

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    // The default item delegate ignores "QAbstractItemView::item" rules such as
    // the item height; a plain list view honours them.
    setView(new QListView(this));
}
