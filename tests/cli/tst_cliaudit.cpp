// SPDX-License-Identifier: GPL-3.0-or-later
// The audit trail of hygra-cli-demo's actions, run as a process: what each action records, the
// reason the settings may ask for, the hashes recomputed by another program, and a tampered trail.
#include "cli/cliexit.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

namespace
{
const char *const logger =
    "HX20D:sn=H2AUD00001:samples=800:interval=1:seed=3:recording=0:start=2026-03-01T08:00:00";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

using DetailsCheck = std::function<QString(const QJsonObject &)>;

QByteArray sha256Of(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
               : QByteArray();
}
} // namespace

Q_DECLARE_METATYPE(DetailsCheck)

class TstCliAudit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyActionIsRecorded_data();
    void everyActionIsRecorded();
    void reportPinsTheTrail();
    void settingsAskForAReason();
    void reviewListsChangeOnlyAsTold();
    void anotherProgramRecomputesEveryHash();
    void exportsThePrintableTrail();
    void tamperedTrailFailsWithItsCode();

private:
    Run run(const QStringList &arguments, const QString &loggers = QLatin1String(logger));
    QVector<QJsonObject> entries(const QStringList &filter = {});
    QString archivePath() const;

    std::unique_ptr<QTemporaryDir> home;
    QTemporaryDir work;
    QString recording;
    QVector<QJsonObject> trail;
};

Run TstCliAudit::run(const QStringList &arguments, const QString &loggers)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LOGGERSIM"), loggers);
    environment.insert(QStringLiteral("HOME"), home->path());
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HYGRA_CLI_DEMO), arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QVector<QJsonObject> TstCliAudit::entries(const QStringList &filter)
{
    QVector<QJsonObject> result;
    const Run listed = run(QStringList{QStringLiteral("audit"), QStringLiteral("list")} + filter);
    for (const QByteArray &line : listed.out.split('\n')) {
        if (!line.isEmpty())
            result << QJsonDocument::fromJson(line).object();
    }
    return result;
}

QString TstCliAudit::archivePath() const
{
    return home->path() + QStringLiteral("/Documents/HYGRA/UserData/archive.sqlite");
}

void TstCliAudit::initTestCase()
{
    home.reset(testsupport::useTemporaryHome());
    const QString dir = work.path();
    Run r = run({"download", "--dir", dir});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    recording = QString::fromLocal8Bit(r.out.trimmed().split('\n').last());
    QCOMPARE(run({"stop"}).exitCode, 0);
    QCOMPARE(run({"start", "--reason", "weekly check"}).exitCode, 0);
    QFile changes(work.filePath("changes.json"));
    QVERIFY(changes.open(QIODevice::WriteOnly));
    changes.write(R"({"th1": {"alertValue": 850}, "recordInterval": 12, "note": "Ward 3"})");
    changes.close();
    r = run({"config", "set", changes.fileName(), "--erase"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    for (const char *format : {"--pdf", "--csv", "--xlsx"}) {
        const QString target = work.filePath(QStringLiteral("out") + QLatin1String(format + 2));
        QCOMPARE(run({"export", recording, QLatin1String(format), target}).exitCode, 0);
    }
    QCOMPARE(run({"export", recording, "--pdf", work.filePath("none/out.pdf")}).exitCode,
             int(ExitCannotWrite));
    QCOMPARE(run({"archive", "import", dir}).exitCode, 0);
    QCOMPARE(run({"archive", "check"}).exitCode, 0);
    QDir(dir).mkpath("watched");
    r = run({"watch", "--once", "--stop-recording", "--pdf", "--dir", work.filePath("watched")});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QCOMPARE(run({"download", "--dir", dir}, QString()).exitCode, int(ExitNoLogger));
    trail = entries();
}

void TstCliAudit::everyActionIsRecorded_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("sha256");
    QTest::addColumn<QString>("serial");
    // Checks the details of the first entry of the kind; empty when it passes.
    QTest::addColumn<DetailsCheck>("check");
    using Check = DetailsCheck;
    const QString fingerprint = QString::fromLatin1(sha256Of(recording));
    const QString serial = QStringLiteral("H2AUD00001");
    const auto same = [](const QJsonValue &seen, const QJsonValue &wanted, const char *what) {
        return seen == wanted
                   ? QString()
                   : QStringLiteral("%1: %2").arg(
                         QLatin1String(what),
                         QString::fromUtf8(QJsonDocument(QJsonObject{{"seen", seen}}).toJson()));
    };
    QTest::newRow("download")
        << "download" << 1 << fingerprint << serial << Check([=](const QJsonObject &d) {
               return same(d["file"], QFileInfo(recording).fileName(), "file") +
                      same(d["samples"], 800, "samples") + same(d["model"], "HX20D", "model") +
                      same(d["firstSample"], "2026-03-01T08:00:00", "first sample");
           });
    QTest::newRow("stop") << "stop-recording" << 1 << QString() << serial
                          << Check([](const QJsonObject &) { return QString(); });
    QTest::newRow("start") << "start-recording" << 1 << QString() << serial
                           << Check([](const QJsonObject &) { return QString(); });
    QTest::newRow("config write")
        << "config-write" << 1 << QString() << serial << Check([=](const QJsonObject &d) {
               const QJsonObject changes = d["changes"].toObject();
               return same(changes["th1.alertValue"]["new"], 850, "new threshold") +
                      same(changes["th1.alertValue"]["old"].isDouble(), true, "old threshold") +
                      same(changes["recordInterval"]["new"], 12, "interval") +
                      same(QJsonValue(changes.size()), 2, "changed fields") +
                      same(d["erasedRecording"], true, "erased");
           });
    QTest::newRow("note write") << "note-write" << 1 << QString() << serial
                                << Check([=](const QJsonObject &d) {
                                       return same(d["new"], "Ward 3", "note");
                                   });
    QTest::newRow("export")
        << "export" << 4 << fingerprint << serial << Check([=](const QJsonObject &d) {
               return same(d["format"], "pdf", "format") +
                      same(d["fileSha256"], QString::fromLatin1(sha256Of(work.filePath("outpdf"))),
                           "produced file");
           });
    QTest::newRow("export failed")
        << "export-failed" << 1 << fingerprint << serial << Check([=](const QJsonObject &d) {
               return same(d["error"].toString().contains("out.pdf"), true, "error");
           });
    QTest::newRow("import") << "import" << 1 << QString() << QString()
                            << Check([=](const QJsonObject &d) {
                                   return same(d["known"], 1, "known") +
                                          same(d["added"], 0, "added");
                               });
    QTest::newRow("check") << "check" << 1 << QString() << QString()
                           << Check([=](const QJsonObject &d) {
                                  return same(d["problems"], QJsonArray(), "problems");
                              });
    // Another download of the logger, whose configuration changed since.
    QTest::newRow("auto-download") << "auto-download" << 1 << QStringLiteral("*") << serial
                                   << Check([=](const QJsonObject &d) {
                                          return same(d["samples"].toInt() > 0, true, "samples");
                                      });
    QTest::newRow("download failed")
        << "download-failed" << 1 << QString() << QString() << Check([=](const QJsonObject &d) {
               return same(d["error"], "no logger is attached", "error");
           });
}

void TstCliAudit::everyActionIsRecorded()
{
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(QString, sha256);
    QFETCH(QString, serial);
    QFETCH(DetailsCheck, check);
    QVector<QJsonObject> ofKind;
    for (const QJsonObject &entry : qAsConst(trail)) {
        if (entry["kind"] == kind)
            ofKind << entry;
    }
    QCOMPARE(ofKind.size(), count);
    const QJsonObject &entry = ofKind.first();
    if (sha256 == QLatin1String("*"))
        QCOMPARE(entry["sha256"].toString().size(), 64);
    else
        QCOMPARE(entry["sha256"].toString(), sha256);
    QCOMPARE(entry["serial"].toString(), serial);
    QVERIFY(!entry["user"].toString().isEmpty());
    QVERIFY(!entry["computer"].toString().isEmpty());
    QVERIFY(entry["time"].toString().endsWith('Z'));
    const QString problem = check(entry["details"].toObject());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(entry["reason"].toString(),
             kind == QLatin1String("start-recording") ? QStringLiteral("weekly check") : QString());
    QCOMPARE(entries({"--kind", kind}).size(), count);
}

// A report names the trail's newest entry when it was made, which the check then holds the trail
// to.
void TstCliAudit::reportPinsTheTrail()
{
    int exportAt = 0;
    while (exportAt < trail.size() && trail.at(exportAt)["kind"] != QLatin1String("export"))
        ++exportAt;
    QVERIFY(exportAt > 0 && exportAt < trail.size());
    const QJsonObject pinned = trail.at(exportAt - 1);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {work.filePath("outpdf"), QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QByteArray printed = text.readAllStandardOutput();
    QVERIFY2(printed.contains(pinned["hash"].toString().toLatin1()),
             printed.left(2000).constData());
    const QString pin =
        QStringLiteral("%1:%2").arg(pinned["seq"].toInt()).arg(pinned["hash"].toString());
    Run r = run({"audit", "verify", "--pin", pin});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    r = run({"audit", "verify", "--pin",
             QStringLiteral("%1:%2").arg(pinned["seq"].toInt()).arg(QString(64, '0'))});
    QCOMPARE(r.exitCode, int(ExitAuditBroken));
    QVERIFY2(r.err.contains(QStringLiteral("entry %1 is not the entry seen before")
                                .arg(pinned["seq"].toInt())
                                .toUtf8()),
             r.err.constData());
}

// The owner prints the lists, replaces one, and the change is recorded; a
// list the archive refuses, or one that is no list, changes nothing.
void TstCliAudit::reviewListsChangeOnlyAsTold()
{
    const auto lists = [this](const QStringList &extra = {}) {
        const Run r = run(QStringList{"review-lists"} + extra);
        return qMakePair(r.exitCode, QJsonDocument::fromJson(r.out).object());
    };
    const QJsonObject before = lists().second;
    QVERIFY(before.value("reasons").toArray().contains(
        QJsonObject{{"text", "defrost cycle"}, {"text_zh", "除霜周期"}}));
    QCOMPARE(before.value("meanings").toArray().size(), 3);
    const auto set = [&](const QByteArray &json) {
        QFile file(work.filePath("lists.json"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(json);
        file.close();
        return lists({"--set", file.fileName()});
    };
    const QJsonArray reasons{QJsonObject{{"text", "compressor failure"}, {"text_zh", "压缩机故障"}}};
    const auto changed = set(QJsonDocument(QJsonObject{{"reasons", reasons}}).toJson());
    QCOMPARE(changed.first, int(ExitOk));
    QCOMPARE(changed.second.value("reasons").toArray(), reasons);
    QCOMPARE(changed.second.value("actions"), before.value("actions"));
    QCOMPARE(changed.second.value("meanings"), before.value("meanings"));
    const QVector<QJsonObject> recorded = entries({"--kind", "settings-change"});
    QVERIFY(!recorded.isEmpty());
    const QJsonObject change =
        recorded.last().value("details").toObject().value("review.reasons").toObject();
    QCOMPARE(change.value("old"), before.value("reasons"));
    QCOMPARE(change.value("new").toArray(), reasons);

    QCOMPARE(set(R"({"meanings": [{"meaning": "revoke", "title": "R", "title_zh": "撤"}]})").first,
             int(ExitArchiveUnavailable));
    QCOMPARE(set(R"({"reasons": 3})").first, int(ExitUsage));
    QCOMPARE(set("not json").first, int(ExitUsage));
    const QJsonObject after = lists().second;
    QCOMPARE(after.value("reasons").toArray(), reasons);
    QCOMPARE(after.value("meanings"), before.value("meanings"));
}

void TstCliAudit::settingsAskForAReason()
{
    const QString settings = home->path() + QStringLiteral("/Documents/HYGRA/Setting/setting.ini");
    QSettings(settings, QSettings::IniFormat).setValue("setting/askreason", "true");
    const QString changes = work.filePath("changes.json");
    const int before = entries().size();
    Run r = run({"config", "set", changes, "--erase"});
    QCOMPARE(r.exitCode, int(ExitUsage));
    QVERIFY2(r.err.contains("--reason"), r.err.constData());
    QCOMPARE(entries().size(), before);
    r = run({"config", "set", changes, "--erase", "--reason", "new product, 2–8 °C"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QVector<QJsonObject> written = entries({"--kind", "config-write"});
    QCOMPARE(written.last()["reason"].toString(), QStringLiteral("new product, 2–8 °C"));
    QSettings(settings, QSettings::IniFormat).setValue("setting/askreason", "false");
}

void TstCliAudit::anotherProgramRecomputesEveryHash()
{
    // The definition, written once more in another language.
    const char *script = R"(
import hashlib, json, sys
prev = "0" * 64
for seq, line in enumerate(sys.stdin, 1):
    entry = json.loads(line)
    stated = entry.pop("hash")
    text = json.dumps(entry, sort_keys=True, separators=(",", ":"), ensure_ascii=False)
    if hashlib.sha256(text.encode("utf-8")).hexdigest() != stated or entry["prev"] != prev \
            or entry["seq"] != seq:
        sys.exit("entry %d does not recompute" % seq)
    prev = stated
print(seq)
)";
    const Run listed = run({"audit", "list"});
    QCOMPARE(listed.exitCode, 0);
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QLatin1String(script)});
    QVERIFY(python.waitForStarted());
    python.write(listed.out);
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished(30000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    QCOMPARE(python.readAllStandardOutput().trimmed().toInt(), listed.out.count('\n'));
}

// The export's fingerprint is that of the entries as `audit list` prints them.
void TstCliAudit::exportsThePrintableTrail()
{
    const Run listed = run({"audit", "list", "--kind", "export"});
    const QByteArray fingerprint =
        QCryptographicHash::hash(listed.out, QCryptographicHash::Sha256).toHex();
    const QString csv = work.filePath("trail.csv");
    Run r = run({"audit", "export", "--kind", "export", "--csv", csv});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().trimmed().split('\n');
    // The header, one row per entry, the verdict and the fingerprint.
    QCOMPARE(rows.size(), 1 + listed.out.count('\n') + 2);
    QVERIFY2(rows.last().contains(fingerprint), rows.last().constData());
    const QString pdf = work.filePath("trail.pdf");
    r = run({"audit", "export", "--pdf", pdf});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QByteArray printed = text.readAllStandardOutput();
    // The verdict names the newest entry.
    QVERIFY2(printed.contains(entries().last()["hash"].toString().toLatin1()), printed.constData());
    QCOMPARE(run({"audit", "export", "--csv", csv, "--pdf", pdf}).exitCode, int(ExitUsage));
}

void TstCliAudit::tamperedTrailFailsWithItsCode()
{
    Run r = run({"audit", "verify"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY(r.out.startsWith("the audit trail verifies: "));
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {archivePath(), "DROP TRIGGER audit_trail_no_update;"
                                 "UPDATE audit_trail SET user_name = 'someone' WHERE seq = 2;"});
    QVERIFY(sqlite.waitForFinished(30000));
    QCOMPARE(sqlite.exitCode(), 0);
    r = run({"audit", "verify"});
    QCOMPARE(r.exitCode, int(ExitAuditBroken));
    QVERIFY2(r.err.contains("entry 2 does not match its hash"), r.err.constData());
    // An export still prints the trail, with the verdict, and says it is broken.
    r = run({"audit", "export", "--csv", work.filePath("broken.csv")});
    QCOMPARE(r.exitCode, int(ExitAuditBroken));
    QVERIFY(QFile::exists(work.filePath("broken.csv")));
}

QTEST_GUILESS_MAIN(TstCliAudit)
#include "tst_cliaudit.moc"
