// SPDX-License-Identifier: GPL-3.0-or-later
// The one-way layers: what the build cannot refuse of src/layers.txt (Qt modules, includes in
// headers and by a path beside the file), and the docs that repeat the table. The include roots of
// each folder's library, which refuse the rest, are checked by the layer_include_roots test.
#include "layerrules.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TstLayers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void treeKeepsTheLayers();
    void folderReadmesRepeatTheTable();
    void readmeFolderTableMatchesTheTree();
    void forbiddenIncludesAreNamedWithFileAndLine();

private:
    static QString read(const QString &path);
    static void write(const QDir &root, const QString &path, const QByteArray &content);

    LayerRules rules;
};

QString TstLayers::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

void TstLayers::write(const QDir &root, const QString &path, const QByteArray &content)
{
    QVERIFY(root.mkpath(QFileInfo(path).path()));
    QFile file(root.filePath(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void TstLayers::initTestCase()
{
    QString error;
    rules = LayerRules::parse(read(HYGRA_SOURCE_DIR "/src/layers.txt"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(rules.rule(QStringLiteral("core")));
    QVERIFY(rules.rule(QStringLiteral("core"))->mayInclude.isEmpty());
    QVERIFY(QFileInfo(HYGRA_QT_HEADERS "/QtCore/QString").exists());
}

void TstLayers::treeKeepsTheLayers()
{
    const QStringList problems = checkIncludes(HYGRA_SOURCE_DIR, rules, HYGRA_QT_HEADERS);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TstLayers::folderReadmesRepeatTheTable()
{
    const QStringList problems = checkReadmes(HYGRA_SOURCE_DIR, rules);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TstLayers::readmeFolderTableMatchesTheTree()
{
    const QString readme = read(HYGRA_SOURCE_DIR "/README.md");
    QStringList listed;
    static const QRegularExpression row(QStringLiteral("^\\| `src/([a-z]+)` \\|"),
                                        QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(readme); it.hasNext();)
        listed << it.next().captured(1);
    QStringList folders =
        QDir(HYGRA_SOURCE_DIR "/src").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    listed.sort();
    folders.sort();
    QCOMPARE(listed, folders);
}

// A small tree with one allowed and several forbidden includes of each kind. A source file's
// include of another folder through the include roots is the build's to refuse, not reported.
void TstLayers::forbiddenIncludesAreNamedWithFileAndLine()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    QString error;
    const LayerRules small = LayerRules::parse(QStringLiteral("core - Core\n"
                                                              "device core Core\n"
                                                              "tools/sim device Core\n"
                                                              "ghost - *\n"),
                                               &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    write(root, "src/core/a.h", "#include <QString>\n#include <vector>\n");
    write(root, "src/core/b.cpp",
          "#include \"core/a.h\"\n"
          "#include \"device/d.h\"\n"
          "  #  include <QWidget>\n"
          "#include <QtGui/QColor>\n"
          "#include \"../device/d.h\"\n"
          "#include \"b.moc\"\n");
    write(root, "src/core/c.h", "#pragma once\n#include \"device/d.h\"\n");
    write(root, "src/device/d.h", "#include \"core/a.h\"\n");
    write(root, "src/widgets/w.h", "#include <QWidget>\n");
    write(root, "tools/sim/s.cpp", "#include \"device/d.h\"\n#include \"core/a.h\"\n");
    write(root, "tools/sim/s.h", "#include \"core/a.h\"\n");

    const QStringList expected = {
        "src/core/b.cpp:3: <QWidget> is from Qt Widgets, which core may not use",
        "src/core/b.cpp:4: <QtGui/QColor> is from Qt Gui, which core may not use",
        "src/core/b.cpp:5: \"../device/d.h\" is in device, which core may not include",
        "src/core/c.h:2: \"device/d.h\" is in device, which core may not include",
        "src/widgets/w.h: folder widgets has no row in the layer table",
        "tools/sim/s.h:1: \"core/a.h\" is in core, which tools/sim may not include",
        "src/layers.txt: folder ghost does not exist",
    };
    QCOMPARE(checkIncludes(dir.path(), small, HYGRA_QT_HEADERS), expected);

    LayerRules::parse(QStringLiteral("core\n"), &error);
    QVERIFY(!error.isEmpty());
}

QTEST_APPLESS_MAIN(TstLayers)
#include "tst_layers.moc"
