// SPDX-License-Identifier: GPL-3.0-or-later
// Tests that the compliance matrix (docs/compliance.md) names at least one test for every clause it
// covers, and that every test it names is a test function of a suite that the build runs.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace
{

const QString sourceDir = QStringLiteral(HYGRA_SOURCE_DIR);

// The clauses the matrix must cover, each as its heading begins ("### " and the key).
const QStringList clauses = {QStringLiteral("§11.10(a)"),    QStringLiteral("§11.10(b)"),
                             QStringLiteral("§11.10(c)"),    QStringLiteral("§11.10(d)"),
                             QStringLiteral("§11.10(e)"),    QStringLiteral("§11.10(f)"),
                             QStringLiteral("§11.10(g)"),    QStringLiteral("§11.10(h)"),
                             QStringLiteral("§11.10(i)"),    QStringLiteral("§11.10(j)"),
                             QStringLiteral("§11.10(k)"),    QStringLiteral("§11.50"),
                             QStringLiteral("§11.70"),       QStringLiteral("§11.100"),
                             QStringLiteral("§11.200"),      QStringLiteral("§11.300"),
                             QStringLiteral("Annex 11 §4"),  QStringLiteral("Annex 11 §5"),
                             QStringLiteral("Annex 11 §6"),  QStringLiteral("Annex 11 §7"),
                             QStringLiteral("Annex 11 §8"),  QStringLiteral("Annex 11 §9"),
                             QStringLiteral("Annex 11 §10"), QStringLiteral("Annex 11 §12"),
                             QStringLiteral("Annex 11 §14"), QStringLiteral("Annex 11 §16"),
                             QStringLiteral("Annex 11 §17"), QStringLiteral("EN 12830:2018 5.3")};

const QRegularExpression testName(QStringLiteral("\\b(tst_[a-z0-9]+)::([A-Za-z0-9_]+)"));

// The test functions of one suite: the `void name();` lines of its private slots, without the
// data functions and the set-up and clean-up ones, which QtTest runs around the tests.
QSet<QString> testFunctions(const QString &source)
{
    static const QRegularExpression section(
        QStringLiteral("private slots:(.*?)(?=^\\s*(public|protected|private|signals)\\b|^};)"),
        QRegularExpression::MultilineOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression slot(QStringLiteral("^\\s*void\\s+(\\w+)\\(\\);"),
                                         QRegularExpression::MultilineOption);
    static const QSet<QString> notTests = {QStringLiteral("init"), QStringLiteral("cleanup"),
                                           QStringLiteral("initTestCase"),
                                           QStringLiteral("cleanupTestCase")};
    QSet<QString> found;
    for (auto s = section.globalMatch(source); s.hasNext();) {
        const QString declared = s.next().captured(1);
        for (auto m = slot.globalMatch(declared); m.hasNext();) {
            const QString name = m.next().captured(1);
            if (!name.endsWith(QLatin1String("_data")) && !notTests.contains(name))
                found.insert(name);
        }
    }
    return found;
}

// Every suite the build runs (registered with hygra_add_test beside its source), with its tests.
QMap<QString, QSet<QString>> suites()
{
    QMap<QString, QSet<QString>> found;
    QDirIterator it(sourceDir + QStringLiteral("/tests"), {QStringLiteral("tst_*.cpp")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        QFile source(file.filePath());
        QFile cmake(file.path() + QStringLiteral("/CMakeLists.txt"));
        if (!source.open(QIODevice::ReadOnly) || !cmake.open(QIODevice::ReadOnly))
            continue;
        const QString registered = QStringLiteral("hygra_add_test(") + file.baseName();
        const QString lists = QString::fromUtf8(cmake.readAll());
        if (lists.contains(registered + QLatin1Char(' ')) ||
            lists.contains(registered + QLatin1Char(')')))
            found.insert(file.baseName(), testFunctions(QString::fromUtf8(source.readAll())));
    }
    return found;
}

// What is wrong with `matrix`: each test it names that the suites lack, and each clause without a
// heading or without a test named between its heading and the next one.
QStringList problems(const QString &matrix, const QMap<QString, QSet<QString>> &tests)
{
    QStringList found;
    for (auto m = testName.globalMatch(matrix); m.hasNext();) {
        const auto match = m.next();
        if (!tests.value(match.captured(1)).contains(match.captured(2)))
            found << match.captured() + QStringLiteral(" is no test of the suites");
    }
    const QStringList lines = matrix.split(QLatin1Char('\n'));
    for (const QString &clause : clauses) {
        const QString heading = QStringLiteral("### ") + clause;
        int at = 0;
        while (at < lines.size() && lines[at] != heading &&
               !lines[at].startsWith(heading + QLatin1Char(' ')))
            ++at;
        if (at == lines.size()) {
            found << clause + QStringLiteral(" has no heading");
            continue;
        }
        bool named = false;
        for (int line = at + 1; line < lines.size() && !lines[line].startsWith(QLatin1Char('#'));
             ++line)
            named = named || testName.match(lines[line]).hasMatch();
        if (!named)
            found << clause + QStringLiteral(" names no test");
    }
    found.removeDuplicates();
    return found;
}

// A small matrix: every clause with the one test `named`, or `instead` for `clause`.
QString
matrixWith(const QString &clause, const QString &instead,
           const QString &named = QStringLiteral("tst_newfile::hiddenWhileWrittenThenNamed"))
{
    QString text = QStringLiteral("# Matrix\n\nIntro naming tst_<suite>::<function>.\n\n");
    for (const QString &c : clauses) {
        if (c == clause && instead.isNull())
            continue;
        text += QStringLiteral("### ") + c + QStringLiteral(" Some title\n\n| a | b |\n| ") +
                (c == clause ? instead : QLatin1Char('`') + named + QLatin1Char('`')) +
                QStringLiteral(" | Site |\n\n");
    }
    return text;
}

} // namespace

class TestComplianceDoc : public QObject
{
    Q_OBJECT

private slots:
    void matrixNamesExistingTestsForEveryClause();
    void faultsAreNamed_data();
    void faultsAreNamed();
};

void TestComplianceDoc::matrixNamesExistingTestsForEveryClause()
{
    QFile file(sourceDir + QStringLiteral("/docs/compliance.md"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QString matrix = QString::fromUtf8(file.readAll());
    const QStringList found = problems(matrix, suites());
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    QVERIFY(testName.globalMatch(matrix).hasNext());
}

void TestComplianceDoc::faultsAreNamed_data()
{
    QTest::addColumn<QString>("matrix");
    QTest::addColumn<QString>("expected");
    const QString nothing;
    QTest::newRow("whole") << matrixWith({}, {}) << nothing;
    QTest::newRow("unknown function")
        << matrixWith(QStringLiteral("§11.50"), QStringLiteral("tst_newfile::hiddenWhileWritten"))
        << "tst_newfile::hiddenWhileWritten is no test";
    QTest::newRow("unknown suite")
        << matrixWith(QStringLiteral("§11.70"), QStringLiteral("tst_newfiles::moveIntoAnother"))
        << "tst_newfiles::moveIntoAnother is no test";
    QTest::newRow("helper outside the slots")
        << matrixWith(QStringLiteral("Annex 11 §9"),
                      QStringLiteral("tst_archivewindow::fillArchive"))
        << "tst_archivewindow::fillArchive is no test";
    QTest::newRow("data function")
        << matrixWith(QStringLiteral("§11.10(k)"),
                      QStringLiteral("tst_resources::helpDocuments_data"))
        << "tst_resources::helpDocuments_data is no test";
    QTest::newRow("set-up function")
        << matrixWith(QStringLiteral("§11.10(k)"), QStringLiteral("tst_resources::initTestCase"))
        << "tst_resources::initTestCase is no test";
    QTest::newRow("clause without a test")
        << matrixWith(QStringLiteral("§11.100"), QStringLiteral("Not provided"))
        << "§11.100 names no test";
    QTest::newRow("last clause without a test")
        << matrixWith(QStringLiteral("EN 12830:2018 5.3"), QStringLiteral("Not provided"))
        << "EN 12830:2018 5.3 names no test";
    QTest::newRow("clause left out")
        << matrixWith(QStringLiteral("Annex 11 §10"), QString()) << "Annex 11 §10 has no heading";
}

// The check itself: a whole matrix passes, and each fault is named.
void TestComplianceDoc::faultsAreNamed()
{
    QFETCH(QString, matrix);
    QFETCH(QString, expected);
    const QStringList found = problems(matrix, suites());
    if (expected.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    else
        QVERIFY2(found.size() == 1 && found.first().startsWith(expected),
                 qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestComplianceDoc)
#include "tst_compliancedoc.moc"
