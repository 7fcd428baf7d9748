// SPDX-License-Identifier: GPL-3.0-or-later
// The layer table of src/layers.txt and the check of a source tree's includes against it.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

struct LayerRule {
    // "core" for src/core, "tools/loggersim", "bench".
    QString folder;
    // Folders of src/ it may include besides its own.
    QStringList mayInclude;
    bool anyFolder = false;
    // Qt modules without the "Qt" prefix: "Core", "Gui".
    QStringList qtModules;
    bool anyQt = false;
};

class LayerRules
{
public:
    // Reads the table; a malformed row leaves a message in `error`.
    static LayerRules parse(const QString &text, QString *error);

    const LayerRule *rule(const QString &folder) const;
    QStringList folders() const { return order; }

private:
    QHash<QString, LayerRule> rules;
    QStringList order;
};

// The folder a file of the tree belongs to ("core" for src/core/x.h,
// "tools/loggersim", "bench"), or empty for files outside every folder.
QString folderOf(const QString &relativePath);

// Checks every C++ source and header under src/, tools/ and bench/ of `root`
// for what the build cannot refuse: Qt headers of modules the folder may not
// use, and quoted includes of other folders from headers or by a path beside
// the file. Returns one "path:line: message" per include the rules do not
// allow, per folder without a rule, and per rule whose folder does not exist.
// `qtHeaders` is Qt's include folder (with QtCore/, QtGui/, ... below it).
QStringList checkIncludes(const QString &root, const LayerRules &rules, const QString &qtHeaders);

// Checks that the "May include" sentence of each src/<folder>/README.md names
// the same folders as the table.
QStringList checkReadmes(const QString &root, const LayerRules &rules);
