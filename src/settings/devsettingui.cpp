// SPDX-License-Identifier: GPL-3.0-or-later
// DevSettingUi: builds and names the controls of the device settings page.
#include "settings/devsettingui.h"

#include "config/deviceidentityrules.h"
#include "settings/alarmrowwidget.h"
#include "settings/datetimelineedit.h"
#include "settings/delaycombowidget.h"
#include "settings/delaysetwidgetfrom10.h"
#include "settings/delaysimplesetwidget.h"
#include "widgets/combobox.h"
#include "widgets/materialscrollbar.h"
#include "widgets/toggle.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace
{

const char *const context = "DevSettingInfo";

const char *const pageStyle =
    "#scrollAreaWidgetContents{background-color:white;}"
    "QLineEdit{border:1px solid rgb(224, 224, 224);border-radius:4px;padding-left:6px;}"
    "QLineEdit:disabled{color:rgb(160, 160, 160);background-color:rgb(248, 248, 248);}"
    "QLabel[rowName=\"true\"]{color:rgb(96, 96, 96);}"
    "QLabel#devNameHint{color:rgb(128, 128, 128);}"
    "QLabel#devNameHint[refused=\"true\"]{color:rgb(255, 107, 0);font-weight:bold;}"
    "QLabel[sectionTitle=\"true\"]{font-size:18px;font-weight:bold;color:rgb(32, 33, 36);"
    "padding-top:12px;}";

// Row names, section titles and control texts, in the order the page builds them.
const char *const rowNames[] = {
    QT_TRANSLATE_NOOP("DevSettingInfo", "设备名称"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "ID"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "设备版本"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "SN"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "文件备注"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "传感器"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "温度单位"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "日期时间"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "屏幕模式"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "背光灯"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "蜂鸣器"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "LED指示"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "临时PDF"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "记录模式"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "开启模式"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "开启延迟"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "记录间隔"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "按键停止"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "重复启动"),
};
const char *const titleNames[] = {QT_TRANSLATE_NOOP("DevSettingInfo", "设备"),
                                  QT_TRANSLATE_NOOP("DevSettingInfo", "记录"),
                                  QT_TRANSLATE_NOOP("DevSettingInfo", "报警")};
const char *const columnNames[] = {QT_TRANSLATE_NOOP("DevSettingInfo", "阈值"),
                                   QT_TRANSLATE_NOOP("DevSettingInfo", "类型"),
                                   QT_TRANSLATE_NOOP("DevSettingInfo", "延迟")};
const char *const radioNames[] = {
    QT_TRANSLATE_NOOP("DevSettingInfo", "内置温度传感器"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "外置温度传感器"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "外置温湿度传感器"),
    "℃",
    "℉",
    QT_TRANSLATE_NOOP("DevSettingInfo", "跟随系统"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "手动"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "常亮"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "自动熄屏"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "循环记录"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "记录满停止"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "软件"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "按键"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "预约"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "禁止"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "允许"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "禁止"),
    QT_TRANSLATE_NOOP("DevSettingInfo", "允许"),
};

QString translated(const char *source)
{
    return QCoreApplication::translate(context, source);
}

QLabel *newLabel(QWidget *parent, const char *property)
{
    auto *label = new QLabel(parent);
    label->setProperty(property, true);
    return label;
}

} // namespace

QWidget *DevSettingUi::addRow(const char *name)
{
    auto *row = new QWidget(rows);
    if (name)
        row->setObjectName(QLatin1String(name));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(12);
    QLabel *label = newLabel(row, "rowName");
    rowLabels.append(label);
    layout->addWidget(label);
    layout->addStretch(1);
    rows->layout()->addWidget(row);
    return row;
}

void DevSettingUi::put(QWidget *row, QWidget *control)
{
    auto *layout = static_cast<QHBoxLayout *>(row->layout());
    layout->insertWidget(layout->count() - 1, control);
}

QLabel *DevSettingUi::addTitle()
{
    QLabel *title = newLabel(rows, "sectionTitle");
    titles.append(title);
    rows->layout()->addWidget(title);
    return title;
}

QRadioButton *DevSettingUi::addRadio(QWidget *row, const char *name, QButtonGroup *group, int id)
{
    auto *radio = new QRadioButton(row);
    radio->setObjectName(QLatin1String(name));
    group->addButton(radio, id);
    put(row, radio);
    radios.append(radio);
    return radio;
}

Toggle *DevSettingUi::addToggle(const char *name)
{
    QWidget *row = addRow();
    auto *toggle = new Toggle(row);
    toggle->setObjectName(QLatin1String(name));
    toggle->setCheckable(true);
    put(row, toggle);
    return toggle;
}

void DevSettingUi::setupUi(QWidget *form)
{
    form->setObjectName(QStringLiteral("DevSettingInfo"));
    auto *formLayout = new QVBoxLayout(form);
    // The page's buttons (presets, save, don't save) sit in the strip above
    // the scrolling rows, so they never cover one.
    formLayout->setContentsMargins(0, buttonStripHeight, 0, 0);
    scrollArea = new QScrollArea(form);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    // A window narrower than the widest row scrolls sideways rather than cut it.
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollArea->setVerticalScrollBar(new MaterialScrollBar(scrollArea));
    formLayout->addWidget(scrollArea);

    content = new QWidget;
    content->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    content->setStyleSheet(QLatin1String(pageStyle));
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(40, 0, 16, 40);
    rows = content;
    contentLayout->setSpacing(2);

    unitGroup = new QButtonGroup(form);
    screenGroup = new QButtonGroup(form);
    clockGroup = new QButtonGroup(form);
    recordModeGroup = new QButtonGroup(form);
    startModeGroup = new QButtonGroup(form);
    keyStopGroup = new QButtonGroup(form);
    keyRestartGroup = new QButtonGroup(form);
    sensorGroup = new QButtonGroup(form);

    addTitle();
    QWidget *row = addRow();
    devNameLE = new QLineEdit(row);
    devNameLE->setObjectName(QStringLiteral("devNameLE"));
    devNameLE->setFixedSize(200, 30);
    devNameLE->setClearButtonEnabled(false);
    devNameLE->setValidator(new QRegularExpressionValidator(
        QRegularExpression(DeviceIdentityRules::namePattern()), devNameLE));
    put(row, devNameLE);
    devNameHint = new QLabel(row);
    devNameHint->setObjectName(QStringLiteral("devNameHint"));
    put(row, devNameHint);

    row = addRow();
    devIdLE = new QLineEdit(row);
    devIdLE->setObjectName(QStringLiteral("devIdLE"));
    devIdLE->setFixedSize(200, 30);
    devIdLE->setValidator(new QRegularExpressionValidator(
        QRegularExpression(DeviceIdentityRules::idPattern()), devIdLE));
    put(row, devIdLE);

    row = addRow();
    devVersionLabel = new QLabel(row);
    devVersionLabel->setObjectName(QStringLiteral("devVersionLabel"));
    put(row, devVersionLabel);

    row = addRow();
    devSNLabel = new QLabel(row);
    devSNLabel->setObjectName(QStringLiteral("devSNLabel"));
    put(row, devSNLabel);

    row = addRow();
    lineEdit = new QLineEdit(row);
    lineEdit->setObjectName(QStringLiteral("lineEdit"));
    lineEdit->setFixedHeight(120);
    lineEdit->setMinimumWidth(420);
    lineEdit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    put(row, lineEdit);

    sensorWidget = addRow("sensorWidget");
    innerTempSensorRB = addRadio(sensorWidget, "innerTempSensorRB", sensorGroup, 0);
    exterTempSensorRB = addRadio(sensorWidget, "exterTempSensorRB", sensorGroup, 1);
    exterHumSensorRB = addRadio(sensorWidget, "exterHumSensorRB", sensorGroup, 2);

    row = addRow();
    centigradeRB = addRadio(row, "centigradeRB", unitGroup, 0);
    fdegreeRB = addRadio(row, "fdegreeRB", unitGroup, 1);

    row = addRow();
    flowSysTimeRB = addRadio(row, "flowSysTimeRB", clockGroup, 0);
    manualTimeRB = addRadio(row, "manualTimeRB", clockGroup, 1);
    dateTimeLE = new DateTimeLineEdit(row);
    dateTimeLE->setObjectName(QStringLiteral("dateTimeLE"));
    dateTimeLE->setFixedSize(200, 30);
    put(row, dateTimeLE);

    row = addRow();
    allLightRB = addRadio(row, "allLightRB", screenGroup, 0);
    autoLightRB = addRadio(row, "autoLightRB", screenGroup, 1);
    autoLightCB = new ComboBox(row);
    autoLightCB->setObjectName(QStringLiteral("autoLightCB"));
    autoLightCB->setFixedSize(100, 30);
    autoLightCB->setStyleSheet(QLatin1String(DelayComboWidget::comboStyle));
    put(row, autoLightCB);

    backlightToggle = addToggle("backlightToggle");
    buzzerToggle = addToggle("buzzerToggle");
    ledToggle = addToggle("ledToggle");
    tempPdfToggle = addToggle("tempPdfToggle");

    addTitle();
    row = addRow();
    loopRecordRB = addRadio(row, "loopRecordRB", recordModeGroup, 1);
    fullRecordRB = addRadio(row, "fullRecordRB", recordModeGroup, 0);

    row = addRow();
    softStartRB = addRadio(row, "softStartRB", startModeGroup, 1);
    keyStartRB = addRadio(row, "keyStartRB", startModeGroup, 0);
    subStartRB = addRadio(row, "subStartRB", startModeGroup, 2);
    startTimeLE = new DateTimeLineEdit(row);
    startTimeLE->setObjectName(QStringLiteral("startTimeLE"));
    startTimeLE->setFixedSize(200, 30);
    put(row, startTimeLE);

    row = addRow();
    startDelayWidget = new DelaySimpleSetWidget(row);
    startDelayWidget->setObjectName(QStringLiteral("startDelayWidget"));
    put(row, startDelayWidget);

    row = addRow();
    recordInterval = new DelaySetWidgetFrom10(row);
    recordInterval->setObjectName(QStringLiteral("recordInterval"));
    put(row, recordInterval);

    keyStopW = addRow("keyStopW");
    disableKeyRB = addRadio(keyStopW, "disableKeyRB", keyStopGroup, 0);
    allowKeyRB = addRadio(keyStopW, "allowKeyRB", keyStopGroup, 1);

    keyRestartW = addRow("keyRestartW");
    disabelReStartRB = addRadio(keyRestartW, "disabelReStartRB", keyRestartGroup, 0);
    allowRestartRB = addRadio(keyRestartW, "allowRestartRB", keyRestartGroup, 1);

    addTitle();
    auto *header = new QWidget(rows);
    auto *headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(90, 4, 0, 4);
    headerLayout->setSpacing(10);
    const int columnWidths[] = {130, 100, 290};
    for (int width : columnWidths) {
        QLabel *label = newLabel(header, "rowName");
        label->setFixedWidth(width);
        columnTitles.append(label);
        headerLayout->addWidget(label);
    }
    headerLayout->addStretch(1);
    rows->layout()->addWidget(header);
    for (int r = 0; r < AlarmRowCount; ++r) {
        alarmRows[size_t(r)] = new AlarmRowWidget(r, rows);
        rows->layout()->addWidget(alarmRows[size_t(r)]);
    }
    contentLayout->addStretch(1);

    scrollArea->setWidget(content);

    innerTempSensorRB->setChecked(true);
    flowSysTimeRB->setChecked(true);
    allLightRB->setChecked(true);
    loopRecordRB->setChecked(true);
    softStartRB->setChecked(true);
    disableKeyRB->setChecked(true);
    disabelReStartRB->setChecked(true);
    retranslateUi();
}

void DevSettingUi::retranslateUi()
{
    for (int i = 0; i < rowLabels.size(); ++i)
        rowLabels.at(i)->setText(translated(rowNames[i]));
    for (int i = 0; i < titles.size(); ++i)
        titles.at(i)->setText(translated(titleNames[i]));
    for (int i = 0; i < columnTitles.size(); ++i)
        columnTitles.at(i)->setText(translated(columnNames[i]));
    for (int i = 0; i < radios.size(); ++i)
        radios.at(i)->setText(translated(radioNames[i]));
    lineEdit->setPlaceholderText(translated(QT_TRANSLATE_NOOP("DevSettingInfo", "请输入备注")));
    devNameHint->setText(translated(QT_TRANSLATE_NOOP(
        "DevSettingInfo", "仅限字母、数字和下划线，最多 20 个；不能有空格或连字符")));
    for (AlarmRowWidget *row : alarmRows)
        row->retranslate();
    // The type column's title lines up with the type boxes, whose width follows their texts.
    columnTitles.at(1)->setFixedWidth(alarmRows[0]->typeCB()->width());
}

void DevSettingUi::markNameRefused(bool refused)
{
    if (devNameHint->property("refused").toBool() == refused)
        return;
    devNameHint->setProperty("refused", refused);
    // A dynamic property takes effect in the style sheet only when the label is polished again.
    devNameHint->style()->unpolish(devNameHint);
    devNameHint->style()->polish(devNameHint);
}

void DevSettingUi::applyLanguageWidths(bool english)
{
    // At least the language's width, and as wide as the widest name so that
    // the controls of all rows line up.
    int labelWidth = english ? 154 : 60;
    for (QLabel *label : rowLabels)
        labelWidth = qMax(labelWidth, label->sizeHint().width());
    for (QLabel *label : rowLabels)
        label->setMinimumWidth(labelWidth);
    // The language's widths line the buttons up in columns; a text that needs
    // more room than that (another font) keeps its room rather than being cut.
    auto fit = [](QRadioButton *radio, int width) {
        radio->setFixedWidth(qMax(width, radio->sizeHint().width()));
    };
    for (QRadioButton *radio : radios)
        fit(radio, english ? 170 : 100);
    fit(fullRecordRB, english ? 190 : 120);
    for (QRadioButton *radio : {innerTempSensorRB, exterTempSensorRB, exterHumSensorRB})
        fit(radio, english ? 200 : 150);
}
