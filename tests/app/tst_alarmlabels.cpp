// SPDX-License-Identifier: GPL-3.0-or-later
// One threshold keeps its name from the settings page to the summary and the PDF report.
#include "app/connectdialog.h"
#include "app/connectwidget.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/tbwidget.h"
#include "config/alarmrules.h"
#include "core/settinginfo.h"
#include "export/exportsupport.h"
#include "export/pdfreport.h"
#include "loggersim.h"
#include "settings/alarmrowwidget.h"
#include "settings/devsettinginfo.h"
#include "settings/devsettingui.h"
#include "testsupport.h"
#include "views/datadevinfowidget.h"
#include "views/datashowwidget.h"
#include "widgets/checkbutton.h"
#include "widgets/selectdialog.h"
#include "widgets/snackbar.h"

#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace
{
// Accepts the next modal SelectDialog (the erase warning) once it is open.
void acceptNextSelectDialog()
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (auto *dialog = qobject_cast<SelectDialog *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            dialog->accept();
        }
    });
    poll->start();
}

void acceptNextConnectDialog()
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (auto *dialog = qobject_cast<ConnectDialog *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            dialog->accept();
        }
    });
    poll->start();
}

// The words of the report line that starts with `label`, compatibility forms
// folded (the text layer spells ℃ as °C).
QStringList reportRow(const QString &page, const QString &label)
{
    for (const QString &line : page.split(QLatin1Char('\n'))) {
        const QStringList words =
            line.normalized(QString::NormalizationForm_KC).simplified().split(QLatin1Char(' '));
        if (words.first() == label)
            return words;
    }
    return {};
}
} // namespace

class TestAlarmLabels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void thresholdKeepsItsName_data();
    void thresholdKeepsItsName();

private:
    void switchOnAndSave(MainWindow &window, int id);
    void recordAndDownload(MainWindow &window, int id);

    QScopedPointer<MainWindow> window;
    QTemporaryDir out;
};

void TestAlarmLabels::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    loggersim::setReadWaitLimit(100);
    QDir(appFolder()).removeRecursively();
    loggersim::configure(QStringLiteral("HX20D:sensor=2"));
    const int id = loggersim::loggerIds().first();
    // Every temperature threshold starts off, so only the clicks below open any.
    OneConfigCmdStruct config = loggersim::config(id);
    for (int row = Th3Row; row <= Tl3Row; ++row)
        AlarmRules::alert(config, row).isOpen = false;
    loggersim::setConfig(id, config);

    window.reset(new MainWindow);
    window->show();
    acceptNextConnectDialog();
    window->delConnectDev();
    ConnectWidget *panel = window->form()->connectWidget;
    QVERIFY(QTest::qWaitFor([panel] { return panel->isConnected(); }, 5000));
    switchOnAndSave(*window, id);
    if (QTest::currentTestFailed())
        return;
    recordAndDownload(*window, id);
}

// On the settings page: TH1 ≥ 30 °C, and TL2 ≤ 5 °C, which brings TL1 along (set to 10 °C).
void TestAlarmLabels::switchOnAndSave(MainWindow &w, int id)
{
    w.findChild<QPushButton *>(QStringLiteral("devSetBtn"))->click();
    auto *name = w.findChild<QLineEdit *>(QStringLiteral("devNameLE"));
    QVERIFY(QTest::qWaitFor([name] { return !name->text().isEmpty(); }, 3000));
    DevSettingInfo *page = w.form()->devSetting;
    auto enter = [page](int row, double value) {
        QDoubleSpinBox *spin = page->form().alarmRows[size_t(row)]->spinBox();
        spin->setValue(value);
        emit spin->editingFinished();
    };
    page->form().alarmRows[Th1Row]->checkBtn()->click();
    enter(Th1Row, 30.0);
    page->form().alarmRows[Tl2Row]->checkBtn()->click();
    enter(Tl1Row, 10.0);
    enter(Tl2Row, 5.0);
    acceptNextSelectDialog();
    page->saveButton()->click();
    QVERIFY(QTest::qWaitFor(
        [&w] { return w.noticeOverlay()->text() == QStringLiteral("配置成功"); }, 5000));
    const OneConfigCmdStruct held = loggersim::config(id);
    QVERIFY(held.th1.isOpen && held.tl1.isOpen && held.tl2.isOpen);
    QVERIFY(!held.th2.isOpen && !held.th3.isOpen && !held.tl3.isOpen);
    QCOMPARE(held.th1.alertValue, 3000);
    QCOMPARE(held.tl2.alertValue, 500);
}

// Starts recording from the toolbar, lets the emulator hold 2000 samples (with its warm
// and cold spells) and stops, then downloads and opens the recording.
void TestAlarmLabels::recordAndDownload(MainWindow &w, int id)
{
    auto *record = w.findChild<QPushButton *>(QStringLiteral("recordBtn"));
    QVERIFY(QTest::qWaitFor([record] { return record->isEnabled(); }, 3000));
    record->click();
    QVERIFY(QTest::qWaitFor([id] { return loggersim::isRecording(id); }, 3000));
    loggersim::setRecordNum(id, 2000);
    loggersim::setRecording(id, false);
    emit w.form()->tbWidget->devDownLoadSignal();
    QVERIFY(QTest::qWaitFor(
        [&w] { return w.noticeOverlay()->text() == QStringLiteral("下载成功"); }, 10000));
    QTRY_VERIFY(w.form()->dataShow->isShowing());
}

void TestAlarmLabels::thresholdKeepsItsName_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("threshold"); // as the summary shows it
    QTest::addColumn<bool>("raised");
    QTest::newRow("TH1") << "TH1" << true << "≥30.0℃" << true;
    QTest::newRow("TL2") << "TL2" << true << "≤5.0℃" << true;
    QTest::newRow("TH3") << "TH3" << false << "" << false;
    QTest::newRow("TL3") << "TL3" << false << "" << false;
}

void TestAlarmLabels::thresholdKeepsItsName()
{
    QFETCH(QString, label);
    QFETCH(bool, open);
    QFETCH(QString, threshold);
    QFETCH(bool, raised);
    QVERIFY(window);

    const DataDevInfoWidget *info = window->form()->dataShow->infoPage();
    const DataDevInfoAlarmRow *row = nullptr;
    for (const DataDevInfoAlarmRow &r : info->form().alarmRows) {
        if (r.name->text() == label)
            row = &r;
    }
    QVERIFY(row);
    QCOMPARE(row->checkBtn->isChecked(), open);
    if (open) {
        QCOMPARE(row->value->text(), threshold);
        QCOMPARE(row->state->text(), raised ? QStringLiteral("报警") : QStringLiteral("正常"));
    }

    const QString pdf = out.filePath(QStringLiteral("%1.pdf").arg(label));
    QVERIFY(writePdfReport(pdf, window->form()->dataShow->loaded(), 0, false));
    const QStringList pages = exporttest::pdfPages(pdf);
    QVERIFY(!pages.isEmpty());
    const QStringList cells = reportRow(pages.first(), label);
    QVERIFY2(cells.size() > 1, qPrintable(label));
    if (open) {
        // "≥ 30.0°C": a space after the sign for a threshold above zero.
        const QString folded = threshold.normalized(QString::NormalizationForm_KC);
        QCOMPARE(cells.mid(1, 2), QStringList({folded.left(1), folded.mid(1)}));
        QCOMPARE(cells.last(), raised ? QStringLiteral("报警") : QStringLiteral("正常"));
    } else {
        QCOMPARE(cells.mid(1), QVector<QString>(6, QStringLiteral("--")).toList());
    }
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestAlarmLabels test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_alarmlabels.moc"
