// SPDX-License-Identifier: GPL-3.0-or-later
// The recording list of the main window: building, opening and closing, deleting, renaming,
// selection.
#include "app/filebutton.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recordinglist.h"
#include "core/settinginfo.h"
#include "recording/readdevinfojson.h"
#include "recording/recordingreader.h"
#include "recording/recordingwriter.h"
#include "testsupport.h"
#include "views/datashowwidget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace
{
// A small valid recording of `samples` samples at 21.00 °C and 60.0 %RH.
void writeRecording(const QString &path, int samples)
{
    ReadDevInfoJson info;
    info.devType = 1;
    info.recordNum = samples;
    info.numofReport = samples;
    info.recordInterval = 12;
    info.startRecordTime = QDateTime(QDate(2024, 1, 31), QTime(14, 25));
    info.stopRecordTime = info.startRecordTime.addSecs(60 * samples);
    info.configTime = info.startRecordTime;
    info.devName = "Cold room";
    info.sn = "H2TEST0001";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(writeRecordingHeader(&file, info));
    for (int i = 0; i < samples; ++i)
        file.write(QByteArray::fromHex("34085802"));
}

// Closes the next message box and remembers its text.
void closeNextMessageBox(QString *text)
{
    QTimer::singleShot(50, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}
// Presses the button `choice` of the next question and remembers its text.
void answerNextQuestion(const QString &choice, QString *text)
{
    QTimer::singleShot(50, [choice, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        *text = box->text();
        for (QAbstractButton *button : box->buttons())
            if (button->text() == choice)
                button->click();
    });
}
} // namespace

class TestRecordingList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void emptyFolderHasNoEntries();
    void clickOpensAndClosesTheRecording();
    void onlyTheShownEntryLooksOpen();
    void deletingShownOrOtherRecording();
    void deletingWithoutTrashMakesOne();
    void deletingWhereNoTrashCanBeMadeAsksFirst();
    void renameRules();
    void returnEndsTheEditOnce();
    void selectionModeDeletesMarkedFiles();
    void downloadedFileGoesToTheEnd();
    void aDownloadOpensFromItsBytes();
    void folderListsTheNewestFirst();

private:
    QList<QAbstractButton *> entries() const { return window->recordingList()->group()->buttons(); }
    FileButton *entry(int i) const { return static_cast<FileButton *>(entries().at(i)); }
    // The shown recording's name, once the open asked for last has ended.
    QString shown() const
    {
        const DataShowWidget *view = window->form()->dataShow;
        if (!QTest::qWaitFor([view] { return !view->isOpening(); }, 5000))
            return QStringLiteral("(still opening)");
        return view->recordingBaseName();
    }
    // The files in the desktop's trash, where deleted recordings go.
    static QStringList trashed()
    {
        return QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files").entryList(QDir::Files);
    }
    void fillFolder(const QStringList &names);

    MainWindow *window = nullptr;
};

void TestRecordingList::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestRecordingList::init()
{
    QDir(appFolder()).removeRecursively();
    QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash").removeRecursively();
    window = new MainWindow;
    window->show();
    QDir().mkpath(dataDir());
    // Let the list's first fill after start-up pass before the test fills the folder.
    QTest::qWait(400);
}

void TestRecordingList::cleanup()
{
    delete window;
    window = nullptr;
}

void TestRecordingList::fillFolder(const QStringList &names)
{
    // The list shows the newest first: the first name is given the latest time.
    const QDateTime newest = QDateTime::currentDateTime().addSecs(-3600);
    for (int i = 0; i < names.size(); ++i) {
        QFile file(dataDir() + "/" + names.at(i) + ".data");
        writeRecording(file.fileName(), 30);
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.setFileTime(newest.addSecs(-60 * i), QFileDevice::FileModificationTime));
    }
    window->loadFileButtons();
    QCOMPARE(entries().size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(entry(i)->text(), names.at(i));
}

void TestRecordingList::emptyFolderHasNoEntries()
{
    QVERIFY(entries().isEmpty());
    QCOMPARE(window->form()->scrollAreaWidgetContents->height(), 4);
    fillFolder({"A", "B"});
    QCOMPARE(window->form()->scrollAreaWidgetContents->height(), 2 * 54 + 4);
    QCOMPARE(entry(1)->geometry().top(), 4 + 54);
}

void TestRecordingList::clickOpensAndClosesTheRecording()
{
    fillFolder({"A", "B"});
    entry(0)->click();
    QCOMPARE(shown(), QStringLiteral("A"));
    QVERIFY(entry(0)->isChecked());
    QVERIFY(!entry(1)->isCheckable());
    entry(0)->click();
    QCOMPARE(shown(), QString());
    QVERIFY(!entry(0)->isCheckable());
    QVERIFY(!entry(0)->isChecked());
    entry(0)->click();
    QCOMPARE(shown(), QStringLiteral("A"));

    // A file that is not a recording is refused with a notice.
    QFile bad(dataDir() + "/C.data");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(2000, 'x'));
    bad.close();
    window->loadFileButtons();
    QSignalSpy opened(window->form()->dataShow, &DataShowWidget::recordingOpened);
    QVERIFY(window->openDataFile(dataDir() + "/C.data"));
    QVERIFY(opened.wait(5000));
    QVERIFY(opened.first().at(1).value<RecordingStatus>() != RecordingStatus::Loaded);
    QCOMPARE(shown(), QStringLiteral("A"));
}

// What the screen shows of an entry: the shown recording's entry is painted dark.
bool looksOpen(QWidget *window, QWidget *entry)
{
    QCoreApplication::processEvents();
    const QImage screen = window->windowHandle()->screen()->grabWindow(window->winId()).toImage();
    const QPoint at = entry->mapTo(window, QPoint(entry->width() / 2, 4));
    return QColor(screen.pixel(at)) == QColor(32, 33, 36);
}

void TestRecordingList::onlyTheShownEntryLooksOpen()
{
    fillFolder({"A", "B"});
    QVERIFY(QTest::qWaitForWindowExposed(window));
    entry(0)->click();
    QCOMPARE(shown(), QStringLiteral("A"));
    QVERIFY(looksOpen(window, entry(0)));
    entry(1)->click();
    QCOMPARE(shown(), QStringLiteral("B"));
    QVERIFY(looksOpen(window, entry(1)));
    QVERIFY(!looksOpen(window, entry(0)));
}

void TestRecordingList::deletingShownOrOtherRecording()
{
    fillFolder({"A", "B", "C"});
    entry(0)->click();
    window->recordingList()->delFileBtnOptSignal(dataDir() + "/B.data", 1);
    QVERIFY(!QFile::exists(dataDir() + "/B.data"));
    QCOMPARE(trashed(), QStringList{"B.data"});
    QCOMPARE(entries().size(), 2);
    QCOMPARE(shown(), QStringLiteral("A"));
    QVERIFY(entry(0)->isChecked());

    window->recordingList()->delFileBtnOptSignal(dataDir() + "/A.data", 1);
    QCOMPARE(entries().size(), 1);
    QCOMPARE(shown(), QString());
    QCOMPARE(entry(0)->text(), QStringLiteral("C"));
}

// An account without a trash gets one, laid out as freedesktop.org desktops
// share it; Qt would otherwise move the file into "files" under the working folder.
void TestRecordingList::deletingWithoutTrashMakesOne()
{
    fillFolder({"A"});
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    QTemporaryDir working;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(working.path());
    const QString missing = QString::fromUtf8(dataHome) + "/missing";
    qputenv("XDG_DATA_HOME", missing.toUtf8());
    window->recordingList()->delFileBtnOptSignal(dataDir() + "/A.data", 1);
    qputenv("XDG_DATA_HOME", dataHome);
    QDir::setCurrent(previous);
    QVERIFY(!QFile::exists(dataDir() + "/A.data"));
    QVERIFY(QFile::exists(missing + "/Trash/files/A.data"));
    QVERIFY(QFile::exists(missing + "/Trash/info/A.data.trashinfo"));
    QCOMPARE(QFileInfo(missing + "/Trash").permissions() & 0x0077, QFileDevice::Permissions());
    QVERIFY(QDir(working.path()).isEmpty());
    QVERIFY(entries().isEmpty());
    QDir(missing).removeRecursively();
}

// Where no trash can be had, a file is deleted for good only when the user says so.
void TestRecordingList::deletingWhereNoTrashCanBeMadeAsksFirst()
{
    fillFolder({"A", "B", "C"});
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    QTemporaryDir blocked;
    QFile plain(blocked.filePath("file"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    // A data folder below a plain file can never be made.
    qputenv("XDG_DATA_HOME", (plain.fileName() + "/share").toUtf8());
    entry(1)->click();
    QString question;
    answerNextQuestion("取消", &question);
    window->recordingList()->delFileBtnOptSignal(dataDir() + "/A.data", 1);
    QVERIFY(question.contains("A.data"));
    QVERIFY(QFile::exists(dataDir() + "/A.data"));
    QCOMPARE(entries().size(), 3);

    window->form()->selectBtn->click();
    entry(1)->click();
    entry(2)->click();
    answerNextQuestion("永久删除", &question);
    window->form()->delBtn->click();
    qputenv("XDG_DATA_HOME", dataHome);
    QVERIFY(question.contains("B.data") && question.contains("C.data"));
    QCOMPARE(QDir(dataDir()).entryList({"*.data"}), QStringList{"A.data"});
    QCOMPARE(shown(), QString());
    QVERIFY(trashed().isEmpty());
}

void TestRecordingList::renameRules()
{
    fillFolder({"A", "B"});
    entry(0)->click();
    RecordingList *list = window->recordingList();

    QString message;
    closeNextMessageBox(&message);
    list->delUpdateRename("B", "A");
    QCOMPARE(message, QStringLiteral("命名已存在!"));
    QVERIFY(QFile::exists(dataDir() + "/A.data"));

    list->delUpdateRename("Cold room 3", "A");
    QVERIFY(QFile::exists(dataDir() + "/Cold room 3.data"));
    QCOMPARE(entry(0)->text(), QStringLiteral("Cold room 3"));
    QCOMPARE(entry(0)->filePath(), dataDir() + "/Cold room 3.data");
    QCOMPARE(shown(), QStringLiteral("Cold room 3"));

    // The editor refuses illegal and empty names, and an unchanged name says nothing.
    QSignalSpy renamed(entry(1), &FileButton::updateRename);
    auto *editor = entry(1)->findChild<QLineEdit *>();
    // The refusal names what a name may not hold, and the typed name stays to be corrected.
    for (const QString &name : {QStringLiteral("a/b"), QStringLiteral("x.y"), QString()}) {
        entry(1)->startRename(false);
        editor->setText(name);
        closeNextMessageBox(&message);
        message.clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(message,
                     QStringLiteral("命名错误!\n名称不能为空，也不能包含以下字符：/ \\ . : *"));
        QTRY_VERIFY(editor->isVisible());
        QCOMPARE(editor->text(), name);
    }
    entry(1)->startRename(false);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(renamed.count(), 0);
    QVERIFY(QFile::exists(dataDir() + "/B.data"));
}

void TestRecordingList::returnEndsTheEditOnce()
{
    fillFolder({"A"});
    QSignalSpy renamed(entry(0), &FileButton::updateRename);
    auto *editor = entry(0)->findChild<QLineEdit *>();
    entry(0)->startRename(true);
    QVERIFY(editor->isVisible());
    editor->setText("Z");
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QTest::qWait(50);
    QCOMPARE(renamed.count(), 1);
    QCOMPARE(renamed.at(0).at(0).toString(), QStringLiteral("Z"));
    QVERIFY(QFile::exists(dataDir() + "/Z.data"));
}

void TestRecordingList::selectionModeDeletesMarkedFiles()
{
    fillFolder({"A", "B", "C"});
    entry(1)->click();
    QCOMPARE(shown(), QStringLiteral("B"));
    MainWindowForm *form = window->form();
    form->selectBtn->click();
    QVERIFY(window->recordingList()->isSelectMode());
    QVERIFY(form->delBtn->isVisible());
    QCOMPARE(form->selectBtn->text(), QStringLiteral("取消"));
    // A click marks an entry and opens nothing.
    entry(0)->click();
    QVERIFY(entry(0)->isChecked());
    QCOMPARE(shown(), QStringLiteral("B"));
    entry(1)->click();
    form->delBtn->click();
    QCOMPARE(QDir(dataDir()).entryList({"*.data"}), QStringList{"C.data"});
    QCOMPARE(trashed(), (QStringList{"A.data", "B.data"}));
    QCOMPARE(shown(), QString());
    QVERIFY(!window->recordingList()->isSelectMode());
    QVERIFY(!form->delBtn->isVisible());
    QCOMPARE(form->selectBtn->text(), QStringLiteral("编辑"));

    // Nothing marked: the list is rebuilt and the mode ends.
    form->selectBtn->click();
    form->delBtn->click();
    QCOMPARE(entries().size(), 1);
    QVERIFY(!window->recordingList()->isSelectMode());
}

void TestRecordingList::downloadedFileGoesToTheEnd()
{
    fillFolder({"B", "C"});
    writeRecording(dataDir() + "/A.data", 10);
    window->addFileButton(dataDir() + "/A.data");
    QCOMPARE(entry(2)->text(), QStringLiteral("A"));
    QCOMPARE(window->form()->scrollAreaWidgetContents->height(), 3 * 54 + 4);
    window->loadFileButtons();
    QCOMPARE(entry(0)->text(), QStringLiteral("A"));
}

// A download shows the recording it read, as it read it, and checks its entry.
void TestRecordingList::aDownloadOpensFromItsBytes()
{
    fillFolder({"B"});
    const QString path = dataDir() + "/A.data";
    writeRecording(path, 10);
    const LoadedRecording downloaded = RecordingReader::read(path);
    QVERIFY(downloaded.ok());
    // What the file holds by now is not read again.
    writeRecording(path, 20);
    window->addFileButton(path);
    window->recordingList()->openDownloaded(path, downloaded);
    QCOMPARE(shown(), QStringLiteral("A"));
    QCOMPARE(window->form()->dataShow->loaded().samples.size(), 10);
    QVERIFY(entry(1)->isChecked());
    QVERIFY(!entry(0)->isChecked());
}

// A downloaded file by the time in its name, a renamed one by when it was written.
void TestRecordingList::folderListsTheNewestFirst()
{
    const struct {
        const char *name;
        QDateTime written;
    } files[] = {
        {"Cold room", QDateTime(QDate(2024, 2, 1), QTime(9, 0))},
        {"HX10D_20240101_080000", QDateTime::currentDateTime()},
        {"HX20D_20240301_080000", QDateTime(QDate(2023, 1, 1), QTime(9, 0))},
        {"HX20D_20240301_080000_2", QDateTime(QDate(2023, 1, 1), QTime(9, 0))},
    };
    for (const auto &f : files) {
        QFile file(dataDir() + "/" + f.name + ".data");
        writeRecording(file.fileName(), 5);
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.setFileTime(f.written, QFileDevice::FileModificationTime));
    }
    window->loadFileButtons();
    QStringList texts;
    for (QAbstractButton *button : entries())
        texts << button->text();
    QCOMPARE(texts, (QStringList{"HX20D_20240301_080000", "HX20D_20240301_080000_2", "Cold room",
                                 "HX10D_20240101_080000"}));
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    // Deleted recordings go to the trash in the desktop's data folder, which a
    // desktop account has.
    const QString dataHome = home->path() + "/.local/share";
    QDir().mkpath(dataHome);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    QApplication app(argc, argv);
    TestRecordingList test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recordinglist.moc"
