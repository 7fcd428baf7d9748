// SPDX-License-Identifier: GPL-3.0-or-later
// The sample table: cell texts, alarm flags, header data and the painted rows and header.
#include "recordingfixture.h"
#include "views/datatablemodel.h"
#include "views/datatablemodeldelegate.h"
#include "views/datatablewidget.h"

#include <QHeaderView>
#include <QPainter>
#include <QtTest>

namespace
{

// 2024-03-01 08:00:00 as wall-clock seconds.
const qint64 t0 = QDateTime(QDate(2024, 3, 1), QTime(8, 0), Qt::UTC).toSecsSinceEpoch();

QVector<SamplePoint> samples()
{
    return {
        fixture::point(t0, 21.5f, 55.2f),
        fixture::point(t0 + 60, -1000, 56.0f, 1),  // no temperature: state 1
        fixture::point(t0 + 120, 30.5f, 60.0f, 2), // alarm with both values
        fixture::point(t0 + 180, 31.0f, -10, 2),   // alarm without humidity value
        fixture::point(t0 + 86400 * 40, -5.04f, 0, 0),
    };
}

// TH1 at 30 ℃ and HH at 58 %RH; the other limits closed.
AlarmLimits limits()
{
    AlarmLimits l;
    l.th1 = 30;
    l.hh = 58;
    return l;
}

QStringList rowTexts(const DataTableModel &model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

int countPixels(const QImage &image, const std::function<bool(QColor)> &match)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += match(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

} // namespace

class TestDataTable : public QObject
{
    Q_OBJECT
private slots:
    void cellTexts_data();
    void cellTexts();
    void fifthColumnAndOutsideCellsAreEmpty();
    void alarmFlags_data();
    void alarmFlags();
    void headerData();
    void setDataReplacesCellsAndFlags();
    void rowBackgrounds_data();
    void rowBackgrounds();
    void headerHasRoundedOuterEnds();
    void widgetClearsAndSelects();
};

void TestDataTable::cellTexts_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("humidity");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("celsius") << 0 << true << 0
                             << QStringList{"1", "2024/03/01 08:00:00", "21.5℃", "55.2%RH", ""};
    QTest::newRow("missing temperature")
        << 0 << true << 1 << QStringList{"2", "2024/03/01 08:01:00", "---℃", "56.0%RH", ""};
    QTest::newRow("missing humidity")
        << 0 << true << 3 << QStringList{"4", "2024/03/01 08:03:00", "31.0℃", "---%RH", ""};
    QTest::newRow("fahrenheit") << 1 << true << 2
                                << QStringList{"3", "2024/03/01 08:02:00", "86.9℉", "60.0%RH", ""};
    QTest::newRow("fahrenheit missing")
        << 1 << true << 1 << QStringList{"2", "2024/03/01 08:01:00", "---℉", "56.0%RH", ""};
    QTest::newRow("negative, forty days later")
        << 0 << true << 4 << QStringList{"5", "2024/04/10 08:00:00", "-5.0℃", "0.0%RH", ""};
    QTest::newRow("temperature only: no fourth cell")
        << 0 << false << 0 << QStringList{"1", "2024/03/01 08:00:00", "21.5℃", "", ""};
}

void TestDataTable::cellTexts()
{
    QFETCH(int, unit);
    QFETCH(bool, humidity);
    QFETCH(int, row);
    QFETCH(QStringList, texts);
    DataTableModel model(5);
    model.setSamples(samples(), unit, humidity, true, limits());
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(rowTexts(model, row), texts);
}

void TestDataTable::fifthColumnAndOutsideCellsAreEmpty()
{
    DataTableModel model(5);
    model.setSamples(samples(), 0, false, true, limits());
    QVERIFY(!model.index(0, 3).data().isValid());
    QVERIFY(!model.index(0, 4).data().isValid());
    QVERIFY(!model.data(model.index(5, 0)).isValid());
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
}

void TestDataTable::alarmFlags_data()
{
    QTest::addColumn<bool>("humidity");
    QTest::addColumn<bool>("marks");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVector<bool>>("flags");
    // The row: flagged when either value is beyond its own limits; the
    // logger's state of row 1 (no temperature) flags nothing.
    QTest::newRow("marks on") << true << true << 1
                              << QVector<bool>{false, false, true, true, false};
    QTest::newRow("marks off") << true << false << 1
                               << QVector<bool>{false, false, false, false, false};
    QTest::newRow("temperature only")
        << false << true << 1 << QVector<bool>{false, false, true, true, false};
    // Each value by its own quantity: a missing humidity is never marked.
    QTest::newRow("temperature cells")
        << true << true << 2 << QVector<bool>{false, false, true, true, false};
    QTest::newRow("humidity cells")
        << true << true << 3 << QVector<bool>{false, false, true, false, false};
}

void TestDataTable::alarmFlags()
{
    QFETCH(bool, humidity);
    QFETCH(bool, marks);
    QFETCH(int, column);
    QFETCH(QVector<bool>, flags);
    DataTableModel model(5);
    model.setSamples(samples(), 0, humidity, marks, limits());
    QVector<bool> got;
    for (int row = 0; row < model.rowCount(); ++row)
        got << model.index(row, column).data(Qt::UserRole).toBool();
    QCOMPARE(got, flags);
}

void TestDataTable::headerData()
{
    DataTableModel model(5);
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QString());
    QVERIFY(model.setHeaderData(2, Qt::Horizontal, "温度"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("温度"));
    // One past the end appends a column.
    QVERIFY(model.setHeaderData(5, Qt::Horizontal, "extra"));
    QCOMPARE(model.columnCount(), 6);
    QVERIFY(!model.setHeaderData(7, Qt::Horizontal, "gap"));
    QVERIFY(!model.setHeaderData(0, Qt::Vertical, "row"));
    QVERIFY(!model.setHeaderData(0, Qt::Horizontal, "tip", Qt::ToolTipRole));
    QVERIFY(!model.headerData(2, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(2, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void TestDataTable::setDataReplacesCellsAndFlags()
{
    DataTableModel model(5);
    model.setSamples(samples(), 0, true, true, limits());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(model.index(0, 2), "edited", Qt::DisplayRole));
    QVERIFY(model.setData(model.index(0, 0), true, Qt::UserRole));
    QVERIFY(!model.setData(model.index(0, 4), "no cell", Qt::DisplayRole));
    QVERIFY(!model.setData(model.index(0, 1), "x", Qt::ToolTipRole));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("edited"));
    QCOMPARE(model.index(0, 3).data().toString(), QStringLiteral("55.2%RH"));
    QVERIFY(model.index(0, 3).data(Qt::UserRole).toBool());
    QVERIFY(!model.index(1, 3).data(Qt::UserRole).toBool());

    // A new recording forgets the edits.
    model.setSamples(samples(), 0, true, true, limits());
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("21.5℃"));
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.setData(model.index(0, 2), "gone", Qt::DisplayRole));
}

void TestDataTable::rowBackgrounds_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("even row stays white") << 0 << false << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("odd row light grey") << 1 << false << QColor(247, 247, 247) << QColor(Qt::black);
    QTest::newRow("alarm row red text") << 2 << false << QColor(Qt::white) << QColor(Qt::red);
    QTest::newRow("selected alarm row grey, text red")
        << 2 << true << QColor(220, 220, 220) << QColor(Qt::red);
    QTest::newRow("selected odd row") << 1 << true << QColor(220, 220, 220) << QColor(Qt::black);
}

void TestDataTable::rowBackgrounds()
{
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    DataTableModel model(5);
    model.setSamples(samples(), 0, true, true, limits());
    DataTableModelDelegate delegate;
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, model.index(row, 1));
    }
    QCOMPARE(image.pixelColor(1, 1), background);
    QCOMPARE(image.pixelColor(198, 38), background);
    // The text is there, entirely in the expected colour where fully inked.
    const int inked = countPixels(image, [&](QColor c) { return c == text; });
    QVERIFY2(inked > 10, qPrintable(QString::number(inked)));
    const QColor other = text == QColor(Qt::red) ? QColor(Qt::black) : QColor(Qt::red);
    QCOMPARE(countPixels(image, [&](QColor c) { return c == other; }), 0);
}

void TestDataTable::headerHasRoundedOuterEnds()
{
    DataTableWidget table;
    table.resize(900, 200);
    table.setHeaderLabels({"编号", "日期时间", "温度", "湿度"});
    for (int column = 0; column < 4; ++column)
        table.setColumnWidth(column, 150);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QHeaderView *header = table.horizontalHeader();
    QCOMPARE(header->height(), 40);
    const QImage image = header->grab().toImage();
    const auto isBlack = [&](int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); };
    const int firstRight = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    const int lastLeft = header->sectionViewportPosition(4);
    const int lastRight = lastLeft + header->sectionSize(4) - 1;
    QVERIFY(!isBlack(0, 0));         // curved outer corner
    QVERIFY(isBlack(firstRight, 0)); // square inner corner
    QVERIFY(isBlack(lastLeft, 0));
    QVERIFY(!isBlack(lastRight, 0));
    QVERIFY(isBlack(header->sectionViewportPosition(2), 0)); // middle sections are plain
    QVERIFY(countPixels(image, [](QColor c) { return c == QColor(Qt::white); }) > 20);
}

void TestDataTable::widgetClearsAndSelects()
{
    DataTableWidget table;
    table.showSamples(samples(), 0, true, true, limits());
    table.makeRowCurrent(3);
    QCOMPARE(table.currentIndex().row(), 3);
    QCOMPARE(table.currentIndex().column(), 0);
    table.clearRows();
    QCOMPARE(table.model()->rowCount(), 0);
    QVERIFY(!table.selectionModel()->hasSelection());
}

QTEST_MAIN(TestDataTable)
#include "tst_datatable.moc"
