// SPDX-License-Identifier: GPL-3.0-or-later
// Tests that every image the program names is compiled in and loads, that Chinese text has a font,
// and that the help documents hold the text of their Markdown sources.
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QtTest>

namespace
{

const QString sourceDir = QStringLiteral(HYGRA_SOURCE_DIR);
const QString outputDir = QStringLiteral(HYGRA_OUTPUT_DIR);

// Every ":/img/..." path written anywhere in the sources, with the file naming it.
QMap<QString, QString> imagesNamedInSources()
{
    static const QRegularExpression path(QStringLiteral(":/img/[A-Za-z0-9_.-]+"));
    QMap<QString, QString> found;
    QDirIterator it(sourceDir + QStringLiteral("/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = path.globalMatch(text); match.hasNext();)
            found.insert(match.next().captured(), file.fileName().mid(sourceDir.size() + 1));
    }
    return found;
}

// The aliases and file names listed in resources.qrc.
QList<QPair<QString, QString>> resourceEntries()
{
    static const QRegularExpression entry(
        QStringLiteral("<file alias=\"([^\"]+)\">([^<]+)</file>"));
    QFile qrc(sourceDir + QStringLiteral("/resources/resources.qrc"));
    QList<QPair<QString, QString>> entries;
    if (!qrc.open(QIODevice::ReadOnly))
        return entries;
    const QString text = QString::fromUtf8(qrc.readAll());
    for (auto match = entry.globalMatch(text); match.hasNext();) {
        const auto m = match.next();
        entries.append({m.captured(1), m.captured(2)});
    }
    return entries;
}

bool loads(const QString &path)
{
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return QSvgRenderer(path).isValid();
    return !QImage(path).isNull() && !QIcon(path).pixmap(16, 16).isNull();
}

// The text in drawing order: the lines of a table cell stay together and a
// hyphen at a line's end stays, which the default reading order does not keep.
QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                                QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The words of `source` that `extracted` lacks. Latin words and numbers count
// as words; a run of Chinese characters between punctuation must occur once
// whitespace is gone from both sides, since the pages break lines inside such
// runs; a table row that runs onto the next page puts the other column's lines
// inside a run, which may therefore occur in two pieces. Markup characters,
// table rules and link targets are not words.
QStringList missingWords(QString source, const QString &extracted)
{
    static const QRegularExpression linkTarget(QStringLiteral("\\]\\([^)]*\\)"));
    static const QRegularExpression latinWord(QStringLiteral("[\\p{Latin}\\d]+"));
    static const QRegularExpression chineseRun(QStringLiteral("[^\\P{Han}\\p{P}]+"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    source.replace(linkTarget, QStringLiteral("]"));
    QSet<QString> extractedWords;
    for (auto match = latinWord.globalMatch(extracted); match.hasNext();)
        extractedWords.insert(match.next().captured());
    const QString joined = QString(extracted).remove(space);
    QStringList missing;
    for (auto match = latinWord.globalMatch(source); match.hasNext();) {
        const QString word = match.next().captured();
        if (!extractedWords.contains(word))
            missing << word;
    }
    const auto occurs = [&joined](const QString &run) {
        if (joined.contains(run))
            return true;
        for (int split = 1; split < run.size(); ++split) {
            if (joined.contains(run.left(split)) && joined.contains(run.mid(split)))
                return true;
        }
        return false;
    };
    for (auto match = chineseRun.globalMatch(source); match.hasNext();) {
        const QString run = match.next().captured();
        if (!occurs(run))
            missing << run;
    }
    missing.removeDuplicates();
    return missing;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void imagesNamedInSourcesLoad();
    void resourceListIsComplete();
    void chineseTextHasAFont();
    void helpDocuments_data();
    void helpDocuments();
};

void TestResources::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

// A path the code names but the resources lack draws nothing, silently.
void TestResources::imagesNamedInSourcesLoad()
{
    const auto images = imagesNamedInSources();
    QVERIFY(images.size() > 30);
    QStringList broken;
    for (auto it = images.cbegin(); it != images.cend(); ++it)
        if (!loads(it.key()))
            broken << it.key() + QStringLiteral(" (") + it.value() + QLatin1Char(')');
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
}

// Every entry of resources.qrc loads under its alias, and every image file in
// resources/img is listed, so none is shipped unused or forgotten.
void TestResources::resourceListIsComplete()
{
    const auto entries = resourceEntries();
    QVERIFY(!entries.isEmpty());
    QSet<QString> listed;
    for (const auto &entry : entries) {
        QVERIFY2(loads(QStringLiteral(":/img/") + entry.first), qPrintable(entry.first));
        listed.insert(entry.second);
    }
    QDirIterator it(sourceDir + QStringLiteral("/resources/img"), QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString file = QStringLiteral("img/") + it.fileName();
        QVERIFY2(listed.contains(file),
                 qPrintable(file + QStringLiteral(" is not in resources.qrc")));
    }
}

// The program asks for its bundled family first and falls back to the CJK
// fonts of the system; one of them must draw every character of a Chinese text.
void TestResources::chineseTextHasAFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("思源黑体 CN"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("sans-serif")});
    font.setPointSize(10);
    const QFontMetrics metrics(font);
    const QString text = QStringLiteral("温度湿度记录报告设备名称报警设置及结果℃");
    for (const QChar c : text)
        QVERIFY2(metrics.inFont(c), qPrintable(QString(c) + QStringLiteral(" has no glyph in ") +
                                               QFontInfo(font).family()));
    QVERIFY(!QFontDatabase().families(QFontDatabase::SimplifiedChinese).isEmpty());
}

void TestResources::helpDocuments_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("English") << "help.pdf"
                             << "help_en.md"
                             << "Device permissions on Linux";
    QTest::newRow("Chinese") << "help_zh.pdf"
                             << "help_zh.md"
                             << "连接";
}

// The help menu opens these beside the program; their text must be real text
// (not missing glyphs), so it can be searched and copied: every word of the
// Markdown source must come back out of the text layer.
void TestResources::helpDocuments()
{
    QFETCH(QString, file);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    const QString path = outputDir + QLatin1Char('/') + file;
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext (poppler-utils) is missing");
    const QString text = pdfText(path);
    QVERIFY2(text.contains(expected), qPrintable(text.left(400)));
    QFile markdown(sourceDir + QStringLiteral("/docs/help/") + source);
    QVERIFY2(markdown.open(QIODevice::ReadOnly), qPrintable(markdown.fileName()));
    const QStringList missing = missingWords(QString::fromUtf8(markdown.readAll()), text);
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing from the text layer: ") +
                                           missing.join(QLatin1Char(' '))));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
