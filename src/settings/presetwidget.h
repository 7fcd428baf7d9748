// SPDX-License-Identifier: GPL-3.0-or-later
// PresetWidget: the drop-down panel that lists, applies, names and deletes stored presets.
#pragma once

#include "config/persettingjson.h"
#include "device/oneconfigcmdstruct.h"

#include <QList>
#include <QWidget>

class ClearLineEdit;
class PersetButton;
class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPushButton;
class QScrollArea;
class QStackedWidget;

class PresetWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PresetWidget(QWidget *parent = nullptr);

    const QList<PersettingJson> &presets() const { return list; }
    QList<PersetButton *> entries() const;
    bool isSelectMode() const { return selectMode; }
    QString renameTarget() const { return renameFile; }

    QStackedWidget *stackedWidget() const { return stack; }
    QWidget *selectWidget() const { return selectRow; }
    QWidget *createWidget() const { return createRow; }
    ClearLineEdit *nameLineEdit() const { return nameEdit; }
    QPushButton *completeBtn() const { return complete; }
    QPushButton *selectPerSetBtn() const { return selectBtn; }
    QPushButton *delPerSetBtn() const { return deleteBtn; }
    QPushButton *addButton() const { return addBtn; }
    QLabel *emptyLabel() const { return emptyText; }

signals:
    void createPersetConfig(QString configName, QString configPath);
    void usingSettings(OneConfigCmdStruct config, QString note, int devType);
    // The preset called `name` was deleted.
    void presetDeleted(const QString &name);

public slots:
    void loadConfigs();
    void appPerset(QAbstractButton *button);
    void delApplyConfigSignal(QString objname);

private slots:
    void switchDelFile();
    void on_completeBtn_clicked();
    void delPerSetOptSignal(QString objname, int optNum);
    void delMultipleDel();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildForm();
    // Opens the name row for a new preset (empty `name`) or for renaming the preset of
    // `renameFile` that is called `name`; the name field takes the keys.
    void openCreateRow(const QString &name = QString());
    void setSelectMode(bool on);
    void placeEntries();
    // Emits usingSettings for the preset at `position`; false when there is none.
    bool emitPreset(int position);
    void retranslate();
    // Deletes the preset of entry `index` lying in `fileName`; false when it is still there.
    bool removePreset(const QString &fileName, int index);

    QList<PersettingJson> list;
    QButtonGroup *group = nullptr;
    QString renameFile;
    bool selectMode = false;
    int entryHeight = 50;
    int entryGap = 6;
    int leftMargin = 8;
    int rightMargin = 8;
    int entryWidth = 200;

    QWidget *frame = nullptr;
    QWidget *selectRow = nullptr;
    QPushButton *deleteBtn = nullptr;
    QPushButton *selectBtn = nullptr;
    QStackedWidget *stack = nullptr;
    QWidget *emptyPage = nullptr;
    QLabel *emptyText = nullptr;
    QWidget *listPage = nullptr;
    QScrollArea *scrollArea = nullptr;
    QWidget *persetContentWidget = nullptr;
    QWidget *createRow = nullptr;
    QLabel *createLabel = nullptr;
    ClearLineEdit *nameEdit = nullptr;
    QPushButton *complete = nullptr;
    QPushButton *addBtn = nullptr;
};
