// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/evaluationeditor.h"

#include "core/units.h"

#include <QDoubleSpinBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace
{
QDoubleSpinBox *spinBox(QWidget *parent, const char *objectName, double minimum, double maximum)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(objectName));
    box->setRange(minimum, maximum);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    // A wheel turned while the page scrolls must not change an evaluation.
    box->setFocusPolicy(Qt::StrongFocus);
    box->setFixedWidth(96);
    return box;
}
} // namespace

EvaluationEditor::EvaluationEditor(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(38);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    name = new QLabel(this);
    name->setFixedWidth(100);
    name->setStyleSheet(QStringLiteral("font-weight: 500;"));
    row->addWidget(name);
    row->addWidget(new QLabel(QStringLiteral(":"), this));
    low = spinBox(this, "evaluationLow", -200, 200);
    high = spinBox(this, "evaluationHigh", -200, 200);
    energy = spinBox(this, "evaluationEnergy", 1, 1000);
    energy->setSuffix(QStringLiteral(" kJ/mol"));
    energy->setDecimals(3);
    energy->setFixedWidth(130);
    row->addWidget(low);
    row->addWidget(new QLabel(QStringLiteral("–"), this));
    row->addWidget(high);
    row->addSpacing(12);
    row->addWidget(energy);
    applyButton = new QPushButton(this);
    applyButton->setObjectName(QStringLiteral("evaluationApply"));
    resetButton = new QPushButton(this);
    resetButton->setObjectName(QStringLiteral("evaluationReset"));
    row->addWidget(applyButton);
    row->addWidget(resetButton);
    note = new QLabel(this);
    note->setObjectName(QStringLiteral("evaluationNote"));
    note->setStyleSheet(QStringLiteral("color: rgb(120, 120, 124);"));
    // The page must not grow wider for the note.
    note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(note, 1);
    // A cold chain's usual range until a recording says otherwise.
    low->setValue(2);
    high->setValue(8);
    energy->setValue(83.144);
    connect(applyButton, &QPushButton::clicked, this, &EvaluationEditor::apply);
    connect(resetButton, &QPushButton::clicked, this,
            [this] { emit evaluationChosen(std::nullopt); });
    retranslate();
}

void EvaluationEditor::showEvaluation(std::optional<double> lowCelsius,
                                      std::optional<double> highCelsius,
                                      double activationEnergyKJ, int tempUnit, bool chosen)
{
    const double shownLow = toCelsius(low->value(), unit);
    const double shownHigh = toCelsius(high->value(), unit);
    unit = tempUnit;
    isChosen = chosen;
    const QString suffix = tempUnit == Fahrenheit ? QStringLiteral(" ℉") : QStringLiteral(" ℃");
    for (QDoubleSpinBox *box : {low, high}) {
        box->setSuffix(suffix);
        box->setRange(fromCelsius(-200, tempUnit), fromCelsius(200, tempUnit));
    }
    low->setValue(fromCelsius(lowCelsius.value_or(shownLow), tempUnit));
    high->setValue(fromCelsius(highCelsius.value_or(shownHigh), tempUnit));
    energy->setValue(activationEnergyKJ);
    resetButton->setEnabled(chosen);
    retranslate();
}

void EvaluationEditor::retranslate()
{
    name->setText(tr("评估设置"));
    applyButton->setText(tr("应用"));
    resetButton->setText(tr("用记录仪限值"));
    // The range line above says whether a choice is in force; the row explains.
    note->clear();
    setToolTip(isChosen ? tr("本记录仪的所有记录、报告和工作簿都按此评估")
                        : tr("按记录仪的一级限值 TL1、TH1 评估"));
}

void EvaluationEditor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void EvaluationEditor::apply()
{
    const double lowCelsius = toCelsius(low->value(), unit);
    const double highCelsius = toCelsius(high->value(), unit);
    if (!(lowCelsius < highCelsius)) {
        note->setText(tr("下限须低于上限"));
        return;
    }
    emit evaluationChosen(ChosenEvaluation{lowCelsius, highCelsius, energy->value()});
}
