// SPDX-License-Identifier: GPL-3.0-or-later
// Every page of the window at its default and its minimum size, in both languages: nothing cut off.
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/tbwidget.h"
#include "core/settinginfo.h"
#include "loggersim.h"
#include "settings/devsettinginfo.h"
#include "settings/devsettingui.h"
#include "testsupport.h"
#include "views/datachartwidget.h"
#include "views/datadevinfowidget.h"
#include "views/datashowwidget.h"
#include "views/datatablewidget.h"
#include "widgets/snackbar.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pagesFit_data();
    void pagesFit();

private:
    // Every visible control and text of `area`, scrolled into view one by
    // one, lies wholly inside its viewport; returns those that do not.
    static QStringList clipped(QScrollArea *area);
};

void TestLayout::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    loggersim::setReadWaitLimit(100);
    // The program's own font (see main), so that texts take the room they take for users.
    QFont font;
    font.setFamilies({QStringLiteral("思源黑体 CN"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("sans-serif")});
    font.setPointSize(10);
    QApplication::setFont(font);
}

QStringList TestLayout::clipped(QScrollArea *area)
{
    QStringList names;
    QWidget *viewport = area->viewport();
    QList<QWidget *> items;
    for (QWidget *w : area->widget()->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(w);
        if ((label && !label->text().isEmpty()) || qobject_cast<QAbstractButton *>(w) ||
            qobject_cast<QComboBox *>(w) || qobject_cast<QLineEdit *>(w) ||
            qobject_cast<QAbstractSpinBox *>(w))
            items << w;
    }
    for (QWidget *w : qAsConst(items)) {
        if (!w->isVisibleTo(area) || !w->parentWidget()->isVisibleTo(area))
            continue;
        // A title or a note field that spans the page may be wider than the
        // view; it is seen from its left end.
        const bool wide = w->width() > viewport->width();
        const QSize needed = wide ? QSize(viewport->width() / 2, w->height()) : w->size();
        const QPoint at = w->mapTo(area->widget(), QPoint());
        const int halfWidth = (needed.width() + 1) / 2;
        const int halfHeight = (needed.height() + 1) / 2;
        area->ensureVisible(at.x() + needed.width() / 2, at.y() + needed.height() / 2, halfWidth,
                            halfHeight);
        if (!viewport->rect().contains(QRect(w->mapTo(viewport, QPoint()), needed)))
            names << QStringLiteral("%1 %2 at %3,%4")
                         .arg(w->metaObject()->className(), w->objectName())
                         .arg(w->mapTo(viewport, QPoint()).x())
                         .arg(w->mapTo(viewport, QPoint()).y());
        // A text wider than its label is cut at the label's edge.
        if (const auto *label = qobject_cast<QLabel *>(w)) {
            if (!label->wordWrap() && label->fontMetrics().horizontalAdvance(label->text()) >
                                          label->contentsRect().width())
                names << label->objectName() + QStringLiteral(" text \"") + label->text() + '"';
        }
    }
    return names;
}

void TestLayout::pagesFit_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("language");
    const QSize minimum(MainWindowForm::minimumWidth, MainWindowForm::minimumHeight);
    QTest::newRow("default, Chinese") << QSize(1280, 720) << QStringLiteral("中文简体");
    QTest::newRow("default, English") << QSize(1280, 720) << QStringLiteral("English");
    QTest::newRow("minimum, Chinese") << minimum << QStringLiteral("中文简体");
    QTest::newRow("minimum, English") << minimum << QStringLiteral("English");
}

// At the default size nothing scrolls sideways; at the minimum size things may
// scroll, but every control and text can be scrolled wholly into view, the
// toolbar's buttons do not overlap and the settings page's buttons cover nothing.
void TestLayout::pagesFit()
{
    QFETCH(QSize, size);
    QFETCH(QString, language);
    QDir(appFolder()).removeRecursively();
    QDir().mkpath(appFolder() + QStringLiteral("/Setting"));
    QFile ini(appFolder() + QStringLiteral("/Setting/setting.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[setting]\nlanguage=" + language.toUtf8() + "\n");
    ini.close();

    loggersim::configure("HX20D:sensor=2:samples=1500");
    MainWindow window;
    window.resize(size);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), size);
    MainWindowForm *ui = window.form();

    // Connected and with a recording open, every page shows all it can.
    auto *poll = new QTimer(&window);
    connect(poll, &QTimer::timeout, [] {
        if (auto *d = qobject_cast<ConnectDialog *>(QApplication::activeModalWidget()))
            d->accept();
    });
    poll->start(10);
    window.delConnectDev();
    QVERIFY(QTest::qWaitFor([ui] { return ui->connectWidget->isConnected(); }, 5000));
    emit ui->tbWidget->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor([ui] { return ui->dataShow->isShowing(); }, 10000));

    const bool isDefault = size == QSize(1280, 720);
    QWidget *exportBtn = ui->tbWidget->findChild<QWidget *>(QStringLiteral("exportBtn"));
    QWidget *recordBtn = ui->tbWidget->findChild<QWidget *>(QStringLiteral("recordBtn"));
    QVERIFY(recordBtn->geometry().right() < exportBtn->x());

    DataTableWidget *table = ui->dataShow->chartPage()->table();
    QTRY_COMPARE(table->horizontalScrollBar()->maximum(), 0);

    ui->dataShow->delSelectTabIndex(1);
    auto *info = ui->dataShow->infoPage()->findChild<QScrollArea *>(QStringLiteral("scrollArea"));
    QTRY_VERIFY(info->viewport()->isVisible());
    // Retried while the page lays itself out after showing.
    QStringList cut;
    QTRY_VERIFY2((cut = clipped(info)).isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    if (isDefault)
        QCOMPARE(info->horizontalScrollBar()->maximum(), 0);

    ui->tbWidget->findChild<QAbstractButton *>(QStringLiteral("devSetBtn"))->click();
    QTRY_COMPARE(ui->stackedWidget->currentIndex(), int(MainWindowForm::SettingsPage));
    DevSettingInfo *settings = ui->devSetting;
    QScrollArea *area = settings->form().scrollArea;
    // Filled from the logger's answers, then laid out.
    QTRY_VERIFY(!settings->form().devVersionLabel->text().isEmpty());
    QTRY_VERIFY2((cut = clipped(area)).isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    if (isDefault)
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
    for (QWidget *button :
         {settings->presetButton(), settings->saveButton(), settings->noSaveButton()})
        QVERIFY(button->geometry().bottom() < area->geometry().top());
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestLayout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_layout.moc"
