// SPDX-License-Identifier: GPL-3.0-or-later
// ConnectDialog: the modal choice among the attached loggers, one DevButton each.
#include "app/connectdialog.h"

#include "app/devbutton.h"
#include "app/knownloggers.h"
#include "core/lgxdevtype.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

ConnectDialog::ConnectDialog(QWidget *parent) : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("ConnectDialog"));
    resize(400, 300);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setAttribute(Qt::WA_StyledBackground);
    // Square corners with a thin grey border like the other frameless dialogs: the window
    // itself is opaque, so rounded corners would show its background.
    widget->setStyleSheet(QStringLiteral(
        "QWidget#widget{background-color: white; border: 1px solid rgb(220, 220, 220);}"
        "QPushButton#connectBtn, QPushButton#cancelBtn{font-size: 14px; color: #202124;"
        " background-color: #F6F7FC; border: none; border-radius: 4px;}"
        "QPushButton#connectBtn:hover, QPushButton#cancelBtn:hover{color: white;"
        " background-color: #333;}"));
    outer->addWidget(widget);

    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(10, 10, 10, 0);
    column->setSpacing(0);

    scrollArea = new QScrollArea(widget);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setWidgetResizable(true);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setStyleSheet(
        QStringLiteral("QScrollArea{border: none; background-color: white;}"));
    conntentWidget = new QWidget;
    conntentWidget->setObjectName(QStringLiteral("conntentWidget"));
    conntentWidget->setStyleSheet(
        QStringLiteral("QWidget#conntentWidget{background-color: white;}"));
    conntentLayout = new QVBoxLayout(conntentWidget);
    conntentLayout->setObjectName(QStringLiteral("conntentLayout"));
    conntentLayout->setSpacing(8);
    conntentLayout->addStretch(1);
    scrollArea->setWidget(conntentWidget);
    column->addWidget(scrollArea, 1);

    auto *widget_2 = new QWidget(widget);
    widget_2->setObjectName(QStringLiteral("widget_2"));
    widget_2->setMinimumHeight(50);
    auto *row = new QHBoxLayout(widget_2);
    connectBtn = new QPushButton(widget_2);
    connectBtn->setObjectName(QStringLiteral("connectBtn"));
    cancelBtn = new QPushButton(widget_2);
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    for (QPushButton *button : {connectBtn, cancelBtn})
        button->setMinimumSize(96, 32);
    row->addStretch(1);
    row->addWidget(connectBtn);
    row->addSpacing(16);
    row->addWidget(cancelBtn);
    row->addStretch(1);
    column->addWidget(widget_2);

    group = new QButtonGroup(this);
    group->setExclusive(true);
    // Nothing to connect to until a logger is listed.
    connectBtn->setEnabled(false);
    retranslate();

    connect(group, &QButtonGroup::idClicked, this, &ConnectDialog::select);
    connect(connectBtn, &QPushButton::clicked, this, &ConnectDialog::on_connectBtn_clicked);
    connect(cancelBtn, &QPushButton::clicked, this, &ConnectDialog::on_cancelBtn_clicked);
}

void ConnectDialog::setLoggers(const QVector<AttachedLogger> &loggers,
                               const AttachedLogger &preferred)
{
    DevButton *chosenButton = nullptr;
    for (int position = 0; position < loggers.size(); ++position) {
        const AttachedLogger &logger = loggers.at(position);
        if (modelName(logger.model).isEmpty())
            continue;
        auto *button = new DevButton(logger, detailOf(logger), conntentWidget);
        // The last logger listed ends up on top, the first one just above the spacer.
        conntentLayout->insertWidget(0, button);
        group->addButton(button, position);
        if (!chosenButton || logger == preferred)
            chosenButton = button;
    }
    if (!chosenButton)
        return;
    chosenButton->setChecked(true);
    chosen = chosenButton->logger();
    connectBtn->setEnabled(true);
}

QString ConnectDialog::detailOf(const AttachedLogger &logger) const
{
    QStringList parts{tr("端口 %1").arg(logger.portPath)};
    const KnownLoggers::Known known = KnownLoggers::at(logger);
    if (!known.sn.isEmpty())
        parts << QStringLiteral("SN %1").arg(known.sn);
    if (!known.name.isEmpty())
        parts << known.name;
    return parts.join(QStringLiteral(" · "));
}

void ConnectDialog::select(int id)
{
    if (auto *button = qobject_cast<DevButton *>(group->button(id)))
        chosen = button->logger();
}

void ConnectDialog::on_connectBtn_clicked()
{
    accept();
}

void ConnectDialog::on_cancelBtn_clicked()
{
    reject();
}

void ConnectDialog::retranslate()
{
    setWindowTitle(tr("设备连接"));
    connectBtn->setText(tr("连接"));
    cancelBtn->setText(tr("取消"));
}

void ConnectDialog::showEvent(QShowEvent *event)
{
    NativeWindowTemplate<QDialog>::showEvent(event);
    // The chosen logger may sit below the fold of a long list.
    if (QAbstractButton *chosenButton = group->checkedButton())
        scrollArea->ensureWidgetVisible(chosenButton);
}

void ConnectDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    NativeWindowTemplate<QDialog>::changeEvent(event);
}
