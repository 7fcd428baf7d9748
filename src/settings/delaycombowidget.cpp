// SPDX-License-Identifier: GPL-3.0-or-later
// DelayComboWidget: the hour, minute and second combos shared by the delay pickers.
#include "settings/delaycombowidget.h"

#include "widgets/combobox.h"

#include <QSignalBlocker>

const char *const DelayComboWidget::comboStyle =
    "QComboBox {\n    border: none;\n    border-radius: 3px;\n    padding: 2px 1px 1px 3px;\n"
    "\tbackground-color: #F6F7FC;\n}\nQComboBox::drop-down {\n    subcontrol-origin: padding;\n"
    "    subcontrol-position: top right;\n    width: 40px;\n    border-top-right-radius: 3px;\n"
    "    border-bottom-right-radius: 3px;\n}\nQComboBox::down-arrow {\n"
    "\tborder-image: url(:/img/ic_downArrow.png);\n}\nQComboBox QAbstractItemView {\n"
    "    selection-background-color: lightgray;\n    selection-color: rgb(32, 33, 36);\n}\nQComboBox QAbstractItemView::item { \t\n"
    "\tmin-height: 30px;\n}";

namespace
{

constexpr int comboWidth = 90;
constexpr int comboHeight = 30;
constexpr int comboGap = 10;

ComboBox *makeCombo(QWidget *parent, const char *name, int index)
{
    auto *combo = new ComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setStyleSheet(QLatin1String(DelayComboWidget::comboStyle));
    combo->setGeometry(index * (comboWidth + comboGap), 0, comboWidth, comboHeight);
    return combo;
}

QList<int> currentValues(const QComboBox *combo)
{
    QList<int> values;
    for (int i = 0; i < combo->count(); ++i)
        values.append(combo->itemData(i).toInt());
    return values;
}

// Gives `combo` the items of `values` (texts in `format`) unless it holds them
// already, then selects `wanted`, or the first item when the list lacks it.
// Returns the selected value.
int fillCombo(QComboBox *combo, const QList<int> &values, const char *format, int wanted)
{
    const QSignalBlocker blocker(combo);
    if (currentValues(combo) != values) {
        combo->clear();
        for (int v : values)
            combo->addItem(QString::asprintf(format, v), v);
    }
    const int index = qMax(0, values.indexOf(wanted));
    combo->setCurrentIndex(index);
    return values.value(index);
}

} // namespace

DelayComboWidget::DelayComboWidget(int topHour, bool seconds, bool from10, QWidget *parent)
    : QWidget(parent), topHourValue(topHour), secondsFrom10(from10), withSeconds(seconds)
{
    timeH = makeCombo(this, "timeH", 0);
    timeM = makeCombo(this, "timeM", 1);
    QList<int> hourList;
    for (int h = 0; h <= topHour; ++h)
        hourList.append(h);
    fillCombo(timeH, hourList, "%02dh", 0);
    if (withSeconds)
        timeS = makeCombo(this, "timeS", 2);
    rebuildLowerLists();
    const int combos = withSeconds ? 3 : 2;
    setFixedSize(combos * comboWidth + (combos - 1) * comboGap, comboHeight);

    connect(timeH, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &DelayComboWidget::on_timeH_currentIndexChanged);
    connect(timeM, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &DelayComboWidget::on_timeM_currentIndexChanged);
    if (timeS)
        connect(timeS, qOverload<int>(&QComboBox::currentIndexChanged), this,
                &DelayComboWidget::on_timeS_currentIndexChanged);
}

QList<int> DelayComboWidget::minuteValues(int h, int topHour)
{
    if (h >= topHour)
        return {0};
    QList<int> values;
    for (int m = 0; m < 60; ++m)
        values.append(m);
    return values;
}

QList<int> DelayComboWidget::secondValues(int h, int m, int topHour, bool from10)
{
    if (h >= topHour)
        return {0};
    QList<int> values;
    for (int s = (from10 && h == 0 && m == 0) ? 10 : 0; s < 60; s += 5)
        values.append(s);
    return values;
}

void DelayComboWidget::on_timeH_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    hourValue = timeH->itemData(index).toInt();
    rebuildLowerLists();
    emitValue();
}

void DelayComboWidget::on_timeM_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    minuteValue = timeM->itemData(index).toInt();
    rebuildLowerLists();
    emitValue();
}

void DelayComboWidget::on_timeS_currentIndexChanged(int index)
{
    if (index < 0 || !timeS)
        return;
    secondValue = timeS->itemData(index).toInt();
    emitValue();
}

void DelayComboWidget::showTime(int h, int m, int s, int value)
{
    {
        const QSignalBlocker blocker(timeH);
        timeH->setCurrentIndex(qMax(0, timeH->findData(h)));
    }
    hourValue = timeH->currentData().toInt();
    minuteValue = m;
    secondValue = s;
    rebuildLowerLists();
    emit updateDelayTime(value);
}

int DelayComboWidget::value() const
{
    if (withSeconds)
        return hourValue * 3600 + minuteValue * 60 + secondValue;
    return hourValue * 60 + minuteValue;
}

void DelayComboWidget::rebuildLowerLists()
{
    minuteValue = fillCombo(timeM, minuteValues(hourValue, topHourValue), "%02dm", minuteValue);
    if (timeS)
        secondValue =
            fillCombo(timeS, secondValues(hourValue, minuteValue, topHourValue, secondsFrom10),
                      "%02ds", secondValue);
    else
        secondValue = 0;
}

void DelayComboWidget::emitValue()
{
    emit updateDelayTime(value());
}
