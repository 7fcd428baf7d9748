// SPDX-License-Identifier: GPL-3.0-or-later
// The layer table of src/layers.txt and the check of a source tree's includes against it.
#include "layerrules.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

LayerRules LayerRules::parse(const QString &text, QString *error)
{
    LayerRules result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).simplified();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(QLatin1Char(' '));
        // folder, then folders up to the first capitalised Qt module or "*".
        int qtStart = words.size();
        for (int w = words.size() - 1; w >= 2; --w) {
            if (words[w] == QLatin1String("*") || words[w].at(0).isUpper())
                qtStart = w;
            else
                break;
        }
        if (words.size() < 3 || qtStart == words.size()) {
            *error = QStringLiteral("line %1: expected \"folder  may-include...  Qt-modules...\"")
                         .arg(i + 1);
            return result;
        }
        LayerRule rule;
        rule.folder = words[0];
        for (const QString &w : words.mid(1, qtStart - 1)) {
            if (w == QLatin1String("*"))
                rule.anyFolder = true;
            else if (w != QLatin1String("-"))
                rule.mayInclude << w;
        }
        for (const QString &w : words.mid(qtStart)) {
            if (w == QLatin1String("*"))
                rule.anyQt = true;
            else
                rule.qtModules << w;
        }
        result.rules.insert(rule.folder, rule);
        result.order << rule.folder;
    }
    return result;
}

const LayerRule *LayerRules::rule(const QString &folder) const
{
    const auto it = rules.constFind(folder);
    return it == rules.constEnd() ? nullptr : &*it;
}

QString folderOf(const QString &relativePath)
{
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    if (parts.size() >= 3 && parts[0] == QLatin1String("src"))
        return parts[1];
    if (parts.size() >= 3 && parts[0] == QLatin1String("tools"))
        return parts[0] + QLatin1Char('/') + parts[1];
    if (parts.size() >= 2 && parts[0] == QLatin1String("bench"))
        return parts[0];
    return QString();
}

namespace
{

const QStringList sourceRoots = {QStringLiteral("src"), QStringLiteral("tools"),
                                 QStringLiteral("bench")};

// Where a quoted include resolves beside the including file, where the compiler
// looks first, or empty.
QString resolveBeside(const QDir &root, const QString &fromFile, const QString &name)
{
    const QString beside = QDir::cleanPath(QFileInfo(fromFile).path() + QLatin1Char('/') + name);
    return QFileInfo::exists(root.filePath(beside)) ? beside : QString();
}

// Where a quoted include resolves in the include folders (src/, the emulator's).
QString resolveOnRoots(const QDir &root, const QString &name)
{
    for (const char *folder : {"src/", "tools/loggersim/"}) {
        const QString candidate = QDir::cleanPath(QLatin1String(folder) + name);
        if (QFileInfo::exists(root.filePath(candidate)))
            return candidate;
    }
    return QString(); // generated (moc output) or missing: the build reports those
}

// The layer table's name for a Qt module. Qt 6 moved the text codecs and the
// state machine out of QtCore into modules of their own; they still need
// nothing beyond QtCore, so they count as Core on either Qt version.
QString layerModule(const QString &module)
{
    if (module == QLatin1String("Core5Compat") || module == QLatin1String("StateMachine"))
        return QStringLiteral("Core");
    return module;
}

// The Qt module ("Core", "Widgets") that provides header `name`, or empty when
// it is no Qt header.
QString qtModuleOf(const QString &name, const QString &qtHeaders, const QStringList &moduleDirs)
{
    const int slash = name.indexOf(QLatin1Char('/'));
    if (slash > 0 && name.startsWith(QLatin1String("Qt")))
        return layerModule(name.left(slash).mid(2));
    if (!name.startsWith(QLatin1Char('Q')))
        return QString();
    for (const QString &dir : moduleDirs) {
        if (QFileInfo::exists(qtHeaders + QLatin1Char('/') + dir + QLatin1Char('/') + name))
            return layerModule(dir.mid(2));
    }
    return QString();
}

} // namespace

QStringList checkIncludes(const QString &rootPath, const LayerRules &rules,
                          const QString &qtHeaders)
{
    static const QRegularExpression includeLine(
        QStringLiteral("^\\s*#\\s*include\\s*([<\"])([^>\"]+)[>\"]"));
    const QDir root(rootPath);
    const QStringList moduleDirs =
        QDir(qtHeaders).entryList({QStringLiteral("Qt*")}, QDir::Dirs, QDir::Name);
    QStringList problems;
    QSet<QString> seenFolders;

    QStringList files;
    for (const QString &top : sourceRoots) {
        QDirIterator it(root.filePath(top), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << root.relativeFilePath(it.next());
    }
    files.sort();

    for (const QString &file : files) {
        const QString folder = folderOf(file);
        if (folder.isEmpty())
            continue;
        const LayerRule *rule = rules.rule(folder);
        if (!rule) {
            if (!seenFolders.contains(folder))
                problems << QStringLiteral("%1: folder %2 has no row in the layer table")
                                .arg(file, folder);
            seenFolders.insert(folder);
            continue;
        }
        seenFolders.insert(folder);
        QFile source(root.filePath(file));
        if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
            problems << QStringLiteral("%1: cannot be read").arg(file);
            continue;
        }
        QTextStream in(&source);
        for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
            const QRegularExpressionMatch m = includeLine.match(in.readLine());
            if (!m.hasMatch())
                continue;
            const QString name = m.captured(2);
            const QString where = QStringLiteral("%1:%2: ").arg(file).arg(lineNumber);
            if (m.captured(1) == QLatin1String("<")) {
                const QString module = qtModuleOf(name, qtHeaders, moduleDirs);
                if (!module.isEmpty() && !rule->anyQt && !rule->qtModules.contains(module))
                    problems << where + QStringLiteral("<%1> is from Qt %2, which %3 may not use")
                                            .arg(name, module, folder);
                continue;
            }
            // A source file builds in its folder's library, whose include roots
            // find only what the row allows, so the build refuses those includes.
            // A header builds with the roots of whatever includes it, and a path
            // beside the file ("../device/d.h") passes every root: both are
            // checked here.
            QString resolved = resolveBeside(root, file, name);
            if (resolved.isEmpty() && file.endsWith(QLatin1String(".h")))
                resolved = resolveOnRoots(root, name);
            const QString target = folderOf(resolved);
            if (target.isEmpty() || target == folder || rule->anyFolder ||
                rule->mayInclude.contains(target))
                continue;
            problems << where + QStringLiteral("\"%1\" is in %2, which %3 may not include")
                                    .arg(name, target, folder);
        }
    }
    for (const QString &folder : rules.folders()) {
        if (!seenFolders.contains(folder))
            problems << QStringLiteral("src/layers.txt: folder %1 does not exist").arg(folder);
    }
    return problems;
}

QStringList checkReadmes(const QString &rootPath, const LayerRules &rules)
{
    static const QRegularExpression folderName(QStringLiteral("`([a-z]+)/`"));
    QStringList problems;
    for (const QString &folder : rules.folders()) {
        if (folder.contains(QLatin1Char('/')) || folder == QLatin1String("bench"))
            continue;
        const QString path = QStringLiteral("src/%1/README.md").arg(folder);
        QFile readme(QDir(rootPath).filePath(path));
        if (!readme.open(QIODevice::ReadOnly | QIODevice::Text)) {
            problems << path + QStringLiteral(": missing");
            continue;
        }
        // The sentence runs from "May include" to the next full stop or semicolon.
        const QString text = QString::fromUtf8(readme.readAll()).simplified();
        const int start = text.indexOf(QLatin1String("May include"));
        if (start < 0) {
            problems << path + QStringLiteral(": no \"May include\" sentence");
            continue;
        }
        const QString sentence =
            text.mid(start).section(QRegularExpression(QStringLiteral("[.;]")), 0, 0);
        QStringList named;
        for (auto it = folderName.globalMatch(sentence); it.hasNext();)
            named << it.next().captured(1);
        const LayerRule *rule = rules.rule(folder);
        QStringList expected = rule->mayInclude;
        named.sort();
        expected.sort();
        const bool agrees = rule->anyFolder ? sentence.contains(QLatin1String("any folder"))
                            : expected.isEmpty()
                                ? sentence.contains(QLatin1String("nothing of ours"))
                                : named == expected;
        if (!agrees)
            problems << path + QStringLiteral(": \"%1\" disagrees with the layer table (%2)")
                                   .arg(sentence, rule->anyFolder
                                                      ? QStringLiteral("*")
                                                      : expected.join(QLatin1Char(' ')));
    }
    return problems;
}
