// SPDX-License-Identifier: GPL-3.0-or-later
// The notice overlay's cycle: rise, hold, sink, replacement texts and input blocking.
#include "widgets/snackbar.h"
#include "widgets/snackbarstatemachine.h"
#include "widgets/stateswitchevent.h"
#include "widgets/stateswitchtransition.h"

#include <QState>
#include <QtTest>

class TestSnackbar : public QObject
{
    Q_OBJECT
private slots:
    void transitionMatchesOnlyItsNumber_data();
    void transitionMatchesOnlyItsNumber();
    void twoNoticesOneSecondApart();
    void emptyTextDrawsNothingButBlocks();
    void noticeBeforeMachineRuns();
};

namespace
{
// Exposes the transition's test for events.
class ProbeTransition : public StateSwitchTransition
{
public:
    using StateSwitchTransition::StateSwitchTransition;
    bool accepts(QEvent *event) { return eventTest(event); }
};
} // namespace

void TestSnackbar::transitionMatchesOnlyItsNumber_data()
{
    QTest::addColumn<int>("eventValue");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same number") << 2 << true;
    QTest::newRow("other number") << 3 << false;
    QTest::newRow("zero") << 0 << false;
}

void TestSnackbar::transitionMatchesOnlyItsNumber()
{
    QFETCH(int, eventValue);
    QFETCH(bool, accepted);
    ProbeTransition transition(2);
    StateSwitchEvent event(eventValue);
    QCOMPARE(int(event.type()), 1001);
    QCOMPARE(transition.accepts(&event), accepted);
    QEvent other(QEvent::User);
    QVERIFY(!transition.accepts(&other));
}

// Rise 500 ms, hold 2400 ms, sink 500 ms: a second text replaces the first
// without restarting the cycle, so both are gone about 3.4 s after the first.
void TestSnackbar::twoNoticesOneSecondApart()
{
    QWidget window;
    window.resize(800, 600);
    Snackbar notice(&window);
    notice.resize(window.size());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(notice.stateMachine()->isRunning());
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));

    QElapsedTimer clock;
    clock.start();
    notice.showText(QStringLiteral("下载成功"));
    QVERIFY(!notice.isEnded());
    QVERIFY(!notice.testAttribute(Qt::WA_TransparentForMouseEvents));
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1000);
    QVERIFY(clock.elapsed() >= 450);

    QTest::qWait(int(1000 - clock.elapsed()));
    notice.showText(QStringLiteral("下载失败"));
    QCOMPARE(notice.text(), QStringLiteral("下载失败"));
    QCOMPARE(notice.stateMachine()->offset(), 1.0);

    QTRY_VERIFY_WITH_TIMEOUT(notice.isEnded(), 5000);
    const qint64 ended = clock.elapsed();
    QVERIFY2(ended >= 3300 && ended < 3850, qPrintable(QString::number(ended)));
    QCOMPARE(notice.stateMachine()->offset(), 0.0);
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestSnackbar::emptyTextDrawsNothingButBlocks()
{
    QWidget window;
    window.resize(600, 400);
    window.setStyleSheet(QStringLiteral("background: rgb(10, 120, 200);"));
    Snackbar notice(&window);
    notice.resize(window.size());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage before = window.grab().toImage();

    notice.showText(QString());
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1000);
    QCOMPARE(window.grab().toImage(), before);
    QVERIFY(!notice.testAttribute(Qt::WA_TransparentForMouseEvents));

    // The same notice with a text paints a dark box 200 px above the bottom.
    notice.showText(QStringLiteral("x"));
    const QImage shown = window.grab().toImage();
    QCOMPARE(QColor(shown.pixel(265, 400 - 200)), QColor(Qt::black));
    QCOMPARE(QColor(shown.pixel(10, 10)), QColor(10, 120, 200));

    QTRY_VERIFY_WITH_TIMEOUT(notice.isEnded(), 4000);
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestSnackbar::noticeBeforeMachineRuns()
{
    Snackbar notice;
    notice.resize(600, 400);
    notice.showText(QStringLiteral("连接失败"));
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1500);
}

QTEST_MAIN(TestSnackbar)
#include "tst_snackbar.moc"
