// SPDX-License-Identifier: GPL-3.0-or-later
// The PDF report as a reader sees it: pages, texts extracted from the file, and drawn colours.
#include "export/comparisonreport.h"
#include "export/pdfreport.h"
#include "export/reportmetadata.h"
#include "exportsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(AlertDataJson)

class TestPdfReport : public QObject
{
    Q_OBJECT
private slots:
    void pageCount_data();
    void pageCount();
    void pagesBeyondTheSamplesAreNotPrinted();
    void unwritablePathReportsFailure();
    void firstPageTexts();
    void alarmRows_data();
    void alarmRows();
    void statisticsTexts_data();
    void statisticsTexts();
    void temperatureOnlyReportHasNoHumidity();
    void timeScaleLabels_data();
    void timeScaleLabels();
    void dataPageTexts();
    void badgeColour_data();
    void badgeColour();
    void dataRowColours();
    void temperatureOnlyCurveIgnoresMissingHumidity();
    void provenance_data();
    void provenance();
    void evaluation_data();
    void evaluation();
    void firstPageJudgesTheRecording_data();
    void firstPageJudgesTheRecording();
    void chartDrawsTheLimitsInForce();
    void comparisonNamesHumidityLimitsApartFromTemperatureOnes();

private:
    // The report's text, page by page, compatibility forms folded: the PDF's
    // text layer names a glyph by the lowest character the font maps to it,
    // which for some Chinese characters is a radical's code point.
    QStringList texts(const LoadedRecording &recording, int dataPages = -1)
    {
        const QString path = write(recording, dataPages);
        QStringList pages;
        for (const QString &page : exporttest::pdfPages(path)) {
            QString folded = page.normalized(QString::NormalizationForm_KC);
            folded.replace(QChar(0x2ED3), QStringLiteral("长"));
            folded.replace(QChar(0x2EDA), QStringLiteral("页"));
            pages.append(folded);
        }
        return pages;
    }
    QString write(const LoadedRecording &recording, int dataPages = -1)
    {
        const QString path = dir.filePath(QStringLiteral("report%1.pdf").arg(++written));
        if (dataPages < 0)
            dataPages = dataPageCount(recording.samples.size());
        if (!writePdfReport(path, recording, dataPages, false))
            qWarning() << "report not written" << path;
        return path;
    }
    // The line of `page` whose first word is `label`, split into words.
    static QStringList rowOf(const QString &page, const QString &label)
    {
        for (const QString &line : page.split(QLatin1Char('\n'))) {
            const QStringList words = line.simplified().split(QLatin1Char(' '));
            if (words.first() == label)
                return words;
        }
        return {};
    }
    static QString kc(const QString &text)
    {
        return text.normalized(QString::NormalizationForm_KC);
    }

    QTemporaryDir dir;
    int written = 0;
};

void TestPdfReport::pageCount_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("pages");
    QTest::newRow("no samples: first page only") << 0 << 1;
    QTest::newRow("one sample") << 1 << 2;
    QTest::newRow("one full data page") << 576 << 2;
    QTest::newRow("one sample more") << 577 << 3;
}

void TestPdfReport::pageCount()
{
    QFETCH(int, samples);
    QFETCH(int, pages);
    QCOMPARE(exporttest::pdfPageCount(write(exporttest::recording(samples))), pages);
}

void TestPdfReport::pagesBeyondTheSamplesAreNotPrinted()
{
    QCOMPARE(exporttest::pdfPageCount(write(exporttest::recording(10), 5)), 2);
}

void TestPdfReport::unwritablePathReportsFailure()
{
    const QString path = dir.filePath(QStringLiteral("missing-folder/report.pdf"));
    QVERIFY(!writePdfReport(path, exporttest::recording(3), 1, false));
    QVERIFY(!QFile::exists(path));
}

void TestPdfReport::firstPageTexts()
{
    LoadedRecording r = exporttest::recording(0);
    r.recording.startTemp = 2150;
    r.recording.startDelay = 15;
    r.recording.recordMode = 1;
    r.recording.recordInterval = 12;
    r.recording.recordNum = 70000;
    r.recording.totalDuration = 90061;
    const QStringList pages = texts(r);
    QCOMPARE(pages.size(), 1);
    const QString page = pages.first();
    for (const char *expected : {"温度湿度记录报告",
                                 "记录仪信息",
                                 "配置信息",
                                 "温度信息",
                                 "报警设置及结果",
                                 "设备名称",
                                 "Cold room 3",
                                 "S/N 序列号",
                                 "SN20230001",
                                 "文件备注",
                                 "冷库备注",
                                 "开启模式",
                                 "配置时间",
                                 "2023/11/29 09:00:00",
                                 "停止模式",
                                 "记录间隔",
                                 "1m 0s",
                                 "开启延迟",
                                 "15 min",
                                 "循环记录",
                                 "开启时间",
                                 "2023/11/30 16:49:00 (21.5°C)",
                                 "记录时长",
                                 "1d 1h 1m 1s",
                                 "记录条数",
                                 "报警阈值",
                                 "报警状态",
                                 "温度",
                                 "湿度",
                                 "%RH",
                                 "报表创建时间 :"}) {
        QVERIFY2(page.contains(kc(QString::fromUtf8(expected))), expected);
    }
    QVERIFY2(!rowOf(page, QStringLiteral("HL")).isEmpty(), "alarm rows are drawn without samples");
    QVERIFY2(!page.contains(QStringLiteral("干燥")), "no legend without samples");
    QCOMPARE(page.trimmed().split(QLatin1Char('\n')).last().trimmed(),
             kc(QStringLiteral("第 1 页，共 1 页")));
}

void TestPdfReport::alarmRows_data()
{
    QTest::addColumn<AlertDataJson>("alert");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("cells");
    AlertDataJson zero = exporttest::alarm(true, 0);
    AlertDataJson raised = exporttest::alarm(true, 2000, true);
    raised.isAccumulate = true;
    raised.alertNum = 12;
    raised.delayTime = 720;
    QTest::newRow("0.0 °C: no space after the sign")
        << zero << "TH3" << QStringList{"≥0.0°C", "单一", "10s", "15s", "1", "正常"};
    QTest::newRow("20.0 °C: a space after the sign")
        << raised << "TH3"
        << QStringList{"≥", "20.0°C", "累计", "1h", "0m", "0s", "15s", "12", "报警"};
    QTest::newRow("closed alarm") << exporttest::alarm(false, 2000, true) << "TH3"
                                  << QStringList{"--", "--", "--", "--", "--", "--"};
}

void TestPdfReport::alarmRows()
{
    QFETCH(AlertDataJson, alert);
    QFETCH(QString, label);
    QFETCH(QStringList, cells);
    LoadedRecording r = exporttest::recording(0);
    r.recording.th1 = alert; // drawn as TH3
    const QStringList row = rowOf(texts(r).first(), label);
    QCOMPARE(row.mid(1), cells);
}

void TestPdfReport::statisticsTexts_data()
{
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("maxHumidity");
    QTest::addColumn<int>("minTemp");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<QString>("minimum");
    QTest::newRow("with humidity") << true << 650 << 1500 << "30.0°C 65.0%RH"
                                   << "15.0°C 40.0%RH";
    // The logger's missing humidity arrives unsigned, as 57568.
    QTest::newRow("missing humidity") << true << 57568 << 1500 << "--- ---"
                                      << "15.0°C 40.0%RH";
    QTest::newRow("missing temperature") << true << 650 << -7968 << "30.0°C 65.0%RH"
                                         << "--- ---";
    QTest::newRow("temperature only") << false << 57568 << -7968 << "30.0°C"
                                      << "---";
}

void TestPdfReport::statisticsTexts()
{
    QFETCH(bool, withHumidity);
    QFETCH(int, maxHumidity);
    QFETCH(int, minTemp);
    QFETCH(QString, maximum);
    QFETCH(QString, minimum);
    LoadedRecording r = exporttest::recording(0, withHumidity);
    r.recording.maxHumidity = maxHumidity;
    r.recording.minTemp = minTemp;
    const QString page = texts(r).first().simplified();
    QVERIFY2(page.contains(kc(QStringLiteral("最大值 : ")) + maximum), qPrintable(maximum));
    QVERIFY2(page.contains(kc(QStringLiteral("最小值 : ")) + minimum), qPrintable(minimum));
}

void TestPdfReport::temperatureOnlyReportHasNoHumidity()
{
    LoadedRecording r = exporttest::recording(700, false, 1);
    const QStringList pages = texts(r);
    QCOMPARE(pages.size(), 3);
    for (const QString &page : pages) {
        QVERIFY(!page.contains(QStringLiteral("%RH")));
        QVERIFY(!QString(page).remove(QStringLiteral("温度湿度记录报告")).contains("湿度"));
        QVERIFY(!page.contains(QStringLiteral("超高湿")));
    }
    QVERIFY(rowOf(pages.first(), QStringLiteral("HH")).isEmpty());
    QVERIFY(rowOf(pages.first(), QStringLiteral("HL")).isEmpty());
    QVERIFY(!rowOf(pages.first(), QStringLiteral("TL3")).isEmpty());
    QVERIFY(pages.first().contains(QStringLiteral("≥ 86.0°F")));
    QVERIFY(pages[1].simplified().contains(QStringLiteral("23/11/30 16:49:00 68.0")));
}

void TestPdfReport::timeScaleLabels_data()
{
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("700 s: 100 s steps from the first sample")
        << qint64(700) << QStringList{"16:49:00", "16:50:40", "16:52:20", "16:54:00",
                                      "16:55:40", "16:57:20", "16:59:00", "17:00:40"};
    QTest::newRow("701 s: 101 s steps from a second before")
        << qint64(701) << QStringList{"16:48:59", "16:50:40", "16:52:21", "16:54:02",
                                      "16:55:43", "16:57:24", "16:59:05", "17:00:46"};
}

void TestPdfReport::timeScaleLabels()
{
    QFETCH(qint64, duration);
    QFETCH(QStringList, labels);
    LoadedRecording r = exporttest::recording(141);
    r.recording.shownDuration = duration;
    const QString page = texts(r, 0).first();
    for (const QString &line : page.split(QLatin1Char('\n'))) {
        if (line.simplified().startsWith(labels.first().left(5))) {
            QCOMPARE(line.simplified().split(QLatin1Char(' ')), labels);
            return;
        }
    }
    QFAIL("no time labels found");
}

void TestPdfReport::dataPageTexts()
{
    LoadedRecording r = exporttest::recording(580);
    r.samples[0].temperature = -1000;
    r.samples[1].humidity = -10;
    r.samples[2].temperature = 31; // above TH3 (th1, 30 °C)
    r.samples[3].temperature = -6; // below TL3 (tl1, -5 °C)
    r.samples[4].humidity = 85;    // above HH
    // The second data page: four samples, none of them with a value.
    for (int i = 576; i < 580; ++i)
        r.samples[i].temperature = -1000;
    exporttest::classify(r);
    const QStringList pages = texts(r);
    QCOMPARE(pages.size(), 3);

    // Column gaps come out as any number of spaces; compare without them.
    auto squeezed = [](const QString &text) { return kc(text).remove(QLatin1Char(' ')); };
    const QString first = squeezed(pages[1]);
    for (const char *expected :
         {"温度记录数据", "Y/M/D Time °C %RH", "23/11/30 16:49:00 --- 50.0",
          "23/11/30 16:49:05 20.0 ---", "23/11/30 16:49:10 31.0 50.0", "此页最小 :-6.0°C 50.0%RH",
          "此页最大 :31.0°C 85.0%RH", "此页开始时间 : 2023/11/30 16:49:00",
          "此页结束时间 : 2023/11/30 17:36:55", "此页超高温阈值个数: 0_0_1",
          "此页超低温阈值个数: 0_0_1", "此页超高湿阈值个数: 1", "此页超低湿阈值个数: 0"}) {
        QVERIFY2(first.contains(squeezed(QString::fromUtf8(expected))), expected);
    }
    QVERIFY(pages[1].trimmed().endsWith(kc(QStringLiteral("第 2 页，共 3 页"))));

    const QString second = squeezed(pages[2]);
    QVERIFY(second.contains(squeezed(QStringLiteral("此页最小:------"))));
    QVERIFY(second.contains(squeezed(QStringLiteral("此页最大:------"))));
    QVERIFY(second.contains(squeezed(QStringLiteral("此页超高温阈值个数:0_0_0"))));
    QVERIFY(second.contains(squeezed(QStringLiteral("此页结束时间:2023/11/3017:37:15"))));
    QVERIFY(pages[2].trimmed().endsWith(kc(QStringLiteral("第 3 页，共 3 页"))));
}

void TestPdfReport::badgeColour_data()
{
    QTest::addColumn<AlertDataJson>("hl");
    QTest::addColumn<bool>("withHumidity");
    QTest::addColumn<int>("levelOneHigh");
    QTest::addColumn<bool>("cross");
    const AlertDataJson quiet = exporttest::alarm(true, 300);
    const AlertDataJson raised = exporttest::alarm(true, 300, true);
    QTest::newRow("nothing raised") << quiet << true << 0 << false;
    QTest::newRow("open and raised") << raised << true << 0 << true;
    QTest::newRow("closed but flagged")
        << exporttest::alarm(false, 300, true) << true << 0 << false;
    QTest::newRow("humidity row not drawn") << raised << false << 0 << false;
    // The samples reach 29.99 °C: above a level-1 limit of 25 °C the logger did not flag.
    QTest::newRow("samples out of limits") << quiet << true << 2500 << true;
    QTest::newRow("samples within limits") << quiet << true << 3500 << false;
}

void TestPdfReport::badgeColour()
{
    QFETCH(AlertDataJson, hl);
    QFETCH(bool, withHumidity);
    QFETCH(int, levelOneHigh);
    QFETCH(bool, cross);
    LoadedRecording r = exporttest::recording(levelOneHigh ? 1000 : 0, withHumidity);
    r.recording.hl = hl;
    if (levelOneHigh)
        r.recording.th3 = exporttest::alarm(true, levelOneHigh);
    const QImage page = exporttest::renderPage(write(r), 1, dir.path());
    QVERIFY(!page.isNull());
    const QRect badge(518, 23, 34, 34);
    const int red = exporttest::pixelsNear(page, badge, Qt::red);
    const int green = exporttest::pixelsNear(page, badge, Qt::green);
    QCOMPARE(red > 10, cross);
    QCOMPARE(green > 10, !cross);
}

void TestPdfReport::dataRowColours()
{
    LoadedRecording r = exporttest::recording(6);
    r.samples[1].temperature = 31;    // high: red
    r.samples[2].temperature = -6;    // low: blue
    r.samples[3].temperature = -1000; // missing: black although low
    r.samples[4].temperature = 31;
    r.samples[4].humidity = -10; // missing humidity: black although high
    exporttest::classify(r);
    QCOMPARE(r.samples[3].alarmState, 1);
    // Four pixels a unit, so the thin table text has solid pixels.
    const QImage page = exporttest::renderPage(write(r), 2, dir.path(), 4);
    QVERIFY(!page.isNull());
    auto rowArea = [](int line) { return QRect(36 * 4, (127 + 7 * line) * 4, 87 * 4, 7 * 4); };
    const QColor colours[] = {Qt::red, Qt::blue};
    const int expectedRed[] = {0, 1, 0, 0, 0, 0};
    const int expectedBlue[] = {0, 0, 1, 0, 0, 0};
    for (int line = 0; line < 6; ++line) {
        QCOMPARE(exporttest::pixelsNear(page, rowArea(line), colours[0]) > 5,
                 bool(expectedRed[line]));
        QCOMPARE(exporttest::pixelsNear(page, rowArea(line), colours[1]) > 5,
                 bool(expectedBlue[line]));
    }
}

void TestPdfReport::temperatureOnlyCurveIgnoresMissingHumidity()
{
    // A temperature-only logger has no humidity to store: its samples carry
    // the missing marker there, and their temperatures still make the curve.
    LoadedRecording r = exporttest::recording(50, false);
    for (SamplePoint &s : r.samples)
        s.humidity = -10;
    const QImage page = exporttest::renderPage(write(r, 0), 1, dir.path());
    QVERIFY(!page.isNull());
    const QRect plot(78, 491, 440, 238);
    QVERIFY(exporttest::pixelsNear(page, plot, QColor(255, 128, 0)) > 100);
    QCOMPARE(exporttest::pixelsNear(page, plot, QColor(0, 0, 255)), 0);
}

void TestPdfReport::provenance_data()
{
    QTest::addColumn<QString>("sha256");
    QTest::addColumn<int>("samples");
    QTest::newRow("read from a file")
        << "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08" << 600;
    QTest::newRow("built in memory: no fingerprint anywhere") << QString() << 3;
}

void TestPdfReport::provenance()
{
    QFETCH(QString, sha256);
    QFETCH(int, samples);
    LoadedRecording r = exporttest::recording(samples);
    r.sha256 = sha256;
    const QString path = write(r);

    // PDF/A-1b: identified in the XMP packet, with the sRGB output intent
    // Qt adds; the packet repeats the document information.
    const QString meta = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), path}));
    QVERIFY(meta.contains(QStringLiteral("<pdfaid:part>1</pdfaid:part>")));
    QVERIFY(meta.contains(QStringLiteral("<pdfaid:conformance>B</pdfaid:conformance>")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF-1.4"));
    QVERIFY(bytes.contains("/S/GTS_PDFA1"));
    const QString info = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-isodates"), path}));
    auto infoValue = [&info](const QString &key) {
        return QRegularExpression(QStringLiteral("^%1:\\s+(.*)$").arg(key),
                                  QRegularExpression::MultilineOption)
            .match(info)
            .captured(1)
            .trimmed();
    };
    auto xmpValue = [&meta](const QString &element) {
        return QRegularExpression(
                   QStringLiteral("<%1>(?:\\s*<rdf:Alt>\\s*<rdf:li[^>]*>)?([^<]*)<").arg(element))
            .match(meta)
            .captured(1);
    };
    QCOMPARE(infoValue(QStringLiteral("Title")), QStringLiteral("温度湿度记录报告 SN20230001"));
    QCOMPARE(xmpValue(QStringLiteral("dc:title")), infoValue(QStringLiteral("Title")));
    QVERIFY(infoValue(QStringLiteral("Creator")).startsWith(QStringLiteral("hygra ")));
    QCOMPARE(xmpValue(QStringLiteral("xmp:CreatorTool")), infoValue(QStringLiteral("Creator")));
    QCOMPARE(xmpValue(QStringLiteral("pdf:Producer")), infoValue(QStringLiteral("Producer")));
    QCOMPARE(xmpValue(QStringLiteral("xmp:CreateDate")), infoValue(QStringLiteral("CreationDate")));

    const std::optional<ReportMetadata> m = ReportMetadata::fromPdf(bytes);
    QCOMPARE(bool(m), !sha256.isEmpty());
    if (m) {
        QCOMPARE(m->sha256, sha256);
        QCOMPARE(m->serialNumber, QStringLiteral("SN20230001"));
        QCOMPARE(m->recordingStart, QStringLiteral("2023-11-30T16:49:00"));
        QCOMPARE(m->recordingStop, QStringLiteral("2023-11-30T17:38:55"));
    } else {
        QVERIFY(!meta.contains(QStringLiteral("<hygra:sha256>")));
    }

    const QStringList pages = texts(r);
    QCOMPARE(pages.size(), samples > 576 ? 3 : 2);
    for (int i = 0; i < pages.size(); ++i) {
        const QString page = pages[i];
        const QString pageText =
            kc(QStringLiteral("第 %1 页，共 %2 页").arg(i + 1).arg(pages.size()));
        QVERIFY2(page.contains(pageText), qPrintable(pageText));
        QCOMPARE(page.contains(QStringLiteral("SHA-256: ") + sha256), !sha256.isEmpty());
    }
}

void TestPdfReport::evaluation_data()
{
    QTest::addColumn<int>("tempUnit");
    QTest::addColumn<bool>("lowBound");
    QTest::addColumn<QStringList>("expected");
    // Samples every 5 s: 20, 20, 35, 35, 35, 20, -2, -2, 20, 20, 20, 20 °C
    // against TL1 0 °C and TH1 30 °C. MKT with ΔH/R = 10,000 K:
    // 10000 / -ln(mean of exp(-10000 / T)) - 273.15 = 25.67 °C (78.20 °F).
    QTest::newRow("both bounds, °C")
        << 0 << true
        << QStringList{"平均动力学温度 : 25.7℃",
                       "判定范围 : 0.0℃ … 30.0℃",
                       "高于范围时长 : 15s",
                       "低于范围时长 : 10s",
                       "超限次数 : 2 (最长 15s)",
                       "最长超限开始 : 2023/11/30 16:49:10",
                       "超出限值：2 次超限，高于上限 0 小时 1 分，低于下限 0 小时 1 分",
                       "时区 : 记录仪本地时间"};
    QTest::newRow("no low bound, °F")
        << 1 << false
        << QStringList{"平均动力学温度 : 78.2°F", "判定范围 : 无 … 86.0°F",
                       "高于范围时长 : 15s",      "低于范围时长 : 0s",
                       "超限次数 : 1 (最长 15s)", "超出限值：1 次超限，高于上限 0 小时 1 分"};
}

void TestPdfReport::evaluation()
{
    QFETCH(int, tempUnit);
    QFETCH(bool, lowBound);
    QFETCH(QStringList, expected);
    LoadedRecording r = exporttest::recording(12, true, tempUnit);
    const float temperatures[] = {20, 20, 35, 35, 35, 20, -2, -2, 20, 20, 20, 20};
    for (int i = 0; i < 12; ++i)
        r.samples[i].temperature = temperatures[i];
    r.recording.th3 = exporttest::alarm(true, 3000);  // TH1
    r.recording.tl3 = exporttest::alarm(lowBound, 0); // TL1
    auto squeezed = [](const QString &text) { return kc(text).remove(QLatin1Char(' ')); };
    const QString page = squeezed(texts(r, 0).first());
    for (const QString &text : expected)
        QVERIFY2(page.contains(squeezed(text)), qPrintable(text));
}

Q_DECLARE_METATYPE(LoadedRecording)

void TestPdfReport::firstPageJudgesTheRecording_data()
{
    QTest::addColumn<LoadedRecording>("recording");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("absent");

    // Samples rise from 20 °C to 29.99 °C.
    LoadedRecording within = exporttest::recording(600);
    within.recording.th3 = exporttest::alarm(true, 3500);
    within.recording.tl3 = exporttest::alarm(true, 0);
    within.expectedSamples = 600;
    QTest::newRow("within limits, complete") << within << QStringList{"符合限值", "记录条数 : 600"}
                                             << QStringList{"记录不完整", "覆盖", "超出限值"};

    LoadedRecording full = exporttest::recording(64512);
    full.recording.recordNum = 100000;
    full.recording.numofReport = 64512;
    full.recording.overWirteRecordNum = 100000 - 64512;
    full.expectedSamples = 64512;
    QTest::newRow("full memory of a loop recording")
        << full << QStringList{"记录条数 : 64512（另有 35488 条已被覆盖）"}
        << QStringList{"64000", "记录不完整"};

    LoadedRecording cut = within;
    cut.expectedSamples = 1000;
    QTest::newRow("cut short") << cut << QStringList{"记录不完整：600 / 1000 个样本"}
                               << QStringList{};

    LoadedRecording unjudged = exporttest::recording(10);
    unjudged.recording.th1 = exporttest::alarm(false, 0);
    unjudged.recording.tl1 = exporttest::alarm(false, 0);
    QTest::newRow("no level-1 limits")
        << unjudged << QStringList{"无判定限值"} << QStringList{"符合限值"};
}

void TestPdfReport::firstPageJudgesTheRecording()
{
    QFETCH(LoadedRecording, recording);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);
    auto squeezed = [](const QString &text) { return kc(text).remove(QLatin1Char(' ')); };
    const QString page = squeezed(texts(recording, 0).first());
    for (const QString &text : expected)
        QVERIFY2(page.contains(squeezed(text)), qPrintable(text));
    for (const QString &text : absent)
        QVERIFY2(!page.contains(squeezed(text)), qPrintable(text));
}

// TH1, TL1 and HH are on and drawn as labelled lines at their values; HL is off.
void TestPdfReport::chartDrawsTheLimitsInForce()
{
    LoadedRecording r = exporttest::recording(600);
    r.recording.th3 = exporttest::alarm(true, 3000);
    r.recording.tl3 = exporttest::alarm(true, 1000);
    r.recording.hh = exporttest::alarm(true, 800);
    r.recording.hl = exporttest::alarm(false, 200);
    const QString path = write(r, 0);
    auto squeezed = [](const QString &text) { return kc(text).remove(QLatin1Char(' ')); };
    const QString page = squeezed(exporttest::pdfPages(path).first());
    for (const char *label : {"TH130.0°C", "TL110.0°C", "HH80%RH"})
        QVERIFY2(page.contains(kc(QString::fromUtf8(label))), label);
    QVERIFY(!page.contains(QStringLiteral("HL20%RH")));

    // The scale runs from 5 °C to 40 °C over y 490 to 730: 30 °C lies at
    // y 558.6, 10 °C at 695.7; 80 %RH at 538.
    const QImage image = exporttest::renderPage(path, 1, dir.path());
    QVERIFY(!image.isNull());
    const QColor temperatureLimit(200, 0, 0);
    const QColor humidityLimit(120, 0, 160);
    QVERIFY(exporttest::pixelsNear(image, QRect(80, 557, 430, 4), temperatureLimit) > 150);
    QVERIFY(exporttest::pixelsNear(image, QRect(80, 694, 430, 4), temperatureLimit) > 150);
    QVERIFY(exporttest::pixelsNear(image, QRect(80, 536, 430, 4), humidityLimit) > 150);
    QVERIFY(exporttest::pixelsNear(image, QRect(80, 632, 430, 4), humidityLimit) < 20);
}

// A low temperature limit and a low humidity limit can fall on one height of the
// comparison chart; their labels stay apart because humidity limits are named at
// the chart's left end and temperature limits at its right end. Every temperature
// limit is on the chart, also when no sample holds a temperature.
void TestPdfReport::comparisonNamesHumidityLimitsApartFromTemperatureOnes()
{
    ComparedRecording one;
    one.label = QStringLiteral("A");
    one.loaded = exporttest::recording(600);
    one.loaded.recording.th3 = exporttest::alarm(true, 3000);
    one.loaded.recording.tl3 = exporttest::alarm(true, 0);
    one.loaded.recording.hl = exporttest::alarm(true, 200);
    one.loaded.recording.hh = exporttest::alarm(true, 800);
    const QString path = dir.filePath(QStringLiteral("comparison.pdf"));
    QVERIFY(ComparisonReport::write(path, {one}, false));
    const QString boxes = QString::fromUtf8(exporttest::runTool(
        QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}));
    auto leftOf = [&boxes](const QString &word) {
        const QRegularExpression re(QStringLiteral("xMin=\"([0-9.]+)\"[^>]*>%1</word>").arg(word));
        const QRegularExpressionMatch m = re.match(boxes);
        return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
    };
    const double pageMiddle = 595.0 / 2;
    for (const char *word : {"HL", "HH"}) {
        const double x = leftOf(QLatin1String(word));
        QVERIFY2(x >= 0 && x < pageMiddle, word);
    }
    for (const char *word : {"TL1", "TH1"}) {
        const double x = leftOf(QLatin1String(word));
        QVERIFY2(x > pageMiddle, word);
    }
}

QTEST_MAIN(TestPdfReport)
#include "tst_pdfreport.moc"
