// SPDX-License-Identifier: GPL-3.0-or-later
// DevButton: one attached logger in the device selection dialog, with its picture, model
// name, port and, where known, serial number and name.
#pragma once

#include "core/attachedlogger.h"

#include <QPixmap>
#include <QPushButton>

class DevButton : public QPushButton
{
    Q_OBJECT
public:
    // `detail`: the second line under the model name (port, serial number, name).
    DevButton(const AttachedLogger &logger, const QString &detail, QWidget *parent = nullptr);

    int devType() const { return attached.model; }
    const AttachedLogger &logger() const { return attached; }
    QString detail() const { return detailText; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont font;
    QFont detailFont;
    QPixmap pixmap;
    AttachedLogger attached;
    QString detailText;
};
