// The settings as the program keeps them: an INI file in the user's configuration folder, read
// and written through the registry helpers.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "startup/IniSettingsStore.h"
#include "startup/RegistryHelpers.h"

using namespace lockvale;

class SettingsStoreTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_Config;

 private slots:
  void init() {
    qputenv("XDG_CONFIG_HOME", m_Config.path().toUtf8());
    QFile::remove(IniSettingsStore::FilePath());
  }

  void valuesKeepTheirKeysAndNames() {
    QCOMPARE(IniSettingsStore::FilePath(), m_Config.path() + "/lockvale/lockvale.ini");
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "Absent"), "");
    QVERIFY(!QFile::exists(IniSettingsStore::FilePath()));  // reading creates nothing

    SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFirstTime", "No");
    SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "Empty", "");
    SaveString(RegistryRoot::ClassesRoot, ".encr", "", "LockvaleApp");
    SaveString(RegistryRoot::ClassesRoot, ".encr\\sub", "", "Encrypted File");
    SaveString(RegistryRoot::LocalMachine, "SOFTWARE\\QV", "LockvaleFirstTime", "machine");
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFirstTime"), "No");
    QCOMPARE(GetString(RegistryRoot::LocalMachine, "SOFTWARE\\QV", "LockvaleFirstTime"), "machine");
    QCOMPARE(GetString(RegistryRoot::ClassesRoot, ".encr", ""), "LockvaleApp");
    QCOMPARE(GetString(RegistryRoot::ClassesRoot, ".encr\\sub\\", ""), "Encrypted File");
    QVERIFY(ProgramSettings().Read(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "Empty"));

    DelSetting(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFirstTime");
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFirstTime"), "");
    QVERIFY(ProgramSettings().Read(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "Empty"));
    DeleteSettingsKey(RegistryRoot::ClassesRoot, ".encr");
    QCOMPARE(GetString(RegistryRoot::ClassesRoot, ".encr\\sub", ""), "");
    QCOMPARE(GetString(RegistryRoot::LocalMachine, "SOFTWARE\\QV", "LockvaleFirstTime"), "machine");
  }

  // Strings end at their first NUL; binary values read as the signed number of their first two
  // bytes, and as nothing when shorter.
  void storedFormsReadAsText() {
    SaveString(RegistryRoot::CurrentUser, "K", "Text", std::string("abc\0def", 7));
    {
      QSettings file(IniSettingsStore::FilePath(), QSettings::IniFormat);
      file.setValue("HKEY_CURRENT_USER/K/Binary", QByteArray("\xfe\xff\x01", 3));
      file.setValue("HKEY_CURRENT_USER/K/Short", QByteArray("\x05", 1));
    }
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "K", "Text"), "abc");
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "K", "Binary"), "-2");
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "K", "Short"), "");
  }
};

QTEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
