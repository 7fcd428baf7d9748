// SPDX-License-Identifier: GPL-3.0-or-later
// The logger API: exactly the chosen device, typed results, and the download in the caller's folder.
#include "core/lgxdevtype.h"
#include "device/loggersession.h"
#include "loggersim.h"
#include "platform/loggerenumeration.h"
#include "recording/recordinganalysis.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

Q_DECLARE_METATYPE(LoggerError)

namespace
{
// Makes one request and waits for its one result; `synchronous` tells whether
// the result came before the request returned.
template <class T>
LoggerResult<T> await(const std::function<void(const LoggerSession::Callback<T> &)> &request,
                      bool *synchronous = nullptr)
{
    auto got = std::make_shared<std::optional<LoggerResult<T>>>();
    auto calls = std::make_shared<int>(0);
    request([got, calls](const LoggerResult<T> &result) {
        ++*calls;
        *got = result;
    });
    if (synchronous)
        *synchronous = got->has_value();
    if (!QTest::qWaitFor([got] { return got->has_value(); }, 15000))
        return {LoggerError::NoAnswer, T{}};
    QTest::qWait(20);
    if (*calls != 1)
        qWarning("a request reported %d times", *calls);
    return got->value();
}

LoggerResult<LoggerIdentity> openIn(LoggerSession &session, const AttachedLogger &logger)
{
    return await<LoggerIdentity>([&](const auto &done) { session.open(logger, done); });
}

loggersim::LoggerSetup setupOf(const QString &sn, qint64 samples)
{
    loggersim::LoggerSetup setup;
    setup.sn = sn;
    setup.samples = samples;
    return setup;
}
} // namespace

class TstLoggerSession : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void opensExactlyTheChosenLogger_data();
    void opensExactlyTheChosenLogger();
    void failuresAreTyped_data();
    void failuresAreTyped();
    void downloadGoesIntoTheCallersFolder();
    void cancelledDownloadLeavesNothing();
};

void TstLoggerSession::initTestCase()
{
    loggersim::setReadWaitLimit(100);
}

void TstLoggerSession::opensExactlyTheChosenLogger_data()
{
    QTest::addColumn<bool>("replugChosen");
    QTest::newRow("another plugged in ahead") << false;
    // Replugged, it is another device: opening the old one fails instead of
    // opening whatever now sits first.
    QTest::newRow("the chosen one replugged") << true;
}

void TstLoggerSession::opensExactlyTheChosenLogger()
{
    QFETCH(bool, replugChosen);
    loggersim::configure(QStringLiteral("HX20D:sn=CHOSEN:samples=10"));
    const int chosenId = loggersim::loggerIds().first();
    const AttachedLogger chosen = listAttachedLoggerDevices().value(0);
    // Between listing and opening, another logger of the same model comes in at
    // the front of the device list.
    const int other = loggersim::addLogger(setupOf(QStringLiteral("OTHER"), 10));
    loggersim::unplug(other);
    loggersim::plugAhead(other);
    if (replugChosen) {
        loggersim::unplug(chosenId);
        loggersim::plug(chosenId);
    }
    QCOMPARE(listAttachedLoggerDevices().value(0).model, chosen.model);
    QVERIFY(listAttachedLoggerDevices().value(0) != chosen);

    LoggerSession session;
    const LoggerResult<LoggerIdentity> opened = openIn(session, chosen);
    if (replugChosen) {
        QCOMPARE(opened.error, LoggerError::OpenFailed);
        QVERIFY(!session.isOpen());
        QCOMPARE(loggersim::openCount(other), 0);
        return;
    }
    QVERIFY(opened.ok());
    QCOMPARE(opened.value.sn, QStringLiteral("CHOSEN"));
    QCOMPARE(opened.value.logger, chosen);
    QCOMPARE(opened.value.logger.portPath, chosen.portPath);
    QCOMPARE(loggersim::openCount(other), 0);
}

void TstLoggerSession::failuresAreTyped_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<LoggerError>("error");
    QTest::newRow("no records") << "norecords" << LoggerError::NoRecords;
    QTest::newRow("silent after opening") << "silent" << LoggerError::NoAnswer;
    QTest::newRow("folder is a file") << "nofolder" << LoggerError::CannotCreateFile;
    QTest::newRow("second request while one waits") << "busy" << LoggerError::Busy;
    QTest::newRow("nothing open") << "notopen" << LoggerError::NotOpen;
    QTest::newRow("open refused") << "refused" << LoggerError::OpenFailed;
}

void TstLoggerSession::failuresAreTyped()
{
    QFETCH(QString, what);
    QFETCH(LoggerError, error);
    loggersim::configure(what == QLatin1String("norecords") ? QStringLiteral("HX10D:samples=0")
                                                            : QStringLiteral("HX10D:samples=50"));
    const int id = loggersim::loggerIds().first();
    LoggerSession session;
    QTemporaryDir dir;
    bool synchronous = true;
    LoggerResult<RecordCounts> counts;
    if (what == QLatin1String("notopen")) {
        counts = await<RecordCounts>([&](const auto &done) { session.readRecordCount(done); },
                                     &synchronous);
        QCOMPARE(counts.error, error);
        QVERIFY(!synchronous);
        return;
    }
    if (what == QLatin1String("refused")) {
        loggersim::Faults refuse;
        refuse.refuseOpen = true;
        loggersim::setFaults(id, refuse);
    }
    const LoggerResult<LoggerIdentity> opened =
        await<LoggerIdentity>([&](const auto &done) { session.open(listAttachedLoggerDevices()
                                                                       .value(0), done); },
                              &synchronous);
    // Even a refusal known at once arrives from the event loop.
    QVERIFY(!synchronous);
    if (what == QLatin1String("refused")) {
        QCOMPARE(opened.error, error);
        return;
    }
    QVERIFY(opened.ok());
    if (what == QLatin1String("silent")) {
        loggersim::Faults silent;
        silent.silent = true;
        loggersim::setFaults(id, silent);
        const auto read =
            await<LoggerSettings>([&](const auto &done) { session.readSettings(done); });
        QCOMPARE(read.error, error);
        return;
    }
    if (what == QLatin1String("busy")) {
        std::optional<LoggerResult<RecordCounts>> first;
        session.readRecordCount([&](const LoggerResult<RecordCounts> &r) { first = r; });
        counts = await<RecordCounts>([&](const auto &done) { session.readRecordCount(done); });
        QCOMPARE(counts.error, error);
        QTRY_VERIFY(first.has_value());
        QVERIFY(first->ok());
        QCOMPARE(first->value.numofReport, 50);
        return;
    }
    const QString folder = what == QLatin1String("nofolder") ? dir.filePath(QStringLiteral("f"))
                                                             : dir.path();
    if (what == QLatin1String("nofolder")) {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const auto got = await<DownloadedRecording>(
        [&](const auto &done) { session.download(folder, nullptr, done); });
    QCOMPARE(got.error, error);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
             what == QLatin1String("nofolder") ? 1 : 0);
    // The session goes on: the next request is served.
    counts = await<RecordCounts>([&](const auto &done) { session.readRecordCount(done); });
    QVERIFY(counts.ok());
}

void TstLoggerSession::downloadGoesIntoTheCallersFolder()
{
    loggersim::configure(QStringLiteral("HX20D:sn=DL1:samples=2100"));
    LoggerSession session;
    QVERIFY(openIn(session, listAttachedLoggerDevices().value(0)).ok());
    QTemporaryDir dir;
    QList<int> blocks;
    const auto got = await<DownloadedRecording>([&](const auto &done) {
        session.download(dir.path(), [&](int cur, int) { blocks << cur; }, done);
    });
    QVERIFY(got.ok());
    QCOMPARE(blocks, QList<int>({1, 2, 3}));
    QCOMPARE(QFileInfo(got.value.path).path(), dir.path());
    QFile file(got.value.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The bytes handed back are the file's, and so is the fingerprint taken while writing.
    QCOMPARE(file.readAll(), got.value.bytes);
    QCOMPARE(got.value.recording.sha256, RecordingAnalysis::fingerprint(got.value.bytes));
    QVERIFY(got.value.recording.ok());
    QCOMPARE(got.value.recording.recording.sn, QStringLiteral("DL1"));
    QCOMPARE(got.value.recording.samples.size(), 2100);
}

void TstLoggerSession::cancelledDownloadLeavesNothing()
{
    loggersim::configure(QStringLiteral("HX20D:samples=20000:latency=30"));
    LoggerSession session;
    QVERIFY(openIn(session, listAttachedLoggerDevices().value(0)).ok());
    QTemporaryDir dir;
    const auto got = await<DownloadedRecording>([&](const auto &done) {
        session.download(
            dir.path(), [&](int cur, int) { if (cur == 2) session.cancel(); }, done);
    });
    QCOMPARE(got.error, LoggerError::Cancelled);
    QTest::qWait(300);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QCoreApplication app(argc, argv);
    qRegisterMetaType<LoggerError>();
    TstLoggerSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_loggersession.moc"
