// SPDX-License-Identifier: GPL-3.0-or-later
// New files: hidden while written, named only when complete, never over another file.
#include "core/newfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QStringList everything(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
} // namespace

class TstNewFile : public QObject
{
    Q_OBJECT
private slots:
    void hiddenWhileWrittenThenNamed();
    void takenNamesGetTheNextFreeOne();
    void discardedAndFailedFilesLeaveNothing_data();
    void discardedAndFailedFilesLeaveNothing();
    void writerMayReplaceTheTemporaryFile();
    void leftoversGoButFilesBeingWrittenStay();
    void moveIntoAnotherFolderNeverReplaces();
};

void TstNewFile::hiddenWhileWrittenThenNamed()
{
    QTemporaryDir dir;
    NewFile file(dir.filePath("sub/folder"), "HX20D_20240131_142501.data");
    QVERIFY(!file.open());
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(QDir().mkpath(dir.filePath("sub/folder")));
    QVERIFY(file.open());
    QVERIFY(file.write(QByteArray("header")));
    // No listing of recordings takes it while it is being written.
    QVERIFY(QDir(dir.filePath("sub/folder")).entryList({"*.data"}, QDir::Files).isEmpty());
    const QString temporary = QFileInfo(file.temporaryPath()).fileName();
    QVERIFY2(temporary.startsWith('.') && NewFile::isTemporaryName(temporary),
             qPrintable(temporary));
    QVERIFY(file.write(QByteArray(" samples")));
    const QString path = file.commit();
    QCOMPARE(path, dir.filePath("sub/folder/HX20D_20240131_142501.data"));
    QCOMPARE(contentOf(path), QByteArray("header samples"));
    QCOMPARE(everything(dir.filePath("sub/folder")), QStringList{"HX20D_20240131_142501.data"});
    QVERIFY(!NewFile::isTemporaryName("HX20D_20240131_142501.data"));
    QVERIFY(!NewFile::isTemporaryName(".notes.part"));
}

void TstNewFile::takenNamesGetTheNextFreeOne()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a.conf"), "old"));
    QVERIFY(writeFile(dir.filePath("a_2.conf"), "old 2"));
    // A dangling link holds its name too.
    QVERIFY(QFile::link(dir.filePath("missing"), dir.filePath("a_3.conf")));
    const QString path = writeNewFile(
        dir.path(), "a.conf", [](const QString &temporary) { return writeFile(temporary, "new"); });
    QCOMPARE(path, dir.filePath("a_4.conf"));
    QCOMPARE(contentOf(path), QByteArray("new"));
    QCOMPARE(contentOf(dir.filePath("a.conf")), QByteArray("old"));
    QCOMPARE(contentOf(dir.filePath("a_2.conf")), QByteArray("old 2"));
}

void TstNewFile::discardedAndFailedFilesLeaveNothing_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("discarded") << 0;
    QTest::newRow("destroyed unfinished") << 1;
    QTest::newRow("writer failed") << 2;
    QTest::newRow("writer failed after writing") << 3;
}

void TstNewFile::discardedAndFailedFilesLeaveNothing()
{
    QFETCH(int, how);
    QTemporaryDir dir;
    if (how < 2) {
        NewFile file(dir.path(), "r.data");
        QVERIFY(file.open());
        QVERIFY(file.write(QByteArray("part")));
        if (how == 0)
            file.discard();
    } else {
        QString error;
        const QString path = writeNewFile(
            dir.path(), "r.pdf",
            [how](const QString &temporary) {
                if (how == 3)
                    writeFile(temporary, "x");
                return false;
            },
            &error);
        QVERIFY(path.isEmpty());
        QVERIFY(!error.isEmpty());
    }
    QVERIFY2(everything(dir.path()).isEmpty(), qPrintable(everything(dir.path()).join(' ')));
}

// A writer that saves through QSaveFile replaces the file at the path it was given.
void TstNewFile::writerMayReplaceTheTemporaryFile()
{
    QTemporaryDir dir;
    const QString path = writeNewFile(dir.path(), "r.csv", [](const QString &temporary) {
        QSaveFile file(temporary);
        return file.open(QIODevice::WriteOnly) && file.write("a;b\n") == 4 && file.commit();
    });
    QCOMPARE(path, dir.filePath("r.csv"));
    QCOMPARE(contentOf(path), QByteArray("a;b\n"));
    QCOMPARE(everything(dir.path()), QStringList{"r.csv"});
}

void TstNewFile::leftoversGoButFilesBeingWrittenStay()
{
    QTemporaryDir dir;
    // What a program killed while writing leaves: a temporary file nobody holds.
    const QString leftover = dir.filePath(".HX20D_20240131_142501.data.Ab12Cd.part");
    QVERIFY(writeFile(leftover, "cut short"));
    QVERIFY(writeFile(dir.filePath(".notes.part"), "not ours"));
    QVERIFY(writeFile(dir.filePath("HX20D_20240131_142500.data"), "complete"));
    NewFile busy(dir.path(), "HX20D_20240131_142502.data");
    QVERIFY(busy.open());
    QVERIFY(busy.write(QByteArray("being written")));

    QCOMPARE(NewFile::removeLeftovers(dir.path()), 1);
    QVERIFY(!QFile::exists(leftover));
    QVERIFY(QFile::exists(busy.temporaryPath()));
    QVERIFY(QFile::exists(dir.filePath(".notes.part")));
    QVERIFY(QFile::exists(dir.filePath("HX20D_20240131_142500.data")));
    QCOMPARE(contentOf(busy.commit()), QByteArray("being written"));
}

void TstNewFile::moveIntoAnotherFolderNeverReplaces()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("to")));
    QVERIFY(writeFile(dir.filePath("to/r.data"), "older"));
    QVERIFY(writeFile(dir.filePath("r.data"), "newer"));
    const QString moved = moveInto(dir.filePath("r.data"), dir.filePath("to"));
    QCOMPARE(moved, dir.filePath("to/r_2.data"));
    QCOMPARE(contentOf(moved), QByteArray("newer"));
    QCOMPARE(contentOf(dir.filePath("to/r.data")), QByteArray("older"));
    QVERIFY(!QFile::exists(dir.filePath("r.data")));
    // Into its own folder a file stays where it is.
    QCOMPARE(moveInto(moved, dir.filePath("to")), moved);
    QString error;
    QVERIFY(moveInto(dir.filePath("missing.data"), dir.filePath("to"), &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TstNewFile)
#include "tst_newfile.moc"
