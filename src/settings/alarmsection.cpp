// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmSection: the eight alarm rows of the settings form and how they edit the working record.
#include "settings/alarmsection.h"

#include "core/units.h"
#include "settings/alarmrowwidget.h"
#include "settings/delaysetwidget.h"
#include "widgets/checkbutton.h"
#include "widgets/combobox.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>

AlarmSection::AlarmSection(const Rows &alarmRows, OneConfigCmdStruct *record, QObject *parent)
    : QObject(parent), rows(alarmRows), working(record), group(new QButtonGroup(this))
{
    group->setExclusive(false);
    for (int r = 0; r < AlarmRowCount; ++r) {
        AlarmRowWidget *w = row(r);
        group->addButton(w->checkBtn(), r);
        connect(w->typeCB(), qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, r](int index) {
                    AlarmRules::alert(*working, r).isAccumulate = index != 0;
                    emit changed();
                });
    }
    connect(group, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &AlarmSection::delCheckClicked);
}

void AlarmSection::load(const OneConfigCmdStruct &source)
{
    for (int r = 0; r < AlarmRowCount; ++r) {
        const AlertSetting &from = AlarmRules::alert(source, r);
        AlertSetting &to = AlarmRules::alert(*working, r);
        AlarmRowWidget *w = row(r);
        w->delayWidget()->setDelayTime(from.delayTime * intervalUnitSecs);
        to.isAccumulate = from.isAccumulate;
        to.alertValue = from.alertValue;
        w->typeCB()->setCurrentIndex(from.isAccumulate ? 1 : 0);
        if (!AlarmRules::isTemperature(r))
            w->showValue(from.alertValue / 10);
        switchRow(r, from.isOpen);
    }
}

void AlarmSection::applyUnit(int unit)
{
    shownUnit = unit;
    for (int r = Th3Row; r <= Tl3Row; ++r) {
        row(r)->setTemperatureUnit(unit);
        showValue(r);
    }
}

void AlarmSection::takeValue(int r)
{
    AlarmRowWidget *w = row(r);
    AlertSetting &setting = AlarmRules::alert(*working, r);
    if (AlarmRules::isTemperature(r)) {
        const double entered = AlarmRules::celsiusOf(w->spinBox()->value(), shownUnit);
        const double bounded = AlarmRules::boundedTemperature(*working, r, entered);
        if (bounded != entered) {
            w->showValue(AlarmRules::shownTemperature(AlarmRules::hundredths(bounded), shownUnit));
            emit clamped(clampText(r, bounded < entered));
        }
        setting.alertValue = AlarmRules::hundredths(bounded);
    } else {
        const double entered = w->spinBox()->value();
        const double bounded = AlarmRules::boundedHumidity(*working, r, entered);
        if (bounded != entered) {
            w->showValue(bounded);
            emit clamped(clampText(r, bounded < entered));
        }
        setting.alertValue = qRound(bounded * 10.0);
    }
    emit changed();
}

QString AlarmSection::clampText(int r, bool lowered) const
{
    // Thresholds run from the highest row down: the bound above a row is the row before it.
    const int neighbour = r == HhRow ? HlRow : r == HlRow ? HhRow : lowered ? r - 1 : r + 1;
    auto name = [](int row) { return QString::fromLatin1(AlarmRules::key(row)).toUpper(); };
    const QDoubleSpinBox *spin = row(r)->spinBox();
    const QString value = spin->cleanText() + spin->suffix();
    return (lowered ? tr("%1 不能高于 %2，已改为 %3") : tr("%1 不能低于 %2，已改为 %3"))
        .arg(name(r), name(neighbour), value);
}

void AlarmSection::setDelay(int r, int seconds)
{
    AlarmRules::alert(*working, r).delayTime = uint16_t(seconds / intervalUnitSecs);
    emit changed();
}

void AlarmSection::setHumidityRowsVisible(bool visible)
{
    row(HhRow)->setVisible(visible);
    row(HlRow)->setVisible(visible);
}

void AlarmSection::delCheckClicked(QAbstractButton *button)
{
    const int clicked = group->id(button);
    if (clicked < 0)
        return;
    const AlarmRules::OpenStates before = AlarmRules::openStates(*working);
    const AlarmRules::OpenStates after =
        AlarmRules::afterClick(before, clicked, button->isChecked());
    for (int r = 0; r < AlarmRowCount; ++r) {
        if (r == clicked || after[size_t(r)] != before[size_t(r)])
            switchRow(r, after[size_t(r)]);
    }
    emit changed();
}

void AlarmSection::switchRow(int r, bool on)
{
    AlarmRowWidget *w = row(r);
    w->setControlsEnabled(on);
    w->checkBtn()->setChecked(on);
    AlarmRules::alert(*working, r).isOpen = on;
    showValue(r);
}

void AlarmSection::showValue(int r)
{
    AlarmRowWidget *w = row(r);
    const AlertSetting &setting = AlarmRules::alert(*working, r);
    if (!setting.isOpen)
        w->showValue(AlarmRules::offValue(r, shownUnit));
    else if (AlarmRules::isTemperature(r))
        w->showValue(AlarmRules::shownTemperature(setting.alertValue, shownUnit));
    else
        w->showValue(setting.alertValue / 10);
}
