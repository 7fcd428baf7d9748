// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: first run, missing keys, language choice and catalogues.
#include "app/mainwindow.h"
#include "core/autodownloadsettings.h"
#include "core/settinginfo.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void firstRunWritesDefaults();
    void missingKeyGainsItsDefault();
    void writeNeedsAnExistingFile();
    void languageChoice_data();
    void languageChoice();
    void corruptFileFallsBackToDefaults();
    void autoDownloadValues_data();
    void autoDownloadValues();

private:
    QString documents() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    QString settingsPath() const { return documents() + "/HYGRA/Setting/setting.ini"; }
    void writeSettingsFile(const QByteArray &content)
    {
        QDir().mkpath(documents() + "/HYGRA/Setting");
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QObject owner;
};

void TestSettings::init()
{
    QDir(documents() + "/HYGRA").removeRecursively();
}

void TestSettings::firstRunWritesDefaults()
{
    initSettings(&owner);
    QCOMPARE(currentLanguage(), QStringLiteral("中文简体"));
    QCOMPARE(dataDir(), documents() + "/HYGRA/UserData");
    QCOMPARE(configDir(), documents() + "/HYGRA/Config");
    QCOMPARE(appFolder(), documents() + "/HYGRA");
    QVERIFY(!isEnglish());

    QSettings file(settingsPath(), QSettings::IniFormat);
    QCOMPARE(file.childGroups(), QStringList{"setting"});
    QCOMPARE(file.value("setting/language").toString(), QStringLiteral("中文简体"));
    QCOMPARE(file.value("setting/datadir").toString(), dataDir());
    QCOMPARE(file.value("setting/configdir").toString(), configDir());
}

void TestSettings::missingKeyGainsItsDefault()
{
    writeSettingsFile("[setting]\nlanguage=English\ndatadir=/srv/recordings\n");
    initSettings(&owner);
    QCOMPARE(currentLanguage(), QStringLiteral("English"));
    QVERIFY(isEnglish());
    QCOMPARE(dataDir(), QStringLiteral("/srv/recordings"));
    QCOMPARE(configDir(), documents() + "/HYGRA/Config");

    QSettings file(settingsPath(), QSettings::IniFormat);
    QCOMPARE(file.value("setting/datadir").toString(), QStringLiteral("/srv/recordings"));
    QCOMPARE(file.value("setting/configdir").toString(), configDir());
}

void TestSettings::writeNeedsAnExistingFile()
{
    SettingInfo info(documents() + "/HYGRA/Setting/other.ini");
    info.writeInfo("setting", "language", "English");
    QVERIFY(!QFile::exists(info.path()));

    initSettings(&owner);
    setCurrentLanguage("English");
    QCOMPARE(currentLanguage(), QStringLiteral("English"));
    QSettings file(settingsPath(), QSettings::IniFormat);
    QCOMPARE(file.value("setting/language").toString(), QStringLiteral("English"));
}

void TestSettings::languageChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("english");
    QTest::newRow("English") << "English" << true;
    QTest::newRow("lower case") << "english" << false;
    QTest::newRow("Chinese") << "Chinese" << false;
    QTest::newRow("default") << "中文简体" << false;
}

void TestSettings::languageChoice()
{
    QFETCH(QString, stored);
    writeSettingsFile(QByteArray("[setting]\nlanguage=") + stored.toUtf8() + "\n");
    initSettings(&owner);
    QCOMPARE(currentLanguage(), stored);
    QTEST(isEnglish(), "english");
}

void TestSettings::corruptFileFallsBackToDefaults()
{
    writeSettingsFile(QByteArray("\x00\xFF[[[setting\n=\n\xC3", 14) + QByteArray(5000, '\x01'));
    initSettings(&owner);
    QCOMPARE(currentLanguage(), QStringLiteral("中文简体"));
    QCOMPARE(dataDir(), documents() + "/HYGRA/UserData");
}

void TestSettings::autoDownloadValues_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<bool>("spreadsheet");
    QTest::addColumn<bool>("workbook");
    QTest::addColumn<QString>("folder"); // empty: the recordings folder
    QTest::newRow("missing: off, PDF into the recordings folder")
        << QByteArray() << false << true << false << false << QString();
    QTest::newRow("on, both, own folder")
        << QByteArray("autodownload= ON \nautopdf=1\nautocsv=yes\nautoxlsx=True\n"
                      "autoreportdir=/srv/reports\n")
        << true << true << true << true << "/srv/reports";
    QTest::newRow("edited into garbage")
        << QByteArray("autodownload=sure\nautopdf=@Invalid()\nautocsv=\nautoxlsx=2\n"
                      "autoreportdir=  \n")
        << false << false << false << false << QString();
}

// A hand-edited file never switches the automatic download on by accident.
void TestSettings::autoDownloadValues()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, folder);
    writeSettingsFile("[setting]\nlanguage=English\n" + lines);
    initSettings(&owner);
    const AutoDownloadSettings settings = autoDownloadSettings();
    QTEST(settings.enabled, "enabled");
    QTEST(settings.pdf, "pdf");
    QTEST(settings.spreadsheet, "spreadsheet");
    QTEST(settings.workbook, "workbook");
    QCOMPARE(autoReportFolder(settings), folder.isEmpty() ? dataDir() : folder);
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QTemporaryDir> home(testsupport::useTemporaryHome());
    QApplication app(argc, argv);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
