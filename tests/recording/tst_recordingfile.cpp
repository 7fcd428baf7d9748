// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of which files the reader opens: links, pipes, devices, huge files and undecodable names.
#include "recordingfiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace recordingfiles;

namespace
{

QByteArray validFile(int samples)
{
    ReadDevInfoJson info = basicRecord();
    info.recordNum = samples;
    info.numofReport = samples;
    QByteArray bytes = header(info);
    for (int i = 0; i < samples; ++i)
        bytes.append(sample(2100, 600));
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Reads `path` on a pool thread. A reader that blocks in a pipe's open is
// released by a writer that comes and goes, so the test fails instead of hanging.
LoadedRecording readWithin(const QString &path, int milliseconds, bool *inTime)
{
    QFuture<LoadedRecording> future = QtConcurrent::run(&RecordingReader::read, path);
    QElapsedTimer timer;
    timer.start();
    while (!future.isFinished() && timer.elapsed() < milliseconds)
        QThread::msleep(10);
    *inTime = future.isFinished();
    if (!*inTime) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    return future.result();
}

} // namespace

class TestRecordingFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oddFilesAreRefusedAtOnce_data();
    void oddFilesAreRefusedAtOnce();
    void sizeBound();
    void undecodableNameIsNamedAsSuch();

private:
    QTemporaryDir dir;
};

void TestRecordingFile::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath("good.data"), validFile(3)));
    QVERIFY(QFile::link(dir.filePath("good.data"), dir.filePath("link.data")));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), dir.filePath("zero.data")));
    QVERIFY(QFile::link(dir.filePath("gone.data"), dir.filePath("dangling.data")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo.data")).constData(), 0600), 0);
    // A valid header followed by 2 GB that take no room on the disk.
    QVERIFY(writeFile(dir.filePath("huge.data"), validFile(3)));
    QVERIFY(QFile::resize(dir.filePath("huge.data"), qint64(2) << 30));
    QVERIFY(QDir(dir.path()).mkdir("folder.data"));
}

void TestRecordingFile::oddFilesAreRefusedAtOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<RecordingStatus>("status");
    QTest::newRow("regular file") << "good.data" << RecordingStatus::Loaded;
    QTest::newRow("link to a regular file") << "link.data" << RecordingStatus::Loaded;
    QTest::newRow("named pipe") << "fifo.data" << RecordingStatus::NotRegularFile;
    QTest::newRow("link to /dev/zero") << "zero.data" << RecordingStatus::NotRegularFile;
    QTest::newRow("dangling link") << "dangling.data" << RecordingStatus::CannotOpen;
    QTest::newRow("valid header and 2 GB of zeros") << "huge.data" << RecordingStatus::TooLarge;
    QTest::newRow("folder") << "folder.data" << RecordingStatus::CannotOpen;
}

void TestRecordingFile::oddFilesAreRefusedAtOnce()
{
    QFETCH(QString, name);
    QFETCH(RecordingStatus, status);
    bool inTime = false;
    const LoadedRecording result = readWithin(dir.filePath(name), 2000, &inTime);
    QVERIFY2(inTime, "the reader blocked or read for seconds");
    QCOMPARE(result.status, status);
    QCOMPARE(result.sha256.isEmpty(), status != RecordingStatus::Loaded);
}

// The bound admits sixteen full logger memories with the largest header
// room, and not one byte more.
void TestRecordingFile::sizeBound()
{
    QCOMPARE(RecordingReader::loggerMemorySamples, 64512);
    QCOMPARE(RecordingReader::maximumFileSize,
             RecordingReader::maximumHeaderSize + qint64(RecordingReader::maximumSamples) * 4);
    const QString path = dir.filePath("bound.data");
    QVERIFY(writeFile(path, validFile(3)));
    QVERIFY(QFile::resize(path, RecordingReader::maximumFileSize));
    LoadedRecording result = RecordingReader::read(path);
    QCOMPARE(result.status, RecordingStatus::Loaded);
    QVERIFY(result.samples.size() > 1000000);
    QVERIFY(QFile::resize(path, RecordingReader::maximumFileSize + 1));
    result = RecordingReader::read(path);
    QCOMPARE(result.status, RecordingStatus::TooLarge);
    QVERIFY(result.samples.isEmpty());
}

// A name whose bytes are no UTF-8 cannot be spelt as a path here; the reader
// says so rather than that the file is missing.
void TestRecordingFile::undecodableNameIsNamedAsSuch()
{
    const QByteArray native = QFile::encodeName(dir.path()) + "/bad\xff\xfe.data";
    if (QFile::encodeName(QFile::decodeName(native)) == native)
        QSKIP("this locale's file name encoding spells every byte");
    const QByteArray bytes = validFile(3);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
    const QString path = QFile::decodeName(native);
    QCOMPARE(RecordingReader::read(path).status, RecordingStatus::UnreadableName);
    QCOMPARE(RecordingReader::read(dir.filePath("missing\xef\xbf\xbd.data")).status,
             RecordingStatus::CannotOpen);
}

QTEST_GUILESS_MAIN(TestRecordingFile)
#include "tst_recordingfile.moc"
