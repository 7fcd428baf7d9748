// SPDX-License-Identifier: GPL-3.0-or-later
// Presets: the file format, the conversions both ways and the preset panel's list and files.
#include "config/persettingjson.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "settings/persetbutton.h"
#include "settings/presetwidget.h"
#include "testsupport.h"
#include "widgets/clearlineedit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace
{

OneConfigCmdStruct sampleConfig()
{
    OneConfigCmdStruct c{};
    std::strcpy(c.devName, "Cold_Room_7");
    c.devId = 42;
    c.tempUnit = 1;
    c.isOpenBacklight = true;
    c.isOpenLed = true;
    c.recordMode = 1;
    c.startMode = 2;
    c.isKeyRetart = true;
    c.isKeyStopRecord = false;
    c.startDelayTime = 30;
    c.screenDisplayTime = 120;
    c.recordInterval = 12;
    const uint8_t start[6] = {24, 3, 5, 14, 15, 30};
    const uint8_t clock[6] = {24, 2, 29, 23, 59, 59};
    std::memcpy(c.perSetStartTime, start, 6);
    std::memcpy(c.devDateTime, clock, 6);
    c.isDateTimeFlowSys = true;
    c.sensorType = 2;
    c.th1 = {true, 2550, true, 1440};
    c.th2 = {true, 3000, false, 12};
    c.tl1 = {true, -4000, false, 0};
    c.hh = {true, 950, true, 3};
    c.hl = {false, 100, false, 17280};
    return c;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray presetFile(const QString &name, int model)
{
    PersettingJson p = PersettingJson::fromConfig(sampleConfig(), "note", name, model);
    return QJsonDocument(p.toJson()).toJson(QJsonDocument::Compact);
}

} // namespace

class TestPresets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void fileFormatKeys();
    void roundTripKeepsEveryField();
    void screenModeStorage_data();
    void screenModeStorage();
    void handEditedFiles_data();
    void handEditedFiles();
    void devNameCutAtACharacter_data();
    void devNameCutAtACharacter();
    void emptyFolderShowsTheCreateRow();
    void listSkipsInvalidFilesAndAppliesTheRightOne();
    void newFilesNeverReplaceOldOnes();
    void renameKeepsFileAndMembers();
    void entryMenuOpensDeletesAndRenames();
    void selectModeAndMultipleDelete();
    void completeWithAnEmptyNameDoesNothing();

private:
    QString folder() const { return configDir(); }
    QObject owner;
};

void TestPresets::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    initSettings(&owner);
}

void TestPresets::init()
{
    QDir(folder()).removeRecursively();
    QVERIFY(QDir().mkpath(folder()));
}

void TestPresets::fileFormatKeys()
{
    const QByteArray bytes = presetFile("Cold", HX20D);
    QVERIFY(!bytes.contains(' ') && !bytes.contains('\n'));
    const QJsonObject o = QJsonDocument::fromJson(bytes).object();
    QStringList expected = {"configName",
                            "devName",
                            "devId",
                            "devNote",
                            "tempUnit",
                            "screenCloseMode",
                            "screenCloseTime",
                            "isOpenBacklight",
                            "isOpenBuzzer",
                            "isOpenLed",
                            "isOpenPdf",
                            "recordMode",
                            "startMode",
                            "keyStopMode",
                            "keyRestartMode",
                            "devDateTime",
                            "perStartDateTime",
                            "th1",
                            "th2",
                            "th3",
                            "tl1",
                            "tl2",
                            "tl3",
                            "hh",
                            "hl",
                            "isDateTimeFlowSys",
                            "lgxDevType",
                            "sensorType"};
    expected.sort();
    QCOMPARE(o.keys(), expected);
    QCOMPARE(o.value("devId").toString(), QStringLiteral("42"));
    QCOMPARE(o.value("devName").toString(), QStringLiteral("Cold_Room_7"));
    QVERIFY(o.value("isOpenBacklight").isBool());
    QCOMPARE(o.value("keyRestartMode").toInt(), 1);
    QCOMPARE(o.value("keyStopMode").toInt(), 0);
    QCOMPARE(o.value("lgxDevType").toInt(), 1);
    const QJsonObject start = o.value("perStartDateTime").toObject();
    QCOMPARE(start.value("year").toInt(), 2024);
    QCOMPARE(start.value("second").toInt(), 30);
    const QJsonObject th1 = o.value("th1").toObject();
    QCOMPARE(th1.keys(), (QStringList{"alertValue", "delayTime", "isAccumulate", "isOpen"}));
    QCOMPARE(th1.value("alertValue").toInt(), 2550);
    QCOMPARE(th1.value("delayTime").toInt(), 1440);
    QCOMPARE(th1.value("isAccumulate").toBool(), true);
}

void TestPresets::roundTripKeepsEveryField()
{
    const OneConfigCmdStruct c = sampleConfig();
    PersettingJson read;
    read.readJson(PersettingJson::fromConfig(c, "备注", "Cold", HX20D).toJson());
    QString note;
    const OneConfigCmdStruct back = read.toConfig(&note);
    QCOMPARE(note, QStringLiteral("备注"));
    QCOMPARE(read.lgxDevType, int(HX20D));
    QCOMPARE(QByteArray(back.devName), QByteArray("Cold_Room_7"));
    QCOMPARE(back.devId, c.devId);
    QCOMPARE(back.tempUnit, c.tempUnit);
    QCOMPARE(back.isOpenBacklight, true);
    QCOMPARE(back.isOpenBuzzer, false);
    QCOMPARE(back.isOpenLed, true);
    QCOMPARE(back.recordMode, 1);
    QCOMPARE(back.startMode, 2);
    QCOMPARE(back.isKeyRetart, true);
    QCOMPARE(back.isKeyStopRecord, false);
    QCOMPARE(back.screenDisplayTime, uint16_t(120));
    QCOMPARE(back.isDateTimeFlowSys, true);
    QCOMPARE(back.sensorType, uint8_t(2));
    QCOMPARE(QByteArray((const char *)back.perSetStartTime, 6),
             QByteArray((const char *)c.perSetStartTime, 6));
    QCOMPARE(QByteArray((const char *)back.devDateTime, 6),
             QByteArray((const char *)c.devDateTime, 6));
    QCOMPARE(back.th1.isOpen, true);
    QCOMPARE(back.th1.alertValue, 2550);
    QCOMPARE(back.th1.isAccumulate, true);
    QCOMPARE(back.th1.delayTime, uint16_t(1440));
    QCOMPARE(back.tl1.alertValue, -4000);
    QCOMPARE(back.hh.alertValue, 950);
    QCOMPARE(back.hl.delayTime, uint16_t(17280));
    // No start delay and no record interval travel with a preset.
    QCOMPARE(back.startDelayTime, uint8_t(0));
    QCOMPARE(back.recordInterval, uint16_t(0));
}

void TestPresets::screenModeStorage_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("time");
    QTest::newRow("always on") << 0 << 0 << 0;
    QTest::newRow("120 s") << 120 << 1 << 120;
    QTest::newRow("10 s") << 10 << 1 << 10;
    QTest::newRow("9 s") << 9 << 0 << 0;
    QTest::newRow("301 s") << 301 << 0 << 0;
}

void TestPresets::screenModeStorage()
{
    QFETCH(int, seconds);
    QFETCH(int, mode);
    QFETCH(int, time);
    OneConfigCmdStruct c = sampleConfig();
    c.screenDisplayTime = uint16_t(seconds);
    const QJsonObject o = PersettingJson::fromConfig(c, QString(), "x", HX10D).toJson();
    QCOMPARE(o.value("screenCloseMode").toInt(), mode);
    QCOMPARE(o.value("screenCloseTime").toInt(), time);
}

void TestPresets::handEditedFiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("devId");
    QTest::addColumn<int>("screen");
    QTest::addColumn<QString>("configName");
    QTest::newRow("letters as devId")
        << QByteArray(R"({"devId":"abc","configName":"A"})") << 0 << 0 << "A";
    QTest::newRow("devId beyond a byte") << QByteArray(R"({"devId":"300"})") << 0 << 0 << "";
    QTest::newRow("numbers of the wrong type")
        << QByteArray(R"({"devId":7,"screenCloseMode":"1","screenCloseTime":true,"configName":5})")
        << 0 << 0 << "";
    QTest::newRow("screen time without mode")
        << QByteArray(R"({"screenCloseTime":60})") << 0 << 0 << "";
    QTest::newRow("screen time with mode")
        << QByteArray(R"({"devId":"100","screenCloseMode":1,"screenCloseTime":60})") << 100 << 60
        << "";
    QTest::newRow("broken dates and alarms")
        << QByteArray(R"({"devDateTime":{"year":1e30,"month":-4},"th1":[1,2],"hh":"x"})") << 0 << 0
        << "";
}

void TestPresets::handEditedFiles()
{
    QFETCH(QByteArray, json);
    QFETCH(int, devId);
    QFETCH(int, screen);
    QFETCH(QString, configName);
    const QString path = folder() + "/edited.conf";
    writeFile(path, json);
    PersettingJson p;
    QVERIFY(PersettingJson::readFile(path, &p));
    QCOMPARE(p.configName, configName);
    const OneConfigCmdStruct c = p.toConfig(nullptr);
    QCOMPARE(int(c.devId), devId);
    QCOMPARE(int(c.screenDisplayTime), screen);
}

void TestPresets::devNameCutAtACharacter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("fits") << "ABCDEFGHIJKLMNOPQRST" << QByteArray("ABCDEFGHIJKLMNOPQRST");
    QTest::newRow("ASCII too long")
        << "ABCDEFGHIJKLMNOPQRSTUV" << QByteArray("ABCDEFGHIJKLMNOPQRST");
    // Seven three-byte characters make 21 bytes: the seventh does not fit.
    QTest::newRow("three-byte characters") << "温度温度温度温" << QString("温度温度温度").toUtf8();
    QTest::newRow("split at byte 20")
        << "ABCDEFGHIJKLMNOPQRS温" << QByteArray("ABCDEFGHIJKLMNOPQRS");
}

void TestPresets::devNameCutAtACharacter()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, stored);
    PersettingJson p;
    p.devName = name;
    const OneConfigCmdStruct c = p.toConfig(nullptr);
    QCOMPARE(QByteArray(c.devName), stored);
    QCOMPARE(c.devName[20], '\0');
}

void TestPresets::emptyFolderShowsTheCreateRow()
{
    PresetWidget panel;
    panel.show();
    QCOMPARE(panel.stackedWidget()->currentIndex(), 0);
    QCOMPARE(panel.emptyLabel()->text(), QStringLiteral("暂无预设，请新建预设"));
    QVERIFY(panel.createWidget()->isVisible());
    QVERIFY(panel.nameLineEdit()->isVisible());
    QVERIFY(!panel.selectWidget()->isVisible());
    QVERIFY(!panel.addButton()->isVisible());

    // Saving goes through the settings form; here the panel only asks for it.
    QSignalSpy create(&panel, &PresetWidget::createPersetConfig);
    panel.nameLineEdit()->setText("Fridge");
    panel.completeBtn()->click();
    QCOMPARE(create.count(), 1);
    QCOMPARE(create.at(0).at(0).toString(), QStringLiteral("Fridge"));
    QCOMPARE(create.at(0).at(1).toString(), QString());
    writeFile(folder() + "/20240305_141530.conf", presetFile("Fridge", HX10D));
    panel.loadConfigs();
    QCOMPARE(panel.stackedWidget()->currentIndex(), 1);
    QVERIFY(!panel.createWidget()->isVisible());
    QVERIFY(panel.selectWidget()->isVisible());
    QVERIFY(panel.addButton()->isVisible());
    QCOMPARE(panel.entries().size(), 1);
    QCOMPARE(panel.entries().at(0)->text(), QStringLiteral("Fridge"));
    QCOMPARE(panel.entries().at(0)->objectName(), QStringLiteral("20240305_141530.conf__0"));
}

void TestPresets::listSkipsInvalidFilesAndAppliesTheRightOne()
{
    writeFile(folder() + "/a.conf", presetFile("First", HX10D));
    writeFile(folder() + "/b.conf", "this is not JSON");
    writeFile(folder() + "/c.conf", presetFile("Third", HX20D));
    writeFile(folder() + "/d.txt", presetFile("Ignored", HX20D));
    PresetWidget panel;
    panel.show();
    const QList<PersetButton *> entries = panel.entries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0)->objectName(), QStringLiteral("a.conf__0"));
    QCOMPARE(entries.at(1)->objectName(), QStringLiteral("c.conf__1"));
    QCOMPARE(entries.at(1)->geometry(), QRect(4, 50 + 2 * 6, 350, 50));
    // Three files were listed, so the content leaves room for three entries.
    QCOMPARE(panel.findChild<QWidget *>("persetContentWidget")->minimumHeight(), 3 * 50 + 4 * 6);

    QSignalSpy using_(&panel, &PresetWidget::usingSettings);
    entries.at(1)->click();
    QCOMPARE(using_.count(), 1);
    QCOMPARE(using_.at(0).at(2).toInt(), int(HX20D));
    const auto config = using_.at(0).at(0).value<OneConfigCmdStruct>();
    QCOMPARE(QByteArray(config.devName), QByteArray("Cold_Room_7"));
    QCOMPARE(using_.at(0).at(1).toString(), QStringLiteral("note"));
    QVERIFY(!panel.isVisible());

    panel.show();
    entries.at(0)->applyButton()->click();
    QCOMPARE(using_.count(), 2);
    QCOMPARE(using_.at(1).at(2).toInt(), int(HX10D));
    QVERIFY(!panel.isVisible());
}

void TestPresets::newFilesNeverReplaceOldOnes()
{
    const PersettingJson p = PersettingJson::fromConfig(sampleConfig(), "n", "One", HX10D);
    const QString first = p.writeNewFile(folder());
    const QString second = p.writeNewFile(folder());
    QVERIFY(first.endsWith(".conf"));
    QVERIFY(QRegularExpression("^\\d{8}_\\d{6}(_\\d+)?\\.conf$").match(first).hasMatch());
    QVERIFY(first != second);
    QCOMPARE(QDir(folder()).entryList({"*.conf"}).size(), 2);
    QVERIFY(p.writeNewFile(folder() + "/missing/folder").isEmpty());

    // Saved at the same moment (two windows, two users), each keeps its own file.
    constexpr int rounds = 20;
    constexpr int savers = 12;
    QSet<QString> configNames;
    for (int round = 0; round < rounds; ++round) {
        std::vector<QString> names(savers);
        std::vector<std::thread> threads;
        std::atomic<bool> go{false};
        for (int i = 0; i < savers; ++i) {
            threads.emplace_back([this, &names, &go, round, i] {
                const QString name = QStringLiteral("Saver %1.%2").arg(round).arg(i);
                const PersettingJson preset =
                    PersettingJson::fromConfig(sampleConfig(), "n", name, HX10D);
                while (!go)
                    std::this_thread::yield();
                names[size_t(i)] = preset.writeNewFile(folder());
            });
        }
        go = true;
        for (std::thread &t : threads)
            t.join();
        for (const QString &name : names) {
            PersettingJson read;
            QVERIFY2(PersettingJson::readFile(QDir(folder()).filePath(name), &read),
                     qPrintable(name));
            configNames.insert(read.configName);
        }
    }
    QCOMPARE(configNames.size(), rounds * savers);
    QCOMPARE(QDir(folder()).entryList({"*.conf"}).size(), 2 + rounds * savers);
    QVERIFY(QDir(folder()).entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty());
}

void TestPresets::renameKeepsFileAndMembers()
{
    const QString path = folder() + "/20240101_000000.conf";
    writeFile(path, presetFile("Old", HX20D));
    QJsonObject before = QJsonDocument::fromJson(presetFile("Old", HX20D)).object();
    QVERIFY(PersettingJson::renameFile(path, "新名字"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject after = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(after.value("configName").toString(), QStringLiteral("新名字"));
    before.remove("configName");
    after.remove("configName");
    QCOMPARE(after, before);
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList{"20240101_000000.conf"});
    // A file that holds no preset is left alone.
    writeFile(folder() + "/broken.conf", "{}");
    QVERIFY(!PersettingJson::renameFile(folder() + "/broken.conf", "x"));
    QVERIFY(!PersettingJson::renameFile(folder() + "/absent.conf", "x"));
    QVERIFY(!QFile::exists(folder() + "/absent.conf"));
}

void TestPresets::entryMenuOpensDeletesAndRenames()
{
    writeFile(folder() + "/a.conf", presetFile("First", HX10D));
    writeFile(folder() + "/b.conf", presetFile("Second", HX10D));
    PresetWidget panel;
    panel.show();
    QSignalSpy using_(&panel, &PresetWidget::usingSettings);
    QSignalSpy create(&panel, &PresetWidget::createPersetConfig);

    panel.entries().at(1)->action("open")->trigger();
    QCOMPARE(using_.count(), 1);
    QVERIFY(panel.isVisible());

    panel.entries().at(1)->action("rename")->trigger();
    QVERIFY(panel.createWidget()->isVisible());
    QVERIFY(!panel.addButton()->isVisible());
    QCOMPARE(panel.nameLineEdit()->text(), QStringLiteral("Second"));
    QCOMPARE(panel.renameTarget(), QStringLiteral("b.conf"));
    panel.nameLineEdit()->setText("Renamed");
    panel.completeBtn()->click();
    QCOMPARE(create.count(), 1);
    QCOMPARE(create.at(0).at(1).toString(), QStringLiteral("b.conf"));

    // Deleting through the menu runs inside the entry's own menu.
    QTimer::singleShot(0, [&panel] { panel.entries().at(0)->action("del")->trigger(); });
    QTimer::singleShot(50, [&panel] {
        if (QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            menu->close();
    });
    emit panel.entries().at(0)->customContextMenuRequested(QPoint(10, 10));
    QVERIFY(!QFile::exists(folder() + "/a.conf"));
    QCOMPARE(panel.entries().size(), 1);
    QCOMPARE(panel.entries().at(0)->objectName(), QStringLiteral("b.conf__0"));
    QCOMPARE(panel.renameTarget(), QString());
}

void TestPresets::selectModeAndMultipleDelete()
{
    writeFile(folder() + "/a.conf", presetFile("First", HX10D));
    writeFile(folder() + "/b.conf", presetFile("Second", HX10D));
    writeFile(folder() + "/c.conf", presetFile("Third", HX10D));
    PresetWidget panel;
    panel.show();
    QSignalSpy using_(&panel, &PresetWidget::usingSettings);

    // Nothing checked: the delete button only leaves select mode.
    panel.selectPerSetBtn()->click();
    QVERIFY(panel.isSelectMode());
    QCOMPARE(panel.selectPerSetBtn()->text(), QStringLiteral("取消"));
    QVERIFY(panel.delPerSetBtn()->isVisible());
    QVERIFY(!panel.entries().at(0)->applyButton()->isVisible());
    panel.delPerSetBtn()->click();
    QVERIFY(!panel.isSelectMode());
    QCOMPARE(panel.selectPerSetBtn()->text(), QStringLiteral("编辑"));
    QCOMPARE(QDir(folder()).entryList({"*.conf"}).size(), 3);

    panel.selectPerSetBtn()->click();
    panel.entries().at(0)->click();
    panel.entries().at(2)->click();
    QCOMPARE(using_.count(), 0);
    QVERIFY(panel.isVisible());
    panel.delPerSetBtn()->click();
    QCOMPARE(QDir(folder()).entryList({"*.conf"}), QStringList{"b.conf"});
    QVERIFY(!panel.isSelectMode());
    QCOMPARE(panel.entries().size(), 1);
    QVERIFY(!panel.entries().at(0)->isCheckable());
    QVERIFY(panel.entries().at(0)->applyButton()->isVisibleTo(&panel));
}

void TestPresets::completeWithAnEmptyNameDoesNothing()
{
    PresetWidget panel;
    QSignalSpy create(&panel, &PresetWidget::createPersetConfig);
    panel.completeBtn()->click();
    QCOMPARE(create.count(), 0);
}

int main(int argc, char **argv)
{
    QScopedPointer<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestPresets test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_presets.moc"
