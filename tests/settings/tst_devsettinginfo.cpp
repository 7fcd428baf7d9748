// SPDX-License-Identifier: GPL-3.0-or-later
// The settings page: loading records, editing, the alarm rows, writing, verifying, leaving and
// presets.
#include "config/configechocheck.h"
#include "core/lgxdevtype.h"
#include "core/settinginfo.h"
#include "device/configframe.h"
#include "settings/alarmrowwidget.h"
#include "settings/datetimedialog.h"
#include "settings/datetimelineedit.h"
#include "settings/datetimewidget.h"
#include "settings/delaysetwidget.h"
#include "settings/delaysetwidgetfrom10.h"
#include "settings/delaysimplesetwidget.h"
#include "settings/devsettinginfo.h"
#include "settings/persetbutton.h"
#include "settings/presetwidget.h"
#include "settings/settingquestions.h"
#include "testsupport.h"
#include "widgets/checkbutton.h"
#include "widgets/clearlineedit.h"
#include "widgets/combobox.h"
#include "widgets/toggle.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <cstring>

namespace
{

OneConfigCmdStruct deviceConfig()
{
    OneConfigCmdStruct c{};
    c.cmdType = 1;
    std::strcpy(c.devName, "Logger_1");
    c.devId = 5;
    c.tempUnit = 0;
    c.isOpenBacklight = true;
    c.isOpenBuzzer = true;
    c.recordMode = 1;
    c.startMode = 1;
    c.startDelayTime = 30;
    c.screenDisplayTime = 60;
    c.recordInterval = 12;
    const uint8_t start[6] = {24, 3, 5, 14, 15, 30};
    const uint8_t clock[6] = {24, 3, 1, 12, 0, 0};
    std::memcpy(c.perSetStartTime, start, 6);
    std::memcpy(c.devDateTime, clock, 6);
    c.isDateTimeFlowSys = true;
    c.firmwareVersion[0] = 1;
    c.firmwareVersion[1] = 2;
    c.firmwareVersion[2] = 3;
    c.th1 = {true, 2000, false, 12};
    c.th2 = {true, 3000, false, 12};
    c.th3 = {false, 4200, false, 0};
    c.tl1 = {true, 500, false, 0};
    c.tl2 = {false, -1000, true, 0};
    c.tl3 = {false, -2000, false, 0};
    c.hh = {true, 800, false, 0};
    c.hl = {true, 300, false, 0};
    c.sensorType = 2;
    return c;
}

// Waits for the next modal question, notes it and clicks its button named `button`
// ("pushButton" cancels, "pushButton_2" confirms, "pushButton_3" the answer between them);
// a wait that `owner` owns ends with it, question or not.
void clickInNextDialog(const char *button, QStringList *asked = nullptr, QObject *owner = nullptr)
{
    auto *poll = new QTimer(owner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, button, asked] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        if (asked)
            asked->append(dialog->findChild<QLabel *>("label")->text());
        auto *target = dialog->findChild<QPushButton *>(QLatin1String(button));
        target ? target->click() : dialog->reject();
    });
    poll->start();
}

// Answers the next question with "确定" (accept) or "取消", noting it.
void answerNextDialog(bool accept, QStringList *asked = nullptr)
{
    clickInNextDialog(accept ? "pushButton_2" : "pushButton", asked);
}

// Answers the page's record-count questions at once, as a logger that gave no count would:
// the warning is then the general one.
void answerRecordCounts(DevSettingInfo &page)
{
    QObject::connect(&page, &DevSettingInfo::toReadRecordCount, &page,
                     [&page] { page.delRecordCountResult(false, 0, 0); });
}

// The name label of the first row, "设备名称".
QLabel *firstRowLabel(DevSettingInfo &page)
{
    return page.form().devNameLE->parentWidget()->findChild<QLabel *>();
}

AlarmRowWidget *row(DevSettingInfo &page, int r)
{
    return page.form().alarmRows[size_t(r)];
}

// Types `value` into a row's spin box and finishes the edit.
void enter(DevSettingInfo &page, int r, double value)
{
    QDoubleSpinBox *spin = row(page, r)->spinBox();
    spin->setValue(value);
    emit spin->editingFinished();
}

} // namespace

class TestDevSettingInfo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void constructionDefaults();
    void recordOfNoModelIsIgnored();
    void loadingKeepsTheRecordAndTheState();
    void screenTime_data();
    void screenTime();
    void startModes_data();
    void startModes();
    void sensorRowsPerModel_data();
    void sensorRowsPerModel();
    void noteCut_data();
    void noteCut();
    void devIdRange_data();
    void devIdRange();
    void controlsEditTheWorkingRecord();
    void writeVerification_data();
    void writeVerification();
    void declinedWarningWritesNothing();
    void leavingUnchangedClosesAtOnce();
    void leavingWithChangesWritesThenCloses();
    void leavingAndDiscardingCloses();
    void leavingAndCancellingTheWarningStaysOpen();
    void leavingWithThePresetPanelOpenAsks();
    void eraseWarningTexts_data();
    void eraseWarningTexts();
    void countArrivingUnaskedAsksNothing();
    void revertingRestoresTheDeviceRecord();
    void levelClicks();
    void thresholdOrdering();
    void clampingSaysSo_data();
    void clampingSaysSo();
    void nameHintSaysWhatIsRefused();
    void fahrenheit();
    void disabledRowsWrittenAsStored();
    void alarmDelayRoundTrip();
    void presetOfTheConnectedModel();
    void presetOfAnotherModelIsRefused();
    void savingAndRenamingPresets();
    void presetButtonPressTogglesSaveButtons();
    void pickingAStartTime();
    void manualClockTicks();
    void clockStandsStillWhilePicked();
    void languageWidths();
    void floatingLayoutAndScreenshots();
    void strayWheelChangesNothing();

private:
    QObject owner;
};

void TestDevSettingInfo::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    initSettings(&owner);
    qRegisterMetaType<OneConfigCmdStruct>();
}

void TestDevSettingInfo::init()
{
    QDir(configDir()).removeRecursively();
}

void TestDevSettingInfo::constructionDefaults()
{
    DevSettingInfo page;
    const DevSettingUi &ui = page.form();
    for (QRadioButton *rb : {ui.innerTempSensorRB, ui.flowSysTimeRB, ui.allLightRB, ui.loopRecordRB,
                             ui.softStartRB, ui.disableKeyRB, ui.disabelReStartRB})
        QVERIFY2(rb->isChecked(), qPrintable(rb->objectName()));
    QVERIFY(!ui.centigradeRB->isChecked() && !ui.fdegreeRB->isChecked());
    QCOMPARE(ui.autoLightCB->count(), 291);
    QCOMPARE(ui.autoLightCB->itemText(0), QStringLiteral("10 秒"));
    QCOMPARE(ui.autoLightCB->itemText(20), QStringLiteral("30 秒"));
    QCOMPARE(ui.autoLightCB->itemData(290).toInt(), 300);
    QVERIFY(ui.autoLightCB->isHidden());
    QVERIFY(ui.startTimeLE->isHidden());
    QVERIFY(ui.dateTimeLE->isReadOnly());
    QVERIFY(!page.saveButton()->isEnabled());
    QVERIFY(page.presetButton()->isCheckable());
    QCOMPARE(page.presetButton()->text(), QStringLiteral("预设"));
    QCOMPARE(page.noSaveButton()->text(), QStringLiteral("不保存"));
    QVERIFY(page.presetPanel()->isHidden());
    QVERIFY(!page.isModified());
}

void TestDevSettingInfo::recordOfNoModelIsIgnored()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), NoDevType);
    QCOMPARE(page.form().devNameLE->text(), QString());
    QCOMPARE(page.connectedModel(), int(NoDevType));
}

void TestDevSettingInfo::loadingKeepsTheRecordAndTheState()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    const DevSettingUi &ui = page.form();
    QCOMPARE(ui.devNameLE->text(), QStringLiteral("Logger_1"));
    QCOMPARE(ui.devIdLE->text(), QStringLiteral("5"));
    QCOMPARE(ui.devVersionLabel->text(), QStringLiteral("V 1.2.3"));
    QVERIFY(ui.loopRecordRB->isChecked());
    QVERIFY(ui.backlightToggle->isChecked() && ui.buzzerToggle->isChecked());
    QVERIFY(!ui.ledToggle->isChecked());
    QCOMPARE(ui.startDelayWidget->value(), 30);
    QCOMPARE(ui.recordInterval->value(), 60);
    QCOMPARE(ui.startTimeLE->text(), QStringLiteral("2024-03-05 14:15:30"));
    QVERIFY(!ui.dateTimeLE->isEnabled());
    QVERIFY(ui.centigradeRB->isChecked());
    QCOMPARE(page.deviceClock(), QDateTime(QDate(2024, 3, 1), QTime(12, 0, 0)));
    QVERIFY(qAbs(page.systemClock().secsTo(QDateTime::currentDateTime())) <= 2);
    // Loading is no edit: nothing to save, and the working record is the logger's.
    QVERIFY(!page.isModified());
    QVERIFY(!page.saveButton()->isEnabled());
    const OneConfigCmdStruct working = page.workingRecord();
    const OneConfigCmdStruct device = deviceConfig();
    // Field by field: the record's padding bytes carry no meaning.
    QCOMPARE(ConfigEchoCheck::firstDifference(working, device), QString());
    QCOMPARE(encodeConfigFrame(working, HX20D), encodeConfigFrame(device, HX20D));

    page.delDevReadNoteSignal("设备备注");
    QCOMPARE(ui.lineEdit->text(), QStringLiteral("设备备注"));
    QCOMPARE(page.workingNote(), QStringLiteral("设备备注"));
    QVERIFY(!page.isModified());

    page.delDevStateSignal("SN0001", true, false);
    QCOMPARE(ui.devSNLabel->text(), QStringLiteral("SN0001"));
}

void TestDevSettingInfo::screenTime_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("autoOff");
    QTest::addColumn<QString>("item");
    QTest::newRow("9") << 9 << false << "";
    QTest::newRow("10") << 10 << true << "10 秒";
    QTest::newRow("300") << 300 << true << "300 秒";
    QTest::newRow("301") << 301 << false << "";
    QTest::newRow("always on") << 0 << false << "";
}

void TestDevSettingInfo::screenTime()
{
    QFETCH(int, seconds);
    QFETCH(bool, autoOff);
    QFETCH(QString, item);
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.screenDisplayTime = uint16_t(seconds);
    page.delDevConfigSignal(c, HX10D);
    const DevSettingUi &ui = page.form();
    QCOMPARE(ui.autoLightRB->isChecked(), autoOff);
    QCOMPARE(ui.allLightRB->isChecked(), !autoOff);
    QCOMPARE(ui.autoLightCB->isHidden(), !autoOff);
    if (autoOff)
        QCOMPARE(ui.autoLightCB->currentText(), item);
    // Out-of-range values are kept until the user touches the screen mode.
    QCOMPARE(int(page.workingRecord().screenDisplayTime), seconds);
    ui.allLightRB->click();
    QCOMPARE(int(page.workingRecord().screenDisplayTime), 0);
    ui.autoLightRB->click();
    QVERIFY(!ui.autoLightCB->isHidden());
    QCOMPARE(int(page.workingRecord().screenDisplayTime), ui.autoLightCB->currentData().toInt());
}

void TestDevSettingInfo::startModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("startTimeShown");
    QTest::addColumn<bool>("restartEnabled");
    QTest::newRow("key") << 0 << "keyStartRB" << false << true;
    QTest::newRow("software") << 1 << "softStartRB" << false << false;
    QTest::newRow("scheduled") << 2 << "subStartRB" << true << false;
    QTest::newRow("unknown") << 7 << "subStartRB" << true << false;
}

void TestDevSettingInfo::startModes()
{
    QFETCH(int, mode);
    QFETCH(QString, checked);
    QFETCH(bool, startTimeShown);
    QFETCH(bool, restartEnabled);
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.startMode = mode;
    c.isKeyRetart = true;
    page.delDevConfigSignal(c, HX10D);
    const DevSettingUi &ui = page.form();
    QVERIFY(page.findChild<QRadioButton *>(checked)->isChecked());
    QCOMPARE(!ui.startTimeLE->isHidden(), startTimeShown);
    QCOMPARE(ui.keyRestartW->isEnabled(), restartEnabled);
    QVERIFY(ui.allowRestartRB->isChecked());
    ui.keyStartRB->click();
    QVERIFY(ui.keyRestartW->isEnabled());
    QVERIFY(ui.startTimeLE->isHidden());
    QCOMPARE(page.workingRecord().startMode, 0);
}

void TestDevSettingInfo::sensorRowsPerModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("sensor");
    QTest::addColumn<bool>("sensorRow");
    QTest::addColumn<bool>("humidityRows");
    QTest::newRow("HX10D") << int(HX10D) << 1 << false << true;
    QTest::newRow("HX20D internal") << int(HX20D) << 0 << true << false;
    QTest::newRow("HX20D temperature probe") << int(HX20D) << 1 << true << false;
    QTest::newRow("HX20D humidity probe") << int(HX20D) << 2 << true << true;
}

void TestDevSettingInfo::sensorRowsPerModel()
{
    QFETCH(int, model);
    QFETCH(int, sensor);
    QFETCH(bool, sensorRow);
    QFETCH(bool, humidityRows);
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.sensorType = uint8_t(sensor);
    page.delDevConfigSignal(c, model);
    QCOMPARE(!page.form().sensorWidget->isHidden(), sensorRow);
    QCOMPARE(!row(page, HhRow)->isHidden(), humidityRows);
    QCOMPARE(!row(page, HlRow)->isHidden(), humidityRows);
    if (model == HX20D) {
        page.form().exterHumSensorRB->click();
        QVERIFY(!row(page, HhRow)->isHidden());
        QCOMPARE(int(page.workingRecord().sensorType), 2);
        page.form().innerTempSensorRB->click();
        QVERIFY(row(page, HlRow)->isHidden());
    }
}

void TestDevSettingInfo::noteCut_data()
{
    const QString fifty = QString(50, QChar(0x6E29)); // 温
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("60 Chinese characters") << QString(60, QChar(0x6E29)) << fifty;
    QTest::newRow("100 bytes fit") << fifty << fifty;
    QTest::newRow("ASCII in front") << "ab" + fifty << fifty;
    // The last 100 bytes would start inside a character: it goes whole.
    QTest::newRow("odd byte count") << fifty + "a" << fifty.left(49) + "a";
}

void TestDevSettingInfo::noteCut()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    DevSettingInfo page;
    page.form().lineEdit->setText(typed);
    QCOMPARE(page.form().lineEdit->text(), kept);
    QCOMPARE(page.workingNote(), kept);
    QVERIFY(page.isModified());
}

void TestDevSettingInfo::devIdRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("0") << "0"
                       << "0" << 0;
    QTest::newRow("100") << "100"
                         << "100" << 100;
    QTest::newRow("101") << "101"
                         << "10" << 10;
    QTest::newRow("leading zero") << "07"
                                  << "0" << 0;
    QTest::newRow("minus") << "-1"
                           << "1" << 1;
    QTest::newRow("letters") << "a5"
                             << "5" << 5;
}

void TestDevSettingInfo::devIdRange()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    QLineEdit *edit = page.form().devIdLE;
    edit->clear();
    QCOMPARE(int(page.workingRecord().devId), 0);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(int(page.workingRecord().devId), stored);
}

void TestDevSettingInfo::controlsEditTheWorkingRecord()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    const DevSettingUi &ui = page.form();
    ui.devNameLE->setText("Freezer_2");
    QCOMPARE(QByteArray(page.workingRecord().devName), QByteArray("Freezer_2"));
    QVERIFY(page.isModified());
    QVERIFY(page.saveButton()->isEnabled());
    ui.ledToggle->click();
    QVERIFY(page.workingRecord().isOpenLed);
    ui.fullRecordRB->click();
    QCOMPARE(page.workingRecord().recordMode, 0);
    ui.allowKeyRB->click();
    QVERIFY(page.workingRecord().isKeyStopRecord);
    ui.manualTimeRB->click();
    QVERIFY(!page.workingRecord().isDateTimeFlowSys);
    QVERIFY(ui.dateTimeLE->isEnabled());
    ui.recordInterval->setDelayTime(3600);
    QCOMPARE(int(page.workingRecord().recordInterval), 720);
    ui.startDelayWidget->setDelayTime(240);
    QCOMPARE(int(page.workingRecord().startDelayTime), 240);
    row(page, Th1Row)->typeCB()->setCurrentIndex(1);
    QVERIFY(page.workingRecord().th1.isAccumulate);
    ui.fdegreeRB->click();
    QCOMPARE(page.workingRecord().tempUnit, 1);
}

void TestDevSettingInfo::writeVerification_data()
{
    QTest::addColumn<bool>("sameNote");
    QTest::addColumn<bool>("sameConfig");
    QTest::addColumn<QString>("message");
    QTest::newRow("matching echo") << true << true << "配置成功";
    QTest::newRow("different note") << false << true << "配置失败";
    QTest::newRow("different record") << true << false << "配置失败";
}

void TestDevSettingInfo::writeVerification()
{
    QFETCH(bool, sameNote);
    QFETCH(bool, sameConfig);
    QFETCH(QString, message);
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    page.form().lineEdit->setText("备注");
    page.form().keyStartRB->click();
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    QSignalSpy messages(&page, &DevSettingInfo::sendMessage);
    QSignalSpy notice(&page, &DevSettingInfo::toNoticeTbWidgetOnlyStartMode);
    QSignalSpy close(&page, &DevSettingInfo::closeThis);
    answerRecordCounts(page);
    QStringList asked;
    answerNextDialog(true, &asked);
    page.saveButton()->click();
    QCOMPARE(asked, QStringList{"注意配置设备会清除\n设备中所有记录的数据"});
    QCOMPARE(write.count(), 1);
    OneConfigCmdStruct echo = write.at(0).at(0).value<OneConfigCmdStruct>();
    QCOMPARE(write.at(0).at(1).toString(), QStringLiteral("备注"));
    QCOMPARE(echo.startMode, 0);
    // The logger stores its clock and answers with its firmware version.
    echo.devDateTime[5] = 42;
    echo.firmwareVersion[0] = 9;
    if (!sameConfig)
        echo.hl.alertValue += 10;
    page.delDevWriteReturnConfig(echo, sameNote ? QStringLiteral("备注") : QStringLiteral("备"));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toString(), message);
    const bool success = sameNote && sameConfig;
    QCOMPARE(notice.count(), success ? 1 : 0);
    if (success)
        QCOMPARE(notice.at(0).at(0).toInt(), 0);
    QVERIFY(!page.saveButton()->isEnabled());
    QVERIFY(!page.isModified());
    QCOMPARE(close.count(), 0);
}

void TestDevSettingInfo::declinedWarningWritesNothing()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("x");
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    answerRecordCounts(page);
    answerNextDialog(false);
    page.delSave();
    QCOMPARE(write.count(), 0);
    QVERIFY(page.isModified());
}

void TestDevSettingInfo::leavingUnchangedClosesAtOnce()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    QSignalSpy close(&page, &DevSettingInfo::closeThis);
    page.delSendSaveConfigOptSignal();
    QCOMPARE(close.count(), 1);
}

void TestDevSettingInfo::leavingWithChangesWritesThenCloses()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("Changed");
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    QSignalSpy close(&page, &DevSettingInfo::closeThis);
    answerRecordCounts(page);
    QStringList asked;
    answerNextDialog(true, &asked);
    QTimer::singleShot(100, [&asked] { answerNextDialog(true, &asked); });
    page.delSendSaveConfigOptSignal();
    QCOMPARE(asked, (QStringList{"是否保存设备设置", "注意配置设备会清除\n设备中所有记录的数据"}));
    QCOMPARE(write.count(), 1);
    QCOMPARE(close.count(), 0);

    page.delDevWriteReturnConfig(write.at(0).at(0).value<OneConfigCmdStruct>(),
                                 write.at(0).at(1).toString());
    QCOMPARE(close.count(), 1);
}

void TestDevSettingInfo::leavingAndDiscardingCloses()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("Changed");
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    QSignalSpy close(&page, &DevSettingInfo::closeThis);
    clickInNextDialog("pushButton_3"); // "不保存"
    page.delSendSaveConfigOptSignal();
    QCOMPARE(close.count(), 1);
    QCOMPARE(write.count(), 0);
    QCOMPARE(page.form().devNameLE->text(), QStringLiteral("Logger_1"));
    QVERIFY(!page.isModified());
}

void TestDevSettingInfo::leavingAndCancellingTheWarningStaysOpen()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("Changed");
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    QSignalSpy close(&page, &DevSettingInfo::closeThis);
    answerRecordCounts(page);
    answerNextDialog(true);
    QTimer::singleShot(100, [] { answerNextDialog(false); });
    page.delSendSaveConfigOptSignal();
    QCOMPARE(write.count(), 0);
    // A later write from the Save button leaves the page open.
    answerNextDialog(true);
    page.delSave();
    QCOMPARE(write.count(), 1);
    page.delDevWriteReturnConfig(write.at(0).at(0).value<OneConfigCmdStruct>(),
                                 write.at(0).at(1).toString());
    QVERIFY(!close.wait(2500));
}

// An open preset panel disables the Save button; the edits are still there to lose.
void TestDevSettingInfo::leavingWithThePresetPanelOpenAsks()
{
    DevSettingInfo page;
    page.show();
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("Changed");
    QTest::mouseClick(page.presetButton(), Qt::LeftButton);
    QVERIFY(!page.saveButton()->isEnabled());
    QSignalSpy close(&page, &DevSettingInfo::closeThis);
    QStringList asked;
    clickInNextDialog("pushButton", &asked);
    page.delSendSaveConfigOptSignal();
    QCOMPARE(asked, QStringList{"是否保存设备设置"});
    QCOMPARE(close.count(), 0);
    QCOMPARE(page.form().devNameLE->text(), QStringLiteral("Changed"));
}

void TestDevSettingInfo::eraseWarningTexts_data()
{
    QTest::addColumn<bool>("known");
    QTest::addColumn<qint64>("recordNum");
    QTest::addColumn<int>("numofReport");
    QTest::addColumn<QString>("text");
    const QString many = "设备中有 %1 条记录，写入配置会将它们全部清除。\n先下载可以保留这些记录。";
    QTest::newRow("no answer") << false << qint64(0) << 0
                               << "注意配置设备会清除\n设备中所有记录的数据";
    QTest::newRow("empty") << true << qint64(0) << 0 << "设备中没有记录，写入配置不会清除数据。";
    QTest::newRow("one") << true << qint64(1) << 1
                         << "设备中有 1 条记录，写入配置会将它清除。\n先下载可以保留这条记录。";
    // A recording with an empty memory still has something to lose.
    QTest::newRow("recorded, none held") << true << qint64(500) << 0 << many.arg("500");
    QTest::newRow("beyond 32 bits") << true << qint64(3000000000) << 0 << many.arg("3,000,000,000");
}

void TestDevSettingInfo::eraseWarningTexts()
{
    QFETCH(bool, known);
    QFETCH(qint64, recordNum);
    QFETCH(int, numofReport);
    QTEST(SettingQuestions::eraseWarning(known, recordNum, numofReport), "text");
}

// A count that nobody's write waits for (the page was left, or read again) opens no warning.
void TestDevSettingInfo::countArrivingUnaskedAsksNothing()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("Changed");
    QSignalSpy ask(&page, &DevSettingInfo::toReadRecordCount);
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    page.delSave();
    page.delSave();
    QCOMPARE(ask.count(), 1);
    page.delDevConfigSignal(deviceConfig(), HX10D);
    QStringList asked;
    QObject waits;
    clickInNextDialog("pushButton_2", &asked, &waits);
    page.delRecordCountResult(true, 10, 10);
    QCOMPARE(asked, QStringList());
    QCOMPARE(write.count(), 0);
    // The page asks again for the next write.
    page.delSave();
    QCOMPARE(ask.count(), 2);
}

void TestDevSettingInfo::revertingRestoresTheDeviceRecord()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    page.delDevReadNoteSignal("device note");
    page.form().lineEdit->setText("typed");
    page.form().devNameLE->setText("Other");
    page.form().fdegreeRB->click();
    enter(page, Th1Row, 25.0);
    QVERIFY(page.saveButton()->isEnabled());
    page.noSaveButton()->click();
    QCOMPARE(page.form().devNameLE->text(), QStringLiteral("Logger_1"));
    QCOMPARE(page.form().lineEdit->text(), QStringLiteral("device note"));
    QVERIFY(page.form().centigradeRB->isChecked());
    QCOMPARE(page.workingRecord().th1.alertValue, 2000);
    QCOMPARE(page.workingNote(), QStringLiteral("device note"));
    QVERIFY(!page.isModified());
    QVERIFY(!page.saveButton()->isEnabled());
}

void TestDevSettingInfo::levelClicks()
{
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    for (int r = Th3Row; r <= Tl3Row; ++r)
        AlarmRules::alert(c, r).isOpen = false;
    page.delDevConfigSignal(c, HX10D);
    QVERIFY(!row(page, Th2Row)->spinBox()->isEnabled());
    row(page, Th3Row)->checkBtn()->click();
    OneConfigCmdStruct w = page.workingRecord();
    QVERIFY(w.th3.isOpen && w.th2.isOpen && w.th1.isOpen && w.tl1.isOpen && w.tl2.isOpen);
    QVERIFY(!w.tl3.isOpen);
    for (int r : {Th3Row, Th2Row, Th1Row, Tl1Row, Tl2Row}) {
        QVERIFY(row(page, r)->checkBtn()->isChecked());
        QVERIFY(row(page, r)->spinBox()->isEnabled());
        QVERIFY(row(page, r)->delayWidget()->isEnabled());
    }
    // A row switched back on shows its stored threshold again.
    QCOMPARE(row(page, Th2Row)->spinBox()->value(), 30.0);
    QVERIFY(page.isModified());

    row(page, Tl1Row)->checkBtn()->click();
    w = page.workingRecord();
    QVERIFY(w.th1.isOpen);
    QVERIFY(!w.th3.isOpen && !w.th2.isOpen && !w.tl1.isOpen && !w.tl2.isOpen && !w.tl3.isOpen);
    QVERIFY(!row(page, Th2Row)->checkBtn()->isChecked());
    QCOMPARE(row(page, Th2Row)->spinBox()->value(), 85.0);
    QCOMPARE(row(page, Tl2Row)->spinBox()->value(), -40.0);

    row(page, HhRow)->checkBtn()->click();
    QVERIFY(!page.workingRecord().hh.isOpen);
    QVERIFY(!row(page, HhRow)->spinBox()->isEnabled());
    QCOMPARE(row(page, HhRow)->spinBox()->value(), 100.0);
}

void TestDevSettingInfo::thresholdOrdering()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    row(page, Th3Row)->checkBtn()->click();
    enter(page, Th3Row, 25.0);
    QCOMPARE(row(page, Th3Row)->spinBox()->value(), 30.0);
    QCOMPARE(page.workingRecord().th3.alertValue, 3000);
    enter(page, Th3Row, 36.6);
    QCOMPARE(page.workingRecord().th3.alertValue, 3660);
    row(page, Th3Row)->checkBtn()->click();
    enter(page, Th2Row, 50.0);
    QCOMPARE(page.workingRecord().th2.alertValue, 5000);
    enter(page, Th2Row, 10.0);
    QCOMPARE(row(page, Th2Row)->spinBox()->value(), 20.0);
    QCOMPARE(page.workingRecord().th2.alertValue, 2000);

    enter(page, HhRow, 20);
    QCOMPARE(row(page, HhRow)->spinBox()->value(), 30.0);
    QCOMPARE(page.workingRecord().hh.alertValue, 300);
    enter(page, HlRow, 90);
    QCOMPARE(page.workingRecord().hl.alertValue, 300);
}

void TestDevSettingInfo::clampingSaysSo_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("message"); // empty: within its neighbours, nothing said
    QTest::newRow("low above high") << 0 << int(Tl1Row) << 25.0 << "TL1 不能高于 TH1，已改为 20.0℃";
    QTest::newRow("high below low") << 0 << int(Th1Row) << 1.0 << "TH1 不能低于 TL1，已改为 5.0℃";
    QTest::newRow("in order") << 0 << int(Tl1Row) << 15.0 << "";
    QTest::newRow("Fahrenheit") << 1 << int(Tl1Row) << 100.0 << "TL1 不能高于 TH1，已改为 68.0℉";
    QTest::newRow("humidity") << 0 << int(HhRow) << 20.0 << "HH 不能低于 HL，已改为 30%RH";
}

void TestDevSettingInfo::clampingSaysSo()
{
    QFETCH(int, unit);
    QFETCH(int, row);
    QFETCH(double, value);
    QFETCH(QString, message);
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.tempUnit = unit;
    page.delDevConfigSignal(c, HX20D);
    QSignalSpy messages(&page, &DevSettingInfo::sendMessage);
    enter(page, row, value);
    QCOMPARE(messages.count(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(messages.at(0).at(0).toString(), message);
}

void TestDevSettingInfo::nameHintSaysWhatIsRefused()
{
    DevSettingInfo page;
    page.show();
    // A logger's own name may break the rule; loading it is no refused keystroke.
    OneConfigCmdStruct c = deviceConfig();
    std::strcpy(c.devName, "Cold Room");
    page.delDevConfigSignal(c, HX10D);
    auto *hint = page.findChild<QLabel *>(QStringLiteral("devNameHint"));
    QVERIFY(hint);
    QVERIFY(!hint->property("refused").toBool());
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(),
             QStringLiteral("仅限字母、数字和下划线，最多 20 个；不能有空格或连字符"));
    QLineEdit *edit = page.form().devNameLE;
    edit->clear();
    QTest::keyClicks(edit, "Cold_1");
    QVERIFY(!hint->property("refused").toBool());
    QTest::keyClicks(edit, " Room-2");
    QCOMPARE(edit->text(), QStringLiteral("Cold_1Room2"));
    QVERIFY(hint->property("refused").toBool());
}

void TestDevSettingInfo::fahrenheit()
{
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.tempUnit = 1;
    page.delDevConfigSignal(c, HX10D);
    QDoubleSpinBox *th1 = row(page, Th1Row)->spinBox();
    QCOMPARE(th1->maximum(), 185.0);
    QCOMPARE(th1->suffix(), QStringLiteral("℉"));
    QCOMPARE(th1->value(), 68.0);
    enter(page, Th1Row, 77.0);
    QCOMPARE(page.workingRecord().th1.alertValue, 2500);
    page.form().centigradeRB->click();
    QCOMPARE(th1->value(), 25.0);
    QCOMPARE(th1->suffix(), QStringLiteral("℃"));
    QCOMPARE(th1->maximum(), 85.0);
    QCOMPARE(page.workingRecord().th1.alertValue, 2500);
}

void TestDevSettingInfo::disabledRowsWrittenAsStored()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX10D);
    QDoubleSpinBox *th3 = row(page, Th3Row)->spinBox();
    QVERIFY(!th3->isEnabled());
    QCOMPARE(th3->value(), 85.0);
    page.form().fdegreeRB->click();
    QCOMPARE(th3->value(), 185.0);
    QCOMPARE(row(page, Tl3Row)->spinBox()->value(), -40.0);
    QSignalSpy write(&page, &DevSettingInfo::toWriteConfigToDev);
    answerRecordCounts(page);
    answerNextDialog(true);
    page.delSave();
    QCOMPARE(write.count(), 1);
    const auto written = write.at(0).at(0).value<OneConfigCmdStruct>();
    QCOMPARE(written.th3.alertValue, 4200);
    QVERIFY(!written.th3.isOpen);
    QCOMPARE(written.tl3.alertValue, -2000);
}

void TestDevSettingInfo::alarmDelayRoundTrip()
{
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.th1.delayTime = 1440;
    c.hl.delayTime = 7;
    page.delDevConfigSignal(c, HX20D);
    DelaySetWidget *delay = row(page, Th1Row)->delayWidget();
    QCOMPARE(delay->hourCombo()->currentText(), QStringLiteral("02h"));
    QCOMPARE(delay->minuteCombo()->currentText(), QStringLiteral("00m"));
    QCOMPARE(delay->secondCombo()->currentText(), QStringLiteral("00s"));
    QCOMPARE(int(page.workingRecord().th1.delayTime), 1440);
    QCOMPARE(int(page.workingRecord().hl.delayTime), 7);
    delay->secondCombo()->setCurrentIndex(3);
    QCOMPARE(int(page.workingRecord().th1.delayTime), 1443);
    QVERIFY(page.isModified());
}

void TestDevSettingInfo::presetOfTheConnectedModel()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    page.form().recordInterval->setDelayTime(600);
    page.form().startDelayWidget->setDelayTime(15);
    OneConfigCmdStruct preset{};
    std::strcpy(preset.devName, "Preset");
    preset.tempUnit = 1;
    preset.th1 = {true, 2500, false, 0};
    preset.sensorType = 1;
    QSignalSpy messages(&page, &DevSettingInfo::sendMessage);
    page.presetButton()->setChecked(true);
    page.delUsingSettings(preset, "from preset", HX20D);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("加载预设成功!"));
    QCOMPARE(page.form().devNameLE->text(), QStringLiteral("Preset"));
    QCOMPARE(page.form().lineEdit->text(), QStringLiteral("from preset"));
    QVERIFY(page.form().fdegreeRB->isChecked());
    QCOMPARE(row(page, Th1Row)->spinBox()->value(), 77.0);
    QVERIFY(row(page, HhRow)->isHidden());
    QVERIFY(!page.presetButton()->isChecked());
    QVERIFY(page.isModified());
    QVERIFY(page.saveButton()->isEnabled() && page.noSaveButton()->isEnabled());
    // The preset carries no start delay or interval; the page keeps its own.
    QCOMPARE(int(page.workingRecord().recordInterval), 120);
    QCOMPARE(int(page.workingRecord().startDelayTime), 15);
    QCOMPARE(page.form().recordInterval->value(), 600);
    // The version shown is the logger's.
    QCOMPARE(page.form().devVersionLabel->text(), QStringLiteral("V 1.2.3"));
}

void TestDevSettingInfo::presetOfAnotherModelIsRefused()
{
    DevSettingInfo page;
    page.delDevConfigSignal(deviceConfig(), HX20D);
    QSignalSpy messages(&page, &DevSettingInfo::sendMessage);
    page.presetButton()->setChecked(true);
    page.noSaveButton()->setEnabled(false);
    page.delUsingSettings(OneConfigCmdStruct{}, "x", HX10D);
    QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("请加载HX20D预设配置!"));
    QCOMPARE(page.form().devNameLE->text(), QStringLiteral("Logger_1"));
    QVERIFY(!page.presetButton()->isChecked());
    QVERIFY(page.noSaveButton()->isEnabled());
    QVERIFY(!page.saveButton()->isEnabled());
}

void TestDevSettingInfo::savingAndRenamingPresets()
{
    DevSettingInfo page;
    OneConfigCmdStruct c = deviceConfig();
    c.screenDisplayTime = 0;
    page.delDevConfigSignal(c, HX20D);
    page.form().lineEdit->setText("cold chain");
    QSignalSpy updated(&page, &DevSettingInfo::toUpdatePersetting);
    PresetWidget *panel = page.presetPanel();
    QCOMPARE(panel->stackedWidget()->currentIndex(), 0);
    panel->nameLineEdit()->setText("Fridge");
    panel->completeBtn()->click();
    QCOMPARE(updated.count(), 1);
    QCOMPARE(panel->stackedWidget()->currentIndex(), 1);
    QCOMPARE(panel->presets().size(), 1);
    const PersettingJson saved = panel->presets().at(0);
    QCOMPARE(saved.configName, QStringLiteral("Fridge"));
    QCOMPARE(saved.devNote, QStringLiteral("cold chain"));
    QCOMPARE(saved.lgxDevType, int(HX20D));
    QCOMPARE(saved.screenCloseMode, 0);
    QCOMPARE(saved.screenCloseTime, 0);

    const QString file = PersetButton::splitName(panel->entries().at(0)->objectName()).first;
    page.delCreatePersetConfig("Freezer", file);
    QCOMPARE(updated.count(), 2);
    QCOMPARE(QDir(configDir()).entryList({"*.conf"}), QStringList{file});
    QCOMPARE(panel->presets().at(0).configName, QStringLiteral("Freezer"));
    QCOMPARE(panel->presets().at(0).devNote, QStringLiteral("cold chain"));
    // Renaming a file that is gone changes nothing and reloads nothing.
    page.delCreatePersetConfig("Ghost", "absent.conf");
    QCOMPARE(updated.count(), 2);
}

void TestDevSettingInfo::presetButtonPressTogglesSaveButtons()
{
    DevSettingInfo page;
    page.resize(1200, 800);
    page.show();
    page.delDevConfigSignal(deviceConfig(), HX10D);
    page.form().devNameLE->setText("Edited");
    QTest::mouseClick(page.presetButton(), Qt::LeftButton);
    QVERIFY(page.presetButton()->isChecked());
    QVERIFY(page.presetPanel()->isVisible());
    QVERIFY(!page.saveButton()->isEnabled());
    QVERIFY(!page.noSaveButton()->isEnabled());
    QTest::mouseClick(page.presetButton(), Qt::LeftButton);
    QVERIFY(!page.presetPanel()->isVisible());
    QVERIFY(page.saveButton()->isEnabled());
    QVERIFY(page.noSaveButton()->isEnabled());
}

void TestDevSettingInfo::pickingAStartTime()
{
    DevSettingInfo page;
    page.resize(1200, 800);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    OneConfigCmdStruct c = deviceConfig();
    c.startMode = 2;
    page.delDevConfigSignal(c, HX10D);
    DateTimeDialog *dialog = page.dateTimeDialog();
    page.delShowDateTimeSet("startTimeLE", QDateTime(QDate(2024, 3, 5), QTime(14, 15, 30)));
    QVERIFY(dialog->isVisible());
    dialog->picker()->setHour(9);
    dialog->picker()->findChild<QPushButton *>("okBtn")->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(page.form().startTimeLE->text(), QStringLiteral("2024-03-05 09:15:30"));
    const uint8_t expected[6] = {24, 3, 5, 9, 15, 30};
    QCOMPARE(std::memcmp(page.workingRecord().perSetStartTime, expected, 6), 0);
    QVERIFY(page.isModified());
}

void TestDevSettingInfo::manualClockTicks()
{
    DevSettingInfo page;
    page.show();
    OneConfigCmdStruct c = deviceConfig();
    c.isDateTimeFlowSys = false;
    page.delDevConfigSignal(c, HX10D);
    QVERIFY(page.form().manualTimeRB->isChecked());
    QVERIFY(page.form().dateTimeLE->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(int(page.workingRecord().devDateTime[5]), 1, 1500);
    QCOMPARE(page.form().dateTimeLE->text(), QStringLiteral("2024-03-01 12:00:01"));
    QVERIFY(!page.isModified());
}

// The device clock does not tick while its time is being picked, and ticks
// on once the picker goes without a choice.
void TestDevSettingInfo::clockStandsStillWhilePicked()
{
    DevSettingInfo page;
    page.resize(1200, 800);
    page.show();
    OneConfigCmdStruct c = deviceConfig();
    c.isDateTimeFlowSys = false;
    page.delDevConfigSignal(c, HX10D);
    DateTimeLineEdit *clock = page.form().dateTimeLE;
    QTRY_COMPARE_WITH_TIMEOUT(clock->text(), QStringLiteral("2024-03-01 12:00:01"), 1500);
    page.delShowDateTimeSet(clock->objectName(), clock->dateTime());
    DateTimeDialog *dialog = page.dateTimeDialog();
    QVERIFY(dialog->isVisible());
    QTest::qWait(1300);
    QCOMPARE(clock->text(), QStringLiteral("2024-03-01 12:00:01"));
    QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!dialog->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(clock->text(), QStringLiteral("2024-03-01 12:00:02"), 1500);
}

void TestDevSettingInfo::languageWidths()
{
    DevSettingInfo page;
    const DevSettingUi &ui = page.form();
    const QString before = currentLanguage();
    for (const bool english : {true, false}) {
        setCurrentLanguage(english ? "English" : "中文简体");
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&page, &change);
        // Every row name gets one width, at least the language's.
        const int width = firstRowLabel(page)->minimumWidth();
        QVERIFY(width >= (english ? 154 : 60));
        for (QLabel *label : page.findChildren<QLabel *>()) {
            if (label->property("rowName").toBool() &&
                label->parentWidget() != page.form().content &&
                !label->parentWidget()->objectName().isEmpty())
                QCOMPARE(label->minimumWidth(), width);
        }
        const struct {
            QRadioButton *radio;
            int width;
        } radios[] = {{ui.softStartRB, english ? 170 : 100},
                      {ui.fullRecordRB, english ? 190 : 120},
                      {ui.exterHumSensorRB, english ? 200 : 150}};
        for (const auto &r : radios) {
            QVERIFY(r.radio->width() >= r.width);
            QVERIFY(r.radio->width() >= r.radio->sizeHint().width());
        }
        QCOMPARE(page.saveButton()->text(), QStringLiteral("保存"));
    }
    setCurrentLanguage(before);
}

void TestDevSettingInfo::floatingLayoutAndScreenshots()
{
    DevSettingInfo page;
    page.resize(1200, 900);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.presetButton()->geometry(), QRect(1199 - 407, 20, 112, 40));
    QCOMPARE(page.saveButton()->geometry(), QRect(1199 - 283, 20, 112, 40));
    QCOMPARE(page.noSaveButton()->geometry(), QRect(1199 - 159, 20, 112, 40));
    QCOMPARE(page.presetPanel()->geometry().right(), 1199 - 296);
    QCOMPARE(page.presetPanel()->y(), 62);

    // HYGRA_SCREENSHOTS names a folder that receives pictures of the page.
    const QString shots = qEnvironmentVariable("HYGRA_SCREENSHOTS");
    if (shots.isEmpty())
        return;
    auto save = [&shots](QWidget *w, const QString &name) {
        QTest::qWait(300);
        QVERIFY(w->grab().save(shots + "/" + name + ".png"));
    };
    QFont font;
    font.setFamily("思源黑体 CN, Microsoft YaHei, sans-serif");
    font.setPointSize(10);
    QApplication::setFont(font);
    QDir().mkpath(configDir());
    page.delDevStateSignal("HX2024000123", false, false);
    page.delDevConfigSignal(deviceConfig(), HX20D);
    save(&page, "page_hx20d_c");
    OneConfigCmdStruct f = deviceConfig();
    f.tempUnit = 1;
    f.startMode = 2;
    page.delDevConfigSignal(f, HX10D);
    save(&page, "page_hx10d_f");
    page.form().scrollArea->ensureWidgetVisible(row(page, HlRow));
    save(&page, "page_alarms");
    DateTimeWidget picker;
    picker.setDateTime(QDateTime(QDate(2024, 3, 15), QTime(8, 30, 0)));
    picker.show();
    save(&picker, "picker");
    PersettingJson::fromConfig(deviceConfig(), "n", "Fridge", HX20D).writeNewFile(configDir());
    PersettingJson::fromConfig(deviceConfig(), "n", "Cold room with a long name", HX20D)
        .writeNewFile(configDir());
    page.presetPanel()->loadConfigs();
    QTest::mouseClick(page.presetButton(), Qt::LeftButton);
    save(&page, "preset_panel");
    page.presetPanel()->selectPerSetBtn()->click();
    page.presetPanel()->entries().at(0)->click();
    save(page.presetPanel(), "preset_select");
    page.presetPanel()->selectPerSetBtn()->click();
    QTest::mouseClick(page.presetButton(), Qt::LeftButton);

    DateTimeDialog *dialog = page.dateTimeDialog();
    page.form().scrollArea->ensureWidgetVisible(page.form().startTimeLE);
    page.delShowDateTimeSet("startTimeLE", page.form().startTimeLE->dateTime());
    save(&page, "page_picker");
    dialog->picker()->findChild<QPushButton *>("okBtn")->click();
}

namespace
{
// One notch of the wheel over the middle of `w`, as the pointer would deliver it.
void turnWheel(QWidget *w, int delta)
{
    const QPointF pos = w->rect().center();
    QWheelEvent event(pos, QPointF(w->mapToGlobal(pos.toPoint())), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

QString valueOf(QWidget *control)
{
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    return static_cast<QAbstractSpinBox *>(control)->text();
}
} // namespace

// Scrolling the page with the wheel passes over combo boxes and spin boxes; a
// control nobody clicked must stay as it is, since saving a change erases the
// logger's recording. The page scrolls instead.
void TestDevSettingInfo::strayWheelChangesNothing()
{
    DevSettingInfo page;
    page.resize(1000, 500);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    page.delDevConfigSignal(deviceConfig(), HX20D);
    for (int r = 0; r < AlarmRowCount; ++r)
        row(page, r)->checkBtn()->setChecked(true);
    QList<QWidget *> controls;
    for (QComboBox *combo : page.findChildren<QComboBox *>())
        controls << combo;
    for (QAbstractSpinBox *spin : page.findChildren<QAbstractSpinBox *>())
        controls << spin;
    QScrollBar *bar = page.form().scrollArea->verticalScrollBar();
    int tried = 0;
    for (QWidget *control : qAsConst(controls)) {
        if (!control->isVisibleTo(&page) || !control->isEnabled())
            continue;
        ++tried;
        page.form().scrollArea->ensureWidgetVisible(control);
        bar->setValue(bar->value() - bar->singleStep());
        const QString before = valueOf(control);
        const int scrolled = bar->value();
        turnWheel(control, -120);
        QCOMPARE(valueOf(control), before);
        QVERIFY2(bar->value() > scrolled, qPrintable(control->objectName()));
        QVERIFY(!page.saveButton()->isEnabled());
    }
    QVERIFY2(tried >= 10, qPrintable(QString::number(tried)));

    // A control the user clicked into follows the wheel as usual.
    QComboBox *type = row(page, Th1Row)->findChild<QComboBox *>();
    page.form().scrollArea->ensureWidgetVisible(type);
    type->setFocus();
    const QString before = valueOf(type);
    turnWheel(type, -120);
    QVERIFY(valueOf(type) != before);
}

int main(int argc, char **argv)
{
    QScopedPointer<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestDevSettingInfo test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_devsettinginfo.moc"
