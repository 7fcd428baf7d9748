// SPDX-License-Identifier: GPL-3.0-or-later
// ConnectWidget: the connected-device panel that starts a connection and shows the logger's state.
#include "app/connectwidget.h"

#include "app/commonstyle.h"
#include "core/lgxdevtype.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QVBoxLayout>

ConnectWidget::ConnectWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConnectWidget"));
    setAttribute(Qt::WA_Hover);
    resize(325, 85);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);
    widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    // The picture lies on the panel's own colour, whatever background the column around
    // the panel gives plain widgets.
    widget->setStyleSheet(
        QStringLiteral("QWidget#widget{background-color: #F6F7FC; border-radius: 6px;}"
                       "QWidget#devWidget{background-color: transparent;}"));
    outer->addWidget(widget);

    auto *row = new QHBoxLayout(widget);
    row->setSpacing(12);
    devWidget = new QWidget(widget);
    devWidget->setObjectName(QStringLiteral("devWidget"));
    devWidget->setMinimumWidth(26);
    row->addWidget(devWidget);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(0);
    devNameLabel = new QLabel(widget);
    devNameLabel->setObjectName(QStringLiteral("devNameLabel"));
    devNameLabel->setStyleSheet(QStringLiteral("font-size: 20px; font-weight: bold;"));
    snNameLabel = new QLabel(QStringLiteral("SN:"), widget);
    snNameLabel->setObjectName(QStringLiteral("snNameLabel"));
    snNameLabel->setStyleSheet(QStringLiteral("font-size: 16px; font-weight: 400;"));
    snNameLabel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    texts->addWidget(devNameLabel);
    texts->addWidget(snNameLabel);
    row->addLayout(texts, 1);

    recordIcon = new QLabel(this);
    recordIcon->setObjectName(QStringLiteral("recordIcon"));
    alertIcon = new QLabel(this);
    alertIcon->setObjectName(QStringLiteral("alertIcon"));
    for (QLabel *icon : {recordIcon, alertIcon})
        icon->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    disconnectLogger = new QAction(tr("断开连接"), this);
    disconnectLogger->setObjectName(QStringLiteral("disconnectAction"));
    connect(disconnectLogger, &QAction::triggered, this, &ConnectWidget::toDisconnect);
    addAction(disconnectLogger);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    showDisconnected();
}

void ConnectWidget::showDisconnected()
{
    devType = -1;
    devNameLabel->setText(tr("点击连接设备"));
    devNameLabel->setAlignment(Qt::AlignCenter);
    lastIsRecord = false;
    lastIsAlert = false;
    devWidget->hide();
    snNameLabel->hide();
    alertIcon->hide();
    recordIcon->hide();
    firstState = true;
    busy = false;
    disconnectLogger->setEnabled(false);
}

QString ConnectWidget::serialNumber() const
{
    return isConnected() ? snNameLabel->text() : QString();
}

void ConnectWidget::beginConnection()
{
    busy = true;
    // The frame invites a click; it goes while the connection is under way.
    hover = false;
    update();
}

void ConnectWidget::setDevType(int devType)
{
    this->devType = devType;
    devWidget->setStyleSheet(
        QStringLiteral("background-image: url(:/img/ic_hx10d.png);background-position: "
                       "center;background-repeat: no-repeat;"));
    devWidget->show();
    devNameLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    devNameLabel->setText(modelName(devType));
    recordIcon->show();
    disconnectLogger->setEnabled(true);
    hover = false;
    update();
}

void ConnectWidget::setStartInfo(int startMode, bool isRestart)
{
    this->startMode = startMode;
    this->isRestart = isRestart;
}

void ConnectWidget::delDevStateSignal(const QString &sn, bool isRecord, bool isAlert, int devType)
{
    if (firstState) {
        firstState = false;
        emit connectSuccessSignal(devType);
    } else if (isRecord == lastIsRecord && isAlert == lastIsAlert) {
        return;
    }
    emit toNoticeTbWidget(startMode, isRestart, isRecord);

    snNameLabel->setText(sn);
    snNameLabel->show();
    lastIsRecord = isRecord;
    lastIsAlert = isAlert;

    QString record;
    if (isRecord)
        record = isAlert ? QStringLiteral(":/img/ic_record_r.png")
                         : QStringLiteral(":/img/ic_record_g.png");
    else
        record = isAlert ? QStringLiteral(":/img/ic_stop_record_r.svg")
                         : QStringLiteral(":/img/ic_stop_record_g.svg");
    recordIcon->setPixmap(QPixmap(record));
    alertIcon->setPixmap(QPixmap(isAlert ? QStringLiteral(":/img/ic_alert_r.svg")
                                         : QStringLiteral(":/img/ic_un_alert_g.svg")));
    retranslateIcons();
    recordIcon->show();
    alertIcon->show();
}

void ConnectWidget::retranslateIcons()
{
    recordIcon->setToolTip(lastIsRecord ? tr("正在记录") : tr("未在记录"));
    alertIcon->setToolTip(lastIsAlert ? tr("记录仪报警") : tr("无报警"));
}

bool ConnectWidget::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
        hover = !busy;
        update();
        break;
    case QEvent::HoverLeave:
        hover = false;
        update();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void ConnectWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !busy) {
        beginConnection();
        emit toConnect();
    } else if (event->button() == Qt::LeftButton && isConnected()) {
        auto *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->setStyleSheet(contextMenuStyleSheet());
        menu->addAction(disconnectLogger);
        menu->popup(event->globalPos());
    }
    QWidget::mousePressEvent(event);
}

void ConnectWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    if (!hover)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(32, 33, 36), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRect(1, 1, width() - 2, height() - 2), 10, 10, Qt::RelativeSize);
}

void ConnectWidget::resizeEvent(QResizeEvent *event)
{
    recordIcon->move(width() - 28, height() - 34);
    alertIcon->move(width() - 56, height() - 34);
    QWidget::resizeEvent(event);
}

void ConnectWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && devType == -1)
        devNameLabel->setText(tr("点击连接设备"));
    if (event->type() == QEvent::LanguageChange) {
        retranslateIcons();
        disconnectLogger->setText(tr("断开连接"));
    }
    QWidget::changeEvent(event);
}
