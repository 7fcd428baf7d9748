// SPDX-License-Identifier: GPL-3.0-or-later
// Frameless windows: drag areas, resize bands, moving and resizing by hand, restoring.
#include "app/aboutdialog.h"
#include "widgets/nativewindowtemplate.h"
#include "widgets/selectdialog.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace
{
// A main window with a title bar holding a logo and a button, as the
// application's main window has.
class TitledWindow : public NativeWindowTemplate<QMainWindow>
{
public:
    TitledWindow()
    {
        auto *central = new QWidget(this);
        auto *title = new QWidget(central);
        title->setGeometry(0, 0, 600, 32);
        logo = new QLabel(QStringLiteral("logo"), title);
        logo->setGeometry(10, 0, 50, 32);
        minBtn = new QPushButton(title);
        minBtn->setGeometry(500, 2, 38, 28);
        setCentralWidget(central);
        setBorderWidth(8);
        setTitleBar(title);
        lateLabel = new QLabel(QStringLiteral("late"), title);
        lateLabel->setGeometry(200, 0, 50, 32);
        titleWidget = title;
    }
    QWidget *titleWidget = nullptr;
    QLabel *logo = nullptr;
    QLabel *lateLabel = nullptr;
    QPushButton *minBtn = nullptr;
};
} // namespace

class TestNativeWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void framelessFlag();
    void mainWindowAreas_data();
    void mainWindowAreas();
    void maximisedHasNoBands();
    void aboutBoxDragsButDoesNotResize();
    void selectDialogResizesButDoesNotDrag();
    void dragByTitleBarMovesWindow();
    void dragAtRightBandResizes();
    void restoringBelowAvailableTop();
};

void TestNativeWindow::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestNativeWindow::framelessFlag()
{
    NativeWindowTemplate<QDialog> dialog;
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    NativeWindowTemplate<QMainWindow> window;
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
}

void TestNativeWindow::mainWindowAreas_data()
{
    QTest::addColumn<QPoint>("local");
    QTest::addColumn<int>("expected");
    QTest::newRow("7 px inside left") << QPoint(7, 300) << int(HitLeft);
    QTest::newRow("8 px inside left") << QPoint(8, 300) << int(HitNowhere);
    QTest::newRow("logo drags") << QPoint(30, 16) << int(HitCaption);
    QTest::newRow("free title space drags") << QPoint(400, 16) << int(HitCaption);
    QTest::newRow("button does not drag") << QPoint(510, 16) << int(HitNowhere);
    QTest::newRow("label added later does not drag") << QPoint(220, 16) << int(HitNowhere);
    QTest::newRow("top band over the title") << QPoint(400, 3) << int(HitTop);
    QTest::newRow("content") << QPoint(400, 300) << int(HitNowhere);
}

void TestNativeWindow::mainWindowAreas()
{
    QFETCH(QPoint, local);
    QFETCH(int, expected);
    TitledWindow window;
    window.setGeometry(100, 100, 800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.hitTest(window.mapToGlobal(local)), expected);
}

void TestNativeWindow::maximisedHasNoBands()
{
    TitledWindow window;
    window.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.isMaximized());
    QCOMPARE(window.hitTest(window.mapToGlobal(QPoint(0, 300))), int(HitNowhere));
    QCOMPARE(window.hitTest(window.mapToGlobal(QPoint(400, 4))), int(HitCaption));
}

void TestNativeWindow::aboutBoxDragsButDoesNotResize()
{
    AboutDialog about(QStringLiteral("V 1.1.2"));
    about.move(100, 100);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QPoint origin = about.mapToGlobal(QPoint(0, 0));
    QCOMPARE(about.hitTest(origin + QPoint(2, 200)), int(HitNowhere));
    QCOMPARE(about.hitTest(origin + QPoint(about.width() - 1, about.height() - 1)),
             int(HitNowhere));
    QCOMPARE(about.hitTest(origin + QPoint(200, 16)), int(HitCaption));
    auto *logoLabel = about.findChild<QLabel *>(QStringLiteral("logoLabel"));
    QVERIFY(logoLabel);
    QCOMPARE(about.hitTest(logoLabel->mapToGlobal(QPoint(2, 2))), int(HitCaption));
    auto *closeBtn = about.findChild<QPushButton *>(QStringLiteral("closeBtn"));
    QVERIFY(closeBtn);
    QCOMPARE(about.hitTest(closeBtn->mapToGlobal(closeBtn->rect().center())), int(HitNowhere));
}

void TestNativeWindow::selectDialogResizesButDoesNotDrag()
{
    SelectDialog dialog(QStringLiteral("?"));
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint origin = dialog.mapToGlobal(QPoint(0, 0));
    QCOMPARE(dialog.hitTest(origin + QPoint(4, 100)), int(HitLeft));
    QCOMPARE(dialog.hitTest(origin + QPoint(5, 100)), int(HitNowhere));
    QCOMPARE(dialog.hitTest(origin + QPoint(200, 10)), int(HitNowhere));
    QCOMPARE(dialog.hitTest(origin + QPoint(200, 2)), int(HitTop));
}

// The offscreen platform refuses system moves and resizes, so these run the
// manual fallback.
void TestNativeWindow::dragByTitleBarMovesWindow()
{
    AboutDialog about(QStringLiteral("V 1.1.2"));
    about.move(100, 100);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QPoint start = about.pos();
    QWindow *window = about.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 16));
    QTest::mouseMove(window, QPoint(250, 46));
    QTRY_COMPARE(about.pos(), start + QPoint(50, 30));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 16));

    // A press on the close button does not move the window.
    auto *closeBtn = about.findChild<QPushButton *>(QStringLiteral("closeBtn"));
    const QPoint moved = about.pos();
    const QPoint onButton = closeBtn->mapTo(&about, closeBtn->rect().center());
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onButton);
    QTest::mouseMove(window, onButton + QPoint(0, 40));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onButton + QPoint(0, 40));
    QCOMPARE(about.pos(), moved);
}

void TestNativeWindow::dragAtRightBandResizes()
{
    SelectDialog dialog(QStringLiteral("?"));
    dialog.setGeometry(100, 100, 402, 205);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QWindow *window = dialog.windowHandle();
    const QPoint band(dialog.width() - 2, 100);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, band);
    QTest::mouseMove(window, band + QPoint(60, 0));
    QTRY_COMPARE(dialog.width(), 462);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, band + QPoint(60, 0));
    QCOMPARE(dialog.pos(), QPoint(100, 100));
    QCOMPARE(dialog.height(), 205);
}

void TestNativeWindow::restoringBelowAvailableTop()
{
    const int top = QGuiApplication::primaryScreen()->availableVirtualGeometry().top();
    NativeWindowTemplate<QDialog> dialog;
    dialog.setGeometry(50, top - 100, 300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(dialog.frameGeometry().top(), top - 100);

    QWindowStateChangeEvent restored(Qt::WindowMaximized);
    QCoreApplication::sendEvent(&dialog, &restored);
    QTRY_COMPARE(dialog.frameGeometry().topLeft(), QPoint(50, top));

    // A window below the top stays where it is.
    dialog.move(60, top + 40);
    QCoreApplication::sendEvent(&dialog, &restored);
    QTRY_COMPARE(dialog.frameGeometry().topLeft(), QPoint(60, top + 40));
}

QTEST_MAIN(TestNativeWindow)
#include "tst_nativewindow.moc"
