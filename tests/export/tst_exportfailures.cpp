// SPDX-License-Identifier: GPL-3.0-or-later
// Every export writer on a full disk and on a device: failure with its reason, nothing
// half-written.
#include "export/comparisonreport.h"
#include "export/exportfile.h"
#include "export/exportsupport.h"
#include "export/pdfreport.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "fullfolder.h"

#include <QtTest>
#include <functional>

namespace
{

using Writer = std::function<bool(const QString &path, QString *error)>;

// 1500 samples make every format larger than what a full folder has left.
const LoadedRecording &sample()
{
    static const LoadedRecording r = exporttest::recording(1500);
    return r;
}

QVector<ComparedRecording> comparison()
{
    ComparedRecording one;
    one.label = QStringLiteral("冷库 A");
    one.loaded = sample();
    ComparedRecording two = one;
    two.label = QStringLiteral("冷库 B");
    return {one, two};
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestExportFailures : public QObject
{
    Q_OBJECT
private slots:
    void fullDiskKeepsTheOlderFile_data();
    void fullDiskKeepsTheOlderFile();
    void successReplacesTheOlderFile_data();
    void successReplacesTheOlderFile();
    void rewindForgetsOnlyWhatIsHeldBack_data();
    void rewindForgetsOnlyWhatIsHeldBack();

private:
    void addWriters();
};

void TestExportFailures::addWriters()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Writer>("writer");
    QTest::newRow("PDF report") << "report.pdf" << Writer([](const QString &path, QString *error) {
        return writePdfReport(path, sample(), dataPageCount(1500), false, error);
    });
    QTest::newRow("spreadsheet") << "samples.csv"
                                 << Writer([](const QString &path, QString *error) {
                                        return writeSpreadsheet(path, sample(), error);
                                    });
    QTest::newRow("workbook") << "book.xlsx" << Writer([](const QString &path, QString *error) {
        return writeXlsxWorkbook(path, sample(), false, error);
    });
    QTest::newRow("comparison report")
        << "comparison.pdf" << Writer([](const QString &path, QString *error) {
               return ComparisonReport::write(path, comparison(), false, error);
           });
}

void TestExportFailures::fullDiskKeepsTheOlderFile_data()
{
    addWriters();
}

void TestExportFailures::fullDiskKeepsTheOlderFile()
{
    QFETCH(QString, name);
    QFETCH(Writer, writer);
    const testsupport::FullFolder full({name});
    if (!full.isReady())
        QSKIP(qPrintable(full.skipReason()));
    QString error;
    QVERIFY(!writer(full.filePath(name), &error));
    QCOMPARE(error, QStringLiteral("No space left on device"));
    QCOMPARE(full.leftovers({name}), QStringList());
    QFile older(full.filePath(name));
    QVERIFY(older.open(QIODevice::ReadOnly));
    QCOMPARE(older.readAll(), testsupport::FullFolder::olderContent(name));
}

void TestExportFailures::successReplacesTheOlderFile_data()
{
    addWriters();
}

void TestExportFailures::successReplacesTheOlderFile()
{
    QFETCH(QString, name);
    QFETCH(Writer, writer);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile older(path);
    QVERIFY(older.open(QIODevice::WriteOnly));
    older.write(testsupport::FullFolder::olderContent(name));
    older.close();
    QString error = QStringLiteral("untouched");
    QVERIFY(writer(path, &error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QVERIFY(QFileInfo(path).size() > 4096);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(name));
}

void TestExportFailures::rewindForgetsOnlyWhatIsHeldBack_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("rewound");
    QTest::newRow("nothing written") << 0 << true;
    QTest::newRow("a header") << 900 << true;
    QTest::newRow("just under 64 KiB") << 65535 << true;
    QTest::newRow("64 KiB handed on") << 65536 << false;
}

// A writer that starts over finds the file as it was, or is told it cannot.
void TestExportFailures::rewindForgetsOnlyWhatIsHeldBack()
{
    QFETCH(int, before);
    QFETCH(bool, rewound);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("restarted.pdf"));
    ExportFile file(path);
    QVERIFY(file.open());
    const QByteArray first(before, 'a');
    QVERIFY(file.write(first));
    QCOMPARE(file.rewind(), rewound);
    QVERIFY(file.write("second"));
    QVERIFY(file.commit());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), rewound ? QByteArray("second") : first + "second");
}

QTEST_MAIN(TestExportFailures)
#include "tst_exportfailures.moc"
