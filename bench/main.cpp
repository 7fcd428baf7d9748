// SPDX-License-Identifier: GPL-3.0-or-later
// hygra-bench: prints one line "name value unit" per figure; arguments choose figure groups.
#include "benchregistry.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The controller's debug lines would mix with the figures.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QApplication app(argc, argv);
    QStringList only = app.arguments();
    only.removeFirst();
    runFigureGroups(only);
    return 0;
}
