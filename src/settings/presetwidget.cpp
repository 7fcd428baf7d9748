// SPDX-License-Identifier: GPL-3.0-or-later
// PresetWidget: the drop-down panel that lists, applies, names and deletes stored presets.
#include "settings/presetwidget.h"

#include "core/settinginfo.h"
#include "settings/persetbutton.h"
#include "widgets/clearlineedit.h"
#include "widgets/materialscrollbar.h"

#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{

const char *const textButtonStyle = "QPushButton{border:none;border-radius:4px;padding:4px 10px;}"
                                    "QPushButton:hover{background-color:rgb(238, 238, 238);}";
const char *const addStyle =
    "QPushButton{border:none;background-color:rgba(249, 121, 50, 1);border-radius:8px;}";

QPushButton *textButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setStyleSheet(QLatin1String(textButtonStyle));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

PresetWidget::PresetWidget(QWidget *parent) : QWidget(parent), group(new QButtonGroup(this))
{
    buildForm();
    connect(group, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &PresetWidget::appPerset);
    connect(selectBtn, &QPushButton::clicked, this, &PresetWidget::switchDelFile);
    connect(deleteBtn, &QPushButton::clicked, this, &PresetWidget::delMultipleDel);
    connect(addBtn, &QPushButton::clicked, this, [this] {
        renameFile.clear();
        openCreateRow();
    });
    QMetaObject::connectSlotsByName(this);
    retranslate();
    loadConfigs();
}

void PresetWidget::buildForm()
{
    setObjectName(QStringLiteral("PresetWidget"));
    setFixedSize(400, 420);
    frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("widget"));
    frame->setGeometry(9, 5, 382, 405);
    frame->setStyleSheet(QStringLiteral(
        "#widget{background-color:white;border-radius:10px;border:1px solid #F8F8F8;}"));
    auto *shadow = new QGraphicsDropShadowEffect(frame);
    shadow->setOffset(0, 4);
    shadow->setColor(QColor(0, 0, 0, 63));
    shadow->setBlurRadius(8);
    frame->setGraphicsEffect(shadow);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->setSpacing(4);

    selectRow = new QWidget(frame);
    selectRow->setObjectName(QStringLiteral("selectWidget"));
    selectRow->setFixedHeight(40);
    auto *selectLayout = new QHBoxLayout(selectRow);
    selectLayout->setContentsMargins(4, 0, 4, 0);
    deleteBtn = textButton(selectRow, "delPerSetBtn");
    deleteBtn->hide();
    selectBtn = textButton(selectRow, "selectPerSetBtn");
    selectLayout->addWidget(deleteBtn);
    selectLayout->addStretch(1);
    selectLayout->addWidget(selectBtn);
    layout->addWidget(selectRow);

    stack = new QStackedWidget(frame);
    stack->setObjectName(QStringLiteral("stackedWidget"));
    emptyPage = new QWidget(stack);
    emptyPage->setObjectName(QStringLiteral("emptyPage"));
    emptyPage->setStyleSheet(QStringLiteral(
        "#emptyPage{background-image:url(:/img/ic_notpreset.png);background-position:center;"
        "background-repeat:no-repeat;background-color:white;}"));
    auto *emptyLayout = new QVBoxLayout(emptyPage);
    emptyLayout->addStretch(1);
    emptyText = new QLabel(emptyPage);
    emptyText->setObjectName(QStringLiteral("label"));
    emptyText->setAlignment(Qt::AlignCenter);
    emptyText->setStyleSheet(QStringLiteral("color:rgb(128, 128, 128);"));
    emptyLayout->addWidget(emptyText);
    emptyLayout->addSpacing(24);
    stack->addWidget(emptyPage);

    listPage = new QWidget(stack);
    listPage->setObjectName(QStringLiteral("listPage"));
    auto *listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    scrollArea = new QScrollArea(listPage);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setFixedSize(366, 283);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setVerticalScrollBar(new MaterialScrollBar(scrollArea));
    scrollArea->setStyleSheet(
        QStringLiteral("QScrollArea, #qt_scrollarea_viewport{background-color:white;}"));
    persetContentWidget = new QWidget;
    persetContentWidget->setObjectName(QStringLiteral("persetContentWidget"));
    persetContentWidget->setStyleSheet(QStringLiteral("#persetContentWidget{background:white;}"));
    scrollArea->setWidget(persetContentWidget);
    listLayout->addWidget(scrollArea);
    listLayout->addStretch(1);
    stack->addWidget(listPage);
    layout->addWidget(stack, 1);

    createRow = new QWidget(frame);
    createRow->setObjectName(QStringLiteral("createWidget"));
    createRow->setFixedHeight(40);
    auto *createLayout = new QHBoxLayout(createRow);
    createLayout->setContentsMargins(4, 0, 4, 0);
    createLabel = new QLabel(createRow);
    createLabel->setObjectName(QStringLiteral("label_2"));
    nameEdit = new ClearLineEdit(createRow);
    nameEdit->setObjectName(QStringLiteral("nameLineEdit"));
    nameEdit->setStyleSheet(QStringLiteral(
        "QLineEdit{border:1px solid rgb(224, 224, 224);border-radius:4px;padding-left:6px;"
        "min-height:28px;}"));
    complete = textButton(createRow, "completeBtn");
    createLayout->addWidget(createLabel);
    createLayout->addWidget(nameEdit, 1);
    createLayout->addWidget(complete);
    layout->addWidget(createRow);

    addBtn = new QPushButton(this);
    addBtn->setObjectName(QStringLiteral("addBtn"));
    addBtn->setStyleSheet(QLatin1String(addStyle));
    addBtn->setIcon(QIcon(QStringLiteral(":/img/ic_addset.png")));
    addBtn->setIconSize(QSize(30, 30));
    addBtn->setFixedSize(40, 40);
    addBtn->setCursor(Qt::PointingHandCursor);
    addBtn->move(width() - 1 - 69, height() - 1 - 73);
}

QList<PersetButton *> PresetWidget::entries() const
{
    QList<PersetButton *> buttons;
    for (QAbstractButton *button : group->buttons())
        buttons.append(static_cast<PersetButton *>(button));
    return buttons;
}

void PresetWidget::openCreateRow(const QString &name)
{
    addBtn->hide();
    createRow->show();
    createLabel->show();
    createLabel->setText(renameFile.isEmpty() ? tr("新建预设") : tr("重命名预设"));
    nameEdit->show();
    nameEdit->setText(name);
    nameEdit->selectAll();
    // Keys typed now name the preset; the entry a context menu was opened on keeps no
    // focus, so a space cannot apply it over the form.
    if (nameEdit->isVisible())
        nameEdit->setFocus();
}

void PresetWidget::loadConfigs()
{
    renameFile.clear();
    const QDir folder(configDir());
    // Sorted by name, which for the time-stamped file names is the order of saving.
    const QStringList files = folder.entryList({QStringLiteral("*.conf")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        stack->setCurrentWidget(emptyPage);
        selectRow->hide();
        addBtn->hide();
        openCreateRow();
    } else {
        stack->setCurrentWidget(listPage);
        createRow->hide();
        selectRow->show();
        addBtn->show();
        addBtn->raise();
    }

    // Later, not now: a reload may run inside a handler of one of these entries
    // (its context menu's "删除").
    for (QAbstractButton *button : group->buttons()) {
        group->removeButton(button);
        button->hide();
        button->deleteLater();
    }
    list.clear();
    entryWidth = scrollArea->width() - leftMargin - rightMargin;
    for (const QString &file : files) {
        PersettingJson preset;
        if (!PersettingJson::readFile(folder.filePath(file), &preset))
            continue;
        const int n = list.size();
        auto *entry =
            new PersetButton(preset.configName, file + QStringLiteral("__") + QString::number(n),
                             persetContentWidget);
        entry->setCheckable(selectMode);
        entry->setSelectMode(selectMode);
        entry->setGeometry(4, n * entryHeight + (n + 1) * entryGap, entryWidth, entryHeight);
        entry->show();
        connect(entry, &PersetButton::perSetOptSignal, this, &PresetWidget::delPerSetOptSignal);
        connect(entry, &PersetButton::applyConfigSignal, this, &PresetWidget::delApplyConfigSignal);
        group->addButton(entry, n);
        list.append(preset);
    }
    const int f = files.size();
    persetContentWidget->setMinimumHeight(f * entryHeight + (f + 1) * entryGap);
    persetContentWidget->setMaximumHeight(f * entryHeight + (f + 1) * entryGap);
}

void PresetWidget::placeEntries()
{
    entryWidth = scrollArea->width() - leftMargin - rightMargin;
    for (QAbstractButton *button : group->buttons()) {
        const int n = group->id(button);
        button->setGeometry(4, n * entryHeight + (n + 1) * entryGap, entryWidth, entryHeight);
    }
}

bool PresetWidget::emitPreset(int position)
{
    if (position < 0 || position >= list.size())
        return false;
    QString note;
    const OneConfigCmdStruct config = list.at(position).toConfig(&note);
    emit usingSettings(config, note, list.at(position).lgxDevType);
    return true;
}

void PresetWidget::appPerset(QAbstractButton *button)
{
    auto *entry = qobject_cast<PersetButton *>(button);
    if (!entry || entry->isSelectMode())
        return;
    if (emitPreset(PersetButton::splitName(entry->objectName()).second))
        hide();
}

void PresetWidget::delApplyConfigSignal(QString objname)
{
    for (QAbstractButton *button : group->buttons()) {
        if (button->objectName() == objname) {
            appPerset(button);
            return;
        }
    }
}

void PresetWidget::delPerSetOptSignal(QString objname, int optNum)
{
    const QPair<QString, int> name = PersetButton::splitName(objname);
    switch (optNum) {
    case 0:
        emitPreset(name.second);
        break;
    case 1:
        removePreset(name.first, name.second);
        loadConfigs();
        break;
    case 2:
        if (name.second < 0 || name.second >= list.size())
            return;
        renameFile = name.first;
        openCreateRow(list.at(name.second).configName);
        break;
    default:
        break;
    }
}

void PresetWidget::on_completeBtn_clicked()
{
    if (!nameEdit->text().isEmpty())
        emit createPersetConfig(nameEdit->text(), renameFile);
}

void PresetWidget::switchDelFile()
{
    setSelectMode(!selectMode);
}

void PresetWidget::setSelectMode(bool on)
{
    selectMode = on;
    group->setExclusive(!on);
    for (PersetButton *entry : entries()) {
        entry->setCheckable(on);
        if (on)
            entry->setChecked(false);
        entry->setSelectMode(on);
    }
    deleteBtn->setVisible(on);
    selectBtn->setText(on ? tr("取消") : tr("编辑"));
}

void PresetWidget::delMultipleDel()
{
    QVector<QPair<QString, int>> chosen;
    for (PersetButton *entry : entries()) {
        if (entry->isChecked())
            chosen.append(PersetButton::splitName(entry->objectName()));
    }
    setSelectMode(false);
    if (chosen.isEmpty())
        return;
    for (const auto &preset : qAsConst(chosen))
        removePreset(preset.first, preset.second);
    loadConfigs();
}

bool PresetWidget::removePreset(const QString &fileName, int index)
{
    if (!QFile::remove(QDir(configDir()).filePath(fileName)))
        return false;
    emit presetDeleted(index >= 0 && index < list.size() ? list.at(index).configName : fileName);
    return true;
}

void PresetWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeEntries();
}

void PresetWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        selectBtn->setText(selectMode ? tr("取消") : tr("编辑"));
    }
    QWidget::changeEvent(event);
}

void PresetWidget::retranslate()
{
    deleteBtn->setText(tr("删除"));
    selectBtn->setText(tr("选择"));
    emptyText->setText(tr("暂无预设，请新建预设"));
    createLabel->setText(renameFile.isEmpty() ? tr("新建预设") : tr("重命名预设"));
    nameEdit->setPlaceholderText(tr("输入预设名称"));
    complete->setText(tr("完成"));
}
