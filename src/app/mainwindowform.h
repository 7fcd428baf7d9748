// SPDX-License-Identifier: GPL-3.0-or-later
// The widget tree of the main window, with its object names and style sheets.
#pragma once

class ArchiveSearchBar;
class ConnectWidget;
class DataShowWidget;
class DevSettingInfo;
class QHBoxLayout;
class QLabel;
class QMainWindow;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QVBoxLayout;
class QWidget;
class TbWidget;

class MainWindowForm
{
public:
    // The pages of `stackedWidget`.
    enum Page { RecordingPage = 0, SettingsPage = 1 };
    static constexpr int minimumWidth = 1024;
    static constexpr int minimumHeight = 640;

    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);

    QWidget *centralwidget;
    QVBoxLayout *verticalLayout;
    QWidget *titleWidget;
    QHBoxLayout *horizontalLayout;
    QLabel *logoLabel;
    QPushButton *minBtn;
    QPushButton *normalBtn;
    QPushButton *closeBtn;
    QWidget *contentWidget;
    QHBoxLayout *horizontalLayout_2;
    QWidget *connWidget;
    QVBoxLayout *verticalLayout_2;
    ConnectWidget *connectWidget;
    QWidget *widget;
    QPushButton *selectBtn;
    QPushButton *delBtn;
    QPushButton *compareBtn;
    ArchiveSearchBar *searchBar;
    QLabel *listNote;
    QScrollArea *scrollArea;
    QWidget *scrollAreaWidgetContents;
    QWidget *mainWidget;
    QVBoxLayout *verticalLayout_3;
    TbWidget *tbWidget;
    // Shown while audit entries wait for the archive, and while the trail does not verify.
    QLabel *auditNotice;
    QLabel *auditWarning;
    QStackedWidget *stackedWidget;
    DataShowWidget *dataShow;
    DevSettingInfo *devSetting;
};
