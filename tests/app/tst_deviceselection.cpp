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
    void dialogPrefersTheLoggerUsedLast();
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

namespace
{
// Loggers of these models at ports 1-2, 1-3, … of bus 1.
QVector<AttachedLogger> loggersOf(const QList<int> &models)
{
    QVector<AttachedLogger> loggers;
    for (int i = 0; i < models.size(); ++i)
        loggers.append({models.at(i), 1, i + 2, QStringLiteral("1-%1").arg(i + 2)});
    return loggers;
}
} // namespace

void TestDeviceSelection::dialogListsLastLoggerOnTop()
{
    ConnectDialog dialog;
    const QVector<AttachedLogger> attached = loggersOf({HX10D, HX10D, HX20D});
    dialog.setLoggers(attached);
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);
    QCOMPARE(buttons.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(buttons.at(i)->logger(), attached.at(2 - i));
        // Two loggers of one model are told apart by their ports.
        QCOMPARE(buttons.at(i)->detail(), QStringLiteral("端口 1-%1").arg(4 - i));
        QCOMPARE(buttons.at(i)->isChecked(), i == 2);
    }
    QCOMPARE(dialog.selectedLogger(), attached.at(0));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("设备连接"));
}

void TestDeviceSelection::dialogSelectionFollowsClicks()
{
    ConnectDialog dialog;
    const QVector<AttachedLogger> attached = loggersOf({HX10D, HX10D, HX20D});
    dialog.setLoggers(attached);
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);

    buttons.at(0)->click();
    QCOMPARE(dialog.selectedLogger(), attached.at(2));
    buttons.at(1)->click();
    QCOMPARE(dialog.selectedLogger(), attached.at(1));
    // Exclusive: one logger at a time, and a second click keeps it chosen.
    QVERIFY(!buttons.at(0)->isChecked());
    buttons.at(1)->click();
    QVERIFY(buttons.at(1)->isChecked());
    QCOMPARE(dialog.selectedLogger(), attached.at(1));
}

void TestDeviceSelection::dialogPrefersTheLoggerUsedLast()
{
    const QVector<AttachedLogger> attached = loggersOf({HX20D, HX20D, HX20D});
    ConnectDialog dialog;
    dialog.setLoggers(attached, attached.at(1));
    QCOMPARE(dialog.selectedLogger(), attached.at(1));
    QVERIFY(buttonsTopToBottom(dialog).at(1)->isChecked());
    // The one used last is gone: the first listed is chosen.
    ConnectDialog without;
    without.setLoggers(attached.mid(0, 1), attached.at(1));
    QCOMPARE(without.selectedLogger(), attached.at(0));
}

void TestDeviceSelection::dialogSkipsUnknownModels()
{
    ConnectDialog dialog;
    auto *connectBtn = dialog.findChild<QPushButton *>("connectBtn");
    QVERIFY(!connectBtn->isEnabled());
    QVERIFY(!dialog.selectedLogger().isValid());

    // The entry listed first is of no known model: the selection is the checked button.
    const QVector<AttachedLogger> attached = loggersOf({7, HX20D, -1});
    dialog.setLoggers(attached);
    const QList<DevButton *> buttons = buttonsTopToBottom(dialog);
    QCOMPARE(buttons.size(), 1);
    QVERIFY(buttons.at(0)->isChecked());
    QCOMPARE(dialog.selectedLogger(), attached.at(1));
    QVERIFY(connectBtn->isEnabled());

    ConnectDialog nothingKnown;
    nothingKnown.setLoggers(loggersOf({7}));
    QVERIFY(buttonsTopToBottom(nothingKnown).isEmpty());
    QVERIFY(!nothingKnown.findChild<QPushButton *>("connectBtn")->isEnabled());
    QVERIFY(!nothingKnown.selectedLogger().isValid());
}

void TestDeviceSelection::dialogAcceptAndReject()
{
    ConnectDialog accepted;
    accepted.setLoggers(loggersOf({HX20D}));
    auto *connectBtn = accepted.findChild<QPushButton *>("connectBtn");
    QCOMPARE(connectBtn->text(), QStringLiteral("连接"));
    QTimer::singleShot(0, connectBtn, &QPushButton::click);
    QCOMPARE(accepted.exec(), int(QDialog::Accepted));
    QCOMPARE(accepted.selectedLogger().model, int(HX20D));

    ConnectDialog rejected;
    rejected.setLoggers(loggersOf({HX20D}));
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

    const AttachedLogger logger{model, 1, 5, QStringLiteral("1-4.1")};
    DevButton button(logger, QStringLiteral("端口 1-4.1 · SN A1"));
    QCOMPARE(button.text(), text);
    QCOMPARE(button.devType(), model);
    QCOMPARE(button.toolTip(), QStringLiteral("端口 1-4.1 · SN A1"));
    QVERIFY(button.isCheckable());
    QCOMPARE(button.minimumHeight(), 80);
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
