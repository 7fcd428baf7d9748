// SPDX-License-Identifier: GPL-3.0-or-later
// The widget tree of the main window.
#include "app/mainwindowform.h"

#include "app/archivesearchbar.h"
#include "app/connectwidget.h"
#include "app/tbwidget.h"
#include "settings/devsettinginfo.h"
#include "views/datashowwidget.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{
const char *const titleButtonStyle = "QPushButton{\n\tborder:none;\n}\nQPushButton:hover{"
                                     "\t\n\tbackground-color: rgb(143, 143, 143);\n}";
const char *const closeButtonStyle =
    "QPushButton{\n\tborder:none;\n}\nQPushButton:hover{\n\tbackground:rgb(255, 0, 0);\n}";
const char *const listButtonStyle = "QPushButton{\n\tborder:none;\n}\nQPushButton:hover{"
                                    "\t\n\tborder-radius: 4px;\n\tbackground: #EEE;\n}";

QPushButton *titleButton(QWidget *parent, const char *name, const char *icon, const char *style)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setMinimumSize(38, 28);
    button->setIcon(QIcon(icon));
    button->setStyleSheet(style);
    return button;
}

QLabel *makeBanner(QWidget *parent, const char *name, const char *colours)
{
    auto *banner = new QLabel(parent);
    banner->setObjectName(name);
    banner->setWordWrap(true);
    banner->setStyleSheet(QStringLiteral("QLabel#%1{%2 padding: 6px 12px; font-size: 14px;}")
                              .arg(QLatin1String(name), QLatin1String(colours)));
    banner->hide();
    return banner;
}
} // namespace

void MainWindowForm::setupUi(QMainWindow *window)
{
    window->resize(1280, 720);
    // Below this every page still shows every control, scrolling where it must.
    window->setMinimumSize(minimumWidth, minimumHeight);
    centralwidget = new QWidget(window);
    centralwidget->setObjectName("centralwidget");
    centralwidget->setStyleSheet(
        "QWidget#centralwidget{\n\tbackground-color: rgb(246, 247, 252);\n}");
    verticalLayout = new QVBoxLayout(centralwidget);
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);

    titleWidget = new QWidget(centralwidget);
    titleWidget->setObjectName("titleWidget");
    titleWidget->setFixedHeight(32);
    titleWidget->setStyleSheet("background-color:  rgba(32, 33, 36, 1);\n");
    horizontalLayout = new QHBoxLayout(titleWidget);
    horizontalLayout->setContentsMargins(10, 0, 0, 0);
    horizontalLayout->setSpacing(0);
    logoLabel = new QLabel(titleWidget);
    logoLabel->setObjectName("logoLabel");
    logoLabel->setPixmap(QPixmap(":/img/ic_logo.png"));
    horizontalLayout->addWidget(logoLabel);
    horizontalLayout->addStretch();
    minBtn = titleButton(titleWidget, "minBtn", ":/img/ic_app_min.png", titleButtonStyle);
    normalBtn = titleButton(titleWidget, "normalBtn", ":/img/ic_max.png", titleButtonStyle);
    normalBtn->setFocusPolicy(Qt::NoFocus);
    closeBtn = titleButton(titleWidget, "closeBtn", ":/img/ic_app_close.png", closeButtonStyle);
    closeBtn->setIconSize(QSize(22, 22));
    horizontalLayout->addWidget(minBtn);
    horizontalLayout->addWidget(normalBtn);
    horizontalLayout->addWidget(closeBtn);
    verticalLayout->addWidget(titleWidget);

    contentWidget = new QWidget(centralwidget);
    contentWidget->setObjectName("contentWidget");
    horizontalLayout_2 = new QHBoxLayout(contentWidget);
    horizontalLayout_2->setObjectName("horizontalLayout_2");

    connWidget = new QWidget(contentWidget);
    connWidget->setObjectName("connWidget");
    connWidget->setStyleSheet(".QWidget{\n\tbackground-color: rgb(255, 255, 255);\n}");
    connWidget->setFixedWidth(340);
    verticalLayout_2 = new QVBoxLayout(connWidget);
    connectWidget = new ConnectWidget(connWidget);
    connectWidget->setObjectName("connectWidget");
    verticalLayout_2->addWidget(connectWidget);
    widget = new QWidget(connWidget);
    widget->setObjectName("widget");
    auto *barLayout = new QHBoxLayout(widget);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addStretch();
    selectBtn = new QPushButton(widget);
    selectBtn->setObjectName("selectBtn");
    delBtn = new QPushButton(widget);
    delBtn->setObjectName("delBtn");
    compareBtn = new QPushButton(widget);
    compareBtn->setObjectName("compareBtn");
    // Wide enough for "Compare" as well as "对比".
    compareBtn->setFixedSize(70, 30);
    compareBtn->setStyleSheet(listButtonStyle);
    barLayout->addWidget(compareBtn);
    for (QPushButton *button : {delBtn, selectBtn}) {
        button->setFixedSize(45, 30);
        button->setStyleSheet(listButtonStyle);
        barLayout->addWidget(button);
    }
    verticalLayout_2->addWidget(widget);
    searchBar = new ArchiveSearchBar(connWidget);
    verticalLayout_2->addWidget(searchBar);
    // What the search left out or why it found nothing, above the entries.
    listNote = new QLabel(connWidget);
    listNote->setObjectName("listNote");
    listNote->setWordWrap(true);
    listNote->setAlignment(Qt::AlignCenter);
    listNote->setStyleSheet("color:#787878;font-size:13px;");
    listNote->hide();
    verticalLayout_2->addWidget(listNote);
    scrollArea = new QScrollArea(connWidget);
    scrollArea->setObjectName("scrollArea");
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setStyleSheet("QScrollArea{\n\tborder: 1px solid #F6F7FC;\n\tborder-radius: 6px;\n"
                              "\tbackground-color: rgba(0, 0, 0, 0);\n}");
    scrollAreaWidgetContents = new QWidget();
    scrollAreaWidgetContents->setObjectName("scrollAreaWidgetContents");
    scrollArea->setWidget(scrollAreaWidgetContents);
    verticalLayout_2->addWidget(scrollArea, 1);
    horizontalLayout_2->addWidget(connWidget);

    mainWidget = new QWidget(contentWidget);
    mainWidget->setObjectName("mainWidget");
    verticalLayout_3 = new QVBoxLayout(mainWidget);
    verticalLayout_3->setContentsMargins(0, 0, 0, 0);
    tbWidget = new TbWidget(mainWidget);
    tbWidget->setObjectName("tbWidget");
    verticalLayout_3->addWidget(tbWidget);
    // The audit trail's lasting states, in the banner style of the view's incomplete recording.
    auditNotice = makeBanner(mainWidget, "auditNotice",
                             "background-color: rgb(255, 246, 222); color: rgb(122, 82, 0);"
                             " border-left: 4px solid rgb(240, 173, 0);");
    verticalLayout_3->addWidget(auditNotice);
    auditWarning = makeBanner(mainWidget, "auditWarning",
                              "background-color: rgb(253, 231, 231); color: rgb(165, 20, 20);"
                              " border-left: 4px solid rgb(217, 48, 37);");
    verticalLayout_3->addWidget(auditWarning);
    stackedWidget = new QStackedWidget(mainWidget);
    stackedWidget->setObjectName("stackedWidget");
    dataShow = new DataShowWidget(stackedWidget);
    dataShow->setObjectName("dataShow");
    devSetting = new DevSettingInfo(stackedWidget);
    devSetting->setObjectName("devSetting");
    stackedWidget->insertWidget(RecordingPage, dataShow);
    stackedWidget->insertWidget(SettingsPage, devSetting);
    verticalLayout_3->addWidget(stackedWidget, 1);
    horizontalLayout_2->addWidget(mainWidget, 1);
    verticalLayout->addWidget(contentWidget, 1);

    window->setCentralWidget(centralwidget);
    retranslateUi(window);
}

void MainWindowForm::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(QCoreApplication::translate("MainWindow", "Temperature"));
    logoLabel->setText(QString());
    delBtn->setText(QCoreApplication::translate("MainWindow", "删除"));
}
