// The settings file: where it lives, its roots and default values, and how stored forms read as
// text. Reading and writing values at start-up and in the About box is tested with those.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "support/IniSettingsStore.h"
#include "support/RegistryHelpers.h"

using namespace lockvale;

class SettingsStoreTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_Config;

 private slots:
  void initTestCase() { qputenv("XDG_CONFIG_HOME", m_Config.path().toUtf8()); }

  // Strings end at their first NUL; binary values read as the signed number of their first two
  // bytes, and as nothing when shorter.
  void rootsDefaultValuesAndStoredForms() {
    QCOMPARE(IniSettingsStore::FilePath(), m_Config.path() + "/lockvale/lockvale.ini");
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "Absent"), "");
    QVERIFY(!QFile::exists(IniSettingsStore::FilePath()));  // reading creates nothing
    SaveString(RegistryRoot::ClassesRoot, ".encr\\", "", "LockvaleApp");
    SaveString(RegistryRoot::LocalMachine, ".encr", "", "machine");
    SaveString(RegistryRoot::CurrentUser, "K", "Text", std::string("abc\0def", 7));
    {
      QSettings file(IniSettingsStore::FilePath(), QSettings::IniFormat);
      file.setValue("HKEY_CURRENT_USER/K/Binary", QByteArray("\xfe\xff\x01", 3));
      file.setValue("HKEY_CURRENT_USER/K/Short", QByteArray("\x05", 1));
    }
    QCOMPARE(
        QStringList({QString::fromStdString(GetString(RegistryRoot::ClassesRoot, ".encr", "")),
                     QString::fromStdString(GetString(RegistryRoot::LocalMachine, ".encr", "")),
                     QString::fromStdString(GetString(RegistryRoot::CurrentUser, "K", "Text")),
                     QString::fromStdString(GetString(RegistryRoot::CurrentUser, "K", "Binary")),
                     QString::fromStdString(GetString(RegistryRoot::CurrentUser, "K", "Short"))}),
        QStringList({"LockvaleApp", "machine", "abc", "-2", ""}));
  }
};

QTEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
