// SPDX-License-Identifier: GPL-3.0-or-later
// The window's actions in the archive's audit trail: each action's entry, the reason asked
// for, and entries that wait while the archive cannot be opened.
#include "app/archivekeeper.h"
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/reasondialog.h"
#include "app/recordinglist.h"
#include "app/settingmenu.h"
#include "app/tbwidget.h"
#include "archive/archive.h"
#include "config/alarmrules.h"
#include "core/auditsettings.h"
#include "core/autodownloadsettings.h"
#include "core/settinginfo.h"
#include "device/usbcontrol.h"
#include "loggersim.h"
#include "recording/recordingaudit.h"
#include "recording/recordingreader.h"
#include "settings/alarmrowwidget.h"
#include "settings/alarmsection.h"
#include "settings/devsettinginfo.h"
#include "dialoganswers.h"
#include "testsupport.h"
#include "views/datashowwidget.h"
#include "widgets/selectdialog.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace
{
using testsupport::answerNext;

void confirm(SelectDialog *dialog)
{
    dialog->findChild<QPushButton *>(QStringLiteral("pushButton_2"))->click();
}

QString text(const QJsonValue &value)
{
    return value.toVariant().toString();
}
} // namespace

class TestWindowAudit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void eachActionIsRecorded_data();
    void eachActionIsRecorded();
    void failuresAreRecorded_data();
    void failuresAreRecorded();
    void automaticDownloadAndItsReport();
    void configWriteNamesEachChange();
    void reasonIsAskedAndCancelLeavesNothing();
    void entriesWaitForAnUnreachableArchive();

private:
    enum Action {
        Download,
        Start,
        Stop,
        Reset,
        Language,
        Export,
        Rename,
        Delete,
        AutoPdf,
        AskReason,
        PresetSave
    };
    void openWindow(const QString &loggers);
    bool connectLogger();
    bool download();
    void perform(Action action);
    QString exportTo(const QString &path);
    // The entries of `kind`, once `count` of them are in the archive.
    QVector<AuditEntry> entries(const QString &kind, int count = 1);
    QString shownPath() const
    {
        const QString base = window->form()->dataShow->recordingBaseName();
        return base.isEmpty() ? base : QDir(dataDir()).filePath(base + QStringLiteral(".data"));
    }

    MainWindow *window = nullptr;
    QObject *answers = nullptr;
    int logger = -1;
};

void TestWindowAudit::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    loggersim::setReadWaitLimit(100);
}

void TestWindowAudit::init()
{
    QDir(appFolder()).removeRecursively();
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/hygra/audit"))
        .removeRecursively();
    answers = new QObject;
}

void TestWindowAudit::cleanup()
{
    delete answers;
    answers = nullptr;
    // The settings belong to the window.
    setAskForReason(false);
    setAutoDownloadSettings({});
    setCurrentLanguage(QStringLiteral("Chinese"));
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"), QString());
    delete window;
    window = nullptr;
}

void TestWindowAudit::openWindow(const QString &loggers)
{
    loggersim::configure(loggers);
    const QList<int> ids = loggersim::loggerIds();
    logger = ids.isEmpty() ? -1 : ids.first();
    window = new MainWindow;
    window->show();
    QDir().mkpath(dataDir());
}

bool TestWindowAudit::connectLogger()
{
    answerNext<ConnectDialog>(answers, [](ConnectDialog *dialog) { dialog->accept(); });
    window->delConnectDev();
    auto *settingsButton = window->findChild<QPushButton *>(QStringLiteral("devSetBtn"));
    return QTest::qWaitFor([&] { return settingsButton->isEnabled(); }, 5000);
}

bool TestWindowAudit::download()
{
    QSignalSpy ended(window, &MainWindow::downloadEnded);
    emit window->form()->tbWidget->devDownLoadSignal();
    if (!ended.wait(10000) || ended.first().first().toString().isEmpty())
        return false;
    const QString path = ended.first().first().toString();
    return QTest::qWaitFor([this, path] { return shownPath() == path; }, 5000);
}

QString TestWindowAudit::exportTo(const QString &path)
{
    answerNext<QFileDialog>(answers, [path](QFileDialog *dialog) {
        QTimer::singleShot(0, dialog, [dialog, path] {
            dialog->setDirectory(QFileInfo(path).absolutePath());
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(QFileInfo(path).fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        });
    });
    emit window->form()->tbWidget->sendExportTypeSignal(1);
    return path;
}

QVector<AuditEntry> TestWindowAudit::entries(const QString &kind, int count)
{
    QVector<AuditEntry> found;
    // Fewer than `count` after the wait is for the caller to find.
    static_cast<void>(QTest::qWaitFor(
        [&] {
            Archive archive;
            AuditFilter filter;
            filter.kind = kind;
            if (archive.open(window->keeper()->location()))
                found = archive.auditEntries(filter);
            return found.size() >= count;
        },
        5000));
    return found;
}

void TestWindowAudit::perform(Action action)
{
    TbWidget *toolbar = window->form()->tbWidget;
    auto *menu = toolbar->findChild<SettingMenu *>();
    switch (action) {
    case Download:
        break;
    case Start:
        loggersim::setRecording(logger, false);
        window->delToStopStartRecordSignal(false);
        break;
    case Stop:
        loggersim::setRecording(logger, true);
        window->delToStopStartRecordSignal(true);
        break;
    case Reset:
        answerNext<SelectDialog>(answers, confirm);
        window->delSendResetCmd();
        break;
    case Language:
        emit toolbar->sendLangueCmd(false);
        break;
    case Export:
        exportTo(QDir(dataDir()).filePath(QStringLiteral("samples.csv")));
        break;
    case Rename:
        window->recordingList()->delUpdateRename(QStringLiteral("renamed"),
                                                 QFileInfo(shownPath()).completeBaseName());
        break;
    case Delete:
        window->recordingList()->delFileBtnOptSignal(shownPath(), 1);
        break;
    case AutoPdf:
        menu->findChild<QPushButton *>(QStringLiteral("autoPdfBtn"))->click();
        break;
    case AskReason:
        menu->findChild<QPushButton *>(QStringLiteral("askReasonBtn"))->click();
        break;
    case PresetSave:
        window->form()->devSetting->delCreatePersetConfig(QStringLiteral("Cold room"), QString());
        break;
    }
}

void TestWindowAudit::eachActionIsRecorded_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("kind");
    // "serial" for a device's entry, "sha256" for a recording's, "" for neither.
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("value");
    QTest::newRow("download") << int(Download) << "download"
                              << "sha256"
                              << "samples"
                              << "40";
    QTest::newRow("start") << int(Start) << "start-recording"
                           << "serial"
                           << ""
                           << "";
    QTest::newRow("stop") << int(Stop) << "stop-recording"
                          << "serial"
                          << ""
                          << "";
    QTest::newRow("reset") << int(Reset) << "factory-reset"
                           << "serial"
                           << ""
                           << "";
    QTest::newRow("language") << int(Language) << "logger-language"
                              << "serial"
                              << "language"
                              << "English";
    QTest::newRow("export") << int(Export) << "export"
                            << "sha256"
                            << "format"
                            << "csv";
    QTest::newRow("rename") << int(Rename) << "rename"
                            << "sha256"
                            << "new"
                            << "renamed.data";
    QTest::newRow("delete") << int(Delete) << "delete"
                            << "sha256"
                            << "toTrash"
                            << "true";
    QTest::newRow("auto-download switch") << int(AutoPdf) << "settings-change"
                                          << ""
                                          << "autoDownload.pdf"
                                          << "new=false";
    QTest::newRow("reason switch") << int(AskReason) << "settings-change"
                                   << ""
                                   << "askForReason"
                                   << "new=true";
    QTest::newRow("preset") << int(PresetSave) << "preset-save"
                            << ""
                            << "name"
                            << "Cold room";
}

// Each action, taken as the user takes it, leaves its one entry with what it concerns.
void TestWindowAudit::eachActionIsRecorded()
{
    QFETCH(int, action);
    QFETCH(QString, kind);
    QFETCH(QString, names);
    QFETCH(QString, detail);
    QFETCH(QString, value);
    openWindow(QStringLiteral("HX20D:samples=40"));
    QVERIFY(connectLogger());
    QVERIFY(download());
    const LoadedRecording recording = RecordingReader::read(shownPath());
    const QString serial = window->form()->connectWidget->serialNumber();
    QVERIFY(!serial.isEmpty());

    perform(Action(action));
    const QVector<AuditEntry> found = entries(kind);
    QCOMPARE(found.size(), 1);
    const AuditEntry &entry = found.first();
    if (names == QLatin1String("serial"))
        QCOMPARE(entry.serial, serial);
    if (names == QLatin1String("sha256"))
        QCOMPARE(entry.sha256, recording.sha256);
    QVERIFY(entry.reason.isNull());
    if (detail.isEmpty())
        return;
    const QJsonValue got = entry.details.value(detail);
    if (value.startsWith(QLatin1String("new=")))
        QCOMPARE(text(got.toObject().value(QStringLiteral("new"))), value.mid(4));
    else
        QCOMPARE(text(got), value);
    if (kind == QLatin1String("export")) {
        const QString file = QDir(dataDir()).filePath(QStringLiteral("samples.csv"));
        QCOMPARE(entry.details.value(QStringLiteral("fileSha256")).toString(),
                 QString::fromLatin1(recordingaudit::fileSha256(file)));
    }
}

void TestWindowAudit::failuresAreRecorded_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("kind");
    QTest::newRow("start") << int(Start) << "start-recording-failed";
    QTest::newRow("reset") << int(Reset) << "factory-reset-failed";
    QTest::newRow("language") << int(Language) << "logger-language-failed";
}

// A logger that stops answering: the action's failed entry, with the logger and why.
void TestWindowAudit::failuresAreRecorded()
{
    QFETCH(int, action);
    QFETCH(QString, kind);
    openWindow(QStringLiteral("HX20D:samples=40"));
    QVERIFY(connectLogger());
    loggersim::Faults silent;
    silent.silent = true;
    loggersim::setFaults(logger, silent);
    perform(Action(action));
    const QVector<AuditEntry> found = entries(kind);
    loggersim::setFaults(logger, {});
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().serial, window->form()->connectWidget->serialNumber());
    QVERIFY(!found.first().details.value(QStringLiteral("error")).toString().isEmpty());
    QCOMPARE(entries(kind.chopped(7), 0).size(), 0);
}

// The automatic download's entry is its own kind; each report it wrote has its export entry.
void TestWindowAudit::automaticDownloadAndItsReport()
{
    openWindow(QStringLiteral("HX20D:samples=60"));
    loggersim::unplug(logger);
    QTemporaryDir reports;
    AutoDownloadSettings settings;
    settings.enabled = true;
    settings.reportFolder = reports.path();
    settings.pdf = false;
    settings.spreadsheet = true;
    setAutoDownloadSettings(settings);
    loggersim::plug(logger);
    const QVector<AuditEntry> downloads = entries(QStringLiteral("auto-download"));
    QCOMPARE(downloads.size(), 1);
    QCOMPARE(downloads.first().details.value(QStringLiteral("samples")).toInt(), 60);
    const QVector<AuditEntry> exports = entries(QStringLiteral("export"));
    QCOMPARE(exports.size(), 1);
    QCOMPARE(exports.first().sha256, downloads.first().sha256);
    const QString csv =
        QDir(reports.path())
            .filePath(exports.first().details.value(QStringLiteral("file")).toString());
    QCOMPARE(exports.first().details.value(QStringLiteral("fileSha256")).toString(),
             QString::fromLatin1(recordingaudit::fileSha256(csv)));
    QVERIFY(entries(QStringLiteral("download"), 0).isEmpty());
}

// A write names every field it changed with both values, an alarm threshold among them, and
// whether it erased the logger's records; the clock it set and the note have entries of their own.
void TestWindowAudit::configWriteNamesEachChange()
{
    openWindow(QStringLiteral("HX20D:samples=30"));
    QVERIFY(connectLogger());
    QSignalSpy read(window->controller(), &UsbControl::devReadNoteSignal);
    window->findChild<QPushButton *>(QStringLiteral("devSetBtn"))->click();
    QVERIFY(read.wait(3000));
    DevSettingInfo *page = window->form()->devSetting;
    const OneConfigCmdStruct before = loggersim::config(logger);
    page->form().devNameLE->selectAll();
    QTest::keyClicks(page->form().devNameLE, QStringLiteral("Freezer_9"));
    const QString noteBefore = page->form().lineEdit->text();
    page->form().lineEdit->setText(QStringLiteral("door seal replaced"));
    QDoubleSpinBox *th1 = page->alarmSection()->row(Th1Row)->spinBox();
    const double threshold = th1->minimum() + 1;
    th1->setValue(threshold);
    emit th1->editingFinished();
    answerNext<SelectDialog>(answers, confirm);
    page->saveButton()->click();

    const QVector<AuditEntry> found = entries(QStringLiteral("config-write"));
    QCOMPARE(found.size(), 1);
    const QJsonObject changes = found.first().details.value(QStringLiteral("changes")).toObject();
    const QJsonObject name = changes.value(QStringLiteral("devName")).toObject();
    QCOMPARE(name.value(QStringLiteral("old")).toString(), QString::fromLatin1(before.devName));
    QCOMPARE(name.value(QStringLiteral("new")).toString(), QStringLiteral("Freezer_9"));
    const QJsonObject alarm = changes.value(QStringLiteral("th1.alertValue")).toObject();
    QCOMPARE(alarm.value(QStringLiteral("old")).toInt(), before.th1.alertValue);
    QCOMPARE(alarm.value(QStringLiteral("new")).toInt(), loggersim::config(logger).th1.alertValue);
    QVERIFY(before.th1.alertValue != loggersim::config(logger).th1.alertValue);
    QCOMPARE(found.first().details.value(QStringLiteral("erasedRecording")).toBool(), true);
    QCOMPARE(found.first().serial, window->form()->connectWidget->serialNumber());
    const QVector<AuditEntry> clock = entries(QStringLiteral("clock-set"));
    QCOMPARE(clock.size(), 1);
    QVERIFY(clock.first().details.value(QStringLiteral("followsComputer")).isBool());
    QCOMPARE(clock.first().details.value(QStringLiteral("time")).toString().size(), 19);
    const QVector<AuditEntry> note = entries(QStringLiteral("note-write"));
    QCOMPARE(note.size(), 1);
    QCOMPARE(note.first().details.value(QStringLiteral("old")).toString(), noteBefore);
    QCOMPARE(note.first().details.value(QStringLiteral("new")).toString(),
             QStringLiteral("door seal replaced"));
}

// With the switch on, a delete waits for a reason (OK disabled while the line is blank) that
// its entry keeps; Cancel deletes nothing and records nothing.
void TestWindowAudit::reasonIsAskedAndCancelLeavesNothing()
{
    openWindow(QStringLiteral("HX20D:samples=20"));
    QVERIFY(connectLogger());
    QVERIFY(download());
    const QString first = shownPath();
    QVERIFY(download());
    const QString second = shownPath();
    QVERIFY(first != second);
    setAskForReason(true);

    bool okWhileBlank = true;
    answerNext<ReasonDialog>(answers, [&okWhileBlank](ReasonDialog *dialog) {
        okWhileBlank = dialog->okButton()->isEnabled();
        QTest::keyClicks(dialog->reasonEdit(), QStringLiteral("wrong logger"));
        dialog->okButton()->click();
    });
    window->recordingList()->delFileBtnOptSignal(first, 1);
    QVERIFY(!okWhileBlank);
    QVERIFY(!QFile::exists(first));
    const QVector<AuditEntry> deleted = entries(QStringLiteral("delete"));
    QCOMPARE(deleted.size(), 1);
    QCOMPARE(deleted.first().reason, QStringLiteral("wrong logger"));

    answerNext<ReasonDialog>(answers, [](ReasonDialog *dialog) { dialog->reject(); });
    window->recordingList()->delFileBtnOptSignal(second, 1);
    QVERIFY(QFile::exists(second));
    QTest::qWait(300);
    QCOMPARE(entries(QStringLiteral("delete"), 2).size(), 1);
}

// An entry made while the archive cannot be opened waits, the window says so for as long as
// it waits, and goes into the archive with its own time once it can be opened.
void TestWindowAudit::entriesWaitForAnUnreachableArchive()
{
    const QString folder = QDir(appFolder()).filePath(QStringLiteral("archive"));
    QVERIFY(QDir().mkpath(appFolder()));
    // A file where the archive's folder should be: the archive cannot be made.
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    initSettings(this);
    settingInfo()->writeInfo(QStringLiteral("archive"), QStringLiteral("url"),
                             folder + QStringLiteral("/archive.db"));
    openWindow(QStringLiteral("none"));
    const QString before = audit::now();
    for (int i = 0; i < 2; ++i)
        window->findChild<QPushButton *>(QStringLiteral("askReasonBtn"))->click();
    const QString after = audit::now();
    QLabel *banner = window->form()->auditNotice;
    QTRY_COMPARE_WITH_TIMEOUT(banner->text(), QStringLiteral("2 条审计记录等待写入档案"), 5000);
    QVERIFY(banner->isVisible());

    delete window;
    window = nullptr;
    initSettings(this);
    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().mkpath(folder));
    QTest::qWait(1100);
    openWindow(QStringLiteral("none"));
    const QVector<AuditEntry> found = entries(QStringLiteral("settings-change"), 2);
    QCOMPARE(found.size(), 2);
    for (const AuditEntry &entry : found) {
        QVERIFY2(entry.time >= before && entry.time <= after, qPrintable(entry.time));
        QCOMPARE(entry.details.keys(), QStringList{QStringLiteral("askForReason")});
    }
    QTRY_VERIFY_WITH_TIMEOUT(!window->form()->auditNotice->isVisible(), 5000);
    QVERIFY(!window->form()->auditWarning->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(window->keeper()->latestAuditHead().seq, qint64(2), 5000);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestWindowAudit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowaudit.moc"
