// SPDX-License-Identifier: GPL-3.0-or-later
// Hit test of frameless windows: border bands, maximised windows, title bar, pixel ratio.
#include "widgets/framehittest.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestFrameHitTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void borders_data();
    void borders();
    void titleBar_data();
    void titleBar();
    void resizedFrame_data();
    void resizedFrame();

private:
    // A 400 x 32 title bar at the screen's origin: free space, a white-listed
    // logo at x 0..59, a button at x 190..209 and a plain label at x 300..359.
    QWidget bar;
    QLabel *logo = nullptr;
    QPushButton *button = nullptr;
    QLabel *otherLabel = nullptr;
};

void TestFrameHitTest::initTestCase()
{
    bar.setWindowFlag(Qt::FramelessWindowHint);
    bar.setGeometry(0, 0, 400, 32);
    logo = new QLabel(QStringLiteral("logo"), &bar);
    logo->setGeometry(0, 0, 60, 32);
    button = new QPushButton(&bar);
    button->setGeometry(190, 0, 20, 28);
    otherLabel = new QLabel(QStringLiteral("text"), &bar);
    otherLabel->setGeometry(300, 0, 60, 32);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCOMPARE(bar.mapToGlobal(QPoint(0, 0)), QPoint(0, 0));
}

void TestFrameHitTest::borders_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<bool>("resizeable");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("platformResult");
    QTest::addColumn<int>("expected");

    // Window from (100, 100) to (900, 700) exclusive, border 8.
    QTest::newRow("7 px inside left edge")
        << QPoint(107, 400) << true << false << true << true << 0 << int(HitLeft);
    QTest::newRow("8 px inside left edge")
        << QPoint(108, 400) << true << false << true << true << 0 << int(HitNowhere);
    QTest::newRow("on left edge") << QPoint(100, 400) << true << false << true << true << 0
                                  << int(HitLeft);
    QTest::newRow("left of window")
        << QPoint(99, 400) << true << false << true << true << 0 << int(HitNowhere);
    QTest::newRow("last right pixel")
        << QPoint(899, 400) << true << false << true << true << 0 << int(HitRight);
    QTest::newRow("8 px inside right")
        << QPoint(892, 400) << true << false << true << true << 0 << int(HitRight);
    QTest::newRow("9 px inside right")
        << QPoint(891, 400) << true << false << true << true << 0 << int(HitNowhere);
    QTest::newRow("right of window")
        << QPoint(900, 400) << true << false << true << true << 0 << int(HitNowhere);
    QTest::newRow("top") << QPoint(400, 107) << true << false << true << true << 0 << int(HitTop);
    QTest::newRow("bottom") << QPoint(400, 699) << true << false << true << true << 0
                            << int(HitBottom);
    QTest::newRow("top left") << QPoint(100, 100) << true << false << true << true << 0
                              << int(HitTopLeft);
    QTest::newRow("top right") << QPoint(899, 107) << true << false << true << true << 0
                               << int(HitTopRight);
    QTest::newRow("bottom left") << QPoint(107, 699) << true << false << true << true << 0
                                 << int(HitBottomLeft);
    QTest::newRow("bottom right") << QPoint(892, 692) << true << false << true << true << 0
                                  << int(HitBottomRight);
    QTest::newRow("fixed width: left band")
        << QPoint(100, 400) << true << false << false << true << 0 << int(HitNowhere);
    QTest::newRow("fixed width: corner is top")
        << QPoint(100, 100) << true << false << false << true << 0 << int(HitTop);
    QTest::newRow("fixed width: corner is bottom")
        << QPoint(899, 699) << true << false << false << true << 0 << int(HitBottom);
    QTest::newRow("fixed height: corner is left")
        << QPoint(100, 100) << true << false << true << false << 0 << int(HitLeft);
    QTest::newRow("fixed size: corner")
        << QPoint(899, 699) << true << false << false << false << 0 << int(HitNowhere);
    QTest::newRow("not resizeable")
        << QPoint(100, 400) << false << false << true << true << 0 << int(HitNowhere);
    QTest::newRow("maximised band")
        << QPoint(100, 100) << true << true << true << true << 0 << int(HitNowhere);
    QTest::newRow("maximised, platform border")
        << QPoint(100, 100) << true << true << true << true << int(HitTopLeft) << int(HitNowhere);
    QTest::newRow("maximised, platform bottom")
        << QPoint(400, 699) << true << true << true << true << int(HitBottom) << int(HitNowhere);
    QTest::newRow("maximised, platform caption")
        << QPoint(400, 120) << true << true << true << true << int(HitCaption) << int(HitCaption);
    QTest::newRow("inside, platform result kept")
        << QPoint(400, 400) << true << false << true << true << 1 << 1;
    QTest::newRow("band beats platform result")
        << QPoint(100, 400) << true << false << true << true << 1 << int(HitLeft);
}

void TestFrameHitTest::borders()
{
    QFETCH(QPoint, pointer);
    QFETCH(bool, resizeable);
    QFETCH(bool, maximized);
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    QFETCH(int, platformResult);
    QFETCH(int, expected);

    FrameHitInput input;
    input.frame = QRect(100, 100, 800, 600);
    input.pointer = pointer;
    input.borderWidth = 8;
    input.resizeable = resizeable;
    input.maximized = maximized;
    input.horizontallyResizable = horizontal;
    input.verticallyResizable = vertical;
    input.platformResult = platformResult;
    QCOMPARE(frameHitTest(input), expected);
}

void TestFrameHitTest::titleBar_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<int>("expected");

    QTest::newRow("free space") << QPoint(120, 16) << 1.0 << false << int(HitCaption);
    QTest::newRow("white-listed logo") << QPoint(30, 16) << 1.0 << false << int(HitCaption);
    QTest::newRow("button") << QPoint(200, 16) << 1.0 << false << int(HitNowhere);
    QTest::newRow("label not white-listed") << QPoint(320, 16) << 1.0 << false << int(HitNowhere);
    QTest::newRow("below the title bar") << QPoint(120, 40) << 1.0 << false << int(HitNowhere);
    QTest::newRow("maximised free space") << QPoint(120, 16) << 1.0 << true << int(HitCaption);
    // x 300 at ratio 1.5 is logical x 200, on the button; at ratio 1 it is
    // x 300, on the plain label.
    QTest::newRow("ratio 1.5: x 300 is the button")
        << QPoint(300, 15) << 1.5 << false << int(HitNowhere);
    QTest::newRow("ratio 1.5: x 450 is the label")
        << QPoint(450, 15) << 1.5 << false << int(HitNowhere);
    QTest::newRow("ratio 1.5: x 240 is free space")
        << QPoint(240, 15) << 1.5 << false << int(HitCaption);
    QTest::newRow("ratio 1.5: x 60 is the logo")
        << QPoint(60, 15) << 1.5 << false << int(HitCaption);
    QTest::newRow("ratio 1.5: y 60 is below") << QPoint(240, 60) << 1.5 << false << int(HitNowhere);
    QTest::newRow("ratio 1.5: x 599 truncates to 399")
        << QPoint(599, 15) << 1.5 << false << int(HitCaption);
    QTest::newRow("ratio 1.5: x 600 is past the bar")
        << QPoint(600, 15) << 1.5 << false << int(HitNowhere);
}

void TestFrameHitTest::titleBar()
{
    QFETCH(QPoint, pointer);
    QFETCH(double, ratio);
    QFETCH(bool, maximized);
    QFETCH(int, expected);

    FrameHitInput input;
    input.frame = QRect(-50, -50, 3000, 3000);
    input.pointer = pointer;
    input.borderWidth = 8;
    input.maximized = maximized;
    input.devicePixelRatio = ratio;
    input.titleBar = &bar;
    input.whiteList = {logo};
    QCOMPARE(frameHitTest(input), expected);

    input.titleBar = nullptr;
    QCOMPARE(frameHitTest(input), int(HitNowhere));
}

void TestFrameHitTest::resizedFrame_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");

    // From (100, 100) 400 x 300, minimum 200 x 150, maximum 600 x 500.
    QTest::newRow("right grows") << int(HitRight) << QPoint(50, 9) << QRect(100, 100, 450, 300);
    QTest::newRow("left grows, right edge stays")
        << int(HitLeft) << QPoint(-30, 0) << QRect(70, 100, 430, 300);
    QTest::newRow("left stops at minimum")
        << int(HitLeft) << QPoint(500, 0) << QRect(300, 100, 200, 300);
    QTest::newRow("right stops at maximum")
        << int(HitRight) << QPoint(900, 0) << QRect(100, 100, 600, 300);
    QTest::newRow("top shrinks") << int(HitTop) << QPoint(0, 40) << QRect(100, 140, 400, 260);
    QTest::newRow("bottom right") << int(HitBottomRight) << QPoint(10, 20)
                                  << QRect(100, 100, 410, 320);
    QTest::newRow("top left stops at minimum")
        << int(HitTopLeft) << QPoint(1000, 1000) << QRect(300, 250, 200, 150);
    QTest::newRow("caption resizes nothing")
        << int(HitCaption) << QPoint(10, 10) << QRect(100, 100, 400, 300);
}

void TestFrameHitTest::resizedFrame()
{
    QFETCH(int, code);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    QCOMPARE(::resizedFrame(QRect(100, 100, 400, 300), edgesOfHit(code), delta, QSize(200, 150),
                            QSize(600, 500)),
             expected);
}

QTEST_MAIN(TestFrameHitTest)
#include "tst_framehittest.moc"
