// SPDX-License-Identifier: GPL-3.0-or-later
// The tab bar above the recording pages, with the alarm-marks and restore buttons.
#include "views/datainfotbwidget.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QToolButton>

namespace
{

const char *const tabStyle =
    "QToolButton{\n\tborder:none;\n\tcolor: #333;\n\tfont-size: 16px;\n"
    "\tfont-style: normal;\n\tfont-weight: 400;\n\tline-height: normal;\n}";
const char *const plainStyle = "QToolButton{\n\tborder:none;\n}";

QToolButton *makeTab(QWidget *parent, const char *name, const char *icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setMinimumSize(130, 36);
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setIconSize(QSize(22, 22));
    button->setStyleSheet(QLatin1String(tabStyle));
    return button;
}

QToolButton *makeTool(QWidget *parent, const char *name, const char *icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setStyleSheet(QLatin1String(plainStyle));
    button->setIcon(QIcon(QLatin1String(icon)));
    return button;
}

} // namespace

DataInfoTbWidget::DataInfoTbWidget(QWidget *parent) : QWidget(parent)
{
    resize(588, 54);
    auto *layout = new QHBoxLayout(this);
    dToolButton = makeTab(this, "dToolButton", ":/img/ic_chart_menu.png");
    iToolButton = makeTab(this, "iToolButton", ":/img/ic_data_menu.png");
    alertButton = makeTool(this, "alertButton", ":/img/ic_alert_ok.png");
    restoreButton = makeTool(this, "restoreButton", ":/img/ic_restore.png");
    layout->addWidget(dToolButton);
    layout->addWidget(iToolButton);
    layout->addStretch();
    layout->addWidget(alertButton);
    layout->addWidget(restoreButton);

    mIndicator = new QWidget(this);
    mIndicator->setStyleSheet(QStringLiteral("background-color: #202124;border-radius:2px;"));
    mGroup = new QButtonGroup(this);
    mGroup->addButton(dToolButton, 0);
    mGroup->addButton(iToolButton, 1);
    dToolButton->setChecked(true);
    mAnimation = new QPropertyAnimation(mIndicator, "geometry", this);
    mAnimation->setDuration(300);

    connect(mGroup, &QButtonGroup::idClicked, this, &DataInfoTbWidget::buttonClickResponse);
    connect(alertButton, &QToolButton::clicked, this, &DataInfoTbWidget::toggleAlarmMarks);
    connect(restoreButton, &QToolButton::clicked, this, &DataInfoTbWidget::sendRestoreSignal);
    retranslateUi();
}

QRect DataInfoTbWidget::indicatorRect(int id) const
{
    if (id != 0)
        return QRect(iToolButton->x(), 44, 104, 4);
    return QRect(dToolButton->x(), 44, 66, 4);
}

void DataInfoTbWidget::buttonClickResponse(int id)
{
    mIndex = id;
    mAnimation->stop();
    mAnimation->setStartValue(mIndicator->geometry());
    alertButton->setEnabled(id == 0);
    restoreButton->setEnabled(id == 0);
    mAnimation->setEndValue(indicatorRect(id));
    mAnimation->start();
    emit selectTabIndex(id);
}

void DataInfoTbWidget::toggleAlarmMarks()
{
    mAlarmFlag = !mAlarmFlag;
    alertButton->setIcon(QIcon(mAlarmFlag ? QStringLiteral(":/img/ic_alert_ok.png")
                                          : QStringLiteral(":/img/ic_alert_no.png")));
    alertButton->setToolTip(mAlarmFlag ? tr("隐藏报警标记") : tr("显示报警标记"));
    emit sendAlertFlagSignal(mAlarmFlag);
}

void DataInfoTbWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    mIndicator->setGeometry(indicatorRect(mIndex));
}

void DataInfoTbWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void DataInfoTbWidget::retranslateUi()
{
    dToolButton->setText(tr("数据"));
    iToolButton->setText(tr("设备信息"));
    alertButton->setText(QString());
    alertButton->setToolTip(mAlarmFlag ? tr("隐藏报警标记") : tr("显示报警标记"));
    restoreButton->setToolTip(tr("恢复"));
}
