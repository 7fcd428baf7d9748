// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmRowWidget: one alarm threshold row with its switch, value, type and delay.
#include "settings/alarmrowwidget.h"

#include "config/alarmrules.h"
#include "core/units.h"
#include "core/utils.h"
#include "settings/delaysetwidget.h"
#include "widgets/checkbutton.h"
#include "widgets/combobox.h"

#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace
{

const char *const spinStyle =
    "QDoubleSpinBox{border:none;border-radius:3px;background-color:#F6F7FC;padding-left:6px;}"
    "QDoubleSpinBox:disabled{color:rgb(160, 160, 160);}";

// The type combo box: its arrow takes 40 px of the combo style, the text's
// padding a few more.
constexpr int typeMinimumWidth = 100;
constexpr int typeArrowWidth = 40;
constexpr int typeTextMargin = 12;

QString rowObjectName(int row, const char *part)
{
    return QLatin1String(AlarmRules::key(row)) + QLatin1String(part);
}

} // namespace

AlarmRowWidget::AlarmRowWidget(int row, QWidget *parent) : QWidget(parent), rowIndex(row)
{
    setObjectName(rowObjectName(row, "Widget"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(10);

    check = new CheckButton(this);
    check->setObjectName(rowObjectName(row, "CheckBtn"));
    check->setCheckable(true);
    check->setFixedSize(30, 30);
    layout->addWidget(check);

    name = new QLabel(QString::fromLatin1(AlarmRules::key(row)).toUpper(), this);
    name->setObjectName(rowObjectName(row, "Name"));
    name->setFixedWidth(40);
    layout->addWidget(name);

    spin = new QDoubleSpinBox(this);
    spin->setObjectName(rowObjectName(row, "SpinBox"));
    spin->setFixedSize(130, 30);
    spin->setStyleSheet(QLatin1String(spinStyle));
    spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    spin->setKeyboardTracking(false);
    spin->setPrefix(AlarmRules::isHigh(row) ? QStringLiteral("≥") : QStringLiteral("≤"));
    if (AlarmRules::isTemperature(row)) {
        spin->setDecimals(1);
        setTemperatureUnit(0);
    } else {
        spin->setDecimals(0);
        spin->setRange(0, 100);
        spin->setSuffix(QStringLiteral("%RH"));
    }
    layout->addWidget(spin);

    type = new ComboBox(this);
    type->setObjectName(rowObjectName(row, "TypeCB"));
    type->setFixedSize(typeMinimumWidth, 30);
    type->setStyleSheet(QLatin1String(DelayComboWidget::comboStyle));
    type->addItem(QString());
    type->addItem(QString());
    layout->addWidget(type);

    delay = new DelaySetWidget(this);
    delay->setObjectName(rowObjectName(row, "DelayWidget"));
    layout->addWidget(delay);
    layout->addStretch(1);
    retranslate();
}

void AlarmRowWidget::setControlsEnabled(bool on)
{
    spin->setEnabled(on);
    type->setEnabled(on);
    delay->setEnabled(on);
}

void AlarmRowWidget::setTemperatureUnit(int unit)
{
    if (!AlarmRules::isTemperature(rowIndex))
        return;
    const QSignalBlocker blocker(spin);
    spin->setRange(-40, unit == Fahrenheit ? 185 : 85);
    spin->setSuffix(temperatureUnitSymbol(unit));
}

void AlarmRowWidget::showValue(double value)
{
    const QSignalBlocker blocker(spin);
    spin->setValue(value);
}

void AlarmRowWidget::retranslate()
{
    type->setItemText(0, tr("单一"));
    type->setItemText(1, tr("累计"));
    // Wide enough for the longer choice beside the arrow ("Cumulative").
    const QFontMetrics metrics = type->fontMetrics();
    const int text = qMax(metrics.horizontalAdvance(type->itemText(0)),
                          metrics.horizontalAdvance(type->itemText(1)));
    type->setFixedWidth(qMax(typeMinimumWidth, text + typeArrowWidth + typeTextMargin));
}
