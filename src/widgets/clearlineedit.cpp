// SPDX-License-Identifier: GPL-3.0-or-later
// ClearLineEdit: a line edit with a built-in button that clears it.
#include "widgets/clearlineedit.h"

#include <QIcon>
#include <QPushButton>

ClearLineEdit::ClearLineEdit(QWidget *parent) : QLineEdit(parent)
{
    clearBtn = new QPushButton(this);
    clearBtn->setObjectName(QStringLiteral("clearBtn"));
    clearBtn->setStyleSheet(QStringLiteral("border:none;"));
    clearBtn->setIcon(QIcon(QStringLiteral(":/img/ic_clearlineedit.png")));
    clearBtn->setCursor(Qt::ArrowCursor);
    clearBtn->setFocusPolicy(Qt::NoFocus);
    clearBtn->setGeometry(clearButtonRect(size()));
    connect(clearBtn, &QPushButton::clicked, this, &QLineEdit::clear);
}

QRect ClearLineEdit::clearButtonRect(const QSize &size)
{
    const int right = size.width() - 1;
    const int middle = size.height() / 2;
    return QRect(QPoint(right - 29, middle - 11), QPoint(right - 8, middle + 10));
}

void ClearLineEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    clearBtn->setGeometry(clearButtonRect(size()));
}
