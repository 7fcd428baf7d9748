// SPDX-License-Identifier: GPL-3.0-or-later
// The figure groups of hygra-bench: each source file registers one group that prints its figures.
#pragma once

#include <QString>
#include <QVector>
#include <functional>

// Prints one line "name value unit".
using FigurePrinter = std::function<void(const QString &name, double value, const QString &unit)>;
using FigureGroup = void (*)(const FigurePrinter &print);

// Called from a static initialiser of the group's source file; groups run in the
// order of their names.
bool registerFigureGroup(const char *name, FigureGroup group);
// Runs the groups whose names are in `only` (all of them when it is empty).
void runFigureGroups(const QStringList &only);
double median(QVector<double> values);
