// SPDX-License-Identifier: GPL-3.0-or-later
// Toggle, clear line edit, thin scroll bars, icon tool buttons and the application style.
#include "app/commonstyle.h"
#include "widgets/clearlineedit.h"
#include "widgets/icontoolbtn.h"
#include "widgets/materialscrollbar.h"
#include "widgets/materialscrollbarstatemachine.h"
#include "widgets/toggle.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QtTest>

namespace
{
QColor pixelAt(QWidget &widget, int x, int y)
{
    return QColor(widget.grab().toImage().pixel(x, y));
}
} // namespace

class TestWidgetKit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void toggleKnob();
    void toggleSameStateDoesNotMove();
    void toggleCheckedBeforeMachineRuns();
    void clearButtonGeometry_data();
    void clearButtonGeometry();
    void clearButtonClears();
    void scrollBarHandle_data();
    void scrollBarHandle();
    void scrollBarFades();
    void iconToolBtnStates();
    void commonStyleScrollBar();
};

void TestWidgetKit::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

// Unchecked: orange knob at x 8 on a light track; checked: light knob at x 30
// on an orange track.
void TestWidgetKit::toggleKnob()
{
    const QColor orange(255, 107, 0);
    const QColor light(244, 243, 244);
    Toggle toggle;
    QCOMPARE(toggle.size(), QSize(54, 32));
    QTRY_VERIFY(toggle.findChild<QStateMachine *>()->isRunning());
    QCOMPARE(Toggle::knobLeft(54, 32, 0.0), 8);
    QCOMPARE(Toggle::knobLeft(54, 32, 1.0), 30);
    QCOMPARE(pixelAt(toggle, 16, 16), orange);
    QCOMPARE(pixelAt(toggle, 38, 16), light);

    // Checked in code, as a form filling itself: animates like a click.
    toggle.setChecked(true);
    QCOMPARE(toggle.offset(), 0.0);
    QTRY_VERIFY_WITH_TIMEOUT(toggle.offset() > 0.0, 500);
    QTRY_COMPARE_WITH_TIMEOUT(toggle.offset(), 1.0, 1000);
    QCOMPARE(pixelAt(toggle, 38, 16), light);
    QCOMPARE(pixelAt(toggle, 16, 16), orange);
    QCOMPARE(pixelAt(toggle, 27, 16), orange);

    toggle.click();
    QTRY_COMPARE_WITH_TIMEOUT(toggle.offset(), 0.0, 1000);
    QVERIFY(!toggle.isChecked());
}

void TestWidgetKit::toggleSameStateDoesNotMove()
{
    Toggle toggle;
    QTRY_VERIFY(toggle.findChild<QStateMachine *>()->isRunning());
    toggle.setChecked(false);
    QTest::qWait(350);
    QCOMPARE(toggle.offset(), 0.0);

    toggle.setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(toggle.offset(), 1.0, 1000);
    toggle.setChecked(true);
    QTest::qWait(350);
    QCOMPARE(toggle.offset(), 1.0);
}

// The machine starts from the event loop; a state set before that must still
// put the knob right and keep later changes in step.
void TestWidgetKit::toggleCheckedBeforeMachineRuns()
{
    Toggle toggle;
    toggle.setChecked(true);
    QTRY_VERIFY(toggle.findChild<QStateMachine *>()->isRunning());
    QCOMPARE(toggle.offset(), 1.0);
    toggle.setChecked(false);
    QTRY_COMPARE_WITH_TIMEOUT(toggle.offset(), 0.0, 1000);
    toggle.setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(toggle.offset(), 1.0, 1000);
}

void TestWidgetKit::clearButtonGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("300 x 30") << QSize(300, 30) << QRect(QPoint(270, 4), QPoint(291, 25));
    QTest::newRow("200 x 40") << QSize(200, 40) << QRect(QPoint(170, 9), QPoint(191, 30));
    QTest::newRow("odd height 31") << QSize(300, 31) << QRect(QPoint(270, 4), QPoint(291, 25));
}

void TestWidgetKit::clearButtonGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QRect, expected);
    ClearLineEdit edit;
    edit.resize(size);
    edit.show();
    QCOMPARE(edit.clearButton()->geometry(), expected);
    QCOMPARE(edit.clearButton()->size(), QSize(22, 22));
}

void TestWidgetKit::clearButtonClears()
{
    ClearLineEdit edit;
    edit.resize(300, 30);
    edit.show();
    QVERIFY(!edit.clearButton()->isHidden());
    QVERIFY(!edit.clearButton()->icon().isNull());
    QSignalSpy changed(&edit, &QLineEdit::textChanged);
    QTest::mouseClick(edit.clearButton(), Qt::LeftButton);
    QVERIFY(edit.text().isEmpty());
    QCOMPARE(changed.count(), 0);

    edit.setText(QStringLiteral("预设1"));
    changed.clear();
    QTest::mouseClick(edit.clearButton(), Qt::LeftButton);
    QVERIFY(edit.text().isEmpty());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!edit.clearButton()->isHidden());
}

void TestWidgetKit::scrollBarHandle_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("pageStep");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("length");
    // Bar 216 px long: 216 / (pageStep + maximum - minimum - 1) px per unit.
    QTest::newRow("top") << 0 << 100 << 9 << 0 << 0.0 << 18;
    QTest::newRow("middle") << 0 << 100 << 9 << 50 << 100.0 << 18;
    QTest::newRow("end") << 0 << 100 << 9 << 100 << 200.0 << 18;
    QTest::newRow("minimum not zero") << 20 << 120 << 9 << 20 << 0.0 << 18;
    QTest::newRow("nothing to scroll") << 0 << 0 << 1 << 0 << 0.0 << 0;
    QTest::newRow("no page") << 5 << 5 << 0 << 5 << 0.0 << 0;
}

void TestWidgetKit::scrollBarHandle()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, pageStep);
    QFETCH(int, position);
    QFETCH(double, start);
    QFETCH(int, length);
    const auto span = MaterialScrollBar::handleSpan(216, minimum, maximum, pageStep, position);
    QCOMPARE(span.first, start);
    QCOMPARE(span.second, length);
}

void TestWidgetKit::scrollBarFades()
{
    QWidget holder;
    holder.setStyleSheet(QStringLiteral("background: white;"));
    holder.resize(40, 240);
    auto *bar = new MaterialScrollBar(&holder);
    bar->setOrientation(Qt::Vertical);
    bar->setGeometry(0, 0, 10, 216);
    bar->setRange(0, 100);
    bar->setPageStep(9);
    bar->setValue(50);
    bar->setSliderColor(QColor(200, 0, 0));
    QCOMPARE(bar->sizeHint().width(), 10);
    holder.show();
    QVERIFY(QTest::qWaitForWindowExposed(&holder));
    QTRY_VERIFY(bar->stateMachine()->isRunning());

    // Hidden until the pointer enters: the handle is not painted at all.
    QCOMPARE(bar->stateMachine()->opacity(), 0.0);
    QCOMPARE(pixelAt(holder, 5, 109), QColor(Qt::white));

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(bar, &enter);
    QTRY_COMPARE_WITH_TIMEOUT(bar->stateMachine()->opacity(), 1.0, 1000);
    QCOMPARE(pixelAt(holder, 5, 109), QColor(200, 0, 0));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bar, &leave);
    QTRY_COMPARE_WITH_TIMEOUT(bar->stateMachine()->opacity(), 0.0, 1000);

    // With hiding off the bar is always painted in full.
    bar->setHideOnMouseOut(false);
    QCOMPARE(pixelAt(holder, 5, 109), QColor(200, 0, 0));
    QCOMPARE(pixelAt(holder, 5, 30), QColor(Qt::white));
}

void TestWidgetKit::iconToolBtnStates()
{
    QPixmap red(20, 20);
    red.fill(Qt::red);
    QPixmap white(20, 20);
    white.fill(Qt::white);

    QWidget holder;
    holder.setStyleSheet(QStringLiteral("background: rgb(0, 200, 0);"));
    holder.resize(120, 40);
    auto *button = new IconToolBtn(&holder);
    button->setGeometry(0, 0, 100, 40);
    button->setCheckable(true);
    button->setNormalPixmap(red);
    button->setCheckedPixmap(white);
    QCOMPARE(button->disabledPixmap().size(), QSize(20, 20));
    QVERIFY(button->disabledPixmap().toImage() != red.toImage());
    // Away from the pointer: Qt 6 marks a window shown under it as hovered.
    holder.move(300, 300);
    holder.show();
    QVERIFY(QTest::qWaitForWindowExposed(&holder));

    // No text: the icon's left edge is at (100 - 20 - 0 - 2) / 2 = 39.
    QCOMPARE(pixelAt(holder, 39, 20), QColor(Qt::red));
    QCOMPARE(pixelAt(holder, 38, 20), QColor(0, 200, 0));
    QCOMPARE(pixelAt(holder, 5, 20), QColor(0, 200, 0));

    button->setAttribute(Qt::WA_UnderMouse, true);
    QCOMPARE(pixelAt(holder, 5, 20), QColor(238, 238, 238));
    QCOMPARE(pixelAt(holder, 45, 20), QColor(Qt::red));

    button->setChecked(true);
    QCOMPARE(pixelAt(holder, 5, 20), QColor(32, 33, 36));
    QCOMPARE(pixelAt(holder, 45, 20), QColor(Qt::white));

    button->setEnabled(false);
    QCOMPARE(pixelAt(holder, 5, 20), QColor(0, 200, 0));
    QCOMPARE(pixelAt(holder, 45, 20), QColor(button->disabledPixmap().toImage().pixel(5, 5)));
}

// Thin bar: no arrows, light rounded track, grey handle that darkens while the
// pointer is over the bar.
void TestWidgetKit::commonStyleScrollBar()
{
    CommonStyle style;
    QVERIFY(style.baseStyle());
    QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarExtent), 8);
    QCOMPARE(style.pixelMetric(QStyle::PM_ButtonMargin),
             style.baseStyle()->pixelMetric(QStyle::PM_ButtonMargin));

    QStyleOptionSlider option;
    option.rect = QRect(0, 0, 8, 200);
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = 100;
    option.pageStep = 50;
    option.sliderPosition = 0;
    option.sliderValue = 0;
    option.subControls = QStyle::SC_All;
    option.state = QStyle::State_Enabled;
    option.palette.setColor(QPalette::Base, QColor(255, 255, 255));

    const auto paint = [&](const QStyleOptionSlider &opt) {
        QImage image(8, 200, QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        style.drawComplexControl(QStyle::CC_ScrollBar, &opt, &painter);
        return image;
    };
    const QRect slider =
        style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, nullptr);
    const QRect addPage =
        style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddPage, nullptr);
    QVERIFY(!slider.isEmpty() && !addPage.isEmpty());

    QImage image = paint(option);
    QCOMPARE(QColor(image.pixel(slider.center())), QColor(203, 203, 203));
    QCOMPARE(QColor(image.pixel(addPage.center())), QColor(240, 240, 240));
    QCOMPARE(QColor(image.pixel(4, 0)), QColor(255, 255, 255));
    QCOMPARE(QColor(image.pixel(4, 199)), QColor(255, 255, 255));

    option.state |= QStyle::State_MouseOver;
    image = paint(option);
    QCOMPARE(QColor(image.pixel(slider.center())), QColor(128, 128, 128));
}

QTEST_MAIN(TestWidgetKit)
#include "tst_widgetkit.moc"
