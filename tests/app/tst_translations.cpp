// SPDX-License-Identifier: GPL-3.0-or-later
// Tests that the translation catalogues cover every text of the program and that the notices match
// the user guide.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace
{

const QString sourceDir = QStringLiteral(HYGRA_SOURCE_DIR);
const QString outputDir = QStringLiteral(HYGRA_OUTPUT_DIR);

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; // "", "unfinished", "vanished" or "obsolete"
};

QVector<Message> readCatalogue(const QString &path)
{
    QVector<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message{context, {}, {}, {}};
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            current.translation = xml.readElementText();
            messages.append(current);
        }
    }
    return xml.hasError() ? QVector<Message>() : messages;
}

QString keyOf(const Message &m)
{
    return m.context + QLatin1Char('\x1f') + m.source;
}

QHash<QString, Message> liveMessages(const QVector<Message> &messages)
{
    QHash<QString, Message> live;
    for (const Message &m : messages)
        if (m.type != QLatin1String("vanished") && m.type != QLatin1String("obsolete"))
            live.insert(keyOf(m), m);
    return live;
}

QString catalogue(const char *language)
{
    return sourceDir + QStringLiteral("/translations/main_%1.ts").arg(QLatin1String(language));
}

// Markers of the Chinese script, which an English text must not keep.
bool hasHan(const QString &text)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return han.match(text).hasMatch();
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void catalogues_data();
    void catalogues();
    void sourcesAreAllInTheCatalogues();
    void englishTextsKeepPlaceholdersLinesAndMnemonics();
    void compiledCatalogues_data();
    void compiledCatalogues();
    void noticesMatchTheUserGuide_data();
    void noticesMatchTheUserGuide();
};

void TestTranslations::catalogues_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("en");
    QTest::newRow("Chinese") << QStringLiteral("zh");
}

// Every live message is finished; English ones hold English text, Chinese ones
// repeat their source.
void TestTranslations::catalogues()
{
    QFETCH(QString, language);
    const auto messages = readCatalogue(catalogue(language.toLatin1().constData()));
    QVERIFY2(!messages.isEmpty(), "catalogue missing, empty or not well-formed");
    int live = 0;
    for (const Message &m : messages) {
        if (m.type == QLatin1String("vanished") || m.type == QLatin1String("obsolete"))
            continue;
        ++live;
        const QString where = m.context + QStringLiteral(": ") + m.source;
        QVERIFY2(m.type.isEmpty(), qPrintable(QStringLiteral("unfinished: ") + where));
        QVERIFY2(!m.translation.trimmed().isEmpty(), qPrintable(QStringLiteral("empty: ") + where));
        if (language == QLatin1String("zh"))
            QCOMPARE(m.translation, m.source);
        else
            QVERIFY2(!hasHan(m.translation), qPrintable(QStringLiteral("untranslated: ") + where));
    }
    QVERIFY(live > 100);
}

// lupdate over today's sources must find nothing the catalogues lack.
void TestTranslations::sourcesAreAllInTheCatalogues()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString scanned = dir.filePath(QStringLiteral("scan.ts"));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(HYGRA_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-recursive"), sourceDir + QStringLiteral("/src"),
                   QStringLiteral("-ts"), scanned});
    QVERIFY2(lupdate.waitForFinished(60000), "lupdate did not finish");
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

    const auto found = readCatalogue(scanned);
    QVERIFY(found.size() > 100);
    const auto english = liveMessages(readCatalogue(catalogue("en")));
    const auto chinese = liveMessages(readCatalogue(catalogue("zh")));
    QStringList missing;
    for (const Message &m : found)
        if (!english.contains(keyOf(m)) || !chinese.contains(keyOf(m)))
            missing << m.context + QStringLiteral(": ") + m.source;
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("run the update_translations target and translate:\n") +
                        missing.join(QLatin1Char('\n'))));
}

// A lost %1 drops the model name from a notice, a lost line break makes the
// two-line erase warning overflow its dialog, and a new "&" turns the next letter
// of a button or radio text into an underlined shortcut.
void TestTranslations::englishTextsKeepPlaceholdersLinesAndMnemonics()
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    for (const Message &m : readCatalogue(catalogue("en"))) {
        if (m.type == QLatin1String("vanished") || m.type == QLatin1String("obsolete"))
            continue;
        QStringList sourceArgs, translationArgs;
        for (auto it = placeholder.globalMatch(m.source); it.hasNext();)
            sourceArgs << it.next().captured();
        for (auto it = placeholder.globalMatch(m.translation); it.hasNext();)
            translationArgs << it.next().captured();
        sourceArgs.sort();
        translationArgs.sort();
        QVERIFY2(sourceArgs == translationArgs,
                 qPrintable(m.context + QStringLiteral(": ") + m.source));
        QVERIFY2(m.source.count(QLatin1Char('\n')) == m.translation.count(QLatin1Char('\n')),
                 qPrintable(m.context + QStringLiteral(": ") + m.source));
        QVERIFY2(m.source.count(QLatin1Char('&')) == m.translation.count(QLatin1Char('&')),
                 qPrintable(m.context + QStringLiteral(": ") + m.translation));
    }
}

void TestTranslations::compiledCatalogues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("en toolbar") << "main_en.qm"
                                << "TbWidget"
                                << "下载"
                                << "Download";
    QTest::newRow("en two lines")
        << "main_en.qm"
        << "DevSettingInfo"
        << "注意配置设备会清除\n设备中所有记录的数据"
        << "Writing the configuration erases\nall recorded data in the logger";
    QTest::newRow("en report") << "main_en.qm"
                               << "DataShowWidget"
                               << "温度湿度记录报告"
                               << "Temperature and Humidity Report";
    QTest::newRow("zh keeps source") << "main_zh.qm"
                                     << "MainWindow"
                                     << "下载成功"
                                     << "下载成功";
}

// The program loads the compiled files from lgxtranslation/ beside itself.
void TestTranslations::compiledCatalogues()
{
    QFETCH(QString, file);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QTranslator translator;
    QVERIFY2(translator.load(outputDir + QStringLiteral("/lgxtranslation/") + file),
             qPrintable(file));
    QCOMPARE(translator.translate(context.toUtf8().constData(), source.toUtf8().constData()),
             expected);
}

void TestTranslations::noticesMatchTheUserGuide_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    const char *const notices[][2] = {
        {"MainWindow", "无可用设备"},
        {"MainWindow", "连接失败，请查看帮助并安装USB驱动后重试"},
        {"MainWindow", "连接失败"},
        {"MainWindow", "连接中断，请重新拔插usb后连接"},
        {"MainWindow", "请连接设备后重试"},
        {"MainWindow", "下载成功"},
        {"MainWindow", "下载失败"},
        {"MainWindow", "无记录数据，下载失败"},
        {"MainWindow", "读取异常，下载失败"},
        {"MainWindow", "无法保存记录文件，下载失败"},
        {"AutoDownload", "另一台记录仪已接入，等待中"},
        {"AutoDownload", "记录仪正在记录，未自动下载"},
        {"MainWindow", "恢复出厂设置成功"},
        {"MainWindow", "设置设备语言成功"},
        {"DevSettingInfo", "配置成功"},
        {"DevSettingInfo", "配置失败"},
        {"DevSettingInfo", "加载预设成功!"},
        {"FileButton", "命名错误"},
        {"MainWindow", "删除失败"},
        {"DataShowWidget", "无法导出，请先下载数据文件并打开它"},
        {"WaitProgressDialog", "导出完成"},
    };
    for (const auto &notice : notices)
        QTest::newRow(notice[1]) << QString::fromUtf8(notice[0]) << QString::fromUtf8(notice[1]);
}

// The guide's table of messages quotes the notices word for word, so a user can
// look up what they saw.
void TestTranslations::noticesMatchTheUserGuide()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFile guide(sourceDir + QStringLiteral("/docs/help/help_en.md"));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(guide.readAll());
    const auto english = liveMessages(readCatalogue(catalogue("en")));
    const Message m = english.value(context + QLatin1Char('\x1f') + source);
    QVERIFY2(!m.translation.isEmpty(), "notice not in the catalogue");
    QVERIFY2(text.contains(m.translation), qPrintable(m.translation));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
