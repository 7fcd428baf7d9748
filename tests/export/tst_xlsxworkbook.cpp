// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook read back from its zip: typed sample cells, row count, summary and charts.
#include "export/xlsxworkbookwriter.h"
#include "exportsupport.h"

#include <QHash>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <ctime>

namespace
{

// One cell as the sheet's XML holds it.
struct Cell {
    QString type;  // the t attribute: empty for a number, "inlineStr" for a text
    int style = 0; // index into the cell formats of styles.xml
    QString value; // the number, or the text of an inline string
};

struct Sheet {
    QHash<QString, Cell> cells;
    int rows = 0;
    QString xml;
};

QByteArray member(const QString &xlsx, const QString &name)
{
    return exporttest::runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, name});
}

Sheet readSheet(const QString &xlsx, int number)
{
    Sheet sheet;
    const QByteArray xml = member(xlsx, QStringLiteral("xl/worksheets/sheet%1.xml").arg(number));
    sheet.xml = QString::fromUtf8(xml);
    QXmlStreamReader reader(xml);
    QString ref;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const auto name = reader.name();
        if (name == QLatin1String("row")) {
            ++sheet.rows;
        } else if (name == QLatin1String("c")) {
            ref = reader.attributes().value(QLatin1String("r")).toString();
            sheet.cells[ref] = {reader.attributes().value(QLatin1String("t")).toString(),
                                reader.attributes().value(QLatin1String("s")).toInt(),
                                {}};
        } else if (name == QLatin1String("v") || name == QLatin1String("t")) {
            sheet.cells[ref].value = reader.readElementText();
        }
    }
    return sheet;
}

// The number format of each cell format index in styles.xml; built-in 0 is "General".
QStringList numberFormats(const QString &xlsx)
{
    QXmlStreamReader reader(member(xlsx, QStringLiteral("xl/styles.xml")));
    QHash<int, QString> codes{{0, QStringLiteral("General")}};
    QStringList formats;
    bool inCellXfs = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == QLatin1String("cellXfs"))
            inCellXfs = false;
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == QLatin1String("numFmt"))
            codes[a.value(QLatin1String("numFmtId")).toInt()] =
                a.value(QLatin1String("formatCode")).toString();
        else if (reader.name() == QLatin1String("cellXfs"))
            inCellXfs = true;
        else if (inCellXfs && reader.name() == QLatin1String("xf"))
            formats << codes.value(a.value(QLatin1String("numFmtId")).toInt());
    }
    return formats;
}

double serialOf(const QDateTime &wallClock)
{
    return 25569 + wallClockSecs(wallClock) / 86400.0;
}

const QString general = QStringLiteral("General");
const QString dateTimeFormat = QStringLiteral("yyyy/mm/dd hh:mm:ss");
const QString oneDecimal = QStringLiteral("0.0");

} // namespace

// An expected cell: a number with its format, a text, or nothing.
struct Expected {
    QString ref;
    QString format; // empty: an inline text; "-": no cell at all
    QString value;
};
Q_DECLARE_METATYPE(QVector<Expected>)

class TestXlsxWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sampleSheet_data();
    void sampleSheet();
    void alarmColumnNamesTheQuantity_data();
    void alarmColumnNamesTheQuantity();
    void summaryAndCharts_data();
    void summaryAndCharts();
    void headerTimeInADaylightSavingGapReadsAsRecorded();
    void unwritablePathFails();
    void summaryJudgesTheRecording();

private:
    QString write(const LoadedRecording &recording)
    {
        const QString path = dir.filePath(QStringLiteral("w%1.xlsx").arg(++written));
        return writeXlsxWorkbook(path, recording, false) ? path : QString();
    }
    QTemporaryDir dir;
    int written = 0;
};

void TestXlsxWorkbook::initTestCase()
{
    // The summary's header times go through the local zone; one with daylight saving.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void TestXlsxWorkbook::sampleSheet_data()
{
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QVector<Expected>>("expected");
    const QString t0 =
        QString::number(serialOf(QDateTime(QDate(2023, 11, 30), QTime(16, 49))), 'g', 17);
    const QString t2 =
        QString::number(serialOf(QDateTime(QDate(2023, 11, 30), QTime(16, 49, 10))), 'g', 17);
    // Samples: 0 without temperature, 1 without humidity, 2 at 31 °C above TH3 (30 °C).
    QTest::newRow("°C with humidity and missing values")
        << true << 0
        << QVector<Expected>{{"A1", "", "序号"},
                             {"B1", "", "时间"},
                             {"C1", "", "AT(°C)"},
                             {"D1", "", "RH%"},
                             {"E1", "", "报警状态"},
                             {"A2", general, "1"},
                             {"B2", dateTimeFormat, t0},
                             {"C2", "-", ""},
                             {"D2", oneDecimal, "50"},
                             {"E2", "-", ""},
                             {"C3", oneDecimal, "20.01"},
                             {"D3", "-", ""},
                             {"E3", "-", ""},
                             {"A4", general, "3"},
                             {"B4", dateTimeFormat, t2},
                             {"C4", oneDecimal, "31"},
                             {"E4", "", "高于上限"},
                             {"A7", "-", ""}};
    QTest::newRow("°F with humidity") << true << 1
                                      << QVector<Expected>{{"C1", "", "AT(℉)"},
                                                           {"C3", oneDecimal, "68.018"},
                                                           {"C4", oneDecimal, "87.8"},
                                                           {"D4", oneDecimal, "50"},
                                                           {"E4", "", "高于上限"}};
    QTest::newRow("temperature only")
        << false << 0
        << QVector<Expected>{
               {"C1", "", "AT(°C)"},
               {"D1", "", "报警状态"},
               {"E1", "-", ""},
               {"C2", "-", ""},
               {"D2", "-", ""},
               {"C3", oneDecimal, "20.01"},
               {"D3", "-", ""},
               {"D4", "", "高于上限"},
               {"E4", "-", ""},
               {"B6", dateTimeFormat,
                QString::number(serialOf(QDateTime(QDate(2023, 11, 30), QTime(16, 49, 20))), 'g',
                                17)}};
}

void TestXlsxWorkbook::sampleSheet()
{
    QFETCH(bool, withHumidity);
    QFETCH(int, unit);
    QFETCH(QVector<Expected>, expected);
    LoadedRecording recording = exporttest::recording(5, withHumidity, unit);
    recording.samples[0].temperature = noSampleTemperature;
    recording.samples[1].humidity = noSampleHumidity;
    recording.samples[2].temperature = 31;
    exporttest::classify(recording);

    const QString path = write(recording);
    QVERIFY(!path.isEmpty());
    const Sheet sheet = readSheet(path, 1);
    const QStringList formats = numberFormats(path);
    QCOMPARE(sheet.rows, 6);
    for (const Expected &e : expected) {
        const QString where = QStringLiteral("cell %1").arg(e.ref);
        if (e.format == QLatin1String("-")) {
            QVERIFY2(!sheet.cells.contains(e.ref), qPrintable(where + " is blank"));
            continue;
        }
        QVERIFY2(sheet.cells.contains(e.ref), qPrintable(where + " exists"));
        const Cell cell = sheet.cells.value(e.ref);
        if (e.format.isEmpty()) {
            QCOMPARE(cell.type, QStringLiteral("inlineStr"));
            QCOMPARE(cell.value, e.value);
        } else {
            QVERIFY2(cell.type.isEmpty() || cell.type == QLatin1String("n"),
                     qPrintable(where + " is a number, not " + cell.type));
            QCOMPARE(formats.value(cell.style), e.format);
            QVERIFY2(qAbs(cell.value.toDouble() - e.value.toDouble()) < 1e-9,
                     qPrintable(where + ": " + cell.value + " vs " + e.value));
        }
    }
    const QString filter = withHumidity ? QStringLiteral("<autoFilter ref=\"A1:E6\"/>")
                                        : QStringLiteral("<autoFilter ref=\"A1:D6\"/>");
    QVERIFY(sheet.xml.contains(filter));
    QVERIFY(sheet.xml.contains(QStringLiteral("ySplit=\"1\"")));
}

void TestXlsxWorkbook::alarmColumnNamesTheQuantity_data()
{
    QTest::addColumn<float>("temperature");
    QTest::addColumn<float>("humidity");
    QTest::addColumn<QString>("text");
    // Limits: 30 ℃ and −5 ℃, 80 %RH and (opened here) 20 %RH.
    QTest::newRow("inside") << 25.0f << 50.0f << QString();
    QTest::newRow("hot") << 31.0f << 50.0f << QStringLiteral("高于上限");
    QTest::newRow("cold") << -6.0f << 50.0f << QStringLiteral("低于下限");
    QTest::newRow("humid only") << 20.0f << 85.0f << QStringLiteral("湿度高于上限");
    QTest::newRow("dry only") << 20.0f << 15.0f << QStringLiteral("湿度低于下限");
    QTest::newRow("hot and humid") << 31.0f << 85.0f << QStringLiteral("高于上限; 湿度高于上限");
    QTest::newRow("humid without temperature")
        << noSampleTemperature << 85.0f << QStringLiteral("湿度高于上限");
    QTest::newRow("hot without humidity")
        << 31.0f << noSampleHumidity << QStringLiteral("高于上限");
    QTest::newRow("neither value") << noSampleTemperature << noSampleHumidity << QString();
}

// The alarm column says which quantity left its range, so a filter on
// "高于上限" counts the samples above the temperature range as the summary does.
void TestXlsxWorkbook::alarmColumnNamesTheQuantity()
{
    QFETCH(float, temperature);
    QFETCH(float, humidity);
    QFETCH(QString, text);
    LoadedRecording recording = exporttest::recording(1);
    recording.recording.hl = AlertDataJson();
    recording.recording.hl.isOpen = true;
    recording.recording.hl.alertValue = 200;
    recording.limits = AlarmLimits::fromRecording(recording.recording);
    recording.samples[0].temperature = temperature;
    recording.samples[0].humidity = humidity;
    exporttest::classify(recording);
    const QString path = write(recording);
    QVERIFY(!path.isEmpty());
    const Sheet sheet = readSheet(path, 1);
    QCOMPARE(sheet.cells.value(QStringLiteral("E2")).value, text);
}

void TestXlsxWorkbook::summaryAndCharts_data()
{
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("samples");
    QTest::addColumn<QStringList>("chartRanges");
    QTest::newRow("humidity") << true << 700
                              << QStringList{"'数据'!$C$2:$C$701", "'数据'!$D$2:$D$701"};
    QTest::newRow("temperature only") << false << 3 << QStringList{"'数据'!$C$2:$C$4"};
    QTest::newRow("no samples") << true << 0 << QStringList{"'数据'!$C$2", "'数据'!$D$2"};
}

void TestXlsxWorkbook::summaryAndCharts()
{
    QFETCH(bool, withHumidity);
    QFETCH(int, samples);
    QFETCH(QStringList, chartRanges);
    LoadedRecording recording = exporttest::recording(samples, withHumidity);
    recording.sha256 = QStringLiteral("ab12");
    const QString path = write(recording);
    QVERIFY(!path.isEmpty());

    const QString workbook = QString::fromUtf8(member(path, QStringLiteral("xl/workbook.xml")));
    QVERIFY(workbook.contains(QStringLiteral("<sheet name=\"数据\" sheetId=\"1\"")));
    QVERIFY(workbook.contains(QStringLiteral("<sheet name=\"摘要\" sheetId=\"2\"")));
    QVERIFY(workbook.contains(QStringLiteral("<sheet name=\"图表\" sheetId=\"3\"")));
    QCOMPARE(readSheet(path, 1).rows, samples + 1);

    QStringList texts;
    for (const Cell &cell : readSheet(path, 2).cells)
        texts << cell.value;
    for (const char *text : {"Cold room 3", "SN20230001", "TH3", "TL3", "≥ 30.0℃", "ab12"})
        QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
    QCOMPARE(texts.contains(QStringLiteral("HH")), withHumidity);

    for (int i = 0; i < 2; ++i) {
        const QString chart =
            QString::fromUtf8(member(path, QStringLiteral("xl/charts/chart%1.xml").arg(i + 1)));
        if (i >= chartRanges.size()) {
            QVERIFY2(chart.isEmpty(), "no humidity chart without humidity");
            continue;
        }
        QVERIFY2(chart.contains(QStringLiteral("<c:f>%1</c:f>").arg(chartRanges[i])),
                 qPrintable(chartRanges[i]));
        QVERIFY(chart.contains(QStringLiteral("<c:scatterChart>")));
    }
}

void TestXlsxWorkbook::headerTimeInADaylightSavingGapReadsAsRecorded()
{
    // 02:30 does not exist in Berlin on 2024-03-31; the logger's clock said so all the same.
    LoadedRecording recording = exporttest::recording(1);
    recording.recording.startRecordTime = QDateTime(QDate(2024, 3, 31), QTime(2, 30));
    const QString path = write(recording);
    QVERIFY(!path.isEmpty());
    const Sheet summary = readSheet(path, 2);
    const double expected =
        25569 + QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::UTC).toSecsSinceEpoch() / 86400.0;
    bool found = false;
    for (const Cell &cell : summary.cells)
        found = found || (cell.type.isEmpty() && qAbs(cell.value.toDouble() - expected) < 1e-9);
    QVERIFY2(found, "the start time is a date-time cell reading 2024/03/31 02:30:00");
}

void TestXlsxWorkbook::unwritablePathFails()
{
    QVERIFY(!writeXlsxWorkbook(dir.filePath(QStringLiteral("missing/folder/w.xlsx")),
                               exporttest::recording(3), false));
}

// The value in the column beside the name `name` of the summary sheet.
QString besideName(const Sheet &sheet, const QString &name)
{
    for (auto it = sheet.cells.constBegin(); it != sheet.cells.constEnd(); ++it) {
        if (it.value().value == name && it.key().startsWith(QLatin1Char('A')))
            return sheet.cells.value(QLatin1Char('B') + it.key().mid(1)).value;
    }
    return QStringLiteral("<no %1>").arg(name);
}

// A cut loop recording: the notice under the title, the samples held with the
// overwritten ones, the verdict and the time zone.
void TestXlsxWorkbook::summaryJudgesTheRecording()
{
    LoadedRecording recording = exporttest::recording(600);
    recording.recording.th3 = exporttest::alarm(true, 3000);
    recording.recording.recordNum = 1400;
    recording.recording.numofReport = 1000;
    recording.recording.overWirteRecordNum = 400;
    recording.expectedSamples = 1000;
    const Sheet summary = readSheet(write(recording), 2);
    QCOMPARE(summary.cells.value(QStringLiteral("A2")).value,
             QStringLiteral("记录不完整：600 / 1000 个样本"));
    QCOMPARE(besideName(summary, QStringLiteral("记录条数")), QStringLiteral("600"));
    QCOMPARE(besideName(summary, QStringLiteral("已覆盖记录条数")), QStringLiteral("400"));
    QCOMPARE(besideName(summary, QStringLiteral("时区")), QStringLiteral("记录仪本地时间"));
    QCOMPARE(besideName(summary, QStringLiteral("判定")), QStringLiteral("符合限值"));

    recording.expectedSamples = 600;
    recording.recording.overWirteRecordNum = 0;
    recording.recording.th3 = exporttest::alarm(true, 2500);
    const Sheet whole = readSheet(write(recording), 2);
    QVERIFY(whole.cells.value(QStringLiteral("A2")).value.isEmpty());
    QCOMPARE(besideName(whole, QStringLiteral("已覆盖记录条数")),
             QStringLiteral("<no 已覆盖记录条数>"));
    QVERIFY2(besideName(whole, QStringLiteral("判定")).startsWith(QStringLiteral("超出限值：")),
             qPrintable(besideName(whole, QStringLiteral("判定"))));
}

QTEST_GUILESS_MAIN(TestXlsxWorkbook)
#include "tst_xlsxworkbook.moc"
