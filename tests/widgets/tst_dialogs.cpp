// SPDX-License-Identifier: GPL-3.0-or-later
// Download progress, two-choice question, about box and the export wait overlay.
#include "app/aboutdialog.h"
#include "app/downloaddialog.h"
#include "widgets/okwidget.h"
#include "widgets/selectdialog.h"
#include "widgets/waitcirclewidget.h"
#include "widgets/waitprogressdialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

namespace
{
// A catalogue whose about-box texts are three times as long as the source texts.
class LongTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "AboutDialog") != 0)
            return QString();
        const QString text = QString::fromUtf8(source);
        return QStringList{text, text, text}.join(QLatin1Char(' '));
    }
};
} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void downloadProgress_data();
    void downloadProgress();
    void downloadAcceptsHalfSecondAfterFull();
    void downloadEnds_data();
    void downloadEnds();
    void selectDialogKeys_data();
    void selectDialogKeys();
    void aboutShowsVersion_data();
    void aboutShowsVersion();
    void spinnerPoints();
    void spinnerDots_data();
    void spinnerDots();
    void spinnerTurns();
    void overlayFollowsParent();
    void overlayCompletes();
};

void TestDialogs::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestDialogs::downloadProgress_data()
{
    QTest::addColumn<QVector<QPoint>>("steps"); // (cur, total) in order
    QTest::addColumn<int>("value");
    QTest::newRow("1 of 3") << QVector<QPoint>{{1, 3}} << 33;
    QTest::newRow("2 of 3") << QVector<QPoint>{{2, 3}} << 66;
    QTest::newRow("3 of 3") << QVector<QPoint>{{3, 3}} << 100;
    QTest::newRow("29 of 100 stays 29") << QVector<QPoint>{{29, 100}} << 29;
    QTest::newRow("62 of 63 truncates") << QVector<QPoint>{{62, 63}} << 98;
    QTest::newRow("zero total ignored") << QVector<QPoint>{{1, 3}, {0, 0}} << 33;
    QTest::newRow("block 1 of a zero-block recording completes") << QVector<QPoint>{{1, 0}} << 100;
    QTest::newRow("past the total ignored") << QVector<QPoint>{{2, 3}, {4, 3}} << 66;
    QTest::newRow("negative ignored") << QVector<QPoint>{{2, 3}, {-1, 3}} << 66;
    QTest::newRow("large counts") << QVector<QPoint>{{2000000000, 2100000000}} << 95;
}

void TestDialogs::downloadProgress()
{
    QFETCH(QVector<QPoint>, steps);
    QFETCH(int, value);
    DownloadDialog dialog;
    QCOMPARE(dialog.progressLabel()->text(), QStringLiteral("0%"));
    for (const QPoint &step : steps)
        dialog.updateProgress(step.x(), step.y());
    QCOMPARE(dialog.progressBar()->value(), value);
    QCOMPARE(dialog.progressLabel()->text(), QStringLiteral("%1%").arg(value));
    QVERIFY(dialog.progressBar()->text().isEmpty());
}

void TestDialogs::downloadAcceptsHalfSecondAfterFull()
{
    DownloadDialog dialog;
    QElapsedTimer clock;
    int result = -1;
    qint64 elapsed = 0;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.updateProgress(1, 3);
        dialog.updateProgress(3, 3);
        clock.start();
    });
    connect(&dialog, &QDialog::finished, this, [&](int r) {
        result = r;
        elapsed = clock.elapsed();
    });
    dialog.exec();
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY2(elapsed >= 450 && elapsed < 1500, qPrintable(QString::number(elapsed)));
    QCOMPARE(dialog.errorCode(), 0);
}

void TestDialogs::downloadEnds_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("err");
    QTest::newRow("user cancels at 40 %") << true << 0;
    QTest::newRow("step timed out at 40 %") << false << -5;
    QTest::newRow("file not created") << false << -7;
}

void TestDialogs::downloadEnds()
{
    QFETCH(bool, cancel);
    QFETCH(int, err);
    DownloadDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.updateProgress(40, 100);
        if (cancel)
            dialog.findChild<QPushButton *>(QStringLiteral("cancelBtn"))->click();
        else
            dialog.stopDownErr(err);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.errorCode(), err);
    QCOMPARE(dialog.progressLabel()->text(), QStringLiteral("40%"));
}

void TestDialogs::selectDialogKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("alternative"); // 0 none, 1 shown, 2 shown with the focus
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("result");
    QTest::newRow("Return confirms")
        << int(Qt::Key_Return) << 0 << "pushButton_2" << int(QDialog::Accepted);
    QTest::newRow("Enter confirms")
        << int(Qt::Key_Enter) << 0 << "pushButton_2" << int(QDialog::Accepted);
    QTest::newRow("Escape cancels")
        << int(Qt::Key_Escape) << 0 << "pushButton_2" << int(QDialog::Rejected);
    QTest::newRow("third answer, Return still confirms")
        << int(Qt::Key_Return) << 1 << "pushButton_2" << int(QDialog::Accepted);
    // Where confirming erases something, Return takes the safe third answer.
    QTest::newRow("focused third answer takes Return")
        << int(Qt::Key_Return) << 2 << "pushButton_3" << int(SelectDialog::Alternative);
    QTest::newRow("Escape cancels beside a third answer")
        << int(Qt::Key_Escape) << 2 << "pushButton_3" << int(QDialog::Rejected);
}

void TestDialogs::selectDialogKeys()
{
    QFETCH(int, key);
    QFETCH(int, alternative);
    QFETCH(QString, focused);
    QFETCH(int, result);
    const QString question = QStringLiteral("注意配置设备会清除\n设备中所有记录的数据");
    SelectDialog dialog(question);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label"))->text(), question);
    if (alternative > 0)
        dialog.addAlternative(QStringLiteral("先下载"), alternative == 2);
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget *focus = QApplication::focusWidget();
        QCOMPARE(focus ? focus->objectName() : QString(), focused);
        QTest::keyClick(focus, Qt::Key(key));
    });
    QCOMPARE(dialog.exec(), result);
}

void TestDialogs::aboutShowsVersion_data()
{
    QTest::addColumn<bool>("longTexts");
    QTest::newRow("source texts") << false;
    QTest::newRow("longer translation") << true;
}

void TestDialogs::aboutShowsVersion()
{
    QFETCH(bool, longTexts);
    AboutDialog about(QStringLiteral("V 1.1.2"));
    LongTranslator translator;
    if (longTexts) {
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
    QCOMPARE(about.versionText(), QStringLiteral("V 1.1.2"));
    QVERIFY(about.windowTitle().startsWith(QStringLiteral("关于")));
    QCOMPARE(about.minimumWidth(), 473);
    QVERIFY(about.minimumHeight() >= 378);
    auto *picture = about.findChild<QLabel *>(QStringLiteral("label_2"));
    QVERIFY(picture && !picture->pixmap(Qt::ReturnByValue).isNull());

    // The legal notices: name, copyright, licence, no warranty, where the texts are.
    const auto text = [&](const char *name) {
        auto *label = about.findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : QString();
    };
    QCOMPARE(text("nameLabel"), QStringLiteral("hygra"));
    QVERIFY(text("copyrightLabel").contains(QStringLiteral("© 2026 hygra")));
    const QString licence = text("licenceLabel");
    for (const char *part : {"GNU 通用公共许可证第 3 版", "任何更高版本", "不附带任何担保",
                             "/usr/share/doc/hygra", "https://www.gnu.org/licenses/gpl-3.0.html"})
        QVERIFY2(licence.contains(QString::fromUtf8(part)), part);

    // Every text fits: no label is squeezed below the height its wrapped text needs.
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    for (QLabel *label : about.findChildren<QLabel *>()) {
        const int needed = label->hasHeightForWidth() ? label->heightForWidth(label->width())
                                                      : label->sizeHint().height();
        QVERIFY2(label->height() >= needed, qPrintable(label->objectName()));
    }
    QCoreApplication::removeTranslator(&translator);

    QTimer::singleShot(
        0, &about, [&] { about.findChild<QPushButton *>(QStringLiteral("closeBtn"))->click(); });
    QCOMPARE(about.exec(), int(QDialog::Rejected));
}

void TestDialogs::spinnerPoints()
{
    WaitCircleWidget spinner;
    const QVector<QPoint> expected{{0, -30}, {21, -21}, {30, 0},  {21, 21},
                                   {0, 30},  {-21, 21}, {-30, 0}, {-21, -21}};
    QCOMPARE(spinner.points(), expected);
    QCOMPARE(spinner.head(), 4);
}

void TestDialogs::spinnerDots_data()
{
    QTest::addColumn<int>("rank");
    QTest::addColumn<QRect>("expected");
    // Top dot of a 200 x 200 spinner: centre (99, 99 - 30), ring 20 px higher.
    QTest::newRow("leading") << 0 << QRect(QPoint(90, 40), QPoint(107, 57));
    QTest::newRow("second") << 1 << QRect(QPoint(91, 41), QPoint(106, 56));
    QTest::newRow("others") << 2 << QRect(QPoint(92, 42), QPoint(105, 55));
    QTest::newRow("last") << 7 << QRect(QPoint(92, 42), QPoint(105, 55));
}

void TestDialogs::spinnerDots()
{
    QFETCH(int, rank);
    QFETCH(QRect, expected);
    const QRect dot = WaitCircleWidget::dotRect(QSize(200, 200), QPoint(0, -30), rank);
    QCOMPARE(dot, expected);
    QCOMPARE(dot.width(), dot.height());
}

void TestDialogs::spinnerTurns()
{
    WaitCircleWidget spinner;
    spinner.hide(); // hidden spinners keep turning
    QTRY_COMPARE_WITH_TIMEOUT(spinner.head(), 5, 1000);
    QTRY_COMPARE_WITH_TIMEOUT(spinner.head(), 0, 2000);
}

void TestDialogs::overlayFollowsParent()
{
    QWidget window;
    window.setObjectName(QStringLiteral("MainWindow"));
    window.resize(800, 600);
    WaitProgressDialog overlay(&window);
    QCOMPARE(overlay.geometry(), QRect(0, 0, 800, 600));
    QCOMPARE(overlay.centerBox()->geometry(), QRect(220, 200, 360, 200));
    QCOMPARE(overlay.spinnerWidget()->geometry(), QRect(80, 0, 200, 200));
    QCOMPARE(overlay.okWidget()->geometry(), QRect(136, 46, 88, 88));
    QVERIFY(overlay.okWidget()->isHidden());

    window.show();
    window.resize(1000, 700);
    QTRY_COMPARE(overlay.geometry(), QRect(0, 0, 1000, 700));
    QCOMPARE(overlay.centerBox()->pos(), QPoint(320, 250));

    QWidget other;
    other.resize(500, 400);
    overlay.setParent(&other);
    QCOMPARE(overlay.geometry(), QRect(0, 0, 500, 400));
    QCOMPARE(overlay.centerBox()->pos(), QPoint(70, 100));
    window.resize(900, 650); // the old parent is no longer followed
    QCoreApplication::processEvents();
    QCOMPARE(overlay.geometry(), QRect(0, 0, 500, 400));
    overlay.setParent(nullptr);
}

void TestDialogs::overlayCompletes()
{
    QWidget window;
    window.setObjectName(QStringLiteral("MainWindow"));
    window.resize(800, 600);
    window.show();
    WaitProgressDialog overlay(&window);
    QCOMPARE(overlay.tipLabel()->text(), QStringLiteral("正在导出"));

    QElapsedTimer clock;
    QTimer::singleShot(50, &overlay, [&] {
        QVERIFY(overlay.isVisible());
        overlay.delSuccess();
        clock.start();
        QCOMPARE(overlay.tipLabel()->text(), QStringLiteral("导出完成"));
        QVERIFY(overlay.spinnerWidget()->isHidden());
        QVERIFY(!overlay.okWidget()->isHidden());
    });
    overlay.show();
    QTRY_VERIFY(clock.isValid());
    QTRY_VERIFY(!overlay.isVisible());
    QVERIFY(clock.elapsed() >= 450);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
