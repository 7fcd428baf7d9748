// SPDX-License-Identifier: GPL-3.0-or-later
// The notice overlay's cycle: rise, hold, sink, queued texts and where it takes the mouse.
#include "widgets/snackbar.h"
#include "widgets/snackbarstatemachine.h"
#include "widgets/stateswitchevent.h"
#include "widgets/stateswitchtransition.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QState>
#include <QtTest>

class TestSnackbar : public QObject
{
    Q_OBJECT
private slots:
    void transitionMatchesOnlyItsNumber_data();
    void transitionMatchesOnlyItsNumber();
    void twoNoticesOneSecondApart();
    void emptyTextDrawsNothingAndTakesNoTurn();
    void onlyTheBoxTakesTheMouse();
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

// Rise 500 ms, hold 2400 ms, sink 500 ms: a second text waits for the first
// to sink away and is then shown for its own full time.
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
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1000);
    QVERIFY(clock.elapsed() >= 450);

    QTest::qWait(int(1000 - clock.elapsed()));
    notice.showText(QStringLiteral("已保存报告"));
    // Asked for again while it waits: still one turn.
    notice.showText(QStringLiteral("已保存报告"));
    QCOMPARE(notice.text(), QStringLiteral("已保存报告"));
    QCOMPARE(notice.shownText(), QStringLiteral("下载成功"));
    QCOMPARE(notice.pendingTexts(), QStringList{QStringLiteral("已保存报告")});

    QTRY_VERIFY_WITH_TIMEOUT(notice.shownText() == QStringLiteral("已保存报告"), 4000);
    const qint64 second = clock.elapsed();
    QVERIFY2(second >= 3300 && second < 3850, qPrintable(QString::number(second)));
    QVERIFY(notice.pendingTexts().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1000);
    // Held in full, not cut short by the first one's cycle.
    QTest::qWait(2200);
    QCOMPARE(notice.stateMachine()->offset(), 1.0);
    QCOMPARE(notice.shownText(), QStringLiteral("已保存报告"));

    QTRY_VERIFY_WITH_TIMEOUT(notice.isEnded(), 2000);
    const qint64 ended = clock.elapsed();
    QVERIFY2(ended >= 6600 && ended < 7500, qPrintable(QString::number(ended)));
    QCOMPARE(notice.stateMachine()->offset(), 0.0);
    QCOMPARE(notice.shownText(), QString());
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestSnackbar::emptyTextDrawsNothingAndTakesNoTurn()
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
    QVERIFY(notice.isEnded());
    QTest::qWait(600);
    QCOMPARE(window.grab().toImage(), before);
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));

    // A notice with a text paints a dark box 200 px above the bottom.
    notice.showText(QStringLiteral("x"));
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1000);
    const QImage shown = window.grab().toImage();
    QCOMPARE(QColor(shown.pixel(265, 400 - 200)), QColor(Qt::black));
    QCOMPARE(QColor(shown.pixel(10, 10)), QColor(10, 120, 200));
    // An empty text after it neither replaces it nor waits for a turn.
    notice.showText(QString());
    QCOMPARE(notice.shownText(), QStringLiteral("x"));
    QVERIFY(notice.pendingTexts().isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(notice.isEnded(), 4000);
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));
}

// The overlay covers the window; a click reaches the widget under it except
// on the notice's box.
void TestSnackbar::onlyTheBoxTakesTheMouse()
{
    QWidget window;
    window.resize(600, 400);
    QPushButton top(QStringLiteral("top"), &window);
    top.setGeometry(10, 10, 100, 30);
    QPushButton under(QStringLiteral("under"), &window);
    under.setGeometry(50, 180, 500, 60);
    Snackbar notice(&window);
    notice.resize(window.size());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy topClicks(&top, &QPushButton::clicked);

    notice.showText(QStringLiteral("设置设备语言成功"));
    QTRY_COMPARE_WITH_TIMEOUT(notice.stateMachine()->offset(), 1.0, 1000);
    const QRect box = notice.visibleBox();
    QVERIFY(box.contains(300, 200));
    QCOMPARE(window.childAt(300, 200), &notice);
    QCOMPARE(window.childAt(20, 20), &top);
    QCOMPARE(window.childAt(box.left() - 5, 200), &under);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(topClicks.count(), 1);

    QTRY_VERIFY_WITH_TIMEOUT(notice.isEnded(), 4000);
    QCOMPARE(window.childAt(300, 200), &under);
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
