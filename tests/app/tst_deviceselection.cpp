// SPDX-License-Identifier: GPL-3.0-or-later
// Device selection: the connected-device panel's states and the dialog that picks a logger.
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/devbutton.h"
#include "core/lgxdevtype.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

class TestDeviceSelection : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dialogListsLastLoggerOnTop();
    void dialogSelectionFollowsClicks();
    void dialogSkipsUnknownModels();
    void dialogAcceptAndReject();
    void devButtonTexts_data();
    void devButtonTexts();
    void firstStateConnects();
    void onlyChangedStatesReachTheToolbar();
    void statePictures_data();
    void statePictures();
    void pressesWhileBusyAreIgnored();
    void showDisconnectedStartsOver();

private:
    static QList<DevButton *> buttonsTopToBottom(ConnectDialog &dialog)
    {
        QList<DevButton *> buttons;
        auto *layout = dialog.findChild<QVBoxLayout *>("conntentLayout");
        for (int i = 0; i < layout->count(); ++i)
            if (auto *button = qobject_cast<DevButton *>(layout->itemAt(i)->widget()))
                buttons.append(button);
        return buttons;
    }
    static QImage imageOf(const QLabel *label)
    {
        return label->pixmap(Qt::ReturnByValue).toImage();
    }
    static QImage imageOf(const char *resource) { return QPixmap(resource).toImage(); }
};

void TestDeviceSelection::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestDeviceSelection::dialogListsLastLoggerOnTop()
{
    ConnectDialog dialog;
    dialog.setDevices({"HX10D", "HX10D", "HX20D"});
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);
    QCOMPARE(buttons.size(), 3);
    const QList<QPair<int, int>> expected{{HX20D, 0}, {HX10D, 1}, {HX10D, 0}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(buttons.at(i)->devType(), expected.at(i).first);
        QCOMPARE(buttons.at(i)->devIndex(), expected.at(i).second);
        QCOMPARE(buttons.at(i)->isChecked(), i == 2);
    }
    QCOMPARE(dialog.selectedDevType(), int(HX10D));
    QCOMPARE(dialog.selectedIndex(), 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("设备连接"));
}

void TestDeviceSelection::dialogSelectionFollowsClicks()
{
    ConnectDialog dialog;
    dialog.setDevices({"HX10D", "HX10D", "HX20D"});
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);

    buttons.at(0)->click();
    QCOMPARE(dialog.selectedDevType(), int(HX20D));
    QCOMPARE(dialog.selectedIndex(), 0);
    buttons.at(1)->click();
    QCOMPARE(dialog.selectedDevType(), int(HX10D));
    QCOMPARE(dialog.selectedIndex(), 1);
    // Exclusive: one logger at a time, and a second click keeps it chosen.
    QVERIFY(!buttons.at(0)->isChecked());
    buttons.at(1)->click();
    QVERIFY(buttons.at(1)->isChecked());
    QCOMPARE(dialog.selectedIndex(), 1);
}

void TestDeviceSelection::dialogSkipsUnknownModels()
{
    ConnectDialog dialog;
    auto *connectBtn = dialog.findChild<QPushButton *>("connectBtn");
    QVERIFY(!connectBtn->isEnabled());
    QCOMPARE(dialog.selectedDevType(), -1);
    QCOMPARE(dialog.selectedIndex(), -1);

    // The entry listed first is of no known model: the selection is the checked button.
    dialog.setDevices({"hx20d", "HX20D", ""});
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);
    QCOMPARE(buttons.size(), 1);
    QVERIFY(buttons.at(0)->isChecked());
    QCOMPARE(dialog.selectedDevType(), int(HX20D));
    QCOMPARE(dialog.selectedIndex(), 0);
    QVERIFY(connectBtn->isEnabled());

    ConnectDialog nothingKnown;
    nothingKnown.setDevices({"HX30D"});
    QVERIFY(buttonsTopToBottom(nothingKnown).isEmpty());
    QVERIFY(!nothingKnown.findChild<QPushButton *>("connectBtn")->isEnabled());
    QCOMPARE(nothingKnown.selectedDevType(), -1);
}

void TestDeviceSelection::dialogAcceptAndReject()
{
    ConnectDialog accepted;
    accepted.setDevices({"HX20D"});
    auto *connectBtn = accepted.findChild<QPushButton *>("connectBtn");
    QCOMPARE(connectBtn->text(), QStringLiteral("连接"));
    QTimer::singleShot(0, connectBtn, &QPushButton::click);
    QCOMPARE(accepted.exec(), int(QDialog::Accepted));
    QCOMPARE(accepted.selectedDevType(), int(HX20D));

    ConnectDialog rejected;
    rejected.setDevices({"HX20D"});
    auto *cancelBtn = rejected.findChild<QPushButton *>("cancelBtn");
    QCOMPARE(cancelBtn->text(), QStringLiteral("取消"));
    QTimer::singleShot(0, cancelBtn, &QPushButton::click);
    QCOMPARE(rejected.exec(), int(QDialog::Rejected));
}

void TestDeviceSelection::devButtonTexts_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("text");
    QTest::newRow("HX10D") << int(HX10D) << "HX10D";
    QTest::newRow("HX20D") << int(HX20D) << "HX20D";
}

void TestDeviceSelection::devButtonTexts()
{
    QFETCH(int, model);
    QFETCH(QString, text);

    DevButton button(model);
    QCOMPARE(button.text(), text);
    QCOMPARE(button.devType(), model);
    QCOMPARE(button.devIndex(), 0);
    QVERIFY(button.isCheckable());
    QCOMPARE(button.minimumHeight(), 80);

    ConnectDialog dialog;
    dialog.setDevices({text, modelName(1 - model), text, text, text});
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);
    QCOMPARE(buttons.at(0)->text(), text);
    QCOMPARE(buttons.at(0)->devIndex(), 3);
    QCOMPARE(buttons.at(3)->devIndex(), 0);
}

void TestDeviceSelection::firstStateConnects()
{
    ConnectWidget panel;
    QSignalSpy success(&panel, &ConnectWidget::connectSuccessSignal);
    QSignalSpy notice(&panel, &ConnectWidget::toNoticeTbWidget);
    panel.setStartInfo(2, true);
    QVERIFY(!panel.isConnected());

    // The main window answers the first state by showing the model.
    connect(&panel, &ConnectWidget::connectSuccessSignal, &panel, &ConnectWidget::setDevType);
    panel.delDevStateSignal(QStringLiteral("SN:A1234567"), false, false, HX20D);
    QCOMPARE(success.count(), 1);
    QCOMPARE(success.at(0).at(0).toInt(), int(HX20D));
    QCOMPARE(notice.count(), 1);
    QCOMPARE(notice.at(0), (QList<QVariant>{2, true, false}));
    QVERIFY(panel.isConnected());
    QCOMPARE(panel.findChild<QLabel *>("devNameLabel")->text(), QStringLiteral("HX20D"));
    QCOMPARE(panel.findChild<QLabel *>("snNameLabel")->text(), QStringLiteral("SN:A1234567"));

    // Later states never announce the connection again.
    panel.delDevStateSignal(QStringLiteral("SN:A1234567"), true, false, HX20D);
    QCOMPARE(success.count(), 1);
    QCOMPARE(notice.count(), 2);
}

void TestDeviceSelection::onlyChangedStatesReachTheToolbar()
{
    ConnectWidget panel;
    QSignalSpy notice(&panel, &ConnectWidget::toNoticeTbWidget);
    panel.setStartInfo(0, false);
    panel.delDevStateSignal(QStringLiteral("SN:1"), true, false, HX10D);
    panel.delDevStateSignal(QStringLiteral("SN:1"), true, false, HX10D);
    // A new serial number alone is not a change worth showing.
    panel.delDevStateSignal(QStringLiteral("SN:2"), true, false, HX10D);
    QCOMPARE(notice.count(), 1);
    QCOMPARE(panel.findChild<QLabel *>("snNameLabel")->text(), QStringLiteral("SN:1"));

    // A configuration write changed the start values that later notices carry.
    panel.setStartInfo(1, true);
    panel.delDevStateSignal(QStringLiteral("SN:2"), true, true, HX10D);
    QCOMPARE(notice.count(), 2);
    QCOMPARE(notice.at(1), (QList<QVariant>{1, true, true}));
    QCOMPARE(panel.findChild<QLabel *>("snNameLabel")->text(), QStringLiteral("SN:2"));
}

void TestDeviceSelection::statePictures_data()
{
    QTest::addColumn<bool>("isRecord");
    QTest::addColumn<bool>("isAlert");
    QTest::addColumn<QString>("recordPicture");
    QTest::addColumn<QString>("alertPicture");
    QTest::addColumn<QString>("recordTip");
    QTest::addColumn<QString>("alertTip");
    QTest::newRow("recording, alarm") << true << true << ":/img/ic_record_r.png"
                                      << ":/img/ic_alert_r.svg"
                                      << "正在记录"
                                      << "记录仪报警";
    QTest::newRow("recording") << true << false << ":/img/ic_record_g.png"
                               << ":/img/ic_un_alert_g.svg"
                               << "正在记录"
                               << "无报警";
    QTest::newRow("stopped, alarm") << false << true << ":/img/ic_stop_record_r.svg"
                                    << ":/img/ic_alert_r.svg"
                                    << "未在记录"
                                    << "记录仪报警";
    QTest::newRow("stopped") << false << false << ":/img/ic_stop_record_g.svg"
                             << ":/img/ic_un_alert_g.svg"
                             << "未在记录"
                             << "无报警";
}

void TestDeviceSelection::statePictures()
{
    QFETCH(bool, isRecord);
    QFETCH(bool, isAlert);
    QFETCH(QString, recordPicture);
    QFETCH(QString, alertPicture);
    QFETCH(QString, recordTip);
    QFETCH(QString, alertTip);

    ConnectWidget panel;
    panel.show();
    // First a different state, so the one under test arrives as a change.
    panel.delDevStateSignal(QStringLiteral("SN:1"), !isRecord, !isAlert, HX10D);
    panel.delDevStateSignal(QStringLiteral("SN:1"), isRecord, isAlert, HX10D);
    auto *recordIcon = panel.findChild<QLabel *>("recordIcon");
    auto *alertIcon = panel.findChild<QLabel *>("alertIcon");
    QVERIFY(!imageOf(recordPicture.toLatin1()).isNull());
    QCOMPARE(imageOf(recordIcon), imageOf(recordPicture.toLatin1()));
    QCOMPARE(imageOf(alertIcon), imageOf(alertPicture.toLatin1()));
    QVERIFY(recordIcon->isVisible());
    QVERIFY(alertIcon->isVisible());
    QCOMPARE(recordIcon->pos(), QPoint(panel.width() - 28, panel.height() - 34));
    QCOMPARE(alertIcon->pos(), QPoint(panel.width() - 56, panel.height() - 34));
    // A pointer resting on an icon says what it shows.
    QCOMPARE(recordIcon->toolTip(), recordTip);
    QCOMPARE(alertIcon->toolTip(), alertTip);
}

void TestDeviceSelection::pressesWhileBusyAreIgnored()
{
    ConnectWidget panel;
    panel.show();
    QSignalSpy connectAsked(&panel, &ConnectWidget::toConnect);
    QTest::mousePress(&panel, Qt::RightButton);
    QCOMPARE(connectAsked.count(), 0);
    QTest::mousePress(&panel, Qt::LeftButton);
    QTest::mousePress(&panel, Qt::LeftButton);
    QCOMPARE(connectAsked.count(), 1);

    // Connected: still ignored.
    panel.setDevType(HX10D);
    panel.delDevStateSignal(QStringLiteral("SN:1"), false, false, HX10D);
    QTest::mousePress(&panel, Qt::LeftButton);
    QCOMPARE(connectAsked.count(), 1);

    // An empty list or a rejected dialog makes the panel clickable again.
    panel.showDisconnected();
    QTest::mousePress(&panel, Qt::LeftButton);
    QCOMPARE(connectAsked.count(), 2);
}

void TestDeviceSelection::showDisconnectedStartsOver()
{
    ConnectWidget panel;
    panel.show();
    auto *name = panel.findChild<QLabel *>("devNameLabel");
    QCOMPARE(name->text(), QStringLiteral("点击连接设备"));
    QVERIFY(name->alignment() & Qt::AlignHCenter);
    QVERIFY(!panel.findChild<QWidget *>("devWidget")->isVisible());

    QSignalSpy success(&panel, &ConnectWidget::connectSuccessSignal);
    QSignalSpy notice(&panel, &ConnectWidget::toNoticeTbWidget);
    panel.setDevType(HX20D);
    panel.delDevStateSignal(QStringLiteral("SN:9"), true, true, HX20D);
    QVERIFY(panel.findChild<QWidget *>("devWidget")->isVisible());
    QVERIFY(panel.findChild<QLabel *>("snNameLabel")->isVisible());

    panel.showDisconnected();
    QVERIFY(!panel.isConnected());
    QCOMPARE(name->text(), QStringLiteral("点击连接设备"));
    QVERIFY(name->alignment() & Qt::AlignHCenter);
    for (const char *hidden : {"devWidget", "snNameLabel", "recordIcon", "alertIcon"})
        QVERIFY2(!panel.findChild<QWidget *>(hidden)->isVisible(), hidden);

    // The next connection starts with a first state again, whatever the last one was.
    panel.delDevStateSignal(QStringLiteral("SN:9"), true, true, HX20D);
    QCOMPARE(success.count(), 2);
    QCOMPARE(notice.count(), 2);
}

QTEST_MAIN(TestDeviceSelection)
#include "tst_deviceselection.moc"
