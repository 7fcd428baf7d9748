// SPDX-License-Identifier: GPL-3.0-or-later
// EvaluationEditor: the summary page's row where the range and activation energy of the
// evaluation are chosen for the shown logger.
#pragma once

#include "recording/loadedrecording.h"

#include <QWidget>
#include <optional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// Shows the evaluation in force (the logger's level-1 limits or a choice) in
// the recording's unit; Apply hands a choice on in °C, the reset button hands
// on none, which means the logger's own limits again.
class EvaluationEditor : public QWidget
{
    Q_OBJECT
public:
    explicit EvaluationEditor(QWidget *parent = nullptr);

    // The range and energy in force, °C and kJ/mol, shown in `tempUnit`; a
    // missing limit keeps the value shown before. `chosen` tells a choice from
    // the logger's own limits.
    void showEvaluation(std::optional<double> low, std::optional<double> high,
                        double activationEnergyKJ, int tempUnit, bool chosen);
    // Its name, which the page aligns with the names of its other rows.
    QLabel *nameLabel() const { return name; }

protected:
    void changeEvent(QEvent *event) override;

signals:
    // Apply with low < high; std::nullopt for the logger's limits.
    void evaluationChosen(const std::optional<ChosenEvaluation> &evaluation);

private:
    void retranslate();
    void apply();

    QLabel *name;
    QDoubleSpinBox *low;
    QDoubleSpinBox *high;
    QDoubleSpinBox *energy;
    QPushButton *applyButton;
    QPushButton *resetButton;
    QLabel *note;
    int unit = 0;
    bool isChosen = false;
};
