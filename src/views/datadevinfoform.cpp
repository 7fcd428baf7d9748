// SPDX-License-Identifier: GPL-3.0-or-later
// The summary panel's form: labels for device, configuration, statistics, evaluation and alarms.
#include "views/datadevinfoform.h"

#include "views/evaluationeditor.h"
#include "views/reviewpanel.h"

#include "widgets/checkbutton.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace
{

const char *const context = "DataDevInfoWidget";
const char *const titleStyle = "font-size:16px;\nfont-weight: 500;";
const char *const stripeStyle = "background: #F7F7F7;";

QLabel *fixedLabel(QWidget *parent, const QString &name, int width)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedWidth(width);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The alarm table's six columns after the switch and the name: threshold,
// type, delay, duration, count, state. They share the table's width in these
// proportions and never get narrower than their minimum, so the table fits
// the page from the default window size up and scrolls sideways below it.
// Header and rows lay out the same way, so their columns line up.
struct AlarmColumn {
    int minimum;
    int stretch;
};
constexpr AlarmColumn alarmColumns[] = {{90, 11},  {90, 11}, {90, 11},
                                        {120, 16}, {70, 11}, {80, 11}};
// The switch and the name, or the header's blank cell in their place.
constexpr int alarmLeadWidth = 160;
constexpr int alarmSpacing = 10;

void addAlarmCell(QHBoxLayout *layout, QLabel *label, int column)
{
    label->setMinimumWidth(alarmColumns[column].minimum);
    label->setSizePolicy(QSizePolicy::Ignored, label->sizePolicy().verticalPolicy());
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label, alarmColumns[column].stretch);
}

} // namespace

QLabel *DataDevInfoForm::addLabel(QWidget *parent, const char *name, const char *source)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    if (source)
        mTexts.append({label, source});
    return label;
}

QHBoxLayout *DataDevInfoForm::nameRow(QWidget *parent, const char *nameObject, const char *nameText)
{
    auto *row = new QWidget(parent);
    row->setMinimumHeight(38);
    auto *layout = new QHBoxLayout(row);
    layout->setSpacing(12);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel *name = addLabel(row, nameObject, nameText);
    name->setFixedWidth(100);
    name->setStyleSheet(QStringLiteral("font-weight: 500;"));
    nameLabels.append(name);
    auto *colon = new QLabel(QStringLiteral(":"), row);
    colon->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    layout->addWidget(colon);
    return layout;
}

QWidget *DataDevInfoForm::infoRow(QWidget *parent, const char *nameObject, const char *nameText,
                                  const char *valueObject, QLabel **value, int valueWidth)
{
    QHBoxLayout *layout = nameRow(parent, nameObject, nameText);
    *value = addLabel(layout->parentWidget(), valueObject);
    (*value)->setMinimumWidth(valueWidth);
    layout->addWidget(*value, 1);
    return layout->parentWidget();
}

// The SHA-256 in a small fixed-pitch font, in a box as wide as its 64 digits,
// so the whole fingerprint is seen and can be compared digit by digit.
QWidget *DataDevInfoForm::fingerprintRow(QWidget *parent)
{
    QHBoxLayout *layout =
        nameRow(parent, "fingerprintNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "文件指纹"));
    fingerprintEdit = new QLineEdit(layout->parentWidget());
    fingerprintEdit->setObjectName(QStringLiteral("fingerprintEdit"));
    fingerprintEdit->setReadOnly(true);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    // The page's style sheet sets every widget's font size, so the font is set the same way.
    fingerprintEdit->setStyleSheet(
        QStringLiteral("QLineEdit{\n\tfont-family: \"%1\";\n\tfont-size: 12px;\n\tborder:none;\n"
                       "\tborder-radius:4px;\n\tpadding: 0px 6px;\n"
                       "\tbackground-color: rgba(246, 247, 252, 1);\n}\n"
                       "QLineEdit:focus{\n\tborder:1px solid rgb(32, 33, 36);\n"
                       "\tpadding: 0px 5px;\n}")
            .arg(font.family()));
    fingerprintEdit->setFixedSize(
        QFontMetrics(font).horizontalAdvance(QString(64, QLatin1Char('0'))) + 24, 30);
    layout->addWidget(fingerprintEdit);
    layout->addStretch(1);
    return layout->parentWidget();
}

void DataDevInfoForm::setupUi(QWidget *form)
{
    form->resize(1200, 971);
    auto *outer = new QVBoxLayout(form);
    outer->setContentsMargins(0, 0, 0, 0);
    scrollArea = new QScrollArea(form);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setStyleSheet(QStringLiteral("QScrollArea{\n\tborder:none;\n}"));
    scrollArea->setWidgetResizable(true);
    scrollAreaWidgetContents = new QWidget;
    scrollAreaWidgetContents->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    scrollAreaWidgetContents->setStyleSheet(
        QStringLiteral("QWidget{\t\n\tbackground-color: rgb(255, 255, 255);\n\tfont-size: 14px;\n"
                       "\tfont-weight: 400;\n}"));
    auto *layout = new QVBoxLayout(scrollAreaWidgetContents);
    layout->setContentsMargins(24, 8, 24, 24);
    QWidget *page = scrollAreaWidgetContents;

    auto addTitle = [&](const char *name, const char *text) {
        QLabel *title = addLabel(page, name, text);
        title->setStyleSheet(QLatin1String(titleStyle));
        title->setMinimumHeight(44);
        layout->addWidget(title);
    };

    // The verdict comes first, where the page is seen without scrolling.
    layout->addWidget(infoRow(page, "verdictNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "判定"),
                              "verdictLabel", &verdictLabel, 196));
    addTitle("label_25", QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录仪信息"));
    auto *device = new QWidget(page);
    device->setMinimumHeight(38);
    auto *deviceLayout = new QHBoxLayout(device);
    deviceLayout->setSpacing(12);
    deviceLayout->setContentsMargins(0, 0, 0, 0);
    QLabel *devNN =
        addLabel(device, "devNNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "设备名称"));
    devNN->setFixedWidth(100);
    devNN->setStyleSheet(QStringLiteral("font-weight: 500;"));
    nameLabels.append(devNN);
    devNameLabel = addLabel(device, "devNameLabel");
    devNameLabel->setMinimumWidth(196);
    QLabel *sn = addLabel(device, "label_2", "SN");
    QLabel *id = addLabel(device, "label_4", "ID");
    snLabel = addLabel(device, "snLabel");
    idLabel = addLabel(device, "idLabel");
    for (QLabel *name : {sn, id}) {
        name->setMinimumWidth(30);
        name->setStyleSheet(QStringLiteral("font-weight: 500;"));
    }
    const QList<QPair<QLabel *, QLabel *>> pairs{
        {devNN, devNameLabel}, {sn, snLabel}, {id, idLabel}};
    for (const auto &pair : pairs) {
        deviceLayout->addWidget(pair.first);
        auto *colon = new QLabel(QStringLiteral(":"), device);
        colon->setAlignment(Qt::AlignCenter);
        deviceLayout->addWidget(colon);
        deviceLayout->addWidget(pair.second, 1);
    }
    layout->addWidget(device);
    layout->addWidget(infoRow(page, "deviceNoteNLabel",
                              QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录仪备注"),
                              "deviceNoteLabel", &deviceNoteLabel, 196));

    lineEdit = new QLineEdit(page);
    lineEdit->setObjectName(QStringLiteral("lineEdit"));
    lineEdit->setFixedHeight(40);
    lineEdit->setStyleSheet(QStringLiteral(
        "QLineEdit{\n\tborder:none;\n\tborder-radius:8px;\n\tpadding-left: 5px;\n"
        "\tbackground-color: rgba(246, 247, 252, 1);\n}\nQLineEdit:focus{\n\tborder-radius:8px;\n"
        "\tpadding-left: 4px;\n\tborder:1px solid rgb(32, 33, 36);\n}"));
    layout->addWidget(lineEdit);

    auto addGrid = [&](const QList<QWidget *> &left, const QList<QWidget *> &right) {
        auto *grid = new QGridLayout;
        grid->setHorizontalSpacing(24);
        grid->setVerticalSpacing(0);
        for (int i = 0; i < left.size(); ++i)
            grid->addWidget(left.at(i), i, 0);
        for (int i = 0; i < right.size(); ++i)
            grid->addWidget(right.at(i), i, 1);
        layout->addLayout(grid);
    };

    addTitle("label_11", QT_TRANSLATE_NOOP("DataDevInfoWidget", "配置信息"));
    addGrid({infoRow(page, "startMNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "开启模式"),
                     "startModelLabel", &startModelLabel, 196),
             infoRow(page, "stopMNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "停止模式"),
                     "stopModelLabel", &stopModelLabel, 196),
             infoRow(page, "startDNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "开启延迟"),
                     "startDelayLabel", &startDelayLabel, 196)},
            {infoRow(page, "configTNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "配置时间"),
                     "configTimeLabel", &configTimeLabel, 170),
             infoRow(page, "recordINLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录间隔"),
                     "recordIntervalLabel", &recordIntervalLabel, 170),
             infoRow(page, "recordMNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录模式"),
                     "recordModeLabel", &recordModeLabel, 170)});

    addTitle("label_38", QT_TRANSLATE_NOOP("DataDevInfoWidget", "温度信息"));
    addGrid({infoRow(page, "startTNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "开启时间"),
                     "startTimeLabel", &startTimeLabel, 196),
             infoRow(page, "stopTNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "停止时间"),
                     "endTimeLabel", &endTimeLabel, 196),
             infoRow(page, "recordTNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录时长"),
                     "recordDuration", &recordDuration, 196),
             infoRow(page, "recordNumNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录条数"),
                     "recordNum", &recordNum, 196)},
            {infoRow(page, "maxVNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "最大值"),
                     "maxValueLabel", &maxValueLabel, 170),
             infoRow(page, "minVNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "最小值"),
                     "minValueLabel", &minValueLabel, 170),
             infoRow(page, "avgVNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "平均值"),
                     "avgValueLabel", &avgValueLabel, 170),
             infoRow(page, "timeZoneNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "时区"),
                     "timeZoneLabel", &timeZoneLabel, 170)});

    addTitle("evaluationTitle", QT_TRANSLATE_NOOP("DataDevInfoWidget", "评估"));
    addGrid({infoRow(page, "rangeNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "评估范围"),
                     "rangeLabel", &rangeLabel, 196),
             infoRow(page, "aboveTNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "高于上限"),
                     "timeAboveLabel", &timeAboveLabel, 196),
             infoRow(page, "belowTNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "低于下限"),
                     "timeBelowLabel", &timeBelowLabel, 196),
             infoRow(page, "mktNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "平均动力学温度"),
                     "mktLabel", &mktLabel, 196)},
            {infoRow(page, "excursionNumNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "超限次数"),
                     "excursionNum", &excursionNum, 170),
             infoRow(page, "longestNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "最长超限"),
                     "longestExcursionLabel", &longestExcursionLabel, 170),
             infoRow(page, "longestSNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "最长超限开始"),
                     "longestStartLabel", &longestStartLabel, 170),
             infoRow(page, "energyNLabel", QT_TRANSLATE_NOOP("DataDevInfoWidget", "活化能"),
                     "activationEnergyLabel", &activationEnergyLabel, 170)});
    evaluationEditor = new EvaluationEditor(page);
    evaluationEditor->setObjectName(QStringLiteral("evaluationEditor"));
    nameLabels.append(evaluationEditor->nameLabel());
    layout->addWidget(evaluationEditor);
    layout->addWidget(fingerprintRow(page));

    addTitle("reviewTitle", QT_TRANSLATE_NOOP("DataDevInfoWidget", "审核"));
    reviewPanel = new ReviewPanel(page);
    reviewPanel->setObjectName(QStringLiteral("reviewPanel"));
    layout->addWidget(reviewPanel);

    addTitle("label_18", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警设置及结果"));
    addAlarmTable(page, layout);
    layout->addStretch();

    scrollArea->setWidget(scrollAreaWidgetContents);
    outer->addWidget(scrollArea);
    retranslateUi(form);
}

void DataDevInfoForm::addAlarmTable(QWidget *parent, QVBoxLayout *layout)
{
    auto *header = new QWidget(parent);
    header->setObjectName(QStringLiteral("widget_6"));
    header->setMinimumHeight(40);
    header->setStyleSheet(QStringLiteral(
        "QWidget{\n\tborder-radius: 12px;\n\tbackground: #333;\n\tcolor: rgb(255, 255, 255);\n"
        "\tfont-size: 14px;\n\tfont-weight: 400;\n}"));
    auto *headerLayout = new QHBoxLayout(header);
    headerLayout->setSpacing(alarmSpacing);
    auto *pushButton = new QPushButton(header);
    pushButton->setObjectName(QStringLiteral("pushButton"));
    pushButton->setFixedWidth(alarmLeadWidth);
    pushButton->setFlat(true);
    headerLayout->addWidget(pushButton);
    const struct {
        const char *name;
        const char *text;
    } columns[] = {
        {"label_19", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警阈值")},
        {"label_20", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警类型")},
        {"label_24", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警延迟")},
        {"label_22", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警时长")},
        {"label_21", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警次数")},
        {"label_23", QT_TRANSLATE_NOOP("DataDevInfoWidget", "报警状态")},
    };
    for (int c = 0; c < 6; ++c)
        addAlarmCell(headerLayout, addLabel(header, columns[c].name, columns[c].text), c);
    layout->addWidget(header);

    // Every row is built; the humidity rows are hidden for recordings without humidity.
    const QVector<recordingsummary::AlarmRowLayout> layouts =
        recordingsummary::alarmRowLayouts(true);
    for (int i = 0; i < layouts.size(); ++i) {
        const QString key = layouts[i].label.toLower();
        DataDevInfoAlarmRow row;
        row.key = key;
        row.layout = layouts[i];
        row.row = new QWidget(parent);
        row.row->setObjectName(key + QStringLiteral("Widget"));
        row.row->setMinimumHeight(40);
        if (i % 2 == 1)
            row.row->setStyleSheet(QLatin1String(stripeStyle));
        auto *rowLayout = new QHBoxLayout(row.row);
        rowLayout->setSpacing(alarmSpacing);
        row.checkBtn = new CheckButton(row.row);
        row.checkBtn->setObjectName(key + QStringLiteral("CheckBtn"));
        row.checkBtn->setFixedSize(64, 30);
        row.name =
            fixedLabel(row.row, key + QStringLiteral("Name"), alarmLeadWidth - 64 - alarmSpacing);
        row.name->setFixedHeight(30);
        row.name->setText(row.layout.label);
        rowLayout->addWidget(row.checkBtn);
        rowLayout->addWidget(row.name);
        const char *const cells[] = {"ValueLabel",    "TypeLabel",  "DelayLabel",
                                     "DurationLabel", "TimesLabel", "StateLabel"};
        QLabel **labels[] = {&row.value,    &row.type,  &row.delay,
                             &row.duration, &row.times, &row.state};
        for (int c = 0; c < 6; ++c) {
            *labels[c] = new QLabel(row.row);
            (*labels[c])->setObjectName(key + QLatin1String(cells[c]));
            addAlarmCell(rowLayout, *labels[c], c);
        }
        layout->addWidget(row.row);
        if (key == QLatin1String("hh"))
            hhWidget = row.row;
        else if (key == QLatin1String("hl"))
            hlWidget = row.row;
        alarmRows.append(row);
    }
}

void DataDevInfoForm::retranslateUi(QWidget *form)
{
    form->setWindowTitle(QCoreApplication::translate(context, "Form"));
    for (const Text &text : qAsConst(mTexts))
        text.label->setText(QCoreApplication::translate(context, text.source));
    lineEdit->setPlaceholderText(
        QCoreApplication::translate(context, QT_TRANSLATE_NOOP("DataDevInfoWidget",
                                                       "输入对此记录的备注，按回车保存")));
    fingerprintEdit->setToolTip(QCoreApplication::translate(
        context, QT_TRANSLATE_NOOP("DataDevInfoWidget", "记录文件的 SHA-256，可选中复制")));
}
