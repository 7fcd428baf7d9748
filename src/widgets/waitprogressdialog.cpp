// SPDX-License-Identifier: GPL-3.0-or-later
// WaitProgressDialog: a dark box with a spinner laid over its parent while an export runs.
#include "widgets/waitprogressdialog.h"

#include "widgets/okwidget.h"
#include "widgets/waitcirclewidget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

WaitProgressDialog::WaitProgressDialog(QWidget *parent) : QWidget(parent)
{
    buildForm();
    if (parent) {
        parentName = parent->objectName();
        parent->installEventFilter(this);
        setGeometry(0, 0, parent->width(), parent->height());
    }
    setWindowModality(Qt::ApplicationModal);
    center->move((width() - 360) / 2, (height() - 200) / 2);

    spinner = new WaitCircleWidget(center);
    spinner->setFixedSize(200, 200);
    spinner->move((360 - 200) / 2, (200 - 200) / 2);
    okMark = new OkWidget(center);
    okMark->move((360 - 88) / 2, (200 - 88) / 2 - 10);
    okMark->hide();
}

void WaitProgressDialog::buildForm()
{
    setObjectName(QStringLiteral("WaitProgressDialog"));
    setWindowTitle(QStringLiteral("Export"));
    resize(476, 368);

    center = new QWidget(this);
    center->setObjectName(QStringLiteral("center"));
    center->setFixedSize(360, 200);

    auto *tipWidget = new QWidget(center);
    tipWidget->setObjectName(QStringLiteral("tipWidget"));
    tipWidget->setFixedSize(360, 30);
    tipWidget->move(0, 140);
    // The overlay's own rules win over whatever its parent's style sheet
    // says, so the dark box and its white text look the same on any window.
    setStyleSheet(QStringLiteral(
        "#WaitProgressDialog, #center, #tipWidget{background: transparent; border: none;}"
        "#tipWidget QLabel{background: transparent; color: white; font-size: 14px;"
        " font-weight: 500; line-height: 24px;}"));
    auto *row = new QHBoxLayout(tipWidget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    label = new QLabel(tr("正在导出"), tipWidget);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFixedHeight(30);
    row->addStretch();
    row->addWidget(label);
    row->addStretch();
}

void WaitProgressDialog::fitToParent()
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    setGeometry(0, 0, parent->width(), parent->height());
    center->move((width() - 360) / 2, (height() - 200) / 2);
}

void WaitProgressDialog::delSuccess()
{
    spinner->hide();
    okMark->show();
    label->setText(tr("导出完成"));
    QTimer::singleShot(500, this, &QWidget::close);
}

bool WaitProgressDialog::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentAboutToChange:
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        break;
    case QEvent::ParentChange:
        if (parentWidget()) {
            parentWidget()->installEventFilter(this);
            fitToParent();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool WaitProgressDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        !parentName.isEmpty() && watched->objectName() == parentName)
        fitToParent();
    return QWidget::eventFilter(watched, event);
}

void WaitProgressDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(32, 33, 36));
    painter.drawRoundedRect(center->geometry(), 16, 16);
}

// The overlay covers its parent so that nothing underneath can be clicked
// while the export runs.
void WaitProgressDialog::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void WaitProgressDialog::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void WaitProgressDialog::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
