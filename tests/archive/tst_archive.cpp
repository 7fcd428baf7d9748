// SPDX-License-Identifier: GPL-3.0-or-later
// The recordings archive on SQLite and on PostgreSQL: import, search, history, a team archive
// shared by two computers, a killed import and damaged files.
#include "archive/archive.h"
#include "loggersim.h"
#include "pgcluster.h"
#include "recordingbytes.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace
{
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QDateTime day(int month, int dayOfMonth)
{
    return QDateTime(QDate(2026, month, dayOfMonth), QTime(8, 0));
}

// Runs `statements` on a connection of its own, as another program would.
void execRaw(const ArchiveLocation &location, const QStringList &statements,
             const QVariantList &values = {})
{
    {
        const bool team = location.isTeamArchive();
        QSqlDatabase db = QSqlDatabase::addDatabase(QLatin1String(team ? "QPSQL" : "QSQLITE"), "raw");
        if (team) {
            db.setHostName(location.host);
            db.setPort(location.port);
            db.setDatabaseName(location.database);
            db.setUserName(location.user);
        } else {
            db.setDatabaseName(location.filePath);
        }
        QVERIFY(db.open());
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            // PostgreSQL prepares no schema changes: those run as they are.
            const int bound = statement.count(QLatin1Char('?'));
            bool done = false;
            if (bound == 0) {
                done = query.exec(statement);
            } else {
                query.prepare(statement);
                for (int i = 0; i < bound; ++i)
                    query.addBindValue(values.at(i));
                done = query.exec();
            }
            QVERIFY2(done, qPrintable(statement + ": " + query.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
}

QStringList names(const QVector<ArchiveEntry> &entries)
{
    QStringList result;
    for (const ArchiveEntry &e : entries)
        result << e.name;
    return result;
}
} // namespace

class TstArchive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void importTwiceKeepsOneEntryPerFile_data() { engines(); }
    void importTwiceKeepsOneEntryPerFile();
    void searchesByEachFilter_data() { engines(); }
    void searchesByEachFilter();
    void historyMergesOverlappingDownloads_data() { engines(); }
    void historyMergesOverlappingDownloads();
    void anotherComputerOpensTheFile_data() { engines(); }
    void anotherComputerOpensTheFile();
    void killedImportLeavesAConsistentArchive_data() { engines(); }
    void killedImportLeavesAConsistentArchive();
    void unreachableServerIsReported();
    void commandLineImportCheckAndHistory();
    void cutRecordingIsMarkedAndChecked_data() { engines(); }
    void cutRecordingIsMarkedAndChecked();
    void olderArchiveGainsTheMark_data() { engines(); }
    void olderArchiveGainsTheMark();
    void tamperingIsNamed_data();
    void tamperingIsNamed();
    void readsNeedNoWriteLock_data();
    void readsNeedNoWriteLock();
    void concurrentWritersAllSucceed_data() { engines(); }
    void concurrentWritersAllSucceed();
    void evaluationSettingsAreRememberedPerSerial_data() { engines(); }
    void evaluationSettingsAreRememberedPerSerial();

private:
    void engines();
    // A fresh, empty archive of the current row's engine.
    ArchiveLocation freshLocation();
    QString runCli(const QStringList &arguments, const QString &loggers = QString(),
                   int *exitCode = nullptr);

    PgCluster postgres;
    QString postgresError;
    QTemporaryDir home;
    int databases = 0;
};

void TstArchive::initTestCase()
{
    QVERIFY(home.isValid());
    QVERIFY2(postgres.start(&postgresError), qPrintable(postgresError));
}

void TstArchive::init()
{
    QDir(home.path()).removeRecursively();
    QDir().mkpath(home.path());
}

void TstArchive::engines()
{
    QTest::addColumn<bool>("team");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgresql") << true;
}

ArchiveLocation TstArchive::freshLocation()
{
    QFETCH(bool, team);
    const QString name = QStringLiteral("archive%1").arg(++databases);
    if (!team)
        return ArchiveLocation::local(home.filePath(name));
    ArchiveLocation location;
    QString error;
    if (!postgres.createDatabase(name, &location, &error))
        qFatal("cannot create a database: %s", qPrintable(error));
    return location;
}

QString locationUrl(const ArchiveLocation &location)
{
    if (!location.isTeamArchive())
        return location.filePath;
    return QStringLiteral("postgresql://%1@:%2/%3?host=%4")
        .arg(location.user)
        .arg(location.port)
        .arg(location.database, location.host);
}

QString TstArchive::runCli(const QStringList &arguments, const QString &loggers, int *exitCode)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), loggers.isEmpty() ? QStringLiteral("none")
                                                                      : loggers);
    environment.insert(QStringLiteral("HOME"), home.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    process.waitForFinished(60000);
    if (exitCode)
        *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// Files already archived, under another name too, are one entry; a damaged
// file is named and never stored.
void TstArchive::importTwiceKeepsOneEntryPerFile()
{
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    const QByteArray first = recordingBytes({"A1", "Fridge", "", day(3, 1)});
    writeFile(folder + "/a.data", first);
    writeFile(folder + "/a-copy.data", first);
    writeFile(folder + "/b.data", recordingBytes({"B1", "Freezer", "", day(3, 2)}));
    writeFile(folder + "/damaged.data", first.left(900));
    // Without a single temperature its figures are stored as NULL.
    writeFile(folder + "/c.data",
              recordingBytes({"C1", "Probe off", "", day(3, 3), 1, qint16(noValueMarker)}));
    writeFile(folder + "/notes.txt", "not a recording");

    Archive archive;
    QVERIFY2(archive.open(freshLocation()), qPrintable(archive.errorText()));
    QStringList skipped;
    Archive::ImportSummary summary = archive.importFolder(
        folder, [&skipped](const QString &path, const Archive::Outcome &outcome) {
            if (outcome.kind == Archive::Outcome::Skipped)
                skipped << QFileInfo(path).fileName() + QStringLiteral(": ") + outcome.reason;
        });
    QCOMPARE(summary.added, 3);
    QCOMPARE(summary.known, 1);
    QCOMPARE(summary.skipped, 1);
    QCOMPARE(skipped, QStringList{"damaged.data: it is too short"});

    summary = archive.importFolder(folder);
    QCOMPARE(summary.added, 0);
    QCOMPARE(summary.known, 4);
    QCOMPARE(archive.find({}).size(), 3);
    QCOMPARE(archive.addFile(folder + "/b.data").kind, Archive::Outcome::Known);

    // A file that left the folder keeps its entry; without a copy anywhere it is gone.
    QVERIFY(QFile::remove(folder + "/b.data"));
    archive.importFolder(folder);
    const QVector<ArchiveEntry> entries = archive.find({});
    QCOMPARE(names(entries), (QStringList{"Probe off", "Freezer", "Fridge"}));
    QVERIFY(!entries.at(0).mktCelsius && !entries.at(0).temperatureMin);
    QVERIFY(entries.at(2).mktCelsius && entries.at(2).temperatureMin);
    QVERIFY(entries.at(1).path.isEmpty());
    QCOMPARE(entries.at(1).fileGone, !archive.location().isTeamArchive());
    QVERIFY(QFileInfo::exists(entries.at(2).path));
    QVERIFY(archive.check().isEmpty() == archive.location().isTeamArchive());
}

void TstArchive::searchesByEachFilter()
{
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    writeFile(folder + "/1.data", recordingBytes({"H2B0012345", "Cold room", "", day(3, 1), 100}));
    writeFile(folder + "/2.data",
              recordingBytes({"H2B0012345", "Cold room", "Door 50%_open", day(3, 20), 100, 3200}));
    writeFile(folder + "/3.data", recordingBytes({"H1X7", "Pharmacy", "", day(4, 2), 100}));
    writeFile(folder + "/4.data", recordingBytes({"H1X7", "Pharmacy", "shelf", day(2, 27),
                                                  3 * 1440}));
    writeFile(folder + "/5.data", recordingBytes({"H9", "Ölkeller", "Ärger", day(1, 5), 100}));
    Archive archive;
    QVERIFY2(archive.open(freshLocation()), qPrintable(archive.errorText()));
    QCOMPARE(archive.importFolder(folder).added, 5);

    const qint64 march1 = QDateTime(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 march31 = QDateTime(QDate(2026, 3, 31), QTime(23, 59, 59), Qt::UTC)
                               .toSecsSinceEpoch();
    const auto found = [&archive](ArchiveFilter f) {
        QStringList result;
        for (const ArchiveEntry &e : archive.find(f))
            result << e.name + QLatin1Char('/') + e.note;
        return result;
    };
    ArchiveFilter bySerial;
    bySerial.serial = QStringLiteral("H2B0012345");
    QCOMPARE(found(bySerial), (QStringList{"Cold room/Door 50%_open", "Cold room/"}));
    ArchiveFilter inMarch;
    inMarch.from = march1;
    inMarch.to = march31;
    // The recording that began in February and ran into March counts.
    QCOMPARE(found(inMarch),
             (QStringList{"Cold room/Door 50%_open", "Pharmacy/shelf", "Cold room/"}));
    ArchiveFilter outOfRange;
    outOfRange.outOfRangeOnly = true;
    QCOMPARE(found(outOfRange), QStringList{"Cold room/Door 50%_open"});
    ArchiveFilter text;
    text.text = QStringLiteral("PHARM");
    QCOMPARE(found(text), (QStringList{"Pharmacy/", "Pharmacy/shelf"}));
    text.text = QStringLiteral("50%_");
    QCOMPARE(found(text), QStringList{"Cold room/Door 50%_open"});
    // Any letter in any case, on both engines.
    for (const char *any : {"ärger", "ÄRGER", "ölKELLER"}) {
        text.text = QString::fromUtf8(any);
        QCOMPARE(found(text), QStringList{QString::fromUtf8("Ölkeller/Ärger")});
    }
    text.text = QStringLiteral("0%o");
    QCOMPARE(found(text), QStringList());
    ArchiveFilter all = inMarch;
    all.serial = QStringLiteral("H1X7");
    all.text = QStringLiteral("shelf");
    QCOMPARE(found(all), QStringList{"Pharmacy/shelf"});
    // A limit keeps the newest entries; the count is of every match.
    ArchiveFilter newest = inMarch;
    newest.limit = 2;
    QCOMPARE(found(newest), (QStringList{"Cold room/Door 50%_open", "Pharmacy/shelf"}));
    QCOMPARE(archive.count(newest), 3);
    QCOMPARE(archive.count(text), 0);

    // The command line prints the same search, one JSON line each.
    int exitCode = -1;
    const QString lines = runCli({"archive", "list", "--archive", locationUrl(archive.location()),
                                  "--serial", "H2B0012345", "--from", "2026-03-15",
                                  "--out-of-range"},
                                 QString(), &exitCode);
    QCOMPARE(exitCode, 0);
    const QJsonObject line = QJsonDocument::fromJson(lines.toUtf8()).object();
    QCOMPARE(line.value("name").toString(), QStringLiteral("Cold room"));
    QCOMPARE(line.value("start").toString(), QStringLiteral("2026-03-20T08:00:00"));
    QCOMPARE(line.value("samples").toInt(), 100);
    QCOMPARE(line.value("outOfRange").toBool(), true);
    QCOMPARE(line.value("path").toString(), QDir(folder).filePath("2.data"));
}

// Three downloads of one logger in loop mode, each overlapping the one before,
// make one series equal to what the logger recorded.
void TstArchive::historyMergesOverlappingDownloads()
{
    const ArchiveLocation location = freshLocation();
    const QString logger =
        QStringLiteral("HX20D:sn=H2HIST0001:interval=1:samples=%1:start=2026-03-01T00:00:00");
    QVector<loggersim::Sample> expected;
    for (int samples : {70000, 90000, 110000}) {
        int exitCode = -1;
        const QString output = runCli({"download", "--archive", locationUrl(location)},
                                      logger.arg(samples), &exitCode);
        QVERIFY2(exitCode == 0 && !output.contains("not added"), qPrintable(output));
        loggersim::configure(logger.arg(samples));
        const QVector<loggersim::Sample> held =
            loggersim::heldSamples(loggersim::loggerIds().constFirst());
        for (const loggersim::Sample &s : held) {
            if (expected.isEmpty() || s.time > expected.constLast().time)
                expected << s;
        }
    }
    loggersim::configure(QStringLiteral("none"));
    QCOMPARE(expected.size(), 110000 - 70000 + loggersim::memoryCapacity);

    Archive archive;
    QVERIFY2(archive.open(location), qPrintable(archive.errorText()));
    QCOMPARE(archive.find({}).size(), 3);
    const LoadedRecording history = archive.history(QStringLiteral("H2HIST0001"));
    QVERIFY2(history.ok(), qPrintable(archive.errorText()));
    QCOMPARE(history.samples.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const SamplePoint &got = history.samples.at(i);
        const loggersim::Sample &want = expected.at(i);
        const int temperature = want.temperature == loggersim::noValue
                                    ? qRound(noSampleTemperature * 100)
                                    : want.temperature;
        if (got.time != want.time || qRound(got.temperature * 100) != temperature)
            QFAIL(qPrintable(QStringLiteral("sample %1 differs: %2 %3, expected %4 %5")
                                 .arg(i)
                                 .arg(got.time)
                                 .arg(got.temperature)
                                 .arg(want.time)
                                 .arg(want.temperature)));
    }
    QCOMPARE(history.recording.numofReport, expected.size());
    QVERIFY(history.sha256.isEmpty());
    QVERIFY(!archive.history(QStringLiteral("nobody")).ok());
}

// A recording added on one computer opens on another: through the team
// archive's copy of the file; a local archive can only say that it is gone.
void TstArchive::anotherComputerOpensTheFile()
{
    const ArchiveLocation location = freshLocation();
    const QString path = home.filePath(QStringLiteral("pc-a.data"));
    const QByteArray bytes = recordingBytes({"T1", "Truck", "", day(5, 1), 500});
    writeFile(path, bytes);
    QString sha256;
    {
        Archive pcA;
        pcA.setComputerName(QStringLiteral("pc-a"));
        QVERIFY2(pcA.open(location), qPrintable(pcA.errorText()));
        const Archive::Outcome outcome = pcA.addFile(path);
        QCOMPARE(outcome.kind, Archive::Outcome::Added);
        sha256 = outcome.sha256;
    }
    QVERIFY(QFile::remove(path));

    Archive pcB;
    pcB.setComputerName(QStringLiteral("pc-b"));
    QVERIFY2(pcB.open(location), qPrintable(pcB.errorText()));
    const ArchiveEntry entry = pcB.entry(sha256);
    QCOMPARE(entry.addedBy, QStringLiteral("pc-a"));
    QVERIFY(entry.path.isEmpty());
    if (!location.isTeamArchive()) {
        QVERIFY(entry.fileGone);
        QVERIFY(pcB.fileBytes(sha256).isEmpty());
        QVERIFY(pcB.errorText().contains("not on this computer"));
        return;
    }
    QVERIFY(entry.hasContent);
    QCOMPARE(pcB.fileBytes(sha256), bytes);
    const LoadedRecording recording = pcB.load(sha256);
    QVERIFY(recording.ok());
    QCOMPARE(recording.sha256, sha256);
    QCOMPARE(recording.samples.size(), 500);

    const QString copy = home.filePath(QStringLiteral("copy.data"));
    int exitCode = -1;
    runCli({"archive", "get", sha256, "--out", copy, "--archive", locationUrl(location)},
           QString(), &exitCode);
    QCOMPARE(exitCode, 0);
    QFile written(copy);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);
}

// A kill between two batches leaves whole entries only, and the next import
// completes the archive.
void TstArchive::killedImportLeavesAConsistentArchive()
{
    const QString folder = home.filePath(QStringLiteral("many"));
    QDir().mkpath(folder);
    const int files = 3000;
    for (int i = 0; i < files; ++i)
        writeFile(QStringLiteral("%1/%2.data").arg(folder).arg(i, 4, 10, QLatin1Char('0')),
                  recordingBytes({QStringLiteral("K%1").arg(i), "Kill", "", day(6, 1).addDays(i),
                                  200}));
    const ArchiveLocation location = freshLocation();
    {
        Archive prepared;
        QVERIFY(prepared.open(location));
    }
    QProcess import;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("LOGGERSIM"), QStringLiteral("none"));
    import.setProcessEnvironment(environment);
    import.start(QStringLiteral(HYGRA_CLI_DEMO),
                 {"archive", "import", folder, "--archive", locationUrl(location)});
    QVERIFY(import.waitForStarted());
    Archive watcher;
    QVERIFY(watcher.open(location));
    int seen = 0;
    QElapsedTimer clock;
    clock.start();
    while (seen == 0 && import.state() == QProcess::Running && clock.elapsed() < 60000) {
        QTest::qWait(5);
        seen = watcher.find({}).size();
    }
    QVERIFY2(seen > 0 && seen < files, "the import was not caught halfway");
    import.kill();
    import.waitForFinished();

    const QVector<ArchiveEntry> kept = watcher.find({});
    QVERIFY(kept.size() >= seen && kept.size() < files);
    for (const ArchiveEntry &e : kept)
        QVERIFY2(!e.path.isEmpty() && e.samples == 200, qPrintable(e.sha256));
    if (!location.isTeamArchive()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                    QStringLiteral("integrity"));
        db.setDatabaseName(location.filePath);
        QVERIFY(db.open());
        QSqlQuery check(QStringLiteral("PRAGMA integrity_check"), db);
        QVERIFY(check.next());
        QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
        check.finish();
        db.close();
    }
    const Archive::ImportSummary summary = watcher.importFolder(folder);
    QCOMPARE(summary.added + summary.known, files);
    QCOMPARE(watcher.find({}).size(), files);
}

void TstArchive::unreachableServerIsReported()
{
    ArchiveLocation location;
    QString error;
    QVERIFY(ArchiveLocation::parse(
        QStringLiteral("postgresql://nobody@/nothing?host=/nonexistent/socket"), &location,
        &error));
    Archive archive;
    QVERIFY(!archive.open(location));
    QVERIFY2(archive.errorText().startsWith("cannot open the archive nobody@/nonexistent/socket"),
             qPrintable(archive.errorText()));
    QVERIFY(!ArchiveLocation::parse(QStringLiteral("postgresql://host:5432/"), &location, &error));
    QVERIFY(!ArchiveLocation::parse(QStringLiteral("mysql://host/db"), &location, &error));
    QVERIFY(ArchiveLocation::parse(QStringLiteral("sqlite:///tmp/a.sqlite"), &location, &error));
    QCOMPARE(location.filePath, QStringLiteral("/tmp/a.sqlite"));

    int exitCode = -1;
    const QString output =
        runCli({"archive", "list", "--archive", "postgresql://x@/y?host=/nonexistent/socket"},
               QString(), &exitCode);
    QCOMPARE(exitCode, 16);
    QVERIFY2(output.contains("cannot open the archive"), qPrintable(output));
}

// The command line over a local archive: counts, a changed file found by
// check, a history written as a report.
void TstArchive::commandLineImportCheckAndHistory()
{
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    writeFile(folder + "/1.data", recordingBytes({"H9", "Cellar", "", day(7, 1), 300}));
    writeFile(folder + "/2.data", recordingBytes({"H9", "Cellar", "", day(7, 1).addSecs(7200), 300}));
    writeFile(folder + "/bad.data", QByteArray(2000, 'x'));
    const QString url = home.filePath(QStringLiteral("cli.sqlite"));
    int exitCode = -1;
    QString output = runCli({"archive", "import", folder, "--archive", url}, QString(), &exitCode);
    QCOMPARE(exitCode, 0);
    QVERIFY2(output.contains("{\"added\":2,\"known\":0,\"skipped\":1}"), qPrintable(output));
    QVERIFY2(output.contains("skipped " + folder + "/bad.data: it names no known logger model"),
             qPrintable(output));

    const QString pdf = home.filePath(QStringLiteral("history.pdf"));
    runCli({"archive", "history", "H9", "--pdf", pdf, "--archive", url}, QString(), &exitCode);
    QCOMPARE(exitCode, 0);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString report = QString::fromUtf8(text.readAllStandardOutput());
    // 300 + 300 one-minute samples two hours apart: 420 distinct ones.
    QVERIFY2(report.contains("420"), qPrintable(report.left(2000)));
    QVERIFY(report.contains("H9"));

    QCOMPARE(runCli({"archive", "check", "--archive", url}, QString(), &exitCode), QString());
    QCOMPARE(exitCode, 0);
    writeFile(folder + "/1.data", recordingBytes({"H9", "Cellar", "changed", day(7, 1), 300}));
    output = runCli({"archive", "check", "--archive", url}, QString(), &exitCode);
    QCOMPARE(exitCode, 18);
    QVERIFY2(output.contains("\"problem\":\"the file has changed\""), qPrintable(output));
    runCli({"archive", "get", QString(64, 'a'), "--out", pdf, "--archive", url}, QString(),
           &exitCode);
    QCOMPARE(exitCode, 17);
}

// A file a crash cut short is archived with its mark, and check names it on
// this computer from its bytes and on another one from the mark.
void TstArchive::cutRecordingIsMarkedAndChecked()
{
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    const QByteArray whole = recordingBytes({"X1", "Cut", "", day(8, 1), 300});
    writeFile(folder + "/cut.data", whole.left(whole.size() - 200 * 4));
    writeFile(folder + "/whole.data", recordingBytes({"X2", "Whole", "", day(8, 2), 300}));
    const ArchiveLocation location = freshLocation();
    Archive archive;
    QVERIFY2(archive.open(location), qPrintable(archive.errorText()));
    QStringList incomplete;
    const Archive::ImportSummary summary = archive.importFolder(
        folder, [&incomplete](const QString &path, const Archive::Outcome &outcome) {
            if (outcome.kind == Archive::Outcome::Added &&
                outcome.samples < outcome.expectedSamples)
                incomplete << QFileInfo(path).fileName();
        });
    QCOMPARE(summary.added, 2);
    QCOMPARE(incomplete, QStringList{"cut.data"});
    const QVector<ArchiveEntry> entries = archive.find({});
    QCOMPARE(names(entries), (QStringList{"Whole", "Cut"}));
    QVERIFY(entries.at(0).complete());
    QVERIFY(!entries.at(1).complete());
    QCOMPARE(entries.at(1).samples, 100);
    QCOMPARE(entries.at(1).expectedSamples, 300);

    const QVector<Archive::Problem> problems = archive.check();
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems.first().sha256, entries.at(1).sha256);
    QCOMPARE(problems.first().reason, QStringLiteral("incomplete recording: 100 of 300 samples"));
    if (!location.isTeamArchive())
        return;
    Archive elsewhere;
    elsewhere.setComputerName(QStringLiteral("pc-b"));
    QVERIFY(elsewhere.open(location));
    const QVector<Archive::Problem> seen = elsewhere.check();
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen.first().path.isEmpty());
    QCOMPARE(seen.first().reason, problems.first().reason);
}

// An archive written before entries carried their expected count opens, its
// entries read as complete, and new entries get the count.
void TstArchive::olderArchiveGainsTheMark()
{
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    writeFile(folder + "/old.data", recordingBytes({"O1", "Old", "", day(9, 1), 50}));
    const ArchiveLocation location = freshLocation();
    {
        Archive archive;
        QVERIFY(archive.open(location));
        QCOMPARE(archive.importFolder(folder).added, 1);
    }
    execRaw(location, {"ALTER TABLE recordings DROP COLUMN expected_samples",
                       "ALTER TABLE locations DROP COLUMN login", "DROP TABLE evaluation_settings",
                       "DROP TABLE audit_trail", "DROP TABLE review_choices",
                       "DROP TABLE signature_meanings", "UPDATE schema_version SET version = 1"});

    Archive archive;
    QVERIFY2(archive.open(location), qPrintable(archive.errorText()));
    QVector<ArchiveEntry> entries = archive.find({});
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().expectedSamples, 0);
    QVERIFY(entries.first().complete());
    const QByteArray whole = recordingBytes({"N1", "New", "", day(9, 2), 50});
    writeFile(folder + "/new.data", whole.left(whole.size() - 4));
    archive.importFolder(folder);
    entries = archive.find({});
    QCOMPARE(names(entries), (QStringList{"New", "Old"}));
    QCOMPARE(entries.first().expectedSamples, 50);
    QVERIFY(!entries.first().complete());
}

void TstArchive::tamperingIsNamed_data()
{
    QTest::addColumn<bool>("team");
    QTest::addColumn<QString>("tampering");
    for (const bool team : {false, true}) {
        for (const char *tampering : {"columns", "swapped bytes", "deleted entry"})
            QTest::addRow("%s %s", team ? "postgresql" : "sqlite", tampering)
                << team << QString::fromLatin1(tampering);
    }
}

// Another program rewrites figures, swaps an entry's bytes for another's or
// deletes an entry: check names the entry, and nothing hands out swapped bytes.
void TstArchive::tamperingIsNamed()
{
    QFETCH(QString, tampering);
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    SmallRecording hot{"T1", "Hot", "", day(10, 1), 100, 3100};
    const QByteArray hotBytes = recordingBytes(hot);
    const QByteArray coolBytes = recordingBytes({"T1", "Cool", "", day(10, 2), 100});
    writeFile(folder + "/hot.data", hotBytes);
    writeFile(folder + "/cool.data", coolBytes);
    const ArchiveLocation location = freshLocation();
    Archive archive;
    QVERIFY2(archive.open(location), qPrintable(archive.errorText()));
    QCOMPARE(archive.importFolder(folder).added, 2);
    QVERIFY(archive.check().isEmpty());
    const QString hotSha = RecordingAnalysis::fingerprint(hotBytes);
    QVERIFY(archive.entry(hotSha).outOfRange);

    QString expected;
    QString expectedPath;
    if (tampering == "columns") {
        execRaw(location, {"UPDATE recordings SET out_of_range = 0, alarm = 0, temp_max = 7.5"
                           " WHERE sha256 = ?"},
                {hotSha});
        expected = "the archive's figures disagree with the recording: out_of_range, temp_max";
        expectedPath = folder + "/hot.data";
    } else if (tampering == "swapped bytes") {
        if (location.isTeamArchive()) {
            execRaw(location, {"UPDATE recordings SET content = ? WHERE sha256 = ?"},
                    {coolBytes, hotSha});
            expected = "the stored content does not match its fingerprint";
        } else {
            writeFile(folder + "/hot.data", coolBytes);
            expected = "the file has changed";
            expectedPath = folder + "/hot.data";
        }
    } else {
        execRaw(location, {"DELETE FROM locations WHERE sha256 = ?",
                           "DELETE FROM recordings WHERE sha256 = ?"},
                {hotSha, hotSha});
        expected = "the recording has no entry in the archive";
        expectedPath = folder + "/hot.data";
    }
    QStringList named;
    for (const Archive::Problem &problem : archive.check()) {
        if (problem.sha256 == hotSha)
            named << problem.path + ": " + problem.reason;
    }
    QCOMPARE(named, QStringList{expectedPath + ": " + expected});
    int exitCode = -1;
    const QString report =
        runCli({"archive", "check", "--archive", locationUrl(location)}, QString(), &exitCode);
    QCOMPARE(exitCode, 18);
    QVERIFY2(report.contains(expected), qPrintable(report));

    if (tampering != "swapped bytes")
        return;
    // Another computer has only the stored content; this one has only its file.
    Archive reader;
    reader.setComputerName(QStringLiteral("pc-b"));
    Archive &used = location.isTeamArchive() ? reader : archive;
    QVERIFY(used.open(location));
    QVERIFY(!used.history(QStringLiteral("T1")).ok());
    QVERIFY(used.bytesMismatched());
    QVERIFY2(used.errorText().contains("do not match its fingerprint"),
             qPrintable(used.errorText()));
    QVERIFY(used.fileBytes(hotSha).isEmpty());
    QVERIFY(!used.load(hotSha).ok());
}

void TstArchive::readsNeedNoWriteLock_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("openError");
    QTest::newRow("locked by a writer") << "locked" << QString();
    QTest::newRow("read-only file") << "read-only" << QString();
    QTest::newRow("not a database") << "corrupt" << "file is not a database";
}

// A current archive opens, lists and checks with reads alone; an archive that
// cannot be used says why.
void TstArchive::readsNeedNoWriteLock()
{
    QFETCH(QString, state);
    QFETCH(QString, openError);
    const QString folder = home.filePath(QStringLiteral("in"));
    QDir().mkpath(folder);
    writeFile(folder + "/a.data", recordingBytes({"L1", "Lab", "", day(11, 1), 50}));
    const ArchiveLocation location = ArchiveLocation::local(home.filePath("busy.sqlite"));
    {
        Archive archive;
        QVERIFY(archive.open(location));
        QCOMPARE(archive.importFolder(folder).added, 1);
    }
    if (state == "read-only" && geteuid() == 0) {
        // The superuser writes any file: another user, for whom it is read-only, lists and checks.
        QTemporaryDir otherHome;
        const passwd *other = getpwnam("postgres");
        if (!other)
            QSKIP("the superuser writes read-only files, and there is no other user");
        QVERIFY(chown(QFile::encodeName(otherHome.path()).constData(), other->pw_uid,
                      other->pw_gid) == 0);
        QVERIFY(QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadOther |
                                                       QFile::ExeOther));
        for (const QStringList &command : {QStringList{"list"}, QStringList{"check"}}) {
            QProcess process;
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.start("runuser", QStringList{"-u", "postgres", "--", "env",
                                                 "HOME=" + otherHome.path(), "LOGGERSIM=none",
                                                 HYGRA_CLI_DEMO, "archive"} +
                                         command +
                                         QStringList{"--archive", location.filePath});
            QVERIFY(process.waitForFinished(30000));
            const QString output = QString::fromUtf8(process.readAll());
            QVERIFY2(process.exitCode() == 0, qPrintable(command.join(' ') + ": " + output));
            if (command.first() == "list")
                QVERIFY2(output.contains("\"serial\":\"L1\""), qPrintable(output));
        }
        return;
    }
    QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "writer");
    writer.setDatabaseName(location.filePath);
    QVERIFY(writer.open());
    if (state == "locked") {
        QVERIFY(QSqlQuery(writer).exec("BEGIN IMMEDIATE"));
    } else if (state == "read-only") {
        QVERIFY(QFile::setPermissions(location.filePath, QFile::ReadOwner));
    } else {
        writer.close();
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(location.filePath + suffix);
        writeFile(location.filePath, QByteArray(8192, 'x'));
    }
    QElapsedTimer timer;
    timer.start();
    Archive archive;
    const bool opened = archive.open(location);
    QVERIFY2(opened == openError.isEmpty(), qPrintable(archive.errorText()));
    if (opened) {
        QCOMPARE(archive.find({}).size(), 1);
        QVERIFY(archive.errorText().isEmpty());
        QCOMPARE(archive.check().size(), 0);
        QVERIFY2(timer.elapsed() < 5000, "waited for the writer");
        if (state == "read-only") {
            const Archive::Outcome added = archive.addFile(folder + "/a.data");
            QCOMPARE(added.kind, Archive::Outcome::Failed);
            QVERIFY2(added.reason.contains("readonly"), qPrintable(added.reason));
        }
    } else {
        QVERIFY2(archive.errorText().contains(openError), qPrintable(archive.errorText()));
    }
    writer.close();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase("writer");
}

// Eight commands import overlapping folders and download at once, round after
// round of new contents: each exits 0 and every content is one entry.
void TstArchive::concurrentWritersAllSucceed()
{
    const ArchiveLocation location = freshLocation();
    const QString url = locationUrl(location);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("LOGGERSIM", "HX20D:sn=H2CONC0001:interval=60:samples=500");
    QSet<QString> contents;
    QElapsedTimer timer;
    timer.start();
    int rounds = 0;
    while (timer.elapsed() < 6000) {
        const QString base = home.filePath(QStringLiteral("round%1").arg(++rounds));
        for (int folder = 0; folder < 4; ++folder) {
            QDir().mkpath(QStringLiteral("%1/f%2").arg(base).arg(folder));
            for (int j = 0; j < 6; ++j) {
                const int i = (folder * 3 + j) % 12;
                const QByteArray bytes = recordingBytes(
                    {QStringLiteral("C%1").arg(i), "Conc", QString::number(rounds),
                     day(12, 1).addSecs(i * 3600), 200});
                contents.insert(RecordingAnalysis::fingerprint(bytes));
                writeFile(QStringLiteral("%1/f%2/%3.data").arg(base).arg(folder).arg(j), bytes);
            }
        }
        std::vector<std::unique_ptr<QProcess>> writers;
        const QList<QStringList> commands = {
            {"archive", "import", base + "/f0", "--archive", url},
            {"archive", "import", base + "/f1", "--archive", url},
            {"archive", "import", base + "/f2", "--archive", url},
            {"archive", "import", base + "/f3", "--archive", url},
            {"archive", "import", base + "/f0", "--archive", url},
            {"archive", "import", base + "/f2", "--archive", url},
            {"download", "--archive", url},
            {"download", "--archive", url},
        };
        for (const QStringList &arguments : commands) {
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->setProcessEnvironment(environment);
            writers.back()->start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
        }
        for (const auto &writer : writers) {
            QVERIFY(writer->waitForFinished(60000));
            const QString output =
                QString::fromUtf8(writer->readAllStandardOutput() + writer->readAllStandardError());
            QVERIFY2(writer->exitCode() == 0 && !output.contains("not added"),
                     qPrintable(writer->arguments().join(' ') + ": " + output));
        }
    }
    // The downloads' files, wherever the command put them.
    QDirIterator files(home.path(), {"*.data"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (!file.fileName().contains("/round"))
            contents.insert(RecordingAnalysis::fingerprint(file.readAll()));
    }
    Archive archive;
    QVERIFY(archive.open(location));
    QSet<QString> archived;
    for (const ArchiveEntry &entry : archive.find({}))
        archived.insert(entry.sha256);
    QCOMPARE(archived, contents);
}

QTEST_GUILESS_MAIN(TstArchive)
#include "tst_archive.moc"

void TstArchive::evaluationSettingsAreRememberedPerSerial()
{
    const ArchiveLocation location = freshLocation();
    {
        Archive archive;
        QVERIFY2(archive.open(location), qPrintable(archive.errorText()));
        QVERIFY(!archive.evaluationSettings("H2B0012345").isSet());
        QVERIFY2(archive.setEvaluationSettings({"H2B0012345", 2, 8, 83.144, 100}),
                 qPrintable(archive.errorText()));
        // A second choice replaces the first rather than failing on the key.
        QVERIFY2(archive.setEvaluationSettings({"H2B0012345", 15, 25, 100, 200}),
                 qPrintable(archive.errorText()));
        QVERIFY(archive.setEvaluationSettings({"H1X7", -20, -10, 60, 300}));
        // Refused: reversed or empty range, no activation energy, no serial.
        QVERIFY(!archive.setEvaluationSettings({"H1X7", 8, 2, 83.144, 400}));
        QVERIFY(!archive.setEvaluationSettings({"H1X7", 5, 5, 83.144, 400}));
        QVERIFY(!archive.setEvaluationSettings({"H1X7", 2, 8, 0, 400}));
        QVERIFY(!archive.setEvaluationSettings({"", 2, 8, 83.144, 400}));
    }
    Archive reopened;
    QVERIFY2(reopened.open(location), qPrintable(reopened.errorText()));
    const EvaluationSettings cold = reopened.evaluationSettings("H2B0012345");
    QVERIFY(cold.isSet());
    QCOMPARE(cold.low, 15.0);
    QCOMPARE(cold.high, 25.0);
    QCOMPARE(cold.activationEnergyKJ, 100.0);
    QCOMPARE(cold.changedAt, qint64(200));
    QCOMPARE(reopened.evaluationSettings("H1X7").low, -20.0);
    QCOMPARE(reopened.evaluationSettings("H1X7").changedAt, qint64(300));
    QVERIFY(reopened.clearEvaluationSettings("H1X7"));
    QVERIFY(!reopened.evaluationSettings("H1X7").isSet());
    QVERIFY(reopened.evaluationSettings("H2B0012345").isSet());
}
