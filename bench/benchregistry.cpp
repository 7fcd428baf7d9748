// SPDX-License-Identifier: GPL-3.0-or-later
// The list of registered figure groups and the printing of their figures.
#include "benchregistry.h"

#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <map>

namespace
{
std::map<QString, FigureGroup> &groups()
{
    static std::map<QString, FigureGroup> all;
    return all;
}
} // namespace

bool registerFigureGroup(const char *name, FigureGroup group)
{
    groups()[QString::fromLatin1(name)] = group;
    return true;
}

void runFigureGroups(const QStringList &only)
{
    QTextStream out(stdout);
    const FigurePrinter print = [&out](const QString &name, double value, const QString &unit) {
        out << name << ' ' << QString::number(value, 'f', 1) << ' ' << unit << Qt::endl;
    };
    for (const auto &entry : groups()) {
        if (only.isEmpty() || only.contains(entry.first))
            entry.second(print);
    }
}

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
